// Worst cases of one press of "查看拼版图", core computation only. Every accepted input
// must answer well within 50 ms; these are the inputs that make each search longest.
#include "imposition/impose.h"

#include <benchmark/benchmark.h>

namespace {

using namespace korvane::imposition;

struct Case
{
    const char *name;
    Sizes sizes;
    Method method;
    Arrangement arrangement;
};

const Case Cases[] = {
    // Largest square count that fits: 46340 x 46340 cuts and rows, all hull queries.
    {"sheetwise mixed 1x1 on 46340 square", {46340, 46340, 1, 1}, Method::Sheetwise,
     Arrangement::Mixed},
    // A near-square product keeps the hulls at their largest.
    {"sheetwise mixed 1x1.4 on 38000 square", {38000, 38000, 1, 1.4}, Method::Sheetwise,
     Arrangement::Mixed},
    // Just under the cut limit.
    {"sheetwise mixed 99999 cuts", {2, 99999, 1, 1}, Method::Sheetwise, Arrangement::Mixed},
    {"sheetwise mixed 99999 cuts, 2000 rows", {2000, 99999, 1, 1.9}, Method::Sheetwise,
     Arrangement::Mixed},
    {"sheetwise mixed 99999 cuts x 21474 rows", {21474, 99999, 1, 1}, Method::Sheetwise,
     Arrangement::Mixed},
    {"tumble mixed 99999 cuts", {2, 99999, 1, 1}, Method::WorkAndTumble, Arrangement::Mixed},
    // A billion band sizes for work-and-turn, in a handful of runs.
    {"turn mixed a billion rows", {2.1e9, 2.1e9, 2, 1.05e9}, Method::WorkAndTurn,
     Arrangement::Mixed},
    // Refused as too many ups; the refusal must come before the band search.
    {"turn mixed refused, 2^31 square", {2147483647, 2147483647, 1, 1}, Method::WorkAndTurn,
     Arrangement::Mixed},
    {"turn mixed 46340 square", {46340, 46340, 1, 1}, Method::WorkAndTurn, Arrangement::Mixed},
    {"sheetwise either", {46340, 46340, 1, 1}, Method::Sheetwise,
     Arrangement::HorizontalOrVertical},
};

void BM_Impose(benchmark::State &state)
{
    const Case &c = Cases[state.range(0)];
    state.SetLabel(c.name);
    for (auto _ : state) {
        ImposeOutcome o = impose(c.sizes, c.method, c.arrangement);
        benchmark::DoNotOptimize(o);
    }
}

} // namespace

BENCHMARK(BM_Impose)->DenseRange(0, std::size(Cases) - 1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
