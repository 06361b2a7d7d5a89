#include "background.h"

#include "glyphs.h"

#include <QFileInfo>

QImage loadBackgroundTile(const QString &programFolder, const QString &name)
{
    const QString path = programFolder + QStringLiteral("backs/") + name;
    // Only a plain file name: one with folders in it could lead out of "backs".
    const bool plainName = !name.contains(u'/') && !name.contains(u'\\');
    if (!name.isEmpty() && plainName && QFileInfo(path).isFile()) {
        const QImage picture(path);
        const auto fits = [](int n) { return n >= 1 && n <= 100; };
        if (!picture.isNull() && fits(picture.width()) && fits(picture.height()))
            return picture.convertToFormat(QImage::Format_RGB32);
    }
    return builtinBackgroundTile();
}

QImage builtinBackgroundTile()
{
    registerAppResources();
    return QImage(QStringLiteral(":/app/backpic.png")).convertToFormat(QImage::Format_RGB32);
}
