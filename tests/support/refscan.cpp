#include "refscan.h"

#include <algorithm>

namespace refscan {

namespace {

bool isKeyLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'@';
}

// Where the earliest begin key of the table lies at or after p: {entry, place}.
std::pair<int, qsizetype> earliestBegin(const TColorRule &rule, QStringView text, int p)
{
    int best = -1;
    qsizetype hit = -1;
    for (int i = 0; i < TColorRule::KeyTableSize && !rule.keyTable()[i].BeginKey.isEmpty(); ++i) {
        const qsizetype at = text.indexOf(rule.keyTable()[i].BeginKey, p);
        if (at >= 0 && (best < 0 || at < hit)) {
            best = i;
            hit = at;
        }
    }
    return {best, hit};
}

std::vector<TKeyDescr> scanTable(const TColorRule &rule, QStringView text, int start, bool toLineEnd)
{
    std::vector<TKeyDescr> found;
    for (int p = start; p < text.size();) {
        const auto [best, hit] = earliestBegin(rule, text, p);
        if (best < 0)
            break;
        const TKeyEntry &e = rule.keyTable()[best];
        qsizetype last = 0, next = 0;
        if (toLineEnd) {
            const qsizetype cr = text.indexOf(u"\r\n", hit);
            last = cr < 0 ? text.size() - 1 : cr - 1;
            next = cr < 0 ? text.size() : cr + 1;
        } else {
            // An empty end key closes nothing; an unclosed range ends the rule.
            const qsizetype at = e.EndKey.isEmpty() ? -1 : text.indexOf(e.EndKey, hit + 1);
            if (at < 0)
                break;
            last = at + e.EndKey.size() - 1;
            next = at + 1;
        }
        found.push_back({int(hit), int(last), e.Color, rule.zOrder(), 0});
        p = int(next);
    }
    return found;
}

// Every keyword in list order, each occurrence after the whole previous one;
// it counts where no letter (as written) joins it, or always with PartWord.
std::vector<TKeyDescr> scanKeywords(const TColorRule &rule, QStringView text, int start)
{
    QString folded = text.toString();
    if (!rule.keyCase())
        std::transform(folded.begin(), folded.end(), folded.begin(), upperKeyChar);
    std::vector<TKeyDescr> found;
    for (const TColorRule::KeyPatternItem &key : rule.keyPattern()) {
        const qsizetype length = key.word.size();
        for (qsizetype at = folded.indexOf(key.word, start); at >= 0; at = folded.indexOf(key.word, at + length)) {
            const bool joined = (at > 0 && isKeyLetter(text[at - 1])) || (at + length < text.size() && isKeyLetter(text[at + length]));
            if (rule.partWord() || !joined)
                found.push_back({int(at), int(at + length - 1), key.color, rule.zOrder(), 1});
        }
    }
    return found;
}

void paint(std::vector<CharColor> &cells, const std::vector<TKeyDescr> &ranges)
{
    for (const TKeyDescr &r : ranges) {
        for (int c = std::max(r.KeyStart, 0); c <= r.KeyEnd && c < int(cells.size()); ++c) {
            CharColor &cell = cells[std::size_t(c)];
            if (!cell.covered || r.Layer >= cell.layer)
                cell = CharColor{true, r.KeyColor, r.Layer, r.IsKeyword != 0};
        }
    }
}

// The colours of the CR LF joined text, breaks included.
std::vector<CharColor> joinedColors(const TDrawRules &rules, const THotSpot &hotSpot, const QString &text)
{
    std::vector<CharColor> cells(std::size_t(text.size()));
    if (hotSpot.Active && hotSpot.BeginChar != QChar(0))
        paint(cells, scanHotSpots(hotSpot, text));
    for (int i = 0; i < rules.count(); ++i)
        if (rules.Items(i).enabled())
            paint(cells, scanRule(rules.Items(i), text));
    return cells;
}

} // namespace

std::vector<TKeyDescr> scanRule(const TColorRule &rule, QStringView text, int start)
{
    switch (rule.keyDrawingType()) {
    case dtKeyShow: return scanKeywords(rule, text, start);
    case dtBeginEnd: return scanTable(rule, text, start, false);
    case dtBeginLineEnd: return scanTable(rule, text, start, true);
    case dtEventDraw: break;
    }
    return {};
}

std::vector<TKeyDescr> scanHotSpots(const THotSpot &hotSpot, QStringView text)
{
    std::vector<TKeyDescr> found;
    for (qsizetype p = 0; p < text.size();) {
        const qsizetype begin = text.indexOf(hotSpot.BeginChar, p);
        const qsizetype end = begin < 0 ? -1 : text.indexOf(hotSpot.EndChar, begin + 1);
        if (end < 0)
            break;
        found.push_back({int(begin), int(begin), hotSpot.MarkerColor, 253, 0});
        if (end > begin + 1)
            found.push_back({int(begin + 1), int(end - 1), hotSpot.Color, 252, 0});
        found.push_back({int(end), int(end), hotSpot.MarkerColor, 253, 0});
        p = end + 1;
    }
    return found;
}

std::vector<std::vector<CharColor>> colorsByLine(const TDrawRules &rules, const THotSpot &hotSpot, const QStringList &lines)
{
    const std::vector<CharColor> cells = joinedColors(rules, hotSpot, lines.join(QStringLiteral("\r\n")));
    std::vector<std::vector<CharColor>> out;
    std::size_t at = 0;
    for (const QString &line : lines) {
        out.emplace_back(cells.begin() + std::ptrdiff_t(at), cells.begin() + std::ptrdiff_t(at + std::size_t(line.size())));
        at += std::size_t(line.size()) + 2;
    }
    return out;
}

std::vector<CharColor> lineColors(const TDrawRules &rules, const THotSpot &hotSpot, const QStringList &lines)
{
    std::vector<CharColor> out;
    for (const std::vector<CharColor> &line : colorsByLine(rules, hotSpot, lines))
        out.insert(out.end(), line.begin(), line.end());
    return out;
}

std::vector<CharColor> cellsOf(const std::vector<ColorRun> &runs, int lineLength)
{
    std::vector<CharColor> cells(std::size_t(std::max(lineLength, 0)));
    for (const ColorRun &run : runs)
        for (int c = std::max(run.start, 0); c < run.start + run.length && c < lineLength; ++c)
            cells[std::size_t(c)] = CharColor{true, run.color, run.layer, run.keyword};
    return cells;
}

} // namespace refscan
