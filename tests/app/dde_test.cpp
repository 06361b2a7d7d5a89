// Commands from outside: the execute text, the three macros on the main
// window, the command-line client and a second start of the editor.
#include "app/ddemacros.h"
#include "app/ddeserver.h"
#include "app/mainform.h"
#include "app/singleinstance.h"
#include "docs/newhtmlform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/cmdchannel.h"
#include "platform/lexstrings.h"
#include "platform/pathcompare.h"
#include "platform/scripteddialogs.h"
#include "settings/settings.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <future>
#include <memory>

namespace {

struct LinesCase {
    const char *name;
    QByteArray execute;
    QStringList lines;
};

void PrintTo(const LinesCase &c, std::ostream *os)
{
    *os << c.name;
}

class ExecuteLines : public ::testing::TestWithParam<LinesCase>
{
};

struct Recorded {
    QStringList opened;
    QStringList inserted;
    int newFiles = 0;
    DdeMacroActions actions()
    {
        return {[this](const QString &p) { opened << p; }, [this](const QString &t) { inserted << t; }, [this] { ++newFiles; }};
    }
};

struct ChildRun {
    int exitCode = -1;
    QString err;
};

// The editor under test serves the channel from this process, so children
// are waited for with the event loop running.
ChildRun runChild(const QString &program, const QStringList &args, const QString &folder, const QByteArray &input = {})
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    child.setProcessEnvironment(env);
    child.setWorkingDirectory(folder);
    child.start(program, args);
    if (!child.waitForStarted(10000))
        return {};
    child.write(input);
    child.closeWriteChannel();
    QElapsedTimer clock;
    clock.start();
    while (child.state() != QProcess::NotRunning && clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        child.waitForFinished(5);
    }
    if (child.state() != QProcess::NotRunning) {
        child.kill();
        child.waitForFinished();
        return {};
    }
    return {child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1, QString::fromLocal8Bit(child.readAllStandardError())};
}

void settle()
{
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

// A running editor of service "quirtle" in a private runtime folder, so
// that it meets neither the user's editor nor other tests.
class DdeTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    QTemporaryDir runtime;
    QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    std::unique_ptr<TMainForm> form;
    std::unique_ptr<CommandChannel> channel;
    InstanceClaim claim;

    void SetUp() override
    {
        ::chmod(QFile::encodeName(runtime.path()).constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        qputenv("QUIRTLE_REGISTRY", QFile::encodeName(reg.path()));
        form = std::make_unique<TMainForm>();
        form->show();
        settle();
        scripted->messages.clear();
    }
    void TearDown() override
    {
        for (TEditForm *doc : form->documents())
            doc->ColorMemo->document()->setModified(false);
        scripted->answers.push_back(dialogs::Answer::Yes);
        form->close();
        channel.reset();
        form.reset();
        qputenv("XDG_RUNTIME_DIR", previousRuntime);
    }
    void serve()
    {
        claim = claimInstance(QStringLiteral("quirtle"), {}, 1000);
        ASSERT_EQ(claim.outcome, InstanceClaim::Outcome::First);
        channel = std::make_unique<CommandChannel>(QStringLiteral("quirtle"), QStringLiteral("DdeServer"));
        new TDdeServerConv(form.get(), channel.get());
        ASSERT_TRUE(startChannel(*channel, claim));
    }
    QString file(const QString &name, const QByteArray &bytes = "<p>x</p>\r\n")
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        writeAll(path, bytes);
        return path;
    }
    QStringList openPaths() const
    {
        QStringList paths;
        for (TEditForm *doc : form->documents())
            paths << (doc->FileName.isEmpty() ? QStringLiteral("<new>") : QDir::cleanPath(doc->fullPath()));
        paths.sort();
        return paths;
    }
    ChildRun dde(const QStringList &args, const QByteArray &input = {})
    {
        const ChildRun run = runChild(QStringLiteral(QUIRTLE_DDE_BIN), args, dir.path(), input);
        settle();
        return run;
    }
};

} // namespace

TEST_P(ExecuteLines, SplitsAsTheMacrosNeedIt)
{
    EXPECT_EQ(executeLines(GetParam().execute), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Breaks, ExecuteLines,
                         ::testing::Values(LinesCase{"Empty", "", {}}, LinesCase{"OneLine", "newfile", {"newfile"}},
                                           LinesCase{"FinalBreakAddsNoLine", "newfile\r\n", {"newfile"}},
                                           LinesCase{"EmptySecondLine", "newfile\r\n\r\n", {"newfile", ""}},
                                           LinesCase{"EveryKindOfBreak", "a\rb\nc\r\nd", {"a", "b", "c", "d"}},
                                           LinesCase{"LfThenCrIsTwoBreaks", "a\n\rb", {"a", "", "b"}},
                                           LinesCase{"EndsAtNul", QByteArray("insertstr\r\nab\0\r\nrest", 19), {"insertstr", "ab"}},
                                           LinesCase{"Utf8", "insertstr\n\xc3\xa4", {"insertstr", QStringLiteral("\u00e4")}},
                                           LinesCase{"Windows1252", "insertstr\n\xe4\x80", {"insertstr", QStringLiteral("\u00e4\u20ac")}}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(DdeMacros, OpenFileOpensOnlyExistingFilesInLineOrder)
{
    QTemporaryDir dir;
    const QString a = dir.filePath(QStringLiteral("a.htm")), b = dir.filePath(QStringLiteral("b.htm"));
    writeAll(a, "a");
    writeAll(b, "b");
    Recorded r;
    runExecuteMacro({QStringLiteral("OpenFile"), b, dir.filePath(QStringLiteral("missing.htm")), dir.path(), QString(), a}, r.actions());
    EXPECT_EQ(r.opened, (QStringList{b, a})) << "no folder, no missing file, no empty line";
    EXPECT_EQ(r.newFiles, 0);
}

TEST(DdeMacros, NamesNeedAnArgumentLineAndUnknownOnesDoNothing)
{
    Recorded r;
    runExecuteMacro({QStringLiteral("newfile")}, r.actions());
    runExecuteMacro({QStringLiteral("insertstr")}, r.actions());
    runExecuteMacro({QStringLiteral("deletefile"), QStringLiteral("x")}, r.actions());
    EXPECT_EQ(r.newFiles, 0);
    EXPECT_TRUE(r.inserted.isEmpty());
    runExecuteMacro({QStringLiteral("NEWFILE"), QString()}, r.actions());
    runExecuteMacro({QStringLiteral("insertstr"), QStringLiteral("a"), QString(), QStringLiteral("b")}, r.actions());
    EXPECT_EQ(r.newFiles, 1);
    EXPECT_EQ(r.inserted, QStringList{QStringLiteral("a\r\n\r\nb\r\n")});
}

TEST(DdeMacros, HandedOverFilesAreAbsolute)
{
    EXPECT_EQ(openFileExecute({QStringLiteral("sub/../a.htm"), QStringLiteral("/x/b.htm")}, QStringLiteral("/home/u")),
              QByteArray("openfile\r\n/home/u/a.htm\r\n/x/b.htm\r\n"));
    // A file whose name begins with ":" is a file of the folder all the same.
    EXPECT_EQ(openFileExecute({QStringLiteral(":re.htm"), QStringLiteral(":/x.htm")}, QStringLiteral("/home/u")),
              QByteArray("openfile\r\n/home/u/:re.htm\r\n/home/u/:/x.htm\r\n"));
}

TEST_F(DdeTest, TheClientOpensFilesRelativeToItsOwnFolder)
{
    serve();
    const QString page = file(QStringLiteral("sub/page.htm"));
    const ChildRun run = dde({QStringLiteral("openfile"), QStringLiteral("sub/page.htm"), QStringLiteral("sub/missing.htm")});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(openPaths(), QStringList{QDir::cleanPath(page)});
    EXPECT_TRUE(scripted->messages.empty()) << "commands show no messages";

    // Standard input, a name in capitals, and a file that is open already.
    const QString second = file(QStringLiteral("second.htm"));
    EXPECT_EQ(dde({}, "OPENFILE\nsecond.htm\nsub/page.htm\n").exitCode, 0);
    EXPECT_EQ(openPaths(), (QStringList{QDir::cleanPath(second), QDir::cleanPath(page)}));
}

// A command file saved as UTF-8 with a byte-order mark: the editor reads
// "openfile" behind the mark, so its names must be made absolute as well.
TEST_F(DdeTest, TheClientMakesNamesAbsoluteBehindAByteOrderMark)
{
    serve();
    const QString page = file(QStringLiteral("sub/page.htm"));
    const ChildRun run = dde({}, "\xEF\xBB\xBFopenfile\r\nsub/page.htm\r\n");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(openPaths(), QStringList{QDir::cleanPath(page)});
}

// A command file saved in Windows-1252: the names made absolute must not
// turn its umlauts into replacement characters.
TEST_F(DdeTest, TheClientKeepsUmlautsOfAWindows1252CommandFile)
{
    serve();
    const QString page = file(QStringLiteral("sub/Gr\u00FC\u00DFe.htm"));
    const ChildRun run = dde({}, "openfile\r\nsub/Gr\xFC\xDF"
                                 "e.htm\r\n");
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(openPaths(), QStringList{QDir::cleanPath(page)});

    // Saved as UTF-16 ("Unicode"), it ended at its first NUL byte: the
    // editor acknowledged an execute that did nothing.
    const QString second = file(QStringLiteral("sub/\u00C4rger.htm"));
    QStringEncoder utf16(QStringEncoder::Utf16LE);
    const QByteArray unicode = "\xFF\xFE" + QByteArray(utf16.encode(QStringLiteral("openfile\r\nsub/\u00C4rger.htm\r\n")));
    EXPECT_EQ(dde({}, unicode).exitCode, 0);
    EXPECT_EQ(openPaths(), (QStringList{QDir::cleanPath(page), QDir::cleanPath(second)}));

    // Without a mark and with LF breaks alone (as iconv writes it) the bytes
    // read back as 8-bit text as well: it still ended at its first NUL.
    const QString third = file(QStringLiteral("sub/\u00D6l.htm"));
    EXPECT_EQ(dde({}, QByteArray(utf16.encode(QStringLiteral("openfile\nsub/\u00D6l.htm\n")))).exitCode, 0);
    EXPECT_EQ(openPaths(), (QStringList{QDir::cleanPath(page), QDir::cleanPath(second), QDir::cleanPath(third)}));
}

// A name in Latin-1 from the shell ("caf\xE9.htm") reached the editor as
// another name and the client still reported success: it is left out and
// named, and the other files open.
TEST_F(DdeTest, TheClientNamesArgumentsThatAreNoUtf8)
{
    serve();
    const QString page = file(QStringLiteral("page.htm"));
    // Only a shell hands over bytes that are no UTF-8.
    const ChildRun run = runChild(QStringLiteral("/bin/sh"),
                                  {QStringLiteral("-c"), QStringLiteral("exec \"$0\" openfile \"$(printf 'caf\\351.htm')\" page.htm"),
                                   QStringLiteral(QUIRTLE_DDE_BIN)},
                                  dir.path());
    settle();
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(lex::message(3384) + QStringLiteral("\ncafé.htm"))) << run.err.toStdString();
    EXPECT_EQ(openPaths(), QStringList{QDir::cleanPath(page)});
}

TEST_F(DdeTest, InsertStrGoesBeforeTheSelectionOfTheActiveDocument)
{
    serve();
    EXPECT_EQ(dde({QStringLiteral("insertstr"), QStringLiteral("hello")}).exitCode, 0) << "no document: acknowledged anyway";
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setPlainText(QStringLiteral("abc"));
    doc->ColorMemo->setSelStart(1);
    doc->ColorMemo->setSelLength(1);
    EXPECT_EQ(dde({QStringLiteral("insertstr"), QStringLiteral("hello")}).exitCode, 0);
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("ahello\r\nbc"));
    EXPECT_EQ(doc->ColorMemo->SelStart(), 9) << "after the former selection";
}

TEST_F(DdeTest, NewFileMakesADocumentThroughTheNewCommand)
{
    serve();
    EXPECT_EQ(dde({QStringLiteral("newfile")}).exitCode, 0);
    EXPECT_TRUE(form->documents().isEmpty()) << "the name alone does nothing";
    EXPECT_EQ(dde({QStringLiteral("newfile"), QString()}).exitCode, 0);
    EXPECT_EQ(openPaths(), QStringList{QStringLiteral("<new>")});
}

// A command that arrives while the user has a modal window open waits for
// it: the wizard puts its page into the new document when it closes, and an
// insert made into that document meanwhile was replaced by it.
TEST_F(DdeTest, ACommandWaitsUntilTheModalWindowIsClosed)
{
    serve();
    QString whileOpen = QStringLiteral("not run");
    scripted->onModal = [&](QDialog &dialog) {
        auto &wizard = static_cast<TNewHTMLFileForm &>(dialog);
        dialog.setWindowModality(Qt::ApplicationModal);
        dialog.show();
        EXPECT_EQ(dde({QStringLiteral("insertstr"), QStringLiteral("hello")}).exitCode, 0);
        whileOpen = form->documents().value(0) ? form->documents()[0]->ColorMemo->Text() : QString();
        wizard.EditTitle->setText(QStringLiteral("Home"));
        wizard.BtnClose->click();
    };
    form->BtnNew->trigger();
    scripted->onModal = nullptr;
    EXPECT_EQ(whileOpen, QString()) << "nothing goes into the document while the wizard is open";
    ASSERT_EQ(form->documents().size(), 1);
    const TColorMemo *memo = form->documents()[0]->ColorMemo;
    QElapsedTimer clock;
    clock.start();
    while (!memo->Text().contains(u"hello") && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(memo->Text().contains(QStringLiteral("hello\r\n"))) << memo->Text().toStdString();
    EXPECT_TRUE(memo->Text().contains(QStringLiteral("<title>Home</title>"))) << memo->Text().toStdString();
}

TEST_F(DdeTest, TheClientSaysWhyACommandDidNotArrive)
{
    ChildRun run = dde({QStringLiteral("newfile"), QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 2) << "no editor runs";
    EXPECT_TRUE(run.err.contains(lex::message(3111))) << run.err.toStdString();

    serve();
    run = dde({QStringLiteral("--topic"), QStringLiteral("System"), QStringLiteral("newfile"), QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_TRUE(run.err.contains(lex::message(3112) + QStringLiteral(" System"))) << run.err.toStdString();
    run = dde({QStringLiteral("--service"), QStringLiteral("other"), QStringLiteral("newfile"), QStringLiteral("x")});
    EXPECT_EQ(run.exitCode, 2);
    run = dde({QStringLiteral("--bogus")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(lex::message(3119))) << run.err.toStdString();
    // An option whose value is missing is not unknown: the message says what is wrong.
    run = dde({QStringLiteral("newfile"), QStringLiteral("x"), QStringLiteral("--topic")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(lex::message(3383) + QStringLiteral(" --topic"))) << run.err.toStdString();
    EXPECT_FALSE(run.err.contains(lex::message(3119))) << run.err.toStdString();
    run = dde({}, QByteArray(ddewire::kMaxExecute + 1, 'x'));
    EXPECT_EQ(run.exitCode, 4);
    EXPECT_TRUE(run.err.contains(lex::message(3113))) << run.err.toStdString();
    EXPECT_TRUE(form->documents().isEmpty());
}

// Standard input that cannot be read is reported as such, not answered with
// the usage text as if the call were wrong.
TEST_F(DdeTest, TheClientReportsStandardInputThatCannotBeRead)
{
    serve();
    QProcess child;
    child.setStandardInputFile(dir.path()); // a folder: every read fails
    child.start(QStringLiteral(QUIRTLE_DDE_BIN), {});
    ASSERT_TRUE(child.waitForStarted(10000));
    QElapsedTimer clock;
    clock.start();
    while (child.state() != QProcess::NotRunning && clock.elapsed() < 60000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        child.waitForFinished(5);
    }
    ASSERT_EQ(child.state(), QProcess::NotRunning);
    const QString err = QString::fromLocal8Bit(child.readAllStandardError());
    EXPECT_EQ(child.exitCode(), 5);
    EXPECT_TRUE(err.contains(lex::message(3160))) << err.toStdString();
    EXPECT_FALSE(err.contains(lex::message(3118))) << err.toStdString();
}

TEST_F(DdeTest, ASecondStartHandsItsFilesOverAndEnds)
{
    serve();
    const QString page = file(QStringLiteral("page.htm"));
    ChildRun run = runChild(QStringLiteral(QUIRTLE_BIN), {QStringLiteral("page.htm")}, dir.path());
    settle();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(openPaths(), QStringList{QDir::cleanPath(page)});

    run = runChild(QStringLiteral(QUIRTLE_BIN), {}, dir.path());
    settle();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(openPaths(), QStringList{QDir::cleanPath(page)}) << "without files it only brings the window forward";
}

// A second start while a dialog is open: the commands wait for the dialog,
// but the window still comes forward, or the user would not find the dialog.
TEST_F(DdeTest, ASecondStartBringsTheWindowForwardWhileADialogIsOpen)
{
    serve();
    const QString page = file(QStringLiteral("page.htm"));
    QDialog dialog(form.get());
    dialog.setWindowModality(Qt::ApplicationModal);
    form->showMinimized();
    dialog.show();
    settle();
    ASSERT_TRUE(form->isMinimized());
    const ChildRun run = runChild(QStringLiteral(QUIRTLE_BIN), {QStringLiteral("page.htm")}, dir.path());
    settle();
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_FALSE(form->isMinimized());
    EXPECT_TRUE(form->documents().isEmpty()) << "the file waits for the dialog";
    dialog.hide();
    QElapsedTimer clock;
    clock.start();
    while (form->documents().isEmpty() && clock.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(openPaths(), QStringList{QDir::cleanPath(page)});
}

TEST_F(DdeTest, AnEditorThatHoldsTheLockButDoesNotAnswerIsReported)
{
    instance::InstanceLock holder(instance::lockPath(runtime.path(), QStringLiteral("quirtle")));
    ASSERT_EQ(holder.tryLock(), instance::InstanceLock::Result::Acquired);
    const InstanceClaim later = claimInstance(QStringLiteral("quirtle"), {QStringLiteral("a.htm")}, 300);
    EXPECT_EQ(later.outcome, InstanceClaim::Outcome::Failed);
    EXPECT_EQ(later.error, lex::message(3114));
}

// A second start meeting an editor that is ending (it refuses, or the
// connection drops) waits for it to end and becomes the editor itself; it
// used to give up with an error box and open nothing.
TEST_F(DdeTest, ASecondStartMeetingAnEndingEditorBecomesTheEditor)
{
    const QString socket = instance::socketPath(runtime.path(), QStringLiteral("quirtle"));
    for (const QByteArray &answer : {ddewire::encodeReply(ddewire::Status::Busy), QByteArray()}) {
        auto holder = std::make_unique<instance::InstanceLock>(instance::lockPath(runtime.path(), QStringLiteral("quirtle")));
        ASSERT_EQ(holder->tryLock(), instance::InstanceLock::Result::Acquired);
        std::promise<bool> listening;
        // A thread of the toolkit's own, for the socket's notifiers.
        std::unique_ptr<QThread> editor(QThread::create([&] {
            {
                QLocalServer ending;
                QLocalServer::removeServer(socket);
                listening.set_value(ending.listen(socket));
                if (ending.waitForNewConnection(5000)) {
                    QLocalSocket *client = ending.nextPendingConnection();
                    client->waitForReadyRead(2000);
                    client->write(answer);
                    client->flush();
                    client->abort();
                }
            }
            holder.reset();
        }));
        editor->start();
        EXPECT_TRUE(listening.get_future().get());
        const InstanceClaim later = claimInstance(QStringLiteral("quirtle"), {QStringLiteral("a.htm")}, 5000);
        editor->wait();
        EXPECT_EQ(later.outcome, InstanceClaim::Outcome::First) << answer.toHex().constData() << ' ' << later.error.toStdString();
    }
}

// While the editor asks about unsaved documents at close, a command is
// refused: acknowledged, it would be lost when the editor ends. When the
// user stays, commands are taken again.
TEST_F(DdeTest, ACommandDuringTheCloseQuestionIsRefusedNotLost)
{
    serve();
    const QString page = file(QStringLiteral("page.htm"));
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setPlainText(QStringLiteral("ungesichert"));
    doc->ColorMemo->document()->setModified(true);
    ChildRun during;
    scripted->onMessage = [&](const dialogs::RecordedMessage &) { during = dde({QStringLiteral("openfile"), page}); };
    scripted->answers.push_back(dialogs::Answer::Cancel);
    EXPECT_FALSE(form->close());
    scripted->onMessage = nullptr;
    EXPECT_EQ(during.exitCode, 4) << during.err.toStdString();
    EXPECT_TRUE(during.err.contains(lex::message(3530))) << during.err.toStdString();
    EXPECT_EQ(openPaths(), QStringList{QStringLiteral("<new>")});

    EXPECT_EQ(dde({QStringLiteral("openfile"), page}).exitCode, 0);
    EXPECT_EQ(openPaths(), (QStringList{QDir::cleanPath(page), QStringLiteral("<new>")}));
}

// Once the user agreed to quit, the box telling that the settings could not
// be stored is the editor's last: a command taken then never runs.
TEST_F(DdeTest, ACommandWhileTheSettingsFailAtCloseIsRefused)
{
    serve();
    const QString page = file(QStringLiteral("page.htm"));
    // Where the settings file should be, there is a folder: nothing can be stored.
    settings::releaseRegistry();
    QFile::remove(reg.path());
    QDir().mkpath(reg.path());
    QList<int> exitCodes;
    scripted->onMessage = [&](const dialogs::RecordedMessage &) { exitCodes.append(dde({QStringLiteral("openfile"), page}).exitCode); };
    scripted->answers.push_back(dialogs::Answer::Yes);
    EXPECT_TRUE(form->close());
    scripted->onMessage = nullptr;
    EXPECT_EQ(scripted->messages.size(), 2) << "the question to quit and the failure";
    EXPECT_EQ(exitCodes, (QList<int>{4, 4}));
    QDir(reg.path()).removeRecursively();
}

// A second start hands its files over as lines of an execute: a name with
// a line break would be split into two names, and a file named like one half
// would open in its place. Such a file is left out and named to the caller.
TEST(DdeMacros, AFileWhoseNameHoldsALineBreakIsLeftOutNotSplit)
{
    QTemporaryDir dir;
    const QString odd = dir.filePath(QStringLiteral("zwei\nZeilen.htm"));
    const QString oddCr = dir.filePath(QStringLiteral("zwei\rZeilen.htm"));
    const QString half = dir.filePath(QStringLiteral("zwei"));
    const QString plain = dir.filePath(QStringLiteral("seite.htm"));
    for (const QString &path : {odd, oddCr, half, plain})
        writeAll(path, "x");
    QStringList leftOut;
    Recorded r;
    runExecuteMacro(executeLines(openFileExecute({odd, plain, oddCr}, dir.path(), &leftOut)), r.actions());
    EXPECT_EQ(r.opened, QStringList{plain});
    EXPECT_EQ(leftOut, (QStringList{odd, oddCr}));
}
