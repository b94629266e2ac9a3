#include "imposition/quote.h"

#include "common/wide.h"
#include "imposition/guillotine.h"

#include <algorithm>

namespace korvane::planner {
namespace {

bool within(std::int64_t value, std::int64_t least, std::int64_t most)
{
    return value >= least && value <= most;
}

// Steps the search for the pieces may take, as the planner's own (planner.cpp).
constexpr std::int64_t PieceSteps = 6'000'000;

// numerator / denominator, a half rounded up, for a positive denominator.
std::int64_t halfUp(Wide128 numerator, Wide128 denominator)
{
    return static_cast<std::int64_t>((2 * numerator + denominator) / (2 * denominator));
}

} // namespace

std::int64_t piecesFrom(Length fullSide1, Length fullSide2, Length pressSide1, Length pressSide2)
{
    const auto side = [](Length v) { return within(v, MinSide, MaxSide); };
    if (!side(fullSide1) || !side(fullSide2) || !side(pressSide1) || !side(pressSide2))
        return 0;
    const CellArea area(std::min(fullSide1, fullSide2), std::max(fullSide1, fullSide2),
                        std::min(pressSide1, pressSide2), std::max(pressSide1, pressSide2));
    return area.bestGuillotine(PieceSteps).count;
}

Cutting cuttingOf(int stock, Length fullSide1, Length fullSide2, Length pressSide1,
                  Length pressSide2)
{
    return {stock, std::min(fullSide1, fullSide2), std::max(fullSide1, fullSide2),
            piecesFrom(fullSide1, fullSide2, pressSide1, pressSide2)};
}

Cutting bestCutting(Length pressSide1, Length pressSide2)
{
    Cutting best = cuttingOf(OwnSheet, pressSide1, pressSide2, pressSide1, pressSide2);
    bool found = false;
    for (std::size_t i = 0; i < std::size(Stocks); ++i) {
        const Cutting c =
            cuttingOf(int(i), Stocks[i].width, Stocks[i].length, pressSide1, pressSide2);
        // Less paper a press sheet: area / pieces below the best's, cross-multiplied.
        if (c.pieces > 0 && (!found || Wide128(c.width) * c.length * best.pieces <
                                           Wide128(best.width) * best.length * c.pieces)) {
            best = c;
            found = true;
        }
    }
    return best;
}

std::optional<Paper> paper(std::int64_t ups, const Order &order, const Cutting &cutting,
                           std::int64_t makeReadySheets)
{
    if (ups <= 0 || !within(order.copies, 1, MaxCopies) ||
        !within(order.allowance, 0, MaxAllowance) ||
        !within(order.grammage, MinGrammage, MaxGrammage) ||
        !within(cutting.width, MinSide, MaxSide) || !within(cutting.length, MinSide, MaxSide) ||
        !within(makeReadySheets, 0, 2 * MaxColours * MaxMakeReady))
        return std::nullopt;
    Paper p;
    p.netSheets = (order.copies + ups - 1) / ups;
    // At most 1e8 sheets times 1e4: well inside 64 bits.
    p.allowanceSheets = (p.netSheets * order.allowance + 9'999) / 10'000;
    p.makeReadySheets = makeReadySheets;
    p.sheets = p.netSheets + p.allowanceSheets + p.makeReadySheets;
    if (cutting.pieces <= 0)
        return p;
    p.fullSheets = (p.sheets + cutting.pieces - 1) / cutting.pieces;
    // kg = sheets x (W x L / 1e10 m²) x (grammage / 100 g/m²) / 1000, so tenths of a kg are
    // sheets x W x L x grammage / 1e14: up to 2e8 x 2.5e11 x 1e5, past 64 bits.
    p.weightTenthsKg =
        halfUp(Wide128(p.fullSheets) * cutting.width * cutting.length * order.grammage,
               Wide128(100'000'000'000'000));
    return p;
}

std::optional<Quote> quote(imposition::Method method, std::int64_t ups, const Order &order,
                           const Cutting &cutting, const Prices &prices)
{
    if (!within(prices.front, 1, MaxColours) || !within(prices.back, 0, MaxColours) ||
        !within(prices.paperPerTonne, 0, MaxPaperPrice) ||
        !within(prices.pressPerThousand, 0, MaxPressPrice) ||
        !within(prices.plate, 0, MaxPlatePrice) || !within(prices.leastPress, 0, MaxLeastPress) ||
        !within(prices.makeReadyPerPlate, 0, MaxMakeReady) || cutting.pieces <= 0)
        return std::nullopt;
    Quote q;
    q.ups = ups;
    if (method == imposition::Method::Sheetwise)
        q.plates = prices.front + prices.back;
    else if (prices.back == prices.front)
        q.plates = prices.front;
    else
        return std::nullopt;
    const auto sheets = paper(ups, order, cutting, q.plates * prices.makeReadyPerPlate);
    if (!sheets)
        return std::nullopt;
    q.paper = *sheets;
    // 分 = full sheets x W x L (hundredths of mm) x grammage (hundredths of g/m²) x 分 a
    // tonne / 1e18: up to 2e8 x 2.5e11 x 1e5 x 1e8, within 128 bits.
    q.paperCost = halfUp(Wide128(q.paper.fullSheets) * cutting.width * cutting.length *
                             order.grammage * prices.paperPerTonne,
                         Wide128(1'000'000'000'000'000'000));
    q.plateCost = q.plates * prices.plate;
    const Wide128 impressions = Wide128(q.paper.sheets) * (prices.front + prices.back);
    q.pressCost = std::max(halfUp(impressions * prices.pressPerThousand, 1000), prices.leastPress);
    q.total = q.paperCost + q.plateCost + q.pressCost;
    q.perCopy = halfUp(Wide128(q.total) * 100, order.copies);
    return q;
}

} // namespace korvane::planner
