#pragma once

#include <QString>

class QWidget;

namespace korvane {

// The modal refusal every panel uses: title "错误", the stop icon, OK alone. Once the box
// is dismissed the keyboard focus goes to the control that holds the bad input.
void showError(QWidget *focusTarget, const QString &message);

} // namespace korvane
