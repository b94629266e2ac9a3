// The floor of korvane.exe's start-up once its controls are counted: the very controls of the
// main window, read from its tables (each row's kind, place in twips, caption, items and
// font, the window's caption, size and font), each made the plainest way Win32 has (STATIC,
// EDIT, COMBOBOX, BUTTON, SCROLLBAR) at the system dpi, on panels stacked on a common-controls
// tab control. Nothing else: no driver, no rules, no commands, no accessible names, no
// pictures, no icon. Built with the same flags and manifest as korvane.exe.

#include "app/mainwindow.h"

#include <string>
#include <vector>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

namespace {

using korvane::ControlKind;
using korvane::ControlRow;

std::wstring wide(std::u16string_view text)
{
    return {reinterpret_cast<const wchar_t *>(text.data()), text.size()};
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(HINSTANCE instance, const wchar_t *name, WNDPROC procedure)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

// The face as the table names it: the system's font mapping finds what stands in.
HFONT createFont(const korvane::Typeface &typeface, int dpi)
{
    return CreateFontW(-MulDiv(typeface.points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, wide(typeface.face).c_str());
}

HWND make(const ControlRow &row, HWND panel, int dpi)
{
    const auto pixels = [dpi](int twips) { return korvane::twipsToPixels(twips, dpi); };
    const auto create = [&](const wchar_t *className, DWORD exStyle, DWORD style,
                            std::u16string_view text, int height) {
        return CreateWindowExW(exStyle, className, wide(text).c_str(),
                               WS_CHILD | WS_VISIBLE | style, pixels(row.rect.left),
                               pixels(row.rect.top), pixels(row.rect.width), height, panel, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    };
    const int height = pixels(row.rect.height);
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::AutoLabel:
        return create(L"STATIC", 0, SS_LEFT, row.text, height);
    case ControlKind::TextBox:
        return create(L"EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_AUTOHSCROLL, row.text, height);
    case ControlKind::DropDown:
    case ControlKind::List: {
        // As high as the field and the list that drops down below it.
        const DWORD kind = row.kind == ControlKind::List ? CBS_DROPDOWNLIST : CBS_DROPDOWN;
        HWND combo = create(L"COMBOBOX", 0, WS_TABSTOP | WS_VSCROLL | kind, {},
                            height * int(row.items.size() + 1));
        for (std::u16string_view item : row.items)
            SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide(item).c_str()));
        if (row.kind == ControlKind::List)
            SendMessageW(combo, CB_SELECTSTRING, WPARAM(-1),
                         reinterpret_cast<LPARAM>(wide(row.text).c_str()));
        else
            SetWindowTextW(combo, wide(row.text).c_str());
        return combo;
    }
    case ControlKind::Button:
        return create(L"BUTTON", 0, WS_TABSTOP | BS_PUSHBUTTON, row.text, height);
    case ControlKind::Option:
        return create(L"BUTTON", 0, WS_TABSTOP | BS_RADIOBUTTON, row.text, height);
    case ControlKind::CheckBox:
        return create(L"BUTTON", 0, WS_TABSTOP | BS_AUTOCHECKBOX, row.text, height);
    case ControlKind::VScrollBar: {
        HWND bar = create(L"SCROLLBAR", 0, WS_TABSTOP | SBS_VERT, {}, height);
        SetScrollRange(bar, SB_CTL, row.scroll.minimum, row.scroll.maximum, FALSE);
        return bar;
    }
    case ControlKind::PictureBox:
    case ControlKind::Diagram:
    case ControlKind::Image:
        break;
    }
    return create(L"STATIC", 0, 0, {}, height);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show)
{
    const korvane::WindowDescription &description = korvane::mainWindow;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    registerClass(instance, L"SameControlsWindow", windowProc);
    registerClass(instance, L"SameControlsPanel", DefWindowProcW);

    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    const auto pixels = [dpi](int twips) { return korvane::twipsToPixels(twips, dpi); };

    constexpr DWORD Style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, pixels(description.clientWidth), pixels(description.clientHeight)};
    AdjustWindowRectEx(&frame, Style, FALSE, 0);
    HWND window = CreateWindowExW(0, L"SameControlsWindow", wide(description.caption).c_str(),
                                  Style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
    if (!window)
        return 1;
    std::vector<HFONT> fonts{createFont(description.font, dpi)};

    const korvane::TwipsRect &strip = description.tabStripRect;
    HWND tabs = CreateWindowExW(0, WC_TABCONTROLW, L"",
                                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP,
                                pixels(strip.left), pixels(strip.top), pixels(strip.width),
                                pixels(strip.height), window, nullptr, instance, nullptr);
    if (!tabs)
        return 1;
    SendMessageW(tabs, WM_SETFONT, reinterpret_cast<WPARAM>(fonts.front()), FALSE);
    for (std::size_t i = 0; i < description.tabs.size(); ++i) {
        std::wstring caption = wide(description.tabs[i].caption);
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = caption.data();
        SendMessageW(tabs, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
    }

    // The panels lie stacked on the tab control's display area, the first one in front.
    RECT display;
    GetClientRect(tabs, &display);
    SendMessageW(tabs, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
    MapWindowPoints(tabs, window, reinterpret_cast<POINT *>(&display), 2);
    HWND first = nullptr;
    for (const korvane::Tab &tab : description.tabs) {
        HWND panel = CreateWindowExW(
            0, L"SameControlsPanel", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
            display.left, display.top, display.right - display.left, display.bottom - display.top,
            window, nullptr, instance, nullptr);
        for (const ControlRow &row : tab.panel->controls) {
            HFONT font = fonts.front();
            if (row.font)
                font = fonts.emplace_back(createFont(*row.font, dpi));
            SendMessageW(make(row, panel, dpi), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        }
        first = first ? first : panel;
    }
    SetWindowPos(first, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    ShowWindow(window, show);
    UpdateWindow(window);
    MSG message;
    BOOL got;
    while ((got = GetMessageW(&message, nullptr, 0, 0)) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    for (HFONT font : fonts)
        DeleteObject(font);
    return got == 0 ? static_cast<int>(message.wParam) : 1;
}
