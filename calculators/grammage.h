#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <variant>

namespace korvane::calculators {

// A standard full sheet: the format as the list shows it, and its area in square metres.
struct SheetFormat
{
    std::u16string_view text;
    double area;
};

// Each area is the product of the two sides in metres as double arithmetic gives it:
// 0.787 * 1.092 is 0.8594040000000001, not 0.859404. The last digits of both results
// depend on it, so the areas are never derived from the format text.
inline constexpr std::array<SheetFormat, 5> SheetFormats = {{
    {u"787*1092", 0.787 * 1.092},
    {u"850*1168", 0.85 * 1.168},
    {u"880*1230", 0.88 * 1.23},
    {u"889*1194", 0.889 * 1.194},
    {u"720*1020", 0.72 * 1.02},
}};

// The format drop-down's items: the format texts, in the table's order.
inline constexpr auto FormatItems = [] {
    std::array<std::u16string_view, SheetFormats.size()> items{};
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = SheetFormats[i].text;
    return items;
}();

// The format whose text equals `text` code unit for code unit: no blanks trimmed, no case
// folding, and "x" does not stand for "*". Null when there is none.
const SheetFormat *findFormat(std::u16string_view text);

// The grammage as the formulas take it: rounded half to even to whole g/m² in the 16-bit
// signed range. Nullopt when it rounds to zero (the reams per tonne would divide by it)
// or leaves -32768..32767.
std::optional<std::int16_t> wholeGrammage(double grammage);

struct ReamFigures
{
    double weightPerReam; // kg per ream of 500 sheets
    double reamsPerTonne;
};

// W = (g * A) / 2 and R = (2000 / A) / g, in exactly that order of operations.
ReamFigures reamFigures(std::int16_t grammage, double area);

// The grammage box's refusal, on this panel and on the spine panel.
inline constexpr std::u16string_view GrammageMessage = u"请输入克重！";

// The input a conversion refuses: the first bad one in checking order.
enum class GrammageRefusal
{
    Grammage,
    Format
};

// The press of the convert button: the grammage text is checked first, then the format
// text, then both results are computed.
std::variant<ReamFigures, GrammageRefusal> convertGrammage(std::u16string_view grammageText,
                                                           std::u16string_view formatText);

} // namespace korvane::calculators
