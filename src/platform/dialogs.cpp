#include "dialogs.h"

#include "qtdialogs.h"

#include <QCoreApplication>
#include <QStringList>

namespace dialogs {

namespace {

std::unique_ptr<Dialogs> &installed()
{
    static std::unique_ptr<Dialogs> instance;
    return instance;
}

} // namespace

Dialogs &current()
{
    if (!installed())
        installed() = std::make_unique<QtDialogs>();
    return *installed();
}

std::unique_ptr<Dialogs> install(std::unique_ptr<Dialogs> dialogs)
{
    std::unique_ptr<Dialogs> previous = std::move(installed());
    installed() = std::move(dialogs);
    return previous;
}

Answer ask(QWidget *parent, Kind kind, const QString &text, Buttons buttons)
{
    return current().message(parent, kind, QCoreApplication::applicationName(), text, buttons);
}

void inform(QWidget *parent, Kind kind, const QString &text)
{
    ask(parent, kind, text, Buttons::Ok);
}

QString toQtFilter(const QString &alternating)
{
    const QStringList parts = alternating.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        filters.append(parts[i] + QStringLiteral(" (") + patterns + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace dialogs
