// An exclusive lock on a file that the kernel releases when the process
// ends in any way, a crash included: whoever holds it is alive, so no
// guessing about stale locks is needed.
#pragma once

#include <QString>

class RunLock
{
public:
    RunLock() = default;
    ~RunLock();
    RunLock(RunLock &&other) noexcept;
    RunLock &operator=(RunLock &&other) noexcept;
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    // Creates the file when missing (owner-only) and takes the lock without
    // waiting; false when another holder has it or the file cannot be made.
    bool tryLock(const QString &path);
    bool isLocked() const { return m_fd >= 0; }
    void unlock();

private:
    int m_fd = -1;
};
