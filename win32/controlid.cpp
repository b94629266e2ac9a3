#include "win32/controlid.h"

#include <algorithm>
#include <charconv>

namespace korvane::win32 {

int controlId(ControlName name)
{
    const auto parts = nameParts(name);
    if (!parts)
        return 0;
    if (parts->number == 0)
        return 6100 + int(parts->word);
    return 1000 * (int(parts->word) + 1) + parts->number;
}

int panelId(ControlName array, int index)
{
    const std::string_view digits =
        array.substr(std::min(array.find_first_of("0123456789"), array.size()));
    int n = 1;
    std::from_chars(digits.data(), digits.data() + digits.size(), n);
    return 9000 + 100 * (n - 1) + index;
}

} // namespace korvane::win32
