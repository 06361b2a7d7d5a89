#include "colorengine.h"

#include "editorlog.h"

#include <QTextDocument>

#include <algorithm>

using linescan::Range;
using linescan::Rule;
using linescan::State;
using stretchscan::Waits;

namespace {

// Up to five carried states fit the block's own state number, six bits each.
constexpr int kPackedRules = 5;
constexpr int kHasState = 1 << 30;
// Further below the frontier than this, the lines between are done in one go.
constexpr int kBulkLines = 256;
// A slice of work ahead first goes this many lines one by one: after an edit
// the states mostly agree again within them and the rest needs no scan.
constexpr int kStepLines = 32;

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

} // namespace

ColorEngine::ColorEngine(QTextDocument *doc) : m_doc(doc), m_occurrences(doc)
{
    // A document tells of its changes only once it has a layout.
    m_doc->documentLayout();
    m_following = QObject::connect(m_doc, &QTextDocument::contentsChange,
                                   [this](int from, int removed, int added) { contentsChange(from, removed, added); });
}

ColorEngine::~ColorEngine()
{
    QObject::disconnect(m_following);
}

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
    m_occurrences.clear();
}

// ---- Stored states ----

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
    Q_ASSERT(statesFit(states));
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

// One state per carrying rule, each naming one of the rule's entries or none.
bool ColorEngine::statesFit(const States &states) const
{
    if (states.size() != m_stateful.size())
        return false;
    for (std::size_t i = 0; i < states.size(); ++i)
        if (states[i] > m_rules[std::size_t(m_stateful[i])].entries.size())
            return false;
    return true;
}

// The start states of a line the frontier passed. A scan trusts them to name
// entries of their rules, so they are checked once more.
ColorEngine::States ColorEngine::startStates(const QTextBlock &block) const
{
    States states = loadStates(block);
    if (!statesFit(states)) {
        Q_ASSERT_X(false, "ColorEngine", "stored states name no entry of their rules");
        qCWarning(lcEditor) << "line" << block.blockNumber() + 1 << "held states of other rules; taken as outside any range";
        std::fill(states.begin(), states.end(), 0);
    }
    return states;
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

// ---- Long stretches in one go ----

// States of many lines at once: one scan per rule over the whole stretch is
// far cheaper than a scan per line when a paint far down needs them all.
void ColorEngine::bulkStates(const QTextBlock &from, int toNumber)
{
    const QTextBlock to = m_doc->findBlockByNumber(toNumber);
    Q_ASSERT(from.isValid() && to.isValid() && from.blockNumber() <= toNumber);
    QStringView text;
    const QString held = stretchText(from, to, &text);
    storeStretch(from, toNumber, scanStretch(text, startStates(from)));
    m_frontier = toNumber;
    clearDirtyBefore(to.position());
}

// The text from the start of `from` to the start of `to`, breaks as in the
// raw text; `text` views it inside the returned string.
QString ColorEngine::stretchText(const QTextBlock &from, const QTextBlock &to, QStringView *text) const
{
    const int length = to.position() - from.position();
    // The whole raw text is copied far faster than a selection of it; a short
    // stretch of a long text is gathered line by line instead.
    if (qint64(length) * 8 >= m_doc->characterCount()) {
        const QString all = m_doc->toRawText();
        *text = QStringView(all).mid(from.position(), length);
        return all;
    }
    QString lines;
    lines.reserve(length);
    for (QTextBlock b = from; b.isValid() && b != to; b = b.next()) {
        lines += b.text();
        lines += QChar::ParagraphSeparator;
    }
    Q_ASSERT(lines.size() == length);
    *text = lines;
    return lines;
}

std::vector<Waits> ColorEngine::scanStretch(QStringView text, const States &start) const
{
    Q_ASSERT(!start.empty());
    std::vector<Waits> waits(m_stateful.size());
    auto scan = [&](std::size_t i) { waits[i] = stretchscan::waitsOf(m_rules[std::size_t(m_stateful[i])], start[i], text); };
    // The rules are independent of each other: the first is scanned on a
    // second core while this thread scans the others.
    stretchscan::runBeside([&] { scan(0); },
                           [&] {
                               for (std::size_t i = 1; i < waits.size(); ++i)
                                   scan(i);
                           });
    return waits;
}

void ColorEngine::storeStretch(const QTextBlock &from, int toNumber, const std::vector<Waits> &waits) const
{
    stretchscan::WaitCursor cursor(waits);
    States states(m_stateful.size(), 0);
    int number = from.blockNumber();
    int lineStart = 0;
    [[maybe_unused]] int stored = 0;
    for (QTextBlock b = from.next(), previous = from; b.isValid() && ++number <= toNumber; previous = b, b = b.next()) {
        lineStart += previous.length();
        cursor.statesAt(lineStart, states);
        storeStates(b, states);
        ++stored;
    }
    // Every line after the first of the stretch got its states, and no other.
    Q_ASSERT(stored == toNumber - from.blockNumber());
}

// ---- The frontier and the changed lines ----

void ColorEngine::ensureValidThrough(int blockNumber)
{
    if (blockNumber - m_frontier > kBulkLines && !m_stateful.empty())
        bulkStates(m_doc->findBlockByNumber(m_frontier), blockNumber);
    QTextBlock block = m_doc->findBlockByNumber(m_frontier);
    while (block.isValid() && m_frontier <= blockNumber)
        block = advanceFrontier(block);
    // The stored state after the frontier was made from an older state of the
    // frontier line: that line counts as changed until it is scanned again.
    if (block.isValid() && !isDirty(block))
        markDirty(block.position(), block.position() + 1);
    Q_ASSERT(m_frontier <= m_doc->blockCount());
    Q_ASSERT(m_frontier > blockNumber || m_frontier == m_doc->blockCount());
}

bool ColorEngine::scanAhead(int lines)
{
    const int count = m_doc->blockCount();
    QTextBlock block = m_doc->findBlockByNumber(m_frontier);
    for (int i = 0; i < kStepLines && block.isValid(); ++i)
        block = advanceFrontier(block);
    if (m_frontier < count)
        ensureValidThrough(std::min(count - 1, m_frontier + std::max(0, lines)));
    return m_frontier < count;
}

// Scans the frontier line and stores the start state of the next; where that
// agrees with the stored one, the chain holds again up to the next changed
// line. Returns the line to go on from, an invalid block past the last line.
QTextBlock ColorEngine::advanceFrontier(const QTextBlock &block)
{
    const States end = scanStates(block, startStates(block));
    const QTextBlock next = block.next();
    const int nextPosition = next.isValid() ? next.position() : m_doc->characterCount();
    clearDirtyBefore(nextPosition);
    if (!next.isValid()) {
        m_frontier = m_doc->blockCount();
        return next;
    }
    const bool agrees = hasStates(next) && loadStates(next) == end;
    storeStates(next, end);
    m_frontier = next.blockNumber();
    if (!agrees)
        return next;
    const int dirty = firstDirtyBlockFrom(nextPosition);
    m_frontier = dirty < 0 ? m_doc->blockCount() : std::max(m_frontier, dirty);
    return m_doc->findBlockByNumber(m_frontier);
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
    Q_ASSERT(from >= 0 && from <= to && to <= m_doc->characterCount());
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

void ColorEngine::contentsChange(int from, int removed, int added)
{
    Q_ASSERT(from >= 0 && removed >= 0 && added >= 0);
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
    m_occurrences.update(from, removed, added);
}

// ---- One line's colours ----

bool ColorEngine::awaitedKeyFollows(const Rule &rule, State state, const QTextBlock &block)
{
    const QTextBlock next = block.next();
    const QString key = awaitedKey(rule, state);
    if (!next.isValid() || key.isEmpty())
        return false;
    return m_occurrences.last(key) >= next.position();
}

std::vector<ColorRun> ColorEngine::runsFor(const QTextBlock &block)
{
    if (!block.isValid() || block.document() != m_doc) {
        qCWarning(lcEditor) << "colours asked for a line that is not in the document";
        return {};
    }
    ensureValidThrough(block.blockNumber());
    Q_ASSERT(block.blockNumber() == 0 || hasStates(block));
    const QString text = block.text();
    return mergeRanges(rangesOf(block, text), int(text.size()));
}

std::vector<Range> ColorEngine::rangesOf(const QTextBlock &block, QStringView text)
{
    const States start = startStates(block);
    std::vector<Range> ranges;
    std::size_t carried = 0;
    for (int i = 0; i < int(m_rules.size()); ++i) {
        const Rule &rule = m_rules[std::size_t(i)];
        if (rule.mode == linescan::Mode::Event) {
            if (m_eventRanges)
                m_eventRanges(i, block, ranges);
            continue;
        }
        addRuleRanges(rule, carriesState(rule) ? start[carried++] : 0, block, text, ranges);
    }
    return ranges;
}

void ColorEngine::addRuleRanges(const Rule &rule, State state, const QTextBlock &block, QStringView text, std::vector<Range> &ranges)
{
    const std::size_t before = ranges.size();
    const State end = linescan::scanLine(rule, state, text, ranges);
    // A range still open at the line's end counts only if its end key follows.
    if (end != 0 && !awaitedKeyFollows(rule, end, block))
        ranges.erase(std::remove_if(ranges.begin() + std::ptrdiff_t(before), ranges.end(), [](const Range &r) { return r.open; }),
                     ranges.end());
}

// ---- Merging ----

namespace {

struct Cell {
    ColorValue color = 0;
    std::uint8_t layer = 0;
    bool keyword = false;
    bool covered = false;
    bool operator==(const Cell &) const = default;
};

// Each range paints its columns over those of a lower or equal layer.
std::vector<Cell> paintCells(const std::vector<Range> &ranges, int lineLength)
{
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
    return cells;
}

} // namespace

std::vector<ColorRun> mergeRanges(const std::vector<Range> &ranges, int lineLength)
{
    const std::vector<Cell> cells = paintCells(ranges, lineLength);
    std::vector<ColorRun> runs;
    for (int c = 0; c < lineLength;) {
        const Cell &cell = cells[std::size_t(c)];
        int e = c + 1;
        while (e < lineLength && cells[std::size_t(e)] == cell)
            ++e;
        if (cell.covered)
            runs.push_back(ColorRun{c, e - c, cell.color, cell.layer, cell.keyword});
        c = e;
    }
    return runs;
}
