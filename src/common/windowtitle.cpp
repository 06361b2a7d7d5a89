#include "windowtitle.h"

QString literalWindowTitle(const QString &text)
{
    return QString(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

QString printablePath(const QString &path)
{
    QString shown = path;
    for (QChar &c : shown) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode()); // the Control Pictures block
        else if (c.unicode() == 0x7f)
            c = QChar(0x2421);
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                 c.category() == QChar::Separator_Paragraph)
            c = QChar::ReplacementCharacter;
    }
    return shown;
}
