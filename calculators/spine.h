#pragma once

#include <string_view>
#include <variant>

namespace korvane::calculators {

// The input a calculation refuses: the first bad one in checking order.
enum class SpineRefusal
{
    Pages,
    Grammage
};

// Thickness of a book block in millimetres, T = ((pages * 0.135) * grammage) / 100 in that
// order, in doubles without rounding: 0.00135 mm per page for each g/m². The page count
// is checked before the grammage. A thickness beyond the range of a double is refused,
// on the page count if the first product already overflows, otherwise on the grammage.
std::variant<double, SpineRefusal> spineThickness(std::u16string_view pagesText,
                                                  std::u16string_view grammageText);

} // namespace korvane::calculators
