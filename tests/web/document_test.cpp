// The diagram leaving the page: copied (read back from the clipboard), saved through the
// page's save dialog (the downloaded PNG decoded, the SVG parsed and compared), printed (the
// page the browser prints, from the print dialog held back), each once, from the diagram's
// context menu or its shortcut.
#include "common/document.h"
#include "tests/cases/documentcases.h"
#include "tests/web/pagetest.h"

#include <algorithm>

namespace korvane::web {
namespace {

class DocumentTest : public PageTest
{
protected:
    // The document a press of "查看拼版图" leaves after `inputs`, as the core makes it.
    Document press(const std::vector<test::Entry> &inputs)
    {
        for (const test::Entry &input : inputs)
            paste(input.control, input.text);
        click("Command6");
        const Event &event = mainWindow.tabs[0].panel->events[0];
        const Outcome outcome = event.handle(readings("drawpic", event.reads));
        return *std::get<Update>(outcome).document;
    }
    // Whether `picture` begins with the sheet exactly as the rasteriser draws it at four times
    // 96 dpi, black on white, the strip of its text below.
    static bool startsWithTheSheet(const test::Picture &picture, const Document &document)
    {
        const Raster sheet = rasterise(document.drawing, PictureLayout::Dpi);
        if (picture.width != sheet.width || picture.height <= sheet.height)
            return false;
        std::vector<std::uint32_t> want(std::size_t(sheet.width) * std::size_t(sheet.height));
        fillPixels(sheet, 0xFFFFFF, 0x000000, want.data(), std::size_t(sheet.width),
                   std::uint32_t(MarkColour.r << 16 | MarkColour.g << 8 | MarkColour.b));
        return std::equal(want.begin(), want.end(), picture.pixels.begin());
    }
};

TEST_F(DocumentTest, CopiesThePictureAndTheText)
{
    for (const bool byShortcut : {false, true}) {
        SCOPED_TRACE(byShortcut ? "Ctrl+Shift+C" : "the context menu");
        const test::DocumentCase &c = test::documentCases()[byShortcut ? 1 : 0];
        const Document document = press(c.inputs);
        call(Request("clearClipboard"));
        if (byShortcut) {
            focus("Text4");
            key({test::Key::Code::Character, u'C', true, true});
        } else {
            run("copyDiagram");
        }
        EXPECT_TRUE(boxes().empty());
        const Json held = call(Request("clipboard"));
        EXPECT_EQ(toUtf8(held["text"].text()), toUtf8(documentText(document)));
        EXPECT_EQ(toUtf8(documentText(document)).find(toUtf8(c.jobLine)), 0u);
        EXPECT_TRUE(startsWithTheSheet(pictureOf(held), document))
            << "a picture of " << held["width"].integer() << " x " << held["height"].integer();
    }
}

TEST_F(DocumentTest, SavesPngAndSvgUnderTheNamesChosen)
{
    const test::DocumentCase &c = test::documentCases().front();
    const Document document = press(c.inputs);
    const Json png = runIn(mainWindow, "saveDiagram", Request("save")("type", -1));
    EXPECT_EQ(toUtf8(png["proposed"].text()), toUtf8(c.fileName));
    EXPECT_EQ(png["downloads"].integer(), 1);
    EXPECT_EQ(toUtf8(png["fileName"].text()), toUtf8(c.fileName));
    EXPECT_TRUE(startsWithTheSheet(pictureOf(png), document)) << "the PNG saved";
    // A name whose extension names a type is saved as that type.
    const Json svg =
        runIn(mainWindow, "saveDiagram", Request("save")("type", -1)("name", u"客户 拼版.svg"));
    EXPECT_EQ(toUtf8(svg["fileName"].text()), "客户 拼版.svg");
    EXPECT_EQ(svg["parsed"].ascii(), "svg");
    const std::vector<std::uint8_t> bytes = fromBase64(svg["bytes"].text());
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), toSvg(document, mainWindow.font.face));
    EXPECT_TRUE(boxes().empty());
}

TEST_F(DocumentTest, PrintsThePageTheCoreLaysOut)
{
    const test::DocumentCase &c = test::documentCases().front();
    press(c.inputs);
    const Json printed = runIn(mainWindow, "printDiagram", Request("print")("expect", c.jobLine));
    EXPECT_EQ(printed["calls"].integer(), 1) << "the browser's print dialog asked for";
    EXPECT_EQ(printed["svg"].text().rfind(u"<svg", 0), 0u) << "no SVG in #printout";
    EXPECT_EQ(printed["pages"].integer(), 1);
    EXPECT_TRUE(printed["found"].boolean()) << "not printed: " << toUtf8(printed["pdfText"].text());
    EXPECT_TRUE(boxes().empty());
}

} // namespace
} // namespace korvane::web
