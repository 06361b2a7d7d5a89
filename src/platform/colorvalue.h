// Colour values as the settings and data files store them: 0x00BBGGRR, red in
// the lowest byte. Values whose top byte is 0x80 name a system colour that is
// resolved through the palette when painted.
#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <cstdint>

using ColorValue = std::uint32_t;

namespace colors {

constexpr ColorValue clBlack = 0x000000;
constexpr ColorValue clMaroon = 0x000080;
constexpr ColorValue clGreen = 0x008000;
constexpr ColorValue clOlive = 0x008080;
constexpr ColorValue clNavy = 0x800000;
constexpr ColorValue clPurple = 0x800080;
constexpr ColorValue clTeal = 0x808000;
constexpr ColorValue clGray = 0x808080;
constexpr ColorValue clSilver = 0xC0C0C0;
constexpr ColorValue clRed = 0x0000FF;
constexpr ColorValue clLime = 0x00FF00;
constexpr ColorValue clYellow = 0x00FFFF;
constexpr ColorValue clBlue = 0xFF0000;
constexpr ColorValue clFuchsia = 0xFF00FF;
constexpr ColorValue clAqua = 0xFFFF00;
constexpr ColorValue clWhite = 0xFFFFFF;

// System colours: 0x80000000 + the classic system colour index.
constexpr ColorValue clWindow = 0x80000005;
constexpr ColorValue clWindowText = 0x80000008;
constexpr ColorValue clHighlight = 0x8000000D;
constexpr ColorValue clHighlightText = 0x8000000E;
constexpr ColorValue clBtnFace = 0x8000000F;
constexpr ColorValue clBtnShadow = 0x80000010;

constexpr bool isSystemColor(ColorValue c)
{
    return (c & 0xFF000000u) == 0x80000000u;
}

constexpr ColorValue rgbToColor(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return ColorValue(r) | (ColorValue(g) << 8) | (ColorValue(b) << 16);
}
constexpr std::uint8_t red(ColorValue c)
{
    return c & 0xFF;
}
constexpr std::uint8_t green(ColorValue c)
{
    return (c >> 8) & 0xFF;
}
constexpr std::uint8_t blue(ColorValue c)
{
    return (c >> 16) & 0xFF;
}

// A system colour is looked up in the given palette; unknown indexes give black.
QColor toQColor(ColorValue c, const QPalette &palette = QPalette());
ColorValue fromQColor(const QColor &c);

// Six upper-case hexadecimal digits in the order red, green, blue, without "#".
QString ColorToHTMLHex(ColorValue c);

} // namespace colors
