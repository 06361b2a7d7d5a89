#include "textfile.h"

#include "fileerror.h"
#include "filefaults.h"
#include "lexstrings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <optional>
#include <vector>

namespace {

// Runs a system call again while a signal interrupts it.
template <typename Call> auto retried(Call call)
{
    decltype(call()) r;
    do {
        r = call();
    } while (r < 0 && errno == EINTR);
    return r;
}

// The error planted by a test for the step, or the outcome of the call.
template <typename Call> auto faulted(filefaults::Step step, Call call) -> decltype(call())
{
    if (const int planted = filefaults::take(step)) {
        errno = planted;
        return -1;
    }
    return retried(call);
}

QByteArray nativePath(const QString &path)
{
    return QFile::encodeName(path);
}

FileResult failure(int error, const QString &path)
{
    FileResult result;
    result.error = fileerror::describe(error, path);
    result.systemError = error;
    return result;
}

FileResult success()
{
    FileResult result;
    result.ok = true;
    return result;
}

// Closes a descriptor on every path out.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    // Closes now; a failed close can be the first report of a full disk.
    int close()
    {
        const int r = ::close(m_fd);
        m_fd = -1;
        return r;
    }

private:
    int m_fd;
};

bool writeAllBytes(int fd, const QByteArray &bytes, qint64 offset)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = faulted(filefaults::Step::Write, [&] {
            return ::pwrite(fd, bytes.constData() + done, size_t(bytes.size() - done), off_t(offset + done));
        });
        if (n < 0)
            return false;
        if (n == 0) {
            errno = ENOSPC;
            return false;
        }
        done += n;
    }
    return true;
}

} // namespace

LoadedBytes readFileBytes(const QString &path, qint64 maxBytes)
{
    LoadedBytes loaded;
    const QByteArray native = nativePath(path);
    // Not blocking: a named pipe in the file's place would wait for a writer
    // before its type could be checked.
    Descriptor fd(faulted(filefaults::Step::OpenRead, [&] { return ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); }));
    if (fd.get() < 0) {
        loaded.result = failure(errno, path);
        return loaded;
    }
    struct stat st {
    };
    if (::fstat(fd.get(), &st) != 0) {
        loaded.result = failure(errno, path);
        return loaded;
    }
    if (!S_ISREG(st.st_mode)) {
        loaded.result = failure(S_ISDIR(st.st_mode) ? EISDIR : ENXIO, path);
        return loaded;
    }
    if (maxBytes >= 0 && qint64(st.st_size) > maxBytes) {
        loaded.result = failure(EFBIG, path);
        return loaded;
    }
    char chunk[65536];
    for (;;) {
        const ssize_t n = faulted(filefaults::Step::Read, [&] { return ::read(fd.get(), chunk, sizeof chunk); });
        if (n < 0) {
            loaded.result = failure(errno, path);
            loaded.bytes.clear();
            return loaded;
        }
        if (n == 0)
            break;
        loaded.bytes.append(chunk, n);
        if (maxBytes >= 0 && loaded.bytes.size() > maxBytes) {
            loaded.result = failure(EFBIG, path);
            loaded.bytes.clear();
            return loaded;
        }
    }
    loaded.result.ok = true;
    return loaded;
}

LoadedFile loadTextFile(const QString &path)
{
    LoadedFile loaded;
    const LoadedBytes read = readFileBytes(path, kMaxTextFileBytes);
    loaded.result = read.result;
    if (read.result.systemError == EFBIG)
        loaded.result.error += u' ' + sizeLimitNote(path);
    if (!read.result.ok)
        return loaded;
    loaded.decoded = decodeText(read.bytes);
    loaded.bytes = read.bytes;
    // A picture or a program: a save would give its lone CRs and LFs one
    // style. Better not opened than silently altered. UTF-16 cut off inside
    // a character reads as such bytes too; the user is told what it is.
    const bool hasNul = loaded.decoded.text.contains(QChar(0));
    const bool cutUtf16 = hasNul && endsInsideUtf16Character(read.bytes);
    if (cutUtf16 || (hasNul && encodeText(loaded.decoded.text, loaded.decoded.format) != read.bytes)) {
        loaded.decoded = DecodedText();
        loaded.bytes.clear();
        loaded.result.ok = false;
        loaded.result.error = lex::message(cutUtf16 ? 3301 : 3351);
        loaded.result.systemError = 0;
    }
    return loaded;
}

QString sizeLimitNote(const QString &path)
{
    const qint64 megabytes = (QFileInfo(path).size() + 1024 * 1024 - 1) / (1024 * 1024);
    return lex::message(3350) + u' ' + QString::number(megabytes) + QStringLiteral(" MB.");
}

bool userMayWrite(const QString &path)
{
    return ::faccessat(AT_FDCWD, nativePath(path).constData(), W_OK, AT_EACCESS) == 0;
}

namespace {

// The whole content of an open file, read from its start.
std::optional<QByteArray> readAllFrom(int fd)
{
    QByteArray all;
    char chunk[65536];
    for (;;) {
        const ssize_t n = retried([&] { return ::pread(fd, chunk, sizeof chunk, off_t(all.size())); });
        if (n < 0)
            return std::nullopt;
        if (n == 0)
            return all;
        all.append(chunk, n);
    }
}

// Overwrites the file itself: its inode, links and owner stay.
FileResult writeInPlace(const QString &path, const QByteArray &bytes, const struct stat &before)
{
    const QByteArray native = nativePath(path);
    // A full disk must not leave the file half old, half new.
    struct statvfs disk {
    };
    const qint64 growth = qint64(bytes.size()) - qint64(before.st_size);
    if (growth > 0 && ::statvfs(native.constData(), &disk) == 0 && qint64(disk.f_bavail) * qint64(disk.f_frsize) < growth)
        return failure(ENOSPC, path);
    // Not O_TRUNC: that would empty the file before anything is written.
    Descriptor fd(faulted(filefaults::Step::OpenWrite, [&] { return ::open(native.constData(), O_RDWR | O_CLOEXEC); }));
    if (fd.get() < 0)
        return failure(errno, path);
    // No untouched copy lies beside the file: its old text is kept here to
    // be put back when the new one cannot be written whole.
    const std::optional<QByteArray> old = readAllFrom(fd.get());
    if (!old)
        return failure(errno, path);
    if (!writeAllBytes(fd.get(), bytes, 0) || retried([&] { return ::ftruncate(fd.get(), off_t(bytes.size())); }) != 0 ||
        faulted(filefaults::Step::Sync, [&] { return ::fsync(fd.get()); }) != 0) {
        const int error = errno;
        if (writeAllBytes(fd.get(), *old, 0) && retried([&] { return ::ftruncate(fd.get(), off_t(old->size())); }) == 0)
            ::fsync(fd.get());
        return failure(error, path);
    }
    if (fd.close() != 0)
        return failure(errno, path);
    return success();
}

// Gives the new file the old one's owner and group; false when the user may
// not give them.
bool keepOwner(int handle, const struct stat &before)
{
    struct stat now {
    };
    if (::fstat(handle, &now) == 0 && now.st_uid == before.st_uid && now.st_gid == before.st_gid)
        return true;
    return ::fchown(handle, before.st_uid, before.st_gid) == 0;
}

// The names of a file's extended attributes, or nullopt when they cannot be
// read; none where the file system keeps no such attributes.
std::optional<std::vector<QByteArray>> attributeNames(const QByteArray &path)
{
    for (int attempt = 0; attempt < 3; ++attempt) {
        ssize_t size = ::listxattr(path.constData(), nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP || errno == ENOSYS ? std::optional(std::vector<QByteArray>()) : std::nullopt;
        QByteArray list(size, '\0');
        size = ::listxattr(path.constData(), list.data(), size_t(list.size()));
        if (size < 0 && errno == ERANGE)
            continue; // grew meanwhile
        if (size < 0)
            return std::nullopt;
        std::vector<QByteArray> names;
        for (const QByteArray &name : list.left(size).split('\0'))
            if (!name.isEmpty())
                names.push_back(name);
        return names;
    }
    return std::nullopt;
}

// Gives the new file the old one's extended attributes: its access control
// list and what file managers and other tools keep there. False when one
// cannot be carried over; the caller then writes the file in place.
bool keepAttributes(const QByteArray &from, int handle)
{
    const std::optional<std::vector<QByteArray>> names = attributeNames(from);
    if (!names)
        return false;
    static const QByteArray accessList("system.posix_acl_access");
    bool hadAccessList = false;
    for (const QByteArray &name : *names) {
        hadAccessList = hadAccessList || name == accessList;
        const ssize_t size = ::getxattr(from.constData(), name.constData(), nullptr, 0);
        if (size < 0)
            return false;
        QByteArray value(size, '\0');
        const ssize_t got = ::getxattr(from.constData(), name.constData(), value.data(), size_t(value.size()));
        if (got != size || ::fsetxattr(handle, name.constData(), value.constData(), size_t(size), 0) != 0)
            return false;
    }
    // A list the new file inherited from its folder would change who may
    // read the page; the old file had none.
    if (!hadAccessList && ::fremovexattr(handle, accessList.constData()) != 0 && errno != ENODATA && errno != ENOTSUP)
        return false;
    return true;
}

// A new file beside the target, made with the permissions a new file gets
// (the umask applies); its name is returned in temp. The name is shortened
// where the target's own name leaves no room for the additions.
int createTemporary(const QString &target, QByteArray &temp)
{
    const QFileInfo info(target);
    QByteArray name = nativePath(info.fileName());
    constexpr int kAdded = 14; // "." before, ".xxxxxxxx.tmp" after
    if (name.size() + kAdded > NAME_MAX)
        name = QByteArrayLiteral("quirtle");
    const QByteArray folder = nativePath(info.absolutePath());
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = folder + "/." + name +
               QStringLiteral(".%1.tmp").arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')).toLatin1();
        const int fd =
            faulted(filefaults::Step::CreateTemp, [&] { return ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); });
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Where a chain of symbolic links ends: the first name in it that is no
// link (and may not exist). Nullopt with errno set for a loop.
std::optional<QString> endOfLinks(const QString &link)
{
    QString current = link;
    for (int hop = 0; hop < 40; ++hop) {
        const QByteArray native = nativePath(current);
        struct stat st {
        };
        if (::lstat(native.constData(), &st) != 0 || !S_ISLNK(st.st_mode))
            return current;
        QByteArray target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(native.constData(), target.data(), size_t(target.size()));
        if (n < 0)
            return std::nullopt;
        if (n >= target.size()) {
            errno = ENAMETOOLONG;
            return std::nullopt;
        }
        target.truncate(n);
        const QString next = QFile::decodeName(target);
        current = QDir::isAbsolutePath(next) ? next : QFileInfo(current).absolutePath() + u'/' + next;
    }
    errno = ELOOP;
    return std::nullopt;
}

// The folder's entry for the renamed file reaches the disk too.
void syncFolder(const QString &path)
{
    Descriptor dir(::open(nativePath(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

} // namespace

FileResult saveFileAtomically(const QString &requested, const QByteArray &bytes)
{
    // A symbolic link stays a link; its target gets the new text, and is
    // made where the link points when it is not there yet.
    const QFileInfo info(requested);
    QString path = requested;
    if (info.isSymLink()) {
        const std::optional<QString> target = info.exists() ? std::optional(info.canonicalFilePath()) : endOfLinks(requested);
        if (!target)
            return failure(errno, requested);
        path = *target;
    }
    struct stat before {
    };
    const bool existed = ::stat(nativePath(path).constData(), &before) == 0;
    if (existed && S_ISDIR(before.st_mode))
        return failure(EISDIR, path);
    if (existed && !S_ISREG(before.st_mode))
        return failure(ENXIO, path);
    // Renaming over a file would bypass its write protection; refuse as a
    // plain write would.
    if (existed && !userMayWrite(path))
        return failure(errno, path);
    if (existed && before.st_nlink > 1)
        return writeInPlace(path, bytes, before);
    QByteArray temp;
    Descriptor fd(createTemporary(path, temp));
    if (fd.get() < 0) {
        const int error = errno;
        return existed ? writeInPlace(path, bytes, before) : failure(error, path);
    }
    auto discard = [&](int error) {
        ::unlink(temp.constData());
        return failure(error, path);
    };
    if (existed) {
        if (!keepOwner(fd.get(), before)) {
            fd.close();
            ::unlink(temp.constData());
            return writeInPlace(path, bytes, before);
        }
        if (!keepAttributes(nativePath(path), fd.get())) {
            fd.close();
            ::unlink(temp.constData());
            return writeInPlace(path, bytes, before);
        }
        // After the access list: with one, the mode's group bits are its mask.
        ::fchmod(fd.get(), before.st_mode & 07777);
    }
    if (!writeAllBytes(fd.get(), bytes, 0) || faulted(filefaults::Step::Sync, [&] { return ::fsync(fd.get()); }) != 0 || fd.close() != 0)
        return discard(errno);
    if (faulted(filefaults::Step::Rename, [&] { return ::rename(temp.constData(), nativePath(path).constData()); }) != 0)
        return discard(errno);
    syncFolder(path);
    return success();
}
