#pragma once

#include "common/panel.h"

#include <windows.h>

namespace korvane::win32 {

// The DPI a window is drawn at: its monitor's where the system tracks DPI per monitor
// (Windows 10 1607 and later), the system's otherwise.
int windowDpi(HWND window);
int systemDpi();

// Pixels for a rectangle in twips at `dpi`.
RECT pixelRect(const TwipsRect &twips, int dpi);

// Moves and sizes a child window to `place`, in its parent's client coordinates.
void setPlace(HWND window, const RECT &place);

// The outer size of a window whose client area is `width` by `height` pixels at `dpi`.
SIZE outerSize(int width, int height, DWORD style, DWORD exStyle, int dpi);

} // namespace korvane::win32
