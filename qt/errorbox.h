#pragma once

#include "common/panel.h"

class QWidget;

namespace korvane {

// Shows a refusal: the modal error box (the common title, the stop icon, OK alone), then
// the keyboard focus on the control that holds the bad input.
void showRefusal(QWidget *focusTarget, std::u16string_view message);

} // namespace korvane
