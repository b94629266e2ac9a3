#pragma once

#include "common/panel.h"

#include <cstdint>

namespace korvane::colour {

enum class Primary
{
    Red,
    Green,
    Blue
};

// One component alone at strength `value` (0 to 255) over white: white at 0, the pure
// primary at 255. The other two components are 255 - value, taken in 16-bit arithmetic
// as the scroll values are 16-bit.
Rgb tint(Primary primary, std::int16_t value);

// The colour the three scroll values make together: they are its components as they are.
Rgb mix(std::int16_t red, std::int16_t green, std::int16_t blue);

} // namespace korvane::colour
