// Opens the real window in a given state, for screenshots: the README's pictures are taken
// with `xvfb-run tools/screenshots.sh`. With --print, the planner's document of the scene is
// also printed, as its print command prints it, to a PDF file on A4.
// Usage: korvane_tour <scene> [seconds] [--print file.pdf]
#include "app/mainwindow.h"
#include "imposition/plannerwindow.h"
#include "qt/convert.h"
#include "qt/documentio.h"
#include "qt/windowwidget.h"
#include "tools/scenes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const korvane::tour::Scene *scene = argc > 1 ? korvane::tour::findScene(argv[1]) : nullptr;
    if (!scene) {
        std::fprintf(stderr, "usage: korvane_tour <scene> [seconds] [--print file.pdf]\n");
        return 2;
    }
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;
    const QString printTo = argc > 4 && QString::fromLocal8Bit(argv[3]) == QStringLiteral("--print")
                                ? QString::fromLocal8Bit(argv[4])
                                : QString();

    korvane::WindowWidget window(korvane::mainWindow);
    window.findChild<QTabBar *>(QStringLiteral("TabStrip1"))->setCurrentIndex(scene->tab);
    korvane::WindowWidget *panel = &window;
    for (const auto &[name, text] : scene->entries) {
        if (auto *combo = qobject_cast<QComboBox *>(panel->control(name)))
            combo->setEditText(korvane::toQString(text));
        else
            panel->control<QLineEdit>(name)->setText(korvane::toQString(text));
    }
    for (const auto &[name, value] : scene->scrolls)
        panel->control<QScrollBar>(name)->setValue(value);
    if (!scene->button.empty())
        panel->control<QPushButton>(scene->button)->click();
    window.move(20, 20);
    window.show();
    if (!scene->planner.empty()) {
        const korvane::PanelTable &imposition = *korvane::mainWindow.tabs.front().panel;
        window.driver().run(0, korvane::tour::commandIndex(imposition, "openPlanner"));
        auto *planner = window.findChild<korvane::WindowWidget *>(QStringLiteral("planner"));
        planner->driver().fill(korvane::tour::textsOf(scene->planner));
        planner->driver().activated({0, scene->plannerRow});
        if (!scene->plannerClick.empty())
            planner->control<QAbstractButton>(scene->plannerClick)->click();
        planner->move(20, 20);
        if (!printTo.isEmpty()) {
            const korvane::Document *document = planner->driver().document(0);
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(printTo);
            printer.setPageSize(QPageSize(QPageSize::A4));
            printer.setPageOrientation(document && korvane::printsAcross(*document)
                                           ? QPageLayout::Landscape
                                           : QPageLayout::Portrait);
            if (!document ||
                !korvane::renderPage(printer, *document, korvane::plannerWindow.font)) {
                std::fprintf(stderr, "korvane_tour: could not print to %s\n", qPrintable(printTo));
                return 1;
            }
        }
    }
    QTimer::singleShot(seconds * 1000, &app, &QApplication::quit);
    return app.exec();
}
