#include "recentfiles.h"

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

namespace {

QString printablePath(const QString &path)
{
    QString shown = path;
    for (QChar &c : shown) {
        if (c.unicode() < 0x20)
            c = QChar(0x2400 + c.unicode()); // the Control Pictures block
        else if (c.unicode() == 0x7f)
            c = QChar(0x2421);
        else if (c.category() == QChar::Other_Control || c.category() == QChar::Separator_Line ||
                 c.category() == QChar::Separator_Paragraph)
            c = QChar::ReplacementCharacter;
    }
    return shown;
}

} // namespace

QString recentMenuCaption(int position, const QString &path, const QFontMetrics &metrics, int maxWidth)
{
    QString shown = metrics.elidedText(printablePath(path), Qt::ElideMiddle, maxWidth);
    shown.replace(u'&', QStringLiteral("&&"));
    return recentCaption(position, shown);
}
