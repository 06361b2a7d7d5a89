// A vertical pager: its content keeps its own height; when that is taller
// than the pager, arrows at the top and the bottom scroll it while the mouse
// rests on them, and the wheel scrolls it too. Mouse moves reach the content
// directly: it is an ordinary child.
#pragma once

#include <QTimer>
#include <QWidget>

class QToolButton;

class ScrollPager : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kArrowHeight = 12;
    static constexpr int kStep = 5; // pixels per tick while an arrow is hovered
    static constexpr int kTickMs = 20;
    static constexpr int kWheelStep = 20; // one tag button per notch

    explicit ScrollPager(QWidget *parent = nullptr);

    // Takes `content` as its child; the pager sets its width, not its height.
    void setContent(QWidget *content);
    QWidget *content() const { return m_content; }

    // How far the content is moved up, 0 to scrollRange().
    int position() const { return m_position; }
    void setPosition(int position);
    int scrollRange() const;
    // To be called when the content's height changed.
    void recalculate();

    QToolButton *upArrow() const { return m_up; }
    QToolButton *downArrow() const { return m_down; }

protected:
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_content = nullptr;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    QTimer m_repeat;
    int m_direction = 0; // -1 up, +1 down while an arrow is hovered
    int m_position = 0;
    int m_wheelRest = 0; // wheel turn not yet scrolled, in 1/120 of a step

    void place();
    void tick();
};
