#include "stretchscan.h"

#include "editorlog.h"

#include <exception>
#include <system_error>
#include <thread>

using linescan::Rule;
using linescan::State;

namespace stretchscan {

namespace {

// Start of the end key that closes the wait in `state`, at or after `from`.
int awaitedEnd(const Rule &rule, State state, QStringView text, int from)
{
    const QString &key = rule.entries[state - 1].end;
    // An empty end key never matches: such a range is never closed.
    return key.isEmpty() ? -1 : int(linescan::findKey(text, key, from));
}

// Joins the thread on every way out, also when the work beside it throws.
class JoinOnExit
{
public:
    explicit JoinOnExit(std::thread &thread) : m_thread(thread) {}
    ~JoinOnExit()
    {
        if (m_thread.joinable())
            m_thread.join();
    }
    JoinOnExit(const JoinOnExit &) = delete;
    JoinOnExit &operator=(const JoinOnExit &) = delete;

private:
    std::thread &m_thread;
};

} // namespace

Waits waitsOf(const Rule &rule, State start, QStringView text)
{
    Waits waits;
    int p = 0;
    if (start != 0) {
        const int end = awaitedEnd(rule, start, text, 0);
        waits.push_back({-1, end, start});
        if (end < 0)
            return waits;
        p = end + 1;
    }
    linescan::EarliestKey keys(rule.entries.size());
    while (p <= text.size()) {
        const linescan::EarliestKey::Hit hit = keys.next(text, p, linescan::beginKeysOf(rule));
        if (hit.at < 0)
            break;
        const State state = State(hit.key + 1);
        const int end = awaitedEnd(rule, state, text, hit.at + 1);
        waits.push_back({hit.at, end, state});
        if (end < 0)
            break;
        p = end + 1;
    }
    return waits;
}

void runBeside(const std::function<void()> &beside, const std::function<void()> &here)
{
    std::exception_ptr failed;
    auto guarded = [&] {
        try {
            beside();
        } catch (...) {
            failed = std::current_exception();
        }
    };
    std::thread thread;
    try {
        thread = std::thread(guarded);
    } catch (const std::system_error &error) {
        qCWarning(lcEditor) << "no second thread for a long scan:" << error.what();
        guarded();
    }
    const JoinOnExit join(thread);
    here();
    if (thread.joinable())
        thread.join();
    if (failed)
        std::rethrow_exception(failed);
}

void WaitCursor::statesAt(int lineStart, std::vector<State> &states)
{
    Q_ASSERT(states.size() == m_waits.size());
    for (std::size_t i = 0; i < m_waits.size(); ++i) {
        const Waits &w = m_waits[i];
        std::size_t &at = m_at[i];
        while (at < w.size() && w[at].end >= 0 && w[at].end < lineStart)
            ++at;
        const bool waiting = at < w.size() && w[at].begin < lineStart;
        states[i] = waiting ? w[at].state : 0;
    }
}

} // namespace stretchscan
