#include "app/application.h"
#include "app/cmdline.h"
#include "app/ddeserver.h"
#include "app/mainform.h"
#include "app/singleinstance.h"
#include "app/splash.h"
#include "common/boxnames.h"
#include "docs/browseform.h"
#include "docs/printprevform.h"
#include "platform/cmdchannel.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
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
    nameApplication();
    // The toolkit took its own options out of argv: what is left matches its arguments.
    QList<QByteArray> rawArguments;
    for (int i = 1; i < argc; ++i)
        rawArguments.append(QByteArray(argv[i]));
    const cmdline::StartFiles start = cmdline::startFiles(QApplication::arguments().mid(1), rawArguments);
    const QStringList &files = start.open;

    // A later start shows no window: its files go to the running editor.
    const QString service = instance::serviceName(QApplication::applicationFilePath());
    InstanceClaim claim = claimInstance(service, files);
    if (claim.outcome == InstanceClaim::Outcome::HandedOver) {
        if (!start.unreadable.isEmpty())
            dialogs::inform(nullptr, dialogs::Kind::Error, lex::message(3384) + u'\n' + namesForBox(start.unreadable));
        if (!claim.notHandedOver.isEmpty())
            dialogs::inform(nullptr, dialogs::Kind::Error, lex::message(3122) + u'\n' + namesForBox(claim.notHandedOver));
        return start.unreadable.isEmpty() && claim.notHandedOver.isEmpty() ? 0 : 1;
    }
    if (claim.outcome == InstanceClaim::Outcome::Failed) {
        dialogs::inform(nullptr, dialogs::Kind::Error, lex::message(3110) + u'\n' + claim.error);
        return 1;
    }

    auto splash = std::make_unique<TSplashScreen>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();

    TMainForm mainForm;
    TBrowseForm browseForm(&mainForm);
    TSearchForm searchForm(&mainForm, &mainForm);
    TPrintPrevForm printPrevForm(&mainForm);
    mainForm.setToolWindows(&browseForm, &searchForm, &printPrevForm);
    app.onException = [&mainForm](const QString &message) { mainForm.ShowException(message); };

    CommandChannel channel(service, QString::fromLatin1(ddewire::kTopic));
    new TDdeServerConv(&mainForm, &channel);
    startChannel(channel, claim);

    mainForm.setStartFiles(files, start.unreadable);
    QObject::connect(&mainForm, &TMainForm::splashDone, [&splash] { splash.reset(); });
    mainForm.show();
    return QApplication::exec();
}
