#include "windowtitle.h"

QString literalWindowTitle(const QString &text)
{
    return QString(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}
