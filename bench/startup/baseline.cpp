// The floor Korvane's start-up is measured against: a bare window of Korvane's size holding a
// stock tab widget with the same five captions, where Korvane's tab strip sits, and nothing
// else (no font choice, no icon, no panel contents).

#include <QApplication>
#include <QTabWidget>
#include <QWidget>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    QWidget window;
    window.setWindowTitle(QStringLiteral("Korvane"));
    window.resize(358, 267);
    auto *tabs = new QTabWidget(&window);
    tabs->setGeometry(16, 16, 329, 241);
    for (const char *caption : {"开版图", "克重换算", "书脊", "配色", "关于.."})
        tabs->addTab(new QWidget, QString::fromUtf8(caption));

    window.show();
    return app.exec();
}
