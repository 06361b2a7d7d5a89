#include "cmdline.h"

#include "platform/lexstrings.h"
#include "quirtle_version.h"

namespace cmdline {

Action parse(const QStringList &arguments)
{
    for (const QString &arg : arguments) {
        if (arg == u"--")
            break;
        if (arg == u"--version")
            return Action::Version;
        if (arg == u"--help" || arg == u"-h")
            return Action::Help;
    }
    return Action::Run;
}

QStringList files(const QStringList &arguments)
{
    QStringList result = arguments;
    result.removeOne(QStringLiteral("--"));
    return result;
}

QString versionText()
{
    return QStringLiteral(QUIRTLE_NAME " " QUIRTLE_VERSION);
}

QString helpText()
{
    return lex::message(3140);
}

} // namespace cmdline
