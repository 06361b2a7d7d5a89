#include "application.h"

#include "app/errorbox.h"
#include "platform/lexstrings.h"
#include "platform/usererror.h"
#include "quirtle_version.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <exception>
#include <memory>

Application::Application(int &argc, char **argv) : QApplication(argc, argv) {}

void nameApplication()
{
    const QString title = QStringLiteral(QUIRTLE_TITLE);
    QApplication::setApplicationName(title);
    QApplication::setApplicationDisplayName(title);
    QGuiApplication::setDesktopFileName(QStringLiteral(QUIRTLE_APP_ID));
}

QTranslator *installToolkitTranslations(QCoreApplication &app)
{
    auto translator = std::make_unique<QTranslator>(&app);
    const QLocale language(lex::language());
    // Dates and numbers the toolkit writes (file dialogs, the Info page)
    // follow the texts too, not the system's language.
    QLocale::setDefault(language);
    if (!translator->load(language, QStringLiteral("qtbase"), QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        return nullptr;
    app.installTranslator(translator.get());
    return translator.release();
}

bool deliverGuarded(const std::function<bool()> &deliver, const std::function<void(const QString &)> &report)
{
    try {
        return deliver();
    } catch (const std::exception &e) {
        report(exceptionText(e));
    } catch (...) {
        report(unknownExceptionText());
    }
    return false;
}

bool Application::notify(QObject *receiver, QEvent *event)
{
    return deliverGuarded([&] { return QApplication::notify(receiver, event); }, [this](const QString &m) { report(m); });
}

void Application::report(const QString &message)
{
    if (onException)
        onException(message);
    else
        showErrorBox(activeWindow(), message);
}
