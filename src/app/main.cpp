#include "app/application.h"
#include "app/mainform.h"
#include "app/splash.h"
#include "docs/browseform.h"
#include "docs/printprevform.h"
#include "quirtle_version.h"
#include "tools/searchform.h"

int main(int argc, char *argv[])
{
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

    QStringList files = QApplication::arguments();
    files.removeFirst();
    mainForm.setStartFiles(files);
    QObject::connect(&mainForm, &TMainForm::splashDone, [&splash] { splash.reset(); });
    mainForm.show();
    return QApplication::exec();
}
