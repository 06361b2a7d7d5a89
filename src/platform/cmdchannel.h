// The command channel of a running editor: a local socket in the user's
// private runtime folder that takes execute requests (ddewire.h), answers
// each with a status and hands the execute text on. Misbehaving clients
// (junk, silence, oversized requests, floods) are cut off with a status or
// a time-out; the editor never waits for them.
#pragma once

#include "ddewire.h"

#include <QObject>
#include <QString>

#include <functional>
#include <utility>

class QLocalServer;
class QLocalSocket;

class CommandChannel : public QObject
{
    Q_OBJECT

public:
    // service and topic are compared case-insensitively with the request's.
    CommandChannel(const QString &service, const QString &topic, QObject *parent = nullptr);
    ~CommandChannel() override;

    // Listens on the socket file at path, which only this user may open.
    // A socket file left by an earlier run is replaced, so call this only
    // while holding the instance lock. False with the toolkit's (English)
    // reason in *error, for the log only.
    bool listen(const QString &path, QString *error);
    QString socketFile() const;

    // How long a client may take from connecting to its last request byte.
    void setReadTimeout(int milliseconds) { m_readTimeout = milliseconds; }
    // Clients beyond this many at once are answered Busy and closed.
    void setMaxClients(int count) { m_maxClients = count; }
    int clientCount() const { return m_clients; }
    // While busy() holds, complete requests are answered Busy and not run:
    // an editor that is ending would acknowledge commands it never runs.
    void setBusyCheck(std::function<bool()> busy) { m_busy = std::move(busy); }

Q_SIGNALS:
    // One acknowledged execute, after its acknowledgement was sent.
    void executeReceived(const QByteArray &execute, bool bringForward);

private:
    void acceptClients();
    void serve(QLocalSocket *socket);
    void readRequest(QLocalSocket *socket);
    bool finish(QLocalSocket *socket, ddewire::Status status);
    bool knows(const QByteArray &name, const QString &expected) const;

    QLocalServer *m_server = nullptr;
    QString m_service;
    QString m_topic;
    int m_readTimeout = 5000;
    int m_maxClients = 16;
    int m_clients = 0;
    std::function<bool()> m_busy;
};

namespace cmdchannel {

enum class SendStatus {
    Acknowledged,
    NoServer, // no editor offers the service
    UnknownService,
    UnknownTopic,
    TooLarge,
    Refused, // the server could not read the request
    Busy,
    TimedOut,
    Broken, // the connection ended without a reply
};

struct SendResult {
    SendStatus status = SendStatus::Broken;
};

// Sends one request and waits for its reply, blocking the calling thread.
// Connection attempts are repeated until connectWait has passed, for an
// editor that is still starting; the reply may take up to replyWait.
SendResult send(const QString &socketPath, const ddewire::Request &request, int connectWait, int replyWait);

// The reason in German, for a status other than Acknowledged; service and
// topic are named where the reason is about them.
QString describe(const SendResult &result, const QString &service, const QString &topic);

} // namespace cmdchannel
