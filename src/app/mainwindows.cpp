// Arrangement of the document windows.
#include "mainform.h"

#include "editor/colmemo.h"
#include "editor/editwin.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>

namespace {

QList<QMdiSubWindow *> openWindows(QMdiArea *area)
{
    QList<QMdiSubWindow *> list;
    for (QMdiSubWindow *sub : area->subWindowList(QMdiArea::StackingOrder))
        if (!sub->isMinimized() && sub->isVisible())
            list.append(sub);
    return list;
}

// Minimised windows lie in rows along the bottom of the area, as many to a
// row as fit, so that none ends up out of view. Returns the top of the
// highest row, or the area's height when no window is minimised.
int arrangeIcons(QMdiArea *area, const QSize &space)
{
    QList<QMdiSubWindow *> icons;
    for (QMdiSubWindow *sub : area->subWindowList(QMdiArea::CreationOrder))
        if (sub->isMinimized() && sub->isVisible())
            icons.append(sub);
    int top = space.height();
    if (icons.isEmpty())
        return top;
    const QSize icon = icons.front()->size();
    const int perRow = std::max(1, space.width() / std::max(1, icon.width()));
    for (int i = 0; i < int(icons.size()); ++i) {
        const int y = space.height() - icon.height() * (i / perRow + 1);
        icons[i]->move(i % perRow * icon.width(), y);
        top = std::min(top, y);
    }
    return top;
}

// Horizontal tiling lays the windows one above the other, each the full
// width; vertical tiling sets them side by side, each the full height. The
// rows of minimised windows stay free.
void tile(QMdiArea *area, bool horizontal)
{
    const QList<QMdiSubWindow *> subs = openWindows(area);
    if (subs.isEmpty())
        return;
    // Tiled windows fit, so the scroll bars go: the whole area is the room.
    QRect space(QPoint(0, 0), area->contentsRect().size());
    const int iconsTop = arrangeIcons(area, space.size());
    if (iconsTop > 0)
        space.setHeight(iconsTop);
    const int n = int(subs.size());
    for (int i = 0; i < n; ++i) {
        subs[i]->showNormal();
        if (horizontal) {
            const int top = space.height() * i / n;
            subs[i]->setGeometry(0, top, space.width(), space.height() * (i + 1) / n - top);
        } else {
            const int left = space.width() * i / n;
            subs[i]->setGeometry(left, 0, space.width() * (i + 1) / n - left, space.height());
        }
    }
}

} // namespace

// A new document window is large enough for about 80 columns and 25 lines
// of its font (as far as the area allows) and stands a title bar's height
// below and right of the window opened before it.
void TMainForm::placeNewDocument(QMdiSubWindow *sub, TEditForm *doc)
{
    const QFontMetrics metrics(doc->ColorMemo->font());
    const int scrollBar = doc->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize text(metrics.horizontalAdvance(QString(80, u'x')) + scrollBar + 12,
                     metrics.lineSpacing() * 25 + scrollBar + doc->Panel2->height() + 8);
    sub->ensurePolished();
    const QMargins frame = sub->contentsMargins(); // the title bar included
    const int titleBar = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    const QSize area = MDIArea->viewport()->size();
    const QSize wanted = (text + QSize(frame.left() + frame.right(), frame.top() + frame.bottom())).boundedTo(area);
    sub->resize(wanted);
    const qsizetype before = MDIArea->subWindowList().size() - 1;
    const int step = std::max(titleBar, 20);
    const int room = std::max(1, std::min(area.width() - wanted.width(), area.height() - wanted.height()) / step + 1);
    const int offset = int(before % room) * step;
    sub->move(offset, offset);
}

void TMainForm::Menu_CascadeClick()
{
    MDIArea->cascadeSubWindows();
    // The cascade ends above the rows of minimised windows.
    const int iconsTop = arrangeIcons(MDIArea, MDIArea->viewport()->size());
    for (QMdiSubWindow *sub : openWindows(MDIArea))
        if (sub->y() < iconsTop && sub->geometry().bottom() >= iconsTop)
            sub->resize(sub->width(), iconsTop - sub->y());
}
void TMainForm::Menu_TileHClick()
{
    tile(MDIArea, true);
}
void TMainForm::Menu_TileVClick()
{
    tile(MDIArea, false);
}

void TMainForm::Menu_ArrangeClick()
{
    arrangeIcons(MDIArea, MDIArea->viewport()->size());
}

void TMainForm::Menu_WindowBarClick()
{
    P_MDI->setVisible(Menu_WindowBar->isChecked());
}
