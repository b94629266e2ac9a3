#pragma once

// A document handed on, in the forms it takes outside the window: the vector form, the
// picture and the printed page, laid out here as far as they need no toolkit; and the rules
// of saving it.

#include "common/panel.h"
#include "common/raster.h"

#include <array>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// A block as a vector form draws it at `unitsPerTwip` device units to the twip: its lines, as
// forEachLine gives them; or, where they would lie closer than one unit apart and merge
// anyway, `band(x, y, width, height)` in twips, one solid rectangle, as the rasteriser draws
// it. So no form draws more lines than it has units across, however dense the plan. An
// empty block draws nothing.
template <typename Line, typename Band>
void forEachStroke(const GridBlock &block, double unitsPerTwip, Line &&line, Band &&band)
{
    if (block.rows <= 0 || block.cols <= 0)
        return;
    if (linesMerge(block, unitsPerTwip))
        band(block.x, block.y, block.width(), block.height());
    else
        forEachLine(block, line);
}

// The document as SVG, UTF-8: the viewBox in the sheet's own units, so that a reader
// measures true sizes; lines that stay one device pixel wide at any zoom, down to a tenth of
// a pixel of the picture apart (denser blocks are solid); the job line and the notes as text
// below the sheet, a line each, in `face` or what stands in for it.
std::string toSvg(const Document &document, std::u16string_view face);

// How wide `text` is in the interface font at a size of `pixels`, as the front end measures.
using TextWidth = std::function<double(std::u16string_view text, int pixels)>;

// The colour a document's marks are drawn in, on paper: a red, apart from the black lines.
inline constexpr Rgb MarkColour = {204, 0, 0};
// A digit's advance in a document's typefaces, in ems, a little over what they measure.
inline constexpr double DigitEms = 0.6;

// A line of text placed on a picture or page: the top-left corner of its em box.
struct TextLine
{
    int left = 0;
    int top = 0;
    std::u16string text;

    bool operator==(const TextLine &) const = default;
};

// The document's picture, for the clipboard and PNG files: the drawing at four times its
// on-screen size at 96 dpi, white, its lines one pixel wide; below it a strip with the job
// line and then the notes in the window's font at four times its on-screen size, each broken
// after its commas where it is wider than the picture, and smaller where one part alone is.
struct PictureLayout
{
    static constexpr int Dpi = 4 * 96;

    Raster sheet;
    int width = 0;
    int height = 0; // the sheet and the strip
    int fontPixels = 0;
    int margin = 0;     // left of the text, and above and below it in the strip
    int lineHeight = 0; // from the top of one line of text to the next
    std::vector<TextLine> lines;
};
PictureLayout layoutPicture(const Document &document, const Typeface &font, const TextWidth &width);

// The document on a page: at least `ClearMillimetres` clear of the paper's every edge (and
// within what the device prints), the job line at the top in 10 points (smaller where a part
// would not fit the width), broken after commas where a line is wider, and the sheet below
// it, as large as the rest allows, its left edge under the text's. The notes go below the job
// line (the text taking half the page at most), or in a column beside the sheet, whichever
// leaves the sheet larger. Its lines are a quarter of a point wide
// with square ends, so that the corners of a box close; a line thinner than two device units
// is the device's thinnest line (width 0). Places are in device units at `dpi` from the
// device's origin, the printable area's corner.
struct PageArea
{
    double paperWidth = 0, paperHeight = 0;
    double left = 0, top = 0, width = 0, height = 0; // the printable area on the paper
};
inline constexpr double ClearMillimetres = 10;
// A mark of the drawing on a page, in device units, and a number written beside its start.
struct PageMark
{
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
struct PageLayout
{
    int textPixels = 0;
    std::vector<TextLine> lines; // the job line's and the notes', in order
    // The drawing's marks in MarkColour, their numbers in `numberPixels`.
    std::vector<PageMark> marks;
    std::vector<TextLine> numbers;
    int numberPixels = 0;
    double sheetLeft = 0; // where the drawing's origin goes
    double sheetTop = 0;
    double unitsPerTwip = 0; // device units for a twip of the drawing
    double lineWidth = 0;
    bool squareEnds = true;
};
PageLayout layoutPage(const Document &document, const PageArea &area, int dpi,
                      const TextWidth &width);

// The document as text, for the clipboard: the job line, then each note on a line of its own.
std::u16string documentText(const Document &document);

// Whether a document's page is turned across (landscape): when its sheet is wider than tall.
bool printsAcross(const Document &document);

// The kinds of file a document can be saved as, in the order a save dialog offers them.
std::span<const FileType> documentTypes();

// A type as a save dialog lists it: "PNG 图像 (*.png)".
std::u16string filterLabel(const FileType &type);

// The user's folders a save dialog may open in, the first that exists: the documents folder,
// else the home folder.
enum class UserFolder
{
    Documents,
    Home,
};
inline constexpr std::array<UserFolder, 2> SaveFolders = {UserFolder::Documents, UserFolder::Home};

// A path chosen in a save dialog with `chosen` the type picked there: a path whose extension
// names one of `types` is saved as that type; any other gets the extension of `chosen`.
struct SavePath
{
    std::u16string path;
    const FileType *type = nullptr;
};
SavePath savePath(std::u16string_view path, std::span<const FileType> types,
                  const FileType &chosen);

// The message of a save that failed: the path and the system's reason.
std::u16string saveFailure(std::u16string_view path, std::u16string_view reason);

// The messages of a copy to the clipboard and of a print that failed: the system's reason.
std::u16string copyFailure(std::u16string_view reason);
std::u16string printFailure(std::u16string_view reason);

// The rule of the document commands: they act on a last result, so there must be one.
bool withDocument(const Document *last);

// The commands that hand a diagram's document on, alike in every window that has one: copy,
// save and print, in the context menu of `menuOf`, each known to tools by its `id`.
CommandRequest requestCopy(const Document *last, std::span<const Reading> readings);
CommandRequest requestSave(const Document *last, std::span<const Reading> readings);
CommandRequest requestPrint(const Document *last, std::span<const Reading> readings);
constexpr Command copyCommand(std::string_view id, ControlName menuOf)
{
    return {id, u"复制拼版图(&C)", {true, u'C'}, menuOf, withDocument, requestCopy};
}
constexpr Command saveCommand(std::string_view id, ControlName menuOf)
{
    return {id, u"保存拼版图(&S)…", {false, u'S'}, menuOf, withDocument, requestSave};
}
constexpr Command printCommand(std::string_view id, ControlName menuOf)
{
    return {id, u"打印拼版图(&P)…", {false, u'P'}, menuOf, withDocument, requestPrint};
}

} // namespace korvane
