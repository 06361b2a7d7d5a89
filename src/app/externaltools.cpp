#include "externaltools.h"

#include "app/logging.h"
#include "app/mainform.h"
#include "app/menucaption.h"
#include "app/splash.h"
#include "editor/editwin.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "settings/settings.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

BrowserEntry readBrowserEntry(int n)
{
    return {settings::browserName(n), programPath(settings::browserPath(n))};
}

QString programPath(const QString &typed)
{
    // Blanks around a pasted path and the quotes a command line needs for
    // blanks inside it are no part of the file name.
    const QString path = typed.trimmed();
    if (path.size() >= 2 && (path.front() == u'"' || path.front() == u'\'') && path.back() == path.front())
        return path.mid(1, path.size() - 2);
    return path;
}

bool browserShown(const BrowserEntry &entry)
{
    return !entry.name.trimmed().isEmpty() && QFileInfo(entry.path).isFile();
}

QString browserCaption(const QString &name)
{
    return menuItemCaption(name);
}

HelpTarget findHelp(const QString &programDir, bool haveCompiledViewer)
{
    const QString compiled = programDir + QStringLiteral("quirtle.chm");
    if (haveCompiledViewer && QFileInfo(compiled).isFile())
        return {HelpTarget::Compiled, compiled};
    const QString pages = programDir + QStringLiteral("help/index.htm");
    if (QFileInfo(pages).isFile())
        return {HelpTarget::Pages, pages};
    return {};
}

QString explorerFolder(const QString &documentFolder)
{
    return documentFolder.isEmpty() ? QDir::currentPath() : documentFolder;
}

QUrl homePage()
{
    return QUrl(QStringLiteral("https://quirtle.example.org/"));
}

namespace {

// The saved file of the active document, or empty when there is none on disk.
QString savedFileOf(const TEditForm *doc)
{
    if (!doc || doc->FileName.isEmpty())
        return QString();
    const QString path = doc->fullPath();
    return QFileInfo(path).isFile() ? path : QString();
}

} // namespace

void TMainForm::LoadBrowserMenu()
{
    QAction *const items[] = {Menu_Browser1, Menu_Browser2};
    for (int n = 1; n <= 2; ++n) {
        QAction *item = items[n - 1];
        BrowserEntry entry;
        try {
            entry = readBrowserEntry(n);
        } catch (const RegistryError &e) {
            qCWarning(lcApp).noquote() << "browser" << n << "unreadable:" << e.message();
        }
        const bool shown = browserShown(entry);
        item->setVisible(shown);
        item->setData(n);
        item->setText(shown ? browserCaption(entry.name) : QString());
        item->setIcon(shown ? shell::current().programIcon(entry.path) : QIcon());
    }
}

void TMainForm::PopBrowser_StandardClick()
{
    const QString file = savedFileOf(activeDocument());
    if (file.isEmpty())
        return;
    if (!shell::current().openDefault(QUrl::fromLocalFile(file)))
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3081) + u'\n' + QDir::toNativeSeparators(file));
}

void TMainForm::Menu_BrowserClick(QAction *sender)
{
    const QString file = savedFileOf(activeDocument());
    if (file.isEmpty())
        return;
    // The path is read again: the program may have gone since the menu was built.
    const BrowserEntry entry = readBrowserEntry(sender->data().toInt());
    if (!QFileInfo(entry.path).isFile())
        return;
    // Started anyway, such a file fails with no cause the user could act on.
    if (!QFileInfo(entry.path).isExecutable()) {
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3367) + u'\n' + QDir::toNativeSeparators(entry.path));
        return;
    }
    if (!shell::current().startProgram(entry.path, {QDir::toNativeSeparators(file)}))
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3080) + u'\n' + QDir::toNativeSeparators(entry.path));
}

void TMainForm::BtnExploreClick()
{
    const TEditForm *doc = activeDocument();
    const QString folder = explorerFolder(doc ? doc->FilePath : QString());
    // The file manager starts for any path and shows nothing for one that is gone.
    if (!QFileInfo(folder).isDir()) {
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3211) + u'\n' + QDir::toNativeSeparators(folder));
        return;
    }
    if (!shell::current().showFolder(folder))
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3082) + u'\n' + QDir::toNativeSeparators(folder));
}

void TMainForm::BtnHelpClick()
{
    shell::Shell &desktop = shell::current();
    const QString viewer = desktop.htmlHelpViewer();
    const HelpTarget help = findHelp(programdir::path(), !viewer.isEmpty());
    bool started = false;
    switch (help.kind) {
    case HelpTarget::None: dialogs::inform(this, dialogs::Kind::Error, lex::message(3011)); return;
    case HelpTarget::Compiled: started = desktop.startProgram(viewer, {QDir::toNativeSeparators(help.file)}); break;
    case HelpTarget::Pages: started = desktop.openDefault(QUrl::fromLocalFile(help.file)); break;
    }
    if (!started)
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3081) + u'\n' + QDir::toNativeSeparators(help.file));
}

void TMainForm::Menu_InfoClick()
{
    showInfoBox(this, homePage());
}
