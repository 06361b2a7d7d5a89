// Windows and documents that go away while a tool window, a menu item or a
// queued call still refers to them.
#include "app/mainform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "mainwindowtest.h"
#include "platform/scripteddialogs.h"
#include "tools/searchform.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class LifetimesTest : public MainWindowTest
{
protected:
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    static void closeWindow(TEditForm *doc)
    {
        qobject_cast<QMdiSubWindow *>(doc->parentWidget())->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
};

// The recent-files submenu is rebuilt while one of its items runs.
TEST_F(LifetimesTest, ARecentFileOpensFromTheMenuThatItsOpeningRebuilds)
{
    const QString a = file(QStringLiteral("a.htm"), "aaa");
    const QString b = file(QStringLiteral("b.htm"), "bbb");
    auto form = shown();
    closeWindow(form->OpenDocument(a, false, 0));
    closeWindow(form->OpenDocument(b, false, 0));
    Q_EMIT form->Menu_File->aboutToShow();
    const QList<QAction *> items = form->Menu_OpenNew->actions();
    ASSERT_EQ(items.size(), 2);
    items[1]->trigger();
    QCoreApplication::processEvents();
    ASSERT_EQ(form->documents().size(), 1);
    EXPECT_EQ(form->documents()[0]->ColorMemo->plainText(), QStringLiteral("aaa"));
    quit(*form);
}

// The search window keeps the text it read; a window closed since, and one
// opened with a text of the same length, must not be mistaken for it.
TEST_F(LifetimesTest, TheSearchWindowFollowsTheActiveDocumentAcrossClosedWindows)
{
    auto form = shown();
    TSearchForm search(form.get(), form.get());
    form->setToolWindows(nullptr, &search, nullptr);
    search.show();
    TEditForm *a = form->OpenDocument(QString(), true, 1);
    a->ColorMemo->setText(QStringLiteral("xx beta yy"));
    search.fedit->setEditText(QStringLiteral("beta"));
    search.ToolbarButton971Click();
    EXPECT_EQ(a->ColorMemo->SelStart(), 3);
    a->ColorMemo->document()->setModified(false);
    closeWindow(a);
    TEditForm *b = form->OpenDocument(QString(), true, 1);
    b->ColorMemo->setText(QStringLiteral("beta xx yy"));
    b->ColorMemo->setSelStart(0);
    search.ToolbarButton971Click();
    EXPECT_EQ(b->ColorMemo->SelStart(), 0);
    EXPECT_EQ(b->ColorMemo->SelText(), QStringLiteral("beta"));
    b->ColorMemo->document()->setModified(false);
    closeWindow(b);
    scripted->messages.clear();
    search.ToolbarButton971Click();
    search.ToolbarButton973Click();
    EXPECT_TRUE(scripted->messages.isEmpty()) << "without a document the buttons do nothing";
    quit(*form);
}

// The not-found box waits in an event loop of its own; the window the step
// began in may be gone when it returns, and the focus goes to the editor
// active then.
TEST_F(LifetimesTest, ADocumentClosedWhileTheNotFoundBoxWaitsIsNotTouchedAfterwards)
{
    auto form = shown();
    TSearchForm search(form.get(), form.get());
    form->setToolWindows(nullptr, &search, nullptr);
    search.show();
    TEditForm *a = form->OpenDocument(QString(), true, 1);
    a->ColorMemo->setText(QStringLiteral("xx beta yy"));
    search.fedit->setEditText(QStringLiteral("zzz"));
    search.redit->setEditText(QStringLiteral("q"));
    for (QPushButton *button : {search.ToolbarButton971, search.ToolbarButton972, search.ToolbarButton973}) {
        TEditForm *b = form->OpenDocument(QString(), true, 1);
        b->ColorMemo->setText(QStringLiteral("beta beta"));
        scripted->messages.clear();
        scripted->onMessage = [&](const dialogs::RecordedMessage &) {
            scripted->onMessage = nullptr;
            b->ColorMemo->document()->setModified(false);
            closeWindow(b);
        };
        button->click();
        scripted->onMessage = nullptr;
        EXPECT_EQ(scripted->messages.size(), 1) << button->objectName().toStdString();
        ASSERT_EQ(form->documents().size(), 1);
        EXPECT_EQ(form->activeDocument(), a);
    }
    EXPECT_EQ(a->ColorMemo->plainText(), QStringLiteral("xx beta yy"));
    a->ColorMemo->document()->setModified(false);
    quit(*form);
}

// The main window's questions wait in event loops of their own too; a
// document closed meanwhile is neither stripped, converted, reloaded nor
// marked.
TEST_F(LifetimesTest, ADocumentClosedWhileAMainWindowQuestionWaitsIsLeftAlone)
{
    const QString page = file(QStringLiteral("page.htm"), "<b>one</b>");
    programDir.write(QStringLiteral("entities.mvt"), "\r\n8364;&#8364;&euro;\r\n");
    auto form = shown();
    const std::vector<std::function<void()>> commands = {
        [&] { form->HTMLTagslschen1->trigger(); },
        [&] { form->SonderzeichenzuCode1->trigger(); },
        [&] { form->Menu_Reload->trigger(); },
        [&] {
            file(QStringLiteral("page.htm"), "<b>two, from elsewhere</b>");
            form->CheckDiskChange();
        },
    };
    for (const auto &command : commands) {
        TEditForm *doc = form->OpenDocument(page, false, 0);
        ASSERT_NE(doc, nullptr);
        QTest::qWait(20);
        form->UpdateCommandState();
        scripted->messages.clear();
        scripted->answers = {dialogs::Answer::Yes};
        scripted->onMessage = [&](const dialogs::RecordedMessage &) {
            scripted->onMessage = nullptr;
            closeWindow(doc);
        };
        command();
        scripted->onMessage = nullptr;
        EXPECT_EQ(scripted->messages.size(), 1) << "only the question";
        EXPECT_TRUE(form->documents().isEmpty());
    }
    quit(*form);
}

// Closing the program asks window by window; a window that goes while its
// question or another one waits is passed over, and the rest are still asked.
TEST_F(LifetimesTest, TheClosingPassPassesOverAWindowClosedWhileItsQuestionWaits)
{
    auto form = shown();
    TEditForm *first = form->OpenDocument(QString(), true, 1);
    first->ColorMemo->insertPlainText(QStringLiteral("first"));
    TEditForm *second = form->OpenDocument(QString(), true, 1);
    second->ColorMemo->insertPlainText(QStringLiteral("second"));
    scripted->messages.clear();
    scripted->onMessage = [&](const dialogs::RecordedMessage &) {
        scripted->onMessage = nullptr;
        // The window asked about first (least recently focused) goes.
        first->ColorMemo->document()->setModified(false);
        closeWindow(first);
    };
    scripted->answers = {dialogs::Answer::No, dialogs::Answer::Cancel};
    EXPECT_FALSE(form->close()) << "the second window's question was cancelled";
    scripted->onMessage = nullptr;
    ASSERT_EQ(scripted->messages.size(), 2);
    ASSERT_EQ(form->documents().size(), 1);
    EXPECT_EQ(form->documents()[0]->ColorMemo->plainText(), QStringLiteral("second"));
    scripted->answers = {dialogs::Answer::No};
    EXPECT_TRUE(form->close());
}

// Saving asks too (here whether to overwrite a file changed elsewhere): a
// window closed while that question waits is no longer written, and the
// closing pass goes on with the other windows.
TEST_F(LifetimesTest, AWindowClosedWhileItsSaveAsksIsNotWrittenWhenTheProgramCloses)
{
    const QString page = file(QStringLiteral("page.htm"), "old");
    auto form = shown();
    TEditForm *doc = form->OpenDocument(page, false, 0);
    ASSERT_NE(doc, nullptr);
    doc->ColorMemo->insertPlainText(QStringLiteral("mine "));
    file(QStringLiteral("page.htm"), "written by another program");
    scripted->messages.clear();
    int asked = 0;
    scripted->onMessage = [&](const dialogs::RecordedMessage &) {
        if (++asked != 2)
            return; // the first one asks whether to save
        doc->ColorMemo->document()->setModified(false);
        closeWindow(doc);
    };
    scripted->answers = {dialogs::Answer::Yes, dialogs::Answer::Yes};
    EXPECT_TRUE(form->close());
    scripted->onMessage = nullptr;
    EXPECT_EQ(scripted->messages.size(), 2);
    QFile f(page);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("written by another program"));
}

} // namespace
