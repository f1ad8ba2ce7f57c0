#pragma once
// The value types the programs compute with: 16-bit orders and counters,
// 32-bit floats for coordinates, 32-bit integers for colours and indices.
#include <cstdint>

namespace plot {

using Integer = std::int16_t;
using Long = std::int32_t;
using Single = float;

// A 24-bit colour: red in the low byte, blue in the high byte.
using Colour = Long;

constexpr Colour RGB(int red, int green, int blue)
{
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}

} // namespace plot
