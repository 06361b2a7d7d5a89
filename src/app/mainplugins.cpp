// The assistants menu: plug-ins found at start, run on a click.
#include "mainform.h"

#include "app/bannermenu.h"
#include "app/menucaption.h"
#include "app/pluginhost.h"
#include "editor/editwin.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"
#include "platform/programdir.h"
#include "platform/usererror.h"

#include <QDir>
#include <QFileInfo>
#include <QMdiSubWindow>
#include <QMetaObject>
#include <QPointer>

#include <exception>

void TMainForm::LoadPlugIns()
{
    m_plugIns.clear();
    PopupAssist->clear();
    const plugins::Discovery discovery = plugins::discover(plugins::folderOf(programdir::path()));
    for (const plugins::PlugIn &plugIn : discovery.found) {
        m_plugIns.append(plugIn.fileName);
        // An item without a word on it could not be told apart or chosen
        // knowingly; the file is what the user put into the folder.
        const QString caption = plugIn.caption.trimmed().isEmpty() ? plugIn.fileName : plugIn.caption;
        // On one line like a browser's, and its "&" a character, not an accelerator.
        QAction *item = PopupAssist->addAction(menuItemCaption(caption));
        // What a plug-in throws ends in the error box, as for every command.
        connect(item, &QAction::triggered, this, [this, item] {
            try {
                CallAssist(item);
            } catch (const std::exception &e) {
                ShowException(exceptionText(e));
            }
        });
    }
    BtnAssist->setEnabled(!m_plugIns.isEmpty());
    if (!discovery.error.isEmpty()) {
        const QString error = discovery.error;
        QMetaObject::invokeMethod(
            this, [this, error] { ShowException(error); }, Qt::QueuedConnection);
    }
}

void TMainForm::CallAssist(QAction *sender)
{
    const qsizetype index = PopupAssist->actions().indexOf(sender);
    if (index < 0 || index >= m_plugIns.size())
        return;
    const QString library = plugins::folderOf(programdir::path()) + m_plugIns[index];
    TEditForm *doc = activeDocument();
    // A plug-in that shows a dialog lets the editor's events run meanwhile:
    // a file opened from outside may become the active document, or the
    // user may close this one. Its text belongs to the document it was given.
    const QPointer<TEditForm> startedFor(doc);
    const plugins::RunResult result = plugins::run(library, doc != nullptr, doc ? doc->fullPath() : QString(), this);
    if (result.outcome == plugins::Outcome::NotLoaded) {
        // It loaded at start; an item that silently does nothing leaves the
        // user guessing, so the file and the reason are named.
        const QString cause = QFileInfo(library).isFile() ? result.error : lex::message(3381);
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3380) + u'\n' + QDir::toNativeSeparators(library) + u'\n' + cause);
    } else if (result.outcome == plugins::Outcome::NeedsDocument)
        dialogs::inform(this, dialogs::Kind::Error, lex::message(3010));
    else if (result.outcome == plugins::Outcome::TextReturned)
        insertPlugInText(startedFor, result.text);
}

void TMainForm::insertPlugInText(TEditForm *doc, const QString &text)
{
    if (!doc || doc->isBeingDestroyed()) {
        // Said, so that the user does not look for the text in another
        // window; nobody is left to read it while the program shuts down.
        if (!m_terminating)
            dialogs::inform(this, dialogs::Kind::Error, lex::message(3430));
        return;
    }
    // Brought forward, so that the user sees where the text went.
    if (doc != activeDocument())
        bringForward(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
    insertAroundSelectionOf(doc, text, QString());
}
