#pragma once

// A drawing in device pixels: the one rasteriser behind every picture of a diagram, on
// screen at any dots per inch and in the pictures handed on.

#include "common/panel.h"

#include <cstdint>
#include <vector>

namespace korvane {

// A rectangle of device pixels: x and y of its top-left pixel, its width and height.
struct PixelRect
{
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool operator==(const PixelRect &) const = default;
};

// Calls `line(x1, y1, x2, y2)` for every line of a block, in twips: its rows + 1 horizontal
// lines from top to bottom, then its cols + 1 vertical lines from left to right, as the
// diagram draws them; boxed cells row by row, the top and bottom edges of each, then column
// by column, the left and right edges. An empty block has none.
template <typename Line> void forEachLine(const GridBlock &block, Line &&line)
{
    if (block.rows <= 0 || block.cols <= 0)
        return;
    if (block.boxed()) {
        const double pitchX = block.cellWidth + block.gapX;
        const double pitchY = block.cellHeight + block.gapY;
        for (std::int64_t i = 0; i < block.rows; ++i)
            for (double edge : {0.0, block.cellHeight})
                for (std::int64_t j = 0; j < block.cols; ++j) {
                    const double x = block.x + double(j) * pitchX;
                    const double y = block.y + double(i) * pitchY + edge;
                    line(x, y, x + block.cellWidth, y);
                }
        for (std::int64_t j = 0; j < block.cols; ++j)
            for (double edge : {0.0, block.cellWidth})
                for (std::int64_t i = 0; i < block.rows; ++i) {
                    const double x = block.x + double(j) * pitchX + edge;
                    const double y = block.y + double(i) * pitchY;
                    line(x, y, x, y + block.cellHeight);
                }
        return;
    }
    const double right = block.x + block.width();
    const double bottom = block.y + block.height();
    for (std::int64_t i = 0; i <= block.rows; ++i) {
        const double y = block.y + double(i) * block.cellHeight;
        line(block.x, y, right, y);
    }
    for (std::int64_t i = 0; i <= block.cols; ++i) {
        const double x = block.x + double(i) * block.cellWidth;
        line(x, block.y, x, bottom);
    }
}

// The pixels one block of cells covers on a picture `width` by `height` device pixels
// drawn at `pixelsPerTwip`: each line one device pixel wide, a line at twips t in the pixel
// holding t (coordinates taken in single precision). Lines beyond the far edges are
// clamped into the last row and column, so the outline of a block that fills the sheet
// stays visible. Where the cells are narrower than a pixel the lines would merge anyway,
// and the block comes back as one solid rectangle. An empty block covers nothing.
std::vector<PixelRect> gridPixels(const GridBlock &block, double pixelsPerTwip, int width,
                                  int height);

// Whether the lines of a block lie closer than one device unit apart at `unitsPerTwip`
// device units to the twip (boxed cells: boxes closer than two units): they would merge
// anyway, and a vector picture draws the block as one solid band, as gridPixels does for
// pixels.
bool linesMerge(const GridBlock &block, double unitsPerTwip);

// Where the numbers of a drawing's marks go, in twips: the top left of each, a quarter of
// its height from the middle of its mark (below a line across, right of one down); where
// that would come within that quarter of a number placed before it, moved along its mark,
// or else along its other side, and left where it was only when no place is free. `digit` is a
// digit's advance and `height` a number's height, in twips; each number stays inside the drawing.
struct NumberPlace
{
    double x = 0, y = 0;
    int number = 0;
};
std::vector<NumberPlace> numberPlaces(const Drawing &drawing, double digit, double height);

// A drawing at `dpi` dots per inch: its size in device pixels, each side rounded once from
// twips and at least one pixel, so that a sheet of extreme proportions still shows as a
// line; and the pixels its ink covers, block by block. Everything else is paper.
// The marks are one device pixel wide too, over the ink in the highlight colour, each number
// in a face of digits five pixels wide and seven high at 96 dpi (larger in whole steps at
// higher ones) where numberPlaces puts it.
struct Raster
{
    int width = 0;
    int height = 0;
    std::vector<PixelRect> ink;
    std::vector<PixelRect> marks = {};
};
Raster rasterise(const Drawing &drawing, int dpi);

// A raster's pixels: `pixels` holds its rows from the top, `stride` values apart, of which the
// first `width` are the picture's, paper where no ink or mark covers them.
void fillPixels(const Raster &raster, std::uint32_t paper, std::uint32_t ink, std::uint32_t *pixels,
                std::size_t stride, std::uint32_t highlight = 0);

} // namespace korvane
