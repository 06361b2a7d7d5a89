#include "recoverystore.h"

#include "editorlog.h"
#include "platform/fileerror.h"
#include "platform/lexstrings.h"
#include "platform/textfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <cstdio>

#include <unistd.h>

namespace {

const QString kLockName = QStringLiteral("lock");
const QString kSuffix = QStringLiteral(".qrec");

// The texts are the user's: nobody else may read them. Gives the system's
// error number when the folder cannot be had, 0 when it can.
int makePrivateFolder(const QString &path)
{
    errno = 0;
    if (!QDir().mkpath(path) || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
        return errno ? errno : EIO;
    return 0;
}

QString runName(const QString &prefix)
{
    return prefix + QString::number(::getpid()) + u'-' + QString::number(QRandomGenerator::global()->generate64(), 36);
}

} // namespace

QString RecoveryStore::defaultRoot()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (state.isEmpty() || !QDir::isAbsolutePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/quirtle/recovery");
}

RecoveryStore::RecoveryStore(const QString &root) : m_root(QDir::cleanPath(root))
{
    m_worker.setMaxThreadCount(1);
    if (const int error = makePrivateFolder(m_root)) {
        qCWarning(lcEditor) << "recovery folder cannot be made:" << m_root;
        m_error = fileerror::describe(error, m_root);
        return;
    }
    // The folder gets its final name only once it is locked, so that no
    // other editor takes a folder in the making for one left by a crash.
    const QString making = m_root + u'/' + runName(QStringLiteral(".new-"));
    const QString final = m_root + u'/' + runName(QStringLiteral("run-"));
    int error = makePrivateFolder(making);
    if (!error && !m_lock.tryLock(making + u'/' + kLockName))
        error = errno ? errno : EIO;
    if (!error && ::rename(QFile::encodeName(making).constData(), QFile::encodeName(final).constData()) != 0)
        error = errno;
    if (error) {
        qCWarning(lcEditor) << "recovery folder cannot be prepared:" << making;
        m_error = fileerror::describe(error, making);
        m_lock.unlock();
        QDir(making).removeRecursively();
        return;
    }
    m_folder = final;
}

RecoveryStore::~RecoveryStore()
{
    waitForPending();
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

void RecoveryStore::schedule(std::function<void()> task)
{
    m_worker.start(std::move(task));
}

QString RecoveryStore::fileFor(quint64 key) const
{
    return m_folder.isEmpty() ? QString() : m_folder + QStringLiteral("/doc-") + QString::number(key) + kSuffix;
}

void RecoveryStore::write(quint64 key, RecoveredText text)
{
    if (m_folder.isEmpty())
        return;
    const quint64 serial = ++m_serial;
    {
        QMutexLocker locker(m_mutex.get());
        (*m_latest)[key] = serial;
    }
    schedule([mutex = m_mutex, latest = m_latest, failed = m_failedWrites, reporter = m_reporter, key, serial, path = fileFor(key),
              text = std::move(text)] {
        {
            QMutexLocker locker(mutex.get());
            if ((*latest)[key] != serial)
                return;
        }
        const FileResult result = saveFileAtomically(path, recoveryBytes(text));
        if (!result.ok) {
            ++*failed;
            qCWarning(lcEditor) << "recovery file not written:" << path << result.error;
            if (*reporter)
                (*reporter)(path, result.error);
        }
    });
}

void RecoveryStore::setFailureReporter(FailureReporter reporter)
{
    // Set before the first write; the writes share the one reporter.
    waitForPending();
    *m_reporter = std::move(reporter);
}

void RecoveryStore::remove(quint64 key)
{
    if (m_folder.isEmpty())
        return;
    const quint64 serial = ++m_serial;
    {
        QMutexLocker locker(m_mutex.get());
        (*m_latest)[key] = serial;
    }
    schedule([mutex = m_mutex, latest = m_latest, key, serial, path = fileFor(key)] {
        QFile::remove(path);
        QMutexLocker locker(mutex.get());
        if ((*latest)[key] == serial)
            latest->erase(key);
    });
}

void RecoveryStore::waitForPending()
{
    m_worker.waitForDone();
}

RecoveryStore::Leftovers RecoveryStore::claimLeftovers()
{
    Leftovers found;
    if (m_folder.isEmpty())
        return found;
    m_failedAtClaim = *m_failedWrites;
    const QString own = QFileInfo(m_folder).fileName();
    const QStringList runs =
        QDir(m_root).entryList({QStringLiteral("run-*"), QStringLiteral(".new-*")}, QDir::Dirs | QDir::Hidden, QDir::Name);
    for (const QString &run : runs) {
        if (run == own)
            continue;
        const QString folder = m_root + u'/' + run;
        RunLock lock;
        if (!lock.tryLock(folder + u'/' + kLockName))
            continue; // that editor still runs
        const QStringList files = QDir(folder).entryList({u'*' + kSuffix}, QDir::Files, QDir::Name);
        Claimed claimed{folder, std::move(lock), {}};
        for (const QString &name : files) {
            const QString file = folder + u'/' + name;
            const LoadedBytes bytes = readFileBytes(file);
            // Not read is not damaged: an I/O error may be gone next time.
            if (!bytes.result.ok) {
                found.unreadable.append(file + u'\n' + bytes.result.error);
                continue;
            }
            RecoveryParse parse = parseRecoveryBytes(bytes.bytes);
            if (parse.recovered) {
                found.texts.append({file, std::move(*parse.recovered)});
                claimed.taken.append(file);
                continue;
            }
            // Kept aside, so that a text the program cannot read is not lost.
            const QString aside = m_root + QStringLiteral("/damaged/") + run + u'-' + name;
            makePrivateFolder(m_root + QStringLiteral("/damaged"));
            QFile::remove(aside);
            const bool moved = QFile::rename(file, aside);
            found.damaged.append((moved ? aside : file) + u'\n' + parse.error);
        }
        m_claimed.push_back(std::move(claimed));
    }
    return found;
}

void RecoveryStore::dropClaimed()
{
    auto claimed = std::make_shared<std::vector<Claimed>>(std::move(m_claimed));
    m_claimed.clear();
    // After the writes asked for before, so that restored texts are safe in
    // this run's folder before the old copies go.
    schedule([claimed, failed = m_failedWrites, before = m_failedAtClaim] {
        // A restored text not safe in this run's folder has its only copy
        // on disk there.
        if (*failed != before) {
            qCWarning(lcEditor) << "recovery files of an earlier run kept: a write failed";
            return;
        }
        // Only what was taken goes: a file left unread, or damaged and not
        // set aside, keeps its folder for the next start.
        for (Claimed &c : *claimed) {
            for (const QString &file : std::as_const(c.taken))
                QFile::remove(file);
            if (QDir(c.folder).entryList({u'*' + kSuffix}, QDir::Files).isEmpty())
                QDir(c.folder).removeRecursively();
            c.lock.unlock();
        }
    });
}

void RecoveryStore::releaseClaimed()
{
    // Closing the lock files lets the next start claim the folders.
    m_claimed.clear();
}
