#include "errorbox.h"

#include "platform/dialogs.h"
#include "platform/lexstrings.h"

QString errorBoxText(const QString &errorMessage)
{
    return lex::message(3012) + u'\n' + errorMessage + QStringLiteral("\n\n") + lex::message(3013);
}

void showErrorBox(QWidget *parent, const QString &errorMessage)
{
    dialogs::inform(parent, dialogs::Kind::Error, errorBoxText(errorMessage));
}

QString namesForBox(const QStringList &names, const QString &separator)
{
    if (names.size() <= kMaxNamesInBox)
        return names.join(separator);
    return names.mid(0, kMaxNamesInBox - 1).join(separator) + separator + lex::message(3410) + u' ' +
           QString::number(names.size() - (kMaxNamesInBox - 1));
}
