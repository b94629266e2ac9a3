#include "colour/mixer.h"

namespace korvane::colour {

Rgb tint(Primary primary, std::int16_t value)
{
    const auto rest = static_cast<std::int16_t>(255 - value);
    switch (primary) {
    case Primary::Red:
        return {255, rest, rest};
    case Primary::Green:
        return {rest, 255, rest};
    case Primary::Blue:
        return {rest, rest, 255};
    }
    return {255, 255, 255};
}

Rgb mix(std::int16_t red, std::int16_t green, std::int16_t blue)
{
    return {red, green, blue};
}

} // namespace korvane::colour
