// What the Windows front end adds to the panels' handlers, in the real window: the control
// tree and IDs, geometry at 96 and 144 dpi, the real error box and the focus after it,
// results in the labels, the diagram's pixels, tabs and keys. The cases are the handler
// tests' own.
#include "app/window.h"
#include "imposition/grid.h"
#include "tests/cases/panelcases.h"
#include "win32/controlid.h"
#include "win32/dpi.h"
#include "win32/mainwindow.h"
#include "win32/text.h"

#include <algorithm>
#include <clocale>
#include <commctrl.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace korvane::win32 {
namespace {

std::string className(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return std::string(name, name + lstrlenW(name));
}

std::u16string textOf(HWND window)
{
    return windowText(window);
}

// A rectangle of a child window in its parent's client coordinates.
RECT placeOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// What an error box showed before the hook answered it with OK.
struct SeenBox
{
    std::u16string title;
    std::u16string text;
    bool stopIcon = false;
    int buttons = 0;
    bool okButton = false;
};

std::vector<SeenBox> *g_seen = nullptr;
std::vector<HWND> g_answered;

// Reads and answers with OK every error box of this thread; runs from a timer, which the
// box's own modal loop dispatches.
void CALLBACK answerBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND box, LPARAM) -> BOOL {
            if (className(box) != "#32770" || !IsWindowVisible(box) ||
                std::find(g_answered.begin(), g_answered.end(), box) != g_answered.end())
                return TRUE;
            g_answered.push_back(box);
            SeenBox seen;
            seen.title = windowText(box);
            const HICON stop = LoadIconW(nullptr, MAKEINTRESOURCEW(32513)); // IDI_ERROR
            for (HWND child = GetWindow(box, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                const std::string kind = className(child);
                if (kind == "Button") {
                    ++seen.buttons;
                    seen.okButton = seen.okButton || GetDlgCtrlID(child) == IDOK;
                } else if (kind == "Static") {
                    if (GetWindowLongW(child, GWL_STYLE) & SS_ICON)
                        seen.stopIcon =
                            reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == stop;
                    else if (!windowText(child).empty())
                        seen.text = windowText(child);
                }
            }
            if (g_seen)
                g_seen->push_back(seen);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return TRUE;
        },
        0);
}

class WindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_window = std::make_unique<MainWindow>(GetModuleHandleW(nullptr));
        ShowWindow(m_window->handle(), SW_SHOWNORMAL);
        SetForegroundWindow(m_window->handle());
        pump();
        m_answering = SetTimer(nullptr, 0, 5, answerBoxes);
    }
    void TearDown() override
    {
        KillTimer(nullptr, m_answering);
        m_window.reset();
        pump();
    }

    // Runs the window's messages until none is left, as the program's loop does.
    void pump()
    {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (m_window && m_window->takeKey(message))
                continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

    HWND panel(int tab) const { return m_window->panel(tab).handle(); }
    HWND control(int tab, ControlName name) const
    {
        HWND found = GetDlgItem(panel(tab), controlId(name));
        EXPECT_TRUE(found) << name;
        return found;
    }
    void enter(int tab, const test::Entry &entry)
    {
        SetWindowTextW(control(tab, entry.control), wide(entry.text).c_str());
    }
    std::vector<SeenBox> press(const test::PressCase &c)
    {
        for (const test::Entry &input : c.inputs)
            enter(c.tab, input);
        std::vector<SeenBox> seen;
        g_seen = &seen;
        SendMessageW(control(c.tab, c.button), BM_CLICK, 0, 0);
        pump();
        g_seen = nullptr;
        return seen;
    }
    void selectTab(int tab)
    {
        // Unlike TCM_SETCURSEL, this tells the window, as a click does.
        SendMessageW(m_window->tabStrip(), TCM_SETCURFOCUS, WPARAM(tab), 0);
        pump();
    }
    // The panel on top of the others.
    int frontPanel() const
    {
        for (HWND w = GetWindow(panel(0), GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT))
            for (int i = 0; i < m_window->panelCount(); ++i)
                if (w == panel(i))
                    return i;
        return -1;
    }

    void expectGeometry(int dpi);

    std::unique_ptr<MainWindow> m_window;
    UINT_PTR m_answering = 0;
};

void WindowTest::expectGeometry(int dpi)
{
    const WindowSpec &description = mainWindow;
    HWND main = m_window->handle();
    RECT client;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, twipsToPixels(description.clientWidth, dpi));
    EXPECT_EQ(client.bottom, twipsToPixels(description.clientHeight, dpi));

    HWND tabs = GetDlgItem(main, controlId(description.tabStrip));
    ASSERT_EQ(tabs, m_window->tabStrip());
    const RECT strip = pixelRect(description.tabStripRect, dpi);
    const RECT stripAt = placeOf(tabs);
    EXPECT_EQ(stripAt.left, strip.left);
    EXPECT_EQ(stripAt.top, strip.top);
    EXPECT_EQ(stripAt.right, strip.right);
    EXPECT_EQ(stripAt.bottom, strip.bottom);

    // The panels cover the strip's display rectangle, below its tabs, large enough for the
    // contents.
    RECT tabRow;
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tabRow));
    const RECT display = placeOf(panel(0));
    EXPECT_GT(display.top, stripAt.top + tabRow.bottom - 1);
    EXPECT_GE(display.right - display.left, twipsToPixels(1560 + 3135, dpi));
    EXPECT_GE(display.bottom - display.top, twipsToPixels(720 + 2415, dpi));

    for (int tab = 0; tab < m_window->panelCount(); ++tab) {
        HWND frame = GetDlgItem(main, panelId(tab));
        ASSERT_EQ(frame, panel(tab));
        const RECT at = placeOf(frame);
        EXPECT_TRUE(EqualRect(&at, &display)) << tab;
        for (const ControlSpec &row : m_window->panel(tab).table().controls) {
            SCOPED_TRACE(std::string(row.name));
            HWND w = control(tab, row.name);
            ASSERT_TRUE(w);
            EXPECT_EQ(GetParent(w), frame);
            const RECT want = pixelRect(row.rect, dpi);
            const RECT got = placeOf(w);
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            switch (row.kind) {
            case ControlKind::AutoLabel:
                // Sized to the text in the label's font: it all fits.
                {
                    HDC dc = GetDC(w);
                    SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
                    const std::u16string text = textOf(w);
                    SIZE size{};
                    GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t *>(text.data()),
                                          int(text.size()), &size);
                    ReleaseDC(w, dc);
                    EXPECT_GE(got.right - got.left, size.cx);
                    EXPECT_GE(got.bottom - got.top, size.cy);
                }
                break;
            case ControlKind::Diagram:
                break; // sized to the sheet by each press
            default:
                EXPECT_EQ(got.right - got.left, want.right - want.left);
                EXPECT_EQ(got.bottom - got.top, want.bottom - want.top);
                break;
            }
        }
    }
}

TEST_F(WindowTest, ControlTreeAndIds)
{
    HWND main = m_window->handle();
    EXPECT_EQ(textOf(main), mainWindow.caption);
    EXPECT_EQ(className(m_window->tabStrip()), "SysTabControl32");
    EXPECT_EQ(GetParent(m_window->tabStrip()), main);
    ASSERT_EQ(SendMessageW(m_window->tabStrip(), TCM_GETITEMCOUNT, 0, 0),
              LRESULT(mainWindow.tabs.size()));
    for (std::size_t i = 0; i < mainWindow.tabs.size(); ++i) {
        wchar_t caption[32] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption;
        item.cchTextMax = 32;
        SendMessageW(m_window->tabStrip(), TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(wide(mainWindow.tabs[i].caption), caption);
    }
    EXPECT_EQ(SendMessageW(m_window->tabStrip(), TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(frontPanel(), 0);

    for (int tab = 0; tab < m_window->panelCount(); ++tab) {
        for (const ControlSpec &row : m_window->panel(tab).table().controls) {
            SCOPED_TRACE(std::string(row.name));
            HWND w = control(tab, row.name);
            ASSERT_TRUE(w);
            const std::string kind = className(w);
            switch (row.kind) {
            case ControlKind::Label:
            case ControlKind::AutoLabel:
                EXPECT_EQ(kind, "Static");
                EXPECT_EQ(textOf(w), row.text);
                break;
            case ControlKind::TextBox:
                EXPECT_EQ(kind, "Edit");
                EXPECT_EQ(textOf(w), row.text);
                break;
            case ControlKind::DropDown:
                EXPECT_EQ(kind, "ComboBox");
                EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & 3, CBS_DROPDOWN);
                EXPECT_EQ(textOf(w), row.text);
                ASSERT_EQ(SendMessageW(w, CB_GETCOUNT, 0, 0), LRESULT(row.items.size()));
                for (std::size_t i = 0; i < row.items.size(); ++i) {
                    wchar_t item[64] = {};
                    SendMessageW(w, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item));
                    EXPECT_EQ(wide(row.items[i]), item);
                }
                break;
            case ControlKind::Button:
                EXPECT_EQ(kind, "Button");
                EXPECT_EQ(textOf(w), row.text);
                // No default button: Enter presses nothing.
                EXPECT_EQ(GetWindowLongW(w, GWL_STYLE) & 0xF, BS_PUSHBUTTON);
                break;
            case ControlKind::VScrollBar: {
                EXPECT_EQ(kind, "ScrollBar");
                EXPECT_TRUE(GetWindowLongW(w, GWL_STYLE) & SBS_VERT);
                int low = -1;
                int high = -1;
                GetScrollRange(w, SB_CTL, &low, &high);
                EXPECT_EQ(low, row.scroll.minimum);
                EXPECT_EQ(high, row.scroll.maximum);
                break;
            }
            case ControlKind::PictureBox:
            case ControlKind::Diagram:
            case ControlKind::Image:
                EXPECT_EQ(kind, "KorvaneSurface");
                break;
            }
        }
        // A screen reader names an input by the label just before it in the z-order.
        for (const CaptionSpec &caption : m_window->panel(tab).table().captions) {
            HWND first = control(tab, caption.controls.front());
            if (className(first) != "Static") {
                EXPECT_EQ(GetWindow(first, GW_HWNDPREV), control(tab, caption.caption))
                    << caption.caption;
            }
        }
    }
}

TEST_F(WindowTest, GeometryAt96And144Dpi)
{
    // Run in a prefix of 96 dpi and in one of 144 dpi.
    if (const char *expected = std::getenv("KORVANE_EXPECTED_DPI")) {
        ASSERT_EQ(m_window->dpi(), std::atoi(expected));
    }
    expectGeometry(m_window->dpi());
    // Moved to a monitor of the other DPI: laid out again from the twips.
    const int other = m_window->dpi() == 144 ? 96 : 144;
    // The system suggests the window's new outer rectangle; here its frame stays as it is.
    RECT suggested;
    RECT client;
    GetWindowRect(m_window->handle(), &suggested);
    GetClientRect(m_window->handle(), &client);
    suggested.right += twipsToPixels(mainWindow.clientWidth, other) - client.right;
    suggested.bottom += twipsToPixels(mainWindow.clientHeight, other) - client.bottom;
    SendMessageW(m_window->handle(), WM_DPICHANGED, MAKEWPARAM(other, other),
                 reinterpret_cast<LPARAM>(&suggested));
    pump();
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
        const std::vector<std::uint32_t> picture = m_window->panel(0).surface("drawpic").picture();
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
        EXPECT_EQ(m_window->panel(0).surface("drawpic").picture(), picture);
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
            const Surface &surface = m_window->panel(tab).surface(box);
            const COLORREF expected =
                colour ? RGB(colour->r, colour->g, colour->b)
                       : systemColour(findControl(m_window->panel(tab).table(), box)->background);
            EXPECT_EQ(surface.background(), expected) << box;
        }
    }
}

TEST_F(WindowTest, ScrollBarStepsAndKeys)
{
    selectTab(test::ColourTab);
    HWND bar = control(test::ColourTab, "VScroll2");
    HWND value = control(test::ColourTab, "Label34");
    const auto scroll = [&](int request) {
        SendMessageW(panel(test::ColourTab), WM_VSCROLL, MAKEWPARAM(request, 0),
                     reinterpret_cast<LPARAM>(bar));
    };
    scroll(SB_PAGEDOWN);
    EXPECT_EQ(textOf(value), u"10");
    scroll(SB_LINEDOWN);
    EXPECT_EQ(textOf(value), u"11");
    // While the thumb is dragged nothing follows it.
    SendMessageW(panel(test::ColourTab), WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 200),
                 reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(textOf(value), u"11");
    scroll(SB_BOTTOM);
    EXPECT_EQ(textOf(value), u"255");
    scroll(SB_LINEDOWN);
    EXPECT_EQ(textOf(value), u"255");
    // From the keyboard: the scroll bar takes the focus and steps with the arrow keys.
    SetFocus(bar);
    PostMessageW(bar, WM_KEYDOWN, VK_HOME, 0);
    PostMessageW(bar, WM_KEYDOWN, VK_DOWN, 0);
    pump();
    EXPECT_EQ(textOf(value), u"1");
}

TEST_F(WindowTest, AccessKeyAndEnter)
{
    selectTab(1);
    HWND grammage = control(1, "Text1");
    SetFocus(grammage);
    PostMessageW(grammage, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageW(grammage, WM_CHAR, L'\r', 0);
    pump();
    EXPECT_EQ(textOf(control(1, "Label9")), u"0");
    // Alt+C presses "换算(&C)".
    PostMessageW(grammage, WM_SYSCHAR, L'c', 1 << 29);
    pump();
    EXPECT_EQ(textOf(control(1, "Label9")), u"25.78212");
    EXPECT_EQ(GetFocus(), grammage);
}

TEST_F(WindowTest, TabGoesRoundTheFrontPanel)
{
    for (int tab = 0; tab < m_window->panelCount(); ++tab) {
        SCOPED_TRACE(tab);
        selectTab(tab);
        SetFocus(m_window->tabStrip());
        std::vector<HWND> order = {m_window->tabStrip()};
        for (const ControlSpec &row : m_window->panel(tab).table().controls)
            if (row.kind == ControlKind::TextBox || row.kind == ControlKind::DropDown ||
                row.kind == ControlKind::Button || row.kind == ControlKind::VScrollBar)
                order.push_back(control(tab, row.name));
        const auto at = [](HWND stop) {
            HWND focus = GetFocus();
            return focus == stop || IsChild(stop, focus);
        };
        for (std::size_t i = 1; i <= order.size(); ++i) {
            PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
            pump();
            EXPECT_TRUE(at(order[i % order.size()])) << i;
        }
    }
}

TEST_F(WindowTest, TabsKeepEveryPanel)
{
    ASSERT_TRUE(press(test::goodPress(0)).empty());
    selectTab(1);
    ASSERT_TRUE(press(test::goodPress(1)).empty());
    const std::vector<std::uint32_t> drawn = m_window->panel(0).surface("drawpic").picture();
    for (int tab : {4, 2, 2, 3, 1, 0}) {
        selectTab(tab);
        EXPECT_EQ(frontPanel(), tab);
        for (int i = 0; i < m_window->panelCount(); ++i)
            EXPECT_TRUE(IsWindowVisible(panel(i)) && IsWindowEnabled(panel(i)));
    }
    EXPECT_EQ(m_window->panel(0).surface("drawpic").picture(), drawn);
    for (int tab : {0, 1})
        for (const test::Entry &result : test::goodPress(tab).results)
            EXPECT_EQ(textOf(control(tab, result.control)), result.text);
    EXPECT_EQ(textOf(m_window->handle()), mainWindow.caption);
}

// The diagram is exactly what the grid routine's pixels make of the press: ink there, paper
// everywhere else, in the backing bitmap and on the screen.
TEST_F(WindowTest, DiagramPixels)
{
    const std::vector<test::Entry> presses[] = {
        {{"Combo2", u"横竖混排"},
         {"Text4", u"1092"},
         {"Text5", u"787"},
         {"Text6", u"210"},
         {"Text7", u"297"}},
        {{"Combo2", u"横排"},
         {"Text4", u"1000"},
         {"Text5", u"500"},
         {"Text6", u"250"},
         {"Text7", u"125"}},
    };
    const EventSpec &view = m_window->panel(0).table().events[0];
    for (const auto &inputs : presses) {
        std::vector<Reading> readings;
        for (ControlName name : view.reads) {
            for (const test::Entry &input : inputs)
                if (input.control == name)
                    enter(0, input);
            readings.push_back({textOf(control(0, name))});
        }
        SendMessageW(control(0, "Command6"), BM_CLICK, 0, 0);
        pump();
        const Drawing drawing = *std::get<Update>(view.handle(readings)).drawing;

        const int dpi = m_window->dpi();
        const Surface &surface = m_window->panel(0).surface("drawpic");
        const int width = surface.pictureWidth();
        const int height = surface.pictureHeight();
        ASSERT_EQ(width, twipsToPixels(drawing.width, dpi));
        ASSERT_EQ(height, twipsToPixels(drawing.height, dpi));
        const auto pixel = [](COLORREF c) {
            return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) |
                   GetBValue(c);
        };
        std::vector<std::uint32_t> expected(std::size_t(width) * std::size_t(height),
                                            pixel(GetSysColor(COLOR_WINDOW)));
        for (const GridBlock &block : drawing.blocks)
            for (const auto &r : imposition::gridPixels(block, dpi / 1440.0, width, height))
                for (int y = r.y; y < r.y + r.height; ++y)
                    for (int x = r.x; x < r.x + r.width; ++x)
                        expected[std::size_t(y) * std::size_t(width) + std::size_t(x)] =
                            pixel(GetSysColor(COLOR_WINDOWTEXT));
        EXPECT_EQ(surface.picture(), expected);

        // What the box paints is its bitmap.
        HWND box = control(0, "drawpic");
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC screen = GetDC(box);
        HDC copy = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
        HGDIOBJ old = SelectObject(copy, bitmap);
        BitBlt(copy, 0, 0, width, height, screen, 0, 0, SRCCOPY);
        int wrong = 0;
        for (int y = 0; y < height; y += 3)
            for (int x = 0; x < width; ++x)
                wrong += pixel(GetPixel(copy, x, y)) !=
                         expected[std::size_t(y) * std::size_t(width) + std::size_t(x)];
        EXPECT_EQ(wrong, 0);
        SelectObject(copy, old);
        DeleteObject(bitmap);
        DeleteDC(copy);
        ReleaseDC(box, screen);
    }
}

} // namespace
} // namespace korvane::win32
