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

// Horizontal tiling lays the windows one above the other, each the full
// width; vertical tiling sets them side by side, each the full height.
void tile(QMdiArea *area, bool horizontal)
{
    const QList<QMdiSubWindow *> subs = openWindows(area);
    if (subs.isEmpty())
        return;
    const QRect space = area->viewport()->rect();
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
    int x = 0;
    const int bottom = MDIArea->viewport()->height();
    for (QMdiSubWindow *sub : MDIArea->subWindowList(QMdiArea::CreationOrder)) {
        if (!sub->isMinimized())
            continue;
        sub->move(x, bottom - sub->height());
        x += sub->width();
    }
}

void TMainForm::Menu_WindowBarClick()
{
    P_MDI->setVisible(Menu_WindowBar->isChecked());
}
