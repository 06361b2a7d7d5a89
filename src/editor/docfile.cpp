#include "docfile.h"

#include "platform/cp1252.h"

#include <QCryptographicHash>
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

QByteArray digestOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256);
}

} // namespace

// A style sheet or script file reads no character references anywhere: a
// "&#8594;" there would stay as these letters.
ReferenceContext referenceContextOf(const QString &path, QStringView text)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == u"css" || text.startsWith(u"@charset"))
        return ReferenceContext::StyleSheet;
    if (suffix == u"js" || suffix == u"mjs" || suffix == u"json")
        return ReferenceContext::Script;
    return ReferenceContext::Page;
}

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
    // read that the bytes read do not show counts as a change on disk.
    DiskState before = stateOf(path);
    const LoadedFile loaded = loadTextFile(path);
    Loaded out;
    out.result = loaded.result;
    if (!loaded.result.ok)
        return out;
    out.text = withEditorBreaks(loaded.decoded.text);
    m_path = QFileInfo(path).absoluteFilePath();
    m_format = loaded.decoded.format;
    // The bytes are those shown: a later touch that leaves them as they
    // are asks nothing.
    before.digest = digestOf(loaded.bytes);
    m_known = before;
    m_offered = DiskState();
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
            written = withCharacterReferences(text, referenceContextOf(path, text));
        }
    }
    const QByteArray bytes = encodeText(withUnambiguousStart(written, format), format);
    const FileResult result = saveFileAtomically(path, bytes);
    if (!result.ok)
        return result;
    m_path = QFileInfo(path).absoluteFilePath();
    m_format = format;
    m_known = stateOf(m_path);
    m_known.digest = digestOf(bytes);
    m_offered = DiskState();
    return result;
}

void DocumentFile::adopt(const QString &path, const TextFormat &format, const QDateTime &diskTime, qint64 diskSize)
{
    m_path = path;
    m_format = format;
    // What the file held when the text was taken is not known: any change
    // of time or size counts.
    m_known = stateOf(path);
    if (diskTime.isValid() && diskSize >= 0) {
        m_known.time = diskTime;
        m_known.size = diskSize;
    }
    m_offered = DiskState();
}

DocumentFile::DiskState DocumentFile::stateOf(const QString &path, bool withDigest)
{
    DiskState state;
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isFile())
        return state;
    state.time = info.lastModified();
    state.size = info.size();
    if (withDigest) {
        const LoadedBytes read = readFileBytes(path, kMaxTextFileBytes);
        if (read.result.ok)
            state.digest = digestOf(read.bytes);
    }
    return state;
}

bool DocumentFile::changedOnDisk() const
{
    if (m_path.isEmpty() || !m_known.time.isValid())
        return false;
    const DiskState now = stateOf(m_path);
    if (!now.time.isValid() || (now.time == m_known.time && now.size == m_known.size))
        return false;
    if (m_known.digest.isEmpty() || now.size != m_known.size)
        return true;
    const LoadedBytes read = readFileBytes(m_path, kMaxTextFileBytes);
    if (!read.result.ok || read.bytes.size() != now.size || digestOf(read.bytes) != m_known.digest)
        return true;
    m_known.time = now.time;
    return false;
}

void DocumentFile::rememberDiskState()
{
    m_known = stateOf(m_path, true);
    m_offered = DiskState();
}

void DocumentFile::markChangeOffered()
{
    m_offered = stateOf(m_path, true);
}

void DocumentFile::declineOfferedChange()
{
    if (!m_offered.time.isValid()) {
        rememberDiskState();
        return;
    }
    m_known = m_offered;
    m_offered = DiskState();
}

bool DocumentFile::changeOffered() const
{
    const DiskState now = stateOf(m_path);
    return m_offered.time.isValid() && now.time == m_offered.time && now.size == m_offered.size;
}
