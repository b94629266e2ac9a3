#include "imposition/impose.h"
#include "imposition/search.h"
#include "tests/imposition/reference.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace korvane::imposition {
namespace {

using P = Placement;

Plan planFor(Sizes sizes, Method method, Arrangement arrangement)
{
    ImposeOutcome outcome = impose(sizes, method, arrangement);
    const Plan *plan = std::get_if<Plan>(&outcome);
    EXPECT_NE(plan, nullptr);
    return plan ? *plan : Plan{};
}

Geometry geometryFor(Sizes sizes)
{
    auto measured = measure(sizes);
    EXPECT_TRUE(std::holds_alternative<Geometry>(measured));
    return std::get<Geometry>(measured);
}

std::int64_t drawnCells(const Plan &plan)
{
    std::int64_t cells = 0;
    for (const Block &b : plan.blocks)
        cells += b.rows * b.cols;
    return cells;
}

TEST(Measure, OrdersSidesAndFitsTheEnvelope)
{
    struct Case
    {
        Sizes sizes;
        double wwid1, llen1, wwid2, llen2, wida, lena;
    };
    const Case cases[] = {
        {{1092, 787, 210, 297}, 787, 1092, 210, 297, 3135, 3135.0 * 787 / 1092},
        {{787, 1092, 297, 210}, 787, 1092, 210, 297, 3135, 3135.0 * 787 / 1092},
        {{500, 500, 10, 10}, 500, 500, 10, 10, 2415, 2415},
        // A ratio of exactly 3135 / 2415 is limited by the height.
        {{2415, 3135, 1, 2}, 2415, 3135, 1, 2, 2415.0 * 3135 / 2415, 2415},
    };
    for (const Case &c : cases) {
        const Geometry g = geometryFor(c.sizes);
        EXPECT_EQ(g.wwid1, c.wwid1);
        EXPECT_EQ(g.llen1, c.llen1);
        EXPECT_EQ(g.wwid2, c.wwid2);
        EXPECT_EQ(g.llen2, c.llen2);
        EXPECT_EQ(g.wida, c.wida);
        EXPECT_EQ(g.lena, c.lena);
    }
    const Geometry g = geometryFor({1092, 787, 210, 297});
    EXPECT_EQ(g.hrows, 3);
    EXPECT_EQ(g.hcols, 3);
    EXPECT_EQ(g.vrows, 2);
    EXPECT_EQ(g.vcols, 5);
    EXPECT_EQ(g.plen, (3135.0 * 297) / 1092);
    EXPECT_EQ(g.pwid, (3135.0 * 210) / 1092);

    const Geometry tiled = geometryFor({1000, 500, 250, 125});
    EXPECT_EQ(tiled.plen, 783.75);
    EXPECT_EQ(tiled.pwid, 391.875);
    EXPECT_EQ(tiled.lena, 1567.5);
}

TEST(Measure, RefusesSizesTheCountsCannotUse)
{
    struct Case
    {
        Sizes sizes;
        SizeRefusal refusal;
    };
    const Case cases[] = {
        {{0, 787, 210, 297}, {SizeBox::Sheet1, Problem::NotPositive}},
        {{1092, -787, 210, 297}, {SizeBox::Sheet2, Problem::NotPositive}},
        {{1092, 787, 0.4, 297}, {SizeBox::Product1, Problem::NotPositive}},
        // 0.5 rounds to the even neighbour 0.
        {{1092, 787, 210, 0.5}, {SizeBox::Product2, Problem::NotPositive}},
        {{3e9, 787, 210, 297}, {SizeBox::Sheet1, Problem::TooLarge}},
        {{1092, 787, 210, 2147483647.5}, {SizeBox::Product2, Problem::TooLarge}},
        {{1e300, -1, 210, 297}, {SizeBox::Sheet1, Problem::TooLarge}},
    };
    for (const Case &c : cases) {
        auto measured = measure(c.sizes);
        ASSERT_TRUE(std::holds_alternative<SizeRefusal>(measured));
        EXPECT_EQ(std::get<SizeRefusal>(measured), c.refusal);
    }
    // The largest sizes that still round into range pass.
    EXPECT_TRUE(std::holds_alternative<Geometry>(measure({2147483647.4, 1, 0.6, 1})));
}

TEST(Impose, RefusesUpsBeyondTheIntegerRange)
{
    const SizeRefusal tooMany{SizeBox::Product1, Problem::TooLarge};
    for (Arrangement a : {Arrangement::HorizontalOrVertical, Arrangement::Horizontal,
                          Arrangement::Vertical, Arrangement::Mixed}) {
        for (Method m : {Method::Sheetwise, Method::WorkAndTurn, Method::WorkAndTumble}) {
            ImposeOutcome o = impose({1e6, 1e6, 1, 1}, m, a);
            ASSERT_TRUE(std::holds_alternative<SizeRefusal>(o));
            // The mixed work-and-tumble search refuses its million cuts first.
            EXPECT_EQ(std::get<SizeRefusal>(o).box, tooMany.box);
        }
    }
    // 46340 squared fits, 46341 squared does not.
    EXPECT_EQ(planFor({46340, 46340, 1, 1}, Method::Sheetwise, Arrangement::Mixed).ups,
              46340 * 46340);
    EXPECT_TRUE(std::holds_alternative<SizeRefusal>(
        impose({46341, 46341, 1, 1}, Method::Sheetwise, Arrangement::Horizontal)));
}

// A tiny product on a huge sheet: the two bands hold at least either evened single
// placement, so the total is refused before the search walks its hundreds of millions of
// band sizes. bench/imposition_bench.cpp times these cases.
TEST(Impose, RefusesHugeBandSearches)
{
    const SizeRefusal tooMany{SizeBox::Product1, Problem::TooLarge};
    const Sizes cases[] = {
        {2147483647, 2147483647, 1, 1},
        {1560345075, 889257080, 12, 1},
        {2e9, 3e8, 1.4, 0.6},
    };
    for (const Sizes &sizes : cases) {
        for (Method m : {Method::WorkAndTurn, Method::WorkAndTumble}) {
            const ImposeOutcome o = impose(sizes, m, Arrangement::Mixed);
            ASSERT_TRUE(std::holds_alternative<SizeRefusal>(o));
            EXPECT_EQ(std::get<SizeRefusal>(o).box, tooMany.box);
        }
        ImposeOutcome turn = impose(sizes, Method::WorkAndTurn, Arrangement::Mixed);
        EXPECT_EQ(std::get<SizeRefusal>(turn), tooMany);
    }
    // The bound refuses nothing that fits: a long strip still has its work-and-turn layout.
    EXPECT_EQ(planFor({1, 2147483647, 1, 1}, Method::WorkAndTurn, Arrangement::Mixed).ups,
              2147483646);
}

TEST(Impose, RefusesMixedSearchesWithTooManyCuts)
{
    const Sizes strip{1, 2e5, 1, 1};
    const SizeRefusal refusal{SizeBox::Product1, Problem::SearchTooLarge};
    for (Method m : {Method::Sheetwise, Method::WorkAndTumble}) {
        ImposeOutcome o = impose(strip, m, Arrangement::Mixed);
        ASSERT_TRUE(std::holds_alternative<SizeRefusal>(o));
        EXPECT_EQ(std::get<SizeRefusal>(o), refusal);
    }
    // Work-and-turn searches the rows, and the other arrangements do not search at all.
    EXPECT_EQ(planFor(strip, Method::WorkAndTurn, Arrangement::Mixed).ups, 200000);
    EXPECT_EQ(planFor(strip, Method::Sheetwise, Arrangement::Horizontal).ups, 200000);
}

struct LayoutCase
{
    const char *name;
    Sizes sizes;
    Method method;
    Arrangement arrangement;
    std::int32_t ups;
    // Blocks with positions in units of the product's scaled length and width.
    struct Expected
    {
        std::int64_t rows, cols;
        P placement;
        double xLen, xWid, yLen, yWid;
    };
    std::vector<Expected> blocks;
};

void checkLayout(const LayoutCase &c)
{
    SCOPED_TRACE(c.name);
    const Plan plan = planFor(c.sizes, c.method, c.arrangement);
    EXPECT_EQ(plan.ups, c.ups);
    ASSERT_EQ(plan.blocks.size(), c.blocks.size());
    const double plen = plan.geometry.plen, pwid = plan.geometry.pwid;
    for (std::size_t i = 0; i < c.blocks.size(); ++i) {
        const auto &e = c.blocks[i];
        const Block expected{e.rows, e.cols, e.placement, e.xLen * plen + e.xWid * pwid,
                             e.yLen * plen + e.yWid * pwid};
        EXPECT_EQ(plan.blocks[i], expected) << "block " << i + 1;
    }
    EXPECT_EQ(drawnCells(plan), plan.ups);
}

const Sizes A4{1092, 787, 210, 297};
const Sizes Small{1092, 787, 140, 203};
const Sizes Tiled{1000, 500, 250, 125};
const Sizes TooBig{100, 100, 200, 300};
const Sizes FlatOnly{300, 1000, 250, 310};
const Sizes Narrow{787, 1092, 90, 307};

TEST(Sheetwise, WorkedExamples)
{
    const auto S = Method::Sheetwise;
    const LayoutCase cases[] = {
        {"A4 horizontal", A4, S, Arrangement::Horizontal, 9, {{3, 3, P::Horizontal, 0, 0, 0, 0}}},
        {"A4 vertical", A4, S, Arrangement::Vertical, 10, {{2, 5, P::Vertical, 0, 0, 0, 0}}},
        {"A4 either",
         A4,
         S,
         Arrangement::HorizontalOrVertical,
         10,
         {{2, 5, P::Vertical, 0, 0, 0, 0}}},
        {"A4 mixed",
         A4,
         S,
         Arrangement::Mixed,
         11,
         {{0, 0, P::Horizontal, 0, 0, 0, 0},
          {2, 0, P::Vertical, 0, 0, 0, 0},
          {1, 5, P::Vertical, 0, 0, 0, 0},
          {2, 3, P::Horizontal, 0, 0, 1, 0}}},
        {"small mixed",
         Small,
         S,
         Arrangement::Mixed,
         28,
         {{4, 4, P::Horizontal, 0, 0, 0, 0},
          {1, 5, P::Vertical, 0, 0, 0, 4},
          {3, 2, P::Vertical, 4, 0, 0, 0},
          {1, 1, P::Horizontal, 4, 0, 3, 0}}},
        {"small horizontal",
         Small,
         S,
         Arrangement::Horizontal,
         25,
         {{5, 5, P::Horizontal, 0, 0, 0, 0}}},
        {"small vertical", Small, S, Arrangement::Vertical, 21, {{3, 7, P::Vertical, 0, 0, 0, 0}}},
        {"tie goes vertical",
         Tiled,
         S,
         Arrangement::HorizontalOrVertical,
         16,
         {{2, 8, P::Vertical, 0, 0, 0, 0}}},
        {"tiled mixed",
         Tiled,
         S,
         Arrangement::Mixed,
         16,
         {{0, 0, P::Horizontal, 0, 0, 0, 0},
          {2, 0, P::Vertical, 0, 0, 0, 0},
          {0, 8, P::Vertical, 0, 0, 0, 0},
          {4, 4, P::Horizontal, 0, 0, 0, 0}}},
        {"too big either",
         TooBig,
         S,
         Arrangement::HorizontalOrVertical,
         0,
         {{0, 0, P::Vertical, 0, 0, 0, 0}}},
        {"too big mixed",
         TooBig,
         S,
         Arrangement::Mixed,
         0,
         {{0, 0, P::Horizontal, 0, 0, 0, 0},
          {0, 0, P::Vertical, 0, 0, 0, 0},
          {0, 0, P::Vertical, 0, 0, 0, 0},
          {0, 0, P::Horizontal, 0, 0, 0, 0}}},
        {"flat only vertical",
         FlatOnly,
         S,
         Arrangement::Vertical,
         0,
         {{0, 4, P::Vertical, 0, 0, 0, 0}}},
        {"flat only either",
         FlatOnly,
         S,
         Arrangement::HorizontalOrVertical,
         3,
         {{1, 3, P::Horizontal, 0, 0, 0, 0}}},
        {"flat only mixed",
         FlatOnly,
         S,
         Arrangement::Mixed,
         3,
         {{0, 0, P::Horizontal, 0, 0, 0, 0},
          {0, 0, P::Vertical, 0, 0, 0, 0},
          {0, 4, P::Vertical, 0, 0, 0, 0},
          {1, 3, P::Horizontal, 0, 0, 0, 0}}},
    };
    for (const LayoutCase &c : cases)
        checkLayout(c);
}

TEST(TurnAndTumble, WorkedExamples)
{
    const auto T = Method::WorkAndTurn;
    const auto B = Method::WorkAndTumble;
    const LayoutCase cases[] = {
        {"turn horizontal", A4, T, Arrangement::Horizontal, 6, {{3, 2, P::Horizontal, 0, 0, 0, 0}}},
        {"tumble horizontal",
         A4,
         B,
         Arrangement::Horizontal,
         6,
         {{2, 3, P::Horizontal, 0, 0, 0, 0}}},
        {"turn vertical", A4, T, Arrangement::Vertical, 8, {{2, 4, P::Vertical, 0, 0, 0, 0}}},
        {"tumble vertical", A4, B, Arrangement::Vertical, 10, {{2, 5, P::Vertical, 0, 0, 0, 0}}},
        {"turn either",
         A4,
         T,
         Arrangement::HorizontalOrVertical,
         8,
         {{2, 4, P::Vertical, 0, 0, 0, 0}}},
        {"tumble either",
         A4,
         B,
         Arrangement::HorizontalOrVertical,
         10,
         {{2, 5, P::Vertical, 0, 0, 0, 0}}},
        {"turn mixed",
         Narrow,
         T,
         Arrangement::Mixed,
         26,
         {{1, 2, P::Horizontal, 0, 0, 0, 0}, {2, 12, P::Vertical, 0, 0, 0, 1}}},
        // Totals 24, 24, 26, 26: the first 26 wins.
        {"tumble mixed",
         Narrow,
         B,
         Arrangement::Mixed,
         26,
         {{8, 2, P::Horizontal, 0, 0, 0, 0}, {2, 5, P::Vertical, 2, 0, 0, 0}}},
        // One column evens to none.
        {"turn one column",
         {100, 150, 50, 100},
         T,
         Arrangement::Horizontal,
         0,
         {{2, 0, P::Horizontal, 0, 0, 0, 0}}},
        // Equal evened counts go vertical: H = 2 x 2, V = 2 x 2.
        {"turn tie",
         {40, 40, 10, 20},
         T,
         Arrangement::HorizontalOrVertical,
         8,
         {{2, 4, P::Vertical, 0, 0, 0, 0}}},
        {"turn all zero",
         TooBig,
         T,
         Arrangement::Mixed,
         0,
         {{0, 0, P::Horizontal, 0, 0, 0, 0}, {0, 0, P::Vertical, 0, 0, 0, 0}}},
        // hrows = 0: only k = 0 is tried; band 2 starts at the corner and holds nothing.
        {"turn no rows",
         {90, 1000, 200, 100},
         T,
         Arrangement::Mixed,
         0,
         {{0, 4, P::Horizontal, 0, 0, 0, 0}, {0, 10, P::Vertical, 0, 0, 0, 0}}},
    };
    for (const LayoutCase &c : cases)
        checkLayout(c);
}

// The fast searches must choose exactly what the literal scans choose, ties included.
TEST(MixedSearch, MatchesTheLiteralScan)
{
    std::mt19937_64 random(20261207);
    auto pick = [&](double lo, double hi, bool whole) {
        const double v = std::uniform_real_distribution<double>(lo, hi)(random);
        return whole ? std::floor(v) : std::round(v * 4) / 4;
    };
    for (int i = 0; i < 4000; ++i) {
        const bool whole = i % 2 == 0;
        const double product = i % 3 == 0 ? 40 : 300;
        const Sizes sizes{pick(1, 1200, whole), pick(1, 1200, whole), pick(1, product, whole),
                          pick(1, product, whole)};
        auto measured = measure(sizes);
        if (!std::holds_alternative<Geometry>(measured))
            continue;
        const Geometry g = std::get<Geometry>(measured);
        const std::string where =
            std::to_string(sizes.sheet1) + " " + std::to_string(sizes.sheet2) + " " +
            std::to_string(sizes.product1) + " " + std::to_string(sizes.product2);
        const MixedChoice fast = searchMixed(g);
        const MixedChoice slow = reference::scanMixed(g);
        EXPECT_EQ(fast.ups, slow.ups) << where;
        EXPECT_EQ(fast.mixcols, slow.mixcols) << where;
        EXPECT_EQ(fast.mixrows, slow.mixrows) << where;
        EXPECT_EQ(fast.mixturns, slow.mixturns) << where;
        for (Method m : {Method::WorkAndTurn, Method::WorkAndTumble}) {
            const BandChoice f = searchBands(g, m);
            const BandChoice s = reference::scanBands(g, m);
            EXPECT_EQ(f.ups, s.ups) << where;
            EXPECT_EQ(f.kbest, s.kbest) << where;
            EXPECT_EQ(f.band2, s.band2) << where;
        }
    }
}

// Every arrangement of every method draws exactly the products it counts, never a negative
// count, and with whole sizes stays inside the sheet.
TEST(Impose, DrawsWhatItCounts)
{
    std::mt19937_64 random(7);
    for (int i = 0; i < 3000; ++i) {
        const bool whole = i % 2 == 0;
        auto pick = [&](double hi) {
            const double v = std::uniform_real_distribution<double>(0.3, hi)(random);
            return whole ? std::ceil(v) : v;
        };
        const Sizes sizes{pick(1500), pick(1500), pick(400), pick(400)};
        for (Arrangement a : {Arrangement::HorizontalOrVertical, Arrangement::Horizontal,
                              Arrangement::Vertical, Arrangement::Mixed}) {
            for (Method m : {Method::Sheetwise, Method::WorkAndTurn, Method::WorkAndTumble}) {
                ImposeOutcome o = impose(sizes, m, a);
                const Plan *plan = std::get_if<Plan>(&o);
                if (!plan)
                    continue;
                EXPECT_EQ(drawnCells(*plan), plan->ups);
                for (const Block &b : plan->blocks) {
                    EXPECT_GE(b.rows, 0);
                    EXPECT_GE(b.cols, 0);
                    if (!whole || b.rows == 0 || b.cols == 0)
                        continue;
                    const Geometry &g = plan->geometry;
                    const bool flat = b.placement == P::Horizontal;
                    const double right = b.x + b.cols * (flat ? g.plen : g.pwid);
                    const double bottom = b.y + b.rows * (flat ? g.pwid : g.plen);
                    EXPECT_LE(right, g.wida * (1 + 1e-9));
                    EXPECT_LE(bottom, g.lena * (1 + 1e-9));
                }
            }
        }
    }
}

// One rounding for the panel's doubles and the planner's hundredths: exact, a half up.
TEST(Utilisation, ExactHalvesUp)
{
    struct Case
    {
        std::int64_t ups;
        Sizes sizes;
        std::int64_t tenths;
    };
    const Case cases[] = {
        {483, {240, 253, 11, 11}, 963}, // 96.25 %
        {11, {1092, 787, 210, 297}, 798},
        {16, {1000, 500, 250, 125}, 1000},
        {1, {100, 100, 1, 5}, 1},    // 0.05 %
        {1, {100, 100, 1, 4.99}, 0}, // just below the half
        {0, {100, 100, 1, 5}, 0},
        {2, {0.5, 2147483647, 0.25, 2147483647}, 1000},
        {1, {2147483647, 2147483647, 0.5, 0.5}, 0},
        {3, {0.1, 0.3, 0.1, 0.1}, 1000}, // the doubles as held: 0.1 is a little more, 0.3 less
    };
    for (const Case &c : cases)
        EXPECT_EQ(utilisationTenths(c.ups, c.sizes), c.tenths) << c.ups;
}

TEST(Texts, ChoicesAreComparedExactly)
{
    Arrangement a{};
    Method m{};
    EXPECT_TRUE(arrangementFromText(u"横竖混排", a));
    EXPECT_EQ(a, Arrangement::Mixed);
    EXPECT_TRUE(methodFromText(u"大翻版", m));
    EXPECT_EQ(m, Method::WorkAndTumble);
    for (std::u16string_view bad : {u"横排 ", u" 横排", u"", u"横"})
        EXPECT_FALSE(arrangementFromText(bad, a));
    EXPECT_FALSE(methodFromText(u"大套版\u3000", m));
}

} // namespace
} // namespace korvane::imposition
