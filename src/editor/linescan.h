// Colour scanning one line at a time. Keys never contain a line break, so a
// range can only cross lines while a begin key waits for its end key; that
// wait is the only state carried from one line to the next. Scanning every
// line in order from the first gives exactly the ranges of one scan over
// the whole text.
#pragma once

#include "platform/colorvalue.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace linescan {

enum class Mode { Keywords, Event, BeginEnd, LineEnd, HotSpot };

struct Entry {
    QString begin;
    QString end;
    ColorValue color = 0;
    bool operator==(const Entry &) const = default;
};

struct Keyword {
    QString word; // upper case unless the rule matches case
    ColorValue color = 0;
    bool operator==(const Keyword &) const = default;
};

// What the scanner needs of one compiled rule (or of the hot spots).
struct Rule {
    Mode mode = Mode::BeginEnd;
    std::uint8_t layer = 0;
    bool keyCase = false;
    bool partWord = false;
    std::vector<Entry> entries;    // BeginEnd, LineEnd; HotSpot: one entry of the two markers
    std::vector<Keyword> keywords; // Keywords
    ColorValue hotSpotColor = 0;   // HotSpot: colour of the text between the markers
    ColorValue markerColor = 0;    // HotSpot: colour of the markers themselves
    bool operator==(const Rule &) const = default;
};

// A found range inside one line, columns inclusive. `open` ranges run past
// the line's end and count only when their end key still follows.
struct Range {
    int start = 0;
    int end = 0;
    ColorValue color = 0;
    std::uint8_t layer = 0;
    bool keyword = false;
    bool open = false;
};

// 0: outside any range; k + 1: waiting for the end key of entry k.
using State = std::uint8_t;

// Where `key` next occurs in `text` at or after `from`, or -1; as
// QStringView::indexOf, case-sensitive, but far faster for keys of several
// characters in long texts.
qsizetype findKey(QStringView text, QStringView key, qsizetype from = 0);

// The earliest of several begin keys at or after a place, asked again and
// again further on in one text; on equal places the key that comes first
// wins. Each key's next place is remembered and searched again only once the
// scan passed it, so a key that never occurs costs one search per text, not
// one per range. Every scan that picks the next begin key goes through here.
class EarliestKey
{
public:
    struct Hit {
        int at = -1;  // -1: none of the keys occurs any more
        int key = -1; // index of the key found
    };

    explicit EarliestKey(std::size_t keys) : m_next(keys, NotSearched) {}

    // keyAt(k) gives key k as a QStringView; keys must not be empty.
    template <typename KeyAt> Hit next(QStringView text, int from, KeyAt keyAt);

private:
    static constexpr int NotSearched = -2;
    std::vector<int> m_next; // per key: NotSearched, -1 for none, or its place
};

template <typename KeyAt> Q_ALWAYS_INLINE EarliestKey::Hit EarliestKey::next(QStringView text, int from, KeyAt keyAt)
{
    // Held in locals: a search in between would make the compiler load the
    // members again and again.
    int *const next = m_next.data();
    const std::size_t keys = m_next.size();
    int bestAt = -1, bestKey = -1;
    for (std::size_t k = 0; k < keys; ++k) {
        int hit = next[k];
        if (hit == NotSearched || (hit >= 0 && hit < from)) {
            const QStringView key = keyAt(k);
            Q_ASSERT(!key.isEmpty()); // an empty key would be found everywhere
            hit = next[k] = int(findKey(text, key, from));
        }
        if (hit >= 0 && (bestAt < 0 || hit < bestAt)) {
            bestAt = hit;
            bestKey = int(k);
        }
    }
    return {bestAt, bestKey};
}

// The begin keys of a rule's entries, as EarliestKey takes them.
inline auto beginKeysOf(const Rule &rule)
{
    return [&rule](std::size_t k) { return QStringView(rule.entries[k].begin); };
}

// Scans one line from the given state; appends the ranges and returns the
// state at the start of the next line.
State scanLine(const Rule &rule, State state, QStringView line, std::vector<Range> &out);

} // namespace linescan
