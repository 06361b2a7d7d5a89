#include "textfile.h"

#include "cp1252.h"
#include "fileerror.h"
#include "filefaults.h"
#include "lexstrings.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <optional>
#include <vector>

namespace {

struct BreakCounts {
    qsizetype crlf = 0, lf = 0, cr = 0;
};

BreakCounts countBreaks(QStringView text)
{
    BreakCounts n;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r') {
            if (i + 1 < text.size() && text[i + 1] == u'\n') {
                ++n.crlf;
                ++i;
            } else {
                ++n.cr;
            }
        } else if (text[i] == u'\n') {
            ++n.lf;
        }
    }
    return n;
}

LineBreak dominant(const BreakCounts &n)
{
    if (n.lf > n.crlf && n.lf >= n.cr)
        return LineBreak::Lf;
    if (n.cr > n.crlf && n.cr > n.lf)
        return LineBreak::Cr;
    return LineBreak::CrLf;
}

QStringView breakText(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Lf: return u"\n";
    case LineBreak::Cr: return u"\r";
    case LineBreak::CrLf: break;
    }
    return u"\r\n";
}

} // namespace

QString declaredCharset(QStringView text)
{
    static const QRegularExpression declaration(QStringLiteral(R"((?:charset\s*=|encoding\s*=|@charset\s)[\s"']*([A-Za-z0-9._:-]+))"),
                                                QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = declaration.match(text.left(4096).toString());
    return match.hasMatch() ? match.captured(1).toLower() : QString();
}

bool declaresUtf8(QStringView text)
{
    const QString label = declaredCharset(text);
    return label == u"utf-8" || label == u"utf8" || label == u"unicode-1-1-utf-8";
}

namespace {

// The file names Windows-1252 for itself, with any label that browsers
// read as Windows-1252.
bool declaresWindows1252(QStringView text)
{
    static const QStringList labels = {
        QStringLiteral("windows-1252"),   QStringLiteral("cp1252"),   QStringLiteral("x-cp1252"),   QStringLiteral("iso-8859-1"),
        QStringLiteral("iso8859-1"),      QStringLiteral("iso88591"), QStringLiteral("iso_8859-1"), QStringLiteral("iso_8859-1:1987"),
        QStringLiteral("iso-ir-100"),     QStringLiteral("latin1"),   QStringLiteral("l1"),         QStringLiteral("csisolatin1"),
        QStringLiteral("ibm819"),         QStringLiteral("cp819"),    QStringLiteral("us-ascii"),   QStringLiteral("ascii"),
        QStringLiteral("ansi_x3.4-1968"),
    };
    const QString label = declaredCharset(text);
    return !label.isEmpty() && labels.contains(label);
}

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// UTF-16 is known by its byte-order mark; an odd number of bytes is none.
std::optional<BytesAsText> asUtf16(QByteArrayView bytes)
{
    const bool bigEndian = bytes.startsWith("\xFE\xFF");
    if ((!bigEndian && !bytes.startsWith("\xFF\xFE")) || bytes.size() % 2 != 0)
        return std::nullopt;
    QStringDecoder utf16(bigEndian ? QStringDecoder::Utf16BE : QStringDecoder::Utf16LE,
                         QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    BytesAsText out;
    out.text = utf16.decode(bytes.sliced(2));
    if (utf16.hasError())
        return std::nullopt;
    out.bom = true;
    out.encoding = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
    return out;
}

} // namespace

BytesAsText decodeBytes(QByteArrayView bytes)
{
    if (std::optional<BytesAsText> utf16 = asUtf16(bytes))
        return *utf16;
    BytesAsText out;
    QByteArrayView body(bytes);
    out.bom = bytes.startsWith("\xEF\xBB\xBF");
    if (out.bom)
        body = body.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    out.text = utf8.decode(body);
    out.utf8 = !utf8.hasError();
    out.encoding = out.utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
    if (!out.utf8) {
        out.text = cp1252::decode(bytes);
        out.bom = false;
    }
    return out;
}

QString withLfBreaks(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

QString withEditorBreaks(QString text)
{
    text = withLfBreaks(std::move(text));
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    return text;
}

DecodedText decodeText(const QByteArray &bytes)
{
    DecodedText out;
    BytesAsText decoded = decodeBytes(bytes);
    out.format.encoding = decoded.encoding;
    // Plain ASCII is valid UTF-8 too; a page that declares Windows-1252 gets
    // what it typed later written in the encoding it names.
    if (decoded.utf8 && !decoded.bom && isAscii(bytes) && declaresWindows1252(decoded.text))
        out.format.encoding = TextEncoding::Windows1252;
    out.format.bom = decoded.bom;
    out.format.lineBreak = dominant(countBreaks(decoded.text));
    out.format.finalBreak = decoded.text.endsWith(u'\n') || decoded.text.endsWith(u'\r');
    out.text = withLfBreaks(std::move(decoded.text));
    return out;
}

QString withUnambiguousStart(QStringView text, const TextFormat &format)
{
    const bool markLike =
        text.size() >= 2 && ((text[0] == QChar(0xFE) && text[1] == QChar(0xFF)) || (text[0] == QChar(0xFF) && text[1] == QChar(0xFE)));
    if (format.encoding != TextEncoding::Windows1252 || !markLike || !asUtf16(encodeText(text, format)))
        return text.toString();
    return QStringLiteral("&#") + QString::number(text[0].unicode()) + u';' + text.mid(1);
}

QByteArray encodeText(QStringView text, const TextFormat &format)
{
    QString withBreaks;
    const QStringView lineBreak = breakText(format.lineBreak);
    withBreaks.reserve(text.size() + text.count(u'\n') + 2);
    for (const QChar c : text) {
        if (c == u'\n')
            withBreaks += lineBreak;
        else
            withBreaks += c;
    }
    if (format.finalBreak && !text.isEmpty() && !text.endsWith(u'\n'))
        withBreaks += lineBreak;
    if (format.encoding == TextEncoding::Windows1252)
        return cp1252::encode(withBreaks);
    if (format.encoding == TextEncoding::Utf16Le || format.encoding == TextEncoding::Utf16Be) {
        const bool bigEndian = format.encoding == TextEncoding::Utf16Be;
        QStringEncoder utf16(bigEndian ? QStringEncoder::Utf16BE : QStringEncoder::Utf16LE);
        QByteArray out = !format.bom ? QByteArray() : bigEndian ? QByteArray("\xFE\xFF") : QByteArray("\xFF\xFE");
        return out + QByteArray(utf16.encode(withBreaks));
    }
    QByteArray out = format.bom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    return out + withBreaks.toUtf8();
}

QString withCharacterReferences(QStringView text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t cp = text[i].unicode();
        if (QChar::isHighSurrogate(cp) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(text[i], text[i + 1]);
            ++i;
        } else if (cp1252::canEncode(text.mid(i, 1))) {
            out += text[i];
            continue;
        }
        out += QStringLiteral("&#%1;").arg(uint(cp));
    }
    return out;
}

QString lineBreakName(LineBreak lineBreak)
{
    switch (lineBreak) {
    case LineBreak::Lf: return lex::caption(1134);
    case LineBreak::Cr: return lex::caption(1135);
    case LineBreak::CrLf: break;
    }
    return lex::caption(1133);
}

QString encodingName(const TextFormat &format)
{
    if (format.encoding == TextEncoding::Windows1252)
        return QStringLiteral("Windows-1252");
    if (format.encoding == TextEncoding::Utf16Le)
        return QStringLiteral("UTF-16 LE");
    if (format.encoding == TextEncoding::Utf16Be)
        return QStringLiteral("UTF-16 BE");
    return format.bom ? lex::caption(1132) : QStringLiteral("UTF-8");
}

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

LoadedBytes readFileBytes(const QString &path)
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
    }
    loaded.result.ok = true;
    return loaded;
}

LoadedFile loadTextFile(const QString &path)
{
    LoadedFile loaded;
    const LoadedBytes read = readFileBytes(path);
    loaded.result = read.result;
    if (read.result.ok)
        loaded.decoded = decodeText(read.bytes);
    return loaded;
}

bool userMayWrite(const QString &path)
{
    return ::faccessat(AT_FDCWD, nativePath(path).constData(), W_OK, AT_EACCESS) == 0;
}

namespace {

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
    if (!writeAllBytes(fd.get(), bytes, 0) || retried([&] { return ::ftruncate(fd.get(), off_t(bytes.size())); }) != 0 ||
        faulted(filefaults::Step::Sync, [&] { return ::fsync(fd.get()); }) != 0 || fd.close() != 0)
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
    // A symbolic link stays a link; its target gets the new text.
    const QFileInfo info(requested);
    const QString path = info.isSymLink() && info.exists() ? info.canonicalFilePath() : requested;
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
