#include "cmdchannel.h"

#include "lexstrings.h"
#include "logging.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <QVariant>

namespace {

const char kBufferProperty[] = "quirtleRequest";

} // namespace

CommandChannel::CommandChannel(const QString &service, const QString &topic, QObject *parent)
    : QObject(parent), m_service(service), m_topic(topic)
{}

CommandChannel::~CommandChannel()
{
    if (m_server)
        m_server->close();
}

bool CommandChannel::listen(const QString &path, QString *error)
{
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(path);
    if (!m_server->listen(path)) {
        if (error)
            *error = m_server->errorString();
        delete m_server;
        m_server = nullptr;
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &CommandChannel::acceptClients);
    return true;
}

QString CommandChannel::socketFile() const
{
    return m_server ? m_server->fullServerName() : QString();
}

void CommandChannel::acceptClients()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (m_clients >= m_maxClients) {
            socket->write(ddewire::encodeReply(ddewire::Status::Busy));
            socket->disconnectFromServer();
            continue;
        }
        serve(socket);
    }
}

void CommandChannel::serve(QLocalSocket *socket)
{
    ++m_clients;
    connect(socket, &QObject::destroyed, this, [this] { --m_clients; });
    // A client that connects and then dribbles or says nothing is cut off.
    auto *timer = new QTimer(socket);
    timer->setSingleShot(true);
    connect(timer, &QTimer::timeout, socket, [socket] { socket->abort(); });
    timer->start(m_readTimeout);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
    readRequest(socket);
}

void CommandChannel::readRequest(QLocalSocket *socket)
{
    // Taken out of the property first, so that appending does not copy.
    QByteArray buffer = socket->property(kBufferProperty).toByteArray();
    socket->setProperty(kBufferProperty, QVariant());
    buffer += socket->readAll();
    const ddewire::Parsed parsed = ddewire::parseRequest(buffer);
    switch (parsed.state) {
    case ddewire::Parsed::State::NeedMore: socket->setProperty(kBufferProperty, buffer); return;
    case ddewire::Parsed::State::Invalid: finish(socket, parsed.error); return;
    case ddewire::Parsed::State::Complete: break;
    }
    const ddewire::Request &request = parsed.request;
    if (!knows(request.service, m_service)) {
        finish(socket, ddewire::Status::UnknownService);
        return;
    }
    if (!knows(request.topic, m_topic)) {
        finish(socket, ddewire::Status::UnknownTopic);
        return;
    }
    if (m_busy && m_busy()) {
        finish(socket, ddewire::Status::Busy);
        return;
    }
    // A client that gave up waiting (the editor was busy) has told its user
    // the command failed; it is not run behind their back.
    if (!finish(socket, ddewire::Status::Ack))
        return;
    Q_EMIT executeReceived(request.execute, (request.flags & ddewire::BringForward) != 0);
}

// Replies once and closes; whatever the client sends afterwards is dropped.
// False when the reply could not be handed to a client still connected.
bool CommandChannel::finish(QLocalSocket *socket, ddewire::Status status)
{
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    socket->write(ddewire::encodeReply(status));
    const bool delivered = socket->flush() && socket->state() == QLocalSocket::ConnectedState;
    socket->disconnectFromServer();
    return delivered;
}

bool CommandChannel::knows(const QByteArray &name, const QString &expected) const
{
    return QString::fromUtf8(name).compare(expected, Qt::CaseInsensitive) == 0;
}

namespace cmdchannel {

namespace {

SendStatus fromReply(ddewire::Status status)
{
    switch (status) {
    case ddewire::Status::Ack: return SendStatus::Acknowledged;
    case ddewire::Status::UnknownService: return SendStatus::UnknownService;
    case ddewire::Status::UnknownTopic: return SendStatus::UnknownTopic;
    case ddewire::Status::TooLarge: return SendStatus::TooLarge;
    case ddewire::Status::Busy: return SendStatus::Busy;
    case ddewire::Status::Malformed: break;
    }
    return SendStatus::Refused;
}

bool connectWithin(QLocalSocket &socket, const QString &path, QDeadlineTimer deadline)
{
    for (;;) {
        socket.connectToServer(path);
        // One attempt may wait for a server whose backlog is full; the
        // deadline only decides whether an absent server is tried again.
        if (socket.waitForConnected(2000))
            return true;
        const auto error = socket.error();
        socket.abort();
        // Not there yet, or a socket file without a server behind it.
        const bool absent = error == QLocalSocket::ServerNotFoundError || error == QLocalSocket::ConnectionRefusedError;
        if (!absent || deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
}

} // namespace

SendResult send(const QString &socketPath, const ddewire::Request &request, int connectWait, int replyWait)
{
    const QByteArray frame = ddewire::encodeRequest(request);
    if (frame.isEmpty())
        return {request.execute.size() > ddewire::kMaxExecute ? SendStatus::TooLarge : SendStatus::Refused};
    QLocalSocket socket;
    if (!connectWithin(socket, socketPath, QDeadlineTimer(connectWait)))
        return {SendStatus::NoServer};
    const QDeadlineTimer deadline(replyWait);
    socket.write(frame);
    QByteArray reply;
    ddewire::Status status{};
    // The server may answer (and close) before the whole frame is written,
    // when it refuses the request from its header.
    while (!ddewire::parseReply(reply, &status)) {
        if (reply.size() >= ddewire::kReplySize)
            return {SendStatus::Refused};
        const int wait = int(qMax<qint64>(1, deadline.remainingTime()));
        const bool writing = socket.bytesToWrite() > 0 && socket.state() == QLocalSocket::ConnectedState;
        const bool progressed = writing ? socket.waitForBytesWritten(wait) : socket.waitForReadyRead(wait);
        reply += socket.read(ddewire::kReplySize - reply.size());
        if (progressed || ddewire::parseReply(reply, &status))
            continue;
        if (socket.error() == QLocalSocket::SocketTimeoutError || deadline.hasExpired())
            return {SendStatus::TimedOut};
        if (socket.bytesAvailable() > 0)
            continue;
        // The socket's own words are English: they go to the log only.
        qCWarning(lcPlatform) << "command channel broken:" << socket.error() << socket.errorString();
        return {SendStatus::Broken};
    }
    return {fromReply(status)};
}

QString describe(const SendResult &result, const QString &service, const QString &topic)
{
    switch (result.status) {
    case SendStatus::Acknowledged: return {};
    case SendStatus::NoServer:
    case SendStatus::UnknownService: return lex::message(3111) + u' ' + service;
    case SendStatus::UnknownTopic: return lex::message(3112) + u' ' + topic;
    case SendStatus::TooLarge: return lex::message(3113);
    case SendStatus::Refused: return lex::message(3115);
    case SendStatus::Busy: return lex::message(3530);
    case SendStatus::TimedOut: return lex::message(3114);
    case SendStatus::Broken: break;
    }
    return lex::message(3116);
}

} // namespace cmdchannel
