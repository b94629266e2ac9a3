#pragma once

#include "common/panel.h"

namespace korvane {

// The "开版图" panel: sheet and product sizes, arrangement and method in; the number of
// ups and the diagram out, on a press of "查看拼版图".
extern const PanelTable impositionPanel;

} // namespace korvane
