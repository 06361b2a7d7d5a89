#include "shorttext.h"

namespace shorttext {

QString cut(const QString &text, qsizetype keep)
{
    if (keep < 0 || text.size() <= keep)
        return text;
    if (keep > 0 && text[keep - 1].isHighSurrogate() && text[keep].isLowSurrogate())
        --keep;
    return text.left(keep) + QChar(0x2026);
}

QString oneLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    for (const QChar breakChar : {QChar(u'\r'), QChar(u'\n'), QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator)})
        text.replace(breakChar, u' ');
    return text;
}

} // namespace shorttext
