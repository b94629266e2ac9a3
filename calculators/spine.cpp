#include "calculators/spine.h"

#include "common/numtext.h"

#include <cmath>

namespace korvane::calculators {

std::variant<double, SpineRefusal> spineThickness(std::u16string_view pagesText,
                                                  std::u16string_view grammageText)
{
    const auto pages = parseNumber(pagesText);
    if (!pages)
        return SpineRefusal::Pages;
    const auto grammage = parseNumber(grammageText);
    if (!grammage)
        return SpineRefusal::Grammage;

    const double perPage = *pages * 0.135;
    if (!std::isfinite(perPage))
        return SpineRefusal::Pages;
    const double thickness = (*grammage * perPage) / 100.0;
    if (!std::isfinite(thickness))
        return SpineRefusal::Grammage;
    return thickness;
}

} // namespace korvane::calculators
