#pragma once

#include "common/panel.h"

namespace korvane {

// The "书脊" panel: a page count and a grammage in; the thickness of the book block out, on
// a press of "计算".
extern const PanelTable spinePanel;

} // namespace korvane
