#pragma once

#include "common/panel.h"

#include <windows.h>

namespace korvane::win32 {

// The system colour (COLOR_...) of a role of the user's scheme; `otherwise` for a fixed
// colour and for the default.
int systemColourIndex(Colour::Role role, int otherwise);

// A colour as GDI takes it: a role as the system gives it now, a fixed colour as it is, and
// the default as the system colour `otherwise`.
COLORREF colourOf(const Colour &colour, int otherwise);

} // namespace korvane::win32
