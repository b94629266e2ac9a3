// One press of the layout planner, core computation only: plan() with its four rows and
// bound, then the paper. The trade table runs every sheet with every product; each case's
// fastest time over the iterations gives the table's median and maximum (counters, in µs),
// which must stay under 1 ms. The worst inputs in range are timed one by one, and must stay
// well under 16 ms; "cut short" tells which of them reach the search's work limit.
#include "imposition/planner.h"
#include "tests/cases/tradesizes.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <chrono>
#include <vector>

namespace {

using namespace korvane::planner;
using korvane::imposition::Method;

Result press(const Input &in)
{
    Result r = plan(in);
    const auto p = paper(r.rows[static_cast<int>(Row::Best)].ups, r.sheetWidth, r.sheetLength, 5000,
                         300, 8000);
    benchmark::DoNotOptimize(p);
    return r;
}

// Argument: the bleed in hundredths of a millimetre.
void BM_TradeTable(benchmark::State &state)
{
    std::vector<Input> inputs;
    for (const auto sheet : korvane::cases::TradeSheets) {
        for (const auto product : korvane::cases::TradeProducts) {
            inputs.push_back({sheet.width * 100, sheet.length * 100, product.width * 100,
                              product.length * 100, state.range(0)});
        }
    }
    std::vector<double> fastest(inputs.size(), 1e9);
    std::int64_t proven = 0;
    for (auto _ : state) {
        proven = 0;
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            const Result r = press(inputs[i]);
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            fastest[i] = std::min(fastest[i], took.count());
            proven += r.proof == Proof::Proven;
        }
    }
    std::sort(fastest.begin(), fastest.end());
    state.counters["median_us"] = fastest[fastest.size() / 2];
    state.counters["max_us"] = fastest.back();
    state.counters["proven"] = static_cast<double>(proven);
}

struct Case
{
    const char *name;
    Input input;
};

Input onFullSheet(Length w, Length l, Length bleed, Length gap, Method method)
{
    return {500'000, 500'000, w, l, bleed, gap, 0, 0, method};
}

// clang-format off
const Case Worst[] = {
    {"1 x 1 mm on 5000 x 5000", onFullSheet(100, 100, 0, 0, Method::Sheetwise)},
    {"5000 x 1 mm on 5000 x 5000", onFullSheet(500'000, 100, 0, 0, Method::Sheetwise)},
    // Cells of 1.02 x 1.04 mm: raster points every 0.02 mm, a quarter of a million a side.
    {"1.01 x 1.03 mm, gap 0.01", onFullSheet(101, 103, 0, 1, Method::Sheetwise)},
    {"1.01 x 1.03 mm, gap 0.01, tumble", onFullSheet(101, 103, 0, 1, Method::WorkAndTumble)},
    // Coprime cells of 7 mm: every length is fillable only from 4893 mm on; below, a sieve.
    {"6.99 x 7 mm, gap 0.01", onFullSheet(699, 700, 0, 1, Method::Sheetwise)},
    {"5.38 x 8.21 mm, bleed 0.01", onFullSheet(538, 821, 1, 0, Method::Sheetwise)},
    // The slowest found among thousands of random inputs in range: two searched in full just
    // within the work limit, one cut short.
    {"9.69 x 14.56 mm, bleed 18.74, turn", {257'392, 209'413, 969, 1456, 1874, 0, 5933, 5811, Method::WorkAndTurn}},
    {"13.43 x 11.19 mm, bleed 9.99, gap 25.48, tumble", {495'039, 106'203, 1343, 1119, 999, 2548, 0, 6272, Method::WorkAndTumble}},
    {"12.56 x 2.67 mm, gap 48.25", {148'597, 194'538, 1256, 267, 0, 4825, 0, 0, Method::Sheetwise}},
    {"54 x 90 mm, bleed 0.01, on 889 x 1194", {88'900, 119'400, 5400, 9000, 1, 0, 0, 0, Method::Sheetwise}},
};
// clang-format on

void BM_Worst(benchmark::State &state)
{
    const Case &c = Worst[state.range(0)];
    state.SetLabel(c.name);
    Result r;
    for (auto _ : state)
        r = press(c.input);
    state.counters["cut_short"] = r.proof == Proof::CutShort;
}

} // namespace

BENCHMARK(BM_TradeTable)->Arg(0)->Arg(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Worst)->DenseRange(0, std::size(Worst) - 1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
