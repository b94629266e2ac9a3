// One whole press of "查看拼版图" on the real panel, offscreen: parsing, the computation and
// drawing the diagram. The cases are the worst accepted inputs of each kind.
#include "imposition/impositionpanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <benchmark/benchmark.h>

namespace {

struct Case
{
    const char *name;
    const char *arrangement;
    const char *method;
    const char *sizes[4];
};

const Case Cases[] = {
    {"sheetwise mixed, 46340 square, 1 x 1", "横竖混排", "大套版", {"46340", "46340", "1", "1"}},
    {"sheetwise mixed, 99999 cuts", "横竖混排", "大套版", {"2000", "99999", "1", "1.9"}},
    // Most cuts times the largest hulls that still fit 32 bits.
    {"sheetwise mixed, 99999 cuts x 21474 rows", "横竖混排", "大套版",
     {"21474", "99999", "1", "1"}},
    {"tumble mixed, 99999 cuts", "横竖混排", "大翻版", {"2", "99999", "1", "1"}},
    {"turn mixed, a billion rows", "横竖混排", "自翻版", {"2.1e9", "2.1e9", "2", "1.05e9"}},
    {"horizontal, 2e9 columns", "横排", "大套版", {"1", "2147483647", "1", "1"}},
    {"either, 46340 square", "横排或竖排", "大套版", {"46340", "46340", "1", "1"}},
    {"everyday mixed, 1092 x 787 / 210 x 297", "横竖混排", "大套版", {"1092", "787", "210", "297"}},
};

void BM_Press(benchmark::State &state)
{
    const Case &c = Cases[state.range(0)];
    state.SetLabel(c.name);
    korvane::ImpositionPanel panel;
    panel.findChild<QComboBox *>(QStringLiteral("Combo2"))->setEditText(QString::fromUtf8(c.arrangement));
    panel.findChild<QComboBox *>(QStringLiteral("Combo3"))->setEditText(QString::fromUtf8(c.method));
    const char *boxes[] = {"Text4", "Text5", "Text6", "Text7"};
    for (int i = 0; i < 4; ++i)
        panel.findChild<QLineEdit *>(QString::fromLatin1(boxes[i]))
            ->setText(QString::fromUtf8(c.sizes[i]));
    for (auto _ : state)
        panel.view();
}

} // namespace

BENCHMARK(BM_Press)->DenseRange(0, std::size(Cases) - 1)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
