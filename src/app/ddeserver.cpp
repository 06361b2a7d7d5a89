#include "ddeserver.h"

#include "app/ddemacros.h"
#include "app/logging.h"
#include "app/mainform.h"
#include "platform/cmdchannel.h"

#include <exception>

TDdeServerConv::TDdeServerConv(TMainForm *form, CommandChannel *channel) : QObject(form), m_form(form)
{
    if (channel)
        connect(channel, &CommandChannel::executeReceived, this, &TDdeServerConv::Execute);
}

void TDdeServerConv::Execute(const QByteArray &execute, bool bringForward)
{
    m_queue.append({execute, bringForward});
    QMetaObject::invokeMethod(this, &TDdeServerConv::runQueue, Qt::QueuedConnection);
}

// A macro may run a modal window (the wizard, an error box) whose event loop
// delivers further executes; they wait here until the running one is done,
// so that macros never interleave.
void TDdeServerConv::runQueue()
{
    if (m_running)
        return;
    m_running = true;
    while (!m_queue.isEmpty() && m_form) {
        const Job job = m_queue.takeFirst();
        try {
            m_form->DdeServerExecuteMacro(executeLines(job.execute));
        } catch (const std::exception &e) {
            // Commands from outside tell no one of their failure.
            qCWarning(lcApp) << "command channel macro failed:" << e.what();
        }
        if (job.bringForward && m_form)
            m_form->BringToFront();
    }
    m_running = false;
}

void TMainForm::DdeServerExecuteMacro(const QStringList &lines)
{
    DdeMacroActions actions;
    actions.openFile = [this](const QString &path) { OpenDocument(path, false, 0); };
    actions.insertText = [this](const QString &text) { InsertAroundSelection(text, QString()); };
    // The toolbar's New command, so that "newfile" runs whatever it runs.
    actions.newFile = [this] { BtnNewClick(); };
    runExecuteMacro(lines, actions);
}

void TMainForm::BringToFront()
{
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    show();
    raise();
    activateWindow();
}
