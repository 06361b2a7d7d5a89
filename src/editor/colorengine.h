// The colours of a whole document, kept up to date edit by edit. Each line's
// scan state is stored with its block; after an edit the states are
// recomputed from the first changed line only as far as a paint needs them
// and only until they agree again with the stored ones. Works on any
// QTextDocument: the engine follows the document's changes itself.
#pragma once

#include "keyoccurrences.h"
#include "linescan.h"
#include "stretchscan.h"

#include <QMetaObject>
#include <QTextBlock>

#include <functional>
#include <vector>

class QTextDocument;

struct ColorRun {
    int start = 0; // column in the block
    int length = 0;
    ColorValue color = 0;
    std::uint8_t layer = 0;
    bool keyword = false;
    bool operator==(const ColorRun &) const = default;
};

class ColorEngine
{
public:
    // Extra ranges of one line from an event-drawing rule (its index given).
    using EventRanges = std::function<void(int rule, const QTextBlock &block, std::vector<linescan::Range> &out)>;

    explicit ColorEngine(QTextDocument *doc);
    ~ColorEngine();
    ColorEngine(const ColorEngine &) = delete;
    ColorEngine &operator=(const ColorEngine &) = delete;

    QTextDocument *document() const { return m_doc; }

    // Rules in storage order: hot spots first, then the enabled rules. A
    // change of rules recolours everything.
    void setRules(std::vector<linescan::Rule> rules);
    const std::vector<linescan::Rule> &rules() const { return m_rules; }
    void setEventRanges(EventRanges handler) { m_eventRanges = std::move(handler); }

    // A change of the document's text. The engine hears of the changes the
    // document announces by itself; an edit announced otherwise (see
    // ColorLayout) is handed in here.
    void contentsChange(int from, int removed, int added);

    // The merged colour runs of one block; the states of the blocks before
    // it are brought up to date first.
    std::vector<ColorRun> runsFor(const QTextBlock &block);

    // Works out the states of about `lines` more lines below those known, as
    // a slice of work while the editor is idle; returns whether lines are left.
    // An edit above the slices done moves their start back up by itself.
    bool scanAhead(int lines);

    // How many blocks have a known start state (for tests and benchmarks).
    int validBlocks() const { return m_frontier; }

private:
    struct DirtyRange {
        int from, to; // document positions, half-open
    };
    using States = std::vector<linescan::State>;

    QTextDocument *m_doc;
    QMetaObject::Connection m_following;
    std::vector<linescan::Rule> m_rules;
    std::vector<int> m_stateful; // indexes of rules that carry state across lines
    EventRanges m_eventRanges;
    int m_frontier = 0; // blocks before this number have a valid start state
    std::vector<DirtyRange> m_dirty;
    KeyOccurrences m_occurrences;
    std::vector<linescan::Range> m_ranges; // scratch, reused

    // Stored states.
    States loadStates(const QTextBlock &block) const;
    bool hasStates(const QTextBlock &block) const;
    void storeStates(QTextBlock block, const States &states) const;
    bool statesFit(const States &states) const;
    States startStates(const QTextBlock &block) const;
    States scanStates(const QTextBlock &block, const States &start);

    // Long stretches in one go.
    void bulkStates(const QTextBlock &from, int toNumber);
    QString stretchText(const QTextBlock &from, const QTextBlock &to, QStringView *text) const;
    std::vector<stretchscan::Waits> scanStretch(QStringView text, const States &start) const;
    void storeStretch(const QTextBlock &from, int toNumber, const std::vector<stretchscan::Waits> &waits) const;

    // The frontier and the changed lines.
    void ensureValidThrough(int blockNumber);
    QTextBlock advanceFrontier(const QTextBlock &block);
    int firstDirtyBlockFrom(int position) const;
    bool isDirty(const QTextBlock &block) const;
    void clearDirtyBefore(int position);
    void markDirty(int from, int to);
    void shiftDirty(int from, int removed, int added);

    // One line's colours.
    std::vector<linescan::Range> rangesOf(const QTextBlock &block, QStringView text);
    void addRuleRanges(const linescan::Rule &rule, linescan::State state, const QTextBlock &block, QStringView text,
                       std::vector<linescan::Range> &ranges);
    bool awaitedKeyFollows(const linescan::Rule &rule, linescan::State state, const QTextBlock &block);
};

// Merges ranges in storage order: the higher layer wins, on equal layers the
// later range; returns the runs of equal colour, layer and keyword flag.
std::vector<ColorRun> mergeRanges(const std::vector<linescan::Range> &ranges, int lineLength);
