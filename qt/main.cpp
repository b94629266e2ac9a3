#include "app/mainwindow.h"
#include "app/version.h"
#include "qt/convert.h"
#include "qt/windowwidget.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(korvane::toQString(korvane::ProductName));
    QApplication::setApplicationVersion(QString::fromLatin1(korvane::Version));
    // Desktops match the window to its entry by this id.
    QApplication::setDesktopFileName(QString::fromLatin1(korvane::AppId));

    korvane::WindowWidget window(korvane::mainWindow);
    window.show();
    return app.exec();
}
