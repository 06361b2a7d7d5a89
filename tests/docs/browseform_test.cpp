#include "common/boxnames.h"
#include "docs/browseform.h"
#include "docs/gifprevform.h"
#include "docs/prevform.h"
#include "docs/scanform.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/layoutcheck.h"
#include "support/testenv.h"
#include "testpictures.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileSystemModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStandardItemModel>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

namespace {

class BrowseFormTest : public ::testing::Test
{
protected:
    TempRegistry registry;
    dialogs::ScriptedDialogsGuard dialogs;
    QTemporaryDir root;
    QString pictures; // root/img/ with the test pictures
    std::optional<QString> documentFolder;
    std::unique_ptr<TBrowseForm> form;

    void SetUp() override
    {
        QDir(root.path()).mkdir(QStringLiteral("img"));
        pictures = root.filePath(QStringLiteral("img")) + u'/';
        writeAll(pictures + QStringLiteral("b.jpeg"), encoded(solidImage(200, 100, Qt::red), "JPG"));
        writeAll(pictures + QStringLiteral("a.GIF"), tinyGif());
        writeAll(pictures + QStringLiteral("c.png"), encoded(solidImage(30, 60, Qt::blue), "PNG"));
        writeAll(pictures + QStringLiteral("d.txt"), "no picture");
        writeAll(pictures + QStringLiteral("g.bmp"), encoded(solidImage(8, 8, Qt::red), "BMP"));
        const QByteArray jpeg = encoded(solidImage(64, 64, Qt::green), "JPG");
        writeAll(pictures + QStringLiteral("e.jpg"), jpeg.left(jpeg.size() / 2));
        QDir(pictures).mkdir(QStringLiteral("f.gif"));
        QApplication::clipboard()->setText(QStringLiteral("before"));
        form = std::make_unique<TBrowseForm>();
        form->ActiveDocumentFolder = [this] { return documentFolder; };
        form->selectFolder(QDir::cleanPath(pictures));
    }

    void TearDown() override
    {
        form.reset();
        // The toolkit cannot address these names, so the temporary folder
        // could not remove them: every run would leave it behind.
        for (const QByteArray &name : byteNamed)
            std::remove(name.constData());
    }

    // Empty files in the picture folder under names that are no UTF-8.
    void writeByteNamed(const QList<QByteArray> &names)
    {
        for (const QByteArray &name : names) {
            const QByteArray path = QFile::encodeName(pictures) + name;
            byteNamed.append(path);
            FILE *f = std::fopen(path.constData(), "wb");
            ASSERT_NE(f, nullptr);
            std::fclose(f);
        }
    }
    QList<QByteArray> byteNamed;

    // Big pictures, so that a scan of them runs long enough to be stopped.
    void writeManyPictures(int count)
    {
        const QByteArray jpeg = encoded(solidImage(1200, 900, Qt::darkCyan), "JPG");
        for (int i = 0; i < count; ++i)
            writeAll(pictures + QStringLiteral("many%1.jpg").arg(i, 2, 10, QLatin1Char('0')), jpeg);
    }

    void scan()
    {
        form->BtnScanClick();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !form->isScanning(); }, 20000));
    }

    QStringList column(int c) const
    {
        QStringList texts;
        for (int row = 0; row < form->items()->rowCount(); ++row)
            texts.append(form->items()->item(row, c)->text());
        return texts;
    }

    void click(const QString &name)
    {
        const QList<QStandardItem *> found = form->items()->findItems(name);
        ASSERT_EQ(found.size(), 1);
        form->ListView->setCurrentIndex(found[0]->index());
        form->ListViewClick();
    }

    QString clipboard() const { return QApplication::clipboard()->text(); }
};

TEST_F(BrowseFormTest, ScanListsThePicturesByNameWithSizesAndThumbnails)
{
    scan();
    EXPECT_EQ(column(0), (QStringList{"a.GIF", "b.jpeg", "c.png", "e.jpg"}));
    EXPECT_EQ(column(1), (QStringList{"1", "200", "30", ""}));
    EXPECT_EQ(column(2), (QStringList{"1", "100", "60", ""}));
    const qint64 jpegSize = QFileInfo(pictures + QStringLiteral("b.jpeg")).size();
    EXPECT_EQ(column(3)[1], QString::number(jpegSize) + QStringLiteral(" Bytes"));
    EXPECT_FALSE(form->items()->item(1)->icon().isNull());
    EXPECT_TRUE(form->items()->item(3)->icon().isNull()) << "a truncated picture gets no thumbnail";
    EXPECT_EQ(form->scannedFolder(), pictures);
    EXPECT_EQ(form->BtnScan->isEnabled(), true);
    EXPECT_EQ(form->ScanForm, nullptr);
}

TEST_F(BrowseFormTest, CopyTagBeforeAnyPictureIsChosenCopiesNothing)
{
    scan();
    form->BtnFileClick(true);
    form->BtnFileClick(false);
    EXPECT_EQ(clipboard(), QStringLiteral("before"));
}

// A picture reached by the arrow keys is the one Copy Tag copies, not the
// one clicked before.
TEST_F(BrowseFormTest, CopyTagFollowsThePictureChosenByKeyboard)
{
    documentFolder = root.path();
    scan();
    click(QStringLiteral("a.GIF"));
    form->ListView->setFocus();
    QTest::keyClick(form->ListView, Qt::Key_Right);
    EXPECT_EQ(form->StatusBar[0]->text(), QStringLiteral("b.jpeg"));
    form->BtnFileClick(true);
    EXPECT_EQ(clipboard(), QStringLiteral("<img src=\"img/b.jpeg\" width=\"200\" height=\"100\" border=\"0\">"));
}

TEST_F(BrowseFormTest, TagAndReferenceAreRelativeToTheDocumentsFolder)
{
    documentFolder = root.path();
    scan();
    EXPECT_EQ(form->relativeFolder(), QStringLiteral("img/"));
    EXPECT_EQ(form->StatusBar[4]->text(), QStringLiteral("img/"));
    click(QStringLiteral("b.jpeg"));
    EXPECT_EQ(form->StatusBar[0]->text(), QStringLiteral("b.jpeg"));
    EXPECT_EQ(form->StatusBar[1]->text(), QStringLiteral("200"));
    form->BtnFileClick(true);
    EXPECT_EQ(clipboard(), QStringLiteral("<img src=\"img/b.jpeg\" width=\"200\" height=\"100\" border=\"0\">"));
    form->BtnFileClick(false);
    EXPECT_EQ(clipboard(), QStringLiteral("img/b.jpeg"));
    click(QStringLiteral("e.jpg"));
    form->ListViewDblClick();
    EXPECT_EQ(clipboard(), QStringLiteral("<img src=\"img/e.jpg\" width=\"\" height=\"\" border=\"0\">"));
}

TEST_F(BrowseFormTest, UnsavedDocumentGivesTheBareFileName)
{
    documentFolder = QString();
    scan();
    EXPECT_EQ(form->relativeFolder(), QStringLiteral("[..]"));
    click(QStringLiteral("a.GIF"));
    form->BtnFileClick(true);
    EXPECT_EQ(clipboard(), QStringLiteral("<img src=\"a.GIF\" width=\"1\" height=\"1\" border=\"0\">"));
}

TEST_F(BrowseFormTest, WithoutADocumentTheRelativeFolderOfTheLastScanStays)
{
    documentFolder = root.path();
    scan();
    documentFolder.reset();
    form->selectFolder(root.path());
    scan();
    EXPECT_EQ(form->relativeFolder(), QStringLiteral("img/"));
    EXPECT_EQ(form->scannedFolder(), WithTrailingBackslash(root.path()));
}

TEST_F(BrowseFormTest, StatusOfTheLastClickOutlivesANewScanWhichBringsItsOwnFolder)
{
    documentFolder = root.path();
    scan();
    click(QStringLiteral("c.png"));
    documentFolder = pictures;
    scan();
    form->BtnFileClick(true);
    EXPECT_EQ(form->StatusBar[4]->text(), QStringLiteral("[..]")) << "same folder: empty, shown as [..]";
    EXPECT_EQ(clipboard(), QStringLiteral("<img src=\"c.png\" width=\"30\" height=\"60\" border=\"0\">"));
}

// A scan of another folder forgets the picture chosen in the last one: its
// name under the new folder would name no file.
TEST_F(BrowseFormTest, AScanOfAnotherFolderForgetsThePictureChosenBefore)
{
    documentFolder = root.path();
    scan();
    click(QStringLiteral("c.png"));
    form->selectFolder(root.path());
    scan();
    EXPECT_EQ(form->StatusBar[0]->text(), QString());
    form->BtnFileClick(true);
    EXPECT_EQ(clipboard(), QStringLiteral("before"));
}

TEST_F(BrowseFormTest, StopKeepsWhatWasFoundInNameOrder)
{
    writeManyPictures(60);
    form->BtnScanClick();
    ASSERT_TRUE(form->isScanning());
    ASSERT_NE(form->ScanForm, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] { return form->items()->rowCount() >= 5; }, 20000));
    form->ScanForm->ToolbarButton971->click();
    EXPECT_FALSE(form->isScanning()) << "Stop takes effect at once";
    const QStringList names = column(0);
    const int found = int(names.size());
    EXPECT_LT(found, 65);
    QStringList sorted = names;
    sorted.sort(Qt::CaseInsensitive);
    EXPECT_EQ(names, sorted);
    QTest::qWait(100);
    EXPECT_EQ(form->items()->rowCount(), found) << "nothing arrives after the stop";
}

// Files are listed when the scan starts and their thumbnails made later; a
// picture deleted in between must not be offered with "0 Bytes" and a tag
// to a file that is gone, and a whole folder deleted ends the scan calmly.
TEST_F(BrowseFormTest, PicturesDeletedDuringTheScanAreNotListed)
{
    writeManyPictures(30);
    form->BtnScanClick();
    ASSERT_TRUE(form->isScanning());
    ASSERT_TRUE(QFile::remove(pictures + QStringLiteral("many29.jpg")));
    ASSERT_TRUE(QFile::remove(pictures + QStringLiteral("many28.jpg")));
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->isScanning(); }, 20000));
    EXPECT_TRUE(form->items()->findItems(QStringLiteral("many29.jpg")).isEmpty());
    EXPECT_TRUE(form->items()->findItems(QStringLiteral("many28.jpg")).isEmpty());
    EXPECT_EQ(form->items()->findItems(QStringLiteral("many27.jpg")).size(), 1);
    EXPECT_FALSE(column(3).contains(QStringLiteral("0 Bytes")));

    form->BtnScanClick();
    ASSERT_TRUE(form->isScanning());
    ASSERT_TRUE(QDir(pictures).removeRecursively());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form->isScanning(); }, 20000));
    EXPECT_FALSE(column(3).contains(QStringLiteral("0 Bytes")));
    EXPECT_LT(form->items()->rowCount(), 30);
}

TEST_F(BrowseFormTest, AnyCharacterKeyInTheBrowserStopsTheScan)
{
    writeManyPictures(40);
    form->show();
    form->BtnScanClick();
    ASSERT_TRUE(form->isScanning());
    QTest::keyClick(form->ListView, Qt::Key_X);
    EXPECT_FALSE(form->isScanning());
    form->BtnScanClick();
    EXPECT_TRUE(form->isScanning()) << "a key from before does not stop the next scan";
    QTest::keyClick(form->ScanForm, Qt::Key_Escape);
    EXPECT_FALSE(form->isScanning());
}

// The scan window names each file as it is read: a name of 200 letters, or
// one with a line break, must not stretch the window past the screen or
// make it taller, with its Stop button.
TEST_F(BrowseFormTest, LongFileNamesKeepTheScanWindowInTheScreen)
{
    TScanForm window(form.get());
    window.show();
    const int screenWidth = window.screen()->availableGeometry().width();
    const QSize before = window.size();
    window.showEntry(QString(200, u'w') + QStringLiteral(".jpg"));
    QTest::qWait(50);
    EXPECT_LE(window.width(), screenWidth);
    window.showEntry(QStringLiteral("zwei\nZeilen.gif"));
    QTest::qWait(50);
    EXPECT_EQ(window.height(), before.height());
    EXPECT_FALSE(window.Label2->text().contains(u'\n'));
}

// Escape closes the browser from its lists as its Close button does; while
// a scan runs it only stops the scan.
TEST_F(BrowseFormTest, EscapeClosesTheWindowUnlessAScanRuns)
{
    writeManyPictures(40);
    form->show();
    form->BtnScanClick();
    ASSERT_TRUE(form->isScanning());
    QTest::keyClick(form->ListView, Qt::Key_Escape);
    EXPECT_FALSE(form->isScanning());
    EXPECT_TRUE(form->isVisible());
    for (QWidget *focus : std::initializer_list<QWidget *>{form->ListView, form->ReportView, form->DLB}) {
        form->show();
        QTest::keyClick(focus, Qt::Key_Escape);
        EXPECT_FALSE(form->isVisible()) << focus->objectName().toStdString();
    }
}

TEST_F(BrowseFormTest, ViewsAndContextMenuFollowTheButtons)
{
    scan();
    EXPECT_EQ(form->Panel6->currentWidget(), form->ListView);
    form->Menu_Report->trigger();
    EXPECT_EQ(form->Panel6->currentWidget(), form->ReportView);
    EXPECT_TRUE(form->BtnReport->isChecked());
    EXPECT_FALSE(form->BtnIcon->isChecked());
    form->BtnIconClick();
    EXPECT_EQ(form->Panel6->currentWidget(), form->ListView);
    form->PopupMenuPopup();
    EXPECT_FALSE(form->Menu_CopyTag->isEnabled());
    EXPECT_FALSE(form->Menu_CopyFile->isEnabled());
    form->ListView->selectionModel()->select(form->items()->index(0, 0), QItemSelectionModel::Select);
    form->PopupMenuPopup();
    EXPECT_TRUE(form->Menu_CopyTag->isEnabled());
    EXPECT_EQ(form->PopupMenu->defaultAction(), form->Menu_CopyTag);
}

// The report's column captions speak the language of the other texts.
TEST_F(BrowseFormTest, ReportColumnsAreCaptionedInGerman)
{
    QStringList captions;
    for (int c = 0; c < form->items()->columnCount(); ++c)
        captions.append(form->items()->headerData(c, Qt::Horizontal).toString());
    EXPECT_EQ(captions, (QStringList{"Name", "Breite", "Höhe", "Größe"}));
}

// The panel is one line high: showing the window with a long text of
// several paragraphs on the clipboard gives the same short line the main
// window writes there, not the whole text laid out on every paint.
TEST_F(BrowseFormTest, ClipboardPanelShowsOneShortLineOnShow)
{
    const QString text = QStringLiteral("eins") + QChar(QChar::ParagraphSeparator) + QStringLiteral("zwei") + QChar(QChar::LineSeparator) +
                         QStringLiteral("drei\r\nvier") + QString(200000, u'x');
    QApplication::clipboard()->setText(text);
    form->show();
    const QString shown = form->P_Clipbrd->text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("eins zwei drei vierxxx"))) << shown.left(40).toStdString();
    EXPECT_LE(shown.size(), 300);
    EXPECT_FALSE(shown.contains(QChar(QChar::ParagraphSeparator)) || shown.contains(QChar(QChar::LineSeparator)));
    // Cut before a character, not between the halves of an emoji.
    form->hide();
    QApplication::clipboard()->setText(QString(255, u'x') + QString::fromUcs4(U"\U0001F600") + QStringLiteral("tail"));
    form->show();
    EXPECT_EQ(form->P_Clipbrd->text(), QString(255, u'x') + QChar(0x2026));
}

TEST_F(BrowseFormTest, BoundsOutliveTheWindow)
{
    form->setGeometry(60, 70, 640, 400);
    form.reset();
    EXPECT_TRUE(registry.contents().contains("\"BrowseFormPos\"=\"60;70;640;400;0\"")) << registry.contents().constData();
}

// The folder tree watches every folder it has listed, and the system allows
// each user only so many watches: a day of browsing used them up for good.
// Closed, the browser keeps no more than the way to its chosen folder, and
// shows folders made meanwhile when it opens again.
TEST_F(BrowseFormTest, ClosingTheBrowserGivesBackTheWatchesOfTheFoldersVisited)
{
    form->show();
    const int before = fileWatchCount();
    for (int i = 0; i < 40; ++i) {
        const QString folder = root.filePath(QStringLiteral("visited%1").arg(i));
        QDir().mkpath(folder + QStringLiteral("/inner"));
        form->selectFolder(folder);
        form->DLB->expand(form->DLB->currentIndex());
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileWatchCount() >= before + 40; }, 10000)) << fileWatchCount();
    const QString chosen = form->selectedFolder();
    form->BtnClose->click();
    EXPECT_FALSE(form->isVisible());
    EXPECT_LE(fileWatchCount(), before + 2);
    EXPECT_EQ(form->selectedFolder(), chosen);

    QDir(root.path()).mkdir(QStringLiteral("made meanwhile"));
    form->show();
    auto *tree = qobject_cast<QFileSystemModel *>(form->DLB->model());
    ASSERT_NE(tree, nullptr);
    const QModelIndex top = tree->index(root.path());
    form->DLB->expand(top);
    const auto listed = [&] {
        for (int row = 0; row < tree->rowCount(top); ++row)
            if (tree->fileName(tree->index(row, 0, top)) == QStringLiteral("made meanwhile"))
                return true;
        return false;
    };
    EXPECT_TRUE(QTest::qWaitFor(listed, 10000));
    form->selectFolder(QDir::cleanPath(pictures));
    scan();
    EXPECT_EQ(column(0), (QStringList{"a.GIF", "b.jpeg", "c.png", "e.jpg"})) << "the renewed tree still names the folder to scan";
}

TEST_F(BrowseFormTest, PreviewOpensTheKindThatFitsTheFile)
{
    scan();
    QStringList titles;
    dialogs->onModal = [&titles](QDialog &dialog) { titles.append(dialog.windowTitle()); };
    form->BtnPreviewClick();
    EXPECT_TRUE(dialogs->modalRuns.isEmpty()) << "no focused item, no preview";
    form->ListView->setCurrentIndex(form->items()->index(0, 0));
    form->BtnPreviewClick();
    form->ListView->setCurrentIndex(form->items()->index(1, 0));
    form->BtnPreviewClick();
    form->ListView->setCurrentIndex(form->items()->index(3, 0));
    form->BtnPreviewClick();
    EXPECT_EQ(dialogs->modalRuns, (QStringList{"GifPrevForm", "PrevForm"})) << "the truncated picture shows no preview";
    ASSERT_EQ(titles.size(), 2);
    EXPECT_EQ(titles[1], lex::caption(1114) + u' ' + pictures + QStringLiteral("b.jpeg"));
    QFile::remove(pictures + QStringLiteral("a.GIF"));
    form->ListView->setCurrentIndex(form->items()->index(0, 0));
    form->BtnPreviewClick();
    EXPECT_EQ(dialogs->modalRuns.size(), 2) << "a file gone since the scan shows nothing";
}

#ifndef Q_OS_WIN
// Pictures named in Latin-1 (from an old archive) cannot be listed: the
// toolkit leaves them out of its listing. The user is told which ones
// instead of missing them without a word.
TEST_F(BrowseFormTest, PicturesWhoseNamesAreNoUtf8AreNamedAfterTheScan)
{
    writeByteNamed({"caf\xE9.gif", "\xE4rger.txt"});
    scan();
    EXPECT_EQ(column(0), (QStringList{"a.GIF", "b.jpeg", "c.png", "e.jpg"}));
    ASSERT_EQ(dialogs->messages.size(), 1);
    EXPECT_EQ(dialogs->messages[0].text, lex::message(3385) + QStringLiteral("\ncafé.gif")) << "only pictures are named";
    scan();
    EXPECT_EQ(dialogs->messages.size(), 2) << "each scan tells again";
}

// Quitting the program while a scan runs ends the scan without the box
// that names the unlisted pictures: nobody is left to read it.
TEST_F(BrowseFormTest, QuittingDuringAScanShowsNoMessage)
{
    writeByteNamed({"caf\xE9.gif"});
    writeManyPictures(30);
    form->BtnScanClick();
    ASSERT_TRUE(form->isScanning());
    form.reset();
    EXPECT_TRUE(dialogs->messages.isEmpty());
}

// An old archive holds such pictures by the dozen: the box names the first
// and counts the rest, or it grows past the screen with its button.
TEST_F(BrowseFormTest, ManyPicturesWhoseNamesAreNoUtf8AreCounted)
{
    QList<QByteArray> names;
    QStringList shown;
    for (int i = 10; i < 40; ++i) {
        names.append("\xE4rger" + QByteArray::number(i) + ".gif");
        shown.append(QStringLiteral("ärger%1.gif").arg(i));
    }
    writeByteNamed(names);
    scan();
    ASSERT_EQ(dialogs->messages.size(), 1);
    EXPECT_EQ(dialogs->messages[0].text, lex::message(3385) + u'\n' + shown.mid(0, kMaxNamesInBox - 1).join(u'\n') + u'\n' +
                                             lex::message(3410) + u' ' + QString::number(shown.size() - (kMaxNamesInBox - 1)));
}

// A folder named "alt\" (unpacked from a Windows archive): its pictures are
// previewed from that folder, and the tag names it, not a folder "alt".
TEST_F(BrowseFormTest, AFolderNameEndingInABackslashIsOneFolder)
{
    const QString folder = root.filePath(QStringLiteral("alt\\"));
    ASSERT_TRUE(QDir().mkdir(folder));
    writeAll(folder + QStringLiteral("/a.gif"), tinyGif());
    documentFolder = root.path();
    form->selectFolder(folder);
    scan();
    EXPECT_EQ(form->scannedFolder(), folder + u'/');
    click(QStringLiteral("a.gif"));
    form->BtnFileClick(false);
    EXPECT_EQ(clipboard(), QStringLiteral("alt%5C/a.gif"));
    QStringList titles;
    dialogs->onModal = [&titles](QDialog &dialog) { titles.append(dialog.windowTitle()); };
    form->BtnPreviewClick();
    EXPECT_EQ(titles, QStringList{lex::caption(1114) + u' ' + folder + QStringLiteral("/a.gif")});
}
#endif

} // namespace

// Choosing another drive shows its folders; Scan then reads that drive, not
// a folder of the drive shown before, which the tree no longer shows.
TEST_F(BrowseFormTest, ScanAfterChoosingAnotherDriveReadsThatDrive)
{
    ASSERT_EQ(form->selectedFolder(), QDir::cleanPath(pictures));
    int other = -1;
    for (int i = 0; i < form->DCB->count(); ++i) {
        const QString drive = form->DCB->itemData(i).toString();
        if (!WithTrailingBackslash(QDir::cleanPath(pictures)).startsWith(WithTrailingBackslash(drive)))
            other = i;
    }
    if (other < 0)
        GTEST_SKIP() << "only one drive holds the test folder";
    const QString drive = form->DCB->itemData(other).toString();
    form->DCB->setCurrentIndex(other);
    EXPECT_TRUE(WithTrailingBackslash(form->selectedFolder()).startsWith(WithTrailingBackslash(drive)))
        << "the tree shows " << drive.toStdString() << " but Scan would read " << form->selectedFolder().toStdString();
}

// 1024 x 600 at 144 dpi: the window fits, the buttons that do not fit stay
// behind the bar's extension arrow, and nothing reaches out of its place.
TEST_F(BrowseFormTest, TheWindowFitsASmallScreenWithEveryButtonInReach)
{
    EXPECT_LE(form->minimumSizeHint().width(), kSmallScreen.width());
    EXPECT_LE(form->minimumSizeHint().height(), kSmallScreen.height());
    form->resize(kSmallScreen);
    form->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(form->size(), kSmallScreen);
    EXPECT_EQ(layoutFaults(*form), QStringList());
    const auto *bar = form->findChild<QToolBar *>(QStringLiteral("Panel1"));
    ASSERT_NE(bar, nullptr);
    const auto *more = bar->findChild<QToolButton *>(QStringLiteral("qt_toolbar_ext_button"));
    for (const QToolButton *button :
         {form->BtnPreview, form->BtnTag, form->BtnFile, form->BtnScan, form->BtnIcon, form->BtnReport, form->BtnClose})
        EXPECT_TRUE(button->isVisible() || (more && more->isVisible())) << button->objectName().toStdString();
}
