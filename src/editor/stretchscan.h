// States of a long stretch of lines in one scan per rule: far cheaper than a
// scan per line when a paint far below the last coloured line needs them all.
#pragma once

#include "linescan.h"

#include <QStringView>

#include <functional>
#include <vector>

namespace stretchscan {

// Where a rule waits for an end key: from the begin key at `begin` (-1: before
// the stretch) to the end key starting at `end` (-1: none follows in it).
struct Wait {
    int begin;
    int end;
    linescan::State state;
};
using Waits = std::vector<Wait>;

// One scan of a rule over the stretch from its start state: the places where
// it waits for an end key, which are exactly the line starts whose state is
// not 0.
Waits waitsOf(const linescan::Rule &rule, linescan::State start, QStringView text);

// Runs `beside` on a second thread while this thread runs `here`; one after
// the other when no thread can be had. Returns once both are done and
// rethrows what `beside` threw.
void runBeside(const std::function<void()> &beside, const std::function<void()> &here);

// The state of every rule at line starts taken in increasing order.
class WaitCursor
{
public:
    explicit WaitCursor(const std::vector<Waits> &waits) : m_waits(waits), m_at(waits.size(), 0) {}

    // `lineStart` is the line's offset in the stretch; it never decreases.
    void statesAt(int lineStart, std::vector<linescan::State> &states);

private:
    const std::vector<Waits> &m_waits;
    std::vector<std::size_t> m_at;
};

} // namespace stretchscan
