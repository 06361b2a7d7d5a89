#include "colorhelpers.h"

#include <algorithm>

ColorValue RGBToColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue)
{
    return colors::rgbToColor(red, green, blue);
}

RGBBytes ColorToRGBBytes(ColorValue color)
{
    return {colors::red(color), colors::green(color), colors::blue(color)};
}

ColorValue ShiftBrightness(ColorValue color, int step)
{
    const auto shifted = [step](int component) { return std::uint8_t(std::clamp(component + step, 0, 255)); };
    const RGBBytes b = ColorToRGBBytes(color);
    return (color & 0xFF000000u) | RGBToColor(shifted(b.red), shifted(b.green), shifted(b.blue));
}

const std::array<ColorValue, 16> &standardColors()
{
    static const std::array<ColorValue, 16> cells = {
        colors::clBlack, colors::clMaroon,  colors::clGreen, colors::clOlive, colors::clNavy, colors::clPurple,
        colors::clTeal,  colors::clSilver,  colors::clGray,  colors::clRed,   colors::clLime, colors::clYellow,
        colors::clBlue,  colors::clFuchsia, colors::clAqua,  colors::clWhite,
    };
    return cells;
}
