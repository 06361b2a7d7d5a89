#include "palette.h"

#include <QPainter>

namespace {

struct Square {
    QRgb rgb;
    const char *name;
};

constexpr Square kSquares[16] = {
    {0x000000, "black"}, {0x808080, "gray"},   {0x800000, "maroon"}, {0x808000, "olive"},   {0x008000, "green"}, {0x008080, "teal"},
    {0x000080, "navy"},  {0x800080, "purple"}, {0xFFFFFF, "white"},  {0xC0C0C0, "silver"},  {0xFF0000, "red"},   {0xFFFF00, "yellow"},
    {0x00FF00, "lime"},  {0x00FFFF, "aqua"},   {0x0000FF, "blue"},   {0xFF00FF, "fuchsia"},
};

} // namespace

QImage paletteImage()
{
    QImage image(128, 32, QImage::Format_RGB32);
    QPainter p(&image);
    for (int i = 0; i < 16; ++i)
        p.fillRect((i % 8) * 16, (i / 8) * 16, 16, 16, QColor::fromRgb(kSquares[i].rgb));
    return image;
}

QString paletteColorName(const QImage &palette, QPoint at)
{
    if (!palette.rect().contains(at))
        return {};
    const QRgb rgb = palette.pixel(at) & 0xFFFFFF;
    for (const Square &s : kSquares)
        if (s.rgb == rgb)
            return QString::fromLatin1(s.name);
    return {};
}
