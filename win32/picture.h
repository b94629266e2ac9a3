#pragma once

// A document drawn with GDI: one routine for the picture of a copy or a PNG file, the vector
// picture of a copy, and the printed page, which differ only in scale and line width.

#include "common/document.h"
#include "win32/fonts.h"

#include <cstdint>
#include <vector>
#include <windows.h>

namespace korvane::win32 {

// The header of an uncompressed bitmap of `width` by `height` pixels whose rows run from the
// top down.
BITMAPINFO topDownBitmap(int width, int height, WORD bitsPerPixel);

// Widths of text in `face` at given sizes, as `dc` draws it: the TextWidth the layouts of
// common/document.h ask for.
TextWidth measuredOn(HDC dc, std::u16string_view face);

// Where a document goes on a device, in its logical units.
struct DevicePlacement
{
    RECT paper{};         // filled white first; left as it is when empty
    double sheetLeft = 0; // where the drawing's origin goes
    double sheetTop = 0;
    double unitsPerTwipX = 0; // logical units for a twip of the drawing
    double unitsPerTwipY = 0;
    int lineWidth = 0;              // 0: one device pixel at any scale
    bool squareEnds = false;        // ends reaching half the line's width further
    const Raster *raster = nullptr; // the sheet as these pixels rather than as lines
    int fontPixels = 0;             // the em of the text
    std::vector<TextLine> text;
    int numberPixels = 0; // the em of the marks' numbers where they are drawn as lines
};

// Draws `document` as `placement` says: black lines (or pixels) on white paper, and the text
// in `face`.
void drawDocument(HDC dc, const Document &document, const DevicePlacement &placement,
                  const Typeface &face);

// The picture of a copy or a PNG file, as layoutPicture lays it out, 24 bits a pixel,
// blue-green-red, top row first, rows padded to four bytes. Empty pixels when the system
// could not make the bitmap.
struct Picture
{
    PictureLayout layout;
    int stride = 0;
    std::vector<std::uint8_t> pixels;
};
Picture renderPicture(const Document &document, const Typeface &face);

// The same as vector graphics: an enhanced metafile of the picture's size, its lines one
// pixel wide at any zoom. Null when the system could not make it.
HENHMETAFILE renderMetafile(const Document &document, const PictureLayout &layout,
                            const Typeface &face);

// The document on a page whose printable area is `area`, in the logical units of `dc`, at
// `dpi` of them an inch: the job line above the sheet. Returns where it went.
PageLayout renderPage(HDC dc, const PageArea &area, int dpi, const Document &document,
                      const Typeface &face);

} // namespace korvane::win32
