#include "tagcodes.h"

#include "common/mvcodec.h"

#include <QTextDocument>

QList<TagButtonDef> parseTagCodes(const QStringList &lines, const TMvCodeStringList &codec)
{
    QList<TagButtonDef> buttons;
    for (const QString &line : lines) {
        QStringList fields;
        if (!codec.decode(line, fields) || fields.size() < 4)
            continue;
        TagButtonDef def{fields[0], fields[1], fields[2], fields[3], QString()};
        for (qsizetype i = 4; i < fields.size(); ++i)
            def.hint += (i > 4 ? QStringLiteral("\r\n") : QString()) + fields[i];
        buttons.append(def);
    }
    return buttons;
}

QString hintToolTip(const QString &hint)
{
    if (!Qt::mightBeRichText(hint))
        return hint;
    QString lines = hint.toHtmlEscaped();
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("<br>"));
    return QStringLiteral("<p style=\"white-space:pre\">") + lines + QStringLiteral("</p>");
}

QString cutCaptionToolTip(const QString &caption, const QString &hint)
{
    return hintToolTip(hint.isEmpty() ? caption : caption + QStringLiteral("\r\n") + hint);
}

bool samePageName(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    auto fold = [](QChar c) { return c >= u'A' && c <= u'Z' ? QChar(c.unicode() + 32) : c; };
    for (qsizetype i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i]))
            return false;
    return true;
}
