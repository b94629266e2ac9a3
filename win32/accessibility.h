#pragma once

#include <string_view>
#include <windows.h>

namespace korvane::win32 {

// Tells screen readers what a control is: an input is named by its caption, a result
// label keeps its text as its name and takes the caption as its description. This adds
// to the label before each first input in the z-order, for inputs that share a caption.
// Does nothing where the system offers no annotation service.
void nameControl(HWND control, std::u16string_view caption);

} // namespace korvane::win32
