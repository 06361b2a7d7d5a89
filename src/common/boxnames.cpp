#include "boxnames.h"

#include "platform/lexstrings.h"

QString namesForBox(const QStringList &names, const QString &separator)
{
    if (names.size() <= kMaxNamesInBox)
        return names.join(separator);
    return names.mid(0, kMaxNamesInBox - 1).join(separator) + separator + lex::message(3410) + u' ' +
           QString::number(names.size() - (kMaxNamesInBox - 1));
}
