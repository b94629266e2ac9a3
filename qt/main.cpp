#include "app/version.h"
#include "app/window.h"
#include "qt/convert.h"
#include "qt/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(korvane::toQString(korvane::ProductName));
    QApplication::setApplicationVersion(QString::fromLatin1(korvane::Version));
    // Desktops match the window to its entry by this id.
    QApplication::setDesktopFileName(QString::fromLatin1(korvane::AppId));

    korvane::translateQtDialogs(korvane::mainWindow.language);
    korvane::MainWindow window(korvane::mainWindow);
    window.show();
    return app.exec();
}
