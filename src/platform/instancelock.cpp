#include "instancelock.h"

#include "lexstrings.h"
#include "logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <sys/stat.h>
#include <unistd.h>

namespace instance {

namespace {

// A folder may hold the channel when it is a real folder (no link) of this
// user that no one else may enter or list.
bool isPrivateFolder(const QString &path)
{
    struct stat info {
    };
    if (::lstat(QFile::encodeName(path).constData(), &info) != 0)
        return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

} // namespace

QString runtimeFolder(QString *error)
{
    const QString xdg = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg) && isPrivateFolder(xdg))
        return QDir::cleanPath(xdg);
    if (!xdg.isEmpty())
        qCWarning(lcPlatform) << "XDG_RUNTIME_DIR is not a private folder of this user, using /tmp:" << xdg;
    // A fixed place rather than $TMPDIR: every start of this user must
    // find the same folder.
    const QString fallback = QStringLiteral("/tmp/quirtle-%1").arg(::geteuid());
    ::mkdir(QFile::encodeName(fallback).constData(), 0700);
    if (isPrivateFolder(fallback))
        return fallback;
    if (error)
        *error = lex::message(3117) + u'\n' + fallback;
    return {};
}

QString serviceName(const QString &programPath)
{
    const QString name = QFileInfo(programPath).fileName().section(u'.', 0, 0);
    if (name.size() > 100 || name.contains(QChar(0)))
        return {};
    return name;
}

QString lockPath(const QString &folder, const QString &service)
{
    return folder + u'/' + service.toLower() + QStringLiteral(".lock");
}

QString socketPath(const QString &folder, const QString &service)
{
    return folder + u'/' + service.toLower() + QStringLiteral(".dde");
}

InstanceLock::InstanceLock(const QString &path) : m_file(std::make_unique<QLockFile>(path))
{
    // The default treats a lock older than 30 s as stale, which would let
    // a second start take over from an editor that has simply run a while.
    // With 0 only a holder that no longer runs makes the lock stale.
    m_file->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

InstanceLock::Result InstanceLock::tryLock()
{
    if (m_file->isLocked() || m_file->tryLock(0))
        return Result::Acquired;
    if (m_file->error() == QLockFile::LockFailedError)
        return Result::HeldByOther;
    qCWarning(lcPlatform) << "cannot make the instance lock" << m_file->fileName() << m_file->error();
    return Result::Failed;
}

bool InstanceLock::isLocked() const
{
    return m_file->isLocked();
}

} // namespace instance
