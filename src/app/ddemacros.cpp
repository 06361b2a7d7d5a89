#include "ddemacros.h"

#include "platform/textfile.h"

#include <QDir>
#include <QFileInfo>

QStringList executeLines(const QByteArray &execute)
{
    const qsizetype nul = execute.indexOf('\0');
    const QString text = decodeBytes(nul < 0 ? QByteArrayView(execute) : QByteArrayView(execute).first(nul)).text;
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines.append(text.mid(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.append(text.mid(start));
    return lines;
}

void runExecuteMacro(const QStringList &lines, const DdeMacroActions &actions)
{
    if (lines.size() < 2)
        return;
    const QString name = lines.first().toLower();
    if (name == u"openfile") {
        for (qsizetype i = 1; i < lines.size(); ++i)
            if (QFileInfo(lines[i]).isFile())
                actions.openFile(lines[i]);
    } else if (name == u"insertstr") {
        QString text;
        for (qsizetype i = 1; i < lines.size(); ++i)
            text += lines[i] + QStringLiteral("\r\n");
        actions.insertText(text);
    } else if (name == u"newfile") {
        actions.newFile();
    }
}

QByteArray openFileExecute(const QStringList &paths, const QString &folder, QStringList *leftOut)
{
    QByteArray execute("openfile\r\n");
    const QString base = QDir(folder).absolutePath();
    for (const QString &path : paths) {
        // Joined by hand: the toolkit takes a name beginning with ":" for an
        // absolute resource path, and it would reach the editor as such.
        const QString absolute = QDir::cleanPath(path.startsWith(u'/') ? path : base + u'/' + path);
        if (absolute.contains(u'\n') || absolute.contains(u'\r')) {
            if (leftOut)
                leftOut->append(absolute);
            continue;
        }
        execute += absolute.toUtf8() + "\r\n";
    }
    return execute;
}
