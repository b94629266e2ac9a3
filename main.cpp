#include "app/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Korvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.01"));
    QApplication::setDesktopFileName(QStringLiteral("org.korvane.Korvane"));

    korvane::MainWindow window;
    window.show();
    return app.exec();
}
