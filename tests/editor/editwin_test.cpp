#include "common/boxnames.h"
#include "editor/bulkedit.h"
#include "editor/colmemo.h"
#include "editor/docrules.h"
#include "editor/editwin.h"
#include "editor/insertaround.h"
#include "editor/netgradient.h"
#include "editor/preview.h"
#include "fakehost.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/shell.h"
#include "support/testenv.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class EditWinTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    dialogs::ScriptedDialogsGuard scripted;
    QTemporaryDir dir;
    FakeHost host;

    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    std::unique_ptr<TEditForm> open(const char *name)
    {
        auto form = std::make_unique<TEditForm>(&host);
        form->ApplyColorScheme();
        form->LoadFile(file(name));
        host.active = form.get();
        return form;
    }
};

} // namespace

TEST_F(EditWinTest, OpeningAndSavingWithoutEditsKeepsEveryByte)
{
    QByteArray all1252;
    for (int b = 0; b < 256; ++b)
        if (b != '\r' && b != '\n')
            all1252.append(char(b));
    const std::pair<const char *, QByteArray> corpus[] = {
        {"utf8.htm", "<p>Gr\xC3\xBC\xC3\x9F"
                     "e \xE2\x82\xAC</p>\r\n"},
        {"bom.htm", "\xEF\xBB\xBF<a>\n<b>"},
        {"cp1252.htm", all1252 + "\r\n"},
        {"cr.htm", "a\rb\r"},
        {"empty.htm", ""},
        {"utf16nomark.htm", QByteArray("<\0p\0>\0\xE4\0\r\0\n\0", 12)},
    };
    for (const auto &[name, bytes] : corpus) {
        writeAll(file(name), bytes);
        auto form = open(name);
        form->ColorMemo->document()->setModified(true);
        ASSERT_TRUE(form->SaveDocument(false)) << name;
        EXPECT_EQ(readAll(file(name)), bytes) << name;
        EXPECT_FALSE(form->isModified());
    }
    EXPECT_TRUE(scripted->messages.isEmpty());
}

TEST_F(EditWinTest, UnstorableCharactersAskHowToSave)
{
    writeAll(file("page.htm"), "caf\xE9\r\n");
    {
        auto form = open("page.htm");
        form->ColorMemo->moveCursor(QTextCursor::End);
        form->ColorMemo->insertPlainText(QStringLiteral("\u03A9"));
        scripted->answers = {dialogs::Answer::Cancel};
        EXPECT_FALSE(form->SaveDocument(false));
        EXPECT_EQ(readAll(file("page.htm")), QByteArray("caf\xE9\r\n"));
        EXPECT_TRUE(form->isModified());
        EXPECT_EQ(scripted->messages.last().text, lex::message(3015));

        scripted->answers = {dialogs::Answer::No};
        EXPECT_TRUE(form->SaveDocument(false));
        EXPECT_EQ(readAll(file("page.htm")), QByteArray("caf\xE9\r\n&#937;\r\n")) << "the last line ends with a break, as the file's did";
    }
    writeAll(file("page.htm"), "caf\xE9\r\n");
    auto form = open("page.htm");
    form->ColorMemo->moveCursor(QTextCursor::End);
    form->ColorMemo->insertPlainText(QStringLiteral("\u03A9"));
    scripted->answers = {dialogs::Answer::Yes};
    EXPECT_TRUE(form->SaveDocument(false));
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("caf\xC3\xA9\r\n\xCE\xA9\r\n"));
    EXPECT_EQ(form->File.format().encoding, TextEncoding::Utf8);
}

// A style sheet or script file gets its language's escapes, not references:
// the question must offer what the answer writes.
TEST_F(EditWinTest, UnstorableCharactersInStyleSheetsAndScriptsAskForEscapes)
{
    const struct {
        const char *name;
        int question;
        QByteArray saved;
    } cases[] = {
        {"style.css", 3520, "p{content:'caf\xE9\\3a9 '}\r\n"},
        {"code.js", 3521, "p{content:'caf\xE9\\u03a9'}\r\n"},
        {"page.htm", 3015, "p{content:'caf\xE9&#937;'}\r\n"},
    };
    for (const auto &c : cases) {
        writeAll(file(c.name), "p{content:'caf\xE9'}\r\n");
        auto form = open(c.name);
        QTextCursor at(form->ColorMemo->document());
        at.setPosition(15);
        form->ColorMemo->setTextCursor(at);
        form->ColorMemo->insertPlainText(QStringLiteral("\u03A9"));
        scripted->answers = {dialogs::Answer::No};
        EXPECT_TRUE(form->SaveDocument(false)) << c.name;
        ASSERT_FALSE(scripted->messages.isEmpty());
        EXPECT_EQ(scripted->messages.last().text, lex::message(c.question)) << c.name;
        EXPECT_EQ(readAll(file(c.name)), c.saved) << c.name;
    }
}

// While the save asks, a command from another program (or a plug-in) may
// change the text: the file then holds the text as it stood at the question,
// and the change after it must still count as unsaved.
TEST_F(EditWinTest, TextChangedWhileTheSaveAsksStaysModified)
{
    writeAll(file("page.htm"), "caf\xE9\r\n");
    auto form = open("page.htm");
    form->ColorMemo->moveCursor(QTextCursor::End);
    form->ColorMemo->insertPlainText(QStringLiteral("\u03A9"));
    scripted->onMessage = [&](const dialogs::RecordedMessage &) { form->ColorMemo->insertPlainText(QStringLiteral(" late")); };
    scripted->answers = {dialogs::Answer::No};
    EXPECT_TRUE(form->SaveDocument(false));
    scripted->onMessage = nullptr;
    ASSERT_EQ(scripted->messages.last().text, lex::message(3015));
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("caf\xE9\r\n&#937;\r\n"));
    EXPECT_TRUE(form->isModified()) << "\" late\" is in no file";
    scripted->answers = {dialogs::Answer::No};
    EXPECT_TRUE(form->SaveDocument(false));
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("caf\xE9\r\n&#937; late\r\n"));
    EXPECT_FALSE(form->isModified());

    // Closed with Yes: the window stays while a change is in no file.
    form->ColorMemo->insertPlainText(QStringLiteral("!"));
    scripted->onMessage = [&](const dialogs::RecordedMessage &m) {
        if (m.text == lex::message(3015))
            form->ColorMemo->insertPlainText(QStringLiteral("?"));
    };
    scripted->answers = {dialogs::Answer::Yes, dialogs::Answer::No};
    EXPECT_FALSE(form->close());
    scripted->onMessage = nullptr;
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("caf\xE9\r\n&#937; late!\r\n"));
    EXPECT_TRUE(form->isModified());
    form->ColorMemo->document()->setModified(false);
}

TEST_F(EditWinTest, FailedSaveKeepsTheOriginalAndTheEditsAndSaysWhy)
{
    writeAll(file("page.htm"), "original");
    auto form = open("page.htm");
    form->ColorMemo->insertPlainText(QStringLiteral("changed "));
    filefaults::failNext(filefaults::Step::Write, ENOSPC);
    EXPECT_FALSE(form->SaveDocument(false));
    filefaults::clear();
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("original"));
    EXPECT_TRUE(form->isModified());
    ASSERT_FALSE(scripted->messages.isEmpty());
    EXPECT_EQ(scripted->messages.last().kind, dialogs::Kind::Error);
    EXPECT_EQ(scripted->messages.last().text, file("page.htm") + u'\n' + lex::message(3018) + u'\n' + lex::message(3021));
}

TEST_F(EditWinTest, FailedLoadSaysWhy)
{
    TEditForm form(&host);
    QString error;
    EXPECT_FALSE(form.LoadFile(file("missing.htm"), &error));
    EXPECT_EQ(error, lex::message(3025));
}

TEST_F(EditWinTest, SavingAFileWhoseFolderVanishedAsksForANewName)
{
    const QString folder = file("gone");
    QDir().mkpath(folder);
    writeAll(folder + QStringLiteral("/page.htm"), "x");
    auto form = std::make_unique<TEditForm>(&host);
    form->LoadFile(folder + QStringLiteral("/page.htm"));
    QDir(folder).removeRecursively();
    form->ColorMemo->insertPlainText(QStringLiteral("y"));
    EXPECT_FALSE(form->SaveDocument(false));
    EXPECT_EQ(scripted->saveRequests.size(), 1) << "the vanished file gets the save dialog";
    EXPECT_TRUE(form->isModified());
}

TEST_F(EditWinTest, ExtensionRuleFollowsTheChosenType)
{
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/page.HTM"), QStringLiteral("*.htm;*.css"), 0), QStringLiteral("/w/page.htm"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/page.h"), QStringLiteral("*.htm;*.css"), 0), QStringLiteral("/w/page.htm"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/page.html"), QStringLiteral("*.htm;*.css"), 0), QStringLiteral("/w/page.html"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/page"), QStringLiteral("*.htm;*.css"), 0), QStringLiteral("/w/page"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/s.CSS"), QStringLiteral("*.htm;*.css"), 1), QStringLiteral("/w/s.css"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/s.x"), QStringLiteral("*.htm;*.css"), 5), QStringLiteral("/w/s.x"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w.d/page"), QStringLiteral("*.htm"), 0), QStringLiteral("/w.d/page"));
}

TEST_F(EditWinTest, SaveAsTakesTheNameTheRuleGives)
{
    TEditForm form(&host);
    form.setWindowTitle(lex::caption(1039));
    form.ColorMemo->setPlainText(QStringLiteral("<p>new</p>"));
    scripted->fileAnswers.push_back(dialogs::FileResult{file("index.HTM"), 1});
    ASSERT_TRUE(form.SaveDocument(false));
    EXPECT_EQ(scripted->saveRequests.last().fileName, lex::caption(1039));
    EXPECT_EQ(form.FileName, QStringLiteral("index.htm"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("index.htm"));
    EXPECT_EQ(host.recent, QStringList{file("index.htm")});
    EXPECT_EQ(readAll(file("index.htm")), QByteArray("<p>new</p>\r\n")) << "new documents are Windows-1252 with CR LF";
}

// The window may be closed while one of its save's questions waits (here
// whether to replace the file the type's extension names): nothing of it is
// touched afterwards and nothing is written.
TEST_F(EditWinTest, AWindowClosedWhileItsSaveAsksWritesNothing)
{
    writeAll(file("page.htm"), "someone else's page");
    auto *form = new TEditForm(&host);
    const QPointer<TEditForm> alive(form);
    form->ColorMemo->insertPlainText(QStringLiteral("mine"));
    scripted->fileAnswers.push_back(dialogs::FileResult{file("page.h"), 1});
    scripted->answers.push_back(dialogs::Answer::Yes);
    scripted->onMessage = [&](const dialogs::RecordedMessage &) {
        if (!alive)
            return;
        alive->deleteLater();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    EXPECT_FALSE(form->SaveDocument(true));
    scripted->onMessage = nullptr;
    EXPECT_TRUE(alive.isNull());
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("someone else's page"));
    EXPECT_TRUE(host.recent.isEmpty());
    delete alive.data();
}

TEST_F(EditWinTest, ANameChangedByTheTypeDoesNotReplaceAnotherFileUnasked)
{
    writeAll(file("page.htm"), "someone else's page");
    TEditForm form(&host);
    form.ColorMemo->insertPlainText(QStringLiteral("mine"));
    // page.h becomes page.htm, which the dialog never asked about.
    scripted->fileAnswers.push_back(dialogs::FileResult{file("page.h"), 1});
    scripted->answers.push_back(dialogs::Answer::No);
    EXPECT_FALSE(form.SaveDocument(true));
    EXPECT_EQ(scripted->messages.last().text, file("page.htm") + u'\n' + lex::message(3020));
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("someone else's page"));
    EXPECT_TRUE(form.isModified());
    EXPECT_TRUE(host.recent.isEmpty());

    scripted->fileAnswers.push_back(dialogs::FileResult{file("page.h"), 1});
    scripted->answers.push_back(dialogs::Answer::Yes);
    EXPECT_TRUE(form.SaveDocument(true));
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("mine\r\n"));
    // The name the user chose in the dialog is not asked about again.
    const qsizetype asked = scripted->messages.size();
    form.ColorMemo->setPlainText(QStringLiteral("again"));
    scripted->fileAnswers.push_back(dialogs::FileResult{file("page.htm"), 1});
    EXPECT_TRUE(form.SaveDocument(true));
    EXPECT_EQ(scripted->messages.size(), asked);
}

// Picking an existing file in the dialog (which asked to replace it) saves
// into that very file: under the type .html, index.htm is not turned into a
// second file index.html beside the stale one.
TEST_F(EditWinTest, SaveAsIntoAnExistingFileKeepsItsName)
{
    writeAll(file("index.htm"), "old");
    writeAll(file("page.HTM"), "old too");
    host.extensionList = QStringLiteral("*.html;*.htm");
    TEditForm form(&host);
    ASSERT_TRUE(form.LoadFile(file("index.htm")));
    form.ColorMemo->setPlainText(QStringLiteral("new"));
    scripted->fileAnswers.push_back(dialogs::FileResult{file("index.htm"), 1});
    ASSERT_TRUE(form.SaveDocument(true));
    EXPECT_EQ(form.FileName, QStringLiteral("index.htm"));
    EXPECT_EQ(readAll(file("index.htm")), QByteArray("new"));
    EXPECT_FALSE(QFileInfo::exists(file("index.html")));
    EXPECT_TRUE(scripted->messages.isEmpty());

    // The same for a name the type would only re-case.
    host.selectedFilter = 1;
    scripted->fileAnswers.push_back(dialogs::FileResult{file("page.HTM"), 2});
    ASSERT_TRUE(form.SaveDocument(true));
    EXPECT_EQ(form.FileName, QStringLiteral("page.HTM"));
    EXPECT_EQ(readAll(file("page.HTM")), QByteArray("new"));
    EXPECT_FALSE(QFileInfo::exists(file("page.htm")));

    // A name that names no file yet still follows the type.
    scripted->fileAnswers.push_back(dialogs::FileResult{file("other.h"), 2});
    ASSERT_TRUE(form.SaveDocument(true));
    EXPECT_EQ(form.FileName, QStringLiteral("other.htm"));
}

TEST_F(EditWinTest, CloseQuestionAnswers)
{
    {
        TEditForm untouched(&host);
        EXPECT_TRUE(untouched.close());
        EXPECT_TRUE(scripted->messages.isEmpty());
    }
    TEditForm form(&host);
    form.setWindowTitle(lex::caption(1039));
    form.ColorMemo->insertPlainText(QStringLiteral("x"));
    scripted->answers = {dialogs::Answer::Cancel};
    EXPECT_FALSE(form.close());
    EXPECT_EQ(scripted->messages.last().text, lex::message(3004) + lex::caption(1039) + lex::message(3005));
    EXPECT_EQ(scripted->messages.last().buttons, dialogs::Buttons::YesNoCancel);
    scripted->answers = {dialogs::Answer::Yes}; // then the save dialog is cancelled
    EXPECT_FALSE(form.close());
    EXPECT_EQ(scripted->saveRequests.size(), 1);
    scripted->answers = {dialogs::Answer::No};
    EXPECT_TRUE(form.close());
}

TEST_F(EditWinTest, EnterShortcutsInsertTagsOnTheSourcePageOnly)
{
    TEditForm form(&host);
    host.active = &form;
    form.ColorMemo->setPlainText(QStringLiteral("ab"));
    form.ColorMemo->moveCursor(QTextCursor::End);
    QTest::keyClick(form.ColorMemo, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(form.ColorMemo, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(form.ColorMemo, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(form.ColorMemo->toPlainText(), QStringLiteral("ab<br>\n<p>\n\n"));
    form.BtnPreviewClick();
    const QString before = form.ColorMemo->toPlainText();
    QTest::keyClick(form.ColorMemo, Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(form.ColorMemo->toPlainText(), before);
}

// Shift+Enter and Ctrl+Enter are one key press: one undo takes back the tag
// and the line break together, and redo brings both back.
TEST_F(EditWinTest, EnterShortcutIsOneUndoStep)
{
    TEditForm form(&host);
    host.active = &form;
    form.ColorMemo->setPlainText(QStringLiteral("ab"));
    form.ColorMemo->moveCursor(QTextCursor::End);
    QTest::keyClick(form.ColorMemo, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(form.ColorMemo, Qt::Key_C);
    QTest::keyClick(form.ColorMemo, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(form.ColorMemo->toPlainText(), QStringLiteral("ab<br>\nc<p>\n"));
    form.ColorMemo->undo();
    EXPECT_EQ(form.ColorMemo->toPlainText(), QStringLiteral("ab<br>\nc"));
    form.ColorMemo->undo();
    EXPECT_EQ(form.ColorMemo->toPlainText(), QStringLiteral("ab<br>\n"));
    form.ColorMemo->undo();
    EXPECT_EQ(form.ColorMemo->toPlainText(), QStringLiteral("ab"));
    EXPECT_FALSE(form.ColorMemo->canUndo());
    EXPECT_FALSE(form.isModified()) << "undone to the loaded text";
    form.ColorMemo->redo();
    EXPECT_EQ(form.ColorMemo->toPlainText(), QStringLiteral("ab<br>\n"));
    EXPECT_EQ(form.ColorMemo->textCursor().position(), 7);
}

TEST_F(EditWinTest, DroppedFilesBecomeLinks)
{
    QDir().mkpath(file("img"));
    writeAll(file("page.htm"), "");
    auto form = open("page.htm");
    form->FileDragLinksDrop({file("img/a.gif"), QStringLiteral("/elsewhere/b.png")});
    EXPECT_EQ(form->ColorMemo->Text(), QStringLiteral("<a href=\"b.png\" target=\"\"></a>\r\n<a href=\"img/a.gif\" target=\"\"></a>\r\n"));
    TEditForm unsaved(&host);
    unsaved.FileDragLinksDrop({file("img/a.gif")});
    EXPECT_EQ(unsaved.ColorMemo->Text(), QStringLiteral("<a href=\"a.gif\" target=\"\"></a>\r\n"));
    TEditForm odd(&host);
    odd.FileDragLinksDrop({QStringLiteral("/x/say \"hi\" & go.htm")});
    EXPECT_EQ(odd.ColorMemo->Text(), QStringLiteral("<a href=\"say %22hi%22 &amp; go.htm\" target=\"\"></a>\r\n"));
}

// A page at the top of a file system: its folder is "/" itself, so files
// dropped from below it get relative links, as from any other folder.
TEST_F(EditWinTest, DroppedFilesBecomeRelativeLinksForAPageAtTheRoot)
{
    DocumentFile atRoot;
    atRoot.adopt(QStringLiteral("/page.htm"), TextFormat{});
    EXPECT_EQ(atRoot.folder(), QStringLiteral("/"));
    TEditForm form(&host);
    form.ShowRecovered(std::move(atRoot), QString(), QString());
    EXPECT_EQ(form.FilePath, QStringLiteral("/"));
    EXPECT_EQ(form.fullPath(), QStringLiteral("/page.htm"));
    form.FileDragLinksDrop({QStringLiteral("/img/a.gif")});
    EXPECT_EQ(form.ColorMemo->Text(), QStringLiteral("<a href=\"img/a.gif\" target=\"\"></a>\r\n"));
}

TEST_F(EditWinTest, FilesDroppedOnAnyPageBecomeLinksInTheEditor)
{
    QDir().mkpath(file("img"));
    writeAll(file("page.htm"), "");
    auto form = open("page.htm");
    const std::pair<void (TEditForm::*)(), QWidget *> pages[] = {
        {&TEditForm::BtnPreviewClick, form->HTMLViewer->viewport()},
        {&TEditForm::BtnInfoClick, form->Pages->widget(2)},
        {&TEditForm::BtnLinksClick, form->TreeView->viewport()},
        {&TEditForm::BtnLinksClick, form->TagMemo->viewport()},
    };
    int dropped = 0;
    for (const auto &[show, target] : pages) {
        (form.get()->*show)();
        EXPECT_TRUE(target->acceptDrops());
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(file("img/a.gif"))});
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        EXPECT_TRUE(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        ++dropped;
        EXPECT_TRUE(form->sourceShown()) << "the links show where they went";
        EXPECT_EQ(form->ColorMemo->Text().count(QStringLiteral("<a href=\"img/a.gif\" target=\"\"></a>\r\n")), dropped);
    }
}

// A link to a dropped file leaves the file where it is: the drop is taken as
// a copy even when the file manager proposes moving (Shift held), or the
// manager would take the file as moved away.
TEST_F(EditWinTest, DroppedFilesAreLinkedNeverTakenAsMoved)
{
    QDir().mkpath(file("img"));
    writeAll(file("page.htm"), "");
    writeAll(file("img/a.gif"), "GIF89a");
    auto form = open("page.htm");
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file("img/a.gif"))});
    QWidget *target = form->ColorMemo->viewport();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction | Qt::LinkAction;
    QDragEnterEvent enter(QPoint(5, 5), offered, &mime, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(enter.proposedAction(), Qt::MoveAction) << "the manager proposes a move";
    QApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), offered, &mime, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(target, &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    EXPECT_EQ(form->ColorMemo->Text(), QStringLiteral("<a href=\"img/a.gif\" target=\"\"></a>\r\n"));
    // A source that offers nothing but a move gets no link and keeps its file.
    QDropEvent moveOnly(QPointF(5, 5), Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
    EXPECT_EQ(form->ColorMemo->Text().count(u'\n'), 1);
}

// A dropped file whose name is no UTF-8 (Latin-1 from an old archive) gets
// no link to the name as read, which would lead nowhere; the user is told
// which file it was. The other files of the drop are linked.
TEST_F(EditWinTest, DroppedFileWithANameThatIsNoUtf8IsNamedNotLinked)
{
    writeAll(file("page.htm"), "");
    writeAll(file("b.gif"), "GIF89a");
    auto form = open("page.htm");
    QMimeData mime;
    mime.setUrls({QUrl::fromEncoded(QUrl::fromLocalFile(dir.path()).toEncoded() + "/caf%E9.gif"), QUrl::fromLocalFile(file("b.gif"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->ColorMemo->viewport(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->ColorMemo->viewport(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(form->ColorMemo->Text(), QStringLiteral("<a href=\"b.gif\" target=\"\"></a>\r\n"));
    EXPECT_TRUE(scripted->messages.isEmpty()) << "not while the drop lasts";
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3384) + u'\n' + dir.path() + QStringLiteral("/café.gif"));

    // Dozens of them from an old archive: the box names the first and counts
    // the rest, or it grows past the screen with its button.
    QList<QUrl> many;
    QStringList shown;
    for (int i = 10; i < 40; ++i) {
        many.append(QUrl::fromEncoded(QUrl::fromLocalFile(dir.path()).toEncoded() + "/%E4rger" + QByteArray::number(i) + ".gif"));
        shown.append(dir.path() + QStringLiteral("/ärger%1.gif").arg(i));
    }
    mime.setUrls(many);
    QDragEnterEvent enterMany(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->ColorMemo->viewport(), &enterMany);
    QDropEvent dropMany(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form->ColorMemo->viewport(), &dropMany);
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(scripted->messages.size(), 2);
    EXPECT_EQ(scripted->messages[1].text, lex::message(3384) + u'\n' + shown.mid(0, kMaxNamesInBox - 1).join(u'\n') + u'\n' +
                                              lex::message(3410) + u' ' + QString::number(shown.size() - (kMaxNamesInBox - 1)));
}

TEST_F(EditWinTest, CaretPositionGoesToTheStatusBar)
{
    TEditForm form(&host);
    form.ColorMemo->setPlainText(QStringLiteral("a\nb\nc"));
    form.ColorMemo->moveCursor(QTextCursor::Down);
    EXPECT_EQ(host.status[1], lex::caption(1051) + QStringLiteral(" 2/3"));
    EXPECT_EQ(caretPositionText(QStringLiteral("Zeile"), 9, 120), QStringLiteral("Zeile 10/120"));
}

TEST_F(EditWinTest, InfoPageShowsTheFileAndItsWriteProtection)
{
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    writeAll(file("page.htm"), "12345");
    auto form = open("page.htm");
    form->BtnInfoClick();
    EXPECT_EQ(form->Pages->currentIndex(), 2);
    EXPECT_EQ(form->L_FilePath->text(), dir.path() + u'/');
    EXPECT_EQ(form->L_FileSize->text(), QStringLiteral("5"));
    EXPECT_FALSE(form->L_Changed->text().isEmpty());
    EXPECT_FALSE(form->Cb_ReadOnly->isChecked());
    EXPECT_EQ(form->L_LineBreaks->text(), lineBreakName(LineBreak::CrLf));
    QFile::setPermissions(file("page.htm"), QFileDevice::ReadOwner | QFileDevice::ReadOther | QFileDevice::ReadGroup);
    {
        Unprivileged asUser;
        form->TabInfosEnter();
        EXPECT_TRUE(form->Cb_ReadOnly->isChecked());
    }
    TEditForm unsaved(&host);
    unsaved.BtnInfoClick();
    EXPECT_EQ(unsaved.L_FileSize->text(), QString());
    EXPECT_FALSE(unsaved.Cb_ReadOnly->isChecked());
}

// "[*]" in a title is the toolkit's place for the modified mark: a file
// named "neu[*].htm" showed as "neu.htm" in its title bar.
TEST_F(EditWinTest, TitleShowsAFileNamedWithTheModifiedMarkAsNamed)
{
    writeAll(file("neu[*].htm"), "x");
    auto form = open("neu[*].htm");
    form->winId();
    ASSERT_NE(form->windowHandle(), nullptr);
    EXPECT_EQ(form->windowHandle()->title(), QStringLiteral("neu[*].htm"));
    EXPECT_EQ(form->caption(), QStringLiteral("neu[*].htm"));
    form->ColorMemo->document()->setModified(true);
    scripted->answers = {dialogs::Answer::Cancel};
    form->close();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3004) + QStringLiteral("neu[*].htm") + lex::message(3005));
}

// A folder named like markup ("<b>neu") is shown as named, not taken for
// bold text: the page shows where the file really lies.
TEST_F(EditWinTest, InfoPageShowsAFolderNamedLikeMarkupAsItIs)
{
    const QString folder = dir.filePath(QStringLiteral("<b>neu"));
    ASSERT_TRUE(QDir().mkdir(folder));
    writeAll(folder + QStringLiteral("/page.htm"), "x");
    auto form = std::make_unique<TEditForm>(&host);
    ASSERT_TRUE(form->LoadFile(folder + QStringLiteral("/page.htm")));
    form->BtnInfoClick();
    EXPECT_EQ(form->L_FilePath->text(), folder + u'/');
    QLabel plain(folder + u'/');
    plain.setTextFormat(Qt::PlainText);
    plain.setFont(form->L_FilePath->font());
    EXPECT_EQ(form->L_FilePath->sizeHint(), plain.sizeHint()) << "the name's brackets are shown, not read as markup";
}

// The date of the last change reads in the language of the other texts, also
// on a system set to English (month names, order of day and month).
TEST_F(EditWinTest, InfoPageShowsTheDateInGermanWhateverTheSystemLanguage)
{
    const QLocale system;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    writeAll(file("page.htm"), "12345");
    {
        QFile f(file("page.htm"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(QDateTime(QDate(2026, 12, 9), QTime(10, 20, 30)), QFileDevice::FileModificationTime));
    }
    auto form = open("page.htm");
    form->BtnInfoClick();
    const QString shown = form->L_Changed->text();
    QLocale::setDefault(system);
    EXPECT_TRUE(shown.startsWith(QStringLiteral("09.12.26 10:20:30"))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("Dec")) || shown.contains(QStringLiteral("AM"))) << shown.toStdString();
}

// Saved or reloaded while the Info page is shown, the page shows the file
// as it is now, not as it was when the page was opened.
TEST_F(EditWinTest, InfoPageFollowsASaveAndAReload)
{
    TEditForm form(&host);
    form.setWindowTitle(lex::caption(1039));
    form.ColorMemo->setPlainText(QStringLiteral("<p>new</p>"));
    form.BtnInfoClick();
    EXPECT_EQ(form.L_FileSize->text(), QString());
    scripted->fileAnswers.push_back(dialogs::FileResult{file("saved.htm"), 1});
    ASSERT_TRUE(form.SaveDocument(false));
    EXPECT_EQ(form.L_FilePath->text(), dir.path() + u'/');
    EXPECT_EQ(form.L_FileSize->text(), QStringLiteral("12"));
    writeAll(file("saved.htm"), "<p>longer text</p>\n");
    ASSERT_TRUE(form.LoadFile(file("saved.htm")));
    EXPECT_EQ(form.L_FileSize->text(), QStringLiteral("19"));
    EXPECT_EQ(form.L_LineBreaks->text(), lineBreakName(LineBreak::Lf));
}

// A file reloaded while the Preview or Links page is shown (after another
// program changed it) shows its new text there, not the old one.
TEST_F(EditWinTest, PreviewAndLinksPagesFollowAReload)
{
    programDir.write(QStringLiteral("resscan.mvt"), "[Resources]\r\nLinks=<a\r\n");
    writeAll(file("page.htm"), "<p>old text</p><a href=\"old.htm\">x</a>\n");
    auto form = open("page.htm");
    form->BtnPreviewClick();
    ASSERT_TRUE(form->HTMLViewer->toPlainText().contains(QStringLiteral("old text")));
    writeAll(file("page.htm"), "<p>new text</p><a href=\"new.htm\">x</a>\n");
    ASSERT_TRUE(form->LoadFile(file("page.htm")));
    EXPECT_TRUE(form->HTMLViewer->toPlainText().contains(QStringLiteral("new text"))) << form->HTMLViewer->toPlainText().toStdString();

    form->BtnLinksClick();
    ASSERT_EQ(form->TreeView->topLevelItemCount(), 1);
    ASSERT_EQ(form->TreeView->topLevelItem(0)->childCount(), 1);
    writeAll(file("page.htm"), "<p>third</p><a href=\"third.htm\">x</a>\n");
    ASSERT_TRUE(form->LoadFile(file("page.htm")));
    ASSERT_EQ(form->TreeView->topLevelItemCount(), 1);
    ASSERT_EQ(form->TreeView->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(form->TreeView->topLevelItem(0)->child(0)->text(0), QStringLiteral("<a href=\"third.htm\">"));
}

// After another program changed the file, the reloaded text shows at the
// place the user was reading, with nothing to undo into the old text.
TEST_F(EditWinTest, AReloadKeepsTheCaretAndTheScrolledPlace)
{
    QByteArray lines;
    for (int i = 0; i < 300; ++i)
        lines += "<p>line " + QByteArray::number(i) + "</p>\n";
    writeAll(file("page.htm"), lines);
    auto form = open("page.htm");
    form->resize(500, 300);
    form->show();
    TColorMemo *memo = form->ColorMemo;
    memo->setSelStart(memo->lineStart(150) + 4);
    memo->scrollCaret();
    const int top = memo->firstVisibleLine();
    ASSERT_GT(top, 100);

    writeAll(file("page.htm"), "<p>inserted</p>\n" + lines);
    ASSERT_TRUE(form->LoadFile(file("page.htm")));
    EXPECT_EQ(memo->caretLine(), 150);
    EXPECT_EQ(memo->caretColumn(), 4);
    EXPECT_EQ(memo->firstVisibleLine(), top);
    EXPECT_FALSE(form->isModified());
    EXPECT_FALSE(memo->canUndo()) << "undo would mix the old text into the new";

    // A shorter text: the caret stands at the end of what is left.
    writeAll(file("page.htm"), "<p>a</p>\n<b>");
    ASSERT_TRUE(form->LoadFile(file("page.htm")));
    EXPECT_EQ(memo->caretLine(), 1);
    EXPECT_EQ(memo->caretColumn(), 3);
    EXPECT_EQ(memo->firstVisibleLine(), 0);
    // Never between the halves of a character outside the basic plane.
    memo->setSelStart(2);
    writeAll(file("page.htm"), "a\xF0\x9F\x98\x80");
    ASSERT_TRUE(form->LoadFile(file("page.htm")));
    EXPECT_EQ(memo->caretColumn(), 1);

    // A page written as one long line: the caret far to the right stays in view.
    const QByteArray longLine = "<p>" + QByteArray(30000, 'w') + "</p>";
    writeAll(file("page.htm"), longLine);
    ASSERT_TRUE(form->LoadFile(file("page.htm")));
    memo->setSelStart(25000);
    memo->scrollCaret();
    const int left = memo->horizontalScrollBar()->value();
    ASSERT_GT(left, 1000);
    writeAll(file("page.htm"), "<b>" + longLine);
    ASSERT_TRUE(form->LoadFile(file("page.htm")));
    EXPECT_EQ(memo->caretColumn(), 25000);
    EXPECT_EQ(memo->horizontalScrollBar()->value(), left);
}

TEST_F(EditWinTest, LinksPageListsTheTagsOfEachKind)
{
    programDir.write(QStringLiteral("resscan.mvt"), "[Resources]\r\nBilder = <img\r\nLinks=<a\r\nscript\r\nLeer=<nothing\r\n");
    TEditForm form(&host);
    form.ColorMemo->setPlainText(
        QStringLiteral("<IMG WIDTH=5><img>\n<a href=\"x\">x</a> <a  href=\"x\">x</a>\n<script src=\"s.js\"></script>"));
    form.BtnLinksClick();
    ASSERT_EQ(form.TreeView->topLevelItemCount(), 3);
    EXPECT_EQ(form.TreeView->topLevelItem(0)->text(0), QStringLiteral("Bilder"));
    ASSERT_EQ(form.TreeView->topLevelItem(0)->childCount(), 1);
    EXPECT_EQ(form.TreeView->topLevelItem(0)->child(0)->text(0), QStringLiteral("<IMG WIDTH=5>"));
    EXPECT_EQ(form.TreeView->topLevelItem(1)->childCount(), 2) << "the same tag twice is listed twice";
    EXPECT_EQ(form.TreeView->topLevelItem(2)->text(0), QStringLiteral("script"));
    EXPECT_FALSE(form.TreeView->topLevelItem(0)->isExpanded());
    form.TreeView->setCurrentItem(form.TreeView->topLevelItem(0)->child(0));
    EXPECT_EQ(form.TagMemo->toPlainText(), QStringLiteral("<IMG WIDTH=5>"));
    form.TreeView->setCurrentItem(form.TreeView->topLevelItem(1));
    EXPECT_EQ(form.TagMemo->toPlainText(), QString());
}

TEST_F(EditWinTest, LinksPageOfAPageWithTenThousandLinks)
{
    programDir.write(QStringLiteral("resscan.mvt"), "[resources]\r\nLinks=<a\r\nBilder=<img\r\n");
    TEditForm form(&host);
    QString page;
    for (int i = 0; i < 10000; ++i)
        page += QStringLiteral("<a href=\"p%1.htm\" title=\"-> %1\"><img src=\"i%1.gif\"></a>\n").arg(i);
    form.ColorMemo->setPlainText(page);
    form.resize(500, 400);
    form.show();
    form.BtnLinksClick();
    QApplication::processEvents();
    ASSERT_EQ(form.TreeView->topLevelItemCount(), 2);
    ASSERT_EQ(form.TreeView->topLevelItem(0)->childCount(), 10000);
    EXPECT_EQ(form.TreeView->topLevelItem(0)->child(9999)->text(0), QStringLiteral("<a href=\"p9999.htm\" title=\"-> 9999\">"));
    EXPECT_EQ(form.TreeView->topLevelItem(1)->childCount(), 10000);
}

TEST_F(EditWinTest, LinksPageOfTagsHoldingWholePicturesStaysQuick)
{
    programDir.write(QStringLiteral("resscan.mvt"), "[resources]\r\nBilder=<img\r\n");
    TEditForm form(&host);
    const QString tag = QStringLiteral("<img src=\"data:image/png;base64,") + QString(200000, u'A') + QStringLiteral("\">");
    form.ColorMemo->setPlainText(tag + u'\n' + tag + QStringLiteral("\n<img src=\"a.gif\">"));
    form.resize(500, 400);
    form.show();
    form.BtnLinksClick();
    form.TreeView->expandAll();
    QApplication::processEvents();
    QTreeWidgetItem *images = form.TreeView->topLevelItem(0);
    ASSERT_EQ(images->childCount(), 3);
    // Painting a row of megabytes took the window seconds at every hover.
    EXPECT_LT(images->child(0)->text(0).size(), 400);
    EXPECT_TRUE(images->child(0)->text(0).startsWith(QStringLiteral("<img src=\"data:image/png;base64,AAA")));
    EXPECT_EQ(images->child(2)->text(0), QStringLiteral("<img src=\"a.gif\">"));
    form.TreeView->setCurrentItem(images->child(1));
    EXPECT_EQ(form.TagMemo->toPlainText(), tag) << "the memo shows the whole tag";
    form.TreeView->setCurrentItem(images->child(2));
    EXPECT_EQ(form.TagMemo->toPlainText(), QStringLiteral("<img src=\"a.gif\">"));
    form.TreeView->setCurrentItem(images);
    EXPECT_EQ(form.TagMemo->toPlainText(), QString());
}

TEST_F(EditWinTest, TagMemoUnderTheLinksTreeIsDrawnInButtonFace)
{
    programDir.write(QStringLiteral("resscan.mvt"), "[resources]\r\nLinks=<a\r\n");
    TEditForm form(&host);
    form.ColorMemo->setPlainText(QStringLiteral("<a href=\"x.htm\">x</a>"));
    form.resize(500, 400);
    form.show();
    form.BtnLinksClick();
    QApplication::processEvents();
    const QImage shown = form.TagMemo->viewport()->grab().toImage();
    ASSERT_FALSE(shown.isNull());
    EXPECT_EQ(QColor(shown.pixel(shown.width() - 2, shown.height() - 2)).rgb(), form.TagMemo->palette().color(QPalette::Button).rgb())
        << "the memo is not a white edit field but part of the page";
}

TEST(LinksRules, OpenersAndLineBreaks)
{
    EXPECT_EQ(FindResourceTags(QStringLiteral("<img\r\nsrc=\"a\">"), QStringLiteral("<img")), QStringList());
    EXPECT_EQ(FindResourceTags(QStringLiteral("<img\r\n src=\"a\">"), QStringLiteral("<img")),
              QStringList{QStringLiteral("<img src=\"a\">")});
    EXPECT_EQ(FindResourceTags(QStringLiteral("<IMG a>"), QStringLiteral("<IMG")), QStringList());
    EXPECT_EQ(FindResourceTags(QStringLiteral("x y> z>"), QString()), (QStringList{QStringLiteral("<y>"), QStringLiteral("<z>")}));
    EXPECT_EQ(FindResourceTags(QStringLiteral("<img   a    b>"), QStringLiteral("<img")), QStringList{QStringLiteral("<img a b>")});
    EXPECT_EQ(FindResourceTags(QStringLiteral("<img a"), QStringLiteral("<img")), QStringList());
}

// The profile functions hand back a value written in quotes without them:
// "<img" in quotes is the opener <img, not one that never matches.
TEST_F(EditWinTest, QuotedOpenersInTheDataFileLoseTheirQuotes)
{
    programDir.write(QStringLiteral("resscan.mvt"),
                     "[resources]\r\nBilder=\"<img\"\r\nLinks = '<a'\r\nHalb=\"<frame\r\nLeer=\"\"\r\nEins=\"\r\n");
    const QList<ResourceKind> kinds = readResourceKinds(programDir.path() + QStringLiteral("resscan.mvt"));
    ASSERT_EQ(kinds.size(), 5);
    EXPECT_EQ(kinds[0].opener, QStringLiteral("<img"));
    EXPECT_EQ(kinds[1].opener, QStringLiteral("<a"));
    EXPECT_EQ(kinds[2].opener, QStringLiteral("\"<frame")) << "a quote on one side only stays";
    EXPECT_EQ(kinds[3].opener, QString());
    EXPECT_EQ(kinds[4].opener, QStringLiteral("\""));
    TEditForm form(&host);
    form.ColorMemo->setPlainText(QStringLiteral("<img src=\"a.gif\"><a href=\"b.htm\">b</a>"));
    form.BtnLinksClick();
    ASSERT_GE(form.TreeView->topLevelItemCount(), 2);
    EXPECT_EQ(form.TreeView->topLevelItem(0)->text(0), QStringLiteral("Bilder"));
    EXPECT_EQ(form.TreeView->topLevelItem(1)->text(0), QStringLiteral("Links"));
}

// A ">" inside a quoted value (an arrow in an alt text, a comparison in a
// script attribute) does not end the tag; a quote left open does not
// swallow the tags that follow.
TEST(LinksRules, GreaterThanInsideQuotedValues)
{
    EXPECT_EQ(FindResourceTags(QStringLiteral("<img src=\"next.gif\" alt=\"-> weiter\"> Text"), QStringLiteral("<img")),
              QStringList{QStringLiteral("<img src=\"next.gif\" alt=\"-> weiter\">")});
    EXPECT_EQ(FindResourceTags(QStringLiteral("<a href='x.htm' onclick='return a>b'>x</a><a href=y.htm>y</a>"), QStringLiteral("<a")),
              (QStringList{QStringLiteral("<a href='x.htm' onclick='return a>b'>"), QStringLiteral("<a href=y.htm>")}));
    EXPECT_EQ(FindResourceTags(QStringLiteral("<A HREF = \"a>b.htm\"\r\n TARGET=\"_top\">"), QStringLiteral("<a")),
              QStringList{QStringLiteral("<A HREF = \"a>b.htm\" TARGET=\"_top\">")});
    // An apostrophe inside an unquoted value opens no value.
    EXPECT_EQ(FindResourceTags(QStringLiteral("<a href=x.htm title=it's>x</a> <a href=\"y\">"), QStringLiteral("<a")),
              (QStringList{QStringLiteral("<a href=x.htm title=it's>"), QStringLiteral("<a href=\"y\">")}));
    EXPECT_EQ(FindResourceTags(QStringLiteral("<a href=\"x.htm>x</a> <a href=\"y.htm\">y</a>"), QStringLiteral("<a")),
              (QStringList{QStringLiteral("<a href=\"x.htm>"), QStringLiteral("<a href=\"y.htm\">")}));
    EXPECT_EQ(FindResourceTags(QStringLiteral("<img alt=\"a>b"), QStringLiteral("<img")), QStringList{QStringLiteral("<img alt=\"a>")});
}

TEST(Gradient, BandsRunFromBeginToEndColour)
{
    const QColor black(0, 0, 0), white(255, 255, 255);
    EXPECT_EQ(gradientBand(black, white, 0, 255), black);
    EXPECT_EQ(gradientBand(black, white, 254, 255), white);
    EXPECT_EQ(gradientBand(black, white, 1, 3), QColor(128, 128, 128)) << "rounded, not cut";
    EXPECT_EQ(gradientBand(QColor(10, 20, 30), white, 5, 1), QColor(10, 20, 30));
}

TEST_F(EditWinTest, TitleBandRunsFromButtonFaceToHighlightAndKeepsTheNameRight)
{
    TEditForm form(&host);
    form.resize(500, 300);
    form.show();
    QCoreApplication::processEvents();
    TNetGradient *band = form.NetGradient1;
    const QImage shot = band->grab().toImage();
    const QPalette &pal = band->palette();
    EXPECT_EQ(shot.pixelColor(0, shot.height() - 1), pal.color(QPalette::Button)) << "button face at the left";
    EXPECT_EQ(shot.pixelColor(shot.width() - 1, shot.height() - 1), pal.color(QPalette::Highlight)) << "highlight at the right";

    const auto nameLeft = [band] { return band->width() - QFontMetrics(band->font()).horizontalAdvance(band->Caption()) - 20; };
    EXPECT_EQ(band->TextLeft(), nameLeft());
    form.resize(900, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(band->TextLeft(), nameLeft()) << "a resize without a page switch moves the name too";
    form.resize(320, 300);
    QCoreApplication::processEvents();
    EXPECT_EQ(band->TextLeft(), nameLeft());
}

TEST_F(EditWinTest, PreviewTakesPicturesAndStylesFromTheDocumentFolder)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(file("pic.png"));
    writeAll(file("page.htm"), "<p>x</p>");
    auto form = open("page.htm");
    form->BtnPreviewClick();
    const QImage loaded = form->HTMLViewer->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic.png"))).value<QImage>();
    EXPECT_EQ(loaded.size(), QSize(3, 2));
    EXPECT_EQ(form->HTMLViewer->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("missing.png"))).value<QImage>(),
              PreviewBrowser::missingPicture());
    writeAll(file("site.css"), "p { color: red }");
    EXPECT_EQ(form->HTMLViewer->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("site.css"))).toString(),
              QStringLiteral("p { color: red }"));
    // Names with '#' or blanks, as the page escapes them, and file URLs.
    picture.save(file("neu#1 a.png"));
    EXPECT_EQ(form->HTMLViewer->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("neu%231%20a.png"))).value<QImage>().size(),
              QSize(3, 2));
    EXPECT_EQ(form->HTMLViewer->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(file("pic.png"))).value<QImage>().size(),
              QSize(3, 2));
    writeAll(file("a#b.css"), "p { color: blue }");
    EXPECT_EQ(form->HTMLViewer->loadResource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("a%23b.css"))).toString(),
              QStringLiteral("p { color: blue }"));
    TEditForm unsaved(&host);
    unsaved.BtnPreviewClick();
    EXPECT_EQ(unsaved.HTMLViewer->loadResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic.png"))).value<QImage>(),
              PreviewBrowser::missingPicture());
}

// Laying out a page of some megabytes kept the window frozen for minutes
// with no way to stop it; so large a text is not rendered, the preview
// says why. A smaller page shows as before.
TEST_F(EditWinTest, PreviewOfAHugeTextSaysWhyInsteadOfFreezing)
{
    TEditForm form(&host);
    const QString line = QStringLiteral("<p>Zeile</p>\n");
    QString huge;
    huge.reserve(PreviewBrowser::kLargestPage + line.size());
    while (huge.size() <= PreviewBrowser::kLargestPage)
        huge += line;
    form.ColorMemo->setPlainText(huge);
    form.BtnPreviewClick();
    EXPECT_EQ(form.HTMLViewer->toPlainText(), lex::message(3352));

    form.ColorMemo->setPlainText(QStringLiteral("<p>klein</p>"));
    form.BtnPreviewClick();
    EXPECT_EQ(form.HTMLViewer->toPlainText(), QStringLiteral("klein"));
}

// Each level of nested tables doubled the time to lay the page out: a page
// with twenty unclosed tables froze the window for minutes.
TEST_F(EditWinTest, PreviewOfTablesNestedTooDeepSaysWhyInsteadOfFreezing)
{
    const auto nested = [](int depth, bool closed) {
        QString page;
        for (int i = 0; i < depth; ++i)
            page += QStringLiteral("<TABLE border=1><tr><td>");
        page += QStringLiteral("innen");
        for (int i = 0; closed && i < depth; ++i)
            page += QStringLiteral("</td></tr></table >");
        return page;
    };
    EXPECT_EQ(tableDepth(nested(3, true) + nested(4, true)), 4) << "tables side by side do not add up";
    EXPECT_EQ(tableDepth(QStringLiteral("<!-- <table><table> --><table><tablex><table/>")), 2);
    EXPECT_EQ(tableDepth(QStringLiteral("</table></table><table>")), 1) << "stray end tags go no lower than none";

    TEditForm form(&host);
    form.ColorMemo->setPlainText(nested(PreviewBrowser::kDeepestTables + 2, false));
    form.BtnPreviewClick();
    EXPECT_EQ(form.HTMLViewer->toPlainText(), lex::message(3560));
    form.ColorMemo->setPlainText(nested(PreviewBrowser::kDeepestTables + 1, true));
    form.BtnPreviewClick();
    EXPECT_EQ(form.HTMLViewer->toPlainText(), lex::message(3560));

    form.ColorMemo->setPlainText(nested(4, true));
    form.BtnPreviewClick();
    EXPECT_TRUE(form.HTMLViewer->toPlainText().contains(QStringLiteral("innen")));
}

// A page of frames showed as an empty preview: the renderer lays out no
// frames. The preview lists the frames' pages instead, each opened by a click.
TEST_F(EditWinTest, PreviewOfAPageOfFramesListsTheFramesToOpen)
{
    writeAll(file("menu.htm"), "<p>Menu</p>");
    writeAll(file("main page.htm"), "<p>Inhalt</p>");
    writeAll(file("page.htm"), "<html><head><title>T</title></head><!-- <frameset> -->\n<FRAMESET cols=\"20%,*\">"
                               "<frame name=m src=\"menu.htm\"><FRAME SRC='main page.htm' name=\"c\"><frame name=leer>"
                               "<noframes><body>Ohne Frames</body></noframes></FRAMESET></html>");
    auto form = open("page.htm");
    form->BtnPreviewClick();
    const QString shown = form->HTMLViewer->toPlainText();
    EXPECT_TRUE(shown.startsWith(lex::message(3370))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("menu.htm")));
    EXPECT_TRUE(shown.contains(QStringLiteral("main page.htm")));
    const QString html = form->HTMLViewer->toHtml();
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"menu.htm\""))) << html.toStdString();
    Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QStringLiteral("main%20page.htm")));
    EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("Inhalt"));

    EXPECT_EQ(
        framePages(QStringLiteral("<frameset>\r\n<frame\r\nsrc = a.htm><frame src=><frame name=x src=\"\"><frame data-src=y src=b.htm "
                                  "/><frame src='c d.htm'></frameset>")),
        (QStringList{QStringLiteral("a.htm"), QStringLiteral("b.htm"), QStringLiteral("c d.htm")}));
    EXPECT_TRUE(framePages(QStringLiteral("<frame src=a.htm><framesets>")).isEmpty()) << "no frameset, no frames";
    EXPECT_TRUE(framePages(QStringLiteral("<frameset><!-- <frame src=a.htm> -->")).isEmpty());

    // A page that only mentions frames in its text or a comment is shown as it is.
    form->ColorMemo->setPlainText(QStringLiteral("<!-- <frameset> --><p>&lt;frameset&gt; erklärt</p>"));
    form->BtnPreviewClick();
    EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("<frameset> erklärt"));
}

// A local page opened by a link in the preview shows its own pictures, not
// those of the same name beside the document.
TEST_F(EditWinTest, APageOpenedInThePreviewTakesPicturesFromItsOwnFolder)
{
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(file("pic.png"));
    QDir().mkpath(file("sub"));
    QImage other(5, 4, QImage::Format_RGB32);
    other.fill(Qt::blue);
    other.save(file("sub/pic.png"));
    other.save(file("sub/only.png"));
    writeAll(file("sub/next.htm"), "<p>next</p><img src=\"pic.png\">");
    writeAll(file("page.htm"), "<a href=\"sub/next.htm\">next</a>");
    auto form = open("page.htm");
    form->BtnPreviewClick();
    Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QStringLiteral("sub/next.htm")));
    EXPECT_TRUE(form->HTMLViewer->toPlainText().startsWith(QStringLiteral("next")));
    auto pictureSize = [&form](const char *address) {
        return form->HTMLViewer->loadResource(QTextDocument::ImageResource, QUrl(QLatin1String(address))).value<QImage>().size();
    };
    EXPECT_EQ(pictureSize("pic.png"), QSize(5, 4));
    EXPECT_EQ(pictureSize("only.png"), QSize(5, 4));
    // Shown again, the document's own folder counts once more.
    form->BtnPreviewClick();
    EXPECT_EQ(pictureSize("pic.png"), QSize(3, 2));
}

// Links to pictures, documents and other files that are no page open with
// the desktop's program for them; shown as a page they were a screen of
// garbled bytes. Addresses on the web open in the browser.
TEST_F(EditWinTest, PreviewLinksToFilesThatAreNoPagesOpenWithTheirProgram)
{
    shell::RecordingShellGuard desktop;
    QImage picture(3, 2, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(file("big.png"));
    writeAll(file("report.pdf"), "%PDF-1.4 \x01\x02");
    writeAll(file("next.html"), "<p>next</p>");
    writeAll(file("page.htm"), "<p>x</p>");
    auto form = open("page.htm");
    form->BtnPreviewClick();
    for (const char *address : {"big.png", "report.pdf"}) {
        Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QLatin1String(address)));
        EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("x")) << address;
        ASSERT_FALSE(desktop->requests.isEmpty()) << address;
        EXPECT_EQ(desktop->requests.last().target, QUrl::fromLocalFile(file(address)).toString());
    }
    Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QStringLiteral("https://example.org/")));
    EXPECT_EQ(desktop->requests.last().target, QStringLiteral("https://example.org/"));
    const qsizetype asked = desktop->requests.size();
    Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QStringLiteral("next.html")));
    EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("next")) << "pages still open in the preview";
    EXPECT_EQ(desktop->requests.size(), asked);
}

// A link in the preview to a program or script handed it to the desktop,
// which on Windows runs it: following a link must not start a program. The
// user is told why nothing opens.
TEST_F(EditWinTest, PreviewLinksToProgramsStartNothingAndSayWhy)
{
    shell::RecordingShellGuard desktop;
    writeAll(file("page.htm"), "<p>x</p>");
    writeAll(file("Setup Tool.EXE"), "MZ");
    writeAll(file("run.bat"), "@echo off");
    writeAll(file("install"), "#!/bin/sh\n");
    QFile::setPermissions(file("install"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    auto form = open("page.htm");
    form->BtnPreviewClick();
    for (const char *address : {"Setup%20Tool.EXE", "run.bat", "install"}) {
        scripted->messages.clear();
        Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QLatin1String(address)));
        EXPECT_TRUE(desktop->requests.isEmpty()) << address << " was handed to the desktop";
        ASSERT_EQ(scripted->messages.size(), 1) << address;
        EXPECT_TRUE(scripted->messages.last().text.startsWith(lex::message(3366))) << address;
        EXPECT_TRUE(scripted->messages.last().text.endsWith(
            QDir::toNativeSeparators(file(address).replace(QStringLiteral("%20"), QStringLiteral(" ")))));
        EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("x"));
        desktop->requests.clear();
    }
}

// A linked page too large to read showed as an empty page, as if it had
// no content; it says why, as the document's own preview does.
TEST_F(EditWinTest, PreviewOfALinkedPageTooLargeSaysWhy)
{
    writeAll(file("page.htm"), "<p>x</p>");
    QFile big(file("gross.htm"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(20) << 20));
    big.close();
    auto form = open("page.htm");
    form->BtnPreviewClick();
    Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QStringLiteral("gross.htm")));
    EXPECT_EQ(form->HTMLViewer->toPlainText(), lex::message(3352));
}

// A linked page that cannot be read showed as an empty page, as if it had
// no content; it says why and the page shown stays.
TEST_F(EditWinTest, PreviewOfALinkedPageThatCannotBeReadSaysWhy)
{
    writeAll(file("page.htm"), "<p>x</p>");
    writeAll(file("other.htm"), "<p>other</p>");
    auto form = open("page.htm");
    form->BtnPreviewClick();
    scripted->messages.clear();
    filefaults::failNext(filefaults::Step::OpenRead, EACCES);
    Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QStringLiteral("other.htm")));
    filefaults::clear();
    ASSERT_EQ(scripted->messages.size(), 1);
    const QString text = scripted->messages[0].text;
    EXPECT_TRUE(text.startsWith(lex::message(3300) + u'\n' + QDir::toNativeSeparators(file("other.htm")) + u'\n')) << text.toStdString();
    EXPECT_GT(text.size(), lex::message(3300).size() + QDir::toNativeSeparators(file("other.htm")).size() + 2) << "the cause follows";
    EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("x"));
    // Read, it opens; its own links count from its folder as before.
    Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QStringLiteral("other.htm")));
    EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("other"));
}

// A link the preview could not follow did nothing at all: a page that is
// not there, a relative link in a document not yet saved, an address the
// desktop has no program for. Each now says why; a script link stays quiet.
TEST_F(EditWinTest, PreviewLinksThatCannotBeFollowedSayWhy)
{
    shell::RecordingShellGuard desktop;
    desktop->accept = false;
    writeAll(file("page.htm"), "<p>x</p>");
    writeAll(file("report.pdf"), "%PDF-1.4");
    auto form = open("page.htm");
    form->BtnPreviewClick();
    const std::pair<QString, QString> links[] = {
        {QStringLiteral("https://example.org/a b"), lex::message(3081) + u'\n' + QStringLiteral("https://example.org/a b")},
        {QStringLiteral("report.pdf"), lex::message(3081) + u'\n' + QDir::toNativeSeparators(file("report.pdf"))},
        {QStringLiteral("fehlt/weg.htm#oben"), lex::message(3368) + u'\n' + QDir::toNativeSeparators(file("fehlt/weg.htm"))},
    };
    for (const auto &[address, expected] : links) {
        scripted->messages.clear();
        Q_EMIT form->HTMLViewer->anchorClicked(QUrl(address));
        ASSERT_EQ(scripted->messages.size(), 1) << address.toStdString();
        EXPECT_EQ(scripted->messages[0].text, expected);
        EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("x"));
    }
    scripted->messages.clear();
    Q_EMIT form->HTMLViewer->anchorClicked(QUrl(QStringLiteral("javascript:alert(1)")));
    EXPECT_TRUE(scripted->messages.isEmpty());

    TEditForm unsaved(&host);
    unsaved.ColorMemo->setPlainText(QStringLiteral("<a href=\"next.htm\">n</a>"));
    unsaved.BtnPreviewClick();
    Q_EMIT unsaved.HTMLViewer->anchorClicked(QUrl(QStringLiteral("next.htm")));
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3369));
}

// A page that links a style sheet which is no plain file (a named pipe in
// the document's folder, or a device such as /dev/zero) must not stop the
// editor when its preview is shown: the preview would wait for the pipe's
// writer, or read the device without end.
TEST_F(EditWinTest, PreviewDoesNotWaitOnAStyleSheetThatIsANamedPipe)
{
    writeAll(file("page.htm"), "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"pipe.css\"></head>"
                               "<body><p>x</p></body></html>");
    auto form = open("page.htm");
    const QByteArray pipe = QFile::encodeName(file("pipe.css"));
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    // Releases a reader that waits on the pipe, so that the test itself ends.
    std::atomic<bool> done = false, released = false;
    std::thread release([&] {
        for (int i = 0; i < 100 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (done)
            return;
        released = true;
        const int writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
        if (writer >= 0)
            ::close(writer);
    });
    form->BtnPreviewClick();
    done = true;
    release.join();
    EXPECT_FALSE(released) << "the preview waited on the named pipe until it was released";
    EXPECT_EQ(form->HTMLViewer->toPlainText(), QStringLiteral("x"));
}

namespace {

// The size of the picture the preview holds for an address (empty: none).
QSize shownPictureSize(PreviewBrowser *viewer, const QString &address)
{
    const QVariant shown = viewer->document()->resource(QTextDocument::ImageResource, QUrl(address));
    return shown.userType() == QMetaType::QPixmap ? shown.value<QPixmap>().size() : shown.value<QImage>().size();
}

} // namespace

// A picture or style sheet the document's folder does not hold (or any, for
// a document never saved) was looked up in the program's working folder
// instead, so the preview showed files the saved page never shows.
TEST_F(EditWinTest, PreviewTakesNothingFromTheWorkingFolder)
{
    QTemporaryDir elsewhere;
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::red);
    picture.save(elsewhere.filePath(QStringLiteral("pic.png")));
    writeAll(elsewhere.filePath(QStringLiteral("site.css")), "p { color: red }");
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(elsewhere.path()));
    const QString page = QStringLiteral("<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"site.css\"></head>"
                                        "<body><p>x</p><img src=\"pic.png\"></body></html>");
    TEditForm unsaved(&host);
    unsaved.ColorMemo->setPlainText(page);
    unsaved.BtnPreviewClick();
    writeAll(file("page.htm"), page.toUtf8());
    auto saved = open("page.htm");
    saved->BtnPreviewClick();
    for (PreviewBrowser *viewer : {unsaved.HTMLViewer, saved->HTMLViewer}) {
        viewer->document()->setTextWidth(400);
        EXPECT_LT(viewer->document()->size().height(), 200) << "the page was laid out around the picture";
        EXPECT_EQ(shownPictureSize(viewer, QStringLiteral("pic.png")), PreviewBrowser::missingPicture().size());
        EXPECT_TRUE(viewer->document()->resource(QTextDocument::StyleSheetResource, QUrl(QStringLiteral("site.css"))).toString().isEmpty());
    }
    QDir::setCurrent(previous);
    // A picture written into the page itself still shows.
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(7, 5, QImage::Format_RGB32).save(&buffer, "PNG");
    const QString inline_ = QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
    unsaved.ColorMemo->setPlainText(u"<img src=\"" + inline_ + u"\">");
    unsaved.BtnPreviewClick();
    EXPECT_EQ(shownPictureSize(unsaved.HTMLViewer, inline_), QSize(7, 5));
}

// A picture or style sheet named by its full path or a file address went,
// when it was no plain file, to the toolkit's own reader: a named pipe kept
// the editor waiting for its writer (and a device was read without end).
TEST_F(EditWinTest, PreviewDoesNotWaitOnAPictureOrStyleSheetThatIsANamedPipe)
{
    const QByteArray pipe = QFile::encodeName(file("pipe.png"));
    ASSERT_EQ(mkfifo(pipe.constData(), 0600), 0);
    const QString pipeUrl = QUrl::fromLocalFile(file("pipe.png")).toString();
    writeAll(file("page.htm"), "<html><head><link rel=\"stylesheet\" type=\"text/css\" href=\"" + pipeUrl.toUtf8() +
                                   "\"></head><body><p>x</p><img src=\"" + file("pipe.png").toUtf8() + "\"><img src=\"" + pipeUrl.toUtf8() +
                                   "\"></body></html>");
    auto form = open("page.htm");
    std::atomic<bool> done = false;
    std::atomic<int> releases = 0;
    std::thread release([&] {
        while (!done) {
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            if (done)
                return;
            const int writer = ::open(pipe.constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0) {
                ++releases;
                ::close(writer);
            }
        }
    });
    form->BtnPreviewClick();
    form->HTMLViewer->resize(400, 300);
    form->HTMLViewer->document()->setTextWidth(400);
    form->HTMLViewer->document()->size();
    done = true;
    release.join();
    EXPECT_EQ(releases, 0) << "the preview waited on the named pipe until it was released";
    EXPECT_EQ(form->HTMLViewer->toPlainText().trimmed().left(1), QStringLiteral("x"));
}

TEST_F(EditWinTest, SavingOverAFileAnotherProgramChangedAsksFirst)
{
    writeAll(file("page.htm"), "mine");
    auto form = open("page.htm");
    form->ColorMemo->insertPlainText(QStringLiteral("edit "));
    QTest::qWait(20);
    writeAll(file("page.htm"), "theirs, longer");
    scripted->answers = {dialogs::Answer::No};
    EXPECT_FALSE(form->SaveDocument(false));
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("theirs, longer"));
    EXPECT_TRUE(scripted->messages.last().text.endsWith(lex::message(3016)));
    scripted->answers = {dialogs::Answer::Yes};
    EXPECT_TRUE(form->SaveDocument(false));
    EXPECT_EQ(readAll(file("page.htm")), QByteArray("edit mine"));
}

TEST(InsertAround, WrapsTheSelectionAndTurnsDegreeSignsIntoBreaks)
{
    TColorMemo memo;
    memo.setPlainText(QStringLiteral("ein Wort hier"));
    memo.setSelStart(4);
    memo.setSelLength(4);
    insertAroundSelection(memo, QStringLiteral("<b>"), QStringLiteral("</b>"));
    EXPECT_EQ(memo.Text(), QStringLiteral("ein <b>Wort</b> hier"));
    EXPECT_EQ(memo.SelStart(), 11) << "the caret stands after the selected text";
    EXPECT_EQ(memo.SelLength(), 0);
    insertAroundSelection(memo, QStringLiteral("<ul>\u00B0<li>"), QStringLiteral("</li>\u00B0</ul>"));
    EXPECT_EQ(memo.Text(), QStringLiteral("ein <b>Wort<ul>\r\n<li></li>\r\n</ul></b> hier"));
    EXPECT_EQ(memo.SelStart(), 21);
}

TEST(BulkEdit, ReplacesOnlyTheChangedStretchAsOneUndoStep)
{
    TColorMemo memo;
    const QString before = QStringLiteral("<p>eins</p>\n<p>zwei</p>\n<p>drei</p>");
    memo.setPlainText(before);
    int contentsChanges = 0, removedAll = 0;
    QObject::connect(memo.document(), &QTextDocument::contentsChange, [&](int, int removed, int) {
        ++contentsChanges;
        removedAll += removed;
    });
    const QString after = QStringLiteral("<p>eins</p>\n<b>ZWEI</b>\n<p>drei</p>");
    EXPECT_EQ(applyBulkEdit(memo, after), int(after.indexOf(QStringLiteral("</b>")) + 3));
    EXPECT_EQ(memo.plainText(), after);
    EXPECT_EQ(contentsChanges, 1);
    EXPECT_LE(removedAll, 12) << "the common start and end stay untouched";
    memo.undo();
    EXPECT_EQ(memo.plainText(), before) << "one undo step brings the old text back";
    EXPECT_EQ(applyBulkEdit(memo, before), int(before.size()));
    EXPECT_FALSE(memo.document()->isUndoAvailable()) << "an edit that changes nothing makes no undo step";
    applyBulkEdit(memo, QString());
    EXPECT_EQ(memo.plainText(), QString());
}

// Characters beyond the basic plane, combining and right-to-left marks,
// control characters, byte-order marks inside the text and a lone surrogate
// of a damaged UTF-16 file all come back byte for byte.
TEST_F(EditWinTest, UncommonCharactersSurviveOpeningAndSaving)
{
    const std::pair<const char *, QByteArray> corpus[] = {
        {"astral8.htm", "a\xF0\x9F\x98\x80 \xF0\x9D\x90\x80 e\xCC\x81 \xD7\xA9\xD7\x9C \xE2\x80\x8B\xE2\x80\x8F\xE2\x80\xAE x\r\n"},
        {"midbom.htm", "\xEF\xBB\xBF"
                       "a\xEF\xBB\xBF"
                       "b\r\n"},
        {"controls.htm", "a\x0B"
                         "b\x0C"
                         "c\x1E"
                         "d\x1F"
                         "e\xC2\x85"
                         "f\xEF\xBF\xBC"
                         "g\xC2\xA0h\x7F\r\n"},
        {"lone16.htm", QByteArray("\xFF\xFE"
                                  "a\x00\x3D\xD8"
                                  "b\x00\x00\xDE\r\x00\n\x00",
                                  14)},
        {"twomarks16.htm", QByteArray("\xFE\xFF\xFE\xFF\x00"
                                      "a\x00\r\x00\n",
                                      10)},
    };
    for (const auto &[name, bytes] : corpus) {
        writeAll(file(name), bytes);
        auto form = open(name);
        form->ColorMemo->document()->setModified(true);
        ASSERT_TRUE(form->SaveDocument(false)) << name;
        EXPECT_EQ(readAll(file(name)).toHex(' '), bytes.toHex(' ')) << name;
    }
    EXPECT_TRUE(scripted->messages.isEmpty());
}
