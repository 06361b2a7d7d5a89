#include "recentfiles.h"

#include "common/windowtitle.h"
#include "platform/pathcompare.h"

QStringList withRecentFile(QStringList list, const QString &path)
{
    for (qsizetype i = 0; i < list.size(); ++i) {
        if (samePath(list[i], path)) {
            list.move(i, 0);
            return list;
        }
    }
    while (list.size() > kMaxRecentFiles - 1)
        list.removeLast();
    list.prepend(path);
    return list;
}

QString recentCaption(int position, const QString &path)
{
    return u'&' + QString::number(position) + QStringLiteral(". ") + path;
}

QString recentMenuCaption(int position, const QString &path, const QFontMetrics &metrics, int maxWidth)
{
    QString shown = metrics.elidedText(printablePath(path), Qt::ElideMiddle, maxWidth);
    shown.replace(u'&', QStringLiteral("&&"));
    return recentCaption(position, shown);
}
