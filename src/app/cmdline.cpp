#include "cmdline.h"

#include "platform/filenames.h"
#include "platform/lexstrings.h"
#include "quirtle_version.h"

#include <QFile>

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
    return startFiles(arguments, {}).open;
}

StartFiles startFiles(const QStringList &arguments, const QList<QByteArray> &raw)
{
    StartFiles result;
    bool separated = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        if (!separated && arguments[i] == u"--") {
            separated = true;
            continue;
        }
        // Bytes that do not belong to the argument (the toolkit took some
        // out) say nothing about it.
        const bool matched = i < raw.size() && QFile::decodeName(raw[i]) == arguments[i];
        if (matched && !filenames::reachable(raw[i]))
            result.unreadable.append(filenames::shown(raw[i]));
        else
            result.open.append(arguments[i]);
    }
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
