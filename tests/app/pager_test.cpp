#include "app/pager.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

struct PagerFixture {
    ScrollPager pager;
    QWidget *content = new QWidget;
    PagerFixture(int contentHeight, int pagerHeight)
    {
        content->setFixedHeight(contentHeight);
        pager.setContent(content);
        pager.resize(128, pagerHeight);
        pager.show();
        QApplication::processEvents();
    }
};

// Lets the event loop run until `done` or two seconds pass.
template <typename Done> bool waitFor(Done done)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
        QTest::qWait(10);
    return done();
}

// The mouse moves onto an arrow and rests there.
void hover(QWidget *arrow)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 5), arrow->mapToGlobal(QPointF(5, 5)), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(arrow, &move);
}

void wheel(QWidget &target, int notches)
{
    const QPointF at(10, 10);
    QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                      false);
    QApplication::sendEvent(&target, &event);
}

} // namespace

TEST(Pager, ContentThatFitsShowsNoArrowsAndDoesNotMove)
{
    PagerFixture f(100, 200);
    EXPECT_EQ(f.pager.scrollRange(), 0);
    EXPECT_FALSE(f.pager.upArrow()->isVisible());
    EXPECT_FALSE(f.pager.downArrow()->isVisible());
    wheel(f.pager, -3);
    EXPECT_EQ(f.pager.position(), 0);
    EXPECT_EQ(f.content->width(), 128) << "the content takes the pager's width";
}

TEST(Pager, TallContentScrollsWithinItsRangeAndShowsTheArrowsThatLeadOn)
{
    PagerFixture f(500, 200);
    EXPECT_EQ(f.pager.scrollRange(), 300);
    EXPECT_FALSE(f.pager.upArrow()->isVisible()) << "nothing above the top";
    EXPECT_TRUE(f.pager.downArrow()->isVisible());
    wheel(f.pager, -2);
    EXPECT_EQ(f.pager.position(), 2 * ScrollPager::kWheelStep);
    EXPECT_EQ(f.content->y(), -2 * ScrollPager::kWheelStep);
    EXPECT_TRUE(f.pager.upArrow()->isVisible());
    f.pager.setPosition(10000);
    EXPECT_EQ(f.pager.position(), 300);
    EXPECT_FALSE(f.pager.downArrow()->isVisible()) << "nothing below the end";
    // A shorter content or a taller pager pulls the position back.
    f.content->setFixedHeight(250);
    QApplication::processEvents();
    EXPECT_EQ(f.pager.position(), 50);
    f.pager.resize(128, 400);
    QApplication::processEvents();
    EXPECT_EQ(f.pager.position(), 0);
    EXPECT_FALSE(f.pager.upArrow()->isVisible());
}

TEST(Pager, RestingOnAnArrowScrollsUntilTheEndOrTheMouseLeaves)
{
    PagerFixture f(300, 200);
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(f.pager.downArrow(), &enter);
    QTest::qWait(3 * ScrollPager::kTickMs);
    EXPECT_EQ(f.pager.position(), 0) << "an arrow appearing under a resting mouse does not scroll";
    hover(f.pager.downArrow());
    ASSERT_TRUE(waitFor([&] { return f.pager.position() == f.pager.scrollRange(); })) << "scrolls on its own to the end";
    EXPECT_FALSE(f.pager.downArrow()->isVisible());
    // Up, then leave half way: the pager stays where it is.
    hover(f.pager.upArrow());
    ASSERT_TRUE(waitFor([&] { return f.pager.position() < 60; }));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(f.pager.upArrow(), &leave);
    const int stopped = f.pager.position();
    QTest::qWait(5 * ScrollPager::kTickMs);
    EXPECT_EQ(f.pager.position(), stopped);
}

TEST(Pager, TouchpadScrollingAddsUpSmallTurnsAndPixels)
{
    PagerFixture f(500, 200);
    auto send = [&f](QPoint pixels, QPoint angle) {
        const QPointF at(10, 10);
        QWheelEvent event(at, f.pager.mapToGlobal(at), pixels, angle, Qt::NoButton, Qt::NoModifier, Qt::ScrollUpdate, false);
        QApplication::sendEvent(&f.pager, &event);
    };
    for (int i = 0; i < 8; ++i)
        send(QPoint(), QPoint(0, -15)); // eight eighths of a notch
    EXPECT_EQ(f.pager.position(), ScrollPager::kWheelStep);
    for (int i = 0; i < 3; ++i)
        send(QPoint(0, -7), QPoint(0, -7));
    EXPECT_EQ(f.pager.position(), ScrollPager::kWheelStep + 21);
}
