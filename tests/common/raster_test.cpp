#include "common/raster.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

// Sheet 1000 x 500, product 250 x 125: the box is 3135 x 1567.5 twips, cells 783.75 x
// 391.875, and a 4 x 4 block tiles the whole sheet.
const GridBlock Tiled{4, 4, 0, 0, 783.75, 391.875};

std::vector<PixelRect> rows(std::initializer_list<int> ys, int left, int width)
{
    std::vector<PixelRect> out;
    for (int y : ys)
        out.push_back({left, y, width, 1});
    return out;
}

std::vector<PixelRect> cols(std::initializer_list<int> xs, int top, int height)
{
    std::vector<PixelRect> out;
    for (int x : xs)
        out.push_back({x, top, 1, height});
    return out;
}

std::vector<PixelRect> join(std::vector<PixelRect> a, const std::vector<PixelRect> &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(GridPixels, LinesFallInThePixelHoldingThem)
{
    struct Case
    {
        const char *name;
        GridBlock block;
        double scale;
        int width, height;
        std::vector<PixelRect> pixels;
    };
    const Case cases[] = {
        // Lines at 0, 783.75, 1567.5, 2351.25 and 3135 twips across; the far edges are
        // clamped into the last column and row.
        {"tiled at 96 dpi", Tiled, 1.0 / 15, 209, 105,
         join(rows({0, 26, 52, 78, 104}, 0, 209), cols({0, 52, 104, 156, 208}, 0, 105))},
        {"tiled at twice the pixels", Tiled, 2.0 / 15, 418, 210,
         join(rows({0, 52, 104, 156, 209}, 0, 418), cols({0, 104, 209, 313, 417}, 0, 210))},
        // A turned block of one cell beside another: it starts at its own left edge.
        {"one cell",
         {1, 1, 783.75, 0, 391.875, 783.75},
         1.0 / 15,
         209,
         105,
         join(rows({0, 52}, 52, 27), cols({52, 78}, 0, 53))},
        {"no rows", {0, 3, 0, 0, 10, 10}, 1.0 / 15, 209, 105, {}},
        {"no columns", {3, 0, 0, 0, 10, 10}, 1.0 / 15, 209, 105, {}},
        // Cells narrower than a pixel: the lines merge into the block's area.
        {"dense",
         {46340, 46340, 0, 0, 3135.0 / 46340, 2415.0 / 46340},
         1.0 / 15,
         209,
         161,
         {{0, 0, 209, 161}}},
        // Boxes 150 twips wide and 150 apart, 10 pixels each and 10 between, a row of two:
        // each box its own edges; boxes closer than two pixels are one band.
        {"boxed",
         {1, 2, 150, 150, 150, 150, 150, 75},
         1.0 / 15,
         100,
         100,
         {{10, 10, 11, 1},
          {30, 10, 11, 1},
          {10, 20, 11, 1},
          {30, 20, 11, 1},
          {10, 10, 1, 11},
          {20, 10, 1, 11},
          {30, 10, 1, 11},
          {40, 10, 1, 11}}},
        {"boxed close", {3, 3, 0, 0, 15, 150, 10, 0}, 1.0 / 15, 100, 100, {{0, 0, 5, 31}}},
        // Lines past the picture are not drawn, but the rows still reach its last column.
        {"beyond the box",
         {1, 10, 0, 0, 600, 100},
         1.0 / 15,
         209,
         105,
         join(rows({0, 6}, 0, 209), cols({0, 40, 80, 120, 160, 200}, 0, 7))},
    };
    for (const Case &c : cases)
        EXPECT_EQ(gridPixels(c.block, c.scale, c.width, c.height), c.pixels) << c.name;
}

// Numbers of marks in a drawing 3000 x 2000 twips, digits 100 x 120: where each goes, and
// that none covers another.
TEST(NumberPlaces, BesideTheMiddleUnlessTaken)
{
    struct Case
    {
        const char *name;
        std::vector<Mark> marks;
        std::vector<std::pair<double, double>> corners;
    };
    const Case cases[] = {
        {"one across: below its middle", {{0, 1000, 3000, 1000, 7}}, {{1530, 1030}}},
        {"one down: right of its middle", {{1000, 0, 1000, 2000, 7}}, {{1030, 1030}}},
        {"two down 90 apart: the second moves down",
         {{1000, 0, 1000, 2000, 12}, {1090, 0, 1090, 2000, 13}},
         {{1030, 1030}, {1120, 1180}}},
        {"two across on a short mark: the second goes above",
         {{0, 1000, 260, 1000, 10}, {0, 950, 260, 950, 11}},
         {{160, 1030}, {160, 800}}},
        {"no place free: left beside the middle",
         {{0, 1000, 260, 1000, 10}, {0, 1100, 260, 1100, 11}},
         {{160, 1030}, {160, 1130}}},
        {"at the far corner: kept inside", {{2990, 1990, 3000, 1990, 123}}, {{2700, 1880}}},
        {"unnumbered marks take no place", {{0, 1000, 3000, 1000, 0}}, {}},
    };
    for (const Case &c : cases) {
        Drawing drawing{"d", 3000, 2000, {}, c.marks};
        const auto places = numberPlaces(drawing, 100, 120);
        ASSERT_EQ(places.size(), c.corners.size()) << c.name;
        for (std::size_t i = 0; i < places.size(); ++i) {
            EXPECT_DOUBLE_EQ(places[i].x, c.corners[i].first) << c.name << " " << i;
            EXPECT_DOUBLE_EQ(places[i].y, c.corners[i].second) << c.name << " " << i;
        }
    }
}

} // namespace
} // namespace korvane
