// Where the texts of modified documents wait for the next start: one folder
// per running editor under the user's state folder, locked while that editor
// lives. Writes happen on a worker thread, in the order they were asked for.
#pragma once

#include "platform/runlock.h"
#include "recoveryfile.h"

#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>
#include <QThreadPool>

#include <atomic>
#include <functional>
#include <map>
#include <memory>

class RecoveryStore
{
public:
    // $XDG_STATE_HOME/quirtle/recovery/ (~/.local/state/... when unset).
    static QString defaultRoot();

    explicit RecoveryStore(const QString &root = defaultRoot());
    // Waits for the writes asked for, then removes this run's folder: an
    // editor that ends this way has saved or dropped every document.
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore &) = delete;
    RecoveryStore &operator=(const RecoveryStore &) = delete;

    // This run's folder; empty when it could not be made (recovery is off).
    QString folder() const { return m_folder; }
    // Why there is no folder, in the user's words; empty when there is one.
    QString error() const { return m_error; }
    QString root() const { return m_root; }
    // Told of every write that failed (the file and why), on the writing
    // thread: the user is to learn that the newest changes are not safe.
    using FailureReporter = std::function<void(const QString &file, const QString &error)>;
    void setFailureReporter(FailureReporter reporter);

    // Keeps the text under the document's key; a later write of the same
    // key that is already waiting makes this one unnecessary.
    void write(quint64 key, RecoveredText text);
    void remove(quint64 key);
    QString fileFor(quint64 key) const;
    void waitForPending();

    struct Leftover {
        QString file;
        RecoveredText recovered;
    };
    struct Leftovers {
        QList<Leftover> texts;
        QStringList damaged; // each the file kept aside, a line break and why
        // Files that could not be read just now (each the file, a line
        // break and why): left in place for the next start.
        QStringList unreadable;
    };
    // Claims the folders of earlier runs that ended without cleaning up
    // (their lock is free; folders of running editors stay untouched) and
    // reads their texts. Damaged files are moved into "damaged/".
    Leftovers claimLeftovers();
    // Removes the claimed folders, after every write asked for so far; when
    // one of those writes failed, they stay for the next start to offer.
    void dropClaimed();
    // Leaves the claimed folders as they are, unlocked, for a later start
    // to offer again (the user put the question off).
    void releaseClaimed();

private:
    void schedule(std::function<void()> task);

    QString m_root;
    QString m_folder;
    QString m_error;
    RunLock m_lock;
    struct Claimed {
        QString folder;
        RunLock lock;
        QStringList taken; // the files read (or set aside) from it
    };
    std::vector<Claimed> m_claimed;
    QThreadPool m_worker;
    // The newest write asked for per key; older waiting ones skip.
    std::shared_ptr<QMutex> m_mutex = std::make_shared<QMutex>();
    std::shared_ptr<std::map<quint64, quint64>> m_latest = std::make_shared<std::map<quint64, quint64>>();
    quint64 m_serial = 0;
    // Writes that failed, counted off this thread; the count when claiming.
    std::shared_ptr<std::atomic<int>> m_failedWrites = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<FailureReporter> m_reporter = std::make_shared<FailureReporter>();
    int m_failedAtClaim = 0;
};
