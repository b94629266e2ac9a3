#include "imposition/impose.h"

#include "common/numtext.h"
#include "common/wide.h"
#include "imposition/search.h"

#include <array>
#include <limits>

namespace korvane::imposition {
namespace {

constexpr std::int64_t Int32Max = std::numeric_limits<std::int32_t>::max();

template <typename Enum, std::size_t N>
bool fromText(const std::array<std::u16string_view, N> &texts, std::u16string_view text, Enum &out)
{
    for (std::size_t i = 0; i < N; ++i) {
        if (texts[i] == text) {
            out = static_cast<Enum>(i);
            return true;
        }
    }
    return false;
}

// Which count a method evens: work-and-turn needs an even number of columns in every
// block, work-and-tumble an even number of rows.
struct MethodRule
{
    bool evenRows;
    bool evenCols;
};

MethodRule ruleOf(Method method)
{
    switch (method) {
    case Method::WorkAndTurn:
        return {false, true};
    case Method::WorkAndTumble:
        return {true, false};
    case Method::Sheetwise:
        break;
    }
    return {false, false};
}

std::int64_t evenedIf(bool even, std::int64_t n)
{
    return even ? evened(n) : n;
}

struct Layout
{
    std::int64_t ups = 0;
    std::vector<Block> blocks;
};

// "横排", "竖排" and "横排或竖排": one block at the top-left corner; a tie between the two
// placements goes to the vertical one.
Layout singleBlock(const Geometry &g, MethodRule rule, Arrangement arrangement)
{
    const Block horizontal{evenedIf(rule.evenRows, g.hrows), evenedIf(rule.evenCols, g.hcols),
                           Placement::Horizontal, 0, 0};
    const Block vertical{evenedIf(rule.evenRows, g.vrows), evenedIf(rule.evenCols, g.vcols),
                         Placement::Vertical, 0, 0};
    const std::int64_t h = horizontal.rows * horizontal.cols;
    const std::int64_t v = vertical.rows * vertical.cols;
    const bool useHorizontal = arrangement == Arrangement::Horizontal ||
                               (arrangement == Arrangement::HorizontalOrVertical && h > v);
    if (useHorizontal)
        return {h, {horizontal}};
    return {v, {vertical}};
}

Layout mixedSheetwise(const Geometry &g)
{
    const MixedChoice c = searchMixed(g);
    const double s = static_cast<double>(c.mixcols);
    const Placement kinds[] = {Placement::Horizontal, Placement::Vertical, Placement::Vertical,
                               Placement::Horizontal};
    const std::pair<double, double> corners[] = {
        {0, 0},
        {0, static_cast<double>(c.mixrows) * g.pwid},
        {s * g.plen, 0},
        {s * g.plen, static_cast<double>(c.mixturns) * g.plen}};
    std::vector<Block> blocks;
    for (std::size_t i = 0; i < c.blocks.size(); ++i)
        blocks.push_back(
            {c.blocks[i].first, c.blocks[i].second, kinds[i], corners[i].first, corners[i].second});
    return {c.ups, std::move(blocks)};
}

// Work-and-turn stacks two bands down the sheet (band 1 of k horizontal rows, band 2 of
// turned products below it); work-and-tumble sets them side by side along the sheet length.
Layout mixedBands(const Geometry &g, Method method)
{
    const BandChoice c = searchBands(g, method);
    const double k = static_cast<double>(c.kbest);
    if (method == Method::WorkAndTurn) {
        return {c.ups,
                {{c.kbest, evened(g.hcols), Placement::Horizontal, 0, 0},
                 {c.band2, evened(g.vcols), Placement::Vertical, 0, k * g.pwid}}};
    }
    return {c.ups,
            {{evened(g.hrows), c.kbest, Placement::Horizontal, 0, 0},
             {evened(g.vrows), c.band2, Placement::Vertical, k * g.plen, 0}}};
}

bool productFits32(std::int64_t a, std::int64_t b)
{
    return a == 0 || b <= Int32Max / a;
}

} // namespace

bool arrangementFromText(std::u16string_view text, Arrangement &out)
{
    return fromText(ArrangementItems, text, out);
}

bool methodFromText(std::u16string_view text, Method &out)
{
    return fromText(MethodItems, text, out);
}

std::variant<Geometry, SizeRefusal> measure(const Sizes &sizes)
{
    const std::array<std::pair<double, SizeBox>, 4> boxes = {{{sizes.sheet1, SizeBox::Sheet1},
                                                              {sizes.sheet2, SizeBox::Sheet2},
                                                              {sizes.product1, SizeBox::Product1},
                                                              {sizes.product2, SizeBox::Product2}}};
    for (const auto &[value, box] : boxes) {
        const auto rounded = roundHalfEven(value);
        if (!(value > 0) || (rounded && *rounded == 0))
            return SizeRefusal{box, Problem::NotPositive};
        if (!rounded || *rounded > Int32Max)
            return SizeRefusal{box, Problem::TooLarge};
    }

    Geometry g;
    // Compared as numbers, so the sides may be typed in either order.
    if (sizes.sheet1 < sizes.sheet2) {
        g.wwid1 = sizes.sheet1;
        g.llen1 = sizes.sheet2;
    } else {
        g.wwid1 = sizes.sheet2;
        g.llen1 = sizes.sheet1;
    }
    if (sizes.product1 < sizes.product2) {
        g.wwid2 = sizes.product1;
        g.llen2 = sizes.product2;
    } else {
        g.wwid2 = sizes.product2;
        g.llen2 = sizes.product1;
    }

    // The sheet keeps its proportions inside the envelope; the longer relative side is the
    // limit, and an exact tie is limited by the height.
    constexpr double width = EnvelopeWidth;
    constexpr double height = EnvelopeHeight;
    if (g.llen1 / g.wwid1 > width / height) {
        g.wida = width;
        g.lena = width * g.wwid1 / g.llen1;
    } else {
        g.lena = height;
        g.wida = height * g.llen1 / g.wwid1;
    }
    // Multiplication before division, as the grid routine computes them.
    g.plen = (g.wida * g.llen2) / g.llen1;
    g.pwid = (g.wida * g.wwid2) / g.llen1;

    g.hrows = count(g.wwid1, g.wwid2);
    g.hcols = count(g.llen1, g.llen2);
    g.vrows = count(g.wwid1, g.llen2);
    g.vcols = count(g.llen1, g.wwid2);
    return g;
}

ImposeOutcome impose(const Sizes &sizes, Method method, Arrangement arrangement)
{
    auto measured = measure(sizes);
    if (const auto *refusal = std::get_if<SizeRefusal>(&measured))
        return *refusal;
    const Geometry &g = std::get<Geometry>(measured);

    // A product too small for the sheet is what makes the counts explode.
    const SizeRefusal tooMany{SizeBox::Product1, Problem::TooLarge};
    Layout layout;
    if (arrangement != Arrangement::Mixed) {
        layout = singleBlock(g, ruleOf(method), arrangement);
    } else if (method == Method::Sheetwise) {
        // A mixed layout holds at least as many as either single placement, so this refuses
        // nothing that would fit, and it bounds the search's arithmetic.
        if (!productFits32(g.hrows, g.hcols) || !productFits32(g.vrows, g.vcols))
            return tooMany;
        if (g.hcols >= MaxMixedCuts)
            return SizeRefusal{SizeBox::Product1, Problem::SearchTooLarge};
        layout = mixedSheetwise(g);
    } else {
        if (method == Method::WorkAndTumble && g.hcols >= MaxMixedCuts)
            return SizeRefusal{SizeBox::Product1, Problem::SearchTooLarge};
        // The two bands hold at least either evened single placement (band size 0 is all
        // turned, the largest band size all flat), so this too refuses nothing that would
        // fit. It also bounds the search, whose work grows with the turned rows: a tiny
        // product on a huge sheet would otherwise keep the window busy for many seconds
        // before the total is refused anyway.
        const MethodRule rule = ruleOf(method);
        if (!productFits32(evenedIf(rule.evenRows, g.hrows), evenedIf(rule.evenCols, g.hcols)) ||
            !productFits32(evenedIf(rule.evenRows, g.vrows), evenedIf(rule.evenCols, g.vcols)))
            return tooMany;
        layout = mixedBands(g, method);
    }
    if (layout.ups > Int32Max)
        return tooMany;
    return Plan{g, static_cast<std::int32_t>(layout.ups), std::move(layout.blocks)};
}

std::int64_t utilisationTenths(std::int64_t ups, const Sizes &sizes)
{
    if (ups <= 0)
        return 0;
    return productRatioHalfUp({double(ups) * 1000, sizes.product1, sizes.product2},
                              {sizes.sheet1, sizes.sheet2});
}

} // namespace korvane::imposition
