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

} // namespace
} // namespace korvane
