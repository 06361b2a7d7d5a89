// Texts left by a run that ended without saving: offered at start,
// restored as modified documents or discarded; a killed editor loses
// nothing that it had a few seconds to keep.
#include "app/mainform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/recoveryfile.h"
#include "editor/recoverykeeper.h"
#include "editor/recoverystore.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cerrno>

namespace {

class RecoveryStartTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    QTemporaryDir state;
    QByteArray previousState = qgetenv("XDG_STATE_HOME");

    RecoveryStartTest() { qputenv("XDG_STATE_HOME", QFile::encodeName(state.path())); }
    ~RecoveryStartTest() override { qputenv("XDG_STATE_HOME", previousState); }

    QString root() const { return state.path() + QStringLiteral("/quirtle/recovery"); }
    // What a killed editor leaves behind.
    QString leaveCrashed(const QList<QByteArray> &files)
    {
        const QString folder = root() + QStringLiteral("/run-99-crashed");
        QDir().mkpath(folder);
        for (int i = 0; i < files.size(); ++i)
            writeAll(folder + QStringLiteral("/doc-%1.qrec").arg(i + 1), files[i]);
        return folder;
    }
    std::unique_ptr<TMainForm> started()
    {
        auto form = std::make_unique<TMainForm>();
        form->show();
        QTest::qWait(50);
        return form;
    }
    QStringList questions() const
    {
        QStringList texts;
        for (const auto &m : scripted->messages)
            if (m.kind == dialogs::Kind::Confirmation || m.kind == dialogs::Kind::Warning)
                texts.append(m.text);
        return texts;
    }
    QStringList recoveryFiles() const
    {
        QStringList found;
        QDirIterator it(root(), {QStringLiteral("*.qrec")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            found.append(it.next());
        return found;
    }
};

TEST_F(RecoveryStartTest, RestoresModifiedDocumentsWithoutTouchingTheirFiles)
{
    const QString page = dir.filePath(QStringLiteral("seite.htm"));
    writeAll(page, "alt\r\n");
    const TextFormat cp1252{TextEncoding::Windows1252, false, LineBreak::CrLf, true};
    const TextFormat utf8{TextEncoding::Utf8, true, LineBreak::Lf, false};
    const QString crashed = leaveCrashed({
        recoveryBytes({page, QStringLiteral("seite.htm"), cp1252, QStringLiteral("Grüße\n")}),
        recoveryBytes({QString(), QStringLiteral("Neu 2.htm"), utf8, QStringLiteral("€")}),
    });
    scripted->defaultAnswer = dialogs::Answer::Yes; // the test folder lacks tagcodes.mvt: that report comes first
    auto form = started();

    const QStringList asked = questions();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(lex::message(3141)));
    EXPECT_TRUE(asked[0].endsWith(lex::message(3142) + u' ' + lex::message(3333)));
    EXPECT_TRUE(asked[0].contains(page));
    EXPECT_TRUE(asked[0].contains(lex::message(3143) + QStringLiteral(" Neu 2.htm")));
    ASSERT_EQ(form->documents().size(), 2);
    TEditForm *bound = form->documents()[0]->FileName.isEmpty() ? form->documents()[1] : form->documents()[0];
    TEditForm *fresh = bound == form->documents()[0] ? form->documents()[1] : form->documents()[0];
    EXPECT_EQ(bound->fullPath(), page);
    EXPECT_TRUE(bound->isModified());
    EXPECT_EQ(bound->ColorMemo->plainText(), QStringLiteral("Grüße\n"));
    EXPECT_EQ(bound->File.format(), cp1252);
    EXPECT_EQ(fresh->windowTitle(), QStringLiteral("Neu 2.htm"));
    EXPECT_EQ(fresh->File.format(), utf8);
    EXPECT_TRUE(fresh->isModified());
    EXPECT_EQ(readAll(page), "alt\r\n"); // not written until the user saves

    // The texts now live in this run's folder; the crashed run's is gone.
    form->recoveryStore()->waitForPending();
    EXPECT_FALSE(QFileInfo::exists(crashed));
    EXPECT_EQ(recoveryFiles().size(), 2);

    ASSERT_TRUE(bound->SaveDocument(false));
    EXPECT_EQ(readAll(page), "Gr\xfc\xdf"
                             "e\r\n"); // in the file's own encoding
    form->recoveryStore()->waitForPending();
    EXPECT_EQ(recoveryFiles().size(), 1);
}

// Thirty texts named one a line made the question taller than the screen,
// its buttons out of sight; the first are named, the rest counted, and Yes
// still restores every one.
TEST_F(RecoveryStartTest, ALongListOfTextsKeepsTheQuestionOnTheScreen)
{
    QList<QByteArray> files;
    for (int i = 1; i <= 30; ++i)
        files.append(recoveryBytes({QString(), QStringLiteral("Neu %1.htm").arg(i), {}, QStringLiteral("x")}));
    leaveCrashed(files);
    scripted->defaultAnswer = dialogs::Answer::Yes;
    auto form = started();
    const QStringList asked = questions();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_LE(asked[0].count(u'\n'), 20) << asked[0].toStdString();
    EXPECT_TRUE(asked[0].contains(lex::message(3410) + QStringLiteral(" 19\n"))) << asked[0].toStdString();
    EXPECT_EQ(form->documents().size(), 30);
}

TEST_F(RecoveryStartTest, AChangeMadeToTheFileAfterTheCrashIsNotOverwrittenUnasked)
{
    const QString page = dir.filePath(QStringLiteral("seite.htm"));
    const QString still = dir.filePath(QStringLiteral("still.htm"));
    writeAll(page, "alt\r\n");
    writeAll(still, "alt\r\n");
    auto known = [](const QString &path, const QString &text) {
        RecoveredText r{path, QFileInfo(path).fileName(), {}, text};
        r.diskTime = QFileInfo(path).lastModified();
        r.diskSize = QFileInfo(path).size();
        return recoveryBytes(r);
    };
    leaveCrashed({known(page, QStringLiteral("mein Text\n")), known(still, QStringLiteral("auch\n"))});
    // Another program writes the page before the editor starts again.
    writeAll(page, "fremde Arbeit\r\n");
    scripted->defaultAnswer = dialogs::Answer::Yes;
    auto form = started();
    ASSERT_EQ(form->documents().size(), 2);
    TEditForm *changed = form->documents()[0]->fullPath() == page ? form->documents()[0] : form->documents()[1];
    TEditForm *unchanged = changed == form->documents()[0] ? form->documents()[1] : form->documents()[0];

    scripted->messages.clear();
    ASSERT_TRUE(unchanged->SaveDocument(false)); // its file is as it was: no question
    EXPECT_TRUE(questions().isEmpty());
    EXPECT_EQ(readAll(still), "auch\r\n");

    scripted->defaultAnswer = dialogs::Answer::No;
    EXPECT_FALSE(changed->SaveDocument(false));
    ASSERT_EQ(questions().size(), 1);
    EXPECT_TRUE(questions()[0].contains(lex::message(3016)));
    EXPECT_EQ(readAll(page), "fremde Arbeit\r\n");
    EXPECT_TRUE(changed->isModified());

    // The next run's copy still knows the state from before the crash.
    form->recoveryStore()->waitForPending();
    bool stampKept = false;
    for (const QString &file : recoveryFiles()) {
        const RecoveryParse parse = parseRecoveryBytes(readAll(file));
        if (parse.recovered && parse.recovered->path == page)
            stampKept = parse.recovered->diskSize == 5;
    }
    EXPECT_TRUE(stampKept);
}

TEST_F(RecoveryStartTest, DeclinedTextsAreDiscarded)
{
    const QString crashed = leaveCrashed({recoveryBytes({QString(), QStringLiteral("Neu.htm"), {}, QStringLiteral("x")})});
    scripted->defaultAnswer = dialogs::Answer::No;
    auto form = started();
    EXPECT_EQ(questions().size(), 1);
    EXPECT_TRUE(form->documents().isEmpty());
    form->recoveryStore()->waitForPending();
    EXPECT_FALSE(QFileInfo::exists(crashed));
    EXPECT_TRUE(recoveryFiles().isEmpty());
}

// Closing the question (Escape, the window's close box) is no "discard":
// the texts wait for the next start.
TEST_F(RecoveryStartTest, ACancelledQuestionKeepsTheTextsForTheNextStart)
{
    const QByteArray kept = recoveryBytes({QString(), QStringLiteral("Neu.htm"), {}, QStringLiteral("ungespeichert\n")});
    const QString crashed = leaveCrashed({kept});
    scripted->defaultAnswer = dialogs::Answer::Cancel;
    {
        auto form = started();
        ASSERT_EQ(questions().size(), 1);
        EXPECT_EQ(scripted->messages.last().buttons, dialogs::Buttons::YesNoCancel);
        // One document is spoken of in the singular, Cancel's meaning included.
        EXPECT_TRUE(questions()[0].startsWith(lex::message(3421)));
        EXPECT_TRUE(questions()[0].endsWith(lex::message(3422)));
        EXPECT_TRUE(form->documents().isEmpty());
        form->recoveryStore()->waitForPending();
        EXPECT_EQ(readAll(crashed + QStringLiteral("/doc-1.qrec")), kept);
    }
    scripted->messages.clear();
    scripted->defaultAnswer = dialogs::Answer::Yes;
    auto next = started();
    ASSERT_EQ(next->documents().size(), 1);
    EXPECT_EQ(next->documents()[0]->ColorMemo->plainText(), QStringLiteral("ungespeichert\n"));
    next->recoveryStore()->waitForPending();
    EXPECT_FALSE(QFileInfo::exists(crashed));
}

// Started again with the file that had unsaved changes (a double click on
// it): its text comes into the window opened for it, not into a second
// window on the same file.
TEST_F(RecoveryStartTest, AFileOpenedAtStartTakesItsRecoveredText)
{
    const QString page = dir.filePath(QStringLiteral("seite.htm"));
    writeAll(page, "alt\r\n");
    RecoveredText r{page, QStringLiteral("seite.htm"), {}, QStringLiteral("neu\n")};
    r.diskTime = QFileInfo(page).lastModified();
    r.diskSize = QFileInfo(page).size();
    leaveCrashed({recoveryBytes(r)});
    scripted->defaultAnswer = dialogs::Answer::Yes;
    auto form = std::make_unique<TMainForm>();
    form->setStartFiles({page});
    form->show();
    QTest::qWait(50);
    ASSERT_EQ(form->documents().size(), 1);
    TEditForm *doc = form->documents()[0];
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("neu\n"));
    EXPECT_TRUE(doc->isModified());
    ASSERT_TRUE(doc->SaveDocument(false));
    EXPECT_EQ(readAll(page), "neu\r\n");
    form->recoveryStore()->waitForPending();
    EXPECT_TRUE(recoveryFiles().isEmpty());
}

// A run that keeps no copies says so and why, once; the user would
// otherwise count on them.
TEST_F(RecoveryStartTest, CopiesThatCannotBeWrittenAreReportedWithTheirCause)
{
    auto warnings = [&](int number) {
        QStringList found;
        for (const auto &m : scripted->messages)
            if (m.kind == dialogs::Kind::Warning && m.text.startsWith(lex::message(number)))
                found.append(m.text);
        return found;
    };
    // The state folder lies under a file: no folder can be made there.
    writeAll(dir.filePath(QStringLiteral("datei")), "x");
    qputenv("XDG_STATE_HOME", QFile::encodeName(dir.filePath(QStringLiteral("datei"))));
    {
        auto form = started();
        const QStringList told = warnings(3334);
        ASSERT_EQ(told.size(), 1);
        EXPECT_TRUE(told[0].contains(dir.filePath(QStringLiteral("datei/quirtle/recovery"))));
        EXPECT_TRUE(told[0].contains(lex::message(3024))); // the cause: a file where a folder belongs
    }
    qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
    scripted->messages.clear();

    // A full disk: the box comes once, not after every failed copy.
    const QString page = dir.filePath(QStringLiteral("seite.htm"));
    writeAll(page, "<p>\n");
    auto form = started();
    EXPECT_TRUE(warnings(3334).isEmpty());
    form->recoveryKeeper()->setDelays(10, 50);
    TEditForm *doc = form->OpenDocument(page, false, 0);
    ASSERT_TRUE(doc);
    filefaults::failNext(filefaults::Step::CreateTemp, ENOSPC);
    doc->ColorMemo->insertPlainText(QStringLiteral("x"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !warnings(3335).isEmpty(); }, 10000));
    filefaults::failNext(filefaults::Step::CreateTemp, ENOSPC);
    doc->ColorMemo->insertPlainText(QStringLiteral("y"));
    QTest::qWait(1000); // the keeper's quiet time is 10 ms
    form->recoveryStore()->waitForPending();
    QTest::qWait(50);
    EXPECT_EQ(filefaults::take(filefaults::Step::CreateTemp), 0); // the second copy failed too
    const QStringList told = warnings(3335);
    ASSERT_EQ(told.size(), 1);
    EXPECT_TRUE(told[0].contains(form->recoveryStore()->folder()));
    EXPECT_TRUE(told[0].contains(lex::message(3021))); // the disk is full
}

TEST_F(RecoveryStartTest, DamagedFilesAreReportedAndKeptAside)
{
    const QByteArray broken = "Quirtle recovery 1\npath: /x\n";
    leaveCrashed({broken});
    auto form = started();
    const QStringList asked = questions();
    ASSERT_EQ(asked.size(), 1); // the report only: nothing to restore
    EXPECT_TRUE(asked[0].startsWith(lex::message(3144)));
    EXPECT_TRUE(asked[0].contains(lex::message(3146)));
    const QStringList aside = QDir(root() + QStringLiteral("/damaged")).entryList(QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(root() + QStringLiteral("/damaged/") + aside[0]), broken);
}

// Several damaged copies are spoken of in the plural.
TEST_F(RecoveryStartTest, SeveralDamagedFilesAreReportedTogether)
{
    leaveCrashed({"Quirtle recovery 1\npath: /x\n", "kein Kopf\n"});
    auto form = started();
    const QStringList asked = questions();
    ASSERT_EQ(asked.size(), 1);
    EXPECT_TRUE(asked[0].startsWith(lex::message(3420)));
    EXPECT_TRUE(asked[0].contains(lex::message(3145)));
    EXPECT_TRUE(asked[0].contains(lex::message(3146)));
    EXPECT_EQ(QDir(root() + QStringLiteral("/damaged")).entryList(QDir::Files).size(), 2);
}

// A real editor process, killed the hard way or ended cleanly.
class RecoveryProcessTest : public RecoveryStartTest
{
protected:
    QProcess child;

    void startChild(const QString &file, const QString &typed, bool quit)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_STATE_HOME"), state.path());
        env.insert(QStringLiteral("QUIRTLE_REGISTRY"), dir.filePath(QStringLiteral("child.reg")));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        child.setProcessEnvironment(env);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QStringList args{file, typed};
        if (quit)
            args.append(QStringLiteral("quit"));
        child.start(QStringLiteral(RECOVERY_CHILD), args);
        ASSERT_TRUE(child.waitForStarted(30000));
    }
};

TEST_F(RecoveryProcessTest, KilledEditorLosesNoTypedText)
{
    const QString page = dir.filePath(QStringLiteral("seite.htm"));
    writeAll(page, "Gr\xfc\xdf"
                   "e\r\n");
    startChild(page, QStringLiteral("Käse<b>"), false);
    ASSERT_TRUE(child.waitForReadyRead(60000));
    ASSERT_TRUE(child.readLine().startsWith("typed"));
    const bool kept = QTest::qWaitFor(
        [&] {
            const QStringList files = recoveryFiles();
            if (files.size() != 1)
                return false;
            const auto parse = parseRecoveryBytes(readAll(files[0]));
            return parse.recovered && parse.recovered->text == QStringLiteral("Käse<b>Grüße\n");
        },
        30000);
    ASSERT_TRUE(kept);
    child.kill(); // SIGKILL: nothing runs on the way out
    ASSERT_TRUE(child.waitForFinished(30000));

    scripted->defaultAnswer = dialogs::Answer::Yes; // the test folder lacks tagcodes.mvt: that report comes first
    auto form = started();
    ASSERT_EQ(form->documents().size(), 1);
    TEditForm *doc = form->documents()[0];
    EXPECT_EQ(doc->fullPath(), page);
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("Käse<b>Grüße\n"));
    EXPECT_EQ(doc->File.format().encoding, TextEncoding::Windows1252);
    EXPECT_EQ(doc->File.format().lineBreak, LineBreak::CrLf);
    EXPECT_EQ(readAll(page), "Gr\xfc\xdf"
                             "e\r\n");
    ASSERT_TRUE(doc->SaveDocument(false));
    EXPECT_EQ(readAll(page), "K\xe4se<b>Gr\xfc\xdf"
                             "e\r\n");
}

TEST_F(RecoveryProcessTest, CleanExitLeavesNoRecoveryFile)
{
    const QString page = dir.filePath(QStringLiteral("seite.htm"));
    writeAll(page, "<p>\n");
    startChild(page, QStringLiteral("verworfen"), true);
    ASSERT_TRUE(child.waitForReadyRead(60000));
    const QString folder = QString::fromUtf8(child.readLine().mid(6).trimmed());
    ASSERT_FALSE(folder.isEmpty());
    // While it runs, the text is kept...
    EXPECT_TRUE(QTest::qWaitFor([&] { return recoveryFiles().size() == 1; }, 30000));
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    // ...and a clean end takes it and the run's folder away.
    EXPECT_TRUE(recoveryFiles().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_EQ(readAll(page), "<p>\n");
}

} // namespace
