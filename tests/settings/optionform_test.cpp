#include "platform/filefaults.h"
#include "platform/lexstrings.h"
#include "platform/registry.h"
#include "platform/scripteddialogs.h"
#include "settings/optionform.h"
#include "settings/optionhost.h"
#include "support/layoutcheck.h"
#include "support/testenv.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <cerrno>

using namespace settings;

namespace {

class RecordingHost : public OptionHost
{
public:
    int refreshes = 0;
    QStringList errors;
    // What the store held when the main window was told to refresh.
    OptionValues storedAtRefresh;
    void RefreshFromOptions() override
    {
        ++refreshes;
        storedAtRefresh = loadOptionValues();
    }
    void ShowException(const QString &message) override { errors.append(message); }
};

QByteArray pngBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

class OptionFormTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    TempProgramDir programDir;
    // The user's own pictures are listed too; the tests' lists must not
    // depend on who runs them.
    TempUserDataDir userData;
    dialogs::ScriptedDialogsGuard scripted;
    RecordingHost host;

    void TearDown() override { filefaults::clear(); }

    QString selectedPicture(const TOptionForm &form) const
    {
        const QList<QListWidgetItem *> items = form.FileList->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text();
    }
    void selectPicture(TOptionForm &form, const QString &name) const
    {
        form.FileList->setCurrentItem(form.FileList->findItems(name, Qt::MatchExactly).value(0));
    }
};

} // namespace

TEST_F(OptionFormTest, OpensWithTheStoredValuesAndNothingToApply)
{
    const QStringList fonts = sortedFontFamilies();
    ASSERT_FALSE(fonts.isEmpty()) << "the display offers no fonts";
    programDir.write(QStringLiteral("backs/tile.png"), pngBytes(30, 20));
    programDir.write(QStringLiteral("backs/another.png"), pngBytes(5, 5));
    OptionValues stored;
    stored.tagListSide = Side::Right;
    stored.editorFont = fonts.first();
    stored.printerFont = QStringLiteral("No Such Face On This Display");
    stored.editorFontSize = 14;
    stored.printerFontSize = 8;
    stored.tagColor = 0x00A000;
    stored.browsers[1] = {QStringLiteral("Zwei"), QStringLiteral("/nowhere/zwei")};
    stored.backgroundPicture = QStringLiteral("TILE.PNG");
    storeOptionValues(stored);

    TOptionForm form(&host);
    EXPECT_EQ(form.windowTitle(), lex::caption(1052));
    EXPECT_EQ(form.PageControl->tabText(2), lex::caption(1094));
    EXPECT_EQ(form.GroupBrowse2->title(), lex::caption(1054) + QStringLiteral(" 2"));
    EXPECT_TRUE(form.RB_TagAlignRight->isChecked());
    EXPECT_EQ(form.FC_Editor->currentIndex(), 0) << "the first font of the sorted list is selected like any other";
    EXPECT_EQ(form.FC_Printer->currentIndex(), -1) << "a font the display lacks shows no selection";
    EXPECT_EQ(form.FC_Editor->count(), fonts.size());
    EXPECT_EQ(form.UD_SizeEditor->value(), 14);
    EXPECT_EQ(form.UD_SizePrinter->maximum(), 100);
    EXPECT_EQ(form.L_HTMLColor.size(), 7);
    EXPECT_EQ(form.L_HTMLColor[6]->palette().color(QPalette::WindowText), QColor(0, 0xA0, 0));
    EXPECT_EQ(form.EditB2_Title->text(), QStringLiteral("Zwei"));
    EXPECT_EQ(form.EditB2_Program->text(), QStringLiteral("/nowhere/zwei"));
    EXPECT_EQ(form.FileList->count(), 2);
    EXPECT_EQ(selectedPicture(form), QStringLiteral("tile.png")) << "found without regard to case";
    EXPECT_EQ(form.L_Width->text(), QStringLiteral("30"));
    EXPECT_EQ(form.L_Height->text(), QStringLiteral("20"));
    EXPECT_FALSE(form.BackImage->pixmap().isNull());
    EXPECT_FALSE(form.BtnTakeIt->isEnabled());
    EXPECT_FALSE(form.hasUnappliedChanges());
}

TEST_F(OptionFormTest, OkWithoutChangesWritesNothing)
{
    storeOptionValues(OptionValues());
    const QByteArray before = reg.contents();
    const int writes = Registry::fileWritesInProcess();
    TOptionForm form(&host);
    form.BtnOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(Registry::fileWritesInProcess(), writes);
    EXPECT_EQ(reg.contents(), before);
    EXPECT_EQ(host.refreshes, 0);
}

TEST_F(OptionFormTest, AColourAndOkStoreEverySettingOfTheDialog)
{
    OptionValues stored;
    stored.editorFont = QStringLiteral("No Such Face On This Display");
    stored.editorFontSize = 150;
    storeOptionValues(stored);
    TOptionForm form(&host);
    EXPECT_EQ(form.UD_SizeEditor->value(), 100);
    EXPECT_FALSE(form.BtnTakeIt->isEnabled()) << "values the dialog cannot show are no change";

    scripted->colorAnswers = {std::nullopt, ColorValue(0x0000C0), ColorValue(0x123456)};
    form.BtnHTMLColor->click();
    EXPECT_FALSE(form.BtnTakeIt->isEnabled()) << "a cancelled colour dialog changes nothing";
    form.BtnHTMLColor->click();
    EXPECT_TRUE(form.BtnTakeIt->isEnabled());
    form.BtnCommentColor->click();
    EXPECT_EQ(scripted->colorRequests, (QList<ColorValue>{colors::clBlack, colors::clBlack, ColorValue(0x0000C0)}))
        << "the dialog opens with the colour chosen last, black at first";
    EXPECT_EQ(form.L_CommColor->palette().color(QPalette::WindowText), QColor(0x56, 0x34, 0x12));

    form.BtnOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    OptionValues expected;
    expected.tagColor = 0x0000C0;
    expected.commentColor = 0x123456;
    expected.editorFontSize = 100;
    EXPECT_EQ(loadOptionValues(), expected) << "the missing font is stored empty, the size as shown";
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_EQ(host.storedAtRefresh, expected) << "the main window refreshes after the values are stored";
}

TEST_F(OptionFormTest, TakeItRecordsExactlyTheChangesNotYetApplied)
{
    TOptionForm form(&host);
    form.EditB1_Title->setText(QStringLiteral("Mein Browser"));
    EXPECT_TRUE(form.BtnTakeIt->isEnabled()) << "a browser title is a change like any other";
    form.EditB1_Title->setText(QString());
    EXPECT_FALSE(form.BtnTakeIt->isEnabled()) << "undone by hand, nothing is left to apply";

    form.RB_TagAlignRight->setChecked(true);
    form.UD_SizePrinter->setValue(12);
    form.BtnTakeIt->click();
    EXPECT_FALSE(form.BtnTakeIt->isEnabled());
    EXPECT_EQ(form.result(), 0) << "Take It keeps the dialog open";
    EXPECT_EQ(tagListAlign(), Side::Right);
    EXPECT_EQ(pFontHeight(), 12);
    EXPECT_EQ(host.refreshes, 1);

    form.RB_TagAlignLeft->setChecked(true);
    EXPECT_TRUE(form.BtnTakeIt->isEnabled()) << "going back to the value before the last apply is a change";
    form.BtnCancel->click();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(tagListAlign(), Side::Right) << "Cancel applies nothing";
    EXPECT_EQ(host.refreshes, 1);
}

// Tab goes along the buttons as they stand, OK, Cancel, Take It; Escape
// drops the changes, Enter in an edit is OK and applies them.
TEST_F(OptionFormTest, TheKeyboardFollowsTheButtonsAndCancelsOrConfirms)
{
    {
        TOptionForm form(&host);
        form.show();
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        form.RB_TagAlignRight->setChecked(true);
        ASSERT_TRUE(form.BtnTakeIt->isEnabled());
        ASSERT_LT(form.BtnOK->x(), form.BtnCancel->x());
        ASSERT_LT(form.BtnCancel->x(), form.BtnTakeIt->x());
        form.BtnOK->setFocus();
        QTest::keyClick(form.BtnOK, Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form.BtnCancel);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form.BtnTakeIt);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        EXPECT_EQ(form.result(), QDialog::Rejected);
        EXPECT_EQ(tagListAlign(), Side::Left) << "Escape applies nothing";
        EXPECT_EQ(host.refreshes, 0);
    }
    TOptionForm form(&host);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.RB_TagAlignRight->setChecked(true);
    form.PageControl->setCurrentIndex(1);
    form.EditB1_Program->setFocus();
    QTest::keyClick(form.EditB1_Program, Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(tagListAlign(), Side::Right);
}

TEST_F(OptionFormTest, AFailedApplyIsToldAndKeepsTheChanges)
{
    storeOptionValues(OptionValues());
    const QByteArray before = reg.contents();
    TOptionForm form(&host);
    form.UD_SizeEditor->setValue(22);
    filefaults::failNext(filefaults::Step::Write, ENOSPC);
    form.BtnOK->click();
    ASSERT_EQ(host.errors.size(), 1);
    EXPECT_TRUE(host.errors[0].startsWith(lex::message(3035))) << host.errors[0].toStdString();
    EXPECT_NE(form.result(), QDialog::Accepted) << "the dialog stays open with the changes";
    EXPECT_TRUE(form.BtnTakeIt->isEnabled());
    EXPECT_EQ(reg.contents(), before);
    EXPECT_EQ(host.refreshes, 0);

    form.BtnOK->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(fontHeight(), 22);
}

TEST_F(OptionFormTest, ABrowserProgramMustExistAndShowsItsIcon)
{
    programDir.write(QStringLiteral("tools/webby"), "#!/bin/sh\n");
    const QString program = programDir.path() + QStringLiteral("tools/webby");
    TOptionForm form(&host);
    scripted->fileAnswers = {dialogs::FileResult{programDir.path() + QStringLiteral("tools/missing"), 1}, dialogs::FileResult{program, 1}};
    form.BtnBrowser1->click();
    EXPECT_EQ(form.EditB1_Program->text(), QString()) << "a file that does not exist is not taken";
    EXPECT_FALSE(form.BtnTakeIt->isEnabled());
    ASSERT_EQ(scripted->openRequests.size(), 1);
    EXPECT_EQ(scripted->openRequests[0].title, QStringLiteral("Morvaline\u00B4s Quirtle"));
    EXPECT_TRUE(scripted->openRequests[0].filter.startsWith(QStringLiteral("Internet Browser|")));

    form.BtnBrowser1->click();
    EXPECT_EQ(form.EditB1_Program->text(), program);
    EXPECT_TRUE(form.BtnTakeIt->isEnabled());
    EXPECT_EQ(form.EditB2_Program->text(), QString()) << "the other group keeps its program";
    const QPixmap icon = form.ImageIcon1->pixmap();
    EXPECT_FALSE(icon.isNull()) << "the icon of the program file";
    form.EditB1_Program->setText(QStringLiteral("/nowhere/else"));
    EXPECT_EQ(form.ImageIcon1->pixmap().cacheKey(), icon.cacheKey()) << "a path that names no file leaves the icon";

    form.BtnOK->click();
    EXPECT_EQ(browserPath(1), QStringLiteral("/nowhere/else"));
    EXPECT_EQ(browserName(1), QString());
}

TEST_F(OptionFormTest, TheBackgroundPageListsAndMeasuresThePictures)
{
    programDir.write(QStringLiteral("backs/small.png"), pngBytes(40, 12));
    programDir.write(QStringLiteral("backs/broken.png"), "not a picture");
    programDir.write(QStringLiteral("backs/large.PNG"), pngBytes(640, 480));
    programDir.write(QStringLiteral("backs/readme.txt"), "text");
    storeOptionValues(OptionValues());
    setBackground(QStringLiteral("gone.png"));
    TOptionForm form(&host);
    ASSERT_EQ(form.FileList->count(), 3);
    EXPECT_EQ(selectedPicture(form), QString()) << "a stored picture that is not there selects nothing";

    selectPicture(form, QStringLiteral("small.png"));
    EXPECT_EQ(form.L_Width->text(), QStringLiteral("40"));
    EXPECT_EQ(form.L_Height->text(), QStringLiteral("12"));
    const qint64 shown = form.BackImage->pixmap().cacheKey();
    selectPicture(form, QStringLiteral("broken.png"));
    EXPECT_EQ(form.L_Width->text(), QStringLiteral("40")) << "a picture that does not load leaves the last one";
    EXPECT_EQ(form.BackImage->pixmap().cacheKey(), shown);
    selectPicture(form, QStringLiteral("large.PNG"));
    EXPECT_EQ(form.L_Width->text(), QStringLiteral("640")) << "the numbers tell the picture's own size";
    EXPECT_LE(form.BackImage->pixmap().width(), form.BackImage->width()) << "a large picture is shown smaller";
    form.BtnTakeIt->click();
    EXPECT_EQ(background(), QStringLiteral("large.PNG"));

    form.FileList->clearSelection();
    form.BtnOK->click();
    EXPECT_EQ(background(), QString()) << "no picture selected stores an empty name";
}

TEST_F(OptionFormTest, AMissingBacksFolderIsMade)
{
    const QString backs = programDir.path() + QStringLiteral("backs");
    ASSERT_FALSE(QFileInfo::exists(backs));
    TOptionForm form(&host);
    EXPECT_TRUE(QFileInfo(backs).isDir());
    EXPECT_EQ(form.FileList->count(), 0);
}

// Installed, the program folder belongs to root: the user's own pictures
// come from the user's data folder.
TEST_F(OptionFormTest, PicturesOfTheUsersOwnFolderAreListedShownAndStored)
{
    const QString userBacks = userData.path() + QStringLiteral("backs");
    programDir.write(QStringLiteral("backs/shipped.png"), pngBytes(10, 10));
    storeOptionValues(OptionValues());
    {
        TOptionForm form(&host);
        EXPECT_TRUE(QFileInfo(userBacks).isDir()) << "made, so that the user finds where pictures go";
        EXPECT_EQ(form.FileList->count(), 1);
    }
    userData.write(QStringLiteral("backs/mine.png"), pngBytes(24, 16));
    TOptionForm form(&host);
    ASSERT_EQ(form.FileList->count(), 2);
    selectPicture(form, QStringLiteral("mine.png"));
    EXPECT_EQ(form.L_Width->text(), QStringLiteral("24"));
    EXPECT_EQ(form.L_Height->text(), QStringLiteral("16"));
    form.BtnOK->click();
    EXPECT_EQ(background(), QStringLiteral("mine.png"));
}

// 1024 x 600 at 144 dpi: the pages scroll, and OK and Cancel stay in reach.
// Where the screen has room, every page shows whole without a scroll bar.
TEST_F(OptionFormTest, TheDialogFitsASmallScreenAndShowsItsPagesWholeWhereThereIsRoom)
{
    TOptionForm form(&host);
    EXPECT_LE(form.minimumSizeHint().width(), kSmallScreen.width());
    EXPECT_LE(form.minimumSizeHint().height(), kSmallScreen.height());
    form.show();
    QCoreApplication::processEvents();
    const QRect screen = form.screen()->availableGeometry();
    ASSERT_GE(screen.height(), 500) << "the test screen is too small to judge";
    EXPECT_TRUE(screen.contains(form.geometry()));
    for (int page = 0; page < form.PageControl->count(); ++page) {
        form.PageControl->setCurrentIndex(page);
        QCoreApplication::processEvents();
        const auto *area = qobject_cast<QAbstractScrollArea *>(form.PageControl->currentWidget());
        ASSERT_NE(area, nullptr);
        EXPECT_FALSE(area->verticalScrollBar()->isVisible()) << "page " << page;
        EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << "page " << page;
        EXPECT_EQ(layoutFaults(form), QStringList()) << "page " << page;
    }
}
