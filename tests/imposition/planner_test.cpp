#include "imposition/guillotine.h"
#include "imposition/planner.h"
#include "tests/cases/tradesizes.h"

#include <gtest/gtest.h>
#include <random>

namespace korvane::planner {
namespace {

using imposition::Method;

struct Rect
{
    std::int64_t x0, y0, x1, y1, cells;

    bool operator==(const Rect &) const = default;
};

// Blocks of cells: none empty, all inside the area, no two overlapping. Gives their cells.
std::int64_t expectPacked(const std::vector<Rect> &blocks, const Rect &area)
{
    std::int64_t cells = 0;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        const Rect &p = blocks[i];
        EXPECT_TRUE(p.cells > 0 && p.x0 >= area.x0 && p.y0 >= area.y0 && p.x1 <= area.x1 &&
                    p.y1 <= area.y1)
            << "block " << i;
        cells += p.cells;
        for (std::size_t j = 0; j < i; ++j) {
            const Rect &q = blocks[j];
            EXPECT_TRUE(p.x1 <= q.x0 || q.x1 <= p.x0 || p.y1 <= q.y0 || q.y1 <= p.y0)
                << "blocks " << j << " and " << i << " overlap";
        }
    }
    return cells;
}

// A cell is a product's bleed box and one gap beyond it, so the cells fill the usable area
// grown by a gap. For turn and tumble the first half of the blocks keeps to its half of
// that area and the second half mirrors it.
void expectDrawable(const Input &in, const Result &r, const Layout &layout)
{
    std::vector<Rect> cells;
    for (const Box &b : layout.blocks) {
        const Length px = b.turned ? r.sheet.pitchWidth : r.sheet.pitchLength;
        const Length py = b.turned ? r.sheet.pitchLength : r.sheet.pitchWidth;
        cells.push_back({b.x - in.bleed, b.y - in.bleed, b.x - in.bleed + b.cols * px,
                         b.y - in.bleed + b.rows * py, b.rows * b.cols});
    }
    const Rect area{r.sheet.usableLeft, r.sheet.usableTop, r.sheet.usableRight + in.gap,
                    r.sheet.usableBottom + in.gap, 0};
    EXPECT_EQ(expectPacked(cells, area), layout.ups);
    if (in.method == Method::Sheetwise)
        return;
    const bool turn = in.method == Method::WorkAndTurn;
    const std::size_t half = cells.size() / 2;
    ASSERT_EQ(cells.size(), 2 * half);
    for (std::size_t i = 0; i < half; ++i) {
        Rect m = cells[i];
        if (turn) {
            m.x0 = area.x0 + area.x1 - cells[i].x1;
            m.x1 = area.x0 + area.x1 - cells[i].x0;
            EXPECT_LE(2 * cells[i].x1, area.x0 + area.x1);
        } else {
            m.y0 = area.y0 + area.y1 - cells[i].y1;
            m.y1 = area.y0 + area.y1 - cells[i].y0;
            EXPECT_LE(2 * cells[i].y1, area.y0 + area.y1);
        }
        EXPECT_EQ(cells[half + i], m);
        EXPECT_EQ(layout.blocks[half + i].turned, layout.blocks[i].turned);
    }
}

void expectGrids(const Packing &pk, std::int64_t across, std::int64_t along, std::int64_t a,
                 std::int64_t b)
{
    std::vector<Rect> cells;
    for (const Grid &g : pk.grids) {
        cells.push_back({g.along, g.across, g.along + g.cols * (g.turned ? a : b),
                         g.across + g.rows * (g.turned ? b : a), g.rows * g.cols});
    }
    EXPECT_EQ(expectPacked(cells, {0, 0, along, across, 0}), pk.count);
}

// The most a x b tiles, either way round, in a p x q grid over every packing, guillotine or
// not: the first free cell is left empty or takes a tile's corner. `free` counts the free
// cells from `cell` on.
struct Exhaustive
{
    int p, q, a, b, best = 0;
    std::vector<unsigned> used = std::vector<unsigned>(static_cast<std::size_t>(p));

    bool flip(int r, int c, int h, int w, bool place)
    {
        const unsigned mask = ((1u << w) - 1) << c;
        for (int i = r; place && i < r + h; ++i) {
            if (r + h > p || c + w > q || (used[i] & mask))
                return false;
        }
        for (int i = r; i < r + h; ++i)
            used[i] ^= mask;
        return true;
    }

    int search(int cell, int count, int free)
    {
        best = std::max(best, count);
        while (cell < p * q && (used[cell / q] >> (cell % q) & 1))
            ++cell;
        if (cell == p * q || count + free / (a * b) <= best)
            return best;
        const int r = cell / q, c = cell % q;
        for (int turned = 0; turned < (a == b ? 1 : 2); ++turned) {
            const int h = turned ? b : a, w = turned ? a : b;
            if (flip(r, c, h, w, true)) {
                search(cell + 1, count + 1, free - a * b);
                flip(r, c, h, w, false);
            }
        }
        search(cell + 1, count, free - 1);
        return best;
    }
};

Input mm(int sheetW, int sheetL, int w, int l, Length bleed = 0, Length gripper = 0,
         Length margin = 0, Method method = Method::Sheetwise, Lock lock = Lock::None)
{
    return {sheetW * 100, sheetL * 100, w * 100, l * 100, bleed, 0, gripper, margin, method, lock};
}

// Listed directly (large cells), sieved a bit or a word at a time, with and without a dense
// tail: every way must give every sum of the two sides.
TEST(FillableLengths, EverySumOfTheSides)
{
    struct Case
    {
        std::int64_t extent, a, b;
    };
    for (const Case c : {Case{5000, 3, 5}, Case{9000, 126, 100002}, Case{100000, 101, 103},
                         Case{300000, 700, 701}, Case{500000, 7183, 7269}, Case{777, 5, 5}}) {
        std::vector<bool> sum(static_cast<std::size_t>(c.extent) + 1);
        for (std::int64_t i = 0; i * c.a <= c.extent; ++i) {
            for (std::int64_t v = i * c.a; v <= c.extent; v += c.b)
                sum[static_cast<std::size_t>(v)] = true;
        }
        const FillableLengths f(c.extent, c.a, c.b);
        std::int64_t within = 0;
        for (std::int64_t v = 0; v <= c.extent; ++v) {
            if (v > 0 && sum[static_cast<std::size_t>(v)]) {
                ASSERT_EQ(f.after(within), v) << c.a << " " << c.b << " at " << v;
                within = v;
            }
            ASSERT_EQ(f.within(v), within) << c.a << " " << c.b << " at " << v;
        }
        EXPECT_EQ(f.after(within), -1);
    }
}

TEST(Bounds, NeverBelowTheExhaustiveOptimum)
{
    for (int a = 1; a <= 4; ++a) {
        for (int b = a; b <= 5; ++b) {
            // Squares waste cells on most areas, which only a long search rules out.
            const int longest = a == b ? 8 : 12;
            for (int p = 1; p <= std::min(longest, 10); ++p) {
                for (int q = p; q <= longest; ++q) {
                    const int best = Exhaustive{p, q, a, b}.search(0, 0, p * q);
                    for (const auto &[x, y] : {std::pair{p, q}, std::pair{q, p}}) {
                        SCOPED_TRACE(testing::Message()
                                     << x << " x " << y << " / " << a << " x " << b);
                        const CellArea area(x, y, a, b);
                        EXPECT_GE(area.areaBound(), best);
                        EXPECT_GE(area.barnesBound(), best);
                        EXPECT_GE(area.placementBound(), best);
                        // Barnes's least waste of bars is attained.
                        if (a == 1) {
                            EXPECT_EQ(area.barnesBound(), best);
                        }
                    }
                }
            }
        }
    }
}

// Each bound's own value, worked by hand, and the one that decides: the area of the lengths
// whole cells fill (9 x 9 of 10 x 10 for 3 x 3), Barnes's least waste (3 x 3 of 10 x 10 for
// bars of 7), and the grid where only one placement fits.
TEST(Bounds, KnownValues)
{
    struct Case
    {
        std::int64_t across, along, a, b;
        std::int64_t area, barnes, placement;
    };
    const Case cases[] = {
        {10, 10, 3, 3, 9, 9, NoBound},
        {10, 10, 3, 4, 8, 8, NoBound},
        {10, 10, 2, 7, 7, 6, NoBound},
        {5, 20, 3, 6, 3, 3, 3},
    };
    for (const Case &c : cases) {
        const CellArea area(c.across, c.along, c.a, c.b);
        EXPECT_EQ(area.areaBound(), c.area) << c.across << " x " << c.along;
        EXPECT_EQ(area.barnesBound(), c.barnes) << c.across << " x " << c.along;
        EXPECT_EQ(area.placementBound(), c.placement) << c.across << " x " << c.along;
    }
    // The same areas as sheets, in hundredths: the lowest bound decides, the first of equals.
    EXPECT_EQ(plan(mm(10, 10, 3, 3)).decisive, BoundKind::Area);
    const Result barnes = plan(mm(10, 10, 2, 7));
    EXPECT_EQ(barnes.decisive, BoundKind::Barnes);
    EXPECT_EQ(barnes.bound, 6);
    EXPECT_EQ(plan(mm(5, 20, 3, 6)).decisive, BoundKind::Area);
    EXPECT_EQ(plan(mm(5, 20, 3, 6, 0, 0, 0, Method::Sheetwise, Lock::VerticalOnly)).decisive,
              BoundKind::OnePlacement);
}

// Narrowed to stay within its work, the search still finds these; they are what the points
// from the edges give, so a change in which cuts or points are tried shows here.
TEST(Guillotine, CountsOfSearchesCutShort)
{
    struct Case
    {
        std::int64_t across, along, a, b, limit, count;
    };
    const Case cases[] = {
        {10, 18, 4, 7, 20, 4},  {10, 34, 4, 7, 20, 8},         {30, 30, 4, 7, 12, 28},
        {29, 23, 3, 5, 12, 36}, {1000, 700, 13, 17, 40, 3116},
    };
    for (const Case &c : cases) {
        const Packing pk = CellArea(c.across, c.along, c.a, c.b).bestGuillotine(c.limit);
        EXPECT_FALSE(pk.exhaustive);
        EXPECT_EQ(pk.count, c.count)
            << c.across << " x " << c.along << " / " << c.a << " x " << c.b;
    }
}

TEST(Guillotine, BestMatchesEveryCutTried)
{
    constexpr int N = 30;
    for (int a = 1; a <= N; ++a) {
        for (int b = a; b <= N; ++b) {
            // g(x, y): one cell, or the best of every cut at every whole position.
            std::vector<std::array<int, N + 1>> g(N + 1, std::array<int, N + 1>{});
            for (int x = 1; x <= N; ++x) {
                for (int y = 1; y <= N; ++y) {
                    int v = (a <= x && b <= y) || (b <= x && a <= y) ? 1 : 0;
                    for (int c = 1; c < x; ++c)
                        v = std::max(v, g[c][y] + g[x - c][y]);
                    for (int c = 1; c < y; ++c)
                        v = std::max(v, g[x][c] + g[x][y - c]);
                    g[x][y] = v;
                    // Larger cells on a fifth of the areas, which keeps the test quick.
                    if (v == 0 || (b > 12 && (x + y) % 5 != 0))
                        continue;
                    SCOPED_TRACE(testing::Message() << x << " x " << y << " / " << a << " x " << b);
                    const Packing pk = CellArea(x, y, a, b).bestGuillotine(NoBound);
                    EXPECT_EQ(pk.count, v);
                    EXPECT_TRUE(pk.exhaustive);
                    expectGrids(pk, x, y, a, b);
                    // Narrowed to a few points from the edges: less, but still drawn.
                    const Packing narrowed = CellArea(x, y, a, b).bestGuillotine(12);
                    EXPECT_TRUE(narrowed.exhaustive ? narrowed.count == v : narrowed.count <= v);
                    expectGrids(narrowed, x, y, a, b);
                }
            }
        }
    }
}

TEST(Planner, RowsMatchTheMainPanelWithoutMargins)
{
    using imposition::Arrangement;
    const auto check = [](int sw, int sl, int w, int l) {
        const Result r = plan(mm(sw, sl, w, l));
        const Arrangement arrangements[] = {Arrangement::Horizontal, Arrangement::Vertical,
                                            Arrangement::Mixed};
        for (std::size_t k = 0; k < 3; ++k) {
            const auto o = imposition::impose({double(sw), double(sl), double(w), double(l)},
                                              Method::Sheetwise, arrangements[k]);
            EXPECT_EQ(r.layouts[k].ups, std::get<imposition::Plan>(o).ups)
                << sw << " x " << sl << " / " << w << " x " << l << " row " << k;
        }
    };
    for (const cases::MmSize s : cases::TradeSheets) {
        for (const cases::MmSize p : cases::TradeProducts)
            check(s.width, s.length, p.width, p.length);
    }
    std::mt19937 random(4711);
    const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    for (int i = 0; i < 300; ++i)
        check(pick(100, 1500), pick(100, 1500), pick(5, 600), pick(5, 600));
}

// Whatever the sizes, method and lock: every row drawable, the best at least every row and
// at most the bound, and the proof telling the truth about them.
TEST(Planner, EveryLayoutIsDrawableAndBounded)
{
    std::mt19937_64 random(20261208);
    const auto pick = [&](Length lo, Length hi) {
        return std::uniform_int_distribution<Length>(lo, hi)(random);
    };
    for (int i = 0; i < 400; ++i) {
        const bool small = i % 2 == 0;
        Input in{pick(10000, 150000),
                 pick(10000, 150000),
                 pick(100, small ? 6000 : 60000),
                 pick(100, small ? 6000 : 60000),
                 pick(0, 1) * pick(0, 500),
                 pick(0, 2) * pick(0, 300),
                 pick(0, 3000),
                 pick(0, 1) * pick(0, 2000),
                 Method(pick(0, 2)),
                 Lock(pick(0, 2))};
        SCOPED_TRACE(i);
        const Result r = plan(in);
        const Layout &best = r.layout(LayoutKind::Best);
        for (const Layout &layout : r.layouts) {
            expectDrawable(in, r, layout);
            EXPECT_LE(layout.ups, best.ups);
        }
        EXPECT_EQ(r.layout(LayoutKind::Vertical).ruledOut, in.lock == Lock::HorizontalOnly);
        EXPECT_EQ(r.layout(LayoutKind::Horizontal).ruledOut, in.lock == Lock::VerticalOnly);
        EXPECT_EQ(r.layout(LayoutKind::Mixed).ruledOut, in.lock != Lock::None);
        EXPECT_LE(best.ups, r.bound);
        EXPECT_EQ(r.proof == Proof::Proven, best.ups == r.bound);
        if (in.lock != Lock::None) {
            EXPECT_EQ(r.decisive, BoundKind::OnePlacement);
        }
    }
}

TEST(Planner, KnownAnswers)
{
    struct Case
    {
        const char *name;
        Input in;
        std::int64_t best, bound;
        Proof proof;
    };
    const auto S = Method::Sheetwise;
    const Case cases[] = {
        {"bleed 3 mm, gripper 10 mm", mm(1092, 787, 210, 297, 300, 1000), 11, 11, Proof::Proven},
        {"gripper and margin take the sheet", mm(100, 200, 10, 10, 0, 6000, 4000), 0, 0,
         Proof::Proven},
        {"product larger than the sheet", mm(300, 400, 310, 320), 0, 0, Proof::Proven},
        {"outside the ranges", mm(0, 400, 10, 10), 0, 0, Proof::Proven},
        {"lock: the horizontal grid", mm(787, 1092, 210, 297, 0, 0, 0, S, Lock::HorizontalOnly), 9,
         9, Proof::Proven},
        // A half of 787 x 546 mm holds 5 (the fillable 717 x 507 mm: 5.8 products), a half of
        // 393.5 x 1092 mm one row of 5 turned products.
        {"turn", mm(787, 1092, 210, 297, 0, 0, 0, Method::WorkAndTurn), 10, 10, Proof::Proven},
        {"tumble", mm(787, 1092, 210, 297, 0, 0, 0, Method::WorkAndTumble), 10, 10, Proof::Proven},
        // Both long edges keep the 30 mm gripper: 580 mm across, two halves of two rows; the
        // 5 mm margins leave 990 mm along, nine columns.
        {"tumble, gripper unlike the margin",
         mm(640, 1000, 100, 100, 0, 3000, 500, Method::WorkAndTumble), 36, 36, Proof::Proven},
        {"1 mm on 5000 mm", mm(5000, 5000, 1, 1), 25'000'000, 25'000'000, Proof::Proven},
        {"5000 x 1 mm", mm(5000, 5000, 5000, 1), 5000, 5000, Proof::Proven},
        // Raster points every 0.02 mm: far too many to search them all.
        {"0.01 mm steps",
         {500'000, 500'000, 101, 103, 0, 1},
         23'567'061,
         23'567'119,
         Proof::CutShort},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Result r = plan(c.in);
        EXPECT_EQ(r.layout(LayoutKind::Best).ups, c.best);
        EXPECT_EQ(r.bound, c.bound);
        EXPECT_EQ(r.proof, c.proof);
        for (const Layout &layout : r.layouts)
            expectDrawable(c.in, r, layout);
    }
}

TEST(Planner, Utilisation)
{
    // 11 x 210 x 297 on 1092 x 787 is 79.83 %; 1 x 5 mm on 100 x 100 mm is 0.05 %, a half.
    EXPECT_EQ(utilisationTenths(11, plan(mm(1092, 787, 210, 297, 300, 1000)).sheet), 798);
    EXPECT_EQ(utilisationTenths(1, plan(mm(100, 100, 1, 5)).sheet), 1);
    EXPECT_EQ(utilisationTenths(0, plan(mm(100, 100, 1, 5)).sheet), 0);
    EXPECT_EQ(utilisationTenths(483, plan(mm(240, 253, 11, 11)).sheet), 963); // 96.25 %
}

} // namespace
} // namespace korvane::planner
