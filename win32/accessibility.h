#pragma once

#include "common/rules.h"

#include <windows.h>

namespace korvane::win32 {

// Makes a control tell screen readers what the rules say it is: its name (unless it is
// named by the text it shows) and its description; everything else comes from the system's
// own accessible object for the control. Answers WM_GETOBJECT on the control's behalf, so
// nothing is loaded before a screen reader first asks.
void speakAs(HWND control, const Accessible &spoken);

} // namespace korvane::win32
