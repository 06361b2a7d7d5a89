// Action plug-in: opens a small calendar window beside the editor, with or
// without a document. The library is released after the call, so nothing of
// it may stay behind: only Qt's own classes, and texts copied to the heap
// (a QStringLiteral would point into the released library).
#include "quirtleplugin.h"

#include <QCalendarWidget>
#include <QLocale>

#include <algorithm>

QP_EXTERN_C QP_EXPORT void PlugInName(unsigned char *result)
{
    qp_set_result(result, "Kalender");
}

QP_EXTERN_C QP_EXPORT int32_t PlugInType(void)
{
    return QP_ACTION_PLUGIN;
}

QP_EXTERN_C QP_EXPORT void StartPlugIn(const char *, void *mainWindow, unsigned char *)
{
    auto *owner = static_cast<QWidget *>(mainWindow);
    const QString name = QString::fromLatin1("PlugInCalendar");
    QCalendarWidget *calendar = owner ? owner->findChild<QCalendarWidget *>(name, Qt::FindDirectChildrenOnly) : nullptr;
    if (!calendar) {
        calendar = new QCalendarWidget(owner);
        calendar->setObjectName(name);
        calendar->setWindowFlags(Qt::Tool);
        calendar->setAttribute(Qt::WA_DeleteOnClose);
        calendar->setLocale(QLocale(QLocale::German, QLocale::Germany));
        calendar->setGridVisible(true);
        calendar->setWindowTitle(QString::fromLatin1("Kalender"));
        // Near the main window's upper right corner, clear of its menus.
        if (owner) {
            calendar->adjustSize();
            calendar->move(owner->mapToGlobal(QPoint(std::max(0, owner->width() - calendar->width() - 40), 120)));
        }
    }
    calendar->setSelectedDate(QDate::currentDate());
    calendar->show();
    calendar->raise();
}
