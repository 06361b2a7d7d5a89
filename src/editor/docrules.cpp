#include "docrules.h"

#include "common/urlref.h"
#include "platform/profile.h"

#include <QDir>
#include <QFileInfo>

QString applyExtensionRule(const QString &chosenPath, const QString &extensionList, int typeIndex)
{
    QString list = extensionList;
    list.remove(u'*');
    QStringList entries = list.split(u';');
    if (list.endsWith(u';'))
        entries.removeLast();
    if (typeIndex < 0 || typeIndex >= entries.size() || entries[typeIndex].isEmpty())
        return chosenPath;
    const QFileInfo info(chosenPath);
    const qsizetype dot = info.fileName().lastIndexOf(u'.');
    if (dot <= 0)
        return chosenPath; // a name without an extension stays as it is
    const QString extension = info.fileName().mid(dot).toLower();
    if (!entries[typeIndex].contains(extension))
        return chosenPath;
    return chosenPath.left(chosenPath.size() - extension.size()) + entries[typeIndex];
}

QString dropLinksText(const QStringList &paths, const QString &documentFolder)
{
    QString text;
    for (auto it = paths.crbegin(); it != paths.crend(); ++it) {
        QString name =
            !documentFolder.isEmpty() && it->startsWith(documentFolder) ? it->mid(documentFolder.size()) : QFileInfo(*it).fileName();
        // Only a Windows path has backslashes between its folders; elsewhere
        // one is part of a name and escaped below.
        name = QDir::fromNativeSeparators(name);
        // Characters that would cut the reference short, then those that
        // would end or break the attribute value.
        name = urlReference(name).replace(u'&', QStringLiteral("&amp;"));
        text += QStringLiteral("<a href=\"") + name + QStringLiteral("\" target=\"\"></a>\r\n");
    }
    return text;
}

Qt::DropAction droppedFilesAction(Qt::DropActions offered)
{
    if (offered.testFlag(Qt::CopyAction))
        return Qt::CopyAction;
    return offered.testFlag(Qt::LinkAction) ? Qt::LinkAction : Qt::IgnoreAction;
}

QString caretPositionText(const QString &caption, int caretLine, int lineCount)
{
    return caption + u' ' + QString::number(caretLine + 1) + u'/' + QString::number(lineCount);
}

namespace {

QString normalisedForTags(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\r' || c == u'\n')
            continue;
        if (c == u' ' && out.endsWith(u' '))
            continue;
        out += c;
    }
    return out;
}

// The ">" that ends the tag whose text begins at `from`: one inside a quoted
// value ("-> weiter", "a>b") does not. A value whose quote is still open at
// the next "<" or the end of the text was never closed; then the first ">"
// ends the tag, so that one stray quote does not swallow the tags after it.
qsizetype tagEnd(const QString &text, qsizetype from)
{
    QChar previous; // the last character outside values that is not a blank
    for (qsizetype i = from; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'>')
            return i;
        if ((c == u'"' || c == u'\'') && previous == u'=') {
            // Each stretch between two quotes is looked at once: the search
            // stays linear however many tags the text has.
            const qsizetype quote = text.indexOf(c, i + 1);
            if (quote < 0 || QStringView(text).sliced(i + 1, quote - i - 1).contains(u'<'))
                return text.indexOf(u'>', from);
            i = quote;
            previous = c;
            continue;
        }
        if (c != u' ')
            previous = c;
    }
    return -1;
}

} // namespace

QStringList FindResourceTags(const QString &text, const QString &opener)
{
    QStringList tags;
    const QString normal = normalisedForTags(text);
    QString lower = normal;
    for (QChar &c : lower)
        c = c.toLower(); // one for one, so positions stay those of the text
    const QString needle = opener + u' ';
    qsizetype from = 0;
    while (true) {
        const qsizetype hit = lower.indexOf(needle, from);
        if (hit < 0)
            break;
        const qsizetype rest = hit + 1; // the text after the match's first character
        const qsizetype close = tagEnd(normal, rest);
        if (close < 0)
            break;
        tags.append(u'<' + normal.mid(rest, close - rest + 1));
        from = close + 1;
    }
    return tags;
}

QList<ResourceKind> readResourceKinds(const QString &path, bool *exists)
{
    ProfileFile file;
    const bool found = QFileInfo(path).isFile() && file.load(path);
    if (exists)
        *exists = found;
    QList<ResourceKind> kinds;
    qsizetype nameBytes = 0;
    for (const ProfileEntry &e : file.section(QStringLiteral("resources"))) {
        nameBytes += e.key.size() + 1;
        if (nameBytes > 8192)
            break;
        kinds.append({e.key, e.hasValue ? e.value.left(1023) : u'<' + e.key});
    }
    return kinds;
}
