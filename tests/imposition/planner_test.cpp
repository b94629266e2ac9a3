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
    std::int64_t x0, y0, x1, y1;
};

void expectDisjoint(const std::vector<Rect> &cells)
{
    for (std::size_t i = 0; i < cells.size(); ++i) {
        for (std::size_t j = i + 1; j < cells.size(); ++j) {
            const Rect &p = cells[i], &q = cells[j];
            EXPECT_TRUE(p.x1 <= q.x0 || q.x1 <= p.x0 || p.y1 <= q.y0 || q.y1 <= p.y0)
                << "blocks " << i << " and " << j << " overlap";
        }
    }
}

// Every product's bleed inside the usable area, no two cells (bleed plus gap) overlapping,
// the products adding up to the ups; for turn and tumble the second half of the blocks is
// the mirror image of the first, which keeps to its half of the grown area.
void expectDrawable(const Input &in, const Result &r, const Layout &layout)
{
    std::int64_t count = 0;
    std::vector<Rect> cells;
    std::vector<Length> spanX, spanY;
    for (const Box &b : layout.blocks) {
        ASSERT_TRUE(b.rows > 0 && b.cols > 0);
        count += b.rows * b.cols;
        const Length px = b.turned ? r.pitchWidth : r.pitchLength;
        const Length py = b.turned ? r.pitchLength : r.pitchWidth;
        spanX.push_back((b.cols - 1) * px + (b.turned ? r.trimWidth : r.trimLength));
        spanY.push_back((b.rows - 1) * py + (b.turned ? r.trimLength : r.trimWidth));
        EXPECT_GE(b.x - in.bleed, r.usableLeft);
        EXPECT_GE(b.y - in.bleed, r.usableTop);
        EXPECT_LE(b.x + spanX.back() + in.bleed, r.usableRight);
        EXPECT_LE(b.y + spanY.back() + in.bleed, r.usableBottom);
        cells.push_back({b.x - in.bleed, b.y - in.bleed, b.x - in.bleed + b.cols * px,
                         b.y - in.bleed + b.rows * py});
    }
    EXPECT_EQ(count, layout.ups);
    expectDisjoint(cells);
    if (in.method == Method::Sheetwise)
        return;
    const bool turn = in.method == Method::WorkAndTurn;
    ASSERT_EQ(layout.blocks.size() % 2, 0u);
    const std::size_t half = layout.blocks.size() / 2;
    for (std::size_t i = 0; i < half; ++i) {
        Box mirror = layout.blocks[i];
        if (turn) {
            mirror.x = r.usableLeft + r.usableRight - mirror.x - spanX[i];
            EXPECT_LE(cells[i].x1, r.usableLeft + (r.usableRight - r.usableLeft + in.gap) / 2);
        } else {
            mirror.y = r.usableTop + r.usableBottom - mirror.y - spanY[i];
            EXPECT_LE(cells[i].y1, r.usableTop + (r.usableBottom - r.usableTop + in.gap) / 2);
        }
        EXPECT_EQ(layout.blocks[half + i], mirror);
    }
}

void expectGrids(const Packing &pk, std::int64_t across, std::int64_t along, std::int64_t a,
                 std::int64_t b)
{
    std::int64_t count = 0;
    std::vector<Rect> cells;
    for (const Grid &g : pk.grids) {
        ASSERT_TRUE(g.rows > 0 && g.cols > 0);
        count += g.rows * g.cols;
        cells.push_back({g.along, g.across, g.along + g.cols * (g.turned ? a : b),
                         g.across + g.rows * (g.turned ? b : a)});
        EXPECT_TRUE(g.along >= 0 && g.across >= 0 && cells.back().x1 <= along &&
                    cells.back().y1 <= across);
    }
    EXPECT_EQ(count, pk.count);
    expectDisjoint(cells);
}

// The most a x b tiles, either way round, in a p x q grid over every packing, guillotine or
// not: the first free cell is left empty or takes a tile's corner.
struct Exhaustive
{
    int p, q, a, b;
    std::vector<unsigned> used = std::vector<unsigned>(static_cast<std::size_t>(p), 0u);
    int best = 0;

    bool flip(int r, int c, int h, int w, bool place)
    {
        if (r + h > p || c + w > q)
            return false;
        const unsigned mask = ((1u << w) - 1) << c;
        for (int i = r; place && i < r + h; ++i) {
            if (used[i] & mask)
                return false;
        }
        for (int i = r; i < r + h; ++i)
            used[i] ^= mask;
        return true;
    }

    int search() { return search(0, 0, p * q); }

    // `free` counts the free cells from `cell` on.
    int search(int cell, int count, int free)
    {
        best = std::max(best, count);
        while (cell < p * q && (used[cell / q] >> (cell % q) & 1))
            ++cell;
        if (cell == p * q || count + free / (a * b) <= best)
            return best;
        const int r = cell / q, c = cell % q;
        for (const auto &[h, w] : {std::pair{a, b}, std::pair{b, a}}) {
            if ((h != a || w != b) && a == b)
                break;
            if (flip(r, c, h, w, true)) {
                search(cell + 1, count + 1, free - a * b);
                flip(r, c, h, w, false);
            }
        }
        search(cell + 1, count, free - 1);
        return best;
    }
};

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
                    const int best = Exhaustive{p, q, a, b}.search();
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
                    if (v == 0 || (b > 12 && (x + y) % 5 != 0))
                        continue;
                    SCOPED_TRACE(testing::Message() << x << " x " << y << " / " << a << " x " << b);
                    const Packing pk = CellArea(x, y, a, b).bestGuillotine(NoBound);
                    EXPECT_EQ(pk.count, v);
                    EXPECT_TRUE(pk.exhaustive);
                    expectGrids(pk, x, y, a, b);
                }
            }
        }
    }
}

TEST(Guillotine, NarrowedSearchDrawsWhatItFinds)
{
    struct Case
    {
        std::int64_t across, along, a, b;
    };
    for (const Case c : {Case{200, 300, 7, 11}, Case{157, 389, 10, 13}, Case{400, 90, 9, 9}}) {
        const CellArea area(c.across, c.along, c.a, c.b);
        const Packing exact = area.bestGuillotine(NoBound);
        for (const std::int64_t limit : {1, 500, 20000}) {
            const Packing pk = area.bestGuillotine(limit);
            EXPECT_LE(pk.count, exact.count);
            EXPECT_FALSE(pk.exhaustive && pk.count != exact.count);
            expectGrids(pk, c.across, c.along, c.a, c.b);
        }
    }
}

Input sheetwise(int sheetW, int sheetL, int w, int l)
{
    return {sheetW * 100, sheetL * 100, w * 100, l * 100};
}

TEST(Planner, RowsMatchTheMainPanelWithoutMargins)
{
    using imposition::Arrangement;
    const auto check = [](int sw, int sl, int w, int l) {
        const Result r = plan(sheetwise(sw, sl, w, l));
        const Arrangement arrangements[] = {Arrangement::Horizontal, Arrangement::Vertical,
                                            Arrangement::Mixed};
        for (std::size_t k = 0; k < 3; ++k) {
            const auto o = imposition::impose({double(sw), double(sl), double(w), double(l)},
                                              Method::Sheetwise, arrangements[k]);
            EXPECT_EQ(r.rows[k].ups, std::get<imposition::Plan>(o).ups)
                << sw << " x " << sl << " / " << w << " x " << l << " row " << k;
        }
    };
    for (const cases::MmSize s : cases::TradeSheets) {
        for (const cases::MmSize p : cases::TradeProducts)
            check(s.width, s.length, p.width, p.length);
    }
    std::mt19937 random(4711);
    const auto mm = [&](int lo, int hi) { return std::uniform_int_distribution(lo, hi)(random); };
    for (int i = 0; i < 300; ++i)
        check(mm(100, 1500), mm(100, 1500), mm(5, 600), mm(5, 600));
}

TEST(Planner, WorkedExample)
{
    Input in = sheetwise(1092, 787, 210, 297);
    in.bleed = 300;
    in.gripper = 1000;
    const Result r = plan(in);
    EXPECT_EQ(r.rows[int(Row::Best)].ups, 11);
    EXPECT_EQ(r.bound, 11);
    EXPECT_EQ(r.proof, Proof::Proven);
    EXPECT_EQ(utilisationTenthsPercent(11, r), 798);
    const auto p = paper(11, r.sheetWidth, r.sheetLength, 5000, 0, 8000);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->sheets, 455);
    EXPECT_EQ(p->weightTenthsKg, 313);
    for (const Layout &row : r.rows)
        expectDrawable(in, r, row);
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
        const Layout &best = r.rows[int(Row::Best)];
        for (std::size_t k = 0; k < 4; ++k) {
            expectDrawable(in, r, r.rows[k]);
            EXPECT_LE(r.rows[k].ups, best.ups);
        }
        EXPECT_EQ(r.rows[int(Row::Vertical)].ruledOut, in.lock == Lock::HorizontalOnly);
        EXPECT_EQ(r.rows[int(Row::Horizontal)].ruledOut, in.lock == Lock::VerticalOnly);
        EXPECT_EQ(r.rows[int(Row::Mixed)].ruledOut, in.lock != Lock::None);
        EXPECT_LE(best.ups, r.bound);
        EXPECT_EQ(r.proof == Proof::Proven, best.ups == r.bound);
        if (in.lock != Lock::None) {
            EXPECT_EQ(r.decisive, BoundKind::Placement);
        }
    }
}

TEST(Planner, EdgeCases)
{
    struct Case
    {
        const char *name;
        Input in;
        std::int64_t best, bound;
        Proof proof;
    };
    const auto turn = [](Input in, Method m) {
        in.method = m;
        return in;
    };
    Input gripped = sheetwise(100, 200, 10, 10);
    gripped.gripper = 6000;
    gripped.margin = 4000;
    Input locked = sheetwise(787, 1092, 210, 297);
    locked.lock = Lock::HorizontalOnly;
    Input fine = sheetwise(5000, 5000, 0, 0);
    fine.product1 = 101;
    fine.product2 = 103;
    fine.gap = 1;
    const Case cases[] = {
        {"gripper and margin take the sheet", gripped, 0, 0, Proof::Proven},
        {"product larger than the sheet", sheetwise(300, 400, 310, 320), 0, 0, Proof::Proven},
        {"outside the ranges", sheetwise(0, 400, 10, 10), 0, 0, Proof::Proven},
        {"lock: the horizontal grid", locked, 9, 9, Proof::Proven},
        // A half of 787 x 546 mm holds 5 (the fillable 717 x 507 mm: 5.8 products), a half of
        // 393.5 x 1092 mm one row of 5 turned products.
        {"turn", turn(sheetwise(787, 1092, 210, 297), Method::WorkAndTurn), 10, 10, Proof::Proven},
        {"tumble", turn(sheetwise(787, 1092, 210, 297), Method::WorkAndTumble), 10, 10,
         Proof::Proven},
        {"1 mm on 5000 mm", sheetwise(5000, 5000, 1, 1), 25'000'000, 25'000'000, Proof::Proven},
        {"5000 x 1 mm", sheetwise(5000, 5000, 5000, 1), 5000, 5000, Proof::Proven},
        // Raster points every 0.02 mm: far too many to search them all.
        {"0.01 mm steps", fine, -1, 23'567'119, Proof::CutShort},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Result r = plan(c.in);
        if (c.best >= 0) {
            EXPECT_EQ(r.rows[int(Row::Best)].ups, c.best);
        }
        EXPECT_EQ(r.bound, c.bound);
        EXPECT_EQ(r.proof, c.proof);
        for (const Layout &row : r.rows)
            expectDrawable(c.in, r, row);
    }
}

TEST(Paper, ExactFigures)
{
    struct Case
    {
        std::int64_t ups, width, length, copies, allowance, grammage;
        std::optional<Paper> paper;
    };
    const Case cases[] = {
        {11, 78700, 109200, 5000, 0, 8000, Paper{455, 455, 0, 313}},
        // 5000 / 10 exactly; 3 % of 500 is 15 sheets.
        {10, 78700, 109200, 5000, 300, 8000, Paper{515, 500, 15, 354}},
        // 0.1 % of 455 is 0.455 of a sheet: a whole one.
        {11, 78700, 109200, 5000, 10, 8000, Paper{456, 455, 1, 314}},
        // One square metre at 10 g/m²: 5 sheets weigh 0.05 kg, shown as 0.1.
        {1, 100000, 100000, 5, 0, 1000, Paper{5, 5, 0, 1}},
        {1, 100000, 100000, 4, 0, 1000, Paper{4, 4, 0, 0}},
        // The largest figures: 2e8 sheets of 25 m² at 1000 g/m² are 5e9 kg.
        {1, 500000, 500000, MaxCopies, MaxAllowance, MaxGrammage,
         Paper{200'000'000, 100'000'000, 100'000'000, 50'000'000'000}},
        {0, 78700, 109200, 5000, 0, 8000, std::nullopt},
        {11, 78700, 109200, 0, 0, 8000, std::nullopt},
        {11, 78700, 109200, 5000, -1, 8000, std::nullopt},
    };
    for (const Case &c : cases) {
        const auto p = paper(c.ups, c.width, c.length, c.copies, c.allowance, c.grammage);
        ASSERT_EQ(p.has_value(), c.paper.has_value()) << c.ups << " ups, " << c.copies;
        if (p) {
            EXPECT_EQ(p->sheets, c.paper->sheets);
            EXPECT_EQ(p->netSheets, c.paper->netSheets);
            EXPECT_EQ(p->allowanceSheets, c.paper->allowanceSheets);
            EXPECT_EQ(p->weightTenthsKg, c.paper->weightTenthsKg);
        }
    }
    // Halves round up: 1 product of 1 x 5 mm on a 100 x 100 mm sheet is 0.05 %.
    const Result r = plan(sheetwise(100, 100, 1, 5));
    EXPECT_EQ(utilisationTenthsPercent(1, r), 1);
    EXPECT_EQ(utilisationTenthsPercent(2000, r), 1000);
    EXPECT_EQ(utilisationTenthsPercent(0, r), 0);
}

} // namespace
} // namespace korvane::planner
