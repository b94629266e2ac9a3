// The paper a job needs and its quote: the trade's worked cases, and the edges of each rule.
#include "imposition/quote.h"

#include <gtest/gtest.h>

namespace korvane::planner {
namespace {

using imposition::Method;

Length mm(int millimetres)
{
    return millimetres * 100;
}

// The best layout's ups of a product on a press sheet, no bleed, gap, gripper or margin.
std::int64_t bestUps(int sheet1, int sheet2, int product1, int product2, Method method)
{
    const Input in{mm(sheet1), mm(sheet2), mm(product1), mm(product2), 0, 0, 0, 0, method};
    return plan(in).layout(LayoutKind::Best).ups;
}

TEST(Cutting, PiecesAndTheStockWithLeastPaper)
{
    // 正度对开 from 正度, 大度对开 from 大度, either way round.
    EXPECT_EQ(piecesFrom(mm(787), mm(1092), mm(546), mm(787)), 2);
    EXPECT_EQ(piecesFrom(mm(1194), mm(889), mm(889), mm(597)), 2);
    EXPECT_EQ(piecesFrom(mm(787), mm(1092), mm(393), mm(546)), 4);
    EXPECT_EQ(piecesFrom(mm(500), mm(500), mm(501), mm(100)), 0);
    EXPECT_EQ(piecesFrom(mm(787), mm(1092), 0, mm(100)), 0);
    struct Case
    {
        int side1, side2;
        int stock;
        Length width, length;
        std::int64_t pieces;
    };
    const Case cases[] = {
        {546, 787, 0, mm(787), mm(1092), 2},
        // 正度 holds two of 444 x 597, 大度 four: less paper each.
        {444, 597, 1, mm(889), mm(1194), 4},
        // 787 x 1092 is 正度 whole, the earlier of the stocks that hold it once.
        {1092, 787, 0, mm(787), mm(1092), 1},
        // Larger than every stock: its own full sheet.
        {1000, 1300, OwnSheet, mm(1000), mm(1300), 1},
    };
    for (const Case &c : cases) {
        const Cutting best = bestCutting(mm(c.side1), mm(c.side2));
        EXPECT_EQ(best.stock, c.stock) << c.side1 << " x " << c.side2;
        EXPECT_EQ(best.width, c.width);
        EXPECT_EQ(best.length, c.length);
        EXPECT_EQ(best.pieces, c.pieces);
    }
}

TEST(Paper, ExactFigures)
{
    const Cutting whole{OwnSheet, 78'700, 109'200, 1};
    const Cutting halves{0, 78'700, 109'200, 2};
    const Cutting square{OwnSheet, 100'000, 100'000, 1};
    const Cutting largest{OwnSheet, 500'000, 500'000, 1};
    struct Case
    {
        std::int64_t ups;
        Order order;
        Cutting cutting;
        std::int64_t makeReady;
        std::optional<Paper> paper;
    };
    const Case cases[] = {
        {11, {5000, 0, 8000}, whole, 0, Paper{455, 0, 0, 455, 455, 313}},
        // 5000 / 10 exactly; 3 % of 500 is 15 sheets.
        {10, {5000, 300, 8000}, whole, 0, Paper{500, 15, 0, 515, 515, 354}},
        // 0.1 % of 455 is 0.455 of a sheet: a whole one; 456 halves are 228 full sheets.
        {11, {5000, 10, 8000}, halves, 0, Paper{455, 1, 0, 456, 228, 157}},
        // An odd number of press sheets takes one full sheet more.
        {11, {5000, 10, 8000}, halves, 1, Paper{455, 1, 1, 457, 229, 157}},
        // One square metre at 10 g/m²: 5 sheets weigh 0.05 kg, shown as 0.1.
        {1, {5, 0, 1000}, square, 0, Paper{5, 0, 0, 5, 5, 1}},
        {1, {4, 0, 1000}, square, 0, Paper{4, 0, 0, 4, 4, 0}},
        // The largest figures: 2e8 sheets of 25 m² at 1000 g/m² are 5e9 kg.
        {1,
         {MaxCopies, MaxAllowance, MaxGrammage},
         largest,
         80'000,
         Paper{100'000'000, 100'000'000, 80'000, 200'080'000, 200'080'000, 50'020'000'000}},
        // No press sheet from this stock: press sheets, but no full sheets.
        {11,
         {5000, 0, 8000},
         Cutting{CustomStock, 50'000, 50'000, 0},
         0,
         Paper{455, 0, 0, 455, 0, 0}},
        {0, {5000, 0, 8000}, whole, 0, std::nullopt},
        {11, {5000, -1, 8000}, whole, 0, std::nullopt},
        {11, {5000, 0, 8000}, Cutting{CustomStock, 0, 109'200, 1}, 0, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(paper(c.ups, c.order, c.cutting, c.makeReady), c.paper)
            << c.ups << " ups, " << c.order.copies << " copies";
}

// A4 on 正度对开 546 x 787 (two from 正度 787 x 1092), 5000 copies of 4 + 4 colours at 157 g:
// paper at 7800 元 a tonne, press time 30 元 a colour and thousand, 100 元 a plate.
TEST(Quote, TheWorkedCases)
{
    const Cutting cutting = bestCutting(mm(546), mm(787));
    ASSERT_EQ(cutting.pieces, 2);
    const Order order{5000, 0, 15'700};
    const Prices prices{780'000, 3'000, 10'000, 0, 4, 4, 0};
    const std::int64_t sheetwise = bestUps(546, 787, 210, 297, Method::Sheetwise);
    const std::int64_t turn = bestUps(546, 787, 210, 297, Method::WorkAndTurn);
    ASSERT_EQ(sheetwise, 5);
    ASSERT_EQ(turn, 4);
    struct Case
    {
        Method method;
        std::int64_t ups, allowance, makeReady;
        Quote quote;
    };
    const Case cases[] = {
        {Method::Sheetwise,
         sheetwise,
         0,
         0,
         {5, 8, {1000, 0, 0, 1000, 500, 675}, 52'621, 80'000, 24'000, 156'621, 3132}},
        {Method::WorkAndTurn,
         turn,
         0,
         0,
         {4, 4, {1250, 0, 0, 1250, 625, 843}, 65'777, 40'000, 30'000, 135'777, 2716}},
        {Method::Sheetwise,
         sheetwise,
         300,
         50,
         {5, 8, {1000, 30, 400, 1430, 715, 965}, 75'248, 80'000, 34'320, 189'568, 3791}},
        {Method::WorkAndTurn,
         turn,
         300,
         50,
         {4, 4, {1250, 38, 200, 1488, 744, 1004}, 78'301, 40'000, 35'712, 154'013, 3080}},
    };
    for (const Case &c : cases) {
        Order o = order;
        o.allowance = c.allowance;
        Prices p = prices;
        p.makeReadyPerPlate = c.makeReady;
        EXPECT_EQ(quote(c.method, c.ups, o, cutting, p), c.quote)
            << int(c.method) << " " << c.allowance;
    }
}

// The trade's own examples: 500,000 copies of 大16开 on 大度对开, 4 + 4 at 22 元 (the trade
// writes 500000 ÷ 16 ÷ 500 × 22 × 8); and 20,000 copies, 10 % more, on 大度 whole at 157 g
// and 7800 元 (the trade's rounded 1.06 m² gives 1784.75).
TEST(Quote, TheTradesExamples)
{
    const Cutting halves = bestCutting(mm(597), mm(889));
    ASSERT_EQ(halves.stock, 1);
    ASSERT_EQ(halves.pieces, 2);
    const std::int64_t ups = bestUps(597, 889, 210, 285, Method::Sheetwise);
    ASSERT_EQ(ups, 8);
    const auto press =
        quote(Method::Sheetwise, ups, {500'000, 0, 15'700}, halves, {0, 2'200, 0, 0, 4, 4, 0});
    ASSERT_TRUE(press);
    EXPECT_EQ(press->paper.sheets, 62'500);
    EXPECT_EQ(press->pressCost, 1'100'000);

    const Cutting whole = cuttingOf(1, mm(889), mm(1194), mm(889), mm(1194));
    const std::int64_t wholeUps = bestUps(889, 1194, 210, 285, Method::Sheetwise);
    const auto paperOnly = quote(Method::Sheetwise, wholeUps, {20'000, 1000, 15'700}, whole,
                                 {780'000, 0, 0, 0, 4, 4, 0});
    ASSERT_TRUE(paperOnly);
    EXPECT_EQ(paperOnly->paper.sheets, 1375);
    EXPECT_EQ(paperOnly->paper.fullSheets, 1375);
    EXPECT_EQ(paperOnly->paperCost, 178'732);
}

TEST(Quote, Edges)
{
    const Cutting whole{OwnSheet, 78'700, 109'200, 1};
    const Order order{1000, 0, 8000};
    // A back of other colours, or none: only sheetwise prints it.
    const Prices oneSide{0, 3'000, 10'000, 0, 4, 0, 0};
    EXPECT_FALSE(quote(Method::WorkAndTurn, 10, order, whole, oneSide));
    EXPECT_FALSE(quote(Method::WorkAndTumble, 10, order, whole, {0, 0, 0, 0, 4, 1, 0}));
    const auto single = quote(Method::Sheetwise, 10, order, whole, oneSide);
    ASSERT_TRUE(single);
    EXPECT_EQ(single->plates, 4);
    // 100 sheets x 4 colours x 30 元 / 1000 is 12 元; the least charge takes over.
    EXPECT_EQ(single->pressCost, 1'200);
    EXPECT_EQ(quote(Method::Sheetwise, 10, order, whole, {0, 3'000, 0, 50'000, 4, 0, 0})->pressCost,
              50'000);
    // A half of a 分 goes up: 1 sheet of 1 colour at 0.05 元 a thousand is 0.005 分, none; 100
    // sheets are 0.5 分, one.
    EXPECT_EQ(quote(Method::Sheetwise, 1000, order, whole, {0, 5, 0, 0, 1, 0, 0})->pressCost, 0);
    EXPECT_EQ(quote(Method::Sheetwise, 10, order, whole, {0, 5, 0, 0, 1, 0, 0})->pressCost, 1);
    // No pieces, no ups, prices out of range.
    EXPECT_FALSE(
        quote(Method::Sheetwise, 10, order, Cutting{CustomStock, 50'000, 50'000, 0}, oneSide));
    EXPECT_FALSE(quote(Method::Sheetwise, 0, order, whole, oneSide));
    EXPECT_FALSE(quote(Method::Sheetwise, 10, order, whole, {-1, 0, 0, 0, 4, 4, 0}));
    EXPECT_FALSE(quote(Method::Sheetwise, 10, order, whole, {0, 0, 0, 0, 0, 4, 0}));
    // The largest in range: 2e8 sheets of 25 m² at 1000 g/m² and 1,000,000 元 a tonne, 8 + 8
    // colours at 100,000 元 a thousand; nothing overflows.
    const auto largest = quote(Method::Sheetwise, 1, {MaxCopies, MaxAllowance, MaxGrammage},
                               {OwnSheet, 500'000, 500'000, 1},
                               {MaxPaperPrice, MaxPressPrice, MaxPlatePrice, MaxLeastPress,
                                MaxColours, MaxColours, MaxMakeReady});
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->paper.sheets, 200'160'000);
    EXPECT_EQ(largest->paperCost, 500'400'000'000'000);
    EXPECT_EQ(largest->pressCost, 32'025'600'000'000);
    EXPECT_EQ(largest->total, 500'400'000'000'000 + 160'000'000 + 32'025'600'000'000);
}

} // namespace
} // namespace korvane::planner
