// Opens the real window in a given state, for screenshots: the README's pictures are taken
// with `xvfb-run tools/screenshots.sh`. Usage: korvane_tour <scene> [seconds]
#include "qt/mainwindow.h"
#include "qt/panelwidget.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

#include <cstdio>

namespace {

template <typename T>
T *find(QWidget *panel, const char *name)
{
    return panel->findChild<T *>(QString::fromLatin1(name));
}

void type(QWidget *panel, const char *name, const char *text)
{
    if (auto *edit = find<QLineEdit>(panel, name))
        edit->setText(QString::fromUtf8(text));
    else if (auto *combo = find<QComboBox>(panel, name))
        combo->setEditText(QString::fromUtf8(text));
}

void press(QWidget *panel, const char *name)
{
    find<QPushButton>(panel, name)->click();
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: korvane_tour <scene> [seconds]\n");
        return 2;
    }
    const QString scene = QString::fromLocal8Bit(argv[1]);
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;

    korvane::MainWindow window;
    auto *tabs = window.findChild<QTabBar *>(QStringLiteral("TabStrip1"));
    QWidget *imposition = window.panel(0);
    if (scene.startsWith(QLatin1String("imposition"))) {
        type(imposition, "Text4", "1092");
        type(imposition, "Text5", "787");
        type(imposition, "Text6", "210");
        type(imposition, "Text7", "297");
        type(imposition, "Combo2", "横竖混排");
        if (scene == QLatin1String("imposition-tumble")) {
            type(imposition, "Text6", "90");
            type(imposition, "Text7", "307");
            type(imposition, "Combo3", "大翻版");
        } else if (scene == QLatin1String("imposition-turn")) {
            type(imposition, "Text6", "90");
            type(imposition, "Text7", "307");
            type(imposition, "Combo3", "自翻版");
        }
        press(imposition, "Command6");
    } else if (scene == QLatin1String("grammage")) {
        tabs->setCurrentIndex(1);
        type(window.panel(1), "Text1", "80");
        type(window.panel(1), "Combo1", "880*1230");
        press(window.panel(1), "Command1");
    } else if (scene == QLatin1String("spine")) {
        tabs->setCurrentIndex(2);
        type(window.panel(2), "Text2", "320");
        type(window.panel(2), "Text3", "70");
        press(window.panel(2), "Command2");
    } else if (scene == QLatin1String("colour")) {
        tabs->setCurrentIndex(3);
        const int values[] = {230, 120, 40};
        const char *bars[] = {"VScroll1", "VScroll2", "VScroll3"};
        for (int i = 0; i < 3; ++i)
            if (auto *bar = find<QScrollBar>(window.panel(3), bars[i]))
                bar->setValue(values[i]);
    } else if (scene == QLatin1String("about")) {
        tabs->setCurrentIndex(4);
    }
    window.move(20, 20);
    window.show();
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
