#pragma once

#include "common/panel.h"

namespace korvane::win32 {

// The control ID a control's name gives it, by which tools and tests find it from outside
// (GetDlgCtrlID): Label n is 1000 + n, Text n 2000 + n, Combo n 3000 + n, Command n
// 4000 + n, VScroll n 5000 + n, Picture n 6000 + n, drawpic 6100, Image n 7000 + n,
// TabStrip n 8000 + n. Zero for a name outside this scheme.
int controlId(ControlName name);

// The member `index` of the panel array.
constexpr int panelId(int index)
{
    return 9000 + index;
}

} // namespace korvane::win32
