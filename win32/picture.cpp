#include "win32/picture.h"

#include "common/numtext.h"
#include "common/raster.h"
#include "win32/text.h"

#include <algorithm>
#include <cmath>

namespace korvane::win32 {
namespace {

constexpr COLORREF Black = RGB(0, 0, 0);

// Lines handed to GDI at a time: one call per batch, however many lines a plan has.
constexpr std::size_t LinesPerCall = 4096;

int rounded(double value)
{
    return int(std::lround(value));
}

// The sheet as lines: each block's grid, or one solid band where its lines would merge. A
// line of a pen one device pixel wide ends one unit further on, so that it covers its end.
void drawLines(HDC dc, const Drawing &drawing, const DevicePlacement &p, const Typeface &face)
{
    const LOGBRUSH ink{BS_SOLID, Black, 0};
    const HPEN pen = p.lineWidth <= 0
                         ? CreatePen(PS_SOLID, 0, Black)
                         : ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_JOIN_MITER |
                                            (p.squareEnds ? PS_ENDCAP_SQUARE : PS_ENDCAP_FLAT),
                                        DWORD(p.lineWidth), &ink, 0, nullptr);
    const HBRUSH band = CreateSolidBrush(Black);
    const HGDIOBJ oldPen = SelectObject(dc, pen);
    const int end = p.lineWidth <= 0 ? 1 : 0;
    const auto x = [&](double twips) { return rounded(p.sheetLeft + twips * p.unitsPerTwipX); };
    const auto y = [&](double twips) { return rounded(p.sheetTop + twips * p.unitsPerTwipY); };

    std::vector<POINT> points;
    std::vector<DWORD> counts;
    const auto flush = [&] {
        if (!counts.empty())
            PolyPolyline(dc, points.data(), counts.data(), DWORD(counts.size()));
        points.clear();
        counts.clear();
    };
    const double unitsPerTwip = std::min(p.unitsPerTwipX, p.unitsPerTwipY);
    for (const GridBlock &block : drawing.blocks)
        forEachStroke(
            block, unitsPerTwip,
            [&](double x1, double y1, double x2, double y2) {
                const bool across = y1 == y2;
                points.push_back({x(x1), y(y1)});
                points.push_back({x(x2) + (across ? end : 0), y(y2) + (across ? 0 : end)});
                counts.push_back(2);
                if (counts.size() == LinesPerCall)
                    flush();
            },
            [&](double left, double top, double width, double height) {
                const RECT r{x(left), y(top), x(left + width) + end, y(top + height) + end};
                FillRect(dc, &r, band);
            });
    flush();
    // The marks over them, in their colour.
    const LOGBRUSH red{BS_SOLID, RGB(MarkColour.r, MarkColour.g, MarkColour.b), 0};
    const HPEN markPen = p.lineWidth <= 0 ? CreatePen(PS_SOLID, 0, red.lbColor)
                                          : ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT,
                                                         DWORD(p.lineWidth), &red, 0, nullptr);
    SelectObject(dc, markPen);
    for (const Mark &m : drawing.marks) {
        const POINT line[] = {{x(m.x1), y(m.y1)}, {x(m.x2) + end, y(m.y2) + end}};
        Polyline(dc, line, 2);
    }
    SelectObject(dc, oldPen);
    if (p.numberPixels > 0 && unitsPerTwip > 0) {
        const Font font = Font::ofPixels(face.face, p.numberPixels);
        const HGDIOBJ oldFont = SelectObject(dc, font.handle());
        SetTextColor(dc, red.lbColor);
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
        for (const NumberPlace &place :
             numberPlaces(drawing, p.numberPixels * DigitEms / unitsPerTwip,
                          p.numberPixels / unitsPerTwip)) {
            const std::wstring number = wide(formatCount(place.number));
            TextOutW(dc, x(place.x), y(place.y), number.c_str(), int(number.size()));
        }
        SelectObject(dc, oldFont);
    }
    DeleteObject(pen);
    DeleteObject(markPen);
    DeleteObject(band);
}

void drawText(HDC dc, const DevicePlacement &p, const Typeface &face)
{
    if (p.text.empty())
        return;
    const Font font = Font::ofPixels(face.face, p.fontPixels);
    const HGDIOBJ old = SelectObject(dc, font.handle());
    SetTextColor(dc, Black);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
    for (const TextLine &line : p.text) {
        const std::wstring text = wide(line.text);
        TextOutW(dc, line.left, line.top, text.c_str(), int(text.size()));
    }
    SelectObject(dc, old);
}

// A picture's paper and text, as layoutPicture lays them out: the lines below the sheet.
DevicePlacement picturePlacement(const PictureLayout &layout)
{
    DevicePlacement placement;
    placement.paper = {0, 0, layout.width, layout.height};
    placement.fontPixels = layout.fontPixels;
    placement.text = layout.lines;
    return placement;
}

} // namespace

BITMAPINFO topDownBitmap(int width, int height, WORD bitsPerPixel)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = bitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

TextWidth measuredOn(HDC dc, std::u16string_view face)
{
    return [dc, face = std::u16string(face)](std::u16string_view text, int pixels) {
        const Font font = Font::ofPixels(face, pixels);
        const HGDIOBJ old = SelectObject(dc, font.handle());
        SIZE size{};
        const std::wstring measured = wide(text);
        GetTextExtentPoint32W(dc, measured.c_str(), int(measured.size()), &size);
        SelectObject(dc, old);
        return double(size.cx);
    };
}

void drawDocument(HDC dc, const Document &document, const DevicePlacement &placement,
                  const Typeface &face)
{
    if (!IsRectEmpty(&placement.paper))
        FillRect(dc, &placement.paper, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    if (placement.raster) {
        const int left = rounded(placement.sheetLeft);
        const int top = rounded(placement.sheetTop);
        for (const PixelRect &r : placement.raster->ink)
            PatBlt(dc, left + r.x, top + r.y, r.width, r.height, BLACKNESS);
        const HBRUSH red = CreateSolidBrush(RGB(MarkColour.r, MarkColour.g, MarkColour.b));
        for (const PixelRect &r : placement.raster->marks) {
            const RECT at{left + r.x, top + r.y, left + r.x + r.width, top + r.y + r.height};
            FillRect(dc, &at, red);
        }
        DeleteObject(red);
    } else {
        drawLines(dc, document.drawing, placement, face);
    }
    drawText(dc, placement, face);
}

Picture renderPicture(const Document &document, const Typeface &face)
{
    Picture picture;
    const HDC dc = CreateCompatibleDC(nullptr);
    picture.layout = layoutPicture(document, face, measuredOn(dc, face.face));
    const PictureLayout &layout = picture.layout;
    const BITMAPINFO info = topDownBitmap(layout.width, layout.height, 24);
    void *bits = nullptr;
    const HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap && bits) {
        const HGDIOBJ old = SelectObject(dc, bitmap);
        DevicePlacement placement = picturePlacement(layout);
        placement.raster = &layout.sheet;
        drawDocument(dc, document, placement, face);
        GdiFlush();
        picture.stride = (layout.width * 3 + 3) & ~3;
        const auto *first = static_cast<const std::uint8_t *>(bits);
        picture.pixels.assign(first, first + std::size_t(picture.stride) * layout.height);
        SelectObject(dc, old);
    }
    if (bitmap)
        DeleteObject(bitmap);
    DeleteDC(dc);
    return picture;
}

HENHMETAFILE renderMetafile(const Document &document, const PictureLayout &layout,
                            const Typeface &face)
{
    const HDC screen = GetDC(nullptr);
    // The frame in hundredths of a millimetre: the picture's size at its resolution.
    const RECT frame{0, 0, MulDiv(layout.width, 2540, PictureLayout::Dpi),
                     MulDiv(layout.height, 2540, PictureLayout::Dpi)};
    const HDC dc = CreateEnhMetaFileW(screen, nullptr, &frame, nullptr);
    if (!dc) {
        ReleaseDC(nullptr, screen);
        return nullptr;
    }
    // Drawn in the picture's pixels, mapped onto the frame in the reference device's: the
    // frame's hundredths of a millimetre times the device's pixels per millimetre, kept as an
    // exact ratio so that a player fits the pixels to the frame again without a drift.
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, layout.width * GetDeviceCaps(screen, HORZSIZE) * 100,
                   layout.height * GetDeviceCaps(screen, VERTSIZE) * 100, nullptr);
    SetViewportExtEx(dc, frame.right * GetDeviceCaps(screen, HORZRES),
                     frame.bottom * GetDeviceCaps(screen, VERTRES), nullptr);
    ReleaseDC(nullptr, screen);

    DevicePlacement placement = picturePlacement(layout);
    // The sheet's far edges on its last pixels, where the picture has them.
    const Drawing &drawing = document.drawing;
    placement.unitsPerTwipX =
        drawing.width > 0 ? double(layout.sheet.width - 1) / double(drawing.width) : 0;
    placement.unitsPerTwipY =
        drawing.height > 0 ? double(layout.sheet.height - 1) / double(drawing.height) : 0;
    placement.numberPixels = std::max(1, layout.fontPixels * 4 / 5);
    drawDocument(dc, document, placement, face);
    return CloseEnhMetaFile(dc);
}

PageLayout renderPage(HDC dc, const PageArea &area, int dpi, const Document &document,
                      const Typeface &face)
{
    const PageLayout page = layoutPage(document, area, dpi, measuredOn(dc, face.face));
    DevicePlacement placement;
    placement.sheetLeft = page.sheetLeft;
    placement.sheetTop = page.sheetTop;
    placement.unitsPerTwipX = page.unitsPerTwip;
    placement.unitsPerTwipY = page.unitsPerTwip;
    placement.lineWidth = rounded(page.lineWidth);
    placement.squareEnds = page.squareEnds;
    placement.fontPixels = page.textPixels;
    placement.text = page.lines;
    placement.numberPixels = page.numberPixels;
    drawDocument(dc, document, placement, face);
    return page;
}

} // namespace korvane::win32
