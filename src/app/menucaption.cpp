#include "menucaption.h"

QString menuItemCaption(const QString &name)
{
    constexpr qsizetype kMaxCaption = 60;
    QString caption = name.simplified();
    if (caption.size() > kMaxCaption) {
        // Never between the two halves of a character outside the BMP.
        const qsizetype cut = caption.at(kMaxCaption - 2).isHighSurrogate() ? kMaxCaption - 2 : kMaxCaption - 1;
        caption = caption.left(cut).trimmed() + QChar(0x2026);
    }
    return caption.replace(u'&', QStringLiteral("&&"));
}
