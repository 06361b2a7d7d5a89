// The main window's side of the command channel: acknowledged executes are
// run one after the other on the GUI thread, between user actions.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class CommandChannel;
class TMainForm;

class TDdeServerConv : public QObject
{
    Q_OBJECT

public:
    TDdeServerConv(TMainForm *form, CommandChannel *channel);

    // Queues one execute; it runs once the event loop is free again.
    void Execute(const QByteArray &execute, bool bringForward);
    int pending() const { return int(m_queue.size()); }

private:
    struct Job {
        QByteArray execute;
        bool bringForward = false;
    };
    void runQueue();

    QPointer<TMainForm> m_form;
    QList<Job> m_queue;
    bool m_running = false;
    QTimer m_modalWait;
};
