#include "win32/controlid.h"

#include <array>
#include <charconv>
#include <utility>

namespace korvane::win32 {

int controlId(ControlName name)
{
    if (name == "drawpic")
        return 6100;
    // clang-format off
    constexpr std::array<std::pair<std::string_view, int>, 8> Kinds = {{
        {"Label", 1000}, {"Text", 2000}, {"Combo", 3000}, {"Command", 4000},
        {"VScroll", 5000}, {"Picture", 6000}, {"Image", 7000}, {"TabStrip", 8000},
    }};
    // clang-format on
    for (const auto &[prefix, base] : Kinds) {
        if (!name.starts_with(prefix))
            continue;
        const std::string_view digits = name.substr(prefix.size());
        int n = 0;
        const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
        if (error != std::errc() || end != digits.data() + digits.size() || n <= 0 || n >= 100)
            return 0;
        return base + n;
    }
    return 0;
}

} // namespace korvane::win32
