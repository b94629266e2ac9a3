// How long the layout planner takes to answer a change, on Linux, under Wine and under node:
// the same program everywhere, timing with the standard clock only. For each case, the
// arithmetic alone (plan() with its four rows and bound, then the paper) and the whole
// recomputation the window makes of a keystroke (the event's handler: the inputs read, every
// row with its paper, the proof, the diagram and the document). The trade table runs every
// sheet with every product, without and with 3 mm of bleed: the median and the slowest of
// its 160 cases, each the fastest of its runs. The worst inputs in range are timed one by
// one: the median and the slowest of their runs, and whether the search was cut short.
//
//   planner_bench [runs]     (default 20)
#include "common/numtext.h"
#include "imposition/planner.h"
#include "imposition/plannerwindow.h"
#include "imposition/quote.h"
#include "tests/cases/tradesizes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace korvane;
using namespace korvane::planner;
using imposition::Method;

template <typename Work> double milliseconds(Work &&work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

std::u16string text(Length hundredths)
{
    return widen(formatNumber(double(hundredths) / 100));
}

// The readings of a keystroke in the planner with `in` typed, as its window gives them.
std::vector<Reading> readingsOf(const Input &in)
{
    const PanelTable &panel = *plannerWindow.tabs.front().panel;
    const Event &event = panel.events.front();
    const std::array<Length, 8> lengths = {in.sheet1, in.sheet2, in.product1, in.product2,
                                           in.bleed,  in.gap,    in.gripper,  in.margin};
    std::vector<Reading> readings;
    for (ControlName name : event.reads) {
        const ControlRow &row = *findControl(panel, name);
        Reading reading{std::u16string(row.text), 0, {row.rect.width, row.rect.height}};
        for (std::size_t i = 0; i < lengths.size(); ++i)
            if (name == event.reads[i])
                reading.text = text(lengths[i]);
        if (name == "Combo53")
            reading.text = imposition::MethodItems[std::size_t(in.method)];
        readings.push_back(reading);
    }
    return readings;
}

struct Timing
{
    double plan = 0;   // the arithmetic
    double window = 0; // the whole keystroke
    bool cutShort = false;
};

// Each of `runs` runs of the case.
std::vector<Timing> time(const Input &in, int runs)
{
    const Event &event = plannerWindow.tabs.front().panel->events.front();
    const std::vector<Reading> readings = readingsOf(in);
    std::vector<Timing> times;
    for (int run = 0; run < runs; ++run) {
        Timing t;
        t.plan = milliseconds([&] {
            const Result r = plan(in);
            const auto p = paper(r.layout(LayoutKind::Best).ups, {5000, 300, 8000},
                                 bestCutting(r.sheet.width, r.sheet.length));
            t.cutShort = r.proof == Proof::CutShort && p;
        });
        t.window = milliseconds([&] { event.handle(readings); });
        times.push_back(t);
    }
    return times;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double slowest(const std::vector<double> &values)
{
    return *std::max_element(values.begin(), values.end());
}

} // namespace

int main(int argc, char **argv)
{
    int runs = 20;
    if (argc > 1)
        std::from_chars(argv[1], argv[1] + std::char_traits<char>::length(argv[1]), runs);
    runs = std::max(runs, 1);
    std::printf("%-48s %9s %9s %9s %9s\n", "case (ms)", "plan med", "plan max", "keys med",
                "keys max");
    for (const Length bleed : {Length(0), Length(300)}) {
        std::vector<double> plans;
        std::vector<double> windows;
        for (const cases::MmSize sheet : cases::TradeSheets)
            for (const cases::MmSize product : cases::TradeProducts) {
                const Input in{sheet.width * 100, sheet.length * 100, product.width * 100,
                               product.length * 100, bleed};
                double plan = 1e9;
                double window = 1e9;
                for (const Timing &t : time(in, runs)) {
                    plan = std::min(plan, t.plan);
                    window = std::min(window, t.window);
                }
                plans.push_back(plan);
                windows.push_back(window);
            }
        std::printf("%-48s %9.4f %9.4f %9.4f %9.4f\n",
                    bleed ? "160 trade cases, bleed 3" : "160 trade cases", median(plans),
                    slowest(plans), median(windows), slowest(windows));
    }
    for (const cases::PlannerCase &c : cases::WorstPlannerCases) {
        std::vector<double> plans;
        std::vector<double> windows;
        bool cutShort = false;
        for (const Timing &t : time(c.input, runs)) {
            plans.push_back(t.plan);
            windows.push_back(t.window);
            cutShort = t.cutShort;
        }
        std::printf("%-48s %9.3f %9.3f %9.3f %9.3f%s\n", c.name, median(plans), slowest(plans),
                    median(windows), slowest(windows), cutShort ? "  cut short" : "");
    }
    return 0;
}
