// At start, decides whether this process is the user's first editor. A
// later start hands its command-line files to the first one through the
// command channel and asks it to come forward, instead of dropping them.
#pragma once

#include "platform/instancelock.h"

#include <QString>
#include <QStringList>

#include <memory>

class CommandChannel;

struct InstanceClaim {
    enum class Outcome {
        First,      // this process holds the lock and serves the channel
        HandedOver, // the running editor took the files; end with code 0
        Failed,     // an editor runs but did not take them; error says why
        Alone,      // no lock could be made: run without channel
    };
    Outcome outcome = Outcome::Alone;
    QString error;
    QStringList notHandedOver; // files whose names the channel cannot carry
    QString socketPath;
    std::unique_ptr<instance::InstanceLock> lock;
};

// files are made absolute against the current folder before they are sent.
// An editor that holds the lock but does not answer yet (it may be starting)
// or that refuses while it is ending is waited for up to waitMs.
InstanceClaim claimInstance(const QString &service, const QStringList &files, int waitMs = 10000);

// Serves the channel of a first instance; a failure is logged and the
// editor runs on without it.
bool startChannel(CommandChannel &channel, const InstanceClaim &claim);
