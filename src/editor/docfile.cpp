#include "docfile.h"

#include "platform/cp1252.h"

#include <QFileInfo>

namespace {

// A new page that names UTF-8 for itself is written so; in Windows-1252 a
// browser would show its umlauts garbled. A file keeps what it was read in.
TextFormat formatFor(const QString &path, const TextFormat &format, QStringView text)
{
    TextFormat out = format;
    if (path.isEmpty() && out.encoding == TextEncoding::Windows1252 && declaresUtf8(text))
        out.encoding = TextEncoding::Utf8;
    return out;
}

// The page names Windows-1252 in its markup, where a character reference
// stands for the character; in a style sheet ("@charset" first) it does not.
bool namesWindows1252(QStringView text)
{
    return declaresWindows1252(text) && !text.startsWith(u"@charset");
}

} // namespace

QString DocumentFile::folder() const
{
    if (m_path.isEmpty())
        return QString();
    // A file at the top of a drive or file system: its folder ends in "/" already.
    const QString folder = QFileInfo(m_path).absolutePath();
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

QString DocumentFile::fileName() const
{
    return m_path.isEmpty() ? QString() : QFileInfo(m_path).fileName();
}

DocumentFile::Loaded DocumentFile::load(const QString &path)
{
    // The file's state is taken before reading: a change made while it is
    // read counts as a change on disk, not as part of what was loaded.
    const QFileInfo before(path);
    const QDateTime diskTime = before.exists() ? before.lastModified() : QDateTime();
    const qint64 diskSize = before.exists() ? before.size() : -1;
    const LoadedFile loaded = loadTextFile(path);
    Loaded out;
    out.result = loaded.result;
    if (!loaded.result.ok)
        return out;
    out.text = withEditorBreaks(loaded.decoded.text);
    m_path = QFileInfo(path).absoluteFilePath();
    m_format = loaded.decoded.format;
    m_diskTime = diskTime;
    m_diskSize = diskSize;
    return out;
}

bool DocumentFile::needsEncodingChoice(QStringView text) const
{
    return !cp1252::canEncode(text) && formatFor(m_path, m_format, text).encoding == TextEncoding::Windows1252 && !namesWindows1252(text);
}

FileResult DocumentFile::save(const QString &path, const QString &text, std::optional<Unstorable> choice)
{
    TextFormat format = formatFor(m_path, m_format, text);
    QString written = text;
    if (format.encoding == TextEncoding::Windows1252 && !cp1252::canEncode(text)) {
        // A page that names Windows-1252 would be read back garbled as UTF-8.
        if (choice == Unstorable::SaveAsUtf8 && !namesWindows1252(text)) {
            format.encoding = TextEncoding::Utf8;
            format.bom = false;
        } else {
            // Without a choice nothing may be lost either: references keep every character.
            written = withCharacterReferences(text);
        }
    }
    const FileResult result = saveFileAtomically(path, encodeText(withUnambiguousStart(written, format), format));
    if (!result.ok)
        return result;
    m_path = QFileInfo(path).absoluteFilePath();
    m_format = format;
    rememberDiskState();
    return result;
}

void DocumentFile::adopt(const QString &path, const TextFormat &format, const QDateTime &diskTime, qint64 diskSize)
{
    m_path = path;
    m_format = format;
    rememberDiskState();
    if (diskTime.isValid() && diskSize >= 0) {
        m_diskTime = diskTime;
        m_diskSize = diskSize;
    }
}

bool DocumentFile::changedOnDisk() const
{
    if (m_path.isEmpty() || !m_diskTime.isValid())
        return false;
    const QFileInfo info(m_path);
    return info.exists() && (info.lastModified() != m_diskTime || info.size() != m_diskSize);
}

void DocumentFile::rememberDiskState()
{
    const QFileInfo info(m_path);
    m_diskTime = info.exists() ? info.lastModified() : QDateTime();
    m_diskSize = info.exists() ? info.size() : -1;
}
