#include "app/bannermenu.h"
#include "app/errorbox.h"
#include "app/mainform.h"
#include "app/pluginhost.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "platform/dynlib.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/testenv.h"

#include <QCalendarWidget>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <QRegularExpression>
#include <gtest/gtest.h>

#include <cstdlib>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kTestPlugIns = QStringLiteral(QUIRTLE_TEST_PLUGIN_DIR "/");
const QString kSamplePlugIns = QStringLiteral(QUIRTLE_SAMPLE_PLUGIN_DIR "/");

// Copies built plug-ins into the test's program folder, named as given.
void install(const TempProgramDir &dir, const QString &from, const QStringList &names)
{
    QDir().mkpath(dir.path() + QStringLiteral("PlugIn"));
    for (const QString &name : names)
        ASSERT_TRUE(QFile::copy(from + name, dir.path() + QStringLiteral("PlugIn/") + name)) << name.toStdString();
}

QStringList captionsOf(const QList<plugins::PlugIn> &found)
{
    QStringList captions;
    for (const plugins::PlugIn &p : found)
        captions.append(p.caption);
    captions.sort();
    return captions;
}

// What the test plug-ins left behind on their last start.
QByteArray lastPath()
{
    return qgetenv("QUIRTLE_TEST_PLUGIN_PATH");
}

class PlugInHostTest : public ::testing::Test
{
protected:
    TempProgramDir programDir;
    PlugInHostTest()
    {
        unsetenv("QUIRTLE_TEST_PLUGIN_PATH");
        unsetenv("QUIRTLE_TEST_PLUGIN_WINDOW");
    }
    QString folder() const { return plugins::folderOf(programDir.path()); }
};

} // namespace

TEST_F(PlugInHostTest, DiscoveryKeepsEveryLibraryWithANameAndPassesOverTheRest)
{
    install(programDir, kTestPlugIns,
            {QStringLiteral("echo.mvp"), QStringLiteral("nameless.mvp"), QStringLiteral("nostart.mvp"), QStringLiteral("notype.mvp"),
             QStringLiteral("twin1.mvp"), QStringLiteral("twin2.mvp")});
    programDir.write(QStringLiteral("PlugIn/broken.mvp"), "not a library");
    programDir.write(QStringLiteral("PlugIn/empty.txt"), "");
    QFile::copy(kTestPlugIns + QStringLiteral("empty.mvp"), folder() + QStringLiteral("other.dll"));

    const plugins::Discovery d = plugins::discover(folder());
    EXPECT_TRUE(d.error.isEmpty());
    // The caption is decoded from Windows-1252: 0xE4 is "ä", 0x80 the euro sign.
    EXPECT_EQ(captionsOf(d.found), (QStringList{QStringLiteral("Ohne Art"), QStringLiteral("Ohne Start"), QStringLiteral("Pfad ä€ & mehr"),
                                                QStringLiteral("Zwilling"), QStringLiteral("Zwilling")}));
    for (const plugins::PlugIn &p : d.found)
        EXPECT_FALSE(p.fileName.contains(u'/')) << p.fileName.toStdString();
}

TEST_F(PlugInHostTest, AnErrorWhileReadingANameEndsTheDiscoveryWithItsText)
{
    install(programDir, kTestPlugIns, {QStringLiteral("namethrows.mvp")});
    const plugins::Discovery d = plugins::discover(folder());
    EXPECT_TRUE(d.found.isEmpty());
    EXPECT_EQ(d.error, QStringLiteral("namethrows.mvp: kein Name"));
}

// A named pipe called *.mvp (left by a tool, or made on purpose) must not
// stop the editor at start: the library loader opens it and waits for a
// writer that never comes.
TEST_F(PlugInHostTest, ANamedPipeAmongThePlugInsDoesNotHoldUpTheDiscovery)
{
    QDir().mkpath(folder());
    const QByteArray pipe = QFile::encodeName(folder() + QStringLiteral("pipe.mvp"));
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    auto discovery = std::async(std::launch::async, [this] { return plugins::discover(folder()); });
    const bool finished = discovery.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finished) {
        // Releases the waiting loader, so that the test itself ends.
        const int writer = open(pipe.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            close(writer);
    }
    const plugins::Discovery d = discovery.get();
    EXPECT_TRUE(finished) << "the discovery waited on the named pipe";
    EXPECT_TRUE(d.found.isEmpty());
}

// A plug-in replaced by a named pipe after the start: choosing its item must
// not leave the editor waiting for a writer either.
TEST_F(PlugInHostTest, ANamedPipeChosenAsAPlugInIsNotLoaded)
{
    QDir().mkpath(folder());
    const QString path = folder() + QStringLiteral("pipe.mvp");
    const QByteArray pipe = QFile::encodeName(path);
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    auto run = std::async(std::launch::async, [path] { return plugins::run(path, false, QString(), nullptr); });
    const bool finished = run.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    if (!finished) {
        const int writer = open(pipe.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            close(writer);
    }
    const plugins::RunResult result = run.get();
    EXPECT_TRUE(finished) << "the run waited on the named pipe";
    EXPECT_EQ(result.outcome, plugins::Outcome::NotLoaded);
    EXPECT_FALSE(result.error.isEmpty());
}

TEST_F(PlugInHostTest, AMissingOrEmptyFolderFindsNothing)
{
    EXPECT_TRUE(plugins::discover(folder()).found.isEmpty());
    QDir().mkpath(folder());
    EXPECT_TRUE(plugins::discover(folder()).found.isEmpty());
}

TEST(PlugInResult, BufferIsLengthPrefixedAndReadsNoFurther)
{
    unsigned char buffer[256] = {3, 'a', 0xB0, 'b', 'X', 'Y'};
    EXPECT_EQ(plugins::resultText(buffer), QStringLiteral("a°b"));
    unsigned char full[256];
    full[0] = 255;
    for (int k = 1; k < 256; ++k)
        full[k] = 'z';
    EXPECT_EQ(plugins::resultText(full).size(), 255);
    buffer[0] = 0;
    EXPECT_EQ(plugins::resultText(buffer), QString());
    // A C plug-in that counts its zero-terminated text too long: the zeroed
    // rest of the buffer is no text and must not land in the document.
    unsigned char counted[256] = {20, 'a', 'b', 0, 'c'};
    EXPECT_EQ(plugins::resultText(counted), QStringLiteral("ab"));
}

TEST(DynamicLibraryLoad, RefusesRelativePathsSoNoSearchPathIsUsed)
{
    const DynamicLibrary relative(QStringLiteral("libc.so.6"));
    EXPECT_FALSE(relative.isLoaded());
    EXPECT_EQ(relative.symbol("malloc"), nullptr);
}

TEST_F(PlugInHostTest, PathGoesOverInTheFileSystemsEncoding)
{
    const QString docPath = programDir.path() + QStringLiteral("Übung €.html");
    const plugins::RunResult r = plugins::run(kTestPlugIns + QStringLiteral("echo.mvp"), true, docPath, nullptr);
    EXPECT_EQ(r.outcome, plugins::Outcome::TextReturned);
    EXPECT_EQ(lastPath(), QFile::encodeName(docPath));
}

// snprintf(result + 1, 256, ...) is the C way to fill the buffer; its zero
// then lands one byte past the 256 and must not hit the editor's memory.
TEST_F(PlugInHostTest, AFullResultWithTheZeroOfACStringIsReadWhole)
{
    const plugins::RunResult r = plugins::run(kTestPlugIns + QStringLiteral("full.mvp"), true, QStringLiteral("/x.html"), nullptr);
    EXPECT_EQ(r.outcome, plugins::Outcome::TextReturned);
    EXPECT_EQ(r.text, QString(255, u'x'));
}

TEST_F(PlugInHostTest, KindsDecideWhetherAndHowTheStartRuns)
{
    int window = 0;
    plugins::RunResult r = plugins::run(kTestPlugIns + QStringLiteral("action.mvp"), false, QString(), &window);
    EXPECT_EQ(r.outcome, plugins::Outcome::ActionRun);
    EXPECT_TRUE(r.text.isEmpty());
    EXPECT_TRUE(qEnvironmentVariableIsSet("QUIRTLE_TEST_PLUGIN_PATH"));
    EXPECT_EQ(lastPath(), QByteArray());
    EXPECT_EQ(qgetenv("QUIRTLE_TEST_PLUGIN_WINDOW"), QByteArray::number(reinterpret_cast<quintptr>(&window), 16).prepend("0x"));

    unsetenv("QUIRTLE_TEST_PLUGIN_PATH");
    for (const char *name : {"otherkind.mvp", "nostart.mvp", "notype.mvp"}) {
        r = plugins::run(kTestPlugIns + QLatin1String(name), true, QStringLiteral("/x.html"), nullptr);
        EXPECT_NE(r.outcome, plugins::Outcome::TextReturned) << name;
        EXPECT_FALSE(qEnvironmentVariableIsSet("QUIRTLE_TEST_PLUGIN_PATH")) << name;
    }
    EXPECT_EQ(plugins::run(kTestPlugIns + QStringLiteral("echo.mvp"), false, QString(), nullptr).outcome, plugins::Outcome::NeedsDocument);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QUIRTLE_TEST_PLUGIN_PATH"));
    EXPECT_EQ(plugins::run(programDir.path() + QStringLiteral("missing.mvp"), true, QString(), nullptr).outcome,
              plugins::Outcome::NotLoaded);
}

TEST_F(PlugInHostTest, WhatAPlugInThrowsArrivesAsTextAfterItsLibraryIsGone)
{
    try {
        plugins::run(kTestPlugIns + QStringLiteral("throws.mvp"), false, QString(), nullptr);
        FAIL() << "no error";
    } catch (const plugins::PlugInError &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("throws.mvp: Testfehler im Assistenten"));
    }
    // One that says nothing still gets a cause in the box.
    try {
        plugins::run(kTestPlugIns + QStringLiteral("throwsmute.mvp"), false, QString(), nullptr);
        FAIL() << "no error";
    } catch (const plugins::PlugInError &e) {
        EXPECT_EQ(QString::fromUtf8(e.what()), QStringLiteral("throwsmute.mvp: ") + lex::message(3120));
    }
}

namespace {

class AssistMenuTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    std::unique_ptr<TMainForm> form;

    AssistMenuTest() { unsetenv("QUIRTLE_TEST_PLUGIN_PATH"); }
    ~AssistMenuTest() override
    {
        if (!form)
            return;
        for (TEditForm *doc : form->documents())
            doc->ColorMemo->document()->setModified(false);
        scripted->answers.push_back(dialogs::Answer::Yes);
        form->close();
        QCoreApplication::processEvents();
    }
    void start(const QString &from, const QStringList &plugIns)
    {
        install(programDir, from, plugIns);
        form = std::make_unique<TMainForm>();
        form->show();
        QCoreApplication::processEvents();
        scripted->messages.clear(); // the test folder has no tagcodes.mvt
    }
    TEditForm *newDocument(const QString &text, int selStart, int selLength)
    {
        TEditForm *doc = form->OpenDocument(QString(), true, -1);
        QCoreApplication::processEvents();
        doc->ColorMemo->setText(text);
        doc->ColorMemo->setSelStart(selStart);
        doc->ColorMemo->setSelLength(selLength);
        return doc;
    }
    QAction *item(const QString &fileName) const
    {
        const qsizetype at = form->plugInList().indexOf(fileName);
        return at < 0 ? nullptr : form->PopupAssist->actions().value(at);
    }
};

} // namespace

TEST_F(AssistMenuTest, WithoutPlugInsTheButtonStaysDisabled)
{
    start(kTestPlugIns, {QStringLiteral("nameless.mvp")});
    EXPECT_TRUE(form->PopupAssist->actions().isEmpty());
    EXPECT_TRUE(form->plugInList().isEmpty());
    EXPECT_FALSE(form->BtnAssist->isEnabled());
}

// With one or two plug-ins the menu was shorter than its banner text, which
// was cut ("Ass"); the menu now grows to hold the whole of it.
TEST_F(AssistMenuTest, TheMenuOfASinglePlugInShowsItsWholeBannerText)
{
    start(kTestPlugIns, {QStringLiteral("twin1.mvp")});
    BannerMenu *menu = form->PopupAssist;
    ASSERT_FALSE(menu->bannerText().isEmpty());
    menu->popup(QPoint(0, 0));
    QCoreApplication::processEvents();
    EXPECT_GE(menu->height(), QFontMetrics(menu->bannerFont()).horizontalAdvance(menu->bannerText()) + 6);
    menu->close();
}

TEST_F(AssistMenuTest, EachItemBelongsToItsOwnLibraryEvenWithTheSameCaption)
{
    start(kTestPlugIns, {QStringLiteral("twin1.mvp"), QStringLiteral("twin2.mvp"), QStringLiteral("echo.mvp")});
    EXPECT_TRUE(form->BtnAssist->isEnabled());
    ASSERT_EQ(form->PopupAssist->actions().size(), 3);
    // An ampersand in a caption is shown, not taken as an accelerator.
    EXPECT_EQ(item(QStringLiteral("echo.mvp"))->text(), QStringLiteral("Pfad ä€ && mehr"));
    EXPECT_EQ(item(QStringLiteral("twin1.mvp"))->text(), item(QStringLiteral("twin2.mvp"))->text());

    TEditForm *doc = newDocument(QStringLiteral("abcd"), 2, 0);
    item(QStringLiteral("twin2.mvp"))->trigger();
    item(QStringLiteral("twin1.mvp"))->trigger();
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("ab<zwei><eins>cd"));
}

// A plug-in that names itself with blanks only gave an item without a word
// on it; its file name stands there instead.
TEST_F(AssistMenuTest, APlugInWithoutACaptionIsListedByItsFileName)
{
    start(kTestPlugIns, {QStringLiteral("blank.mvp"), QStringLiteral("twin1.mvp")});
    EXPECT_EQ(item(QStringLiteral("blank.mvp"))->text(), QStringLiteral("blank.mvp"));
    EXPECT_EQ(item(QStringLiteral("twin1.mvp"))->text(), QStringLiteral("Zwilling"));
    TEditForm *doc = newDocument(QString(), 0, 0);
    item(QStringLiteral("blank.mvp"))->trigger();
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("<leer>"));
}

// A tab would start the item's shortcut column and a line break cut the
// caption off: the item shows the name on one line.
TEST_F(AssistMenuTest, ACaptionWithATabOrALineBreakStaysOnOneLine)
{
    start(kTestPlugIns, {QStringLiteral("tabbed.mvp")});
    EXPECT_EQ(item(QStringLiteral("tabbed.mvp"))->text(), QStringLiteral("Kommentar einfügen Strg+K"));
}

TEST_F(AssistMenuTest, TextGoesBeforeTheSelectionAndTheCaretAfterIt)
{
    start(kTestPlugIns, {QStringLiteral("twin1.mvp"), QStringLiteral("empty.mvp"), QStringLiteral("breaks.mvp")});
    TEditForm *doc = newDocument(QStringLiteral("ab[cd]ef"), 3, 2);
    item(QStringLiteral("twin1.mvp"))->trigger();
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("ab[<eins>cd]ef"));
    EXPECT_EQ(doc->ColorMemo->SelStart(), 11);
    EXPECT_EQ(doc->ColorMemo->SelLength(), 0);

    // An empty result changes no character; the selection still collapses to its end.
    doc->ColorMemo->setSelStart(1);
    doc->ColorMemo->setSelLength(3);
    item(QStringLiteral("empty.mvp"))->trigger();
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("ab[<eins>cd]ef"));
    EXPECT_EQ(doc->ColorMemo->SelStart(), 4);
    EXPECT_EQ(doc->ColorMemo->SelLength(), 0);

    doc->ColorMemo->setText(QString());
    item(QStringLiteral("breaks.mvp"))->trigger();
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("a\r\nb"));
    EXPECT_TRUE(scripted->messages.isEmpty());
}

TEST_F(AssistMenuTest, ATextPlugInWithoutDocumentIsNotStarted)
{
    start(kTestPlugIns, {QStringLiteral("echo.mvp"), QStringLiteral("action.mvp")});
    item(QStringLiteral("echo.mvp"))->trigger();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3010));
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);
    EXPECT_EQ(scripted->messages[0].buttons, dialogs::Buttons::Ok);
    EXPECT_FALSE(qEnvironmentVariableIsSet("QUIRTLE_TEST_PLUGIN_PATH"));

    // An action plug-in runs all the same, with an empty path and the main window.
    item(QStringLiteral("action.mvp"))->trigger();
    EXPECT_EQ(lastPath(), QByteArray());
    EXPECT_EQ(qgetenv("QUIRTLE_TEST_PLUGIN_WINDOW"),
              QByteArray::number(reinterpret_cast<quintptr>(static_cast<void *>(form.get())), 16).prepend("0x"));
    EXPECT_EQ(scripted->messages.size(), 1);
}

TEST_F(AssistMenuTest, ASavedDocumentHandsItsFullPathToAnActionPlugIn)
{
    start(kTestPlugIns, {QStringLiteral("action.mvp")});
    const QString path = programDir.path() + QStringLiteral("seite.html");
    programDir.write(QStringLiteral("seite.html"), "<p>");
    ASSERT_NE(form->OpenDocument(path, false, -1), nullptr);
    item(QStringLiteral("action.mvp"))->trigger();
    EXPECT_EQ(lastPath(), QFile::encodeName(path));
}

TEST_F(AssistMenuTest, AnErrorInAPlugInReachesTheErrorBoxAndTheProgramGoesOn)
{
    start(kTestPlugIns, {QStringLiteral("throws.mvp"), QStringLiteral("twin1.mvp")});
    item(QStringLiteral("throws.mvp"))->trigger();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, errorBoxText(QStringLiteral("throws.mvp: Testfehler im Assistenten")));
    TEditForm *doc = newDocument(QString(), 0, 0);
    item(QStringLiteral("twin1.mvp"))->trigger();
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("<eins>"));
}

// A plug-in with a dialog lets the editor's events run; a file opened from
// outside meanwhile became the active document and got the text instead.
TEST_F(AssistMenuTest, TextGoesToTheDocumentThePlugInWasStartedFor)
{
    start(kTestPlugIns, {QStringLiteral("events.mvp")});
    TEditForm *doc = newDocument(QStringLiteral("abc"), 1, 0);
    TEditForm *other = nullptr;
    QMetaObject::invokeMethod(
        form.get(), [&] { other = form->OpenDocument(QString(), true, -1); }, Qt::QueuedConnection);
    item(QStringLiteral("events.mvp"))->trigger();
    ASSERT_NE(other, nullptr);
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("a<mitten>bc"));
    EXPECT_EQ(other->ColorMemo->Text(), QString());
    // Brought forward, so that the user sees where the text went.
    EXPECT_EQ(form->activeDocument(), doc);
    EXPECT_TRUE(scripted->messages.isEmpty());
}

TEST_F(AssistMenuTest, TextForADocumentClosedMeanwhileGoesNowhereElse)
{
    start(kTestPlugIns, {QStringLiteral("events.mvp")});
    TEditForm *other = newDocument(QStringLiteral("xyz"), 0, 0);
    TEditForm *doc = newDocument(QStringLiteral("abc"), 1, 0);
    doc->ColorMemo->document()->setModified(false);
    QMetaObject::invokeMethod(
        form.get(), [doc] { doc->parentWidget()->close(); }, Qt::QueuedConnection);
    item(QStringLiteral("events.mvp"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(other->ColorMemo->Text(), QStringLiteral("xyz"));
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3430));
}

// Nobody is left to read about the lost text when the whole program was
// closed while the plug-in's dialog was open.
TEST_F(AssistMenuTest, ClosingTheProgramWhileAPlugInRunsLosesItsTextQuietly)
{
    start(kTestPlugIns, {QStringLiteral("events.mvp")});
    newDocument(QStringLiteral("abc"), 1, 0)->ColorMemo->document()->setModified(false);
    QMetaObject::invokeMethod(
        form.get(), [this] { form->close(); }, Qt::QueuedConnection);
    item(QStringLiteral("events.mvp"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->documents().isEmpty());
    EXPECT_TRUE(scripted->messages.isEmpty());
}

// Chosen again from within its own run: each run holds the library loaded
// for as long as it lasts, so the inner release must not pull the code away
// from under the outer one.
TEST_F(AssistMenuTest, APlugInChosenAgainWhileItRunsRunsTwice)
{
    start(kTestPlugIns, {QStringLiteral("events.mvp")});
    TEditForm *doc = newDocument(QStringLiteral("ab"), 1, 0);
    QAction *events = item(QStringLiteral("events.mvp"));
    QMetaObject::invokeMethod(
        form.get(), [events] { events->trigger(); }, Qt::QueuedConnection);
    events->trigger();
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("a<mitten><mitten>b"));
    EXPECT_TRUE(scripted->messages.isEmpty());
}

// A plug-in found at start may be gone or broken when it is chosen; its item
// then did nothing at all. The user learns which file failed and why.
TEST_F(AssistMenuTest, APlugInThatNoLongerLoadsIsReportedWithItsFileAndCause)
{
    start(kTestPlugIns, {QStringLiteral("twin1.mvp")});
    TEditForm *doc = newDocument(QStringLiteral("abc"), 1, 0);
    const QString library = programDir.path() + QStringLiteral("PlugIn/twin1.mvp");
    ASSERT_TRUE(QFile::remove(library));
    item(QStringLiteral("twin1.mvp"))->trigger();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3380) + u'\n' + library + u'\n' + lex::message(3381));

    programDir.write(QStringLiteral("PlugIn/twin1.mvp"), "no library");
    item(QStringLiteral("twin1.mvp"))->trigger();
    ASSERT_EQ(scripted->messages.size(), 2);
    const QString text = scripted->messages[1].text;
    // The loader's English report ("file too short") stays in the log.
    EXPECT_EQ(text, lex::message(3380) + u'\n' + library + u'\n' + lex::message(3415));
    EXPECT_EQ(doc->ColorMemo->Text(), QStringLiteral("abc"));
}

// The loader reports in English; what reaches the user names the cause in
// German, with the library, function or version the loader names.
TEST(PlugInLoadErrors, TheLoadersEnglishReportBecomesAGermanCause)
{
    const QString plugIn = QStringLiteral("/opt/q/PlugIn/a.mvp");
    const auto describe = [&](const char *loader) { return DynamicLibrary::describeLoaderError(QString::fromLatin1(loader), plugIn); };
    EXPECT_EQ(describe("libfoo.so.3: cannot open shared object file: No such file or directory"),
              lex::message(3416) + QStringLiteral(" libfoo.so.3"));
    EXPECT_EQ(describe("/opt/q/PlugIn/a.mvp: cannot open shared object file: No such file or directory"), lex::message(3381));
    EXPECT_EQ(describe("/opt/q/PlugIn/a.mvp: cannot open shared object file: Permission denied"), lex::message(3022));
    EXPECT_EQ(describe("/opt/q/PlugIn/a.mvp: undefined symbol: _ZN3fooEv"), lex::message(3417) + QStringLiteral(" _ZN3fooEv"));
    EXPECT_EQ(describe("/lib/x86_64-linux-gnu/libc.so.6: version `GLIBC_2.99' not found (required by /opt/q/PlugIn/a.mvp)"),
              lex::message(3418) + QStringLiteral(" GLIBC_2.99"));
    for (const char *other : {"/opt/q/PlugIn/a.mvp: invalid ELF header", "/opt/q/PlugIn/a.mvp: wrong ELF class: ELFCLASS32",
                              "/opt/q/PlugIn/a.mvp: file too short", ""})
        EXPECT_EQ(describe(other), lex::message(3415)) << other;
}

TEST_F(AssistMenuTest, SamplePlugInsInsertDateAndFileInformation)
{
    start(kSamplePlugIns, {QStringLiteral("datetime.mvp"), QStringLiteral("fileinfo.mvp"), QStringLiteral("calendar.mvp")});
    ASSERT_EQ(form->plugInList().size(), 3);
    TEditForm *fresh = newDocument(QString(), 0, 0);
    item(QStringLiteral("datetime.mvp"))->trigger();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d\\d\\.\\d\\d\\.\\d{4} \\d\\d:\\d\\d$")).match(fresh->ColorMemo->Text()).hasMatch())
        << fresh->ColorMemo->Text().toStdString();
    fresh->ColorMemo->setText(QString());
    item(QStringLiteral("fileinfo.mvp"))->trigger();
    EXPECT_EQ(fresh->ColorMemo->Text(), QStringLiteral("<!-- Dokument noch nicht gespeichert -->"));

    programDir.write(QStringLiteral("größe.html"), QByteArray(1234, 'x'));
    TEditForm *saved = form->OpenDocument(programDir.path() + QStringLiteral("größe.html"), false, -1);
    ASSERT_NE(saved, nullptr);
    saved->ColorMemo->setSelStart(0);
    item(QStringLiteral("fileinfo.mvp"))->trigger();
    EXPECT_TRUE(saved->ColorMemo->Text().startsWith(QStringLiteral("<!-- größe.html, 1.234 Bytes, gespeichert am ")))
        << saved->ColorMemo->Text().left(80).toStdString();
    EXPECT_TRUE(saved->ColorMemo->Text().contains(QStringLiteral(" -->xxx")));
}

// In a text plug-in's result a degree sign means a line break: a file name
// with one must not break the comment in two lines.
TEST_F(AssistMenuTest, FileInformationKeepsADegreeSignOfTheFileNameOnOneLine)
{
    start(kSamplePlugIns, {QStringLiteral("fileinfo.mvp")});
    programDir.write(QStringLiteral("Messung 20\u00b0C.html"), QByteArray(10, 'x'));
    TEditForm *saved = form->OpenDocument(programDir.path() + QStringLiteral("Messung 20\u00b0C.html"), false, -1);
    ASSERT_NE(saved, nullptr);
    saved->ColorMemo->setSelStart(0);
    item(QStringLiteral("fileinfo.mvp"))->trigger();
    EXPECT_TRUE(saved->ColorMemo->Text().startsWith(QStringLiteral("<!-- Messung 20&deg;C.html, 10 Bytes, gespeichert am ")))
        << saved->ColorMemo->Text().left(80).toStdString();
}

// The result is Windows-1252, which holds the euro sign, dashes and German
// quotes as well as the Latin-1 letters.
TEST_F(AssistMenuTest, FileInformationKeepsWindows1252CharactersOfTheFileName)
{
    start(kSamplePlugIns, {QStringLiteral("fileinfo.mvp")});
    const QString name = QStringLiteral("Preis 5\u20ac \u2013 \u201eneu\u201c.html");
    programDir.write(name, QByteArray(10, 'x'));
    TEditForm *saved = form->OpenDocument(programDir.path() + name, false, -1);
    ASSERT_NE(saved, nullptr);
    saved->ColorMemo->setSelStart(0);
    item(QStringLiteral("fileinfo.mvp"))->trigger();
    EXPECT_TRUE(saved->ColorMemo->Text().startsWith(QStringLiteral("<!-- ") + name + QStringLiteral(", 10 Bytes, ")))
        << saved->ColorMemo->Text().left(80).toStdString();
}

// "-->" in a file name would end the comment early and put the rest of it on
// the page; "--" alone makes an XHTML page ill-formed.
TEST_F(AssistMenuTest, FileInformationKeepsTheCommentClosedForANameWithDashes)
{
    start(kSamplePlugIns, {QStringLiteral("fileinfo.mvp")});
    const QString name = QStringLiteral("alt-->neu.html");
    programDir.write(name, QByteArray(10, 'x'));
    TEditForm *saved = form->OpenDocument(programDir.path() + name, false, -1);
    ASSERT_NE(saved, nullptr);
    saved->ColorMemo->setSelStart(0);
    item(QStringLiteral("fileinfo.mvp"))->trigger();
    const QString text = saved->ColorMemo->Text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("<!-- alt-&#45;>neu.html, 10 Bytes, "))) << text.left(80).toStdString();
    const qsizetype end = text.indexOf(QStringLiteral(" -->xxx"));
    ASSERT_GT(end, 0) << text.toStdString();
    EXPECT_FALSE(text.first(end).mid(4).contains(QStringLiteral("--"))) << text.toStdString();
}

TEST_F(AssistMenuTest, CalendarSampleOpensOneWindowWithoutADocument)
{
    start(kSamplePlugIns, {QStringLiteral("calendar.mvp")});
    item(QStringLiteral("calendar.mvp"))->trigger();
    item(QStringLiteral("calendar.mvp"))->trigger();
    const QList<QCalendarWidget *> calendars = form->findChildren<QCalendarWidget *>(QStringLiteral("PlugInCalendar"));
    ASSERT_EQ(calendars.size(), 1);
    EXPECT_TRUE(calendars[0]->isVisible());
    EXPECT_EQ(calendars[0]->selectedDate(), QDate::currentDate());
    EXPECT_TRUE(scripted->messages.isEmpty());
    calendars[0]->close();
}
