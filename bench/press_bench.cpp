// One whole press of "查看拼版图" in the real window, offscreen: parsing, the computation and
// drawing the diagram. The cases are the worst accepted inputs of each kind.
#include "app/mainwindow.h"
#include "bench/presscases.h"
#include "qt/windowwidget.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <benchmark/benchmark.h>
#include <iterator>

namespace {

QString text(const char16_t *s)
{
    return QString::fromUtf16(s);
}

void BM_Press(benchmark::State &state)
{
    const korvane::bench::PressInput &c = korvane::bench::PressInputs[state.range(0)];
    state.SetLabel(c.name);
    korvane::WindowWidget window(korvane::mainWindow);
    window.control<QComboBox>("Combo2")->setEditText(text(c.arrangement));
    window.control<QComboBox>("Combo3")->setEditText(text(c.method));
    const char *boxes[] = {"Text4", "Text5", "Text6", "Text7"};
    for (int i = 0; i < 4; ++i)
        window.control<QLineEdit>(boxes[i])->setText(text(c.sizes[std::size_t(i)]));
    auto *button = window.control<QPushButton>("Command6");
    for (auto _ : state)
        button->click();
}

} // namespace

BENCHMARK(BM_Press)
    ->DenseRange(0, std::size(korvane::bench::PressInputs) - 1)
    ->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
