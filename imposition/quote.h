#pragma once

#include "imposition/planner.h"

#include <optional>
#include <string_view>

// The paper a job needs and what it costs: the press sheets with their spoilage and
// make-ready, the full sheets the mill sells that they are cut from, and for each method the
// paper, the plates and the press. Counts and money are exact integers; money in 分.

namespace korvane::planner {

using Money = std::int64_t; // 分, a hundredth of a 元

// The full sheets a mill sells, in the order the stock list offers them after 自动: 正度, 大度
// and two more of the trade's sizes.
struct Stock
{
    Length width = 0, length = 0;
};
inline constexpr Stock Stocks[] = {
    {78'700, 109'200}, {88'900, 119'400}, {85'000, 116'800}, {88'000, 123'000}};
// Not one of Stocks: sides the user gave, or the press sheet cut from nothing larger.
inline constexpr int CustomStock = -1, OwnSheet = -2;

// The full sheet press sheets are cut from, and how many of them a guillotine cuts from one:
// 0 where none fits.
struct Cutting
{
    int stock = OwnSheet;
    Length width = 0, length = 0;
    std::int64_t pieces = 0;
};

// The most press sheets, either way round, a guillotine cuts from a full sheet (sides in
// either order), by the planner's own search.
std::int64_t piecesFrom(Length fullSide1, Length fullSide2, Length pressSide1, Length pressSide2);
Cutting cuttingOf(int stock, Length fullSide1, Length fullSide2, Length pressSide1,
                  Length pressSide2);
// 自动: the stock with the least paper per press sheet (its area over its pieces), the earlier
// of equals; the press sheet as its own full sheet where no stock holds it.
Cutting bestCutting(Length pressSide1, Length pressSide2);

inline constexpr std::int64_t MaxCopies = 100'000'000;
inline constexpr std::int64_t MaxAllowance = 10'000; // hundredths of a percent: 100 %
inline constexpr std::int64_t MinGrammage = 1'000;   // hundredths of g/m²: 10 g/m²
inline constexpr std::int64_t MaxGrammage = 100'000; // 1000 g/m²

// What is ordered: copies, the allowance for spoilage in hundredths of a percent of the net
// sheets, the grammage in hundredths of g/m².
struct Order
{
    std::int64_t copies = 0, allowance = 0, grammage = 0;
};

struct Paper
{
    std::int64_t netSheets = 0, allowanceSheets = 0, makeReadySheets = 0;
    std::int64_t sheets = 0;         // 印张: the three together
    std::int64_t fullSheets = 0;     // 全张: the sheets over the pieces, rounded up; 0 with none
    std::int64_t weightTenthsKg = 0; // the full sheets', a half rounded up

    bool operator==(const Paper &) const = default;
};

// Nullopt with no ups, and for figures outside the accepted ranges (copies 1..MaxCopies,
// allowance 0..MaxAllowance, grammage MinGrammage..MaxGrammage, full-sheet sides
// MinSide..MaxSide, make-ready 0..2 x MaxColours x MaxMakeReady).
std::optional<Paper> paper(std::int64_t ups, const Order &order, const Cutting &cutting,
                           std::int64_t makeReadySheets = 0);

inline constexpr Money MaxPaperPrice = 100'000'000; // 1,000,000 元 a tonne
inline constexpr Money MaxPressPrice = 10'000'000;  // 100,000 元 a colour and thousand
inline constexpr Money MaxPlatePrice = 10'000'000;
inline constexpr Money MaxLeastPress = 100'000'000;
inline constexpr int MaxColours = 8;
inline constexpr std::int64_t MaxMakeReady = 10'000;

// The shop's prices: paper a tonne, press time a colour and thousand impressions, a plate,
// the least a job's press time costs; colours front and back; make-ready sheets a plate.
struct Prices
{
    Money paperPerTonne = 0, pressPerThousand = 0, plate = 0, leastPress = 0;
    int front = 4, back = 4;
    std::int64_t makeReadyPerPlate = 0;
};

struct Quote
{
    std::int64_t ups = 0, plates = 0;
    Paper paper;
    Money paperCost = 0, plateCost = 0, pressCost = 0, total = 0;
    std::int64_t perCopy = 0; // in 1/10000 元, a half rounded up

    bool operator==(const Quote &) const = default;
};

// Sheetwise needs a plate per colour a side; work-and-turn and work-and-tumble one set for
// both sides, and so print only a back of as many colours as the front. Nullopt for a method
// that cannot print the job, and where paper() has none.
std::optional<Quote> quote(imposition::Method method, std::int64_t ups, const Order &order,
                           const Cutting &cutting, const Prices &prices);

} // namespace korvane::planner
