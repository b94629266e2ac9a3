#include "win32/fonts.h"

#include "common/typeface.h"
#include "win32/text.h"

#include <algorithm>
#include <string>
#include <vector>

namespace korvane::win32 {
namespace {

bool installed(std::u16string_view face)
{
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    wide(face).copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW *, const TEXTMETRICW *, DWORD, LPARAM found) -> int {
            *reinterpret_cast<bool *>(found) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

// The face to create for `wanted`. The faces installed do not change while the program runs:
// each is looked up once.
const std::wstring &chosenFace(std::u16string_view wanted)
{
    static std::vector<std::pair<std::u16string, std::wstring>> chosen;
    auto it = std::find_if(chosen.begin(), chosen.end(),
                           [&](const auto &entry) { return entry.first == wanted; });
    if (it == chosen.end())
        it = chosen.insert(chosen.end(),
                           {std::u16string(wanted), wide(chooseFace(wanted, installed))});
    return it->second;
}

// A font whose em is `height` units high (a negative LOGFONT height).
HFONT createFont(std::u16string_view face, int height)
{
    return CreateFontW(-height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, chosenFace(face).c_str());
}

} // namespace

Font::Font(const Typeface &wanted, int dpi)
    : m_font(createFont(wanted.face, MulDiv(wanted.points, dpi, 72)))
{
}

Font Font::ofPixels(std::u16string_view face, int pixels)
{
    return Font(createFont(face, pixels));
}

} // namespace korvane::win32
