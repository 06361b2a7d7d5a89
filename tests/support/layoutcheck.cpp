#include "layoutcheck.h"

#include <QAbstractButton>
#include <QLabel>
#include <QTabBar>
#include <QWidget>

namespace {

QString nameOf(const QWidget &w)
{
    return w.objectName().isEmpty() ? QString::fromLatin1(w.metaObject()->className()) : w.objectName();
}

// The width a one-line caption needs; "&" marks a shortcut and takes no room.
int textWidth(const QWidget &w, QString text)
{
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01")).remove(u'&').replace(u'\x01', u'&');
    return w.fontMetrics().horizontalAdvance(text);
}

void checkText(const QWidget &w, QStringList &faults)
{
    int needed = 0, room = 0;
    if (const auto *label = qobject_cast<const QLabel *>(&w)) {
        if (label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText)
            return;
        needed = textWidth(w, label->text());
        room = label->contentsRect().width() - 2 * label->margin();
    } else if (const auto *button = qobject_cast<const QAbstractButton *>(&w)) {
        if (button->text().isEmpty())
            return;
        needed = textWidth(w, button->text()) + (button->icon().isNull() ? 0 : button->iconSize().width());
        room = button->width();
    } else if (const auto *tabs = qobject_cast<const QTabBar *>(&w)) {
        // A row of tabs lower than its captions cuts them at the foot.
        if (tabs->count() > 0 && tabs->height() < tabs->sizeHint().height())
            faults.append(QStringLiteral("%1: tabs need %2 pixels of height, have %3")
                              .arg(nameOf(w))
                              .arg(tabs->sizeHint().height())
                              .arg(tabs->height()));
        return;
    } else {
        return;
    }
    if (needed > room)
        faults.append(QStringLiteral("%1: text needs %2 pixels, has %3").arg(nameOf(w)).arg(needed).arg(room));
}

} // namespace

QStringList layoutFaults(const QWidget &window)
{
    QStringList faults;
    for (const QWidget *w : window.findChildren<QWidget *>()) {
        if (!w->isVisibleTo(&window) || w->isWindow())
            continue;
        checkText(*w, faults);
        const QWidget *parent = w->parentWidget();
        // A scroll area's content may be larger than its viewport: it scrolls.
        if (parent && parent->objectName() != QLatin1String("qt_scrollarea_viewport") && !parent->rect().contains(w->geometry()))
            faults.append(QStringLiteral("%1 reaches out of %2").arg(nameOf(*w), nameOf(*parent)));
    }
    return faults;
}
