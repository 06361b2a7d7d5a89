#include "app/application.h"
#include "app/cmdline.h"
#include "app/mainform.h"
#include "app/splash.h"
#include "docs/browseform.h"
#include "docs/printprevform.h"
#include "quirtle_version.h"
#include "tools/searchform.h"

#include <cstdio>

// --version and --help answer on the terminal before the toolkit starts,
// so they work without a display.
static bool answeredOnTerminal(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const cmdline::Action action = cmdline::parse(arguments);
    if (action == cmdline::Action::Run)
        return false;
    const QString text = action == cmdline::Action::Version ? cmdline::versionText() + u'\n' : cmdline::helpText();
    std::fputs(text.toLocal8Bit().constData(), stdout);
    return true;
}

int main(int argc, char *argv[])
{
    if (answeredOnTerminal(argc, argv))
        return 0;
    Application app(argc, argv);
    installToolkitTranslations(app);
    auto splash = std::make_unique<TSplashScreen>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    const QString title = QStringLiteral(QUIRTLE_TITLE);
    QApplication::setApplicationName(title);
    QApplication::setApplicationDisplayName(title);

    TMainForm mainForm;
    TBrowseForm browseForm(&mainForm);
    TSearchForm searchForm(&mainForm, &mainForm);
    TPrintPrevForm printPrevForm(&mainForm);
    mainForm.setToolWindows(&browseForm, &searchForm, &printPrevForm);
    app.onException = [&mainForm](const QString &message) { mainForm.ShowException(message); };

    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    mainForm.setStartFiles(cmdline::files(arguments));
    QObject::connect(&mainForm, &TMainForm::splashDone, [&splash] { splash.reset(); });
    mainForm.show();
    return QApplication::exec();
}
