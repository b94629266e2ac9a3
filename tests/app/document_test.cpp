// The plan as a document, without a window: what the worked examples leave for the commands,
// the SVG read back against the plan, the picture's layout and the rules of saving.
#include "app/mainwindow.h"
#include "common/document.h"
#include "common/numtext.h"
#include "tests/cases/documentcases.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <gtest/gtest.h>

namespace korvane {
namespace {

const PanelTable &imposition()
{
    return *mainWindow.tabs.front().panel;
}

Update press(const std::vector<test::Entry> &inputs)
{
    return std::get<Update>(test::runEvent(imposition(), "Command6", inputs));
}

const Command &command(std::string_view id)
{
    for (const Command &c : imposition().commands)
        if (c.id == id)
            return c;
    test::broken("no command " + std::string(id));
}

TEST(Document, WhatEachPlanLeaves)
{
    for (const test::DocumentCase &c : test::documentCases()) {
        SCOPED_TRACE(c.name);
        const Update update = press(c.inputs);
        ASSERT_TRUE(update.document);
        const Document &document = *update.document;
        EXPECT_EQ(test::printable(document.jobLine), test::printable(c.jobLine));
        EXPECT_EQ(update.toolTips, (std::vector<SetToolTip>{{"drawpic", c.jobLine}}));
        const auto save = std::get<SaveRequest>(command("saveDiagram").handle(&document, {}));
        EXPECT_EQ(test::printable(save.fileName), test::printable(c.fileName));
        EXPECT_EQ(document.width, c.width);
        EXPECT_EQ(document.height, c.height);
        int lines = 0;
        for (const GridBlock &block : document.drawing.blocks)
            forEachLine(block, [&](double, double, double, double) { ++lines; });
        EXPECT_EQ(lines, c.lines);
    }
}

// A line in the sheet's units: x1, y1, x2, y2.
using Segment = std::array<double, 4>;

std::vector<Segment> across(std::initializer_list<double> ys, double x1, double x2)
{
    std::vector<Segment> out;
    for (double y : ys)
        out.push_back({x1, y, x2, y});
    return out;
}

std::vector<Segment> down(std::initializer_list<double> xs, double y1, double y2)
{
    std::vector<Segment> out;
    for (double x : xs)
        out.push_back({x, y1, x, y2});
    return out;
}

std::vector<Segment> joined(std::initializer_list<std::vector<Segment>> parts)
{
    std::vector<Segment> out;
    for (const auto &part : parts)
        out.insert(out.end(), part.begin(), part.end());
    std::sort(out.begin(), out.end());
    return out;
}

// The path of an SVG as its lines: "M x y" then "H x" or "V y", numbers in plain or exponent
// form.
std::vector<Segment> readLines(const std::string &svg)
{
    const std::size_t from = svg.find(" d=\"") + 4;
    const std::string path = svg.substr(from, svg.find('"', from) - from);
    std::vector<Segment> lines;
    const char *p = path.data();
    const char *end = p + path.size();
    // A number runs to the next space or command letter (M, H, V).
    const auto number = [&] {
        const char *const first = p;
        while (p < end && std::string_view("0123456789.eE+-").find(*p) != std::string_view::npos)
            ++p;
        const auto value = parseNumber(widen({first, static_cast<std::size_t>(p - first)}));
        if (p < end && *p == ' ')
            ++p;
        return value;
    };
    while (p < end) {
        const char command = *p++;
        if (command != 'M')
            return {};
        const auto x = number();
        const auto y = number();
        const char to = p < end ? *p++ : '\0';
        const auto at = number();
        if (!x || !y || !at || (to != 'H' && to != 'V'))
            return {};
        lines.push_back(to == 'H' ? Segment{*x, *y, *at, *y} : Segment{*x, *y, *x, *at});
    }
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(Document, SvgReadBackIsThePlan)
{
    struct Case
    {
        std::size_t index; // among the document cases
        std::vector<Segment> lines;
    };
    const Case cases[] = {
        // The sheet's edge; one turned row of five at the top left; two flat rows of three
        // below it.
        {0, joined({across({0, 787}, 0, 1092), down({0, 1092}, 0, 787), across({0, 297}, 0, 1050),
                    down({0, 210, 420, 630, 840, 1050}, 0, 297), across({297, 507, 717}, 0, 891),
                    down({0, 297, 594, 891}, 297, 717)})},
        // The whole sheet tiled, 4 by 4, its outer lines on the sheet's edge.
        {3, joined({across({0, 500}, 0, 1000), down({0, 1000}, 0, 500),
                    across({0, 125, 250, 375, 500}, 0, 1000),
                    down({0, 250, 500, 750, 1000}, 0, 500)})},
    };
    for (const Case &c : cases) {
        const test::DocumentCase &plan = test::documentCases()[c.index];
        SCOPED_TRACE(plan.name);
        const std::string svg = toSvg(*press(plan.inputs).document, u"宋体");
        const std::vector<Segment> lines = readLines(svg);
        ASSERT_EQ(lines.size(), c.lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i)
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_NEAR(lines[i][k], c.lines[i][k], 1e-9) << i;
        EXPECT_NE(svg.find("vector-effect=\"non-scaling-stroke\""), std::string::npos);
        // The view in the sheet's units, a margin of a hundredth of its length around it.
        const double pad = plan.width / 100;
        EXPECT_NE(svg.find("viewBox=\"-" + formatNumber(pad) + " -" + formatNumber(pad) + " " +
                           formatNumber(plan.width + 2 * pad)),
                  std::string::npos);
    }
}

// Every character one half of the font size wide.
double halfEms(std::u16string_view text, int pixels)
{
    return double(text.size()) * pixels / 2;
}

// Lines closer than the forms can show are one solid band: two billion columns make an SVG
// of a few hundred bytes, not of gigabytes.
TEST(Document, DenseBlocksAreSolid)
{
    const std::string svg = toSvg(*press(test::largestPlan()).document, u"宋体");
    EXPECT_LT(svg.size(), 2000u);
    EXPECT_NE(
        svg.find("<rect x=\"0\" y=\"0\" width=\"2147483647\" height=\"1\" fill=\"#000000\"/>"),
        std::string::npos);
}

TEST(Document, PictureBreaksTheJobLineAfterItsCommas)
{
    struct Case
    {
        std::vector<test::Entry> inputs;
        int fontPixels;
        std::vector<std::u16string> lines;
    };
    const Case cases[] = {
        // 836 pixels across: 32 characters of 24 pixels fit beside the margins.
        {test::documentCases()[0].inputs,
         48,
         {u"开版尺寸 1092 × 787，产品尺寸 210 × 297，",
          u"大套版，横竖混排，开版数 11，利用率 79.8%"}},
        // One part of 41 characters alone is wider: the font shrinks to fit it.
        {{{"Combo2", u"横排"},
          {"Text4", u"1092.12345678901"},
          {"Text5", u"787.123456789012"},
          {"Text6", u"210"},
          {"Text7", u"297"}},
         38,
         {u"开版尺寸 1092.12345678901 × 787.123456789012，",
          u"产品尺寸 210 × 297，大套版，横排，开版数 9，利用率 65.3%"}},
    };
    for (const Case &c : cases) {
        const PictureLayout layout =
            layoutPicture(*press(c.inputs).document, mainWindow.font, halfEms);
        EXPECT_EQ(layout.width, 836); // round(4 x 3135 / 15)
        EXPECT_EQ(layout.fontPixels, c.fontPixels);
        ASSERT_EQ(layout.lines.size(), c.lines.size());
        for (std::size_t i = 0; i < c.lines.size(); ++i)
            EXPECT_EQ(test::printable(layout.lines[i].text), test::printable(c.lines[i]));
        EXPECT_EQ(layout.height, layout.sheet.height + 2 * layout.margin +
                                     int(c.lines.size()) * layout.lineHeight);
    }
}

// A part that fills the rest of a line exactly still joins it.
TEST(Document, PictureFillsALineToItsLastPixel)
{
    const Document document = *press(test::documentCases()[0].inputs).document;
    const std::u16string first = u"开版尺寸 1092 × 787，";
    const std::u16string joined = first + u"产品尺寸 210 × 297，";
    // 836 pixels less a margin of 24 on either side.
    const auto width = [&](std::u16string_view text, int) {
        return double(text.size()) * 788 / double(joined.size());
    };
    const PictureLayout layout = layoutPicture(document, mainWindow.font, width);
    ASSERT_EQ(layout.margin, 24);
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines.front().text, joined);
    EXPECT_EQ(layout.lines[1].top, layout.lines[0].top + layout.lineHeight);
}

// The printed page: 10 mm clear of every edge of the paper (and inside what the device
// prints), the job line at the top, the sheet below it as large as the rest allows with its
// left edge under the job line's, the notes above it or beside it, whichever leaves it larger;
// its lines a quarter of a point with square ends, or the device's thinnest where that is under
// two device units.
TEST(Document, PageLayout)
{
    const Document document = *press(test::documentCases()[0].inputs).document;
    Document noted = document;
    noted.notes = {u"大套版：合计 1566.21 元", u"最省：自翻版，合计 1357.77 元"};
    Document listed = document;
    listed.notes.assign(60, u"第 1 刀：A ×1，距上边 297 横切，得 B 和 废料");
    struct Case
    {
        const Document &document;
        PageArea area;
        int dpi;
        int textPixels;
        std::size_t lines; // the job line's
        bool beside;
    };
    // A4 across at 600 and 300 dpi, the printable area 4 mm in; a page too narrow for the job
    // line on one line; two notes, beside the sheet; sixty, shrunk to fit beside it.
    const PageArea a4{7016, 4961, 100, 100, 6816, 4761};
    const Case cases[] = {
        {document, a4, 600, 83, 1, false},
        {document, {3508, 2480, 50, 50, 3408, 2380}, 300, 42, 1, false},
        {document, {1500, 3000, 0, 0, 1500, 3000}, 600, 83, 3, false},
        {noted, a4, 600, 83, 1, true},
        {listed, a4, 600, 48, 1, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.document.notes.size());
        const PageLayout page = layoutPage(c.document, c.area, c.dpi, halfEms);
        EXPECT_EQ(page.textPixels, c.textPixels);
        EXPECT_EQ(page.lines.size(), c.lines + c.document.notes.size());
        EXPECT_EQ(page.lineWidth, c.dpi == 600 ? 0.25 * 600 / 72 : 0);
        EXPECT_TRUE(page.squareEnds);
        // From the paper's edges: clear on all sides; the job line over the sheet's left edge.
        const double clear = 10 * c.dpi / 25.4;
        const double width = c.document.drawing.width * page.unitsPerTwip;
        const double height = c.document.drawing.height * page.unitsPerTwip;
        const double right = std::min(c.area.paperWidth - clear - c.area.left, c.area.width);
        const double bottom = std::min(c.area.paperHeight - clear - c.area.top, c.area.height);
        EXPECT_GE(c.area.left + page.sheetLeft, clear - 1);
        EXPECT_GE(c.area.top + page.lines.front().top, clear - 1);
        EXPECT_EQ(page.lines.front().left, int(std::lround(page.sheetLeft)));
        EXPECT_GE(page.sheetTop, page.lines[c.lines - 1].top + page.textPixels);
        EXPECT_LE(page.sheetTop + height, bottom + 1e-6);
        // The notes above the sheet, or in a column right of it, inside the room.
        for (std::size_t i = c.lines; i < page.lines.size(); ++i) {
            const TextLine &line = page.lines[i];
            EXPECT_EQ(line.left > page.sheetLeft + width, c.beside);
            EXPECT_LE(line.left + halfEms(line.text, page.textPixels), right + 1);
            EXPECT_LE(line.top + page.textPixels, c.beside ? bottom + 1 : page.sheetTop);
        }
        // As large as the rest allows: it meets the room's bottom, or its right (the column's
        // edge, beside the notes).
        const double reach = c.beside ? page.lines.back().left - page.textPixels : right;
        EXPECT_TRUE(std::abs(page.sheetTop + height - bottom) < 1e-6 ||
                    std::abs(page.sheetLeft + width - reach) < 1.5);
    }
    EXPECT_EQ(documentText(noted),
              document.jobLine + u"\n大套版：合计 1566.21 元\n最省：自翻版，合计 1357.77 元");
}

TEST(Document, SaveRules)
{
    const auto types = documentTypes();
    struct Case
    {
        std::u16string typed;
        std::size_t chosen;
        std::u16string path;
        FileFormat format;
    };
    // clang-format off
    const Case cases[] = {
        {u"/工作/拼版图.png", 1, u"/工作/拼版图.png",   FileFormat::Png},
        {u"/工作/拼版图.SVG", 0, u"/工作/拼版图.SVG",   FileFormat::Svg},
        {u"/工作/拼版图",     2, u"/工作/拼版图.pdf",   FileFormat::Pdf},
        {u"/v1.2/拼版图",     0, u"/v1.2/拼版图.png",   FileFormat::Png},
        {u"C:\\a.b\\图.txt",  1, u"C:\\a.b\\图.txt.svg", FileFormat::Svg},
    };
    // clang-format on
    for (const Case &c : cases) {
        const SavePath saved = savePath(c.typed, types, types[c.chosen]);
        EXPECT_EQ(test::printable(saved.path), test::printable(c.path));
        EXPECT_EQ(saved.type->format, c.format) << test::printable(c.typed);
    }
    EXPECT_EQ(saveFailure(u"/只读/拼版图.png", u"Permission denied"),
              u"无法保存文件：/只读/拼版图.png\nPermission denied");
}

} // namespace
} // namespace korvane
