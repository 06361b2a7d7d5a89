#include "app/filetypes.h"
#include "app/mainform.h"
#include "app/recentfiles.h"
#include "docs/newhtmlform.h"
#include "docs/templateform.h"
#include "editor/colmemo.h"
#include "editor/docrules.h"
#include "editor/editwin.h"
#include "editor/preview.h"
#include "mainwindowtest.h"
#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/pathcompare.h"
#include "platform/profile.h"
#include "platform/scripteddialogs.h"
#include "settings/values.h"
#include "support/testenv.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QWheelEvent>
#include <QWindow>

#include <gtest/gtest.h>

#include <cerrno>
#include <functional>

namespace {

class DocManageTest : public MainWindowTest
{
protected:
    QString file(const QString &name, const QByteArray &bytes = "x")
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    QStringList openTitles(TMainForm &form)
    {
        QStringList titles;
        for (QMdiSubWindow *sub : form.MDIArea->subWindowList(QMdiArea::CreationOrder))
            titles.append(sub->windowTitle());
        return titles;
    }
};

} // namespace

TEST(Profile, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed)
{
    ProfileFile p;
    p.parse(QStringLiteral("; comment\r\n[Extensions]\r\n  ext = *.htm;*.css  \r\n[openfilters]\r\nWeb=*.htm\r\nbare line\r\n"));
    EXPECT_EQ(p.value(QStringLiteral("EXTENSIONS"), QStringLiteral("Ext")), QStringLiteral("*.htm;*.css"));
    const auto lines = p.section(QStringLiteral("OpenFilters"));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_FALSE(lines[1].hasValue);
    EXPECT_EQ(lines[1].key, QStringLiteral("bare line"));

    // A file saved with CR alone or LF alone reads the same.
    for (const QString &breakText : {QStringLiteral("\r"), QStringLiteral("\n")}) {
        ProfileFile q;
        q.parse(QStringLiteral("[Extensions]%1ext=*.htm%1[OpenFilters]%1Web=*.htm%1").arg(breakText));
        EXPECT_EQ(q.value(QStringLiteral("Extensions"), QStringLiteral("Ext")), QStringLiteral("*.htm"));
        EXPECT_EQ(q.section(QStringLiteral("OpenFilters")).size(), 1u);
    }
}

TEST_F(DocManageTest, FilterTextIsBuiltFromTheSections)
{
    programDir.write(QStringLiteral("fileext.mvt"),
                     "[OpenFilters]\r\nWeb=*.htm;*.html\r\nStyle=*.css\r\nEmpty=\r\n[SaveFilters]\r\nWeb=*.htm\r\n");
    const FileTypes types = loadFileTypes(programDir.path() + QStringLiteral("fileext.mvt"));
    EXPECT_EQ(types.openFilter, QStringLiteral("Web|*.htm;*.html|Style|*.css|"));
    EXPECT_EQ(types.saveFilter, QStringLiteral("Web|*.htm|"));
    EXPECT_EQ(types.extensionList, QStringLiteral("*.html;*.htm")) << "without the Ext key";
    const FileTypes missing = loadFileTypes(programDir.path() + QStringLiteral("nothing.mvt"));
    // Without the file the dialogs still offer HTML, CSS and ASP, named in German.
    const QStringList parts = missing.openFilter.split(u'|');
    ASSERT_EQ(parts.size(), 6) << missing.openFilter.toStdString();
    EXPECT_EQ((QStringList{parts[1], parts[3], parts[5]}),
              (QStringList{QStringLiteral("*.htm;*.html"), QStringLiteral("*.css"), QStringLiteral("*.asp")}));
    EXPECT_EQ(missing.saveFilter, missing.openFilter);
    EXPECT_EQ(missing.extensionList, QString());
    // Blanks written around the patterns are no part of them: the name a
    // save gets and the files a drop opens do not depend on them.
    programDir.write(QStringLiteral("spaced.mvt"), "[Extensions]\r\nExt=*.html; *.htm ;*.css\r\n");
    const FileTypes spaced = loadFileTypes(programDir.path() + QStringLiteral("spaced.mvt"));
    EXPECT_EQ(spaced.extensionList, QStringLiteral("*.html;*.htm;*.css"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/page.HTM"), spaced.extensionList, 1), QStringLiteral("/w/page.htm"));
}

// The file types the program comes with: each save type puts its own
// extension on a name, and the type the dialog first offers keeps both
// spellings of an HTML name the user types in full.
TEST_F(DocManageTest, TheShippedSaveTypesMatchTheirExtensions)
{
    const FileTypes types = loadFileTypes(QStringLiteral(QUIRTLE_SOURCE_DIR "/data/fileext.mvt"));
    const QStringList parts = types.saveFilter.split(u'|');
    const QStringList extensions = types.extensionList.split(u';');
    ASSERT_EQ(parts.size() / 2, extensions.size()) << "one extension per save type";
    for (qsizetype i = 0; i < extensions.size(); ++i)
        EXPECT_TRUE(parts[2 * i + 1].split(u';').contains(extensions[i])) << parts[2 * i].toStdString();
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/page.htm"), types.extensionList, 0), QStringLiteral("/w/page.htm"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/page.html"), types.extensionList, 0), QStringLiteral("/w/page.html"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/page.HTM"), types.extensionList, 0), QStringLiteral("/w/page.htm"));
    EXPECT_EQ(applyExtensionRule(QStringLiteral("/w/style.css"), types.extensionList, 0), QStringLiteral("/w/style.css"));
}

TEST_F(DocManageTest, OneFileIsOneDocumentWhateverItsSpelling)
{
    const QString page = file(QStringLiteral("site/index.html"));
    const QString other = file(QStringLiteral("site/Index.html"), "other");
    QFile::link(dir.filePath(QStringLiteral("site")), dir.filePath(QStringLiteral("alias")));
    auto form = shown();
    form->OpenDocument(page, false, 0);
    form->OpenDocument(dir.filePath(QStringLiteral("site/../site/./index.html")), false, 0);
    form->OpenDocument(dir.filePath(QStringLiteral("alias/index.html")), false, 0);
    EXPECT_EQ(form->MDIArea->subWindowList().size(), 1);
    // On a file system that tells case apart these are two files and two documents.
    form->OpenDocument(other, false, 0);
    EXPECT_EQ(form->MDIArea->subWindowList().size(), 2);
    EXPECT_EQ(form->documents().front()->ColorMemo->plainText(), QStringLiteral("other"));
    EXPECT_EQ(form->FindDocument(QString()), -1);
    EXPECT_TRUE(samePath(page, dir.filePath(QStringLiteral("alias/index.html"))));
    EXPECT_FALSE(samePath(page, other));
    quit(*form);
}

TEST_F(DocManageTest, RecentFilesKeepTenMostRecentFirst)
{
    auto form = shown();
    QStringList paths;
    for (int i = 1; i <= 11; ++i)
        paths.append(file(QStringLiteral("f%1.htm").arg(i)));
    for (const QString &p : std::as_const(paths))
        form->AddRecentFile(p);
    QStringList stored = settings::loadRecentFiles().paths;
    ASSERT_EQ(stored.size(), 10);
    EXPECT_EQ(stored.first(), canonicalPath(paths[10]));
    EXPECT_FALSE(stored.contains(canonicalPath(paths[0]))) << "the oldest dropped out";
    const QString fifth = stored[4];
    form->AddRecentFile(fifth);
    stored = settings::loadRecentFiles().paths;
    EXPECT_EQ(stored.size(), 10);
    EXPECT_EQ(stored.first(), fifth);

    form->Menu_File->aboutToShow();
    const QList<QAction *> items = form->Menu_OpenNew->actions();
    ASSERT_EQ(items.size(), 10);
    EXPECT_EQ(items[9]->text(), QStringLiteral("&10. ") + stored[9]);
    EXPECT_EQ(recentCaption(10, QStringLiteral("/a/b.htm")), QStringLiteral("&10. /a/b.htm"));
    items[9]->trigger();
    EXPECT_TRUE(samePath(form->activeDocument()->fullPath(), stored[9]));
    quit(*form);
}

// A tab in a name started the shortcut column and a line break split the
// item; a deep path made the menu wider than the screen. Each item still
// opens exactly its own file.
TEST_F(DocManageTest, RecentItemsShowOddAndLongPathsOnOneReadableLine)
{
    const QString tabbed = file(QStringLiteral("a\tb & c\nd.htm"), "tabbed");
    const QString deep =
        file(QString(120, u'x') + u'/' + QString(120, u'y') + u'/' + QString(120, u'z') + QStringLiteral("/deep.htm"), "deep");
    settings::storeRecentFiles({{tabbed, deep}});
    auto form = shown();
    form->Menu_File->aboutToShow();
    const QList<QAction *> items = form->Menu_OpenNew->actions();
    ASSERT_EQ(items.size(), 2);
    const QString first = items[0]->text();
    EXPECT_FALSE(first.contains(u'\t') || first.contains(u'\n')) << first.toStdString();
    EXPECT_TRUE(first.startsWith(QStringLiteral("&1. "))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("b && c"))) << "only the number is an accelerator";
    const int screenWidth = form->screen()->availableGeometry().width();
    EXPECT_LE(form->Menu_OpenNew->fontMetrics().horizontalAdvance(items[1]->text()), screenWidth * 3 / 5);
    EXPECT_TRUE(items[1]->text().endsWith(QStringLiteral("/deep.htm"))) << "the name itself stays readable";
    EXPECT_EQ(items[1]->toolTip(), deep);
    items[1]->trigger();
    EXPECT_EQ(form->activeDocument()->ColorMemo->plainText(), QStringLiteral("deep"));
    // Opening rebuilt the menu: the deep file is now the first item.
    form->Menu_OpenNew->actions()[1]->trigger();
    EXPECT_EQ(form->activeDocument()->ColorMemo->plainText(), QStringLiteral("tabbed"));
    quit(*form);
}

TEST_F(DocManageTest, RecentListComparesFilesNotSpellings)
{
    const QString page = file(QStringLiteral("p.htm"));
    QStringList list = withRecentFile({}, page);
    list = withRecentFile(list, dir.filePath(QStringLiteral("./p.htm")));
    EXPECT_EQ(list.size(), 1);
    list = withRecentFile(list, file(QStringLiteral("P.htm")));
    EXPECT_EQ(list.size(), 2);
}

TEST_F(DocManageTest, DroppedFilesOpenByExtensionLastFirst)
{
    programDir.write(QStringLiteral("fileext.mvt"), "[Extensions]\r\nExt=*.htm;*.html\r\n");
    auto form = shown();
    form->LoadFileTypes();
    form->FileDragMainDrop({file(QStringLiteral("a.htm")), file(QStringLiteral("b.txt")), file(QStringLiteral("c.HTML")),
                            dir.filePath(QStringLiteral("gone.htm"))});
    EXPECT_EQ(openTitles(*form), (QStringList{QStringLiteral("c.HTML"), QStringLiteral("a.htm")}));
    EXPECT_EQ(form->activeDocument()->FileName, QStringLiteral("a.htm"));
    quit(*form);
}

// Opening a dropped file leaves it where it is: a move proposed by the file
// manager (Shift held) is answered as a copy, and a move-only drag is refused.
TEST_F(DocManageTest, DroppedFilesOpenAsCopiesNeverAsMoves)
{
    programDir.write(QStringLiteral("fileext.mvt"), "[Extensions]\r\nExt=*.htm;*.html\r\n");
    auto form = shown();
    form->LoadFileTypes();
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(file(QStringLiteral("a.htm")))});
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(QPoint(5, 5), offered, &mime, Qt::LeftButton, Qt::ShiftModifier);
    ASSERT_EQ(enter.proposedAction(), Qt::MoveAction);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
    QDropEvent drop(QPointF(5, 5), offered, &mime, Qt::LeftButton, Qt::ShiftModifier);
    QApplication::sendEvent(form.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(drop.dropAction(), Qt::CopyAction);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(openTitles(*form), QStringList{QStringLiteral("a.htm")});
    QMimeData other;
    other.setUrls({QUrl::fromLocalFile(file(QStringLiteral("b.htm")))});
    QDragEnterEvent moveOnlyEnter(QPoint(5, 5), Qt::MoveAction, &other, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &moveOnlyEnter);
    EXPECT_FALSE(moveOnlyEnter.isAccepted());
    QDropEvent moveOnly(QPointF(5, 5), Qt::MoveAction, &other, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &moveOnly);
    EXPECT_FALSE(moveOnly.isAccepted());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(openTitles(*form), QStringList{QStringLiteral("a.htm")});
    quit(*form);
}

// A dropped page whose name is no UTF-8 (Latin-1 from an old archive) cannot
// be opened by the name as read: the user is told which one, instead of the
// drop passing without a trace.
TEST_F(DocManageTest, ADroppedPageWithANameThatIsNoUtf8IsNamed)
{
    programDir.write(QStringLiteral("fileext.mvt"), "[Extensions]\r\nExt=*.htm;*.html\r\n");
    auto form = shown();
    form->LoadFileTypes();
    QMimeData mime;
    mime.setUrls({QUrl::fromEncoded("file:///tmp/caf%E9.htm")});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(openTitles(*form).isEmpty());
    ASSERT_FALSE(scripted->messages.isEmpty());
    EXPECT_EQ(scripted->messages.last().text, lex::message(3384) + QStringLiteral("\n/tmp/café.htm"));
    quit(*form);
}

// Addresses on the web are no files to open: such a drag is refused rather
// than taken and then dropped without a trace.
TEST_F(DocManageTest, ADragOfWebAddressesIsRefused)
{
    programDir.write(QStringLiteral("fileext.mvt"), "[Extensions]\r\nExt=*.htm;*.html\r\n");
    auto form = shown();
    form->LoadFileTypes();
    QMimeData mime;
    mime.setUrls({QUrl(QStringLiteral("https://example.org/a.htm")), QUrl(QStringLiteral("ftp://example.org/b.htm"))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    EXPECT_FALSE(enter.isAccepted());
    // One file among them is enough.
    mime.setUrls({QUrl(QStringLiteral("https://example.org/a.htm")), QUrl::fromLocalFile(file(QStringLiteral("c.htm")))});
    QDragEnterEvent withFile(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &withFile);
    EXPECT_TRUE(withFile.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(openTitles(*form), QStringList{QStringLiteral("c.htm")});
    quit(*form);
}

// The file manager waits for the drop to end: a file that cannot be read is
// reported after the drop, not in a box that holds the manager meanwhile.
TEST_F(DocManageTest, ADroppedFileIsOpenedAfterTheDropHasEnded)
{
    programDir.write(QStringLiteral("fileext.mvt"), "[Extensions]\r\nExt=*.htm;*.html\r\n");
    auto form = shown();
    form->LoadFileTypes();
    const QString locked = file(QStringLiteral("locked.htm"));
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(locked)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &enter);
    filefaults::failNext(filefaults::Step::OpenRead, EBUSY);
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(form.get(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_TRUE(scripted->messages.isEmpty()) << "no question while the drop is in progress";
    QCoreApplication::sendPostedEvents();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages.last().text, locked + u'\n' + lex::message(3019) + u'\n' + lex::message(3026));
    EXPECT_TRUE(form->MDIArea->subWindowList().isEmpty());
    quit(*form);
}

TEST_F(DocManageTest, DroppingOpensNothingWithoutTheFileTypes)
{
    auto form = shown();
    form->FileDragMainDrop({file(QStringLiteral("a.htm"))});
    EXPECT_TRUE(form->MDIArea->subWindowList().isEmpty());
    quit(*form);
}

TEST_F(DocManageTest, ClosingAsksOnlyForModifiedDocuments)
{
    auto form = shown();
    form->OpenDocument(QString(), true, -1);
    TEditForm *modified = form->OpenDocument(QString(), true, -1);
    modified->ColorMemo->insertPlainText(QStringLiteral("typed"));
    scripted->answers = {dialogs::Answer::Yes}; // save it: the save dialog is then cancelled
    EXPECT_FALSE(form->close());
    QCoreApplication::processEvents();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(3004) + lex::caption(1039) + lex::message(3005));
    EXPECT_EQ(scripted->saveRequests.size(), 1);
    EXPECT_EQ(form->MDIArea->subWindowList().size(), 1) << "the untouched one closed, the modified one stays";
    EXPECT_TRUE(form->isVisible());

    scripted->answers = {dialogs::Answer::Cancel};
    EXPECT_FALSE(form->close());
    scripted->answers = {dialogs::Answer::No};
    EXPECT_TRUE(form->close());
}

TEST_F(DocManageTest, ADocumentOpenedWhileClosingAsksIsAskedAboutToo)
{
    auto form = shown();
    TEditForm *first = form->OpenDocument(QString(), true, -1);
    first->ColorMemo->insertPlainText(QStringLiteral("first"));
    // While the question waits, a command from another program opens a
    // document and types into it.
    QPointer<TEditForm> late;
    scripted->onMessage = [&](const dialogs::RecordedMessage &) {
        if (late)
            return;
        late = form->OpenDocument(QString(), true, -1);
        late->ColorMemo->insertPlainText(QStringLiteral("late text"));
    };
    scripted->answers = {dialogs::Answer::No, dialogs::Answer::Cancel};
    EXPECT_FALSE(form->close()) << "the late document's question was cancelled";
    scripted->onMessage = nullptr;
    ASSERT_EQ(scripted->messages.size(), 2);
    EXPECT_TRUE(scripted->messages[1].text.startsWith(lex::message(3004)));
    ASSERT_TRUE(late);
    EXPECT_EQ(late->ColorMemo->Text(), QStringLiteral("late text"));
    scripted->answers = {dialogs::Answer::No};
    EXPECT_TRUE(form->close());
}

// A window just closed by the pass is gone for good: a file of it that
// another program asks for meanwhile opens again instead of being lost.
TEST_F(DocManageTest, AFileAskedForWhileItsWindowIsClosingOpensAgain)
{
    const QString page = file(QStringLiteral("again.htm"), "disk");
    auto form = shown();
    TEditForm *first = form->OpenDocument(page, false, 0);
    first->ColorMemo->insertPlainText(QStringLiteral("dropped "));
    TEditForm *second = form->OpenDocument(QString(), true, -1);
    second->ColorMemo->insertPlainText(QStringLiteral("second"));
    scripted->onMessage = [&](const dialogs::RecordedMessage &) {
        if (scripted->messages.size() == 2)
            form->DdeServerExecuteMacro({QStringLiteral("openfile"), page});
    };
    scripted->answers = {dialogs::Answer::No, dialogs::Answer::Cancel};
    EXPECT_FALSE(form->close());
    scripted->onMessage = nullptr;
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    const int found = form->FindDocument(page);
    ASSERT_GE(found, 0);
    TEditForm *reopened = form->documents()[found];
    EXPECT_FALSE(reopened->isBeingDestroyed());
    EXPECT_TRUE(reopened->parentWidget()->isVisible());
    EXPECT_EQ(reopened->ColorMemo->plainText(), QStringLiteral("disk"));
    quit(*form);
}

TEST_F(DocManageTest, ClosingSavesWhenAsked)
{
    const QString page = file(QStringLiteral("keep.htm"), "old");
    auto form = shown();
    TEditForm *doc = form->OpenDocument(page, false, 0);
    doc->ColorMemo->selectAll();
    doc->ColorMemo->insertPlainText(QStringLiteral("new"));
    scripted->answers = {dialogs::Answer::Yes};
    EXPECT_TRUE(form->close());
    QFile f(page);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("new"));
}

// A command that changes a document while its save asks leaves a change that
// is in no file: the program does not close over it.
TEST_F(DocManageTest, ClosingKeepsADocumentChangedWhileItsSaveAsked)
{
    const QString page = file(QStringLiteral("late.htm"), "caf\xE9");
    auto form = shown();
    TEditForm *doc = form->OpenDocument(page, false, 0);
    doc->ColorMemo->moveCursor(QTextCursor::End);
    doc->ColorMemo->insertPlainText(QStringLiteral("\u03A9"));
    scripted->onMessage = [&](const dialogs::RecordedMessage &m) {
        if (m.text == lex::message(3015))
            form->DdeServerExecuteMacro({QStringLiteral("insertstr"), QStringLiteral(" late")});
    };
    scripted->answers = {dialogs::Answer::Yes, dialogs::Answer::No};
    EXPECT_FALSE(form->close());
    scripted->onMessage = nullptr;
    QFile f(page);
    f.open(QIODevice::ReadOnly);
    EXPECT_EQ(f.readAll(), QByteArray("caf\xE9&#937;"));
    ASSERT_EQ(form->FindDocument(page), 0);
    EXPECT_TRUE(doc->ColorMemo->Text().startsWith(QStringLiteral("caf\u00E9\u03A9 late")));
    EXPECT_TRUE(doc->isModified());
    quit(*form);
}

TEST_F(DocManageTest, ReloadAsksAndReadsTheFileAgain)
{
    const QString page = file(QStringLiteral("r.htm"), "first");
    auto form = shown();
    TEditForm *doc = form->OpenDocument(page, false, 0);
    doc->ColorMemo->insertPlainText(QStringLiteral("unsaved "));
    scripted->answers = {dialogs::Answer::Cancel};
    form->Menu_Reload->trigger();
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("unsaved first"));
    scripted->answers = {dialogs::Answer::Yes};
    form->Menu_Reload->trigger();
    EXPECT_EQ(scripted->messages.last().text, lex::message(3006));
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("first"));
    EXPECT_FALSE(doc->isModified());
    // A reload that fails says why and keeps the text.
    doc->ColorMemo->setSelStart(0);
    doc->ColorMemo->insertPlainText(QStringLiteral("kept "));
    filefaults::failNext(filefaults::Step::OpenRead, EBUSY);
    scripted->answers = {dialogs::Answer::Yes};
    form->Menu_Reload->trigger();
    EXPECT_EQ(scripted->messages.last().text, page + u'\n' + lex::message(3019) + u'\n' + lex::message(3026));
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("kept first"));
    doc->ColorMemo->document()->setModified(false);
    const auto asked = scripted->messages.size();
    TEditForm *fresh = form->OpenDocument(QString(), true, -1);
    form->Menu_Reload->trigger();
    EXPECT_EQ(scripted->messages.size(), asked) << "a new document has nothing to reload";
    fresh->closeDecided();
    quit(*form);
}

TEST_F(DocManageTest, FilesChangedByAnotherProgramAreOfferedAgain)
{
    const QString page = file(QStringLiteral("ext.htm"), "one");
    auto form = shown();
    TEditForm *doc = form->OpenDocument(page, false, 0);
    QTest::qWait(20);
    file(QStringLiteral("ext.htm"), "two, from elsewhere");
    scripted->answers = {dialogs::Answer::Yes};
    form->CheckDiskChange();
    EXPECT_EQ(scripted->messages.last().text, page + u'\n' + lex::message(3017));
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("two, from elsewhere"));
    const auto asked = scripted->messages.size();
    form->CheckDiskChange();
    EXPECT_EQ(scripted->messages.size(), asked) << "asked once per change";
    quit(*form);
}

// The activation check's questions about another program's changes.
TEST_F(DocManageTest, AChangeOnDiskIsAskedOnceAndNeverTakesUnsavedText)
{
    const QString page = file(QStringLiteral("ext.htm"), "one");
    auto form = shown();
    TEditForm *doc = form->OpenDocument(page, false, 0);
    const auto questions = [&] { return scripted->messages.size(); };
    auto asked = questions();

    // Changed, but the reload cannot read it: asked once, the failure said
    // once, then left alone until the file changes again.
    file(QStringLiteral("ext.htm"), "two, longer");
    scripted->answers = {dialogs::Answer::Yes};
    scripted->onMessage = [&](const dialogs::RecordedMessage &) {
        scripted->onMessage = nullptr;
        filefaults::failNext(filefaults::Step::OpenRead, EBUSY);
    };
    form->CheckDiskChange();
    ASSERT_EQ(questions(), asked + 2);
    EXPECT_EQ(scripted->messages[asked].text, page + u'\n' + lex::message(3017));
    EXPECT_TRUE(scripted->messages[asked + 1].text.startsWith(page + u'\n' + lex::message(3019)));
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("one"));
    form->CheckDiskChange();
    form->CheckDiskChange();
    EXPECT_EQ(questions(), asked + 2) << "the same change is not asked twice";
    asked = questions();

    // Text that comes in while the question waits is not reloaded away.
    file(QStringLiteral("ext.htm"), "three");
    scripted->answers = {dialogs::Answer::Yes};
    scripted->onMessage = [&](const dialogs::RecordedMessage &) { doc->ColorMemo->insertPlainText(QStringLiteral("typed ")); };
    form->CheckDiskChange();
    scripted->onMessage = nullptr;
    EXPECT_EQ(questions(), asked + 1);
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("typed one"));
    EXPECT_TRUE(doc->isModified());
    doc->ColorMemo->undo();
    ASSERT_FALSE(doc->isModified());
    asked = questions();

    // Declined, and written again while the question waited: that second
    // change is asked about, and then no more.
    file(QStringLiteral("ext.htm"), "four");
    scripted->answers = {dialogs::Answer::No};
    scripted->onMessage = [&](const dialogs::RecordedMessage &) { file(QStringLiteral("ext.htm"), "five, meanwhile"); };
    form->CheckDiskChange();
    scripted->onMessage = nullptr;
    scripted->answers = {dialogs::Answer::No};
    form->CheckDiskChange();
    form->CheckDiskChange();
    EXPECT_EQ(questions(), asked + 2);
    EXPECT_EQ(doc->ColorMemo->plainText(), QStringLiteral("one"));
    quit(*form);
}

TEST_F(DocManageTest, SaveDialogTracksTheChosenType)
{
    programDir.write(QStringLiteral("fileext.mvt"), "[Extensions]\r\nExt=*.htm;*.css\r\n[SaveFilters]\r\nWeb=*.htm\r\nStyle=*.css\r\n");
    auto form = shown();
    form->LoadFileTypes();
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->insertPlainText(QStringLiteral("p {}"));
    scripted->fileAnswers.push_back(dialogs::FileResult{dir.filePath(QStringLiteral("s.CSS")), 2});
    form->BtnSaveAs->trigger();
    EXPECT_EQ(form->SelectedSaveFilter(), 1);
    EXPECT_EQ(doc->FileName, QStringLiteral("s.css"));
    EXPECT_EQ(form->TabMDI->tabText(0), QStringLiteral("s.css"));
    EXPECT_EQ(scripted->saveRequests.last().filter, QStringLiteral("Web|*.htm|Style|*.css|"));
    quit(*form);
}

// A fileext.mvt without save types: the dialog offers none, so no type's
// extension may change the name the user typed.
TEST_F(DocManageTest, WithoutSaveTypesTheTypedNameIsKept)
{
    programDir.write(QStringLiteral("fileext.mvt"), "[OpenFilters]\r\nWeb=*.htm;*.html\r\n[SaveFilters]\r\nLeer=\r\n");
    auto form = shown();
    form->LoadFileTypes();
    TEditForm *doc = form->OpenDocument(QString(), true, -1);
    doc->ColorMemo->insertPlainText(QStringLiteral("<p>x</p>"));
    scripted->fileAnswers.push_back(dialogs::FileResult{dir.filePath(QStringLiteral("index.htm")), 1});
    form->BtnSaveAs->trigger();
    EXPECT_EQ(scripted->saveRequests.last().filter, QString());
    EXPECT_EQ(doc->FileName, QStringLiteral("index.htm"));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath(QStringLiteral("index.htm"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("index.html"))));
    quit(*form);
}

TEST_F(DocManageTest, AFileThatCannotBeReadOpensNoWindow)
{
    const QString page = file(QStringLiteral("secret.htm"), "<p>x</p>");
    QFile::setPermissions(dir.path(), QFileDevice::Permissions(0x7755));
    QFile::setPermissions(page, QFileDevice::WriteOwner);
    // The settings stay usable for the other user.
    QFile::setPermissions(reg.folder(), QFileDevice::Permissions(0x7777));
    QFile::setPermissions(reg.path(), QFileDevice::Permissions(0x6666));
    auto form = shown();
    {
        Unprivileged asUser;
        EXPECT_EQ(form->OpenDocument(page, false, 0), nullptr);
    }
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->MDIArea->subWindowList().isEmpty());
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);
    EXPECT_EQ(scripted->messages[0].text, page + u'\n' + lex::message(3019) + u'\n' + lex::message(3022));
    EXPECT_TRUE(settings::loadRecentFiles().paths.isEmpty()) << "only files that opened join the recent list";
    quit(*form);
}

TEST_F(DocManageTest, ASettingsStoreThatFailsDoesNotCutClosingShort)
{
    auto form = shown();
    TEditForm *unsaved = form->OpenDocument(QString(), true, -1);
    unsaved->ColorMemo->insertPlainText(QStringLiteral("first"));
    TEditForm *second = form->OpenDocument(QString(), true, -1);
    second->ColorMemo->insertPlainText(QStringLiteral("second"));
    // Where the settings file should be, there is a folder: nothing can be stored.
    settings::releaseRegistry();
    QFile::remove(reg.path());
    QDir().mkpath(reg.path());
    const QString saved = dir.filePath(QStringLiteral("first.htm"));
    // Save the first (its recent-list entry fails and is reported), leave the second.
    scripted->answers = {dialogs::Answer::Yes, dialogs::Answer::Ok, dialogs::Answer::No};
    scripted->fileAnswers.push_back(dialogs::FileResult{saved, 1});
    EXPECT_TRUE(form->close());
    QFile f(saved);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    int questions = 0;
    for (const auto &m : scripted->messages)
        questions += m.text.startsWith(lex::message(3004)) ? 1 : 0;
    EXPECT_EQ(questions, 2) << "both documents were asked about";
    QDir(reg.path()).removeRecursively();
}

TEST_F(DocManageTest, ATabShowsItsOwnWindowWhateverWasFocusedSince)
{
    auto form = shown();
    TEditForm *a = form->OpenDocument(file(QStringLiteral("a.htm")), false, 0);
    form->OpenDocument(file(QStringLiteral("b.htm")), false, 0);
    form->OpenDocument(file(QStringLiteral("c.htm")), false, 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(openTitles(*form).size(), 3);
    // Focused by other means: the bar keeps its order until the next rebuild.
    form->MDIArea->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(a->parentWidget()));
    int tabB = -1;
    for (int i = 0; i < form->TabMDI->count(); ++i)
        if (form->TabMDI->tabText(i) == QStringLiteral("b.htm"))
            tabB = i;
    ASSERT_GE(tabB, 0);
    Q_EMIT form->TabMDI->tabBarClicked(tabB); // as a click on the tab
    QCoreApplication::processEvents();
    ASSERT_NE(form->activeDocument(), nullptr);
    EXPECT_EQ(form->activeDocument()->FileName, QStringLiteral("b.htm"));
    EXPECT_EQ(form->TabMDI->tabText(0), QStringLiteral("b.htm")) << "its tab moves to the front";
    EXPECT_EQ(form->TabMDI->currentIndex(), 0);
    quit(*form);
}

// The mouse wheel (or the arrow keys) over the window bar select another
// tab; the document shown must be the one whose tab is selected.
TEST_F(DocManageTest, ATabSelectedByTheWheelShowsItsWindow)
{
    auto form = shown();
    for (const char *name : {"a.htm", "b.htm", "c.htm"})
        form->OpenDocument(file(QString::fromLatin1(name)), false, 0);
    QCoreApplication::processEvents();
    ASSERT_EQ(form->TabMDI->count(), 3);
    ASSERT_EQ(form->TabMDI->currentIndex(), 0);
    const QPoint at = form->TabMDI->tabRect(0).center();
    QWheelEvent wheel(at, form->TabMDI->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(form->TabMDI, &wheel);
    ASSERT_EQ(form->TabMDI->currentIndex(), 1) << "the wheel moved the selection";
    const QString chosen = form->TabMDI->tabText(1);
    QCoreApplication::processEvents();
    ASSERT_NE(form->activeDocument(), nullptr);
    EXPECT_EQ(form->activeDocument()->FileName, chosen);
    EXPECT_EQ(form->TabMDI->tabText(form->TabMDI->currentIndex()), chosen);
    quit(*form);
}

// A minimized document that the user asks for again (by opening its file,
// from the recent files, its tab or the window menu) comes back into view.
TEST_F(DocManageTest, AMinimizedDocumentAskedForAgainIsShown)
{
    auto form = shown();
    const QString page = file(QStringLiteral("a.htm"));
    TEditForm *a = form->OpenDocument(page, false, 0);
    form->OpenDocument(file(QStringLiteral("b.htm")), false, 0);
    auto *sub = qobject_cast<QMdiSubWindow *>(a->parentWidget());
    auto minimize = [&] {
        sub->showMinimized();
        form->MDIArea->activateNextSubWindow();
        QCoreApplication::processEvents();
        ASSERT_TRUE(sub->isMinimized());
    };
    const std::pair<const char *, std::function<void()>> ways[] = {
        {"open", [&] { form->OpenDocument(page, false, 0); }},
        {"recent files",
         [&] {
             for (QAction *action : form->Menu_OpenNew->actions())
                 if (action->data().toString() == page)
                     action->trigger();
         }},
        {"tab",
         [&] {
             for (int i = 0; i < form->TabMDI->count(); ++i)
                 if (form->TabMDI->tabText(i) == QStringLiteral("a.htm"))
                     Q_EMIT form->TabMDI->tabBarClicked(i);
         }},
        {"window menu",
         [&] {
             Q_EMIT form->Menu_Window->aboutToShow();
             for (QAction *action : form->Menu_Window->actions())
                 if (action->text().endsWith(QStringLiteral(" a.htm")))
                     action->trigger();
         }},
    };
    for (const auto &[name, way] : ways) {
        minimize();
        way();
        QCoreApplication::processEvents();
        EXPECT_FALSE(sub->isMinimized()) << name;
        EXPECT_EQ(form->MDIArea->activeSubWindow(), sub) << name;
    }
    quit(*form);
}

// The toolkit reads "[*]" in a title as the place of the modified mark and
// leaves it out: a page named "neu[*].htm" showed as "neu.htm" in its title
// bar and in the main window's title. Everywhere it now shows as named.
TEST_F(DocManageTest, AFileNamedWithTheModifiedMarkShowsAsNamed)
{
    auto form = shown();
    TEditForm *doc = form->OpenDocument(file(QStringLiteral("neu[*].htm")), false, 0);
    ASSERT_NE(doc, nullptr);
    qobject_cast<QMdiSubWindow *>(doc->parentWidget())->showMaximized();
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->windowHandle()->title().endsWith(QStringLiteral("[neu[*].htm]"))) << form->windowHandle()->title().toStdString();
    EXPECT_EQ(form->TabMDI->tabText(0), QStringLiteral("neu[*].htm"));
    Q_EMIT form->Menu_Window->aboutToShow();
    EXPECT_EQ(form->Menu_Window->actions().last()->text(), QStringLiteral("&1 neu[*].htm"));
    quit(*form);
}

// Two items with one access key only take turns at being highlighted: the
// key must open its window, however many documents are open.
TEST_F(DocManageTest, TheWindowMenuGivesEveryAccessKeyOnce)
{
    auto form = shown();
    for (int i = 1; i <= 11; ++i)
        form->OpenDocument(file(QStringLiteral("d%1.htm").arg(i)), false, 0);
    Q_EMIT form->Menu_Window->aboutToShow();
    QMap<int, QString> keys;
    int listed = 0;
    for (QAction *action : form->Menu_Window->actions()) {
        if (action->isSeparator())
            continue;
        listed += action->text().contains(QStringLiteral(".htm"));
        const QKeySequence key = QKeySequence::mnemonic(action->text());
        if (key.isEmpty())
            continue;
        EXPECT_FALSE(keys.contains(key[0].toCombined()))
            << action->text().toStdString() << " and " << keys.value(key[0].toCombined()).toStdString();
        keys.insert(key[0].toCombined(), action->text());
    }
    EXPECT_EQ(listed, 11) << "every window is listed";
    quit(*form);
}

// A document brought back by Ctrl+Tab gives the keyboard to the page it
// shows: with its preview or links shown, the hidden editor cannot take it,
// and the keyboard was then nowhere (no paging, no Ctrl+Tab back).
TEST_F(DocManageTest, ADocumentBroughtBackGivesTheKeyboardToThePageItShows)
{
    auto form = shown();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&form] { return QApplication::activeWindow() == form.get(); }));
    TEditForm *other = form->OpenDocument(file(QStringLiteral("other.htm")), false, 0);
    TEditForm *doc = form->OpenDocument(file(QStringLiteral("page.htm"), "<a href=\"x.htm\">x</a>"), false, 0);
    const std::pair<QToolButton *, QWidget *> pages[] = {{doc->BtnLinks, doc->TreeView},
                                                         {doc->BtnSource, doc->ColorMemo},
                                                         {doc->BtnPreview, doc->HTMLViewer},
                                                         {doc->BtnInfo, doc->Pages->widget(2)},
                                                         {doc->BtnSource, doc->ColorMemo}};
    for (const auto &[button, page] : pages) {
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([page] { return page->hasFocus(); }));
        QTest::keyClick(page, Qt::Key_Tab, Qt::ControlModifier);
        ASSERT_TRUE(QTest::qWaitFor([other] { return other->ColorMemo->hasFocus(); }));
        QTest::keyClick(other->ColorMemo, Qt::Key_Tab, Qt::ControlModifier);
        ASSERT_EQ(form->activeDocument(), doc);
        EXPECT_TRUE(QTest::qWaitFor([page] { return page->hasFocus(); }, 1000))
            << button->objectName().toStdString() << ": focus on "
            << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "nothing");
    }
    quit(*form);
}

TEST_F(DocManageTest, TheCaretPanelFollowsTheActiveDocumentAndItsLines)
{
    auto form = shown();
    TEditForm *three = form->OpenDocument(file(QStringLiteral("three.htm"), "a\nb\nc"), false, 0);
    form->OpenDocument(file(QStringLiteral("one.htm"), "x"), false, 0);
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->statusPanelText(1).endsWith(QStringLiteral(" 1/1")));
    form->MDIArea->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(three->parentWidget()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(form->statusPanelText(1).endsWith(QStringLiteral("/3"))) << form->statusPanelText(1).toStdString();
    QTextCursor c(three->ColorMemo->document());
    c.movePosition(QTextCursor::EndOfBlock);
    three->ColorMemo->setTextCursor(c);
    c.deleteChar(); // joins the first two lines; the caret does not move
    EXPECT_TRUE(form->statusPanelText(1).endsWith(QStringLiteral(" 1/2"))) << form->statusPanelText(1).toStdString();
    quit(*form);
}

TEST_F(DocManageTest, TheNewButtonPutsTheWizardsPageIntoANewDocument)
{
    auto form = shown();
    scripted->onModal = [](QDialog &dialog) {
        auto &wizard = static_cast<TNewHTMLFileForm &>(dialog);
        wizard.EditTitle->setText(QStringLiteral("Home"));
        wizard.EditBGColor->setText(QStringLiteral("#FFFFFF"));
        wizard.BtnClose->click();
    };
    ASSERT_TRUE(form->BtnNew->isEnabled());
    form->BtnNew->trigger();
    EXPECT_EQ(scripted->modalRuns, QStringList{QStringLiteral("NewHTMLFileForm")});
    ASSERT_EQ(form->documents().size(), 1);
    const QString text = form->documents()[0]->ColorMemo->Text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("<html>\r\n<head>\r\n<title>Home</title>\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.endsWith(QStringLiteral("<body bgcolor=\"#FFFFFF\">\r\n\r\n</body>\r\n</html>"))) << text.toStdString();
    // The page the wizard made is the user's work: it can be saved, and
    // closing its window asks first instead of dropping it.
    EXPECT_TRUE(form->documents()[0]->isModified());
    EXPECT_TRUE(form->BtnSave->isEnabled());
    scripted->answers = {dialogs::Answer::Cancel};
    EXPECT_FALSE(form->documents()[0]->parentWidget()->close());
    ASSERT_FALSE(scripted->messages.isEmpty());
    EXPECT_EQ(scripted->messages.last().text, lex::message(3004) + lex::caption(1039) + lex::message(3005));
    EXPECT_EQ(form->documents().size(), 1);
    quit(*form);
}

// The new window stands while the wizard asks; text another program puts
// into it meanwhile is kept beside the page, not overwritten.
TEST_F(DocManageTest, TextInsertedWhileTheWizardAsksIsKept)
{
    auto form = shown();
    scripted->onModal = [&form](QDialog &dialog) {
        form->DdeServerExecuteMacro({QStringLiteral("insertstr"), QStringLiteral("<p>von aussen</p>")});
        auto &wizard = static_cast<TNewHTMLFileForm &>(dialog);
        wizard.EditTitle->setText(QStringLiteral("Home"));
        wizard.BtnClose->click();
    };
    form->BtnNew->trigger();
    ASSERT_EQ(form->documents().size(), 1);
    TEditForm *doc = form->documents()[0];
    const QString text = doc->ColorMemo->Text();
    EXPECT_TRUE(text.startsWith(QStringLiteral("<html>\r\n<head>\r\n<title>Home</title>\r\n"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("<p>von aussen</p>"))) << text.toStdString();
    EXPECT_TRUE(doc->isModified());
    quit(*form);
}

TEST_F(DocManageTest, TheNewMenuItemPutsTheChosenTemplateIntoANewDocumentOrSaysTheFileIsMissing)
{
    auto form = shown();
    form->Menu_New->trigger();
    ASSERT_EQ(scripted->messages.size(), 1);
    EXPECT_EQ(scripted->messages[0].text, lex::message(1002));
    EXPECT_TRUE(scripted->modalRuns.isEmpty());
    ASSERT_EQ(form->documents().size(), 1);
    EXPECT_TRUE(form->documents()[0]->ColorMemo->Text().isEmpty());

    programDir.write(QStringLiteral("template.mvt"), "Seite;<html>;<title>Neu</title>;</html>\r\n");
    scripted->onModal = [](QDialog &dialog) {
        auto &chooser = static_cast<TTemplateForm &>(dialog);
        chooser.Edit1->setText(QStringLiteral("Preise"));
        chooser.BtnClose->click();
    };
    form->Menu_New->trigger();
    EXPECT_EQ(scripted->modalRuns, QStringList{QStringLiteral("TemplateForm")});
    ASSERT_EQ(form->documents().size(), 2);
    EXPECT_EQ(form->documents()[0]->ColorMemo->Text(), QStringLiteral("<html>\r\n<title>Preise</title>\r\n</html>"));
    EXPECT_TRUE(form->documents()[0]->isModified());
    EXPECT_FALSE(form->documents()[1]->isModified()) << "without a template the new document is untouched";
    quit(*form);
}

// A page is saved in the encoding it declares, or its umlauts come out wrong
// in every browser; a page that declares nothing keeps the usual one.
TEST_F(DocManageTest, ANewPageFromATemplateIsSavedInTheEncodingItDeclares)
{
    auto form = shown();
    programDir.write(QStringLiteral("template.mvt"), "UTF-8;<!DOCTYPE html>;<meta charset=\"UTF-8\">;<title>Neu</title>\r\n"
                                                     "Alt;<html>;<meta charset=\"windows-1252\">;<title>Neu</title>\r\n"
                                                     "Ohne;<html>;<title>Neu</title>\r\n");
    const auto saveNew = [&](int templateIndex, const QString &name) {
        scripted->onModal = [templateIndex](QDialog &dialog) {
            auto &chooser = static_cast<TTemplateForm &>(dialog);
            chooser.ComboBox1->setCurrentIndex(templateIndex);
            Q_EMIT chooser.ComboBox1->activated(templateIndex);
            chooser.Edit1->setText(QStringLiteral("Grüße"));
            chooser.BtnClose->click();
        };
        form->Menu_New->trigger();
        const QString path = dir.filePath(name);
        scripted->fileAnswers.push_back(dialogs::FileResult{path, 1});
        form->BtnSave->trigger();
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << name.toStdString();
        return f.readAll();
    };
    EXPECT_TRUE(saveNew(0, QStringLiteral("utf8.htm"))
                    .contains("<title>Gr\xC3\xBC\xC3\x9F"
                              "e</title>"));
    EXPECT_TRUE(saveNew(1, QStringLiteral("ansi.htm"))
                    .contains("<title>Gr\xFC\xDF"
                              "e</title>"));
    EXPECT_TRUE(saveNew(2, QStringLiteral("plain.htm"))
                    .contains("<title>Gr\xFC\xDF"
                              "e</title>"));
    quit(*form);
}

// ---- Many documents at once ----

// Closing the active window activates another one; the bar then shows that
// one's tab first and selected, not the tab of a window out of view.
TEST_F(DocManageTest, AfterAClosingTheActiveWindowsTabIsSelected)
{
    auto form = shown();
    TEditForm *a = form->OpenDocument(file(QStringLiteral("a.htm")), false, 0);
    form->OpenDocument(file(QStringLiteral("b.htm")), false, 0);
    form->OpenDocument(file(QStringLiteral("c.htm")), false, 0);
    form->MDIArea->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(a->parentWidget()));
    QCoreApplication::processEvents();
    a->parentWidget()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    ASSERT_NE(form->activeDocument(), nullptr);
    ASSERT_EQ(form->TabMDI->count(), 2);
    EXPECT_EQ(form->TabMDI->currentIndex(), 0);
    EXPECT_EQ(form->TabMDI->tabText(0), form->activeDocument()->FileName);
    EXPECT_TRUE(form->BtnSaveAs->isEnabled());
    quit(*form);
}

// Two windows on one file: whichever is saved last silently undoes the
// other's work, and opening the file shows only one of them.
TEST_F(DocManageTest, SavingUnderTheFileOfAnotherOpenDocumentIsRefused)
{
    const QString pageA = file(QStringLiteral("a.htm"), "text of a");
    auto form = shown();
    TEditForm *a = form->OpenDocument(pageA, false, 0);
    TEditForm *b = form->OpenDocument(file(QStringLiteral("b.htm"), "text of b"), false, 0);
    TEditForm *fresh = form->OpenDocument(QString(), true, -1);
    fresh->ColorMemo->insertPlainText(QStringLiteral("new text"));

    // Save as, from a file-backed and from a new document, also in another spelling.
    form->MDIArea->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(b->parentWidget()));
    scripted->fileAnswers.push_back(dialogs::FileResult{pageA, 1});
    EXPECT_FALSE(b->SaveDocument(true));
    scripted->fileAnswers.push_back(dialogs::FileResult{dir.filePath(QStringLiteral("./sub/../a.htm")), 1});
    EXPECT_FALSE(fresh->SaveDocument(false));
    ASSERT_EQ(scripted->messages.size(), 2);
    EXPECT_EQ(scripted->messages[0].kind, dialogs::Kind::Error);
    EXPECT_EQ(scripted->messages[0].text, pageA + u'\n' + lex::message(3340));
    QFile f(pageA);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("text of a"));
    EXPECT_EQ(b->FileName, QStringLiteral("b.htm"));
    EXPECT_TRUE(fresh->FileName.isEmpty());
    EXPECT_TRUE(fresh->isModified());

    // The window's own file is no other window's.
    scripted->fileAnswers.push_back(dialogs::FileResult{pageA, 1});
    EXPECT_TRUE(a->SaveDocument(true));
    // Closing the program: Yes on the new document, its save refused, the program stays.
    scripted->answers = {dialogs::Answer::Yes};
    scripted->fileAnswers.push_back(dialogs::FileResult{dir.filePath(QStringLiteral("b.htm")), 1});
    const QPointer<TEditForm> kept(fresh);
    EXPECT_FALSE(form->close());
    QCoreApplication::processEvents();
    ASSERT_TRUE(kept);
    EXPECT_TRUE(kept->isModified());
    EXPECT_GE(form->FindDocument(dir.filePath(QStringLiteral("b.htm"))), 0);
    quit(*form);
}

// Several new documents share one caption: the question can only be
// answered for the document the user sees, so that one is brought to front.
TEST_F(DocManageTest, ClosingShowsEachDocumentItAsksAbout)
{
    auto form = shown();
    QList<TEditForm *> made;
    for (const char *text : {"first", "second", "third"}) {
        made.append(form->OpenDocument(QString(), true, -1));
        made.last()->ColorMemo->insertPlainText(QString::fromLatin1(text));
    }
    form->OpenDocument(file(QStringLiteral("plain.htm")), false, 0);
    QStringList shownWhenAsked;
    scripted->onMessage = [&](const dialogs::RecordedMessage &) {
        TEditForm *active = form->activeDocument();
        shownWhenAsked.append(active ? active->ColorMemo->plainText() : QStringLiteral("none"));
    };
    // No for the first asked, Cancel for the second: the rest stays open.
    scripted->answers = {dialogs::Answer::No, dialogs::Answer::Cancel};
    EXPECT_FALSE(form->close());
    scripted->onMessage = nullptr;
    EXPECT_EQ(shownWhenAsked, (QStringList{QStringLiteral("first"), QStringLiteral("second")}));
    QCoreApplication::processEvents();
    QStringList left;
    for (TEditForm *doc : form->documents())
        left.append(doc->ColorMemo->plainText());
    left.sort();
    EXPECT_EQ(left, (QStringList{QStringLiteral("second"), QStringLiteral("third"), QStringLiteral("x")}));
    quit(*form);
}

// The shipped templates name windows-1252: a Greek title typed into one is
// written as references under that label, never as UTF-8 bytes the browser
// would then read as Windows-1252.
TEST_F(DocManageTest, AGreekTitleInATemplateNamingWindows1252IsSavedAsReferences)
{
    auto form = shown();
    programDir.write(QStringLiteral("template.mvt"), "Seite;<html>;<meta charset=\"windows-1252\">;<title>Neu</title>\r\n");
    scripted->onModal = [](QDialog &dialog) {
        auto &chooser = static_cast<TTemplateForm &>(dialog);
        chooser.Edit1->setText(QStringLiteral("\u039C\u03BF\u03C5\u03C3\u03B9\u03BA\u03AE & M\u00FCller"));
        chooser.BtnClose->click();
    };
    form->Menu_New->trigger();
    const QString path = dir.filePath(QStringLiteral("greek.htm"));
    scripted->fileAnswers.push_back(dialogs::FileResult{path, 1});
    scripted->answers.push_back(dialogs::Answer::Yes); // UTF-8, if the question came
    form->BtnSave->trigger();
    EXPECT_TRUE(scripted->messages.isEmpty()) << "the page names its encoding: nothing to ask";
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), QByteArray("<html>\r\n<meta charset=\"windows-1252\">\r\n"
                                          "<title>&#924;&#959;&#965;&#963;&#953;&#954;&#942; & M\xFC"
                                          "ller</title>\r\n"));
    EXPECT_FALSE(form->documents().first()->isModified());
    quit(*form);
}
