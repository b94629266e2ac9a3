#include "common/errorbox.h"

#include <QMessageBox>
#include <QWidget>

namespace korvane {

void showError(QWidget *focusTarget, const QString &message)
{
    QWidget *parent = focusTarget ? focusTarget->window() : nullptr;
    QMessageBox::critical(parent, QStringLiteral("错误"), message, QMessageBox::Ok);
    if (focusTarget) {
        focusTarget->activateWindow();
        focusTarget->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace korvane
