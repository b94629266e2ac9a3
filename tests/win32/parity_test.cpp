// The rules both front ends share, in the real Windows window: the parity tables, with the
// diagram laid out again at 96, 120 and 144 dpi.
#include "common/raster.h"
#include "imposition/plannerwindow.h"
#include "tests/cases/paritycases.h"
#include "tests/win32/winewindowtest.h"
#include "win32/colours.h"

#include <oleacc.h>

namespace korvane::win32 {
namespace {

class ParityTest : public WindowTest
{
protected:
    HWND stop(int tab, ControlName name)
    {
        return name == "TabStrip1" ? m_window->tabStrip() : control(tab, name);
    }
    // A fresh window with `front` in front, `inputs` typed into `panel` and the focus on
    // `focus`, which it returns.
    HWND restart(int front, int panel, const std::vector<test::Entry> &inputs, ControlName focus)
    {
        TearDown();
        SetUp();
        selectTab(front);
        for (const test::Entry &input : inputs)
            enter(panel, input);
        HWND stopped = stop(front, focus);
        SetFocus(stopped);
        return stopped;
    }
    // The diagram a raster should show: ink on the window colour.
    static std::vector<std::uint32_t> expectedPicture(const Raster &raster)
    {
        std::vector<std::uint32_t> expected(std::size_t(raster.width) * std::size_t(raster.height));
        fillPixels(raster, pixelOf(GetSysColor(COLOR_WINDOW)),
                   pixelOf(GetSysColor(COLOR_WINDOWTEXT)), expected.data(),
                   std::size_t(raster.width));
        return expected;
    }
    // The focus is on `window`, or in the text field of that drop-down box.
    static bool focusIn(HWND window)
    {
        HWND focus = GetFocus();
        return focus == window || IsChild(window, focus);
    }
    void tab(bool backwards)
    {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_SHIFT] = backwards ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        pump();
        keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
    }
    // What a screen reader asks of the control: its name or its description.
    static std::u16string heard(HWND window, bool description)
    {
        IAccessible *object = nullptr;
        if (FAILED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                              reinterpret_cast<void **>(&object))))
            return u"(no accessible object)";
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        description ? object->get_accDescription(self, &text) : object->get_accName(self, &text);
        object->Release();
        std::u16string out =
            text ? std::u16string(reinterpret_cast<const char16_t *>(text)) : std::u16string();
        SysFreeString(text);
        return out;
    }
};

TEST_F(ParityTest, TabGoesRoundTheFrontPanel)
{
    for (const test::FocusCase &c : test::focusCases()) {
        SCOPED_TRACE(c.tab);
        selectTab(c.tab);
        SetFocus(m_window->tabStrip());
        for (ControlName name : c.stops) {
            tab(false);
            EXPECT_TRUE(focusIn(control(c.tab, name))) << name;
        }
        tab(false);
        EXPECT_EQ(GetFocus(), m_window->tabStrip());
        for (auto it = c.stops.rbegin(); it != c.stops.rend(); ++it) {
            tab(true);
            EXPECT_TRUE(focusIn(control(c.tab, *it))) << *it;
        }
    }
}

TEST_F(ParityTest, TabSelectsTheTextItEnters)
{
    for (const test::SelectCase &c : test::selectCases()) {
        SCOPED_TRACE(c.control);
        selectTab(c.tab);
        enter(c.tab, {c.control, c.text});
        SetFocus(stop(c.tab, c.from));
        tab(false);
        HWND box = control(c.tab, c.control);
        ASSERT_TRUE(focusIn(box));
        DWORD from = 1;
        DWORD to = 0;
        SendMessageW(GetFocus(), EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, 0u);
        EXPECT_EQ(to, DWORD(c.text.size()));
    }
}

TEST_F(ParityTest, AccessKeysPressTheirButton)
{
    for (const test::AccessKeyCase &c : test::accessKeyCases()) {
        SCOPED_TRACE(c.name);
        HWND focus = restart(c.front, c.panel, c.inputs, c.focus);
        const std::vector<SeenBox> seen =
            boxesWhile([&] { PostMessageW(GetFocus(), WM_SYSCHAR, c.key, 1 << 29); });
        EXPECT_EQ(int(seen.size()), c.boxes);
        for (const test::Entry &result : c.results)
            EXPECT_EQ(textOf(control(c.panel, result.control)), result.text);
        if (c.boxes == 0) {
            EXPECT_TRUE(focusIn(focus));
        }
    }
}

TEST_F(ParityTest, FocusStaysWhereTheUserLooks)
{
    for (const test::FocusRuleCase &c : test::focusRuleCases()) {
        SCOPED_TRACE(c.name);
        const std::u16string before = textOf(restart(c.front, 1, c.inputs, c.focus));
        const std::vector<SeenBox> seen = boxesWhile([&] {
            if (c.clicked >= 0)
                clickTab(c.clicked);
            else
                PostMessageW(GetFocus(), WM_SYSCHAR, u'c', 1 << 29);
        });
        EXPECT_EQ(int(seen.size()), c.clicked >= 0 ? 0 : 1);
        EXPECT_EQ(frontPanel(), c.frontAfter);
        EXPECT_TRUE(focusIn(stop(c.frontAfter, c.focusAfter)));
        // What is typed next goes where the user sees it, or nowhere.
        for (wchar_t typed : std::wstring(L"555"))
            SendMessageW(GetFocus(), WM_CHAR, typed, 0);
        EXPECT_EQ(textOf(control(c.front, c.focus)), before);
    }
}

TEST_F(ParityTest, KindsBehaveAlike)
{
    using A = test::KindCase::Act;
    for (const test::KindCase &c : test::kindCases()) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        selectTab(c.tab);
        HWND target = control(c.tab, c.control);
        SetFocus(target);
        HWND focus = GetFocus();
        const auto scroll = [&](int request) {
            SendMessageW(panel(c.tab), WM_VSCROLL, MAKEWPARAM(request, c.value),
                         reinterpret_cast<LPARAM>(target));
        };
        switch (c.act) {
        case A::Paste:
            putOnClipboard(c.text);
            SendMessageW(focus, WM_PASTE, 0, 0);
            break;
        case A::Type:
            SetWindowTextW(target, L"");
            for (char16_t typed : c.text)
                SendMessageW(focus, WM_CHAR, typed, 0);
            break;
        case A::Enter:
            PostMessageW(focus, WM_KEYDOWN, VK_RETURN, 0);
            PostMessageW(focus, WM_CHAR, L'\r', 0);
            break;
        case A::LetGo:
            scroll(SB_THUMBTRACK);
            scroll(SB_THUMBPOSITION);
            scroll(SB_ENDSCROLL);
            break;
        case A::DragThumb:
            scroll(SB_THUMBTRACK);
            break;
        case A::StepDown:
        case A::PageDown:
            PostMessageW(focus, WM_KEYDOWN, c.act == A::StepDown ? VK_DOWN : VK_NEXT, 0);
            break;
        }
        pump();
        EXPECT_TRUE(textOf(control(c.tab, c.shown.control)) == c.shown.text);
    }
}

TEST_F(ParityTest, PanelsKeepWhatTheyShow)
{
    const test::VisitCase visits = test::visitCase();
    for (int tab : visits.pressed) {
        selectTab(tab);
        ASSERT_TRUE(press(test::goodPress(tab)).empty());
    }
    const std::vector<std::uint32_t> drawn = m_window->surface("drawpic").picture();
    for (int tab : visits.visits) {
        selectTab(tab);
        EXPECT_EQ(frontPanel(), tab);
        for (int i = 0; i < m_window->panelCount(); ++i)
            EXPECT_TRUE(IsWindowVisible(panel(i)) && IsWindowEnabled(panel(i)));
    }
    EXPECT_EQ(m_window->surface("drawpic").picture(), drawn);
    for (int tab : visits.pressed)
        for (const test::Entry &result : test::goodPress(tab).results)
            EXPECT_EQ(textOf(control(tab, result.control)), result.text);
    EXPECT_EQ(textOf(m_window->handle()), mainWindow.caption);
}

constexpr ControlName PlannerOptions[] = {"Option51", "Option52", "Option53", "Option54"};

class PlannerTest : public ParityTest
{
protected:
    // The planner as the user opens it, from the imposition panel.
    TopLevelWindow *openPlanner(const std::vector<test::Entry> &pressed, bool byShortcut)
    {
        for (const test::Entry &input : pressed)
            enter(0, input);
        if (!pressed.empty())
            SendMessageW(control(0, "Command6"), BM_CLICK, 0, 0);
        if (byShortcut)
            key(control(0, "Text4"), true, false, 'L');
        else
            SendMessageW(panel(0), WM_COMMAND, WPARAM(4104), 0);
        pump();
        return m_window->opened(plannerWindow);
    }
    // Typed key by key over what the box held, or picked from its list.
    void type(TopLevelWindow *planner, const test::Entry &entry)
    {
        HWND box = planner->control(entry.control);
        if (GetWindowLongW(box, GWL_STYLE) & CBS_DROPDOWNLIST) {
            SendMessageW(box, CB_SELECTSTRING, WPARAM(-1),
                         reinterpret_cast<LPARAM>(wide(entry.text).c_str()));
            SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(box));
        } else {
            SetFocus(box);
            SendMessageW(box, EM_SETSEL, 0, -1);
            for (char16_t typed : entry.text)
                SendMessageW(box, WM_CHAR, typed, 0);
        }
        pump();
    }
    static int chosen(TopLevelWindow *planner)
    {
        for (int row = 0; row < 4; ++row)
            if (SendMessageW(planner->control(PlannerOptions[row]), BM_GETCHECK, 0, 0))
                return row;
        return -1;
    }
};

TEST_F(PlannerTest, OpensAndFollowsItsInputs)
{
    for (const test::PlannerCase &c : test::plannerCases()) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        TopLevelWindow *planner = openPlanner(c.pressed, c.byShortcut);
        ASSERT_TRUE(planner && IsWindowVisible(planner->handle()));
        EXPECT_EQ(textOf(planner->handle()), u"拼版方案");
        EXPECT_EQ(GetWindow(planner->handle(), GW_OWNER), m_window->handle());
        for (const test::Entry &entry : c.typed)
            type(planner, entry);
        if (c.clicked >= 0) {
            SendMessageW(planner->control(PlannerOptions[c.clicked]), BM_CLICK, 0, 0);
            pump();
        }
        for (const test::Entry &entry : c.shown)
            EXPECT_EQ(test::printable(textOf(planner->control(entry.control))),
                      test::printable(entry.text))
                << entry.control;
        EXPECT_EQ(chosen(planner), c.chosen);
    }
    // Opened again, the same window comes to the front.
    TopLevelWindow *planner = openPlanner({}, true);
    EXPECT_EQ(openPlanner({}, false), planner);
    for (const test::Entry &fault : test::plannerFaults()) {
        const std::u16string before = textOf(planner->control(fault.control));
        type(planner, fault);
        EXPECT_EQ(textOf(planner->control("Label86")), test::plannerFaultMessage(fault.control));
        EXPECT_EQ(textOf(planner->control("Label61")), u"—");
        type(planner, {fault.control, before});
        EXPECT_EQ(textOf(planner->control("Label86")), u"");
    }
}

TEST_F(PlannerTest, DiagramPixels)
{
    for (const test::PlannerPixelCase &c : test::plannerPixelCases()) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        TopLevelWindow *planner = openPlanner({}, true);
        moveToDpi(c.dpi, planner);
        for (const test::Entry &entry : c.typed)
            type(planner, entry);
        const Event &redraw = planner->driver().window().tabs[0].panel->events.back();
        const Outcome outcome = redraw.handle(planner->driver().readings(0, redraw.reads));
        EXPECT_EQ(planner->dpi(), c.dpi);
        EXPECT_TRUE(planner->surface("planpic").picture() ==
                    expectedPicture(rasterise(*std::get<Update>(outcome).drawing, c.dpi)));
    }
}

TEST_F(ParityTest, ScreenReadersHearTheTitles)
{
    for (const test::SpokenCase &c : test::spokenCases()) {
        SCOPED_TRACE(c.control);
        HWND w = control(c.tab, c.control);
        EXPECT_EQ(test::printable(heard(w, false)), test::printable(c.name));
        EXPECT_EQ(test::printable(heard(w, true)), test::printable(c.description));
    }
}

TEST_F(ParityTest, PanelsStartAsTheirTablesSay)
{
    for (const test::InitialColourCase &c : test::initialColourCases())
        EXPECT_EQ(m_window->surface(c.control).background(), colourOf(c.colour, COLOR_WINDOW))
            << c.control;
    const test::BlankDiagram blank = test::blankDiagram();
    const Surface &diagram = m_window->surface(blank.control);
    const int dpi = m_window->dpi();
    EXPECT_EQ(diagram.pictureWidth(), twipsToPixels(blank.width, dpi));
    EXPECT_EQ(diagram.pictureHeight(), twipsToPixels(blank.height, dpi));
    const std::uint32_t paper = pixelOf(GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(std::all_of(diagram.picture().begin(), diagram.picture().end(),
                            [paper](std::uint32_t pixel) { return pixel == paper; }));
}

// Exactly what the rasteriser makes of the press at each dpi: ink there, paper everywhere
// else, in the backing bitmap and on the screen.
TEST_F(ParityTest, DiagramPixels)
{
    const Event &view = m_window->driver().window().tabs[0].panel->events[0];
    for (const test::DiagramCase &c : test::diagramCases()) {
        SCOPED_TRACE(c.name);
        moveToDpi(c.dpi);
        for (const test::Entry &input : c.inputs)
            enter(0, input);
        const Outcome outcome = view.handle(m_window->driver().readings(0, view.reads));
        SendMessageW(control(0, "Command6"), BM_CLICK, 0, 0);
        pump();
        const Raster raster = rasterise(*std::get<Update>(outcome).drawing, c.dpi);
        const Surface &surface = m_window->surface("drawpic");
        ASSERT_EQ(surface.pictureWidth(), raster.width);
        ASSERT_EQ(surface.pictureHeight(), raster.height);
        const std::vector<std::uint32_t> expected = expectedPicture(raster);
        EXPECT_TRUE(surface.picture() == expected);

        // What the box paints is its bitmap.
        HWND box = control(0, "drawpic");
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        HDC screen = GetDC(box);
        HDC copy = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateCompatibleBitmap(screen, raster.width, raster.height);
        HGDIOBJ old = SelectObject(copy, bitmap);
        BitBlt(copy, 0, 0, raster.width, raster.height, screen, 0, 0, SRCCOPY);
        int wrong = 0;
        for (int y = 0; y < raster.height; y += 3)
            for (int x = 0; x < raster.width; ++x)
                wrong += pixelOf(GetPixel(copy, x, y)) !=
                         expected[std::size_t(y) * std::size_t(raster.width) + std::size_t(x)];
        SelectObject(copy, old);
        DeleteObject(bitmap);
        DeleteDC(copy);
        ReleaseDC(box, screen);
        EXPECT_EQ(wrong, 0);
    }
}

} // namespace
} // namespace korvane::win32
