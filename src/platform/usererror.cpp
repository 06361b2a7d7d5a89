#include "usererror.h"

#include "lexstrings.h"
#include "logging.h"

#include <new>

QString exceptionText(const std::exception &e)
{
    if (const auto *own = dynamic_cast<const UserError *>(&e))
        return own->message();
    qCWarning(lcPlatform) << "exception escaped a command:" << e.what();
    if (dynamic_cast<const std::bad_alloc *>(&e))
        return lex::message(3337);
    return lex::message(3338);
}

QString unknownExceptionText()
{
    qCWarning(lcPlatform) << "an unknown exception escaped a command";
    return lex::message(3338);
}
