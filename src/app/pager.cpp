#include "pager.h"

#include <QEvent>
#include <QResizeEvent>
#include <QToolButton>
#include <QWheelEvent>

namespace {

QToolButton *arrow(QWidget *parent, Qt::ArrowType type, const char *name)
{
    auto *button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setArrowType(type);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setMouseTracking(true);
    button->setAutoFillBackground(true); // covers the content it lies on
    button->hide();
    return button;
}

} // namespace

ScrollPager::ScrollPager(QWidget *parent) : QWidget(parent)
{
    m_up = arrow(this, Qt::UpArrow, "PagerUp");
    m_down = arrow(this, Qt::DownArrow, "PagerDown");
    m_up->installEventFilter(this);
    m_down->installEventFilter(this);
    // A click moves on by one button, for those who do not wait for the hover.
    connect(m_up, &QToolButton::clicked, this, [this] { setPosition(m_position - kWheelStep); });
    connect(m_down, &QToolButton::clicked, this, [this] { setPosition(m_position + kWheelStep); });
    m_repeat.setInterval(kTickMs);
    connect(&m_repeat, &QTimer::timeout, this, &ScrollPager::tick);
}

void ScrollPager::setContent(QWidget *content)
{
    if (m_content)
        m_content->removeEventFilter(this);
    m_content = content;
    if (m_content) {
        m_content->setParent(this);
        m_content->installEventFilter(this);
        m_content->show();
    }
    m_position = 0;
    place();
}

int ScrollPager::scrollRange() const
{
    return m_content ? std::max(0, m_content->height() - height()) : 0;
}

void ScrollPager::setPosition(int position)
{
    const int clamped = std::clamp(position, 0, scrollRange());
    if (clamped == m_position)
        return;
    m_position = clamped;
    place();
}

void ScrollPager::recalculate()
{
    m_position = std::clamp(m_position, 0, scrollRange());
    place();
}

void ScrollPager::place()
{
    if (m_content)
        m_content->setGeometry(0, -m_position, width(), m_content->height());
    // Arrows cover the content's edges, and only where there is more to see.
    m_up->setGeometry(0, 0, width(), kArrowHeight);
    m_down->setGeometry(0, height() - kArrowHeight, width(), kArrowHeight);
    m_up->setVisible(m_position > 0);
    m_down->setVisible(m_position < scrollRange());
    m_up->raise();
    m_down->raise();
    if ((m_direction < 0 && !m_up->isVisible()) || (m_direction > 0 && !m_down->isVisible())) {
        m_direction = 0;
        m_repeat.stop();
    }
}

void ScrollPager::tick()
{
    setPosition(m_position + m_direction * kStep);
}

void ScrollPager::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    recalculate();
}

void ScrollPager::wheelEvent(QWheelEvent *event)
{
    if (scrollRange() == 0) {
        event->ignore();
        return;
    }
    // Touchpads send pixel distances or many small turns; the turns add up
    // instead of each one rounding to nothing.
    int pixels = event->pixelDelta().y();
    if (event->pixelDelta().isNull()) {
        m_wheelRest += event->angleDelta().y() * kWheelStep;
        pixels = m_wheelRest / 120;
        m_wheelRest %= 120;
    }
    if (pixels != 0)
        setPosition(m_position - pixels);
    event->accept();
}

bool ScrollPager::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_content && event->type() == QEvent::Resize) {
        recalculate();
    } else if (watched == m_up || watched == m_down) {
        // Started by a move, not by entering: an arrow that appears under a
        // resting mouse (after a turn of the wheel) must not scroll back.
        if (event->type() == QEvent::MouseMove && m_direction == 0) {
            m_direction = watched == m_up ? -1 : 1;
            tick();
            m_repeat.start();
        } else if (event->type() == QEvent::Leave || event->type() == QEvent::Hide) {
            m_direction = 0;
            m_repeat.stop();
        }
    }
    return QWidget::eventFilter(watched, event);
}
