#include "colorengine.h"

#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>

using linescan::Range;
using linescan::Rule;
using linescan::State;

namespace {

// Up to five carried states fit the block's own state number, six bits each.
constexpr int kPackedRules = 5;
constexpr int kHasState = 1 << 30;

class StateData : public QTextBlockUserData
{
public:
    std::vector<State> states;
};

bool carriesState(const Rule &rule)
{
    return rule.mode == linescan::Mode::BeginEnd || rule.mode == linescan::Mode::HotSpot;
}

QString awaitedKey(const Rule &rule, State state)
{
    return rule.entries[state - 1].end.left(rule.mode == linescan::Mode::HotSpot ? 1 : -1);
}

// Where a rule waits for an end key: from the begin key at `begin` (-1: before
// the text) to the end key starting at `end` (-1: none follows in the text).
struct Wait {
    int begin;
    int end;
    State state;
};

// One long scan of a rule over many lines: the places where it waits for an
// end key, which are exactly the line starts whose state is not 0.
std::vector<Wait> waitsOf(const Rule &rule, State state, QStringView text)
{
    std::vector<Wait> waits;
    const auto &entries = rule.entries;
    auto endOf = [&](State s, int from) {
        return entries[s - 1].end.isEmpty() ? -1 : int(linescan::findKey(text, entries[s - 1].end, from));
    };
    int p = 0;
    if (state != 0) {
        const int e = endOf(state, 0);
        waits.push_back({-1, e, state});
        if (e < 0)
            return waits;
        p = e + 1;
    }
    // Each entry's next begin key is searched again only once the scan passed it.
    std::vector<int> nextHit(entries.size(), -2);
    while (p <= text.size()) {
        int best = -1;
        State which = 0;
        for (std::size_t k = 0; k < entries.size(); ++k) {
            if (nextHit[k] == -2 || (nextHit[k] >= 0 && nextHit[k] < p))
                nextHit[k] = int(linescan::findKey(text, entries[k].begin, p));
            if (nextHit[k] >= 0 && (best < 0 || nextHit[k] < best)) {
                best = nextHit[k];
                which = State(k + 1);
            }
        }
        if (best < 0)
            break;
        const int e = endOf(which, best + 1);
        waits.push_back({best, e, which});
        if (e < 0)
            break;
        p = e + 1;
    }
    return waits;
}

} // namespace

ColorEngine::ColorEngine(QTextDocument *doc) : m_doc(doc) {}

void ColorEngine::setRules(std::vector<Rule> rules)
{
    m_rules = std::move(rules);
    m_stateful.clear();
    for (int i = 0; i < int(m_rules.size()); ++i)
        if (carriesState(m_rules[i]))
            m_stateful.push_back(i);
    m_frontier = 0;
    m_dirty.clear();
    markDirty(0, m_doc->characterCount());
    m_lastOccurrence.clear();
}

bool ColorEngine::hasStates(const QTextBlock &block) const
{
    if (m_stateful.size() <= kPackedRules)
        return block.userState() >= 0 && (block.userState() & kHasState);
    return dynamic_cast<StateData *>(block.userData()) != nullptr;
}

ColorEngine::States ColorEngine::loadStates(const QTextBlock &block) const
{
    States states(m_stateful.size(), 0);
    if (block.blockNumber() == 0 || !hasStates(block))
        return states;
    if (m_stateful.size() <= kPackedRules) {
        const int packed = block.userState();
        for (std::size_t i = 0; i < states.size(); ++i)
            states[i] = State((packed >> (6 * i)) & 0x3F);
        return states;
    }
    return static_cast<StateData *>(block.userData())->states;
}

void ColorEngine::storeStates(QTextBlock block, const States &states) const
{
    if (m_stateful.size() <= kPackedRules) {
        int packed = kHasState;
        for (std::size_t i = 0; i < states.size(); ++i)
            packed |= int(states[i] & 0x3F) << (6 * i);
        block.setUserState(packed);
        return;
    }
    auto *data = dynamic_cast<StateData *>(block.userData());
    if (!data) {
        data = new StateData; // owned by the block from here on
        block.setUserData(data);
    }
    data->states = states;
}

ColorEngine::States ColorEngine::scanStates(const QTextBlock &block, const States &start)
{
    const QString text = block.text();
    States end(start.size(), 0);
    for (std::size_t i = 0; i < m_stateful.size(); ++i) {
        m_ranges.clear();
        end[i] = linescan::scanLine(m_rules[m_stateful[i]], start[i], text, m_ranges);
    }
    return end;
}

bool ColorEngine::isDirty(const QTextBlock &block) const
{
    const int pos = block.position();
    return std::any_of(m_dirty.begin(), m_dirty.end(), [pos](const DirtyRange &d) { return pos >= d.from && pos < d.to; });
}

int ColorEngine::firstDirtyBlockFrom(int position) const
{
    int best = -1;
    for (const DirtyRange &d : m_dirty) {
        if (d.to <= position)
            continue;
        const int at = std::max(d.from, position);
        if (best < 0 || at < best)
            best = at;
    }
    return best < 0 ? -1 : m_doc->findBlock(best).blockNumber();
}

void ColorEngine::clearDirtyBefore(int position)
{
    for (DirtyRange &d : m_dirty)
        d.from = std::max(d.from, position);
    std::erase_if(m_dirty, [](const DirtyRange &d) { return d.from >= d.to; });
}

void ColorEngine::markDirty(int from, int to)
{
    m_dirty.push_back({from, to});
}

void ColorEngine::shiftDirty(int from, int removed, int added)
{
    for (DirtyRange &d : m_dirty) {
        auto map = [&](int pos) { return pos <= from ? pos : pos < from + removed ? from : pos + added - removed; };
        d.from = map(d.from);
        d.to = map(d.to);
    }
    std::erase_if(m_dirty, [](const DirtyRange &d) { return d.from >= d.to; });
}

// States of many lines at once: one scan per rule over the whole stretch is
// far cheaper than a scan per line when a paint far down needs them all.
void ColorEngine::bulkStates(const QTextBlock &from, int toNumber)
{
    const QTextBlock to = m_doc->findBlockByNumber(toNumber);
    // The whole raw text is copied far faster than a selection of it.
    const QString all = m_doc->toRawText();
    const QStringView text = QStringView(all).mid(from.position(), to.position() - from.position());
    const States start = loadStates(from);
    // The rules are independent of each other: the first is scanned on a
    // second core while this thread scans the others.
    std::vector<std::vector<Wait>> waits(m_stateful.size());
    std::exception_ptr failed;
    auto scanFirst = [&] {
        try {
            waits[0] = waitsOf(m_rules[m_stateful[0]], start[0], text);
        } catch (...) {
            failed = std::current_exception();
        }
    };
    std::thread first;
    try {
        first = std::thread(scanFirst);
    } catch (const std::system_error &) {
        scanFirst(); // no second thread to be had: one after the other
    }
    // Joined on every way out, also when a scan here throws.
    struct Join {
        std::thread &thread;
        ~Join()
        {
            if (thread.joinable())
                thread.join();
        }
    } join{first};
    for (std::size_t i = 1; i < m_stateful.size(); ++i)
        waits[i] = waitsOf(m_rules[m_stateful[i]], start[i], text);
    if (first.joinable())
        first.join();
    if (failed)
        std::rethrow_exception(failed);
    std::vector<std::size_t> at(waits.size(), 0);
    States states(m_stateful.size(), 0);
    const bool packed = m_stateful.size() <= kPackedRules;
    int number = from.blockNumber();
    int lineStart = 0;
    for (QTextBlock b = from.next(), previous = from; b.isValid() && ++number <= toNumber; previous = b, b = b.next()) {
        lineStart += previous.length();
        int word = kHasState;
        for (std::size_t i = 0; i < waits.size(); ++i) {
            const std::vector<Wait> &w = waits[i];
            while (at[i] < w.size() && w[at[i]].end >= 0 && w[at[i]].end < lineStart)
                ++at[i];
            const bool waiting = at[i] < w.size() && w[at[i]].begin < lineStart;
            states[i] = waiting ? w[at[i]].state : 0;
            word |= int(states[i] & 0x3F) << (6 * i);
        }
        // The packed form is written here directly: this loop visits every line.
        if (packed)
            b.setUserState(word);
        else
            storeStates(b, states);
    }
    m_frontier = toNumber;
    clearDirtyBefore(to.position());
}

void ColorEngine::ensureValidThrough(int blockNumber)
{
    // Far below the frontier (a jump to the end, say) the lines between are
    // done in one go.
    if (blockNumber - m_frontier > 256 && !m_stateful.empty())
        bulkStates(m_doc->findBlockByNumber(m_frontier), blockNumber);
    QTextBlock block = m_doc->findBlockByNumber(m_frontier);
    while (block.isValid() && m_frontier <= blockNumber) {
        const States start = loadStates(block);
        const States end = scanStates(block, start);
        QTextBlock next = block.next();
        const int nextPosition = next.isValid() ? next.position() : m_doc->characterCount();
        clearDirtyBefore(nextPosition);
        if (!next.isValid()) {
            m_frontier = m_doc->blockCount();
            break;
        }
        const bool agrees = hasStates(next) && loadStates(next) == end;
        storeStates(next, end);
        m_frontier = next.blockNumber();
        if (agrees) {
            // The stored chain holds again up to the next changed line.
            const int dirty = firstDirtyBlockFrom(nextPosition);
            m_frontier = dirty < 0 ? m_doc->blockCount() : std::max(m_frontier, dirty);
            block = m_doc->findBlockByNumber(m_frontier);
            continue;
        }
        block = next;
    }
    // The stored state after the frontier was made from an older state of the
    // frontier line: that line counts as changed until it is scanned again.
    if (block.isValid() && !isDirty(block))
        markDirty(block.position(), block.position() + 1);
}

void ColorEngine::contentsChange(int from, int removed, int added)
{
    shiftDirty(from, removed, added);
    const QTextBlock first = m_doc->findBlock(from);
    const QTextBlock last = m_doc->findBlock(from + added);
    const int end = last.isValid() ? last.position() + last.length() : m_doc->characterCount();
    // Joined lines keep the stored state of the later one, so even the first
    // changed line's start state is taken again from the line before it: that
    // line counts as changed too, also when the frontier is held further up
    // by another edit.
    const QTextBlock before = first.isValid() ? first.previous() : QTextBlock();
    markDirty(before.isValid() ? before.position() : first.isValid() ? first.position() : 0, end);
    if (first.isValid())
        m_frontier = std::min(m_frontier, std::max(0, first.blockNumber() - 1));
    updateOccurrences(from, removed, added);
}

int ColorEngine::lastOccurrence(const QString &key)
{
    auto it = m_lastOccurrence.find(key);
    if (it != m_lastOccurrence.end())
        return *it;
    // Line by line from the end, on the text as the scanner sees it (the
    // document's own search takes a no-break space for a blank). Keys never
    // hold a line break.
    int at = -1;
    for (QTextBlock b = m_doc->lastBlock(); b.isValid() && at < 0; b = b.previous()) {
        const qsizetype column = b.text().lastIndexOf(key);
        if (column >= 0)
            at = b.position() + int(column);
    }
    m_lastOccurrence.insert(key, at);
    return at;
}

void ColorEngine::updateOccurrences(int from, int removed, int added)
{
    for (auto it = m_lastOccurrence.begin(); it != m_lastOccurrence.end();) {
        const int len = int(it.key().size());
        int &last = it.value();
        const bool touched = last >= 0 && ((last < from + removed && last + len > from) || (last < from && last + len > from));
        if (touched) {
            it = m_lastOccurrence.erase(it); // looked up again when needed
            continue;
        }
        if (last >= from + removed)
            last += added - removed;
        // The changed text and its edges may hold a later occurrence.
        QTextCursor around(m_doc);
        around.setPosition(std::max(0, from - len + 1));
        around.setPosition(std::min(m_doc->characterCount() - 1, from + added + len - 1), QTextCursor::KeepAnchor);
        const QString text = around.selectedText();
        const qsizetype found = text.lastIndexOf(it.key());
        if (found >= 0)
            last = std::max(last, around.selectionStart() + int(found));
        ++it;
    }
}

bool ColorEngine::awaitedKeyFollows(const Rule &rule, State state, const QTextBlock &block)
{
    const QTextBlock next = block.next();
    const QString key = awaitedKey(rule, state);
    if (!next.isValid() || key.isEmpty())
        return false;
    return lastOccurrence(key) >= next.position();
}

std::vector<ColorRun> ColorEngine::runsFor(const QTextBlock &block)
{
    ensureValidThrough(block.blockNumber());
    const States start = loadStates(block);
    const QString text = block.text();
    std::vector<Range> ranges;
    std::size_t statefulIndex = 0;
    for (int i = 0; i < int(m_rules.size()); ++i) {
        const Rule &rule = m_rules[i];
        const bool carried = carriesState(rule);
        if (rule.mode == linescan::Mode::Event) {
            if (m_eventRanges)
                m_eventRanges(i, block, ranges);
            continue;
        }
        const std::size_t before = ranges.size();
        const State end = linescan::scanLine(rule, carried ? start[statefulIndex] : 0, text, ranges);
        if (carried)
            ++statefulIndex;
        // A range still open at the line's end counts only if its end key follows.
        if (end != 0 && !awaitedKeyFollows(rule, end, block))
            ranges.erase(std::remove_if(ranges.begin() + std::ptrdiff_t(before), ranges.end(), [](const Range &r) { return r.open; }),
                         ranges.end());
    }
    return mergeRanges(ranges, int(text.size()));
}

std::vector<ColorRun> mergeRanges(const std::vector<Range> &ranges, int lineLength)
{
    struct Cell {
        ColorValue color = 0;
        std::uint8_t layer = 0;
        bool keyword = false;
        bool covered = false;
    };
    std::vector<Cell> cells(std::size_t(std::max(lineLength, 0)));
    for (const Range &r : ranges) {
        const int from = std::max(r.start, 0);
        const int to = std::min(r.end, lineLength - 1);
        for (int c = from; c <= to; ++c) {
            Cell &cell = cells[std::size_t(c)];
            if (!cell.covered || r.layer >= cell.layer)
                cell = Cell{r.color, r.layer, r.keyword, true};
        }
    }
    std::vector<ColorRun> runs;
    for (int c = 0; c < lineLength;) {
        const Cell &cell = cells[std::size_t(c)];
        int e = c + 1;
        while (e < lineLength && cells[std::size_t(e)].covered == cell.covered && cells[std::size_t(e)].color == cell.color &&
               cells[std::size_t(e)].layer == cell.layer && cells[std::size_t(e)].keyword == cell.keyword)
            ++e;
        if (cell.covered)
            runs.push_back(ColorRun{c, e - c, cell.color, cell.layer, cell.keyword});
        c = e;
    }
    return runs;
}
