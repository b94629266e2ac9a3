#pragma once

#include "common/windowdescription.h"

namespace korvane {

// The window "拼版方案": a layout planned with bleed, gaps, gripper and margins, its four
// rows of layouts with the paper to order, the best one proven where a bound meets it, and
// the chosen layout drawn to scale. Every change of an input recomputes it at once.
extern const WindowDescription plannerWindow;

} // namespace korvane
