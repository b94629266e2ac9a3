#pragma once

// The faces of the window's fonts, and what stands in for them on a system without them.

#include <string_view>
#include <vector>

namespace korvane {

// The faces to try for `face`, in order: the face itself, the other name it goes by, then
// the Chinese sans-serifs that stand in for any face a system lacks, Windows' own first,
// then those Linux desktops install.
std::vector<std::u16string_view> faceCandidates(std::u16string_view face);

// The first candidate for `face` that `installed` says the system has; the face itself when
// it has none, for the system's font matching to find a face of the Chinese character set.
template <typename Installed>
std::u16string_view chooseFace(std::u16string_view face, Installed installed)
{
    for (std::u16string_view candidate : faceCandidates(face))
        if (installed(candidate))
            return candidate;
    return face;
}

} // namespace korvane
