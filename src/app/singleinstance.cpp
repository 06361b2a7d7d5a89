#include "singleinstance.h"

#include "app/ddemacros.h"
#include "app/logging.h"
#include "platform/cmdchannel.h"
#include "platform/lexstrings.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QThread>

InstanceClaim claimInstance(const QString &service, const QStringList &files, int waitMs)
{
    InstanceClaim claim;
    QString error;
    const QString folder = service.isEmpty() ? QString() : instance::runtimeFolder(&error);
    if (folder.isEmpty()) {
        qCWarning(lcApp) << "running without single instance and command channel:" << error;
        return claim;
    }
    claim.socketPath = instance::socketPath(folder, service);
    claim.lock = std::make_unique<instance::InstanceLock>(instance::lockPath(folder, service));

    ddewire::Request request;
    request.service = service.toUtf8();
    request.topic = ddewire::kTopic;
    request.flags = ddewire::BringForward;
    if (!files.isEmpty())
        request.execute = openFileExecute(files, QDir::currentPath(), &claim.notHandedOver);

    const QDeadlineTimer deadline(waitMs);
    for (;;) {
        switch (claim.lock->tryLock()) {
        case instance::InstanceLock::Result::Acquired: claim.outcome = InstanceClaim::Outcome::First; return claim;
        case instance::InstanceLock::Result::Failed: claim.lock.reset(); return claim;
        case instance::InstanceLock::Result::HeldByOther: break;
        }
        // Between tries the lock is looked at again: its holder may have
        // ended meanwhile, and then this start becomes the first.
        const auto sent = cmdchannel::send(claim.socketPath, request, 250, 10000);
        if (sent.status == cmdchannel::SendStatus::Acknowledged) {
            claim.outcome = InstanceClaim::Outcome::HandedOver;
            return claim;
        }
        // An editor that is ending answers Busy or drops the connection; it
        // ran nothing of this request, and once it is gone this start is first.
        const bool ending = sent.status == cmdchannel::SendStatus::Busy || sent.status == cmdchannel::SendStatus::Broken;
        if ((sent.status != cmdchannel::SendStatus::NoServer && !ending) || deadline.hasExpired()) {
            claim.outcome = InstanceClaim::Outcome::Failed;
            claim.error = sent.status == cmdchannel::SendStatus::NoServer
                              ? lex::message(3114)
                              : cmdchannel::describe(sent, service, QString::fromLatin1(ddewire::kTopic));
            return claim;
        }
        if (ending)
            QThread::msleep(100);
    }
}

bool startChannel(CommandChannel &channel, const InstanceClaim &claim)
{
    if (claim.outcome != InstanceClaim::Outcome::First)
        return false;
    QString error;
    if (channel.listen(claim.socketPath, &error))
        return true;
    qCWarning(lcApp) << "command channel not available:" << claim.socketPath << error;
    return false;
}
