#include "templates.h"

#include "common/datalines.h"
#include "common/mvcodec.h"
#include "platform/lexstrings.h"
#include "platform/textfile.h"

#include <QFileInfo>

#include <algorithm>

TemplateList parseTemplates(const QStringList &fileLines)
{
    TemplateList list;
    for (const QString &line : fileLines) {
        const QStringList fields = decodeFields(line);
        if (fields.size() < 2)
            continue;
        list.entries.append(line);
        list.names.append(fields.first());
    }
    return list;
}

TemplateFile loadTemplateFile(const QString &path)
{
    TemplateFile file;
    if (!QFileInfo::exists(path)) {
        file.state = TemplateFileState::Missing;
        return file;
    }
    bool ok = false;
    // A list of pages is small: a file beyond the documents' limit would keep
    // the chooser reading and listing for minutes.
    const QStringList lines = readDataLines(path, &ok, &file.error, kMaxTextFileBytes);
    if (!ok) {
        file.state = TemplateFileState::Unreadable;
        return file;
    }
    // A picture or a program in the file's place: its bytes are no pages,
    // and NULs taken into a new document would be saved with it.
    if (std::any_of(lines.cbegin(), lines.cend(), [](const QString &line) { return line.contains(QChar(0)); })) {
        file.state = TemplateFileState::Unreadable;
        file.error = lex::message(3460);
        return file;
    }
    file.state = TemplateFileState::Loaded;
    file.templates = parseTemplates(lines);
    return file;
}

QStringList templateLines(const QString &entry)
{
    QStringList fields = decodeFields(entry);
    if (!fields.isEmpty())
        fields.removeFirst();
    return fields;
}

TitleRange findTitleRange(const QString &text)
{
    static const QLatin1String open("<title>");
    static const QLatin1String close("</title>");
    TitleRange range;
    const qsizetype at = text.indexOf(open, 0, Qt::CaseInsensitive);
    if (at < 0)
        return range;
    range.start = at + open.size();
    // The closing tag is looked for after the opening one: one standing
    // before it ("</title><title>") would give a range of negative length.
    const qsizetype end = text.indexOf(close, range.start, Qt::CaseInsensitive);
    if (end < 0) {
        range.kind = TitleRange::Unclosed;
        return range;
    }
    range.kind = TitleRange::Closed;
    range.length = end - range.start;
    return range;
}

QString withTitle(const QString &text, const QString &title)
{
    const TitleRange range = findTitleRange(text);
    if (range.kind != TitleRange::Closed)
        return text;
    return QString(text).replace(range.start, range.length, title);
}
