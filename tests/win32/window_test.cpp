// What the Windows front end adds to the panels' handlers, in the real window: geometry at
// 96 and 144 dpi, the real error box and the focus after it, results in the labels and the
// scroll bars. The cases are the handler tests' own.
#include "tests/win32/winewindowtest.h"
#include "win32/colours.h"
#include "win32/dpi.h"

#include <clocale>
#include <cstdlib>

namespace korvane::win32 {
namespace {

class GeometryTest : public WindowTest
{
protected:
    void expectGeometry(int dpi);
};

// Everything at its twips for `dpi`: the client area, the tab strip, the panels on its display
// rectangle (below the tabs, large enough for every panel), and each control in its place; a
// label that sizes itself holds its whole text in its own font.
void GeometryTest::expectGeometry(int dpi)
{
    RECT client;
    GetClientRect(m_window->handle(), &client);
    EXPECT_EQ(client.right, twipsToPixels(mainWindow.clientWidth, dpi));
    EXPECT_EQ(client.bottom, twipsToPixels(mainWindow.clientHeight, dpi));
    const RECT strip = pixelRect(mainWindow.tabStripRect, dpi);
    const RECT stripAt = placeOf(m_window->tabStrip());
    EXPECT_TRUE(EqualRect(&strip, &stripAt));
    RECT tabRow;
    SendMessageW(m_window->tabStrip(), TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tabRow));
    const RECT display = placeOf(panel(0));
    EXPECT_GT(display.top, stripAt.top + tabRow.bottom - 1);
    EXPECT_GE(display.right - display.left, twipsToPixels(1560 + 3135, dpi));
    EXPECT_GE(display.bottom - display.top, twipsToPixels(720 + 2415, dpi));
    for (int tab = 0; tab < m_window->panelCount(); ++tab) {
        // A label that sizes itself does so once its panel has shown.
        selectTab(tab);
        const RECT frame = placeOf(GetDlgItem(m_window->handle(), panelId("Frame1", tab)));
        EXPECT_TRUE(EqualRect(&frame, &display)) << tab;
        for (const ControlRow &row :
             m_window->driver().window().tabs[std::size_t(tab)].panel->controls) {
            HWND w = control(tab, row.name);
            const RECT want = pixelRect(row.rect, dpi);
            const RECT got = placeOf(w);
            EXPECT_TRUE(got.left == want.left && got.top == want.top) << row.name;
            if (row.kind == ControlKind::AutoLabel) {
                HDC dc = GetDC(w);
                SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
                const std::wstring text = wide(textOf(w));
                SIZE size{};
                GetTextExtentPoint32W(dc, text.c_str(), int(text.size()), &size);
                ReleaseDC(w, dc);
                EXPECT_TRUE(got.right - got.left >= size.cx && got.bottom - got.top >= size.cy)
                    << row.name;
            } else if (row.kind != ControlKind::Diagram) {
                EXPECT_TRUE(EqualRect(&got, &want)) << row.name;
            }
        }
    }
}

TEST_F(GeometryTest, GeometryAt96And144Dpi)
{
    // Run in a prefix of 96 dpi and in one of 144 dpi.
    if (const char *expected = std::getenv("KORVANE_EXPECTED_DPI")) {
        ASSERT_EQ(m_window->dpi(), std::atoi(expected));
    }
    expectGeometry(m_window->dpi());
    // Moved to a monitor of the other DPI: laid out again from the twips.
    const int other = m_window->dpi() == 144 ? 96 : 144;
    moveToDpi(other);
    ASSERT_EQ(m_window->dpi(), other);
    expectGeometry(other);
}

TEST_F(WindowTest, Presses)
{
    // Number text must not follow the C library's locale, here one with a decimal comma.
    ASSERT_TRUE(std::setlocale(LC_ALL, "German"));
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    for (const test::PressCase &c : test::pressCases()) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        selectTab(c.tab);
        if (!c.refusal) {
            EXPECT_TRUE(press(c).empty());
            for (const test::Entry &result : c.results)
                EXPECT_EQ(test::printable(textOf(control(c.tab, result.control))),
                          test::printable(result.text));
            continue;
        }
        // A refusal leaves the results of the good press before it alone.
        const test::PressCase &good = test::goodPress(c.tab);
        ASSERT_TRUE(press(good).empty());
        const std::vector<std::uint32_t> picture = m_window->surface("drawpic").picture();
        const std::vector<SeenBox> boxes = press(c);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].title, ErrorTitle);
        EXPECT_EQ(test::printable(boxes[0].text), test::printable(c.refusal->message));
        EXPECT_TRUE(boxes[0].stopIcon);
        EXPECT_EQ(boxes[0].buttons, 1);
        EXPECT_TRUE(boxes[0].okButton);
        HWND focus = GetFocus();
        HWND expected = control(c.tab, c.refusal->focus);
        // A drop-down box's focus is its text field.
        EXPECT_TRUE(focus == expected || IsChild(expected, focus)) << c.refusal->focus;
        for (const test::Entry &result : good.results)
            EXPECT_EQ(textOf(control(c.tab, result.control)), result.text);
        EXPECT_EQ(m_window->surface("drawpic").picture(), picture);
    }
    std::setlocale(LC_ALL, "C");
}

TEST_F(WindowTest, ScrollBars)
{
    for (const test::ScrollCase &c : test::scrollCases()) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        const int tab = test::ColourTab;
        selectTab(tab);
        for (const auto &[bar, value] : c.moves)
            SendMessageW(panel(tab), WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, value),
                         reinterpret_cast<LPARAM>(control(tab, bar)));
        for (const test::Entry &result : c.results)
            EXPECT_EQ(textOf(control(tab, result.control)), result.text);
        for (const auto &[box, colour] : c.backgrounds) {
            const Surface &surface = m_window->surface(box);
            const COLORREF expected =
                colour
                    ? RGB(colour->r, colour->g, colour->b)
                    : colourOf(findControl(
                                   *m_window->driver().window().tabs[std::size_t(tab)].panel, box)
                                   ->background,
                               COLOR_WINDOW);
            EXPECT_EQ(surface.background(), expected) << box;
        }
    }
}

} // namespace
} // namespace korvane::win32
