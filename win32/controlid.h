#pragma once

#include "common/panel.h"

#include <cstddef>

namespace korvane::win32 {

// The control ID a control's name gives it, by which tools and tests find it from outside
// (GetDlgCtrlID), derived from the naming scheme: a numbered word's index i in NumberedWords
// and its number n give 1000 × (i + 1) + n (Label 1001-1099, Text 2001-, Combo 3001-,
// Command 4001-, VScroll 5001-, Picture 6001-, Image 7001-, TabStrip 8001-, Option 9001-);
// a named word's index i gives 6100 + i (drawpic 6100, planpic 6101). Zero, which no control
// has, for a name outside the scheme.
int controlId(ControlName name);

// Member `index` of the panel array `Frame n`: 9000 + 100 × (n - 1) + index.
int panelId(ControlName array, int index);

// The menu command of a panel's command `index`, as a WM_COMMAND to the panel sends it.
constexpr int commandId(std::size_t index)
{
    return 4101 + int(index);
}

} // namespace korvane::win32
