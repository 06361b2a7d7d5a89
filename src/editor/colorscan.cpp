#include "editor/colorrules.h"
#include "editor/linescan.h"

#include <algorithm>

namespace {

// "Letters" that join a keyword to its neighbours; digits, "_" and non-ASCII
// characters deliberately do not.
bool isKeyLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'@';
}

bool standsAlone(QStringView text, qsizetype pos, qsizetype length)
{
    const qsizetype after = pos + length;
    return (pos == 0 || !isKeyLetter(text[pos - 1])) && (after >= text.size() || !isKeyLetter(text[after]));
}

struct RangeEnd {
    int last = -1; // last character of the range
    int next = 0;  // where the search for the next range starts
    bool found = false;
};

RangeEnd endKeyAfter(QStringView text, int hit, QStringView endKey)
{
    // An empty end key closes nothing, like a key that never occurs.
    if (endKey.isEmpty())
        return {};
    const qsizetype at = text.indexOf(endKey, hit + 1);
    if (at < 0)
        return {};
    return {int(at + endKey.size() - 1), int(at + 1), true};
}

RangeEnd lineEndAfter(QStringView text, int hit)
{
    const qsizetype cr = text.indexOf(u"\r\n", hit);
    if (cr < 0)
        return {int(text.size() - 1), int(text.size()), true};
    return {int(cr - 1), int(cr + 1), true};
}

} // namespace

void KeySpan::widen(const TKeyDescr &range)
{
    if (range.KeyEnd < range.KeyStart)
        return;
    lowest = lowest < 0 ? range.KeyStart : std::min(lowest, range.KeyStart);
    highest = std::max(highest, range.KeyEnd);
}

void ScanContext::beginPass()
{
    for (TKeyDescr &range : ranges)
        range.KeyStart = TKeyDescr::FreeKeyStart;
    span = KeySpan();
}

int ScanContext::store(int r, const TKeyDescr &range)
{
    const std::size_t at = std::min(std::size_t(std::max(r, 0)), ranges.size());
    if (at < ranges.size())
        ranges[at] = range;
    else
        ranges.push_back(range);
    span.widen(range);
    return int(at) + 1;
}

void ScanContext::markFree(int r)
{
    if (r >= 0 && std::size_t(r) < ranges.size())
        ranges[std::size_t(r)].KeyStart = TKeyDescr::FreeKeyStart;
}

int TColorRule::Scan(ScanContext &ctx, int r, QStringView text, int start, int limit)
{
    // Positions are int; the free marker must stay outside every text.
    const qsizetype maxSize = std::min<qsizetype>(text.size(), TKeyDescr::FreeKeyStart - 1);
    const QStringView view = text.left(std::clamp<qsizetype>(limit, 0, maxSize));
    start = int(std::clamp<qsizetype>(start, 0, view.size()));
    r = int(std::clamp<std::size_t>(std::size_t(std::max(r, 0)), 0, ctx.ranges.size()));
    switch (m_keyDrawingType) {
    case dtKeyShow: return scanKeywords(ctx, r, view, start);
    case dtEventDraw: return scanEventDraw(ctx, r, view, start);
    case dtBeginEnd: return scanKeyTable(ctx, r, view, start, false);
    case dtBeginLineEnd: return scanKeyTable(ctx, r, view, start, true);
    }
    return r;
}

int TColorRule::activeEntryCount() const
{
    const auto firstEmpty = std::find_if(m_keyTable.begin(), m_keyTable.end(), [](const TKeyEntry &e) { return e.BeginKey.isEmpty(); });
    return int(firstEmpty - m_keyTable.begin());
}

int TColorRule::scanKeyTable(ScanContext &ctx, int r, QStringView text, int start, bool toLineEnd)
{
    linescan::EarliestKey keys{std::size_t(activeEntryCount())};
    const auto beginKey = [this](std::size_t k) { return QStringView(m_keyTable[k].BeginKey); };
    int p = start;
    while (p < text.size()) {
        const linescan::EarliestKey::Hit hit = keys.next(text, p, beginKey);
        if (hit.at < 0)
            break;
        const TKeyEntry &entry = m_keyTable[std::size_t(hit.key)];
        const RangeEnd end = toLineEnd ? lineEndAfter(text, hit.at) : endKeyAfter(text, hit.at, entry.EndKey);
        // An unterminated range ends the rule: nothing from there on is coloured by it.
        if (!end.found) {
            ctx.markFree(r);
            break;
        }
        r = ctx.store(r, {hit.at, end.last, entry.Color, m_zOrder, 0});
        p = end.next;
    }
    return r;
}

int TColorRule::scanKeywords(ScanContext &ctx, int r, QStringView text, int start)
{
    if (m_keyPattern.empty())
        return r;
    const QStringView tail = text.mid(start);
    const QStringView haystack = m_keyCase ? tail : upperCopy(tail);
    for (const KeyPatternItem &key : m_keyPattern)
        r = scanKeyword(ctx, r, text, haystack, start, key);
    return r;
}

// Occurrences do not overlap: the next search starts after the whole word,
// whether this occurrence counted or not.
int TColorRule::scanKeyword(ScanContext &ctx, int r, QStringView text, QStringView haystack, int base, const KeyPatternItem &key) const
{
    const qsizetype length = key.word.size();
    for (qsizetype at = haystack.indexOf(key.word); at >= 0; at = haystack.indexOf(key.word, at + length)) {
        const qsizetype pos = base + at;
        if (m_partWord || standsAlone(text, pos, length))
            r = ctx.store(r, {int(pos), int(pos + length - 1), key.color, m_zOrder, 1});
    }
    return r;
}

QStringView TColorRule::upperCopy(QStringView text)
{
    if (m_upper.size() < text.size())
        m_upper.resize(text.size());
    std::transform(text.begin(), text.end(), m_upper.begin(), upperKeyChar);
    return QStringView(m_upper).left(text.size());
}

int TColorRule::scanEventDraw(ScanContext &ctx, int r, QStringView text, int start)
{
    if (!ctx.onDraw || ctx.colorLimMax <= 0)
        return r;
    ctx.drawScratch.assign(std::size_t(ctx.colorLimMax), TKeyDescr());
    int items = 0;
    ctx.onDraw(*this, start, ctx.drawScratch, items);
    const qsizetype n = std::min<qsizetype>({qsizetype(items), qsizetype(ctx.colorLimMax), qsizetype(ctx.drawScratch.size())});
    for (qsizetype i = 0; i < n; ++i) {
        const TKeyDescr &given = ctx.drawScratch[std::size_t(i)];
        // The handler's positions are not trusted: the painter reads the text there.
        const qint64 first = std::max<qint64>(qint64(given.KeyStart) + start, 0);
        const qint64 last = std::min<qint64>(qint64(given.KeyEnd) + start, text.size() - 1);
        if (first > last)
            continue;
        const std::uint8_t layer = given.Layer != 0 ? given.Layer : m_zOrder;
        r = ctx.store(r, {int(first), int(last), given.KeyColor, layer, 0});
    }
    return r;
}
