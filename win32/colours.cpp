#include "win32/colours.h"

namespace korvane::win32 {

int systemColourIndex(Colour::Role role, int otherwise)
{
    switch (role) {
    case Colour::Role::Window:
        return COLOR_WINDOW;
    case Colour::Role::WindowText:
        return COLOR_WINDOWTEXT;
    case Colour::Role::Highlight:
        return COLOR_HIGHLIGHT;
    case Colour::Role::ActiveBorder:
        return COLOR_ACTIVEBORDER;
    case Colour::Role::Fixed:
    case Colour::Role::Default:
        break;
    }
    return otherwise;
}

COLORREF colourOf(const Colour &colour, int otherwise)
{
    if (colour.role == Colour::Role::Fixed)
        return RGB(colour.rgb.r, colour.rgb.g, colour.rgb.b);
    return GetSysColor(systemColourIndex(colour.role, otherwise));
}

} // namespace korvane::win32
