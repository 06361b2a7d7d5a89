#include "textfile.h"

#include "cp1252.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

QString normalised(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
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

DecodedText decodeText(const QByteArray &bytes)
{
    DecodedText out;
    QByteArrayView body(bytes);
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    if (bom)
        body = body.sliced(3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        out.format.encoding = TextEncoding::Utf8;
        out.format.bom = bom;
    } else {
        text = cp1252::decode(bytes);
    }
    const BreakCounts counts = countBreaks(text);
    out.format.lineBreak = dominant(counts);
    out.format.finalBreak = text.endsWith(u'\n') || text.endsWith(u'\r');
    out.text = normalised(std::move(text));
    return out;
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
    case LineBreak::Lf: return QStringLiteral("LF (Unix)");
    case LineBreak::Cr: return QStringLiteral("CR (klassisches macOS)");
    case LineBreak::CrLf: break;
    }
    return QStringLiteral("CR LF (Windows)");
}

QString encodingName(const TextFormat &format)
{
    if (format.encoding == TextEncoding::Windows1252)
        return QStringLiteral("Windows-1252");
    return format.bom ? QStringLiteral("UTF-8 mit BOM") : QStringLiteral("UTF-8");
}

LoadedFile loadTextFile(const QString &path)
{
    LoadedFile loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        loaded.result.error = file.errorString();
        return loaded;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        loaded.result.error = file.errorString();
        return loaded;
    }
    loaded.decoded = decodeText(bytes);
    loaded.result.ok = true;
    return loaded;
}

bool userMayWrite(const QString &path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

namespace {

QString systemError()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

// Overwrites the file itself: its inode, links and owner stay.
FileResult writeInPlace(const QString &path, const QByteArray &bytes, const struct stat &before)
{
    FileResult result;
    // A full disk must not leave the file half old, half new.
    struct statvfs disk {
    };
    const qint64 growth = qint64(bytes.size()) - qint64(before.st_size);
    if (growth > 0 && ::statvfs(QFile::encodeName(path).constData(), &disk) == 0 &&
        qint64(disk.f_bavail) * qint64(disk.f_frsize) < growth) {
        result.error = QString::fromLocal8Bit(std::strerror(ENOSPC));
        return result;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite)) { // not WriteOnly: that would empty the file first
        result.error = file.errorString();
        return result;
    }
    if (file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !file.flush()) {
        result.error = file.errorString();
        return result;
    }
    if (::fsync(file.handle()) != 0) {
        result.error = systemError();
        return result;
    }
    result.ok = true;
    return result;
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

} // namespace

FileResult saveFileAtomically(const QString &path, const QByteArray &bytes)
{
    FileResult result;
    const QFileInfo info(path);
    // Renaming over a file would bypass its write protection; refuse as a
    // plain write would.
    if (info.exists() && !userMayWrite(path)) {
        result.error = QStringLiteral("Permission denied");
        return result;
    }
    struct stat before {
    };
    const bool existed = ::stat(QFile::encodeName(path).constData(), &before) == 0 && S_ISREG(before.st_mode);
    if (existed && before.st_nlink > 1)
        return writeInPlace(path, bytes, before);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (existed)
            return writeInPlace(path, bytes, before);
        result.error = file.errorString();
        return result;
    }
    if (existed && !keepOwner(int(file.handle()), before)) {
        file.cancelWriting();
        return writeInPlace(path, bytes, before);
    }
    if (file.write(bytes) != bytes.size()) {
        result.error = file.errorString();
        file.cancelWriting();
        return result;
    }
    if (!file.commit()) {
        result.error = file.errorString();
        return result;
    }
    result.ok = true;
    return result;
}
