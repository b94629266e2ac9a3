#pragma once

#include "common/panel.h"

class QWidget;

namespace korvane {

// The modal error box over `parent`'s window: the common title, the stop icon, OK alone.
void showError(QWidget *parent, std::u16string_view message);

// Shows a refusal: the error box, then the keyboard focus on the control that holds the bad
// input.
void showRefusal(QWidget *focusTarget, std::u16string_view message);

} // namespace korvane
