#include "common/raster.h"

#include <algorithm>
#include <cmath>

namespace korvane {
namespace {

// The device pixel holding a coordinate in twips, clamped into [0, extent - 1].
int devicePixel(double twips, double scale, int extent)
{
    const double px = std::floor(static_cast<float>(twips) * scale);
    return static_cast<int>(std::clamp(px, 0.0, static_cast<double>(std::max(0, extent - 1))));
}

// The pixel positions of the lines at start, start + step, ... (count + 1 of them) that
// fall on the picture; false when they are denser than the pixels.
bool linePositions(std::int64_t count, double start, double step, double scale, int extent,
                   std::vector<int> &out)
{
    if (step * scale < 1.0)
        return false;
    const double limit = extent / scale;
    for (std::int64_t i = 0; i <= count; ++i) {
        const double at = start + static_cast<double>(i) * step;
        if (at > limit)
            break;
        out.push_back(devicePixel(at, scale, extent));
    }
    return true;
}

} // namespace

std::vector<PixelRect> gridPixels(const GridBlock &block, double pixelsPerTwip, int width,
                                  int height)
{
    if (block.rows <= 0 || block.cols <= 0 || width <= 0 || height <= 0)
        return {};
    const double scale = pixelsPerTwip;
    const int left = devicePixel(block.x, scale, width);
    const int top = devicePixel(block.y, scale, height);
    const int right = devicePixel(block.x + block.width(), scale, width);
    const int bottom = devicePixel(block.y + block.height(), scale, height);
    const PixelRect band{left, top, right - left + 1, bottom - top + 1};
    if (block.boxed()) {
        if (linesMerge(block, scale))
            return {band};
        // Each box's four edges, one pixel wide, as the lines give them.
        std::vector<PixelRect> pixels;
        forEachLine(block, [&](double x1, double y1, double x2, double y2) {
            const int px1 = devicePixel(x1, scale, width);
            const int py1 = devicePixel(y1, scale, height);
            pixels.push_back({px1, py1, devicePixel(x2, scale, width) - px1 + 1,
                              devicePixel(y2, scale, height) - py1 + 1});
        });
        return pixels;
    }

    std::vector<int> rows;
    std::vector<int> cols;
    if (!linePositions(block.rows, block.y, block.cellHeight, scale, height, rows) ||
        !linePositions(block.cols, block.x, block.cellWidth, scale, width, cols))
        return {band};
    std::vector<PixelRect> pixels;
    pixels.reserve(rows.size() + cols.size());
    for (int y : rows)
        pixels.push_back({left, y, band.width, 1});
    for (int x : cols)
        pixels.push_back({x, top, 1, band.height});
    return pixels;
}

bool linesMerge(const GridBlock &block, double unitsPerTwip)
{
    // Boxes closer than two units apart show as a hatch of edges, not as boxes.
    const double closest = block.boxed() ? 2.0 : 1.0;
    return (block.cellWidth + block.gapX) * unitsPerTwip < closest ||
           (block.cellHeight + block.gapY) * unitsPerTwip < closest;
}

Raster rasterise(const Drawing &drawing, int dpi)
{
    Raster raster{std::max(1, twipsToPixels(drawing.width, dpi)),
                  std::max(1, twipsToPixels(drawing.height, dpi)),
                  {}};
    const double pixelsPerTwip = double(dpi) / TwipsPerInch;
    for (const GridBlock &block : drawing.blocks) {
        const auto pixels = gridPixels(block, pixelsPerTwip, raster.width, raster.height);
        raster.ink.insert(raster.ink.end(), pixels.begin(), pixels.end());
    }
    return raster;
}

void fillPixels(const Raster &raster, std::uint32_t paper, std::uint32_t ink, std::uint32_t *pixels,
                std::size_t stride)
{
    for (int y = 0; y < raster.height; ++y)
        std::fill_n(pixels + std::size_t(y) * stride, raster.width, paper);
    for (const PixelRect &r : raster.ink)
        for (int y = r.y; y < r.y + r.height; ++y)
            std::fill_n(pixels + std::size_t(y) * stride + std::size_t(r.x), r.width, ink);
}

} // namespace korvane
