#include "app/version.h"
#include "qt/convert.h"
#include "qt/mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(korvane::toQString(korvane::ProductName));
    QApplication::setApplicationVersion(
        QString::fromLatin1(korvane::Version.data(), qsizetype(korvane::Version.size())));
    QApplication::setDesktopFileName(QStringLiteral("org.korvane.Korvane"));

    korvane::MainWindow window;
    window.show();
    return app.exec();
}
