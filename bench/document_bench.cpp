// A plan leaving the window, offscreen (run by press_bench, whose main starts the
// application): the clipboard's forms, each kind of file and a
// printed page, for the worst accepted presses of each kind and an everyday one. The sizes
// of the files written are reported as counters.
#include "app/window.h"
#include "bench/presscases.h"
#include "qt/documentio.h"
#include "qt/mainwindow.h"
#include "qt/panelwidget.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <iterator>

namespace {

using namespace korvane;

using Plan = bench::PressInput;
constexpr auto &Plans = bench::PressInputs;

Document documentOf(const Plan &plan)
{
    MainWindow window(mainWindow);
    PanelWidget *panel = window.panel(0);
    panel->control<QComboBox>("Combo2")->setEditText(QString::fromUtf16(plan.arrangement));
    panel->control<QComboBox>("Combo3")->setEditText(QString::fromUtf16(plan.method));
    const char *boxes[] = {"Text4", "Text5", "Text6", "Text7"};
    for (int i = 0; i < 4; ++i)
        panel->control<QLineEdit>(boxes[i])->setText(
            QString::fromUtf16(plan.sizes[std::size_t(i)]));
    panel->press("Command6");
    return *panel->lastDocument();
}

void BM_Copy(benchmark::State &state)
{
    const Plan &plan = Plans[state.range(0)];
    state.SetLabel(plan.name);
    const Document document = documentOf(plan);
    for (auto _ : state)
        copyToClipboard(document, mainWindow.font);
}

void BM_Save(benchmark::State &state)
{
    const Plan &plan = Plans[state.range(0)];
    const auto format = FileFormat(state.range(1));
    const char *extensions[] = {"png", "svg", "pdf"};
    state.SetLabel(std::string(plan.name) + ", " + extensions[state.range(1)]);
    const Document document = documentOf(plan);
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("plan.") + extensions[state.range(1)]);
    QString reason;
    for (auto _ : state)
        if (!writeDocument(document, format, mainWindow.font, path, &reason))
            state.SkipWithError(qPrintable(reason));
    state.counters["kB"] = double(QFileInfo(path).size()) / 1000;
}

void BM_PrintedPage(benchmark::State &state)
{
    const Plan &plan = Plans[state.range(0)];
    state.SetLabel(plan.name);
    const Document document = documentOf(plan);
    QTemporaryDir folder;
    for (auto _ : state) {
        QPdfWriter page(folder.filePath(QStringLiteral("page.pdf")));
        page.setResolution(600);
        paintPages(page, document, mainWindow.font);
    }
}

} // namespace

constexpr int LastPlan = int(std::size(Plans)) - 1;
BENCHMARK(BM_Copy)->DenseRange(0, LastPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)
    ->ArgsProduct({benchmark::CreateDenseRange(0, LastPlan, 1), {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintedPage)->DenseRange(0, LastPlan)->Unit(benchmark::kMillisecond);
