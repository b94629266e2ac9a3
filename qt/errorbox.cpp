#include "qt/errorbox.h"

#include "qt/convert.h"

#include <QMessageBox>
#include <QWidget>

namespace korvane {

void showRefusal(QWidget *focusTarget, std::u16string_view message)
{
    QMessageBox::critical(focusTarget->window(), toQString(ErrorTitle), toQString(message),
                          QMessageBox::Ok);
    focusTarget->activateWindow();
    focusTarget->setFocus(Qt::OtherFocusReason);
}

} // namespace korvane
