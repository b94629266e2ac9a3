#pragma once

#include "common/panel.h"

namespace korvane {

// The "关于.." panel: the product picture, name and version. Nothing on it reacts.
extern const PanelTable aboutPanel;

} // namespace korvane
