// The cutter's plan, replayed from its text as a cutter would follow it: from the sheet, each
// stroke cuts every piece of its kind there is; at the end no kind is left to cut, and the
// products are exactly the layout's, each its trimmed size where the diagram draws it.
#include "imposition/cutplan.h"
#include "tests/cases/tradesizes.h"

#include <charconv>
#include <gtest/gtest.h>
#include <map>
#include <random>

namespace korvane::planner {
namespace {

using imposition::Method;
__extension__ typedef __int128 Wide;

// The sums of a set of rectangles: how many, and the sums of their corners and of their
// squares, which together tell two sets of grids apart.
struct Moments
{
    Wide count = 0, x = 0, y = 0, xx = 0, yy = 0, xy = 0;

    void add(Wide n, Wide sx, Wide sy, Wide sxx, Wide syy, Wide sxy)
    {
        count += n, x += sx, y += sy, xx += sxx, yy += syy, xy += sxy;
    }
    bool operator==(const Moments &) const = default;
};

// A number of hundredths as the plan writes it, read back.
Length lengthOf(std::u16string_view text)
{
    const std::string ascii(text.begin(), text.end());
    const std::size_t point = ascii.find('.');
    Length whole = 0, hundredths = 0;
    std::from_chars(ascii.data(), ascii.data() + std::min(point, ascii.size()), whole);
    if (point != std::string::npos) {
        std::string decimals = ascii.substr(point + 1);
        decimals.resize(2, '0');
        std::from_chars(decimals.data(), decimals.data() + 2, hundredths);
    }
    return whole * 100 + hundredths;
}

std::vector<std::u16string_view> wordsOf(std::u16string_view line)
{
    std::vector<std::u16string_view> words;
    for (std::size_t at = 0; at < line.size();) {
        const std::size_t end = std::min(line.find_first_of(u" ，：", at), line.size());
        if (end > at)
            words.push_back(line.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

// The products of the text's plan, each kind's pieces kept as their count and moments of
// their corners, their sizes checked against the kinds' line; or what is wrong.
struct Replayed
{
    std::map<std::pair<Length, Length>, Moments> products; // by size
    std::string fault;
};

Replayed replay(const std::vector<std::u16string> &lines, Length sheetLength, Length sheetWidth)
{
    Replayed out;
    const auto fail = [&](std::string what, std::size_t n) {
        if (out.fault.empty())
            out.fault = what + " at line " + std::to_string(n);
    };
    // "A 1092 × 787，B …": the kinds and their sizes.
    std::map<std::u16string, std::pair<Length, Length>> sizes;
    const auto kinds = wordsOf(lines.at(0));
    for (std::size_t i = 0; i + 3 < kinds.size() + 1; i += 4)
        sizes[std::u16string(kinds[i])] = {lengthOf(kinds[i + 1]), lengthOf(kinds[i + 3])};
    if (sizes[u"A"] != std::pair{sheetLength, sheetWidth})
        fail("the sheet's size", 0);
    // Each kind's pieces as moments of their top-left corners.
    std::map<std::u16string, Moments> pieces = {{u"A", {1, 0, 0, 0, 0, 0}}};
    for (std::size_t n = 1; n < lines.size(); ++n) {
        const auto w = wordsOf(lines[n]);
        // 第 n 刀 X ×k 距上边 d 横切 得 Y 和 Z
        const std::string number = std::to_string(n);
        if (w.size() != 12 || w[0] != u"第" || w[2] != u"刀" || w[8] != u"得" || w[10] != u"和" ||
            std::u16string(number.begin(), number.end()) != w[1]) {
            fail("a stroke's words", n);
            break;
        }
        const std::u16string x(w[3]);
        const auto found = pieces.find(x);
        const std::string stacked =
            found == pieces.end() ? "" : std::to_string(std::int64_t(found->second.count));
        if (found == pieces.end() ||
            w[4] != u"×" + std::u16string(stacked.begin(), stacked.end())) {
            fail("a stack not of every piece there is", n);
            break;
        }
        const Moments m = found->second;
        pieces.erase(found);
        const bool across = w[5] == u"距上边";
        if (w[7] != (across ? u"横切" : u"竖切")) {
            fail("the cut's direction", n);
            break;
        }
        const Length d = lengthOf(w[6]);
        const auto [width, height] = sizes[x];
        if (d <= 0 || d >= (across ? height : width))
            fail("a stroke that leaves a part empty", n);
        const std::pair<Length, Length> parts[] = {
            across ? std::pair{width, d} : std::pair{d, height},
            across ? std::pair{width, height - d} : std::pair{width - d, height}};
        for (int k = 0; k < 2; ++k) {
            const std::u16string part(w[k == 0 ? 9 : 11]);
            // The second part's corners are the first's moved by d.
            const Wide dx = k == 1 && !across ? d : 0, dy = k == 1 && across ? d : 0;
            Moments moved = m;
            moved.xx = m.xx + 2 * dx * m.x + dx * dx * m.count;
            moved.yy = m.yy + 2 * dy * m.y + dy * dy * m.count;
            moved.xy = m.xy + dx * m.y + dy * m.x + dx * dy * m.count;
            moved.x = m.x + dx * m.count;
            moved.y = m.y + dy * m.count;
            if (part == u"成品") {
                Moments &p = out.products[parts[k]];
                p.add(moved.count, moved.x, moved.y, moved.xx, moved.yy, moved.xy);
            } else if (part != u"废料") {
                if (sizes[part] != parts[k])
                    fail("a part not of its kind's size", n);
                pieces[part].add(moved.count, moved.x, moved.y, moved.xx, moved.yy, moved.xy);
            }
        }
    }
    if (!pieces.empty())
        fail("pieces left to cut", lines.size());
    return out;
}

// The layout's products as the diagram draws them: by size, moments of their corners.
std::map<std::pair<Length, Length>, Moments> productsOf(const Result &r, const Layout &layout)
{
    std::map<std::pair<Length, Length>, Moments> out;
    const Sheet &s = r.sheet;
    for (const Box &b : layout.blocks) {
        const Length w = b.turned ? s.trimWidth : s.trimLength;
        const Length h = b.turned ? s.trimLength : s.trimWidth;
        const Length px = b.turned ? s.pitchWidth : s.pitchLength;
        const Length py = b.turned ? s.pitchLength : s.pitchWidth;
        Moments &m = out[{w, h}];
        const Wide rows = b.rows, cols = b.cols;
        // Σ over i < n of i and of i², and the corners x0 + i px, y0 + j py.
        const auto s1 = [](Wide n) { return n * (n - 1) / 2; };
        const auto s2 = [](Wide n) { return (n - 1) * n * (2 * n - 1) / 6; };
        const Wide sx = cols * b.x + px * s1(cols), sy = rows * b.y + py * s1(rows);
        const Wide sxx = cols * b.x * b.x + 2 * b.x * px * s1(cols) + px * px * s2(cols);
        const Wide syy = rows * b.y * b.y + 2 * b.y * py * s1(rows) + py * py * s2(rows);
        m.add(rows * cols, rows * sx, cols * sy, rows * sxx, cols * syy, sx * sy);
    }
    return out;
}

Input mm(int sheetW, int sheetL, int w, int l, Length bleed = 0, Length gap = 0, Length gripper = 0,
         Length margin = 0, Method method = Method::Sheetwise, Lock lock = Lock::None)
{
    return {sheetW * 100, sheetL * 100, w * 100, l * 100, bleed,
            gap,          gripper,      margin,  method,  lock};
}

// The plan of every layout of `in` replays to its products; the strokes of the best.
std::size_t expectPlanned(const Input &in, LayoutKind kind = LayoutKind::Best)
{
    const Result r = plan(in);
    const Layout &layout = r.layout(kind);
    const CutPlan cuts = cutPlan(r.sheet, layout);
    if (layout.ups == 0) {
        EXPECT_TRUE(cuts.strokes.empty());
        return 0;
    }
    const Replayed replayed = replay(cutSteps(cuts), r.sheet.length, r.sheet.width);
    EXPECT_EQ(replayed.fault, "");
    EXPECT_TRUE(replayed.products == productsOf(r, layout)) << int(kind);
    return cuts.strokes.size();
}

// A grid of R x C products: the rows halved (or all but one taken off), then a row's
// columns the same way; each level a cut, and a second for the gap where products are apart.
TEST(CutPlan, AGridIsHalvedLevelByLevel)
{
    struct Case
    {
        Input in;
        std::size_t strokes;
    };
    const Case cases[] = {
        // 4 x 4 with no waste: 4 rows to 2 + 2 to 1 + 1, then a row's 4 columns alike.
        {mm(400, 400, 100, 100), 4},
        // With waste at the bottom and the right: two trims more.
        {mm(402, 401, 100, 100), 6},
        // 3 mm bleed: the four edges trimmed, and every parting takes two cuts.
        {mm(424, 424, 100, 100, 300), 12},
        // Five rows: 4 + 1, 2 + 2, 1 + 1; one column.
        {mm(500, 100, 100, 100), 3},
    };
    for (const Case &c : cases)
        EXPECT_EQ(expectPlanned(c.in), c.strokes) << c.in.sheet1 << " x " << c.in.sheet2;
    // The worked text of a 2 x 2 grid with nothing else on the sheet.
    const Result r = plan(mm(200, 200, 100, 100));
    EXPECT_EQ(cutSteps(cutPlan(r.sheet, r.layout(LayoutKind::Best))),
              (std::vector<std::u16string>{u"A 200 × 200，B 200 × 100",
                                           u"第 1 刀：A ×1，距上边 100 横切，得 B 和 B",
                                           u"第 2 刀：B ×2，距左边 100 竖切，得 成品 和 成品"}));
}

TEST(CutPlan, TradeCasesReplayToTheirProducts)
{
    for (const Length bleed : {Length(0), Length(300)})
        for (const cases::MmSize s : cases::TradeSheets)
            for (const cases::MmSize p : cases::TradeProducts) {
                SCOPED_TRACE(testing::Message() << s.width << " x " << s.length << " / " << p.width
                                                << " x " << p.length << " bleed " << bleed);
                const Input in = mm(s.width, s.length, p.width, p.length, bleed);
                expectPlanned(in);
                expectPlanned(in, LayoutKind::Mixed);
            }
}

TEST(CutPlan, WorstCasesReplayToTheirProducts)
{
    for (const cases::PlannerCase &c : cases::WorstPlannerCases) {
        SCOPED_TRACE(c.name);
        for (std::size_t kind = 0; kind < LayoutKinds; ++kind)
            expectPlanned(c.input, LayoutKind(kind));
    }
}

TEST(CutPlan, RandomCasesReplayToTheirProducts)
{
    std::mt19937_64 random(20261209);
    const auto pick = [&](Length lo, Length hi) {
        return std::uniform_int_distribution<Length>(lo, hi)(random);
    };
    for (int i = 0; i < 1000; ++i) {
        const Input in{pick(10'000, 150'000), pick(10'000, 150'000),      pick(500, 40'000),
                       pick(500, 40'000),     pick(0, 1) * pick(0, 500),  pick(0, 1) * pick(0, 300),
                       pick(0, 3000),         pick(0, 1) * pick(0, 2000), Method(pick(0, 2)),
                       Lock(pick(0, 2))};
        SCOPED_TRACE(i);
        for (std::size_t kind = 0; kind < LayoutKinds; ++kind)
            if (!plan(in).layouts[kind].ruledOut)
                expectPlanned(in, LayoutKind(kind));
    }
}

// Pieces are known by their products, not by how the layout's blocks happened to describe
// them: the same products given as one block or as several, in any order, give the same plan.
TEST(CutPlan, TheSameProductsInOtherBlocksGiveTheSamePlan)
{
    struct Case
    {
        const char *name;
        Input in;
        std::vector<std::vector<Box>> layouts; // each the same products
    };
    // 4 x 4 squares of 100 mm with 3 mm bleed: a pitch of 106 mm from the trimmed corner at 3.
    constexpr Length P = 10'600, C = 300;
    // 150 x 100 mm on 600 x 600: 3 rows of 4 flat above 2 rows of 6 turned, no waste.
    constexpr Length Flat = 10'000, Turned = 15'000, Wide = 15'000, Narrow = 10'000;
    const Case cases[] = {
        {"a grid",
         mm(424, 424, 100, 100, 300),
         {{{4, 4, false, C, C}},
          {{2, 4, false, C, C}, {2, 4, false, C, C + 2 * P}},
          {{4, 2, false, C + 2 * P, C}, {4, 2, false, C, C}},
          {{1, 4, false, C, C}, {3, 1, false, C, C + P}, {3, 3, false, C + P, C + P}},
          {{2, 2, false, C + 2 * P, C + 2 * P},
           {2, 2, false, C, C},
           {2, 2, false, C + 2 * P, C},
           {2, 2, false, C, C + 2 * P}},
          {{1, 1, false, C + 3 * P, C + 3 * P}, {3, 4, false, C, C}, {1, 3, false, C, C + 3 * P}}}},
        {"flat above turned",
         mm(600, 600, 100, 150),
         {{{3, 4, false, 0, 0}, {2, 6, true, 0, 3 * Flat}},
          {{2, 6, true, 0, 3 * Flat}, {1, 4, false, 0, 2 * Flat}, {2, 4, false, 0, 0}},
          {{2, 2, true, 4 * Narrow, 3 * Flat},
           {3, 2, false, 2 * Wide, 0},
           {2, 4, true, 0, 3 * Flat},
           {3, 2, false, 0, 0}},
          {{1, 6, true, 0, 3 * Flat},
           {1, 6, true, 0, 3 * Flat + Turned},
           {3, 1, false, 0, 0},
           {3, 3, false, Wide, 0}}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Sheet sheet = sheetOf(c.in);
        std::vector<CutPlan> plans;
        for (const std::vector<Box> &blocks : c.layouts) {
            Layout layout{false, 0, blocks};
            for (const Box &b : blocks)
                layout.ups += b.rows * b.cols;
            plans.push_back(cutPlan(sheet, layout));
        }
        for (std::size_t i = 1; i < plans.size(); ++i) {
            EXPECT_EQ(cutSteps(plans[i]), cutSteps(plans[0])) << "layout " << i;
            EXPECT_TRUE(plans[i].strokes == plans[0].strokes) << "layout " << i;
        }
        EXPECT_FALSE(plans[0].strokes.empty());
    }
}

TEST(CutPlan, KindNames)
{
    EXPECT_EQ(kindName(0), u"A");
    EXPECT_EQ(kindName(25), u"Z");
    EXPECT_EQ(kindName(26), u"AA");
    EXPECT_EQ(kindName(27), u"AB");
    EXPECT_EQ(kindName(26 + 26 * 26), u"AAA");
}

} // namespace
} // namespace korvane::planner
