#include "common/document.h"

#include "common/numtext.h"
#include "common/typeface.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace korvane {
namespace {

// clang-format off
constexpr std::array<FileType, 3> Types = {{
    {FileFormat::Png, u"PNG 图像",   u"png"},
    {FileFormat::Svg, u"SVG 矢量图", u"svg"},
    {FileFormat::Pdf, u"PDF 文档",   u"pdf"},
}};
// clang-format on

constexpr int PointsPerInch = 72;
constexpr double MillimetresPerInch = 25.4;
constexpr double PrintedTextPoints = 10;
constexpr double PrintedLinePoints = 0.25;
// The SVG keeps lines a tenth of a pixel of the picture apart, ten units to its pixel.
constexpr double SvgDetail = 10.0 * PictureLayout::Dpi / TwipsPerInch;

void appendEscaped(std::string &out, std::u16string_view text)
{
    for (char16_t c : text) {
        if (c == u'&')
            out += "&amp;";
        else if (c == u'<')
            out += "&lt;";
        else if (c == u'>')
            out += "&gt;";
        else
            out += toUtf8(std::u16string_view(&c, 1));
    }
}

// A width in ems without a font at hand: Chinese characters are one em, the rest about half.
double estimatedEms(std::u16string_view text)
{
    double ems = 0;
    for (char16_t c : text)
        ems += c < 0x2E80 ? 0.6 : 1.0;
    return std::max(ems, 1.0);
}

// The job line in parts that a line may break after: each ends with its full-width comma.
std::vector<std::u16string> breakableParts(std::u16string_view line)
{
    std::vector<std::u16string> parts;
    std::size_t start = 0;
    while (start < line.size()) {
        const std::size_t comma = line.find(u'，', start);
        const std::size_t end = comma == std::u16string_view::npos ? line.size() : comma + 1;
        parts.emplace_back(line.substr(start, end - start));
        start = end;
    }
    return parts;
}

// The job line and each note, in the parts a line may break after.
using Paragraph = std::vector<std::u16string>;
std::vector<Paragraph> paragraphsOf(const Document &document)
{
    std::vector<Paragraph> text = {breakableParts(document.jobLine)};
    for (const std::u16string &note : document.notes)
        text.push_back(breakableParts(note));
    return text;
}

// `base` pixels, or fewer where one part alone is wider than `room`.
int fittedPixels(const std::vector<Paragraph> &text, int base, double room, const TextWidth &width)
{
    double widest = 0;
    for (const Paragraph &paragraph : text)
        for (const std::u16string &part : paragraph)
            widest = std::max(widest, width(part, base));
    return widest > room ? std::max(1, int(std::floor(base * room / widest))) : base;
}

// Each paragraph's parts joined into lines no wider than `room`, a paragraph from a new line.
std::vector<std::u16string> brokenLines(const std::vector<Paragraph> &text, double room, int pixels,
                                        const TextWidth &width)
{
    std::vector<std::u16string> lines;
    for (const Paragraph &paragraph : text) {
        bool first = true;
        for (const std::u16string &part : paragraph) {
            if (!first && width(lines.back() + part, pixels) <= room)
                lines.back() += part;
            else
                lines.push_back(part);
            first = false;
        }
    }
    return lines;
}

} // namespace

std::string toSvg(const Document &d, std::u16string_view face)
{
    // The job line and the notes below the sheet, a line each, sized so that the longest runs
    // at most across it.
    std::vector<std::u16string_view> lines = {d.jobLine};
    lines.insert(lines.end(), d.notes.begin(), d.notes.end());
    double ems = 1;
    for (std::u16string_view line : lines)
        ems = std::max(ems, estimatedEms(line));
    const double font = std::min(d.width * 0.98 / ems, std::max(d.width, d.height) / 20);
    const double baseline = d.height + font * 1.5;
    const double total = baseline + font * (1.5 * double(lines.size()) - 1);
    // A margin around the sheet, so that no half of its edge falls outside the view.
    const double pad = std::max(d.width, d.height) / 100;
    const auto n = [](double value) { return formatNumber(value); };

    std::string svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"" +
                      n(-pad) + " " + n(-pad) + " " + n(d.width + 2 * pad) + " " +
                      n(total + 2 * pad) + "\">\n<title>";
    appendEscaped(svg, d.jobLine);
    svg += "</title>\n<rect x=\"0\" y=\"0\" width=\"" + n(d.width) + "\" height=\"" + n(d.height) +
           "\" fill=\"#ffffff\"/>\n";
    svg += "<path fill=\"none\" stroke=\"#000000\" stroke-width=\"1\" "
           "vector-effect=\"non-scaling-stroke\" d=\"";
    const double k = d.unitsPerTwip;
    std::string bands;
    for (const GridBlock &block : d.drawing.blocks)
        forEachStroke(
            block, SvgDetail,
            [&](double x1, double y1, double x2, double y2) {
                svg += "M" + n(x1 * k) + " " + n(y1 * k);
                svg += y1 == y2 ? "H" + n(x2 * k) : "V" + n(y2 * k);
            },
            [&](double x, double y, double width, double height) {
                bands += "<rect x=\"" + n(x * k) + "\" y=\"" + n(y * k) + "\" width=\"" +
                         n(width * k) + "\" height=\"" + n(height * k) + "\" fill=\"#000000\"/>\n";
            });
    svg += "\"/>\n" + bands;
    // The marks in their colour, and their numbers.
    const std::string red = "rgb(" + std::to_string(MarkColour.r) + "," +
                            std::to_string(MarkColour.g) + "," + std::to_string(MarkColour.b) + ")";
    for (const Mark &mark : d.drawing.marks)
        svg += "<path fill=\"none\" stroke=\"" + red +
               "\" stroke-width=\"1\" vector-effect=\"non-scaling-stroke\" d=\"M" + n(mark.x1 * k) +
               " " + n(mark.y1 * k) + "L" + n(mark.x2 * k) + " " + n(mark.y2 * k) + "\"/>\n";
    const double numberSize = font * 0.8;
    for (const NumberPlace &place :
         numberPlaces(d.drawing, numberSize * DigitEms / k, numberSize / k))
        svg += "<text x=\"" + n(place.x * k) + "\" y=\"" + n(place.y * k + numberSize * 0.8) +
               "\" font-size=\"" + n(numberSize) + "\" fill=\"" + red + "\">" +
               std::to_string(place.number) + "</text>\n";
    for (std::size_t i = 0; i < lines.size(); ++i) {
        svg += "<text x=\"0\" y=\"" + n(baseline + font * 1.5 * double(i)) + "\" font-size=\"" +
               n(font) + "\" font-family=\"";
        for (std::u16string_view candidate : faceCandidates(face)) {
            appendEscaped(svg, candidate);
            svg += ", ";
        }
        svg += "sans-serif\" fill=\"#000000\">";
        appendEscaped(svg, lines[i]);
        svg += "</text>\n";
    }
    svg += "</svg>\n";
    return svg;
}

PictureLayout layoutPicture(const Document &document, const Typeface &font, const TextWidth &width)
{
    PictureLayout layout;
    layout.sheet = rasterise(document.drawing, PictureLayout::Dpi);
    layout.width = layout.sheet.width;

    const int base = font.points * PictureLayout::Dpi / PointsPerInch;
    const std::vector<Paragraph> text = paragraphsOf(document);
    layout.fontPixels = fittedPixels(text, base, std::max(1.0, layout.width - base * 1.0), width);
    layout.margin = std::max(1, layout.fontPixels / 2);
    layout.lineHeight = layout.fontPixels * 3 / 2;
    for (const std::u16string &line :
         brokenLines(text, layout.width - 2.0 * layout.margin, layout.fontPixels, width))
        layout.lines.push_back(
            {layout.margin,
             layout.sheet.height + layout.margin + int(layout.lines.size()) * layout.lineHeight,
             line});
    layout.height =
        layout.sheet.height + 2 * layout.margin + int(layout.lines.size()) * layout.lineHeight;
    return layout;
}

PageLayout layoutPage(const Document &document, const PageArea &area, int dpi,
                      const TextWidth &width)
{
    // The room: clear of the paper's edges, within the printable area; from its corner.
    const double clear = ClearMillimetres * dpi / MillimetresPerInch;
    const double left = std::max(clear - area.left, 0.0);
    const double top = std::max(clear - area.top, 0.0);
    const double right = std::min(area.paperWidth - clear - area.left, area.width);
    const double bottom = std::min(area.paperHeight - clear - area.top, area.height);
    const double roomWidth = std::max(1.0, right - left);
    const double roomHeight = std::max(1.0, bottom - top);
    const int points = int(std::lround(PrintedTextPoints * dpi / PointsPerInch));

    // Text at 10 points, smaller where a part would not fit `room` or where its lines would
    // take more of the height than `most`; fewer pixels break fewer lines.
    const auto set = [&](const std::vector<Paragraph> &text, double room, double most,
                         int &pixels) {
        pixels = std::min(pixels, fittedPixels(text, points, room, width));
        std::vector<std::u16string> lines = brokenLines(text, room, pixels, width);
        while (pixels > 1 && double(lines.size()) * (pixels * 3 / 2) > most) {
            pixels = std::max(1, std::min(pixels - 1, int(most / 1.5 / double(lines.size()))));
            lines = brokenLines(text, room, pixels, width);
        }
        return lines;
    };
    // Two ways to lay the page out, the larger sheet kept: every line above the sheet, taking
    // half the height at most; or the job line above and the notes in a column beside the
    // sheet, as wide as its widest line, up to half the width.
    const std::vector<Paragraph> text = paragraphsOf(document);
    const std::vector<Paragraph> jobLine(text.begin(), text.begin() + 1);
    const std::vector<Paragraph> notes(text.begin() + 1, text.end());
    PageLayout best;
    for (const bool beside : {false, true}) {
        if (beside && notes.empty())
            break;
        PageLayout page;
        int pixels = points;
        std::vector<std::u16string> above =
            set(beside ? jobLine : text, roomWidth, roomHeight / 2, pixels);
        double column = 0;
        std::vector<std::u16string> side;
        if (beside) {
            for (const Paragraph &paragraph : notes)
                for (const std::u16string &part : paragraph)
                    column = std::max(column, width(part, pixels));
            double widest = 0;
            for (const std::u16string &line : brokenLines(notes, roomWidth / 2, pixels, width))
                widest = std::max(widest, width(line, pixels));
            column = std::min(roomWidth / 2, std::max(column, widest));
            side = set(notes, column, roomHeight - double(above.size()) * (pixels * 3 / 2), pixels);
            above = brokenLines(jobLine, roomWidth, pixels, width);
        }
        page.textPixels = pixels;
        const int lineHeight = pixels * 3 / 2;
        const int x = int(std::lround(left)), y = int(std::lround(top));
        for (std::size_t i = 0; i < above.size(); ++i)
            page.lines.push_back({x, y + int(i) * lineHeight, std::move(above[i])});
        // The sheet below a gap of half a line, under the text's left edge; the column right
        // of the room.
        const double sheetTop = top + double(page.lines.size()) * lineHeight + pixels * 0.5;
        const int columnLeft = int(std::lround(left + roomWidth - column));
        for (std::size_t i = 0; i < side.size(); ++i)
            page.lines.push_back(
                {columnLeft, int(std::lround(sheetTop)) + int(i) * lineHeight, std::move(side[i])});
        const double sheetWidth = beside ? roomWidth - column - pixels : roomWidth;
        page.unitsPerTwip = std::max(0.0, std::min(sheetWidth / document.drawing.width,
                                                   (bottom - sheetTop) / document.drawing.height));
        page.sheetLeft = left;
        page.sheetTop = sheetTop;
        if (!beside || page.unitsPerTwip > best.unitsPerTwip)
            best = std::move(page);
    }
    best.lineWidth = PrintedLinePoints * dpi / PointsPerInch;
    if (best.lineWidth < 2)
        best.lineWidth = 0;
    // The marks where the sheet's lines are, and their numbers.
    best.numberPixels = std::max(1, best.textPixels * 4 / 5);
    const double k = best.unitsPerTwip;
    for (const Mark &mark : document.drawing.marks)
        best.marks.push_back({best.sheetLeft + mark.x1 * k, best.sheetTop + mark.y1 * k,
                              best.sheetLeft + mark.x2 * k, best.sheetTop + mark.y2 * k});
    if (k > 0)
        for (const NumberPlace &place : numberPlaces(
                 document.drawing, best.numberPixels * DigitEms / k, best.numberPixels / k))
            best.numbers.push_back({int(std::lround(best.sheetLeft + place.x * k)),
                                    int(std::lround(best.sheetTop + place.y * k)),
                                    formatCount(place.number)});
    return best;
}

std::u16string documentText(const Document &document)
{
    std::u16string text = document.jobLine;
    for (const std::u16string &note : document.notes)
        text += u"\n" + note;
    return text;
}

bool printsAcross(const Document &document)
{
    return document.width > document.height;
}

std::span<const FileType> documentTypes()
{
    return Types;
}

SavePath savePath(std::u16string_view path, std::span<const FileType> types, const FileType &chosen)
{
    const std::size_t dot = path.find_last_of(u'.');
    const std::size_t slash = path.find_last_of(u"/\\");
    if (dot != std::u16string_view::npos && (slash == std::u16string_view::npos || dot > slash)) {
        std::u16string extension(path.substr(dot + 1));
        for (char16_t &c : extension)
            if (c >= u'A' && c <= u'Z')
                c = char16_t(c - u'A' + u'a');
        for (const FileType &type : types)
            if (type.extension == extension)
                return {std::u16string(path), &type};
    }
    return {std::u16string(path) + u"." + std::u16string(chosen.extension), &chosen};
}

std::u16string filterLabel(const FileType &type)
{
    return std::u16string(type.description) + u" (*." + std::u16string(type.extension) + u")";
}

std::u16string saveFailure(std::u16string_view path, std::u16string_view reason)
{
    return u"无法保存文件：" + std::u16string(path) + u"\n" + std::u16string(reason);
}

std::u16string copyFailure(std::u16string_view reason)
{
    return u"无法复制到剪贴板。\n" + std::u16string(reason);
}

std::u16string printFailure(std::u16string_view reason)
{
    return u"无法打印。\n" + std::u16string(reason);
}

bool withDocument(const Document *last)
{
    return last != nullptr;
}

CommandRequest requestCopy(const Document *last, std::span<const Reading>)
{
    return CopyRequest{*last};
}

CommandRequest requestSave(const Document *last, std::span<const Reading>)
{
    return SaveRequest{*last, u"保存拼版图",
                       last->fileStem + u"." + std::u16string(Types.front().extension), Types};
}

CommandRequest requestPrint(const Document *last, std::span<const Reading>)
{
    return PrintRequest{*last};
}

} // namespace korvane
