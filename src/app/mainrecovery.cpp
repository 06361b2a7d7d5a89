// Texts that an earlier run could not save: offered at start.
#include "app/mainform.h"
#include "common/boxnames.h"
#include "editor/docfile.h"
#include "editor/editwin.h"
#include "editor/recoverykeeper.h"
#include "editor/recoverystore.h"
#include "platform/dialogs.h"
#include "platform/lexstrings.h"

void TMainForm::OfferRecovery()
{
    if (!m_recoveryStore)
        return;
    // Without its folder the editor keeps nothing; the user must know that
    // unsaved work is not safe in this run.
    if (m_recoveryStore->folder().isEmpty()) {
        dialogs::inform(this, dialogs::Kind::Warning,
                        lex::message(3334) + u'\n' + m_recoveryStore->root() + u'\n' + m_recoveryStore->error());
        return;
    }
    const RecoveryStore::Leftovers left = m_recoveryStore->claimLeftovers();
    if (!left.damaged.isEmpty())
        dialogs::inform(this, dialogs::Kind::Warning,
                        lex::message(left.damaged.size() == 1 ? 3144 : 3420) + u'\n' + namesForBox(left.damaged, QStringLiteral("\n\n")));
    if (!left.unreadable.isEmpty())
        dialogs::inform(this, dialogs::Kind::Warning,
                        lex::message(left.unreadable.size() == 1 ? 3336 : 3419) + u'\n' +
                            namesForBox(left.unreadable, QStringLiteral("\n\n")));
    if (left.texts.isEmpty()) {
        m_recoveryStore->dropClaimed();
        return;
    }
    QStringList names;
    for (const RecoveryStore::Leftover &l : left.texts)
        names.append(l.recovered.path.isEmpty() ? lex::message(3143) + u' ' + l.recovered.title : l.recovered.path);
    const bool one = names.size() == 1;
    const QString question = lex::message(one ? 3421 : 3141) + u'\n' + namesForBox(names) + QStringLiteral("\n\n") +
                             (one ? lex::message(3422) : lex::message(3142) + u' ' + lex::message(3333));
    const dialogs::Answer answer = dialogs::ask(this, dialogs::Kind::Confirmation, question, dialogs::Buttons::YesNoCancel);
    // Only "No" discards: a question closed by Escape or its close box
    // keeps the texts for the next start.
    if (answer == dialogs::Answer::Cancel) {
        m_recoveryStore->releaseClaimed();
        return;
    }
    if (answer == dialogs::Answer::Yes) {
        for (const RecoveryStore::Leftover &l : left.texts) {
            // A file already opened from the command line gets its text in
            // that window: a second window on one file would undo its saves.
            const int open = FindDocument(l.recovered.path);
            TEditForm *shown = open >= 0 ? documents()[open] : nullptr;
            TEditForm *doc = shown && !shown->isModified() ? shown : makeDocumentWindow();
            DocumentFile file;
            file.adopt(l.recovered.path, l.recovered.format, l.recovered.diskTime, l.recovered.diskSize);
            doc->ShowRecovered(std::move(file), l.recovered.text, l.recovered.title.isEmpty() ? lex::caption(1039) : l.recovered.title);
            if (doc != shown)
                presentDocument(doc);
            else
                RebuildWindowBar();
            // Safe in this run's folder before the old copy goes.
            m_recoveryKeeper->keepNow(doc);
        }
    }
    m_recoveryStore->dropClaimed();
}

void TMainForm::RecoveryWriteFailed(const QString &file, const QString &error)
{
    // Once: a full disk would otherwise bring the box back every few seconds.
    if (m_recoveryFailureTold || m_terminating)
        return;
    m_recoveryFailureTold = true;
    dialogs::inform(this, dialogs::Kind::Warning, lex::message(3335) + u'\n' + file + u'\n' + error);
}
