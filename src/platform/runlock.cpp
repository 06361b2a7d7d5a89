#include "runlock.h"

#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <utility>

RunLock::~RunLock()
{
    unlock();
}

RunLock::RunLock(RunLock &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

RunLock &RunLock::operator=(RunLock &&other) noexcept
{
    if (this != &other) {
        unlock();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool RunLock::tryLock(const QString &path)
{
    unlock();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

void RunLock::unlock()
{
    if (m_fd >= 0) {
        ::close(m_fd);
        m_fd = -1;
    }
}
