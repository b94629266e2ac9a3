#include "calculators/grammage.h"

#include "common/numtext.h"

#include <limits>

namespace korvane::calculators {

const SheetFormat *findFormat(std::u16string_view text)
{
    for (const SheetFormat &format : SheetFormats)
        if (format.text == text)
            return &format;
    return nullptr;
}

std::optional<std::int16_t> wholeGrammage(double grammage)
{
    const auto whole = roundHalfEven(grammage);
    if (!whole || *whole == 0 || *whole < std::numeric_limits<std::int16_t>::min() ||
        *whole > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(*whole);
}

ReamFigures reamFigures(std::int16_t grammage, double area)
{
    const double g = grammage;
    return {(g * area) / 2.0, (2000.0 / area) / g};
}

std::variant<ReamFigures, GrammageRefusal> convertGrammage(std::u16string_view grammageText,
                                                           std::u16string_view formatText)
{
    // A grammage that cannot enter the formulas is refused like one that is not a number,
    // and before the format, as every grammage fault is.
    const auto number = parseNumber(grammageText);
    const auto grammage = number ? wholeGrammage(*number) : std::nullopt;
    if (!grammage)
        return GrammageRefusal::Grammage;
    const SheetFormat *format = findFormat(formatText);
    if (!format)
        return GrammageRefusal::Format;
    return reamFigures(*grammage, format->area);
}

} // namespace korvane::calculators
