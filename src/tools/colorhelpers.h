// Small colour routines of the colour-code picker, beside the shared
// colors::ColorToHTMLHex.
#pragma once

#include "platform/colorvalue.h"

#include <array>
#include <cstdint>

struct RGBBytes {
    std::uint8_t red = 0, green = 0, blue = 0;
    bool operator==(const RGBBytes &) const = default;
};

// Red, green and blue to a colour value: red lowest, the top byte 0.
ColorValue RGBToColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue);
// The three bytes of a colour value; the top byte is ignored.
RGBBytes ColorToRGBBytes(ColorValue color);
// Adds step to red, green and blue, each kept within 0 to 255; the top byte
// stays as it was.
ColorValue ShiftBrightness(ColorValue color, int step);

// The sixteen standard colours of the picker's grid, left to right.
const std::array<ColorValue, 16> &standardColors();
