// A user's working day through the main window: several files of different
// encodings and line ends edited in turn, saved, saved under new names,
// closed, reopened from the recent list and the program quit.
#include "app/mainform.h"
#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/preview.h"
#include "mainwindowtest.h"
#include "platform/scripteddialogs.h"
#include "tools/searchform.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include <functional>

#include <gtest/gtest.h>

namespace {

class WorkdayTest : public MainWindowTest
{
protected:
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    static QByteArray bytesOf(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    static void activate(TMainForm &form, TEditForm *doc)
    {
        form.MDIArea->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(doc->parentWidget()));
        QCoreApplication::processEvents();
    }
    static QAction *recentItem(TMainForm &form, const QString &path)
    {
        for (QAction *a : form.Menu_OpenNew->actions())
            if (QFileInfo(a->data().toString()) == QFileInfo(path))
                return a;
        return nullptr;
    }
};

} // namespace

TEST_F(WorkdayTest, EditsSavesAndUndoStayWithTheirOwnDocument)
{
    const QString a = file(QStringLiteral("a.htm"), "<p>\xc3\xa4 eins</p>\n<p>zwei</p>\n");
    const QString b = file(QStringLiteral("b.htm"), "<p>\xe4 drei</p>\n<p>vier</p>\n");
    auto form = shown();
    TEditForm *docA = form->OpenDocument(a, false, 0);
    TEditForm *docB = form->OpenDocument(b, false, 0);
    ASSERT_TRUE(docA && docB);
    EXPECT_EQ(form->activeDocument(), docB);

    activate(*form, docA);
    docA->ColorMemo->setSelStart(3);
    docA->ColorMemo->setSelLength(1);
    form->InsertAroundSelection(QStringLiteral("<b>"), QStringLiteral("</b>"));
    EXPECT_TRUE(docA->isModified());
    EXPECT_TRUE(form->BtnSave->isEnabled());

    activate(*form, docB);
    EXPECT_FALSE(form->BtnSave->isEnabled()) << "B is unchanged";
    docB->ColorMemo->setSelStart(0);
    docB->ColorMemo->setSelLength(0);
    form->InsertAroundSelection(QStringLiteral("<i>"), QString());
    EXPECT_TRUE(form->BtnSave->isEnabled());
    form->BtnSave->trigger();
    EXPECT_EQ(bytesOf(b), QByteArray("<i><p>\xe4 drei</p>\n<p>vier</p>\n"));
    EXPECT_FALSE(docB->isModified());
    EXPECT_TRUE(docA->isModified()) << "saving B leaves A's edit unsaved";
    EXPECT_EQ(bytesOf(a), QByteArray("<p>\xc3\xa4 eins</p>\n<p>zwei</p>\n"));
    EXPECT_FALSE(form->BtnSave->isEnabled());

    // Undo in B takes back B's edit only.
    form->UpdateEditCommands();
    ASSERT_TRUE(form->Menu_Undo->isEnabled());
    form->Menu_Undo->trigger();
    EXPECT_EQ(docB->ColorMemo->plainText(), QStringLiteral("<p>\u00e4 drei</p>\n<p>vier</p>\n"));
    EXPECT_EQ(docA->ColorMemo->plainText(), QStringLiteral("<p><b>\u00e4</b> eins</p>\n<p>zwei</p>\n"));

    // A saved under another name keeps its encoding and line ends; its old file stays.
    activate(*form, docA);
    const QString c = dir.filePath(QStringLiteral("sub/c.htm"));
    QDir().mkpath(dir.filePath(QStringLiteral("sub")));
    scripted->fileAnswers.push_back(dialogs::FileResult{c, 1});
    form->BtnSaveAs->trigger();
    EXPECT_EQ(bytesOf(c), QByteArray("<p><b>\xc3\xa4</b> eins</p>\n<p>zwei</p>\n"));
    EXPECT_EQ(bytesOf(a), QByteArray("<p>\xc3\xa4 eins</p>\n<p>zwei</p>\n"));
    EXPECT_EQ(docA->FileName, QStringLiteral("c.htm"));
    EXPECT_FALSE(docA->isModified());

    // The old name reopens from the recent list as a document of its own.
    QAction *item = recentItem(*form, a);
    ASSERT_NE(item, nullptr);
    item->trigger();
    ASSERT_EQ(form->documents().size(), 3);
    TEditForm *again = form->activeDocument();
    ASSERT_NE(again, docA);
    EXPECT_EQ(again->FileName, QStringLiteral("a.htm"));
    EXPECT_EQ(again->ColorMemo->plainText(), QStringLiteral("<p>\u00e4 eins</p>\n<p>zwei</p>\n"));
    EXPECT_FALSE(again->isModified());
    form->UpdateEditCommands();
    EXPECT_FALSE(form->Menu_Undo->isEnabled()) << "a freshly opened file has nothing to undo";
    quit(*form);
}

TEST_F(WorkdayTest, QuittingAsksEachModifiedDocumentAndACancelKeepsTheRest)
{
    const QString a = file(QStringLiteral("a.htm"), "eins\r\n");
    const QString b = file(QStringLiteral("b.htm"), "zwei\r\n");
    auto form = shown();
    TEditForm *docA = form->OpenDocument(a, false, 0);
    TEditForm *docB = form->OpenDocument(b, false, 0);
    TEditForm *fresh = form->OpenDocument(QString(), true, 1);
    ASSERT_TRUE(docA && docB && fresh);
    fresh->ColorMemo->setText(QStringLiteral("neu"));
    const QString freshCaption = fresh->caption();
    fresh->ColorMemo->setModified(true);
    activate(*form, docA);
    docA->ColorMemo->replaceSelection(QStringLiteral("A"));
    activate(*form, docB);
    docB->ColorMemo->replaceSelection(QStringLiteral("B"));
    activate(*form, docA);
    scripted->messages.clear(); // the test folder has no templates

    // Least recently focused first: the new page, then B. No drops the page,
    // Cancel on B keeps the program with A and B as they were.
    scripted->answers = {dialogs::Answer::No, dialogs::Answer::Cancel};
    // While B is asked about, the page answered No is gone from the window bar too.
    QStringList tabsWhenAsked;
    scripted->onMessage = [&](const dialogs::RecordedMessage &) {
        QStringList tabs;
        for (int i = 0; i < form->TabMDI->count(); ++i)
            tabs.append(form->TabMDI->tabText(i));
        tabsWhenAsked.append(tabs.join(u','));
    };
    EXPECT_FALSE(form->close());
    scripted->onMessage = nullptr;
    ASSERT_EQ(tabsWhenAsked.size(), 2);
    EXPECT_EQ(tabsWhenAsked[0].count(u','), 2);
    EXPECT_EQ(tabsWhenAsked[1].count(u','), 1) << tabsWhenAsked[1].toStdString();
    EXPECT_FALSE(tabsWhenAsked[1].contains(freshCaption));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    ASSERT_EQ(scripted->messages.size(), 2);
    EXPECT_TRUE(scripted->messages[1].text.contains(QStringLiteral("b.htm")));
    ASSERT_EQ(form->documents().size(), 2);
    EXPECT_EQ(form->activeDocument(), docB) << "the document asked about is in view";
    EXPECT_TRUE(docA->isModified());
    EXPECT_TRUE(docB->isModified());
    EXPECT_TRUE(form->BtnSave->isEnabled());
    EXPECT_EQ(form->TabMDI->count(), 2);

    // Quitting again, A first now: No leaves its file as it was, Yes saves B.
    scripted->messages.clear();
    scripted->answers = {dialogs::Answer::No, dialogs::Answer::Yes};
    EXPECT_TRUE(form->close());
    EXPECT_EQ(scripted->messages.size(), 2);
    EXPECT_EQ(bytesOf(b), QByteArray("Bzwei\r\n"));
    EXPECT_EQ(bytesOf(a), QByteArray("eins\r\n"));
}

TEST_F(WorkdayTest, SearchFollowsUndoReloadAndSwitching)
{
    const QString a = file(QStringLiteral("a.htm"), "eins zwei\r\ndrei zwei\r\n");
    const QString b = file(QStringLiteral("b.htm"), "zwei vier\r\n");
    auto form = shown();
    TSearchForm search(form.get(), form.get());
    form->setToolWindows(nullptr, &search, nullptr);
    TEditForm *docA = form->OpenDocument(a, false, 0);
    TEditForm *docB = form->OpenDocument(b, false, 0);
    activate(*form, docA);
    search.fedit->setEditText(QStringLiteral("zwei"));
    search.redit->setEditText(QStringLiteral("ZW"));
    search.ToolbarButton971Click();
    EXPECT_EQ(docA->ColorMemo->SelStart(), 5);
    // Typing, then undoing it.
    docA->ColorMemo->setSelStart(0);
    docA->ColorMemo->setSelLength(0);
    docA->ColorMemo->textCursor().insertText(QStringLiteral("XYZ"));
    QTextCursor c = docA->ColorMemo->textCursor();
    c.setPosition(0);
    docA->ColorMemo->setTextCursor(c);
    search.ToolbarButton971Click();
    EXPECT_EQ(docA->ColorMemo->SelStart(), 8);
    docA->ColorMemo->undo();
    docA->ColorMemo->setSelStart(0);
    docA->ColorMemo->setSelLength(0);
    search.ToolbarButton971Click();
    EXPECT_EQ(docA->ColorMemo->SelStart(), 5);
    EXPECT_EQ(docA->ColorMemo->SelText(), QStringLiteral("zwei"));
    docA->ColorMemo->redo();
    docA->ColorMemo->setSelStart(0);
    docA->ColorMemo->setSelLength(0);
    search.ToolbarButton971Click();
    EXPECT_EQ(docA->ColorMemo->SelStart(), 8);
    EXPECT_EQ(docA->ColorMemo->SelText(), QStringLiteral("zwei"));
    docA->ColorMemo->undo();
    search.ToolbarButton972Click();
    search.ToolbarButton972Click();
    EXPECT_EQ(docA->ColorMemo->plainText(), QStringLiteral("eins ZW\ndrei zwei\n"));

    // Switch to B, replace there; A keeps its text.
    activate(*form, docB);
    docB->ColorMemo->setSelStart(0);
    docB->ColorMemo->setSelLength(0);
    scripted->answers.clear();
    search.ToolbarButton973Click();
    EXPECT_EQ(docB->ColorMemo->plainText(), QStringLiteral("ZW vier\n"));
    EXPECT_EQ(docA->ColorMemo->plainText(), QStringLiteral("eins ZW\ndrei zwei\n"));
    // Reload of A from disk, then search on it.
    activate(*form, docA);
    scripted->answers = {dialogs::Answer::Yes};
    form->Menu_Reload->trigger();
    EXPECT_EQ(docA->ColorMemo->plainText(), QStringLiteral("eins zwei\ndrei zwei\n"));
    docA->ColorMemo->setSelStart(0);
    docA->ColorMemo->setSelLength(0);
    search.ToolbarButton973Click();
    EXPECT_EQ(docA->ColorMemo->plainText(), QStringLiteral("eins ZW\ndrei ZW\n"));
    quit(*form);
}

TEST_F(WorkdayTest, TheSearchWindowShowsAMinimisedDocumentItChanges)
{
    auto form = shown();
    TSearchForm search(form.get(), form.get());
    form->setToolWindows(nullptr, &search, nullptr);
    form->OpenDocument(QString(), true, -1);
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->setPlainText(QStringLiteral("eins zwei zwei"));
    auto *sub = qobject_cast<QMdiSubWindow *>(doc->parentWidget());
    search.fedit->setEditText(QStringLiteral("zwei"));
    search.redit->setEditText(QStringLiteral("drei"));
    const std::pair<const char *, std::function<void()>> steps[] = {
        {"find", [&] { search.ToolbarButton971Click(); }},
        {"replace", [&] { search.ToolbarButton972Click(); }},
        {"replace all", [&] { search.ToolbarButton973Click(); }},
    };
    for (const auto &[name, step] : steps) {
        sub->showMinimized();
        QCoreApplication::processEvents();
        ASSERT_EQ(form->activeDocument(), doc) << name;
        step();
        QCoreApplication::processEvents();
        EXPECT_FALSE(sub->isMinimized()) << name << ": what the step finds or changes is in view";
    }
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("eins drei drei"));
    quit(*form);
}

TEST_F(WorkdayTest, EachFileKeepsItsOwnFormatThroughEditsSavesAndSaveAs)
{
    struct Case {
        const char *name;
        QByteArray before, after;
    };
    const Case cases[] = {
        {"cr.htm", "<p>\xe4</p>\rzwei", "<i><p>\xe4</p>\rzwei"},
        {"bom.htm", "\xef\xbb\xbf<p>\xc3\xa4</p>\r\n", "\xef\xbb\xbf<i><p>\xc3\xa4</p>\r\n"},
        {"le.htm", QByteArray("\xff\xfe<\0p\0>\0\n\0", 10), QByteArray("\xff\xfe<\0i\0>\0<\0p\0>\0\n\0", 16)},
        {"lf.htm", "<p>\xc3\xa4</p>\nzwei\n", "<i><p>\xc3\xa4</p>\nzwei\n"},
    };
    auto form = shown();
    QList<TEditForm *> docs;
    for (const Case &c : cases)
        docs.append(form->OpenDocument(file(QString::fromLatin1(c.name), c.before), false, 0));
    // Each edited in turn, from the last opened to the first.
    for (int i = int(docs.size()) - 1; i >= 0; --i) {
        activate(*form, docs[i]);
        docs[i]->ColorMemo->setSelStart(0);
        docs[i]->ColorMemo->setSelLength(0);
        form->InsertAroundSelection(QStringLiteral("<i>"), QString());
    }
    // Saved in another order, half of them under a new name.
    for (int i = 0; i < int(docs.size()); ++i) {
        activate(*form, docs[i]);
        const QString name = QString::fromLatin1(cases[i].name);
        if (i % 2) {
            scripted->fileAnswers.push_back(dialogs::FileResult{dir.filePath(u"neu-" + name), 1});
            form->BtnSaveAs->trigger();
            EXPECT_EQ(bytesOf(dir.filePath(u"neu-" + name)), cases[i].after) << cases[i].name;
            EXPECT_EQ(bytesOf(dir.filePath(name)), cases[i].before) << cases[i].name;
        } else {
            form->BtnSave->trigger();
            EXPECT_EQ(bytesOf(dir.filePath(name)), cases[i].after) << cases[i].name;
        }
        EXPECT_FALSE(docs[i]->isModified()) << cases[i].name;
    }
    quit(*form);
}

TEST_F(WorkdayTest, APreviewShownWhileThePageIsSavedElsewhereFollowsItsNewFolder)
{
    file(QStringLiteral("neu/zwei.htm"), "<p>Zweite Seite</p>");
    file(QStringLiteral("alt/zwei.htm"), "<p>Alte Seite</p>");
    auto form = shown();
    TEditForm *doc = form->OpenDocument(QString(), true, 1);
    doc->ColorMemo->setPlainText(QStringLiteral("<a href=\"zwei.htm\">zwei</a>"));
    doc->BtnPreviewClick();
    scripted->messages.clear();
    Q_EMIT doc->HTMLViewer->anchorClicked(QUrl(QStringLiteral("zwei.htm")));
    ASSERT_EQ(scripted->messages.size(), 1) << "a page without a folder has no relative links yet";

    // Saved while its preview is in view: the links count from the new folder.
    for (const char *folder : {"alt", "neu"}) {
        scripted->fileAnswers.push_back(dialogs::FileResult{dir.filePath(QString::fromLatin1(folder) + u"/eins.htm"), 1});
        form->BtnSaveAs->trigger();
        ASSERT_FALSE(doc->sourceShown());
    }
    scripted->messages.clear();
    Q_EMIT doc->HTMLViewer->anchorClicked(QUrl(QStringLiteral("zwei.htm")));
    EXPECT_TRUE(scripted->messages.isEmpty()) << scripted->messages.value(0).text.toStdString();
    EXPECT_TRUE(doc->HTMLViewer->toPlainText().contains(QStringLiteral("Zweite Seite"))) << doc->HTMLViewer->toPlainText().toStdString();
    quit(*form);
}

// The document window's own menu offers Ctrl+W for closing; the key does what
// the menu says, for the window in front only, and asks before dropping edits.
TEST_F(WorkdayTest, TheCloseKeyClosesTheDocumentInFrontAsItsMenuPromises)
{
    const QString a = file(QStringLiteral("a.htm"), "eins\r\n");
    const QString b = file(QStringLiteral("b.htm"), "zwei\r\n");
    auto form = shown();
    TEditForm *docA = form->OpenDocument(a, false, 0);
    TEditForm *docB = form->OpenDocument(b, false, 0);
    ASSERT_TRUE(docA && docB);
    activate(*form, docB);
    docB->ColorMemo->setFocus();
    docB->ColorMemo->replaceSelection(QStringLiteral("B"));

    scripted->answers = {dialogs::Answer::Cancel};
    QTest::keyClick(docB->ColorMemo, Qt::Key_W, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    ASSERT_EQ(scripted->messages.size(), 1u) << "the edit is asked about";
    ASSERT_EQ(form->documents().size(), 2);

    docB->ColorMemo->document()->setModified(false);
    QTest::keyClick(docB->ColorMemo, Qt::Key_W, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    ASSERT_EQ(form->documents().size(), 1);
    EXPECT_EQ(form->documents().front(), docA);
    EXPECT_EQ(bytesOf(b), QByteArray("zwei\r\n"));
    quit(*form);
}
