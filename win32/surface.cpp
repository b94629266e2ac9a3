#include "win32/surface.h"

#include "common/raster.h"
#include "win32/colours.h"
#include "win32/picture.h"
#include "win32/text.h"
#include "win32/windowclass.h"

#include <algorithm>

namespace korvane::win32 {
namespace {

constexpr wchar_t ClassName[] = L"KorvaneSurface";

std::uint32_t pixelOf(COLORREF colour)
{
    return (std::uint32_t(GetRValue(colour)) << 16) | (std::uint32_t(GetGValue(colour)) << 8) |
           GetBValue(colour);
}

} // namespace

void Surface::registerClass(HINSTANCE instance)
{
    registerWindowClass(instance, ClassName, forwardToObject<Surface>);
}

Surface::Surface(const ControlRow &row, HWND parent, int id, const RECT &place) : m_row(row)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    const DWORD border = row.kind == ControlKind::PictureBox ? WS_BORDER : 0;
    m_window =
        CreateWindowExW(0, ClassName, L"", WS_CHILD | WS_VISIBLE | border, place.left, place.top,
                        place.right - place.left, place.bottom - place.top, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    tie(m_window, this);
    if (row.kind == ControlKind::Image)
        m_image = static_cast<HBITMAP>(
            LoadImageW(instance, wide(row.text).c_str(), IMAGE_BITMAP, 0, 0, 0));
}

Surface::~Surface()
{
    if (m_image)
        DeleteObject(m_image);
}

void Surface::setBackground(const Colour &colour)
{
    m_background = colour;
    InvalidateRect(m_window, nullptr, FALSE);
}

COLORREF Surface::background() const
{
    return colourOf(m_background, COLOR_BTNFACE);
}

void Surface::draw(const Drawing &drawing, int dpi)
{
    m_drawing = drawing;
    redraw(dpi);
}

void Surface::redraw(int dpi)
{
    if (!m_drawing)
        return;
    const Raster raster = rasterise(*m_drawing, dpi);
    m_width = raster.width;
    m_height = raster.height;
    SetWindowPos(m_window, nullptr, 0, 0, m_width, m_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const std::uint32_t paper = pixelOf(colourOf(m_row.background, COLOR_WINDOW));
    const std::uint32_t ink = pixelOf(colourOf(m_row.foreground, COLOR_WINDOWTEXT));
    m_pixels.resize(std::size_t(m_width) * std::size_t(m_height));
    fillPixels(raster, paper, ink, m_pixels.data(), std::size_t(m_width),
               pixelOf(GetSysColor(COLOR_HIGHLIGHT)));
    InvalidateRect(m_window, nullptr, FALSE);
}

void Surface::paint(HDC dc)
{
    RECT area;
    GetClientRect(m_window, &area);
    if (m_row.kind == ControlKind::Diagram && !m_pixels.empty()) {
        const BITMAPINFO info = topDownBitmap(m_width, m_height, 32);
        SetDIBitsToDevice(dc, 0, 0, DWORD(m_width), DWORD(m_height), 0, 0, 0, UINT(m_height),
                          m_pixels.data(), &info, DIB_RGB_COLORS);
        return;
    }
    if (m_row.kind == ControlKind::Image && m_image) {
        BITMAP bitmap{};
        GetObjectW(m_image, sizeof bitmap, &bitmap);
        HDC source = CreateCompatibleDC(dc);
        HGDIOBJ old = SelectObject(source, m_image);
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, 0, 0, area.right, area.bottom, source, 0, 0, bitmap.bmWidth, bitmap.bmHeight,
                   SRCCOPY);
        SelectObject(source, old);
        DeleteDC(source);
        return;
    }
    HBRUSH brush = CreateSolidBrush(background());
    FillRect(dc, &area, brush);
    DeleteObject(brush);
}

LRESULT Surface::onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // painted whole in WM_PAINT
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        paint(dc);
        EndPaint(window, &ps);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace korvane::win32
