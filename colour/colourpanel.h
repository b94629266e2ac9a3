#pragma once

#include "common/panel.h"

namespace korvane {

// The "配色" panel: three scroll bars set red, green and blue; each column shows its value
// and its tint, and a wide box shows the colour all three make together.
extern const PanelTable colourPanel;

} // namespace korvane
