#include "menucaption.h"

#include "common/shorttext.h"

QString menuItemCaption(const QString &name)
{
    constexpr qsizetype kMaxCaption = 60;
    QString caption = name.simplified();
    if (caption.size() > kMaxCaption) {
        // The ellipsis is the last of the 60 characters; no blank before it.
        const QString cut = shorttext::cut(caption, kMaxCaption - 1);
        caption = cut.chopped(1).trimmed() + cut.back();
    }
    return caption.replace(u'&', QStringLiteral("&&"));
}
