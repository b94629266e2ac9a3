#pragma once

// A drawing in device pixels: the one rasteriser behind every picture of a diagram, on
// screen at any dots per inch and in the pictures handed on.

#include "common/panel.h"

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

// The pixels one block of cells covers on a picture `width` by `height` device pixels
// drawn at `pixelsPerTwip`: each line one device pixel wide, a line at twips t in the pixel
// holding t (coordinates taken in single precision). Lines beyond the far edges are
// clamped into the last row and column, so the outline of a block that fills the sheet
// stays visible. Where the cells are narrower than a pixel the lines would merge anyway,
// and the block comes back as one solid rectangle. An empty block covers nothing.
std::vector<PixelRect> gridPixels(const GridBlock &block, double pixelsPerTwip, int width,
                                  int height);

// Whether the lines of a block lie closer than one device unit apart at `unitsPerTwip`
// device units to the twip: they would merge anyway, and a vector picture draws the block
// as one solid band, as gridPixels does for pixels.
bool linesMerge(const GridBlock &block, double unitsPerTwip);

// A drawing at `dpi` dots per inch: its size in device pixels, each side rounded once from
// twips and at least one pixel, so that a sheet of extreme proportions still shows as a
// line; and the pixels its ink covers, block by block. Everything else is paper.
struct Raster
{
    int width = 0;
    int height = 0;
    std::vector<PixelRect> ink;
};
Raster rasterise(const Drawing &drawing, int dpi);

} // namespace korvane
