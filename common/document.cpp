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

} // namespace

std::string toSvg(const Document &d, std::u16string_view face)
{
    // The job line below the sheet, sized to run at most across it.
    const double font =
        std::min(d.width * 0.98 / estimatedEms(d.jobLine), std::max(d.width, d.height) / 20);
    const double baseline = d.height + font * 1.5;
    const double total = baseline + font * 0.5;
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
    svg += "\"/>\n" + bands + "<text x=\"0\" y=\"" + n(baseline) + "\" font-size=\"" + n(font) +
           "\" font-family=\"";
    for (std::u16string_view candidate : faceCandidates(face)) {
        appendEscaped(svg, candidate);
        svg += ", ";
    }
    svg += "sans-serif\" fill=\"#000000\">";
    appendEscaped(svg, d.jobLine);
    svg += "</text>\n</svg>\n";
    return svg;
}

PictureLayout layoutPicture(const Document &document, const Typeface &font, const TextWidth &width)
{
    PictureLayout layout;
    layout.sheet = rasterise(document.drawing, PictureLayout::Dpi);
    layout.width = layout.sheet.width;

    const int base = font.points * PictureLayout::Dpi / PointsPerInch;
    const std::vector<std::u16string> parts = breakableParts(document.jobLine);
    const double room = std::max(1.0, layout.width - base * 1.0);
    double widest = 0;
    for (const std::u16string &part : parts)
        widest = std::max(widest, width(part, base));
    layout.fontPixels = widest > room ? std::max(1, int(std::floor(base * room / widest))) : base;
    layout.margin = std::max(1, layout.fontPixels / 2);
    layout.lineHeight = layout.fontPixels * 3 / 2;

    const double available = layout.width - 2.0 * layout.margin;
    for (const std::u16string &part : parts) {
        if (!layout.lines.empty() &&
            width(layout.lines.back().text + part, layout.fontPixels) <= available)
            layout.lines.back().text += part;
        else
            layout.lines.push_back(
                {layout.margin,
                 layout.sheet.height + layout.margin + int(layout.lines.size()) * layout.lineHeight,
                 part});
    }
    layout.height =
        layout.sheet.height + 2 * layout.margin + int(layout.lines.size()) * layout.lineHeight;
    return layout;
}

PageLayout layoutPage(const Document &document, const PageArea &area, int dpi,
                      const TextWidth &width)
{
    PageLayout page;
    const int points = int(std::lround(PrintedTextPoints * dpi / PointsPerInch));
    const double measured = width(document.jobLine, points);
    page.textPixels = measured > area.width
                          ? std::max(1, int(std::floor(points * area.width / measured)))
                          : points;
    page.textLeft = area.left;
    page.textTop = area.top;
    page.lineWidth = PrintedLinePoints * dpi / PointsPerInch;
    if (page.lineWidth < 2)
        page.lineWidth = 0;

    // The sheet in the rest, below a gap of half a line.
    const double top = area.top + page.textPixels * 1.5;
    const double height = std::max(0.0, area.top + area.height - top);
    const double sheetWidth = document.drawing.width;
    const double sheetHeight = document.drawing.height;
    page.unitsPerTwip = std::min(area.width / sheetWidth, height / sheetHeight);
    page.sheetLeft = area.left + (area.width - sheetWidth * page.unitsPerTwip) / 2;
    page.sheetTop = top + (height - sheetHeight * page.unitsPerTwip) / 2;
    return page;
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
