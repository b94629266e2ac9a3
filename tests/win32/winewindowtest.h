#pragma once

// The real Windows window in-process under Wine, for the tests: a fresh window for each
// test, its messages pumped as the program's loop does, every error box read and answered.

#include "app/mainwindow.h"
#include "tests/cases/panelcases.h"
#include "win32/controlid.h"
#include "win32/text.h"
#include "win32/toplevelwindow.h"

#include <algorithm>
#include <array>
#include <commctrl.h>
#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
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

inline std::u16string textOf(HWND window)
{
    return windowText(window);
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

// What an error box showed before the hook answered it with OK.
struct SeenBox
{
    std::u16string title;
    std::u16string text;
    bool stopIcon = false;
    int buttons = 0;
    bool okButton = false;
    ULONGLONG seenAt = 0; // GetTickCount64 when the box was read
};

// What a message box shows.
inline SeenBox readBox(HWND box)
{
    SeenBox seen;
    seen.title = windowText(box);
    seen.seenAt = GetTickCount64();
    const HICON stop = LoadIconW(nullptr, MAKEINTRESOURCEW(32513)); // IDI_ERROR
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
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
    return seen;
}

inline std::vector<SeenBox> *g_seen = nullptr;
inline std::vector<HWND> g_answered;

// Reads and answers with OK every error box of this thread; runs from a timer, which the
// box's own modal loop dispatches.
inline void CALLBACK answerBoxes(HWND, UINT, UINT_PTR, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND box, LPARAM) -> BOOL {
            if (className(box) != "#32770" || !IsWindowVisible(box) ||
                std::find(g_answered.begin(), g_answered.end(), box) != g_answered.end())
                return TRUE;
            g_answered.push_back(box);
            if (g_seen)
                g_seen->push_back(readBox(box));
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
        m_window = std::make_unique<TopLevelWindow>(mainWindow, GetModuleHandleW(nullptr));
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

    HWND panel(int tab) const { return m_window->panel(tab); }
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
    // The error boxes seen, and answered, while `act` runs and its messages are handled.
    std::vector<SeenBox> boxesWhile(const std::function<void()> &act)
    {
        std::vector<SeenBox> seen;
        g_seen = &seen;
        act();
        pump();
        g_seen = nullptr;
        return seen;
    }
    std::vector<SeenBox> press(const test::PressCase &c)
    {
        for (const test::Entry &input : c.inputs)
            enter(c.tab, input);
        return boxesWhile([&] { SendMessageW(control(c.tab, c.button), BM_CLICK, 0, 0); });
    }
    // A click on the middle of tab `index`, as the mouse gives it.
    void clickTab(int index)
    {
        RECT tab;
        SendMessageW(m_window->tabStrip(), TCM_GETITEMRECT, WPARAM(index),
                     reinterpret_cast<LPARAM>(&tab));
        const LPARAM at = MAKELPARAM((tab.left + tab.right) / 2, (tab.top + tab.bottom) / 2);
        SendMessageW(m_window->tabStrip(), WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(m_window->tabStrip(), WM_LBUTTONUP, 0, at);
    }
    void selectTab(int tab)
    {
        // Unlike TCM_SETCURSEL, this tells the window, as a click does.
        SendMessageW(m_window->tabStrip(), TCM_SETCURFOCUS, WPARAM(tab), 0);
        pump();
    }
    // Moved to a monitor of `dpi`, the window's (or `window`'s) client area keeping its size in
    // twips; the system suggests the new outer rectangle, and here the frame stays as it was.
    void moveToDpi(int dpi, TopLevelWindow *window = nullptr)
    {
        window = window ? window : m_window.get();
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
    void putOnClipboard(const std::u16string &text)
    {
        OpenClipboard(m_window->handle());
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
        std::copy_n(text.c_str(), text.size() + 1, static_cast<char16_t *>(GlobalLock(memory)));
        GlobalUnlock(memory);
        SetClipboardData(CF_UNICODETEXT, memory);
        CloseClipboard();
    }
    // A key pressed on `focus`, with Ctrl and Shift as given, through the window's own loop.
    void key(HWND focus, bool ctrl, bool shift, wchar_t letter)
    {
        SetFocus(focus);
        BYTE keys[256] = {};
        keys[VK_CONTROL] = ctrl ? 0x80 : 0;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        PostMessageW(focus, WM_KEYDOWN, letter, 0);
        pump();
        SetKeyboardState(std::array<BYTE, 256>{}.data());
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

    std::unique_ptr<TopLevelWindow> m_window;
    UINT_PTR m_answering = 0;
};

} // namespace korvane::win32
