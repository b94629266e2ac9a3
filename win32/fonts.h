#pragma once

#include "common/panel.h"

#include <memory>
#include <type_traits>
#include <windows.h>

namespace korvane::win32 {

// A GDI font that deletes itself.
class Font
{
public:
    Font() = default;
    // The first installed candidate for the face `wanted` names, at its size for `dpi`, in
    // the Chinese (GB 2312) character set.
    Font(const Typeface &wanted, int dpi);
    // The same face with its em `pixels` high, in the logical units of the device it is
    // selected into.
    static Font ofPixels(std::u16string_view face, int pixels);

    HFONT handle() const { return m_font.get(); }

private:
    struct Delete
    {
        void operator()(HFONT font) const { DeleteObject(font); }
    };

    explicit Font(HFONT font) : m_font(font) {}

    std::unique_ptr<std::remove_pointer_t<HFONT>, Delete> m_font;
};

} // namespace korvane::win32
