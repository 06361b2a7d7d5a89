#include "linerules.h"

namespace {

bool hasHotSpots(const THotSpot &hotSpot)
{
    return hotSpot.Active && hotSpot.BeginChar != QChar(0);
}

linescan::Rule hotSpotRule(const THotSpot &hotSpot)
{
    linescan::Rule hot;
    hot.mode = linescan::Mode::HotSpot;
    hot.entries.push_back({QString(hotSpot.BeginChar), QString(hotSpot.EndChar), hotSpot.Color});
    hot.hotSpotColor = hotSpot.Color;
    hot.markerColor = hotSpot.MarkerColor;
    return hot;
}

linescan::Mode modeOf(TKeyDrawingType type)
{
    switch (type) {
    case dtKeyShow: return linescan::Mode::Keywords;
    case dtEventDraw: return linescan::Mode::Event;
    case dtBeginEnd: return linescan::Mode::BeginEnd;
    case dtBeginLineEnd: return linescan::Mode::LineEnd;
    }
    return linescan::Mode::BeginEnd;
}

linescan::Rule lineRule(const TColorRule &r)
{
    linescan::Rule s;
    s.mode = modeOf(r.keyDrawingType());
    s.layer = r.zOrder();
    s.keyCase = r.keyCase();
    s.partWord = r.partWord();
    for (const TKeyEntry &e : r.keyTable()) {
        if (e.BeginKey.isEmpty())
            break;
        s.entries.push_back({e.BeginKey, e.EndKey, e.Color});
    }
    for (const auto &k : r.keyPattern())
        s.keywords.push_back({k.word, k.color});
    return s;
}

} // namespace

LineRules lineRulesOf(const TDrawRules &rules, const THotSpot &hotSpot)
{
    LineRules out;
    if (hasHotSpots(hotSpot)) {
        out.rules.push_back(hotSpotRule(hotSpot));
        out.source.push_back(-1);
    }
    for (int i = 0; i < rules.count(); ++i) {
        if (!rules.Items(i).enabled())
            continue;
        out.rules.push_back(lineRule(rules.Items(i)));
        out.source.push_back(i);
    }
    return out;
}
