// The real Windows window's geometry at 96 and 144 dpi: everything at its twips, and laid
// out again when the window moves to a monitor of another dpi.
#include "tests/win32/winewindowtest.h"
#include "win32/dpi.h"

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
        clickTab(tab);
        const RECT frame = placeOf(GetDlgItem(m_window->handle(), panelId("Frame1", tab)));
        EXPECT_TRUE(EqualRect(&frame, &display)) << tab;
        for (const ControlRow &row :
             m_window->driver().window().tabs[std::size_t(tab)].panel->controls) {
            // Found by the ID its name gives it.
            HWND w = GetDlgItem(panel(tab), controlId(row.name));
            const RECT want = pixelRect(row.rect, dpi);
            const RECT got = placeOf(w);
            EXPECT_TRUE(got.left == want.left && got.top == want.top) << row.name;
            if (row.kind == ControlKind::AutoLabel) {
                HDC dc = GetDC(w);
                SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
                const std::wstring text = wide(windowText(w));
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
    moveToDpi(other, m_window.get());
    ASSERT_EQ(m_window->dpi(), other);
    expectGeometry(other);
}

} // namespace
} // namespace korvane::win32
