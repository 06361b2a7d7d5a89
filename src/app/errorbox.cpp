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
