#pragma once

#include <windows.h>

namespace korvane::win32 {

// The window procedure of a class whose windows each belong to an object of type T, kept
// in the window's GWLP_USERDATA: its messages go to T::onMessage(window, message, wParam,
// lParam). Before the object is tied to the window, and after it is let go, the system's
// default handling.
template <typename T>
LRESULT CALLBACK forwardToObject(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto *object = reinterpret_cast<T *>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!object)
        return DefWindowProcW(window, message, wParam, lParam);
    return object->onMessage(window, message, wParam, lParam);
}

template <typename T> void tie(HWND window, T *object)
{
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(object));
}

// Registers a window class of ours with the arrow cursor.
inline void registerWindowClass(HINSTANCE instance, const wchar_t *name, WNDPROC procedure,
                                HBRUSH background = nullptr, HICON icon = nullptr,
                                HICON smallIcon = nullptr)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hIconSm = smallIcon;
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);
}

} // namespace korvane::win32
