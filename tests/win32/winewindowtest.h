#pragma once

// The real Windows window in-process under Wine, for the tests, and that window as the shared
// checks probe it: a fresh window for each test, its messages pumped as the program's loop
// does, every error box read and answered.

#include "app/mainwindow.h"
#include "imposition/plannerwindow.h"
#include "tests/cases/windowprobe.h"
#include "win32/colours.h"
#include "win32/controlid.h"
#include "win32/text.h"
#include "win32/toplevelwindow.h"

#include <algorithm>
#include <array>
#include <commctrl.h>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <oleacc.h>
#include <string>
#include <vector>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace korvane::win32 {

inline std::string className(HWND window)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return std::string(name, name + lstrlenW(name));
}

// A rectangle of a child window in its parent's client coordinates.
inline RECT placeOf(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT *>(&r), 2);
    return r;
}

// A GDI colour as the backing bitmaps hold it: 0x00RRGGBB.
inline std::uint32_t pixelOf(COLORREF c)
{
    return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// The top-level windows of this thread: the program's, its boxes, dialogs and menus.
inline std::vector<HWND> threadWindows()
{
    std::vector<HWND> all;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM list) -> BOOL {
            reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    return all;
}

inline ULONGLONG g_actionStarted = 0; // GetTickCount64 at the start of the action running

// What a message box shows; `stopAndOk` for the stop icon and an OK button alone.
inline test::SeenBox readBox(HWND box)
{
    test::SeenBox seen{
        windowText(box), {}, false, std::int64_t(GetTickCount64() - g_actionStarted)};
    const HICON stop = LoadIconW(nullptr, MAKEINTRESOURCEW(32513)); // IDI_ERROR
    int buttons = 0;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (className(child) == "Button")
            buttons += GetDlgCtrlID(child) == IDOK ? 1 : 2;
        else if (GetWindowLongW(child, GWL_STYLE) & SS_ICON)
            seen.stopAndOk =
                reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0)) == stop;
        else if (!windowText(child).empty())
            seen.text = windowText(child);
    }
    seen.stopAndOk = seen.stopAndOk && buttons == 1;
    return seen;
}

inline std::vector<test::SeenBox> *g_seen = nullptr;
inline std::vector<HWND> g_answered;

// An error box read and answered with OK.
inline void answerWithOk(HWND box)
{
    if (className(box) != "#32770")
        return;
    if (g_seen)
        g_seen->push_back(readBox(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}
// How a test answers the boxes, dialogs and menus of this thread.
inline void (*g_answer)(HWND window) = answerWithOk;

// Answers each box, dialog and menu of this thread once; runs from a timer, which their own
// modal loops dispatch.
inline void CALLBACK answerBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    for (HWND window : threadWindows()) {
        const std::string kind = className(window);
        if ((kind == "#32770" || kind == "#32768") && IsWindowVisible(window) &&
            IsWindowEnabled(window) &&
            std::find(g_answered.begin(), g_answered.end(), window) == g_answered.end()) {
            g_answered.push_back(window);
            g_answer(window);
        }
    }
}

// What a screen reader hears of a window.
inline test::Spoken heardOf(HWND window)
{
    IAccessible *object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, DWORD(OBJID_CLIENT), IID_IAccessible,
                                          reinterpret_cast<void **>(&object))))
        return {{u"(no accessible object)"}, {}};
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr, description = nullptr;
    object->get_accName(self, &name);
    object->get_accDescription(self, &description);
    object->Release();
    const auto text = [](BSTR held) {
        const std::u16string out = held ? reinterpret_cast<const char16_t *>(held) : u"";
        SysFreeString(held);
        return out;
    };
    return {{text(name)}, text(description)};
}

// What `window` shows on the screen, `width` by `height` pixels from its top left corner.
inline std::vector<std::uint32_t> screenPixels(HWND window, int width, int height)
{
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    HDC screen = GetDC(window);
    std::vector<std::uint32_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.push_back(pixelOf(GetPixel(screen, x, y)));
    ReleaseDC(window, screen);
    return pixels;
}

class WindowTest : public ::testing::Test, public test::WindowProbe
{
protected:
    void SetUp() override
    {
        settingsFolder();
        m_window = std::make_unique<TopLevelWindow>(mainWindow, GetModuleHandleW(nullptr));
        ShowWindow(m_window->handle(), SW_SHOWNORMAL);
        SetForegroundWindow(m_window->handle());
        pump();
        g_seen = &m_boxes;
        g_answered.clear();
        m_answering = SetTimer(nullptr, 0, 5, answerBoxes);
    }
    void TearDown() override
    {
        KillTimer(nullptr, m_answering);
        g_seen = nullptr;
        m_boxes.clear();
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
    template <typename Action> void act(Action &&action)
    {
        g_actionStarted = GetTickCount64();
        action();
        pump();
    }

    HWND panel(int tab) const { return m_window->panel(tab); }
    TopLevelWindow *windowFor(const WindowDescription &window) const
    {
        return &window == &mainWindow ? m_window.get() : m_window->opened(window);
    }
    // The control `name` on the main window or the planner; null before the planner opens.
    HWND find(ControlName name) const
    {
        if (name == mainWindow.tabStrip)
            return m_window->tabStrip();
        const TopLevelWindow *window = windowFor(test::windowOf(name));
        return window ? window->control(name) : nullptr;
    }
    // Moved to a monitor of `dpi`, the window's client area keeping its size in twips; the
    // system suggests the new outer rectangle, and here the frame stays as it was.
    void moveToDpi(int dpi, TopLevelWindow *window)
    {
        const WindowDescription &description = window->driver().window();
        RECT outer;
        RECT client;
        GetWindowRect(window->handle(), &outer);
        GetClientRect(window->handle(), &client);
        outer.right += twipsToPixels(description.clientWidth, dpi) - client.right;
        outer.bottom += twipsToPixels(description.clientHeight, dpi) - client.bottom;
        SendMessageW(window->handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&outer));
        pump();
    }
    void putOnClipboard(std::u16string_view text)
    {
        OpenClipboard(m_window->handle());
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
        auto *held = static_cast<char16_t *>(GlobalLock(memory));
        *std::copy(text.begin(), text.end(), held) = 0;
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }

    void restart() override
    {
        TearDown();
        SetUp();
    }
    // The window of `control` made active, as the mouse going down on it makes it.
    void activate(HWND control)
    {
        SetForegroundWindow(GetAncestor(control, GA_ROOT));
        pump();
    }
    // A tab clicked in its middle, as the mouse gives it.
    void clickAt(ControlName name, int tab) override
    {
        const HWND w = find(name);
        activate(w);
        RECT r;
        SendMessageW(m_window->tabStrip(), TCM_GETITEMRECT, WPARAM(tab),
                     reinterpret_cast<LPARAM>(&r));
        const LPARAM at = MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        act([&] {
            if (w != m_window->tabStrip())
                return void(SendMessageW(w, BM_CLICK, 0, 0));
            SendMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, at);
            SendMessageW(w, WM_LBUTTONUP, 0, at);
        });
    }
    void focus(ControlName name) override
    {
        SetFocus(find(name));
        pump();
    }
    // Through the window's own loop, with Ctrl and Shift held as the key says.
    void key(const test::Key &key) override
    {
        using C = test::Key::Code;
        constexpr WPARAM Keys[] = {VK_TAB,   VK_RETURN, VK_UP,   VK_DOWN, VK_LEFT,
                                   VK_RIGHT, VK_PRIOR,  VK_NEXT, VK_HOME, VK_END};
        const HWND to = GetFocus() ? GetFocus() : m_window->handle();
        BYTE keys[256] = {};
        keys[VK_SHIFT] = key.shift ? 0x80 : 0;
        keys[VK_CONTROL] = key.control ? 0x80 : 0;
        SetKeyboardState(keys);
        act([&] {
            if (key.code == C::Character && !key.control && !key.alt)
                SendMessageW(to, WM_CHAR, key.character, 0);
            else if (key.alt)
                PostMessageW(to, WM_SYSCHAR, key.character, 1 << 29);
            else
                PostMessageW(
                    to, WM_KEYDOWN,
                    key.code == C::Character ? upperCase(key.character) : Keys[int(key.code)], 0);
            if (key.code == C::Enter)
                PostMessageW(to, WM_CHAR, L'\r', 0);
        });
        SetKeyboardState(std::array<BYTE, 256>{}.data());
    }
    void enterText(ControlName name, std::u16string_view text, bool pasted) override
    {
        if (pasted)
            putOnClipboard(text);
        focus(name);
        act([&] {
            // A drop-down box's focus is its text field.
            SendMessageW(GetFocus(), EM_SETSEL, 0, -1);
            if (pasted)
                SendMessageW(GetFocus(), WM_PASTE, 0, 0);
            for (char16_t typed : pasted ? std::u16string_view() : text)
                SendMessageW(GetFocus(), WM_CHAR, typed, 0);
        });
    }
    void pick(ControlName name, int item) override
    {
        const HWND box = find(name);
        act([&] {
            SendMessageW(box, CB_SETCURSEL, WPARAM(item), 0);
            SendMessageW(GetParent(box), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box), CBN_SELCHANGE),
                         reinterpret_cast<LPARAM>(box));
        });
    }
    // A scroll bar's owner moves the thumb itself: the thumb let go is dragged there first.
    void scroll(ControlName name, ScrollRequest request, int thumb) override
    {
        const HWND bar = find(name);
        const auto send = [&](int code) {
            SendMessageW(GetParent(bar), WM_VSCROLL, MAKEWPARAM(code, thumb),
                         reinterpret_cast<LPARAM>(bar));
        };
        act([&] {
            if (request == ScrollRequest::ThumbReleased)
                send(SB_THUMBTRACK);
            send(int(request));
            send(SB_ENDSCROLL);
        });
    }
    void run(std::string_view command) override
    {
        for (const CommandEntry &entry : m_window->driver().commands())
            if (entry.command->id == command)
                act([&] {
                    SendMessageW(panel(entry.panel), WM_COMMAND, WPARAM(commandId(entry.index)), 0);
                });
    }
    void close(const WindowDescription &window) override
    {
        act([&] { SendMessageW(windowFor(window)->handle(), WM_CLOSE, 0, 0); });
    }

    test::Shown shown(ControlName name) override
    {
        const HWND w = find(name);
        if (!w)
            return {};
        const ControlKind kind = test::rowOf(name).kind;
        test::Shown shown{windowText(w), GetScrollPos(w, SB_CTL), bool(IsWindowEnabled(w)), {}, 0};
        if (kind != ControlKind::VScrollBar)
            shown.value = SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED;
        DWORD from = 0, to = 0;
        SendMessageW(w, kind == ControlKind::TextBox ? EM_GETSEL : CB_GETEDITSEL,
                     reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        if (from <= to && to <= shown.text.size())
            shown.selected = shown.text.substr(from, to - from);
        if (kind == ControlKind::PictureBox)
            shown.background = pixelOf(windowFor(test::windowOf(name))->surface(name).background());
        return shown;
    }
    std::string focused() override
    {
        const HWND focus = GetFocus();
        for (const WindowDescription *window : {&mainWindow, &plannerWindow})
            for (const Tab &tab : window->tabs)
                for (const ControlRow &row : tab.panel->controls)
                    if (const HWND at = find(row.name);
                        focus && at && (at == focus || IsChild(at, focus)))
                        return std::string(row.name);
        return focus && focus == m_window->tabStrip() ? "TabStrip1" : "";
    }
    // The panel on top of the others.
    int frontPanel() override
    {
        for (HWND w = GetWindow(panel(0), GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT))
            for (int i = 0; i < m_window->panelCount(); ++i)
                if (w == panel(i))
                    return i;
        return -1;
    }
    bool panelsShown() override
    {
        for (int i = 0; i < m_window->panelCount(); ++i)
            if (!IsWindowVisible(panel(i)) || !IsWindowEnabled(panel(i)))
                return false;
        return true;
    }
    test::Spoken heard(ControlName name) override { return heardOf(find(name)); }
    std::uint32_t colour(const Colour &colour) override
    {
        return pixelOf(colourOf(colour, COLOR_WINDOW));
    }
    test::Picture picture(ControlName name, bool painted) override
    {
        const Surface &surface = windowFor(test::windowOf(name))->surface(name);
        test::Picture picture{surface.pictureWidth(), surface.pictureHeight(), surface.picture()};
        if (painted)
            picture.pixels = screenPixels(find(name), picture.width, picture.height);
        return picture;
    }
    int dpi(ControlName diagram, int wanted) override
    {
        TopLevelWindow *window = windowFor(test::windowOf(diagram));
        if (wanted)
            moveToDpi(wanted, window);
        EXPECT_TRUE(!wanted || window->dpi() == wanted) << diagram << " not moved to " << wanted;
        return window->dpi();
    }
    std::vector<test::SeenBox> boxes() override { return std::exchange(m_boxes, {}); }
    std::vector<test::ShownWindow> windows() override
    {
        std::vector<test::ShownWindow> all;
        for (HWND window : threadWindows())
            if (className(window) == "KorvaneMain" || className(window) == "#32770")
                all.push_back({windowText(window), bool(IsWindowVisible(window)),
                               GetWindow(window, GW_OWNER) == m_window->handle()});
        return all;
    }
    std::vector<Reading> readings(ControlName diagram, std::span<const ControlName> reads) override
    {
        return windowFor(test::windowOf(diagram))->driver().readings(0, reads);
    }
    // %APPDATA% a folder of the test process's own, apart from the user's settings.
    static std::filesystem::path settingsFolder()
    {
        static const std::filesystem::path folder = [] {
            wchar_t temp[MAX_PATH] = {};
            GetTempPathW(MAX_PATH, temp);
            const std::filesystem::path made =
                std::filesystem::path(temp) / ("korvane-" + std::to_string(GetCurrentProcessId()));
            std::filesystem::create_directories(made);
            SetEnvironmentVariableW(L"APPDATA", made.c_str());
            return made;
        }();
        return folder / "Korvane";
    }
    void prepareSettings(std::string_view name, std::optional<std::string> bytes,
                         bool writable) override
    {
        const std::filesystem::path folder = settingsFolder();
        std::filesystem::remove_all(folder);
        if (!writable)
            std::ofstream(folder) << "a file";
        else if (bytes && std::filesystem::create_directories(folder))
            std::ofstream(folder / (std::string(name) + ".conf"), std::ios::binary) << *bytes;
    }

    std::unique_ptr<TopLevelWindow> m_window;
    std::vector<test::SeenBox> m_boxes;
    UINT_PTR m_answering = 0;
};

} // namespace korvane::win32
