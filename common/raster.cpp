#include "common/raster.h"

#include <algorithm>
#include <cmath>
#include <string>

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

// The digits 0 to 9, seven rows of five pixels each, the leftmost pixel the highest bit.
constexpr std::uint8_t Digits[10][7] = {{14, 17, 19, 21, 25, 17, 14}, {4, 12, 4, 4, 4, 4, 14},
                                        {14, 17, 1, 2, 4, 8, 31},     {31, 2, 4, 2, 1, 17, 14},
                                        {2, 6, 10, 18, 31, 2, 2},     {31, 16, 30, 1, 1, 17, 14},
                                        {6, 8, 16, 30, 17, 17, 14},   {31, 1, 2, 4, 8, 8, 8},
                                        {14, 17, 17, 14, 17, 17, 14}, {14, 17, 17, 15, 1, 2, 12}};

// `number` in the face of digits, `scale` pixels a dot, its top left at (x, y).
void writeNumber(Raster &raster, int number, int x, int y, int scale)
{
    for (const char digit : std::to_string(number)) {
        for (int row = 0; row < 7; ++row)
            for (int col = 0; col < 5; ++col)
                if (Digits[digit - '0'][row] >> (4 - col) & 1)
                    raster.marks.push_back({x + col * scale, y + row * scale, scale, scale});
        x += 6 * scale;
    }
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

std::vector<NumberPlace> numberPlaces(const Drawing &drawing, double digit, double height)
{
    struct Box
    {
        double left, top, right, bottom;
    };
    std::vector<Box> taken;
    std::vector<NumberPlace> places;
    const double gap = height / 4;
    const auto fits = [&](const Box &box) {
        for (const Box &other : taken)
            if (box.left < other.right + gap && other.left < box.right + gap &&
                box.top < other.bottom + gap && other.top < box.bottom + gap)
                return false;
        return true;
    };
    // At most this many steps along a mark each way: a number has a few neighbours at most.
    constexpr int Steps = 8;
    for (const Mark &mark : drawing.marks) {
        if (mark.number <= 0)
            continue;
        const double width = digit * double(std::to_string(mark.number).size());
        const bool across = mark.y1 == mark.y2;
        const double step = across ? width + gap : height + gap;
        // Moved, a number stays beside its mark.
        const auto alongside = [&](const Box &box) {
            return across ? box.left >= mark.x1 && box.right <= mark.x2
                          : box.top >= mark.y1 && box.bottom <= mark.y2;
        };
        const double middleX = (mark.x1 + mark.x2) / 2 + gap;
        const double middleY = (mark.y1 + mark.y2) / 2 + gap;
        const auto boxAt = [&](int offset, bool before) {
            double x = across ? middleX + offset * step : before ? mark.x1 - gap - width : middleX;
            double y = across ? before ? mark.y1 - gap - height : middleY : middleY + offset * step;
            x = std::clamp(x, 0.0, std::max(0.0, drawing.width - width));
            y = std::clamp(y, 0.0, std::max(0.0, drawing.height - height));
            return Box{x, y, x + width, y + height};
        };
        Box chosen = boxAt(0, false);
        bool found = false;
        for (const bool before : {false, true})
            for (int i = 0; i <= 2 * Steps && !found; ++i) {
                const int offset = (i + 1) / 2 * (i % 2 ? 1 : -1);
                if (const Box box = boxAt(offset, before);
                    (offset == 0 || alongside(box)) && fits(box)) {
                    chosen = box;
                    found = true;
                }
            }
        taken.push_back(chosen);
        places.push_back({chosen.left, chosen.top, mark.number});
    }
    return places;
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
    for (const Mark &mark : drawing.marks) {
        const int x1 = devicePixel(mark.x1, pixelsPerTwip, raster.width);
        const int y1 = devicePixel(mark.y1, pixelsPerTwip, raster.height);
        raster.marks.push_back({x1, y1, devicePixel(mark.x2, pixelsPerTwip, raster.width) - x1 + 1,
                                devicePixel(mark.y2, pixelsPerTwip, raster.height) - y1 + 1});
    }
    const int scale = std::max(1, (dpi + 48) / 96);
    for (const NumberPlace &place :
         numberPlaces(drawing, 6 * scale / pixelsPerTwip, 7 * scale / pixelsPerTwip))
        writeNumber(raster, place.number, int(std::floor(place.x * pixelsPerTwip)),
                    int(std::floor(place.y * pixelsPerTwip)), scale);
    return raster;
}

void fillPixels(const Raster &raster, std::uint32_t paper, std::uint32_t ink, std::uint32_t *pixels,
                std::size_t stride, std::uint32_t highlight)
{
    for (int y = 0; y < raster.height; ++y)
        std::fill_n(pixels + std::size_t(y) * stride, raster.width, paper);
    for (const auto &[rects, colour] : {std::pair{&raster.ink, ink}, {&raster.marks, highlight}})
        for (const PixelRect &r : *rects)
            for (int y = std::max(r.y, 0); y < std::min(r.y + r.height, raster.height); ++y) {
                const int from = std::max(r.x, 0);
                const int to = std::min(r.x + r.width, raster.width);
                if (to > from)
                    std::fill_n(pixels + std::size_t(y) * stride + std::size_t(from), to - from,
                                colour);
            }
}

} // namespace korvane
