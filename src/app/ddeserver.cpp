#include "ddeserver.h"

#include "app/ddemacros.h"
#include "app/logging.h"
#include "app/mainform.h"
#include "platform/cmdchannel.h"

#include <QApplication>

#include <exception>
#include <utility>

TDdeServerConv::TDdeServerConv(TMainForm *form, CommandChannel *channel) : QObject(form), m_form(form)
{
    m_modalWait.setSingleShot(true);
    m_modalWait.setInterval(100);
    connect(&m_modalWait, &QTimer::timeout, this, &TDdeServerConv::runQueue);
    if (!channel)
        return;
    connect(channel, &CommandChannel::executeReceived, this, &TDdeServerConv::Execute);
    // The sender of a refused command can try again, and a second start
    // becomes the editor once this one has ended.
    channel->setBusyCheck([form = m_form] { return !form || form->isClosing(); });
}

void TDdeServerConv::Execute(const QByteArray &execute, bool bringForward)
{
    m_queue.append({execute, bringForward});
    QMetaObject::invokeMethod(this, &TDdeServerConv::runQueue, Qt::QueuedConnection);
}

// A macro may run a modal window (the wizard, an error box) whose event loop
// delivers further executes; they wait here until the running one is done,
// so that macros never interleave. A modal window the user has open is a
// user action in progress: the new-document wizard, for one, replaces the
// text of its document when it closes, so an insert made meanwhile would be
// lost. Commands wait until no modal window is open.
void TDdeServerConv::runQueue()
{
    if (m_running)
        return;
    m_running = true;
    while (!m_queue.isEmpty() && m_form) {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            // A second start still finds the window, with its open dialog on top.
            bool forward = false;
            for (Job &waiting : m_queue)
                forward = std::exchange(waiting.bringForward, false) || forward;
            if (forward) {
                m_form->BringToFront();
                modal->raise();
                modal->activateWindow();
            }
            m_modalWait.start();
            break;
        }
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
