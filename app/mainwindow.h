#pragma once

#include "common/windowdescription.h"

namespace korvane {

// The window "main": its tab strip over the five panels, from the imposition diagram to the
// About panel.
extern const WindowDescription mainWindow;

} // namespace korvane
