#include "platform/registry.h"
#include "settings/formpos.h"
#include "settings/settings.h"
#include "support/layoutcheck.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class FormPosTest : public ::testing::Test
{
protected:
    TempRegistry reg;
    QWidget form;

    FormPosTest() { form.setGeometry(205, 109, 413, 323); }
    TFormPosition position()
    {
        TFormPosition pos(&form);
        pos.Key = TFormPosition::kDefaultKey;
        pos.ValueName = QStringLiteral("MainFormPos");
        return pos;
    }
    void store(const QString &value)
    {
        Registry r(reg.path());
        ASSERT_TRUE(r.openKey(TFormPosition::kDefaultKey, true));
        r.writeString(QStringLiteral("MainFormPos"), value);
    }
    QString stored()
    {
        Registry r(reg.path());
        return r.openKey(TFormPosition::kDefaultKey, false) ? r.readString(QStringLiteral("MainFormPos")) : QString();
    }
};

} // namespace

TEST(FormBoundsText, NeedsFiveNumbers)
{
    const FormBounds b = parseFormBounds(QStringLiteral("120;80;640;480;2"));
    EXPECT_EQ(b.left, 120);
    EXPECT_EQ(b.state, 2);
    EXPECT_EQ(parseFormBounds(QStringLiteral("1;2;3;4")).left, 0);
    EXPECT_EQ(parseFormBounds(QStringLiteral("1;x;3;4;0")).left, 0);
    EXPECT_EQ(parseFormBounds(QString()).width, 0);
    EXPECT_EQ(formatFormBounds({120, 80, 640, 480, 2}), QStringLiteral("120;80;640;480;2"));
}

TEST_F(FormPosTest, ShortOrMissingValueKeepsDesignBounds)
{
    position().load();
    EXPECT_EQ(form.geometry(), QRect(205, 109, 413, 323));
    store(QStringLiteral("1;2;3;4"));
    position().load();
    EXPECT_EQ(form.geometry(), QRect(205, 109, 413, 323));
    EXPECT_EQ(form.windowState(), Qt::WindowNoState);
}

TEST_F(FormPosTest, ZeroSizesKeepDesignSizeThenMaximise)
{
    store(QStringLiteral("10;20;0;0;2"));
    position().load();
    form.show();
    EXPECT_TRUE(form.windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(form.normalGeometry().topLeft(), QPoint(10, 20));
    EXPECT_EQ(form.normalGeometry().size(), QSize(413, 323));
}

TEST_F(FormPosTest, MaximisedFormStoresNormalBoundsAndComesBackMaximised)
{
    form.setGeometry(120, 80, 640, 480);
    form.show();
    form.showMaximized();
    position().save();
    EXPECT_EQ(stored(), QStringLiteral("120;80;640;480;2"));

    QWidget other;
    TFormPosition pos(&other);
    pos.Key = TFormPosition::kDefaultKey;
    pos.ValueName = QStringLiteral("MainFormPos");
    pos.load();
    other.show();
    EXPECT_TRUE(other.windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(other.normalGeometry(), QRect(120, 80, 640, 480));
}

TEST_F(FormPosTest, UnknownStateLoadsNormal)
{
    store(QStringLiteral("30;40;300;200;7"));
    position().load();
    EXPECT_EQ(form.windowState(), Qt::WindowNoState);
    EXPECT_EQ(form.geometry(), QRect(30, 40, 300, 200));
}

// The picture previews run modally: minimised, a preview would block the
// program while out of sight.
TEST_F(FormPosTest, ADialogNeverOpensMinimised)
{
    store(QStringLiteral("30;40;300;200;1"));
    QDialog dialog;
    TFormPosition pos(&dialog);
    pos.Key = TFormPosition::kDefaultKey;
    pos.ValueName = QStringLiteral("MainFormPos");
    pos.load();
    EXPECT_FALSE(dialog.windowState().testFlag(Qt::WindowMinimized));
    EXPECT_EQ(dialog.geometry(), QRect(30, 40, 300, 200));
    store(QStringLiteral("30;40;300;200;2"));
    pos.load();
    EXPECT_TRUE(dialog.windowState().testFlag(Qt::WindowMaximized)) << "maximised it shows";

    store(QStringLiteral("30;40;300;200;1"));
    position().load();
    EXPECT_TRUE(form.windowState().testFlag(Qt::WindowMinimized)) << "other windows come back minimised";
}

TEST_F(FormPosTest, ChildWidgetsAreNoForms)
{
    QWidget child(&form);
    TFormPosition pos(&child);
    pos.Key = TFormPosition::kDefaultKey;
    pos.ValueName = QStringLiteral("MainFormPos");
    pos.save();
    EXPECT_EQ(stored(), QString());
}

TEST_F(FormPosTest, EmptyKeyAndNameFallBackToApplicationAndFormName)
{
    form.setObjectName(QStringLiteral("BrowseForm"));
    TFormPosition pos(&form);
    pos.save();
    Registry r(reg.path());
    ASSERT_TRUE(r.openKey(QStringLiteral("\\Software\\") + QCoreApplication::applicationName(), false));
    EXPECT_TRUE(r.valueExists(QStringLiteral("BrowseFormPos")));
}

TEST(FitOnScreen, OnlyBoundsNoScreenShowsAreMovedAndFitted)
{
    const QList<QRect> areas = {QRect(0, 0, 1024, 768), QRect(1024, 0, 800, 600)};
    EXPECT_EQ(fitOnScreen(QRect(1500, 100, 400, 300), areas), QRect(1500, 100, 400, 300)) << "on the second screen";
    EXPECT_EQ(fitOnScreen(QRect(1000, 700, 400, 300), areas), QRect(1000, 700, 400, 300)) << "partly visible is enough";
    EXPECT_EQ(fitOnScreen(QRect(5000, 5000, 800, 600), areas), QRect(0, 0, 800, 600));
    EXPECT_EQ(fitOnScreen(QRect(5000, 5000, 3000, 2000), areas), QRect(0, 0, 1024, 768));
    EXPECT_EQ(fitOnScreen(QRect(5000, 5000, 10, 10), {}), QRect(5000, 5000, 10, 10));
}

// Kept from a larger screen, a window whose corner alone shows (or whose
// title bar lies above the screen) could not be grabbed: it is moved in.
TEST(FitOnScreen, AWindowShowingOnlyACornerIsMovedOntoTheScreen)
{
    const QList<QRect> laptop = {QRect(0, 0, 1280, 800)};
    EXPECT_EQ(fitOnScreen(QRect(1279, 799, 800, 600), laptop), QRect(480, 200, 800, 600)) << "one pixel showed";
    EXPECT_EQ(fitOnScreen(QRect(1270, 100, 800, 600), laptop), QRect(480, 100, 800, 600)) << "a strip too narrow to grab";
    EXPECT_EQ(fitOnScreen(QRect(100, -500, 800, 600), laptop), QRect(100, 0, 800, 600)) << "title bar above the screen";
    EXPECT_EQ(fitOnScreen(QRect(1250, 100, 800, 600), laptop), QRect(1250, 100, 800, 600)) << "30 pixels of title bar can be grabbed";
    EXPECT_EQ(fitOnScreen(QRect(1279, 100, 1, 1), laptop), QRect(1279, 100, 1, 1)) << "a tiny window shows whole";
    const QList<QRect> two = {QRect(0, 0, 1024, 768), QRect(1024, 0, 800, 600)};
    EXPECT_EQ(fitOnScreen(QRect(1800, 590, 400, 300), two), QRect(1424, 300, 400, 300)) << "onto the screen it touched";
}

// A window kept from a larger screen (a monitor since unplugged) that still
// shows on the smaller one: its far edges would be out of reach.
TEST(FitOnScreen, BoundsLargerThanTheScreensAreMadeToFitThem)
{
    const QList<QRect> laptop = {QRect(0, 0, 1366, 768)};
    EXPECT_EQ(fitOnScreen(QRect(10, 20, 3800, 2100), laptop), QRect(0, 0, 1366, 768));
    EXPECT_EQ(fitOnScreen(QRect(300, 200, 1366, 900), laptop), QRect(0, 0, 1366, 768)) << "only as far as needed";
    EXPECT_EQ(fitOnScreen(QRect(300, 200, 800, 900), laptop), QRect(300, 0, 800, 768));
    const QList<QRect> two = {QRect(0, 0, 1024, 768), QRect(1024, 0, 800, 600)};
    EXPECT_EQ(fitOnScreen(QRect(100, 50, 1700, 500), two), QRect(100, 50, 1700, 500)) << "spanning both screens on purpose";
    EXPECT_EQ(fitOnScreen(QRect(100, 50, 5000, 500), two), QRect(0, 50, 1824, 500));
}

TEST_F(FormPosTest, DamagedOrFarAwayBoundsStillShowTheWindow)
{
    store(QStringLiteral("2147483000;10;2000;100;0"));
    position().load();
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(form.geometry()));
    store(QStringLiteral("5000;5000;300;200;0"));
    position().load();
    EXPECT_EQ(form.geometry(), QRect(screen.topLeft(), QSize(300, 200)));
}

// A window at the screen's left edge, or on a screen left of the first one,
// came back at its design place: only places above 0 were taken.
TEST_F(FormPosTest, PlacesOfZeroOrLessComeBackWithAWholeValue)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    store(QStringLiteral("%1;%2;300;200;0").arg(screen.left()).arg(screen.top() + 30));
    position().load();
    EXPECT_EQ(form.geometry(), QRect(screen.left(), screen.top() + 30, 300, 200));
    store(QStringLiteral("-1600;%1;300;200;0").arg(screen.top() + 30));
    position().load();
    EXPECT_EQ(form.geometry(), QRect(screen.topLeft(), QSize(300, 200))) << "that screen is gone: onto this one";
    form.setGeometry(205, 109, 413, 323);
    store(QStringLiteral("0;0;0;0;0"));
    position().load();
    EXPECT_EQ(form.geometry(), QRect(205, 109, 413, 323)) << "no size stored: the design bounds stay";
}

TEST_F(FormPosTest, BoundsLargerThanTheScreenLoadWithinIt)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    store(QStringLiteral("10;20;100000;100000;0"));
    position().load();
    EXPECT_TRUE(screen.contains(form.geometry())) << "a damaged size";
    store(QStringLiteral("10;20;%1;%2;2").arg(screen.width() * 3).arg(screen.height() * 2));
    position().load();
    form.show();
    EXPECT_TRUE(form.windowState().testFlag(Qt::WindowMaximized));
    EXPECT_TRUE(screen.contains(form.normalGeometry())) << "restored from maximised, it fits the screen";
}

// A window about to show lies wholly on its screen: moved in from an edge,
// made smaller where it is larger, never below its least size.
TEST(KeptInside, AWindowIsMovedAndShrunkOntoTheArea)
{
    const QRect area(0, 20, 683, 380);
    EXPECT_EQ(keptInside(QRect(100, 50, 400, 300), area), QRect(100, 50, 400, 300)) << "inside already";
    EXPECT_EQ(keptInside(QRect(500, 300, 400, 300), area), QRect(283, 100, 400, 300)) << "moved in from the far edges";
    EXPECT_EQ(keptInside(QRect(-50, 0, 400, 300), area), QRect(0, 20, 400, 300)) << "moved in from the near edges";
    EXPECT_EQ(keptInside(QRect(40, 40, 800, 600), area), QRect(0, 20, 683, 380)) << "larger than the area";
    EXPECT_EQ(keptInside(QRect(40, 40, 800, 600), area, QSize(700, 200)), QRect(0, 20, 700, 380)) << "never below the least size";
    EXPECT_EQ(keptInside(QRect(40, 40, 800, 600), QRect()), QRect(40, 40, 800, 600)) << "no screen known";
}
