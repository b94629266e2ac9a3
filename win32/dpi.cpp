#include "win32/dpi.h"

#include "win32/ondemand.h"

namespace korvane::win32 {

int systemDpi()
{
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

int windowDpi(HWND window)
{
    // Looked up, not imported: Windows 10 1607 and later have it, and the program has to
    // start on Windows 7 too.
    static const auto getDpiForWindow =
        systemFunction<UINT(WINAPI *)(HWND)>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window))
            return static_cast<int>(dpi);
    }
    return systemDpi();
}

RECT pixelRect(const TwipsRect &twips, int dpi)
{
    const int left = twipsToPixels(twips.left, dpi);
    const int top = twipsToPixels(twips.top, dpi);
    return {left, top, left + twipsToPixels(twips.width, dpi),
            top + twipsToPixels(twips.height, dpi)};
}

void setPlace(HWND window, const RECT &place)
{
    SetWindowPos(window, nullptr, place.left, place.top, place.right - place.left,
                 place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE outerSize(int width, int height, DWORD style, DWORD exStyle, int dpi)
{
    // Looked up as GetDpiForWindow is.
    static const auto adjustForDpi =
        systemFunction<BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT)>(
            L"user32.dll", "AdjustWindowRectExForDpi");
    RECT r{0, 0, width, height};
    if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, static_cast<UINT>(dpi)))
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    return {r.right - r.left, r.bottom - r.top};
}

} // namespace korvane::win32
