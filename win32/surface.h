#pragma once

#include "common/panel.h"

#include <cstdint>
#include <windows.h>

namespace korvane::win32 {

// A window of our own for the picture boxes, the image and the diagram. A picture box is
// filled with its background colour inside a one-pixel frame; the image shows the product
// picture stretched to the box; the diagram copies a backing bitmap, so what is drawn
// persists however often the box is covered and shown again.
class Surface
{
public:
    static void registerClass(HINSTANCE instance);

    Surface(const ControlRow &row, HWND parent, int id, const RECT &place);
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;
    ~Surface();

    HWND handle() const { return m_window; }

    // A picture box's colour, a role of the user's scheme followed as it changes.
    void setBackground(const Colour &colour);
    COLORREF background() const;

    // The diagram: resizes the box to the drawing (its top-left corner stays), clears it
    // and draws every block, with lines one device pixel wide at `dpi`.
    void draw(const Drawing &drawing, int dpi);
    // Draws the last drawing again at a new DPI.
    void redraw(int dpi);

    // The diagram's backing bitmap, top row first, 0x00RRGGBB per pixel.
    int pictureWidth() const { return m_width; }
    int pictureHeight() const { return m_height; }
    const std::vector<std::uint32_t> &picture() const { return m_pixels; }

    // The box's messages: it paints itself whole.
    LRESULT onMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void paint(HDC dc);

    const ControlRow &m_row;
    HWND m_window = nullptr;
    Colour m_background;
    HBITMAP m_image = nullptr;
    std::optional<Drawing> m_drawing;
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

} // namespace korvane::win32
