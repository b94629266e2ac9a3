#include "qt/errorbox.h"

#include "qt/convert.h"

#include <QMessageBox>
#include <QWidget>

namespace korvane {

void showError(QWidget *parent, std::u16string_view message)
{
    QMessageBox::critical(parent->window(), toQString(ErrorTitle), toQString(message),
                          QMessageBox::Ok);
}

void showRefusal(QWidget *focusTarget, std::u16string_view message)
{
    showError(focusTarget, message);
    focusTarget->activateWindow();
    focusTarget->setFocus(Qt::OtherFocusReason);
}

} // namespace korvane
