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

} // namespace

Font::Font(const Typeface &wanted, int dpi)
{
    // The faces installed do not change while the program runs: look each up once.
    static std::vector<std::pair<std::u16string_view, std::wstring>> chosen;
    auto it = std::find_if(chosen.begin(), chosen.end(),
                           [&](const auto &entry) { return entry.first == wanted.face; });
    if (it == chosen.end())
        it = chosen.insert(chosen.end(), {wanted.face, wide(chooseFace(wanted.face, installed))});
    const std::wstring &face = it->second;
    m_font = CreateFontW(-MulDiv(wanted.points, dpi, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                         GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                         DEFAULT_PITCH | FF_DONTCARE, face.c_str());
}

Font &Font::operator=(Font &&other) noexcept
{
    if (this != &other) {
        if (m_font)
            DeleteObject(m_font);
        m_font = other.m_font;
        other.m_font = nullptr;
    }
    return *this;
}

Font::~Font()
{
    if (m_font)
        DeleteObject(m_font);
}

} // namespace korvane::win32
