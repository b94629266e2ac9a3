#pragma once

#include "common/panel.h"

namespace korvane {

// The "克重换算" panel: a grammage and a full-sheet format in; the weight of a ream and the
// reams per tonne out, on a press of "换算(&C)".
extern const PanelTable grammagePanel;

} // namespace korvane
