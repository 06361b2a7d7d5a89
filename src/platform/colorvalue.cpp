#include "colorvalue.h"

namespace colors {

namespace {

QColor systemColor(ColorValue c, const QPalette &palette)
{
    switch (c & 0xFF) {
    case 0x05: return palette.color(QPalette::Base);
    case 0x08: return palette.color(QPalette::Text);
    case 0x0D: return palette.color(QPalette::Highlight);
    case 0x0E: return palette.color(QPalette::HighlightedText);
    case 0x0F: return palette.color(QPalette::Button);
    case 0x10: return palette.color(QPalette::Dark);
    case 0x12: return palette.color(QPalette::ButtonText);
    case 0x14: return palette.color(QPalette::Light);
    default: return QColor(Qt::black);
    }
}

} // namespace

QColor toQColor(ColorValue c, const QPalette &palette)
{
    if (isSystemColor(c))
        return systemColor(c, palette);
    return QColor(red(c), green(c), blue(c));
}

ColorValue fromQColor(const QColor &c)
{
    const QColor rgb = c.toRgb();
    return rgbToColor(std::uint8_t(rgb.red()), std::uint8_t(rgb.green()), std::uint8_t(rgb.blue()));
}

QString ColorToHTMLHex(ColorValue c)
{
    return QStringLiteral("%1%2%3")
        .arg(red(c), 2, 16, QLatin1Char('0'))
        .arg(green(c), 2, 16, QLatin1Char('0'))
        .arg(blue(c), 2, 16, QLatin1Char('0'))
        .toUpper();
}

} // namespace colors
