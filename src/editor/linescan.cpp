#include "linescan.h"

#include "colorrules.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace linescan {

namespace {

// Whether the key occurs at `at` once its first and last characters do.
bool middleMatches(const char16_t *s, QStringView key, qsizetype at)
{
    return QStringView(s + at + 1, key.size() - 2) == key.mid(1, key.size() - 2);
}

#if defined(__SSE2__)
// Eight places at a time: a key can start only where its first and its last
// character both fit. Leaves `i` where fewer than eight places remain.
qsizetype findEightAtATime(const char16_t *s, QStringView key, qsizetype &i, qsizetype lastStart)
{
    const __m128i firstChars = _mm_set1_epi16(short(key.front().unicode()));
    const __m128i lastChars = _mm_set1_epi16(short(key.back().unicode()));
    for (; i + 7 <= lastStart; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(s + i + key.size() - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, firstChars), _mm_cmpeq_epi16(b, lastChars))));
        while (mask != 0) {
            const int bit = __builtin_ctz(mask); // two mask bits per character
            if (middleMatches(s, key, i + bit / 2))
                return i + bit / 2;
            mask &= ~(3u << bit);
        }
    }
    return -1;
}
#endif

} // namespace

qsizetype findKey(QStringView text, QStringView key, qsizetype from)
{
    const qsizetype m = key.size();
    if (m <= 1 || from < 0)
        return text.indexOf(key, from);
    const qsizetype lastStart = text.size() - m;
    const char16_t *s = text.utf16();
    qsizetype i = from;
#if defined(__SSE2__)
    if (const qsizetype at = findEightAtATime(s, key, i, lastStart); at >= 0)
        return at;
#endif
    const char16_t first = key.front().unicode();
    const char16_t last = key.back().unicode();
    for (; i <= lastStart; ++i)
        if (s[i] == first && s[i + m - 1] == last && middleMatches(s, key, i))
            return i;
    return -1;
}

namespace {

bool isLetter(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'A' && u <= u'Z') || (u >= u'a' && u <= u'z') || u == u'@';
}

// Every range lies inside its line; an empty line may hold an empty open range.
void add(std::vector<Range> &out, QStringView line, int start, int end, ColorValue color, std::uint8_t layer, bool keyword = false,
         bool open = false)
{
    Q_ASSERT(start >= 0 && end < line.size() && start <= end + 1);
    out.push_back(Range{start, end, color, layer, keyword, open});
}

// Searches the end key of `entry` from `from`; a found key closes the range
// begun at `start`, else the range stays open past the line's end.
State closeRange(const Rule &rule, int entry, QStringView line, int start, int from, int &next, std::vector<Range> &out)
{
    const Entry &e = rule.entries[entry];
    // An empty end key never matches: such a range is never closed.
    const int endAt = from <= line.size() && !e.end.isEmpty() ? int(findKey(line, e.end, from)) : -1;
    if (endAt < 0) {
        add(out, line, start, int(line.size()) - 1, e.color, rule.layer, false, true);
        return State(entry + 1);
    }
    add(out, line, start, endAt + int(e.end.size()) - 1, e.color, rule.layer);
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
    EarliestKey keys(rule.entries.size());
    while (p < line.size()) {
        const EarliestKey::Hit hit = keys.next(line, p, beginKeysOf(rule));
        if (hit.at < 0)
            return 0;
        state = closeRange(rule, hit.key, line, hit.at, hit.at + 1, p, out);
        if (state != 0)
            return state;
    }
    return 0;
}

void scanLineEnd(const Rule &rule, QStringView line, std::vector<Range> &out)
{
    const EarliestKey::Hit hit = EarliestKey(rule.entries.size()).next(line, 0, beginKeysOf(rule));
    if (hit.at >= 0)
        add(out, line, hit.at, int(line.size()) - 1, rule.entries[hit.key].color, rule.layer);
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
                add(out, line, int(at), int(after) - 1, k.color, rule.layer, true);
        }
    }
}

// One hot spot: its begin marker (-1 when it began on an earlier line), its
// text and its end marker. False when no end marker follows on the line: the
// spot stays open.
bool addHotSpot(const Rule &rule, QStringView line, int markerAt, int textStart, int &next, std::vector<Range> &out)
{
    const int size = int(line.size());
    const int endAt = textStart < size ? int(line.indexOf(rule.entries.front().end.front(), textStart)) : -1;
    const bool open = endAt < 0;
    if (markerAt >= 0)
        add(out, line, markerAt, markerAt, rule.markerColor, 253, false, open);
    const int textEnd = open ? size - 1 : endAt - 1;
    if (textEnd >= textStart)
        add(out, line, textStart, textEnd, rule.hotSpotColor, 252, false, open);
    if (open)
        return false;
    add(out, line, endAt, endAt, rule.markerColor, 253);
    next = endAt + 1;
    return true;
}

// Hot spots: a begin marker, the text, an end marker. The scan ends for good
// at a begin marker without an end marker, as with a rule's range.
State scanHotSpots(const Rule &rule, State state, QStringView line, std::vector<Range> &out)
{
    const QChar beginChar = rule.entries.front().begin.front();
    int p = 0;
    if (state != 0 && !addHotSpot(rule, line, -1, 0, p, out))
        return 1;
    while (p < line.size()) {
        const int at = int(line.indexOf(beginChar, p));
        if (at < 0)
            return 0;
        if (!addHotSpot(rule, line, at, at + 1, p, out))
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
