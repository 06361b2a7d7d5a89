#include "linescan.h"

#include "colorrules.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace linescan {

qsizetype findKey(QStringView text, QStringView key, qsizetype from)
{
    const qsizetype m = key.size();
    const qsizetype n = text.size();
    if (m <= 1 || from < 0)
        return text.indexOf(key, from);
    const qsizetype lastStart = n - m;
    const char16_t *s = text.utf16();
    const char16_t first = key.front().unicode();
    const char16_t last = key.back().unicode();
    auto matchesAt = [&](qsizetype at) { return QStringView(s + at + 1, m - 2) == key.mid(1, m - 2); };
    qsizetype i = from;
#if defined(__SSE2__)
    // Eight places at a time: a key can start only where its first and its
    // last character both fit.
    const __m128i firstChars = _mm_set1_epi16(short(first));
    const __m128i lastChars = _mm_set1_epi16(short(last));
    for (; i + 7 <= lastStart; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + m - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, firstChars), _mm_cmpeq_epi16(b, lastChars))));
        while (mask != 0) {
            const int bit = __builtin_ctz(mask); // two mask bits per character
            if (matchesAt(i + bit / 2))
                return i + bit / 2;
            mask &= ~(3u << bit);
        }
    }
#endif
    for (; i <= lastStart; ++i)
        if (s[i] == first && s[i + m - 1] == last && matchesAt(i))
            return i;
    return -1;
}

namespace {

bool isLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'@';
}

void add(std::vector<Range> &out, int start, int end, ColorValue color, std::uint8_t layer, bool keyword = false, bool open = false)
{
    out.push_back(Range{start, end, color, layer, keyword, open});
}

// Earliest begin key at or after `from`; on equal positions the entry that
// comes first wins. `next` keeps each entry's next place (-2: not searched
// yet, -1: none): an entry is searched again only once the scan passed it,
// so a key that never occurs costs one search per line, not one per range.
int earliestHit(const Rule &rule, QStringView line, int from, int &entry, std::vector<int> &next)
{
    int best = -1;
    for (int k = 0; k < int(rule.entries.size()); ++k) {
        int &hit = next[std::size_t(k)];
        if (hit == -2 || (hit >= 0 && hit < from))
            hit = int(findKey(line, rule.entries[k].begin, from));
        if (hit >= 0 && (best < 0 || hit < best)) {
            best = hit;
            entry = k;
        }
    }
    return best;
}

// Searches the end key of `entry` from `from`; a found key closes the range
// begun at `start`, else the range stays open past the line's end.
State closeRange(const Rule &rule, int entry, QStringView line, int start, int from, int &next, std::vector<Range> &out)
{
    const Entry &e = rule.entries[entry];
    // An empty end key never matches: such a range is never closed.
    const int endAt = from <= line.size() && !e.end.isEmpty() ? int(findKey(line, e.end, from)) : -1;
    if (endAt < 0) {
        add(out, start, int(line.size()) - 1, e.color, rule.layer, false, true);
        return State(entry + 1);
    }
    add(out, start, endAt + int(e.end.size()) - 1, e.color, rule.layer);
    next = endAt + 1;
    return 0;
}

State scanBeginEnd(const Rule &rule, State state, QStringView line, std::vector<Range> &out)
{
    int p = 0;
    if (state != 0) {
        state = closeRange(rule, state - 1, line, 0, 0, p, out);
        if (state != 0)
            return state;
    }
    std::vector<int> next(rule.entries.size(), -2);
    while (p < line.size()) {
        int entry = 0;
        const int hit = earliestHit(rule, line, p, entry, next);
        if (hit < 0)
            return 0;
        state = closeRange(rule, entry, line, hit, hit + 1, p, out);
        if (state != 0)
            return state;
    }
    return 0;
}

void scanLineEnd(const Rule &rule, QStringView line, std::vector<Range> &out)
{
    int entry = 0;
    std::vector<int> next(rule.entries.size(), -2);
    const int hit = earliestHit(rule, line, 0, entry, next);
    if (hit >= 0)
        add(out, hit, int(line.size()) - 1, rule.entries[entry].color, rule.layer);
}

void scanKeywords(const Rule &rule, QStringView line, std::vector<Range> &out)
{
    QString upper;
    if (!rule.keyCase) {
        upper.resize(line.size());
        for (qsizetype i = 0; i < line.size(); ++i)
            upper[i] = upperKeyChar(line[i]);
    }
    const QStringView text = rule.keyCase ? line : QStringView(upper);
    for (const Keyword &k : rule.keywords) {
        const QStringView word = QStringView(k.word).left(30);
        for (qsizetype at = text.indexOf(word); at >= 0 && !word.isEmpty(); at = text.indexOf(word, at + word.size())) {
            const qsizetype after = at + word.size();
            // Neighbours as written: upper-casing turns some non-letters into letters.
            const bool inside = (at > 0 && isLetter(line[at - 1])) || (after < line.size() && isLetter(line[after]));
            if (rule.partWord || !inside)
                add(out, int(at), int(after) - 1, k.color, rule.layer, true);
        }
    }
}

// Hot spots: a begin marker, the text, an end marker. The scan ends for good
// at a begin marker without an end marker, as with a rule's range.
State scanHotSpots(const Rule &rule, State state, QStringView line, std::vector<Range> &out)
{
    const QChar beginChar = rule.entries.front().begin.front();
    const QChar endChar = rule.entries.front().end.front();
    const int size = int(line.size());
    int p = 0;
    auto finish = [&](int textStart, int markerAt) {
        const int endAt = textStart < size ? int(line.indexOf(endChar, textStart)) : -1;
        const bool open = endAt < 0;
        if (markerAt >= 0)
            add(out, markerAt, markerAt, rule.markerColor, 253, false, open);
        const int textEnd = open ? size - 1 : endAt - 1;
        if (textEnd >= textStart)
            add(out, textStart, textEnd, rule.hotSpotColor, 252, false, open);
        if (open)
            return false;
        add(out, endAt, endAt, rule.markerColor, 253);
        p = endAt + 1;
        return true;
    };
    if (state != 0 && !finish(0, -1))
        return 1;
    while (p < size) {
        const int at = int(line.indexOf(beginChar, p));
        if (at < 0)
            return 0;
        if (!finish(at + 1, at))
            return 1;
    }
    return 0;
}

} // namespace

State scanLine(const Rule &rule, State state, QStringView line, std::vector<Range> &out)
{
    switch (rule.mode) {
    case Mode::BeginEnd: return rule.entries.empty() ? 0 : scanBeginEnd(rule, state, line, out);
    case Mode::LineEnd: scanLineEnd(rule, line, out); return 0;
    case Mode::Keywords: scanKeywords(rule, line, out); return 0;
    case Mode::HotSpot: return rule.entries.empty() ? 0 : scanHotSpots(rule, state, line, out);
    case Mode::Event: return 0;
    }
    return 0;
}

} // namespace linescan
