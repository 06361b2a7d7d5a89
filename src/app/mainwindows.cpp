// Arrangement of the document windows.
#include "mainform.h"

#include <QMdiArea>
#include <QMdiSubWindow>

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
