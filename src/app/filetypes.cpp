#include "filetypes.h"

#include "platform/lexstrings.h"
#include "platform/profile.h"

#include <QFileInfo>
#include <QStringList>

FileTypes builtinFileTypes()
{
    // The names are the user's to read, so they come from the texts.
    const QString filter = lex::message(3339);
    return {filter, filter, QString()};
}

QString filterText(const QStringList &lines)
{
    QString text;
    for (const QString &line : lines)
        text += line + u'\n';
    text.replace(u'\n', u'|');
    text.replace(u'=', u'|');
    return text;
}

namespace {

QStringList sectionLines(const ProfileFile &file, const QString &section)
{
    QStringList lines;
    for (const ProfileEntry &e : file.section(section))
        if (e.hasValue && !e.value.isEmpty())
            lines.append(e.key + u'=' + e.value);
    return lines;
}

} // namespace

FileTypes loadFileTypes(const QString &path)
{
    FileTypes types = builtinFileTypes();
    ProfileFile file;
    if (!QFileInfo(path).isFile() || !file.load(path))
        return types;
    types.openFilter = filterText(sectionLines(file, QStringLiteral("OpenFilters")));
    types.saveFilter = filterText(sectionLines(file, QStringLiteral("SaveFilters")));
    if (!file.hasKey(QStringLiteral("Extensions"), QStringLiteral("Ext"))) {
        types.extensionList = QStringLiteral("*.html;*.htm");
        return types;
    }
    // Blanks around a pattern ("*.html; *.htm") are no part of it; kept, a
    // save would be named "page .htm" and a drop would open nothing.
    QStringList patterns = file.value(QStringLiteral("Extensions"), QStringLiteral("Ext")).split(u';');
    for (QString &pattern : patterns)
        pattern = pattern.trimmed();
    types.extensionList = patterns.join(u';');
    return types;
}
