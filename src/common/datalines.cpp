#include "datalines.h"

#include "platform/textfile.h"

QStringList readDataLines(const QString &path, bool *ok, QString *error)
{
    const LoadedBytes read = readFileBytes(path);
    if (ok)
        *ok = read.result.ok;
    if (error)
        *error = read.result.error;
    if (!read.result.ok)
        return {};
    QStringList lines = withEditorBreaks(decodeBytes(read.bytes).text).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
