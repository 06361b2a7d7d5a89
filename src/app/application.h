// The application object: catches what escapes an event handler and shows
// it in the error box, after which the program goes on.
#pragma once

#include <QApplication>

#include <functional>

class QTranslator;

// Runs one delivery; whatever it throws goes to report() instead of ending
// the program.
bool deliverGuarded(const std::function<bool()> &deliver, const std::function<void(const QString &)> &report);

// Loads the toolkit's own translations (buttons, context menus, dialogs)
// for the language of the string library, which also becomes the default
// locale (dates, month names); the translator belongs to app.
// Null when none are installed: the toolkit then speaks English.
QTranslator *installToolkitTranslations(QCoreApplication &app);

// The program's names: the application name and the window title's, and the
// desktop entry its windows belong to (the Wayland app id; under X11 the entry
// finds them by the class "quirtle").
void nameApplication();

class Application : public QApplication
{
    Q_OBJECT

public:
    Application(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Where escaped errors go; the main window installs its error box.
    std::function<void(const QString &)> onException;

private:
    void report(const QString &message);
};
