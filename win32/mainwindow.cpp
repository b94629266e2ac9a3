#include "win32/mainwindow.h"

#include "common/rules.h"
#include "win32/controlid.h"
#include "win32/dpi.h"
#include "win32/text.h"
#include "win32/windowclass.h"

#include <algorithm>
#include <commctrl.h>

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace korvane::win32 {
namespace {

constexpr wchar_t ClassName[] = L"KorvaneMain";
constexpr DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

HICON loadIcon(HINSTANCE instance, int size)
{
    return static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The system's own dialogs and messages in the window's language, where Windows has it.
void speak(std::string_view language)
{
    std::wstring name(language.begin(), language.end());
    std::replace(name.begin(), name.end(), L'_', L'-'); // "zh_CN" is "zh-CN" to Windows
    if (const LCID locale = LocaleNameToLCID(name.c_str(), 0))
        SetThreadUILanguage(LANGIDFROMLCID(locale));
}

} // namespace

MainWindow::MainWindow(const WindowDescription &description, HINSTANCE instance)
    : m_description(description)
{
    speak(description.language);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    m_bigIcon = loadIcon(instance, GetSystemMetrics(SM_CXICON));
    m_smallIcon = loadIcon(instance, GetSystemMetrics(SM_CXSMICON));
    registerWindowClass(instance, ClassName, forwardToObject<MainWindow>,
                        reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), m_bigIcon, m_smallIcon);
    PanelWindow::registerClass(instance);

    // Sized for the system's DPI first; laid out for the window's own once it exists.
    const int dpi = systemDpi();
    const SIZE outer = outerSize(twipsToPixels(description.clientWidth, dpi),
                                 twipsToPixels(description.clientHeight, dpi), Style, 0, dpi);
    m_window =
        CreateWindowExW(0, ClassName, wide(description.caption).c_str(), Style, CW_USEDEFAULT,
                        CW_USEDEFAULT, outer.cx, outer.cy, nullptr, nullptr, instance, nullptr);
    tie(m_window, this);
    m_dpi = windowDpi(m_window);

    // Created first: the tab strip leads the keyboard focus order.
    m_font = Font(description.font, m_dpi);
    const RECT strip = pixelRect(description.tabStripRect, m_dpi);
    m_tabStrip = CreateWindowExW(
        0, WC_TABCONTROLW, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, strip.left,
        strip.top, strip.right - strip.left, strip.bottom - strip.top, m_window,
        reinterpret_cast<HMENU>(INT_PTR(controlId(description.tabStrip))), instance, nullptr);
    SendMessageW(m_tabStrip, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.handle()), FALSE);
    for (std::size_t i = 0; i < description.tabs.size(); ++i) {
        std::wstring caption = wide(description.tabs[i].caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(m_tabStrip, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }
    // The load step: every panel laid onto the strip's display rectangle, the first in front.
    const RECT display = displayRect();
    for (std::size_t i = 0; i < description.tabs.size(); ++i)
        m_panels.push_back(std::make_unique<PanelWindow>(*description.tabs[i].panel, int(i),
                                                         m_window, display, m_dpi, m_font.handle(),
                                                         description.font));
    bringToFront(0);

    if (m_dpi != dpi) {
        const SIZE resized =
            outerSize(twipsToPixels(description.clientWidth, m_dpi),
                      twipsToPixels(description.clientHeight, m_dpi), Style, 0, m_dpi);
        SetWindowPos(m_window, nullptr, 0, 0, resized.cx, resized.cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    m_lastFocus = m_tabStrip;
}

MainWindow::~MainWindow()
{
    // Destroyed by its owner, not closed by the user: the message loop goes on.
    if (m_window) {
        tie<MainWindow>(m_window, nullptr);
        DestroyWindow(m_window);
    }
    if (m_bigIcon)
        DestroyIcon(m_bigIcon);
    if (m_smallIcon)
        DestroyIcon(m_smallIcon);
}

// Laid out anew from the twips for a new DPI: the window's font, the tab strip, every
// panel's controls, and the panels on the strip's display rectangle again.
void MainWindow::layout()
{
    const WindowDescription &description = m_description;
    m_font = Font(description.font, m_dpi);
    SendMessageW(m_tabStrip, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.handle()), FALSE);
    const RECT strip = pixelRect(description.tabStripRect, m_dpi);
    SetWindowPos(m_tabStrip, nullptr, strip.left, strip.top, strip.right - strip.left,
                 strip.bottom - strip.top, SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT display = displayRect();
    for (const auto &panel : m_panels) {
        SetWindowPos(panel->handle(), nullptr, display.left, display.top,
                     display.right - display.left, display.bottom - display.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        panel->layout(m_dpi, m_font.handle());
    }
}

// The area of the tab strip below its row of tabs, in the window's coordinates.
RECT MainWindow::displayRect() const
{
    RECT display;
    GetClientRect(m_tabStrip, &display);
    SendMessageW(m_tabStrip, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    MapWindowPoints(m_tabStrip, m_window, reinterpret_cast<POINT *>(&display), 2);
    return display;
}

void MainWindow::bringToFront(int index)
{
    SetWindowPos(panel(index).handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    for (int i = 0; i < panelCount(); ++i)
        panel(i).setInFront(i == index);
}

int MainWindow::frontPanel() const
{
    const int selected = int(SendMessageW(m_tabStrip, TCM_GETCURSEL, 0, 0));
    return std::clamp(selected, 0, panelCount() - 1);
}

void MainWindow::moveFocus(bool backwards)
{
    const int front = frontPanel();
    PanelWindow &panel = *m_panels[std::size_t(front)];
    const std::vector<ControlName> cycle = focusCycle(m_description, front);
    HWND focus = GetFocus();
    ControlName current;
    if (focus == m_tabStrip)
        current = m_description.tabStrip;
    else if (const ControlRow *row = panel.rowOf(focus))
        current = row->name;

    const ControlName to = nextFocus(cycle, current, backwards);
    if (to == m_description.tabStrip) {
        SetFocus(m_tabStrip);
        return;
    }
    HWND next = panel.control(to);
    SetFocus(next);
    const ControlRow &row = *findControl(panel.table(), to);
    if (!selectsAllOnTab(row.kind))
        return;
    if (row.kind == ControlKind::DropDown)
        SendMessageW(next, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
    else
        SendMessageW(next, EM_SETSEL, 0, -1);
}

bool MainWindow::takeKey(const MSG &message)
{
    if (message.hwnd != m_window && !IsChild(m_window, message.hwnd))
        return false;
    if (message.message == WM_KEYDOWN && message.wParam == VK_TAB &&
        !(GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000)) {
        moveFocus(GetKeyState(VK_SHIFT) & 0x8000);
        return true;
    }
    if (message.message == WM_SYSCHAR) {
        if (const auto target = accessKeyTarget(m_description, char16_t(message.wParam))) {
            panel(target->panel).press(target->control);
            return true;
        }
    }
    // A letter's virtual key is its upper-case ASCII code. The key stays the command's while
    // the command is disabled: Ctrl+Shift+C copies no text box's selection either.
    if (message.message == WM_KEYDOWN && message.wParam >= 'A' && message.wParam <= 'Z' &&
        (GetKeyState(VK_CONTROL) & 0x8000) && !(GetKeyState(VK_MENU) & 0x8000)) {
        PanelWindow &front = panel(frontPanel());
        const Shortcut shortcut{(GetKeyState(VK_SHIFT) & 0x8000) != 0, char16_t(message.wParam)};
        if (const Command *command = commandFor(front.table(), shortcut)) {
            front.run(*command);
            return true;
        }
    }
    return false;
}

int MainWindow::run()
{
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (takeKey(message))
            continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return int(message.wParam);
}

LRESULT MainWindow::onMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_NOTIFY: {
        const auto *notice = reinterpret_cast<const NMHDR *>(lParam);
        if (notice->hwndFrom == m_tabStrip && notice->code == TCN_SELCHANGE)
            bringToFront(frontPanel());
        return 0;
    }
    case WM_ACTIVATE:
        // Back in the window, the focus returns where it was.
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(m_window, focus))
                m_lastFocus = focus;
        } else if (m_lastFocus && IsWindow(m_lastFocus)) {
            SetFocus(m_lastFocus);
        }
        return 0;
    case WM_DPICHANGED: {
        m_dpi = HIWORD(wParam);
        layout();
        const RECT *suggested = reinterpret_cast<const RECT *>(lParam);
        SetWindowPos(m_window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    case WM_DESTROY:
        // Closed by the user: the program ends.
        PostQuitMessage(0);
        return 0;
    case WM_NCDESTROY: {
        HWND window = m_window;
        m_window = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    default:
        break;
    }
    return DefWindowProcW(m_window, message, wParam, lParam);
}

} // namespace korvane::win32
