#include "datalines.h"

#include "platform/textfile.h"

#include <cerrno>

QStringList readDataLines(const QString &path, bool *ok, QString *error, qint64 maxBytes)
{
    const LoadedBytes read = readFileBytes(path, maxBytes);
    if (ok)
        *ok = read.result.ok;
    if (error)
        *error = read.result.error + (read.result.systemError == EFBIG ? u' ' + sizeLimitNote(path) : QString());
    if (!read.result.ok)
        return {};
    // A BOM declares UTF-8: a stray byte of another code page then spoils its
    // own character only, not every umlaut of the file and its first field.
    const bool bom = read.bytes.startsWith("\xEF\xBB\xBF");
    const QString text = bom ? QString::fromUtf8(read.bytes.sliced(3)) : decodeBytes(read.bytes).text;
    QStringList lines = withEditorBreaks(text).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
