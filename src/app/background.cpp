#include "background.h"

#include "glyphs.h"
#include "settings/optionchanges.h"

QImage loadBackgroundTile(const QString &programFolder, const QString &name)
{
    const QString path = settings::backgroundFile(settings::backsFolders(programFolder), name);
    if (!path.isEmpty()) {
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
