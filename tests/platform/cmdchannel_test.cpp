// The command channel: frames, the instance lock, the private folder and a
// server that refuses or times out whatever misbehaves.
#include "platform/cmdchannel.h"
#include "platform/ddewire.h"
#include "platform/instancelock.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <future>

#include <sys/stat.h>

using ddewire::Parsed;
using ddewire::Status;

namespace {

ddewire::Request sample()
{
    return {"quirtle", "DdeServer", "openfile\r\n/tmp/a.htm", ddewire::BringForward};
}

// Waits with a running event loop, as the editor's server needs one.
template <typename Condition> bool spinUntil(Condition done, int ms = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    return done();
}

// A raw client that sends bytes and collects what the server says.
struct RawClient {
    QLocalSocket socket;
    QByteArray reply;
    bool closed = false;

    explicit RawClient(const QString &path)
    {
        QObject::connect(&socket, &QLocalSocket::readyRead, [this] { reply += socket.readAll(); });
        QObject::connect(&socket, &QLocalSocket::disconnected, [this] { closed = true; });
        socket.connectToServer(path);
        socket.waitForConnected(2000);
    }
    std::optional<Status> status() const
    {
        Status s{};
        return ddewire::parseReply(reply, &s) ? std::optional<Status>(s) : std::nullopt;
    }
};

class Channel : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("quirtle.dde"));
    CommandChannel channel{QStringLiteral("quirtle"), QStringLiteral("DdeServer")};
    QSignalSpy received{&channel, &CommandChannel::executeReceived};

    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(channel.listen(path, &error)) << error.toStdString();
    }
    std::optional<Status> exchange(const QByteArray &bytes)
    {
        RawClient client(path);
        client.socket.write(bytes);
        spinUntil([&] { return client.closed; });
        return client.status();
    }
};

} // namespace

TEST(DdeWire, EveryPrefixOfAFrameWaitsForMoreAndTheWholeFrameReadsBack)
{
    const QByteArray frame = ddewire::encodeRequest(sample()) + "trailing";
    const qsizetype length = frame.size() - 8;
    for (qsizetype n = 0; n < length; ++n)
        ASSERT_EQ(ddewire::parseRequest(QByteArrayView(frame).first(n)).state, Parsed::State::NeedMore) << n;
    const Parsed p = ddewire::parseRequest(frame);
    ASSERT_EQ(p.state, Parsed::State::Complete);
    EXPECT_EQ(p.consumed, length);
    EXPECT_EQ(p.request, sample());
}

TEST(DdeWire, BadHeadersAreRefusedBeforeTheirBodyArrives)
{
    QByteArray frame = ddewire::encodeRequest(sample());
    EXPECT_EQ(ddewire::parseRequest("X").state, Parsed::State::Invalid) << "junk is told at its first byte";
    EXPECT_EQ(ddewire::parseRequest("QDDE\x02").state, Parsed::State::Invalid) << "unknown version";
    EXPECT_EQ(ddewire::parseRequest(QByteArray("QDDE\x01\x80", 6)).state, Parsed::State::Invalid) << "unknown flag";

    QByteArray huge = frame.first(ddewire::kHeaderSize);
    huge[10] = 0, huge[11] = 0x10, huge[12] = 0, huge[13] = 1; // 1 MiB + 1
    const Parsed tooLarge = ddewire::parseRequest(huge);
    EXPECT_EQ(tooLarge.state, Parsed::State::Invalid);
    EXPECT_EQ(tooLarge.error, Status::TooLarge);
    huge[11] = 0x10, huge[13] = 0; // exactly 1 MiB is allowed
    EXPECT_EQ(ddewire::parseRequest(huge).state, Parsed::State::NeedMore);

    QByteArray longName = frame.first(ddewire::kHeaderSize);
    longName[6] = 1, longName[7] = 0; // service of 256 bytes
    EXPECT_EQ(ddewire::parseRequest(longName).error, Status::Malformed);

    EXPECT_TRUE(ddewire::encodeRequest({"q", "t", QByteArray(ddewire::kMaxExecute + 1, 'x'), 0}).isEmpty());
    Status s{};
    EXPECT_FALSE(ddewire::parseReply("QDDR", &s));
    EXPECT_FALSE(ddewire::parseReply("QDDR\x09", &s));
    EXPECT_TRUE(ddewire::parseReply(ddewire::encodeReply(Status::UnknownTopic), &s));
    EXPECT_EQ(s, Status::UnknownTopic);
}

TEST(InstanceFolder, ServiceNamesEndAtTheFirstDot)
{
    EXPECT_EQ(instance::serviceName(QStringLiteral("/usr/lib/quirtle/quirtle")), QStringLiteral("quirtle"));
    EXPECT_EQ(instance::serviceName(QStringLiteral("QUIRTLE.EXE")), QStringLiteral("QUIRTLE"));
    EXPECT_EQ(instance::serviceName(QStringLiteral("quirtle.bin.old")), QStringLiteral("quirtle"));
    EXPECT_EQ(instance::serviceName(QStringLiteral("/opt/.hidden")), QString());
    EXPECT_EQ(instance::socketPath(QStringLiteral("/r"), QStringLiteral("Quirtle")), QStringLiteral("/r/quirtle.dde"));
}

TEST(InstanceFolder, OnlyAPrivateRuntimeFolderOfThisUserIsUsed)
{
    QTemporaryDir runtime;
    const QByteArray previous = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    ASSERT_EQ(::chmod(QFile::encodeName(runtime.path()).constData(), 0700), 0);
    QString error;
    EXPECT_EQ(instance::runtimeFolder(&error), runtime.path());

    // Open to the group: others could reach the socket, so it is not used.
    ASSERT_EQ(::chmod(QFile::encodeName(runtime.path()).constData(), 0750), 0);
    const QString fallback = instance::runtimeFolder(&error);
    EXPECT_NE(fallback, runtime.path());
    if (!fallback.isEmpty()) {
        struct stat info {
        };
        ASSERT_EQ(::lstat(QFile::encodeName(fallback).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u);
        EXPECT_EQ(info.st_uid, ::geteuid());
    } else {
        EXPECT_FALSE(error.isEmpty());
    }
    qputenv("XDG_RUNTIME_DIR", previous);
}

TEST(InstanceLockTest, ALiveHolderKeepsTheLockHoweverOldItIs)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quirtle.lock"));
    instance::InstanceLock first(path);
    ASSERT_EQ(first.tryLock(), instance::InstanceLock::Result::Acquired);

    // An editor that has run for an hour is still the first instance.
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime));
    file.close();
    instance::InstanceLock second(path);
    EXPECT_EQ(second.tryLock(), instance::InstanceLock::Result::HeldByOther);
    EXPECT_FALSE(second.isLocked());
}

TEST(InstanceLockTest, TheLockOfAnEndedProcessIsTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("quirtle.lock"));
    QByteArray contents;
    {
        instance::InstanceLock probe(path);
        ASSERT_EQ(probe.tryLock(), instance::InstanceLock::Result::Acquired);
        contents = readAll(path);
    }
    // The same lock, written by a process that has ended since.
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForFinished(10000));
    const qint64 deadPid = ended.processId() > 0 ? ended.processId() : 0;
    QByteArray stale = contents;
    stale.replace(0, stale.indexOf('\n'), QByteArray::number(deadPid > 0 ? deadPid : 999999));
    writeAll(path, stale);

    instance::InstanceLock next(path);
    EXPECT_EQ(next.tryLock(), instance::InstanceLock::Result::Acquired);
}

TEST_F(Channel, AnExecuteIsAcknowledgedWithServiceAndTopicInAnyCase)
{
    EXPECT_EQ(exchange(ddewire::encodeRequest({"QUIRTLE", "ddeserver", "newfile\r\nx", 0})), Status::Ack);
    ASSERT_EQ(received.count(), 1);
    EXPECT_EQ(received[0][0].toByteArray(), QByteArray("newfile\r\nx"));
    EXPECT_FALSE(received[0][1].toBool());

    EXPECT_EQ(exchange(ddewire::encodeRequest(sample())), Status::Ack);
    ASSERT_EQ(received.count(), 2);
    EXPECT_TRUE(received[1][1].toBool()) << "bring forward";
}

TEST_F(Channel, UnknownNamesJunkAndOversizeAreRefusedWithoutAnExecute)
{
    EXPECT_EQ(exchange(ddewire::encodeRequest({"other", "DdeServer", "x", 0})), Status::UnknownService);
    EXPECT_EQ(exchange(ddewire::encodeRequest({"quirtle", "System", "x", 0})), Status::UnknownTopic);
    EXPECT_EQ(exchange(QByteArray("\x00\xff\x13 binary junk", 16)), Status::Malformed);
    QByteArray huge = ddewire::encodeRequest({"quirtle", "DdeServer", "", 0});
    huge[10] = 0x7f; // announces 2 GiB and sends none of it
    EXPECT_EQ(exchange(huge), Status::TooLarge);
    EXPECT_EQ(received.count(), 0);
}

TEST_F(Channel, TheLargestExecuteGetsThrough)
{
    const QByteArray big(ddewire::kMaxExecute, 'a');
    EXPECT_EQ(exchange(ddewire::encodeRequest({"quirtle", "DdeServer", big, 0})), Status::Ack);
    ASSERT_EQ(received.count(), 1);
    EXPECT_EQ(received[0][0].toByteArray().size(), big.size());
}

TEST_F(Channel, ASilentClientIsCutOffWhileOthersAreServed)
{
    channel.setReadTimeout(300);
    RawClient silent(path);
    silent.socket.write(ddewire::encodeRequest(sample()).first(10)); // starts and stops
    EXPECT_EQ(exchange(ddewire::encodeRequest(sample())), Status::Ack) << "not blocked by the silent one";
    EXPECT_TRUE(spinUntil([&] { return silent.closed; }));
    EXPECT_FALSE(silent.status().has_value());
    EXPECT_TRUE(spinUntil([&] { return channel.clientCount() == 0; }));
}

TEST_F(Channel, ClientsBeyondTheLimitAreToldBusy)
{
    channel.setMaxClients(2);
    RawClient a(path), b(path);
    EXPECT_TRUE(spinUntil([&] { return channel.clientCount() == 2; }));
    EXPECT_EQ(exchange(ddewire::encodeRequest(sample())), Status::Busy);
    a.socket.abort();
    b.socket.abort();
    EXPECT_TRUE(spinUntil([&] { return channel.clientCount() == 0; }));
    EXPECT_EQ(exchange(ddewire::encodeRequest(sample())), Status::Ack);
}

TEST_F(Channel, OnlyTheOwnerMayOpenTheSocketAndAStaleOneIsReplaced)
{
    struct stat info {
    };
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
    EXPECT_TRUE(S_ISSOCK(info.st_mode));
    EXPECT_EQ(info.st_mode & 077, 0u) << "no access for group or others";
    EXPECT_EQ(info.st_uid, ::geteuid());

    // A crashed editor leaves its socket file; the next one listens anyway.
    CommandChannel next(QStringLiteral("quirtle"), QStringLiteral("DdeServer"));
    QString error;
    const QString stale = dir.filePath(QStringLiteral("stale.dde"));
    writeAll(stale, "left over");
    EXPECT_TRUE(next.listen(stale, &error)) << error.toStdString();
}

TEST_F(Channel, TheBlockingClientReportsEachOutcome)
{
    auto sendAsync = [](QString p, ddewire::Request r, int replyWait) {
        return std::async(std::launch::async, [=] { return cmdchannel::send(p, r, 0, replyWait); });
    };
    auto waitFor = [](std::future<cmdchannel::SendResult> &f) {
        spinUntil([&] { return f.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 15000);
        return f.get().status;
    };
    auto ok = sendAsync(path, sample(), 5000);
    EXPECT_EQ(waitFor(ok), cmdchannel::SendStatus::Acknowledged);
    auto topic = sendAsync(path, {"quirtle", "nope", "", 0}, 5000);
    EXPECT_EQ(waitFor(topic), cmdchannel::SendStatus::UnknownTopic);
    auto absent = sendAsync(dir.filePath(QStringLiteral("none.dde")), sample(), 5000);
    EXPECT_EQ(waitFor(absent), cmdchannel::SendStatus::NoServer);

    // A server that accepts and never answers.
    QLocalServer mute;
    ASSERT_TRUE(mute.listen(dir.filePath(QStringLiteral("mute.dde"))));
    auto hung = sendAsync(mute.fullServerName(), sample(), 300);
    EXPECT_EQ(waitFor(hung), cmdchannel::SendStatus::TimedOut);
}

// An editor busy for longer than the client waits: the client reports the
// command as not done, so the editor must not run it once it is free again
// (a retried "insertstr" would insert its text twice).
TEST_F(Channel, ACommandWhoseClientGaveUpWaitingIsNotRun)
{
    auto late = std::async(std::launch::async, [this] { return cmdchannel::send(path, sample(), 0, 300).status; });
    ASSERT_EQ(late.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "the busy editor's loop does not run";
    EXPECT_EQ(late.get(), cmdchannel::SendStatus::TimedOut);
    spinUntil([&] { return channel.clientCount() == 0 && received.count() > 0; }, 1000);
    EXPECT_EQ(received.count(), 0);

    // One that waits out the busy spell is served as before.
    auto patient = std::async(std::launch::async, [this] { return cmdchannel::send(path, sample(), 0, 5000).status; });
    QThread::msleep(500);
    spinUntil([&] { return patient.wait_for(std::chrono::seconds(0)) == std::future_status::ready; });
    EXPECT_EQ(patient.get(), cmdchannel::SendStatus::Acknowledged);
    EXPECT_EQ(received.count(), 1);
}
