#pragma once

// A document drawn with GDI: one routine for the picture of a copy or a PNG file, the vector
// picture of a copy, and the printed page, which differ only in scale and line width.

#include "common/document.h"
#include "win32/fonts.h"

#include <cstdint>
#include <string>
#include <vector>
#include <windows.h>

namespace korvane::win32 {

// The header of an uncompressed bitmap of `width` by `height` pixels whose rows run from the
// top down.
BITMAPINFO topDownBitmap(int width, int height, WORD bitsPerPixel);

// Widths of text in a face at given sizes, as `dc` draws it: the TextWidth the layouts of
// common/document.h ask for. Keeps one font per size while it lives.
class TextMeasure
{
public:
    TextMeasure(HDC dc, std::u16string_view face) : m_dc(dc), m_face(face) {}
    TextMeasure(const TextMeasure &) = delete;
    TextMeasure &operator=(const TextMeasure &) = delete;

    double operator()(std::u16string_view text, int pixels);
    TextWidth function()
    {
        return [this](std::u16string_view text, int pixels) { return (*this)(text, pixels); };
    }

private:
    HDC m_dc;
    std::u16string m_face;
    std::vector<std::pair<int, Font>> m_fonts;
};

struct TextLine
{
    int left = 0; // the top-left corner of the line's em box
    int top = 0;
    std::u16string text;
};

// Where a document goes on a device, in its logical units.
struct Placement
{
    RECT paper{};         // filled white first; left as it is when empty
    double sheetLeft = 0; // where the drawing's origin goes
    double sheetTop = 0;
    double unitsPerTwipX = 0; // logical units for a twip of the drawing
    double unitsPerTwipY = 0;
    int lineWidth = 0;              // 0: one device pixel at any scale
    const Raster *raster = nullptr; // the sheet as these pixels rather than as lines
    int fontPixels = 0;             // the em of the text
    std::vector<TextLine> text;
};

// Draws `document` as `placement` says: black lines (or pixels) on white paper, and the text
// in `face`.
void drawDocument(HDC dc, const Document &document, const Placement &placement,
                  std::u16string_view face);

// The picture of a copy or a PNG file, as layoutPicture lays it out, 24 bits a pixel,
// blue-green-red, top row first, rows padded to four bytes. Empty pixels when the system
// could not make the bitmap.
struct Picture
{
    PictureLayout layout;
    int stride = 0;
    std::vector<std::uint8_t> pixels;
};
Picture renderPicture(const Document &document, std::u16string_view face);

// The same as vector graphics: an enhanced metafile of the picture's size, its lines one
// pixel wide at any zoom. Null when the system could not make it.
HENHMETAFILE renderMetafile(const Document &document, const PictureLayout &layout,
                            std::u16string_view face);

// The document on a page whose printable area is `area`, in the logical units of `dc`, at
// `dpi` of them an inch: the job line above the sheet. Returns where it went.
PageLayout renderPage(HDC dc, const PageArea &area, int dpi, const Document &document,
                      std::u16string_view face);

} // namespace korvane::win32
