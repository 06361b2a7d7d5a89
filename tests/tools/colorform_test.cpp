#include "editor/colmemo.h"
#include "editor/editwin.h"
#include "editor/mainhost.h"
#include "platform/lexstrings.h"
#include "platform/scripteddialogs.h"
#include "support/layoutcheck.h"
#include "support/testenv.h"
#include "tools/colorform.h"
#include "tools/colorhelpers.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

// Records what the picker inserts.
class InsertRecorder : public MainHost
{
public:
    QStringList inserted;
    void RebuildWindowBar() override {}
    void UpdateCommandState() override {}
    void SetStatusPanel(int, const QString &) override {}
    void InsertAroundSelection(const QString &before, const QString &after) override { inserted.append(before + u'|' + after); }
    void AddRecentFile(const QString &) override {}
    std::optional<dialogs::FileResult> RunSaveDialog(const QString &, const QString &) override { return std::nullopt; }
    QString ExtensionList() const override { return {}; }
    int SelectedSaveFilter() const override { return 0; }
    void ShowException(const QString &) override {}
};

struct Shown {
    const char *hex;
    int r, g, b;
};

Shown shownBy(const TColorForm &form)
{
    static QByteArray hex;
    hex = form.P_Hex->text().toLatin1();
    return {hex.constData(), form.Edit_R->text().toInt(), form.Edit_G->text().toInt(), form.Edit_B->text().toInt()};
}

void press(QToolButton *button, Qt::MouseButton which)
{
    QTest::mousePress(button, which);
    QTest::mouseRelease(button, which);
}

} // namespace

TEST(ColorHelpers, BytesBrightnessAndTheStandardRow)
{
    EXPECT_EQ(RGBToColor(255, 128, 0), 0x0080FFu);
    EXPECT_EQ(ColorToRGBBytes(0xAB0080FFu), (RGBBytes{255, 128, 0})) << "the top byte is ignored";
    EXPECT_EQ(ShiftBrightness(RGBToColor(250, 100, 0), 10), RGBToColor(255, 110, 10));
    EXPECT_EQ(ShiftBrightness(RGBToColor(3, 200, 9), -10), RGBToColor(0, 190, 0));
    EXPECT_EQ(ShiftBrightness(0x80000000u | RGBToColor(1, 2, 3), 1), 0x80000000u | RGBToColor(2, 3, 4)) << "the top byte stays";
    const char *codes[] = {"000000", "800000", "008000", "808000", "000080", "800080", "008080", "C0C0C0",
                           "808080", "FF0000", "00FF00", "FFFF00", "0000FF", "FF00FF", "00FFFF", "FFFFFF"};
    for (int i = 0; i < 16; ++i)
        EXPECT_EQ(colors::ColorToHTMLHex(standardColors()[std::size_t(i)]), QLatin1String(codes[i])) << i;
}

TEST(ColorForm, StartsBlackAndInsertsItsCodeAtOnce)
{
    InsertRecorder host;
    TColorForm form(&host);
    EXPECT_STREQ(shownBy(form).hex, "#000000");
    EXPECT_EQ(form.windowTitle(), lex::caption(1071));
    form.BtnInsert->click();
    EXPECT_EQ(host.inserted, QStringList{QStringLiteral("#000000|")});
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

// The keyboard mixes a colour too: the bars take the focus and the arrow
// keys, and Space on Lighter or Darker shifts by one as a left click does.
TEST(ColorForm, TheKeyboardReachesBarsAndShiftButtons)
{
    InsertRecorder host;
    TColorForm form(&host);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    for (QWidget *w : std::initializer_list<QWidget *>{form.SB_R, form.SB_G, form.SB_B, form.BtnDark, form.BtnLight})
        EXPECT_TRUE(w->focusPolicy() & Qt::TabFocus) << w->objectName().toStdString();
    form.SB_G->setFocus();
    QTest::keyClick(form.SB_G, Qt::Key_Right);
    QTest::keyClick(form.SB_G, Qt::Key_Right);
    QTest::keyClick(form.SB_G, Qt::Key_Left);
    EXPECT_STREQ(shownBy(form).hex, "#000100") << "Right raises the value, as the bar shows it";

    form.BtnLight->setFocus();
    QTest::keyClick(form.BtnLight, Qt::Key_Space);
    EXPECT_STREQ(shownBy(form).hex, "#010201");
    form.BtnDark->setFocus();
    QTest::keyClick(form.BtnDark, Qt::Key_Space);
    QTest::keyClick(form.BtnDark, Qt::Key_Space);
    EXPECT_STREQ(shownBy(form).hex, "#000000");

    press(form.BtnLight, Qt::LeftButton);
    EXPECT_STREQ(shownBy(form).hex, "#010101") << "a click still shifts once";
    EXPECT_TRUE(form.isVisible());
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(host.inserted.isEmpty()) << "Escape inserts nothing";
}

// Tab walks the controls as they stand: the darker button left of the
// bars, the lighter one right of them, then the buttons row by row.
TEST(ColorForm, TabFollowsTheLayoutFromLeftToRight)
{
    InsertRecorder host;
    TColorForm form(&host);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.BtnDark->setFocus();
    QStringList order{form.BtnDark->objectName()};
    for (int i = 0; i < 8; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *focus = QApplication::focusWidget();
        order.append(focus == form.SB_R   ? QStringLiteral("R")
                     : focus == form.SB_G ? QStringLiteral("G")
                     : focus == form.SB_B ? QStringLiteral("B")
                                          : focus->objectName());
    }
    EXPECT_EQ(order.join(u' '), QStringLiteral("BtnDark R G B BtnLight BtnColorDlg BtnInsert BtnClipBrd BtnClose"));
}

// The standard colours serve the keyboard as well: the row takes the focus
// between Tab stops, the arrows walk its cells and take each colour at once,
// Space takes the marked cell again after the bars mixed another colour.
TEST(ColorForm, TheKeyboardWalksTheStandardColours)
{
    InsertRecorder host;
    TColorForm form(&host);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    form.BtnDark->setFocus();
    QTest::keyClick(form.BtnDark, Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), form.ColorGridCtl) << "Shift+Tab from the darker button";
    for (int i = 0; i < 9; ++i)
        QTest::keyClick(form.ColorGridCtl, Qt::Key_Right);
    EXPECT_STREQ(shownBy(form).hex, "#FF0000");
    QTest::keyClick(form.ColorGridCtl, Qt::Key_End);
    EXPECT_STREQ(shownBy(form).hex, "#FFFFFF");
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Right);
    EXPECT_STREQ(shownBy(form).hex, "#FFFFFF") << "the last cell stays";
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Left);
    EXPECT_STREQ(shownBy(form).hex, "#00FFFF");

    form.SB_R->setValue(7);
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Space);
    EXPECT_STREQ(shownBy(form).hex, "#00FFFF");
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Home);
    EXPECT_STREQ(shownBy(form).hex, "#000000");
    QTest::mouseClick(form.ColorGridCtl, Qt::LeftButton, {}, QPoint(form.ColorGridCtl->width() * 9 / 16 + 3, 5));
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Right);
    EXPECT_STREQ(shownBy(form).hex, "#00FF00") << "the arrows go on from the clicked cell";
    // An arrow that cannot move on takes nothing: the colour mixed since
    // the last pick stays.
    QTest::keyClick(form.ColorGridCtl, Qt::Key_End);
    form.SB_R->setValue(7);
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Right);
    EXPECT_STREQ(shownBy(form).hex, "#07FFFF") << "Right past the last cell";
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Home);
    form.SB_G->setValue(5);
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Left);
    EXPECT_STREQ(shownBy(form).hex, "#000500") << "Left before the first cell";
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Home);
    EXPECT_STREQ(shownBy(form).hex, "#000500") << "Home on the first cell";
    QTest::keyClick(form.ColorGridCtl, Qt::Key_End);
    form.SB_B->setValue(9);
    QTest::keyClick(form.ColorGridCtl, Qt::Key_End);
    EXPECT_STREQ(shownBy(form).hex, "#FFFF09") << "End on the last cell";
    QTest::keyClick(form.ColorGridCtl, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form.BtnDark);
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(host.inserted.isEmpty());
}

TEST(ColorForm, BarsButtonsGridAndDialogShowTheirColour)
{
    InsertRecorder host;
    dialogs::ScriptedDialogsGuard scripted;
    TColorForm form(&host);
    form.SB_R->setValue(255);
    form.SB_G->setValue(128);
    const Shown mixed = shownBy(form);
    EXPECT_STREQ(mixed.hex, "#FF8000");
    EXPECT_EQ(mixed.r, 255);
    EXPECT_EQ(mixed.g, 128);
    EXPECT_EQ(mixed.b, 0);

    form.setColor(RGBToColor(250, 100, 0));
    press(form.BtnLight, Qt::RightButton);
    EXPECT_STREQ(shownBy(form).hex, "#FF6E0A");
    press(form.BtnLight, Qt::LeftButton);
    EXPECT_STREQ(shownBy(form).hex, "#FF6F0B");
    press(form.BtnDark, Qt::MiddleButton);
    EXPECT_STREQ(shownBy(form).hex, "#FF6F0B") << "other mouse buttons do nothing";

    form.setColor(colors::clBlack);
    press(form.BtnDark, Qt::LeftButton);
    EXPECT_STREQ(shownBy(form).hex, "#000000");

    const QRect grid = form.ColorGridCtl->rect();
    QTest::mouseClick(form.ColorGridCtl, Qt::LeftButton, {}, QPoint(grid.width() * 9 / 16 + 3, grid.height() / 2));
    EXPECT_STREQ(shownBy(form).hex, "#FF0000");

    scripted->colorAnswers = {std::nullopt, RGBToColor(1, 2, 3)};
    form.BtnColorDlg->click();
    EXPECT_STREQ(shownBy(form).hex, "#FF0000") << "a cancelled dialog changes nothing";
    EXPECT_EQ(scripted->colorRequests.last(), colors::clRed) << "the dialog opens with the current colour";
    form.BtnColorDlg->click();
    EXPECT_STREQ(shownBy(form).hex, "#010203");

    form.BtnClipBrd->click();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("#010203"));
    EXPECT_TRUE(host.inserted.isEmpty());
}

// The designed pixels must hold the German captions whole, at the desktop's
// font and at a larger one.
TEST(ColorForm, EveryCaptionShowsWholeAtTheDesktopsFontAndALargerOne)
{
    InsertRecorder host;
    for (const int points : {0, 11}) {
        QFont font = QApplication::font();
        if (points > 0)
            font.setPointSize(points);
        const QFont before = QApplication::font();
        QApplication::setFont(font);
        TColorForm form(&host);
        form.show();
        QCoreApplication::processEvents();
        EXPECT_EQ(layoutFaults(form), QStringList()) << "at " << font.pointSize() << " points";
        EXPECT_LE(form.width(), kSmallScreen.width());
        EXPECT_LE(form.height(), kSmallScreen.height());
        QApplication::setFont(before);
    }
}
