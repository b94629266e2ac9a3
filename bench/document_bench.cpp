// A plan leaving the window, offscreen (run by press_bench, whose main starts the
// application): the clipboard's forms, each kind of file and a
// printed page, for the worst accepted presses of each kind and an everyday one. The sizes
// of the files written are reported as counters.
#include "app/mainwindow.h"
#include "bench/presscases.h"
#include "qt/documentio.h"
#include "qt/windowwidget.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPdfWriter>
#include <QPushButton>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <iterator>

namespace {

using namespace korvane;

using Plan = bench::PressInput;
constexpr auto &Plans = bench::PressInputs;

Document documentOf(const Plan &plan)
{
    WindowWidget window(mainWindow);
    window.control<QComboBox>("Combo2")->setEditText(QString::fromUtf16(plan.arrangement));
    window.control<QComboBox>("Combo3")->setEditText(QString::fromUtf16(plan.method));
    const char *boxes[] = {"Text4", "Text5", "Text6", "Text7"};
    for (int i = 0; i < 4; ++i)
        window.control<QLineEdit>(boxes[i])->setText(
            QString::fromUtf16(plan.sizes[std::size_t(i)]));
    window.control<QPushButton>("Command6")->click();
    return *window.driver().document(0);
}

void BM_Copy(benchmark::State &state)
{
    const Plan &plan = Plans[state.range(0)];
    state.SetLabel(plan.name);
    const Document document = documentOf(plan);
    QtDocumentIo io(nullptr, mainWindow);
    for (auto _ : state)
        io.copy(document);
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
    QtDocumentIo io(nullptr, mainWindow);
    for (auto _ : state)
        if (const auto reason = io.write(document, toU16(path), format)->failure)
            state.SkipWithError(qPrintable(toQString(*reason)));
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
        renderPage(page, document, mainWindow.font);
    }
}

} // namespace

constexpr int LastPlan = int(std::size(Plans)) - 1;
BENCHMARK(BM_Copy)->DenseRange(0, LastPlan)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Save)
    ->ArgsProduct({benchmark::CreateDenseRange(0, LastPlan, 1), {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PrintedPage)->DenseRange(0, LastPlan)->Unit(benchmark::kMillisecond);
