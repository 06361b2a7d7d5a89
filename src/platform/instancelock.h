// One running editor per user and program name: a lock file in the user's
// private runtime folder decides which start is the first.
#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace instance {

// The user's private runtime folder: $XDG_RUNTIME_DIR when it is a folder
// of this user that nobody else may enter, otherwise /tmp/quirtle-<uid>,
// made with mode 0700. Empty, with the reason in *error, when neither is
// safe (for example a folder of that name belonging to someone else).
QString runtimeFolder(QString *error);

// The service name of a program file: its name without folder, up to the
// first "." ("quirtle" for "quirtle" and "quirtle.bin"). Empty when the name
// cannot name a channel.
QString serviceName(const QString &programPath);

// Where the lock and the channel of a service live in the runtime folder.
// File names are not case-sensitive here as they are on Windows, so the
// service is lower-cased: "Quirtle" and "quirtle" are the same program.
QString lockPath(const QString &folder, const QString &service);
QString socketPath(const QString &folder, const QString &service);

class InstanceLock
{
public:
    explicit InstanceLock(const QString &path);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    enum class Result { Acquired, HeldByOther, Failed };
    // Never waits. A lock left by a process that no longer runs is taken
    // over; a live holder keeps it however long it has run.
    Result tryLock();
    bool isLocked() const;

private:
    std::unique_ptr<QLockFile> m_file;
};

} // namespace instance
