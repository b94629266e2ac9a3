// How long the layout planner takes to answer a change, on Linux, under Wine and under node:
// the same program everywhere, timing with the standard clock only. For each case, the
// arithmetic alone (plan() with its four rows and bound, then the paper) and the whole
// recomputation the window makes of a keystroke (the event's handler: the inputs read, every
// row with its paper, the proof, the quote of each method with its own best layout, the cut
// plan of the layout shown with its steps, the diagram and the document), once with the
// diagram bare and once with the cuts drawn on it. The cut plan and its steps are also timed
// alone. The trade table runs every sheet with every product, without and with 3 mm of
// bleed: the median and the slowest of its 160 cases, each the fastest of its runs. The worst
// inputs in range are timed one by one: the median and the slowest of their runs, the
// strokes of their plan, and whether the search was cut short. Every keystroke is checked to
// have shown its strokes and put its steps in the document; the program fails where one has
// not.
//
//   planner_bench [runs]     (default 20)
#include "common/numtext.h"
#include "imposition/cutplan.h"
#include "imposition/planner.h"
#include "imposition/plannerwindow.h"
#include "imposition/quote.h"
#include "tests/cases/tradesizes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <optional>
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

// The readings of a keystroke in the planner with `in` typed, as its window gives them, the
// cuts drawn on the diagram or not.
std::vector<Reading> readingsOf(const Input &in, bool cutsShown)
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
        if (name == "Check101")
            reading.value = cutsShown ? 1 : 0;
        readings.push_back(reading);
    }
    return readings;
}

struct Timing
{
    double plan = 0;   // the arithmetic
    double cuts = 0;   // the cut plan and its steps
    double window = 0; // the whole keystroke
    double shown = 0;  // the whole keystroke, the cuts drawn
    bool cutShort = false;
    std::size_t strokes = 0;
};

// The layout the window shows when none is chosen: the most ups, the earlier of equals.
const Layout &shownLayout(const Result &r)
{
    const Layout *shown = nullptr;
    for (const Layout &layout : r.layouts)
        if (!layout.ruledOut && (!shown || layout.ups > shown->ups))
            shown = &layout;
    return shown ? *shown : r.layout(LayoutKind::Best);
}

std::u16string_view captionOf(const Update &update, ControlName label)
{
    for (const SetCaption &caption : update.captions)
        if (caption.control == label)
            return caption.text;
    return {};
}

// Whether the keystroke's outcome shows the strokes of its plan, the steps in its document
// and, with the cuts shown, a numbered cut on its diagram.
bool showsPlan(const Outcome &outcome, std::size_t strokes, bool cutsShown)
{
    const Update *update = std::get_if<Update>(&outcome);
    if (!update || !update->document || !update->drawing)
        return false;
    const auto &notes = update->document->notes;
    if (strokes == 0)
        return captionOf(*update, "Label129") == u"—";
    const std::u16string count = u"裁切 " + formatCount(std::int64_t(strokes)) + u" 刀";
    const std::u16string last = u"第 " + formatCount(std::int64_t(strokes)) + u" 刀：";
    const auto numbered = [](const auto &marks) {
        return std::any_of(marks.begin(), marks.end(), [](const auto &m) { return m.number == 1; });
    };
    return captionOf(*update, "Label129") == count && !notes.empty() &&
           notes.back().starts_with(last) &&
           (!cutsShown ||
            (numbered(update->drawing->marks) && numbered(update->document->drawing.marks)));
}

// Each of `runs` runs of the case; nullopt where a keystroke did not show its plan.
std::optional<std::vector<Timing>> time(const Input &in, int runs)
{
    const Event &event = plannerWindow.tabs.front().panel->events.front();
    const std::vector<Reading> bare = readingsOf(in, false);
    const std::vector<Reading> drawn = readingsOf(in, true);
    std::vector<Timing> times;
    for (int run = 0; run < runs; ++run) {
        Timing t;
        Result r;
        std::size_t steps = 0;
        t.plan = milliseconds([&] {
            r = plan(in);
            const auto p = paper(r.layout(LayoutKind::Best).ups, {5000, 300, 8000},
                                 bestCutting(r.sheet.width, r.sheet.length));
            t.cutShort = r.proof == Proof::CutShort && p;
        });
        t.cuts = milliseconds([&] {
            const CutPlan cuts = cutPlan(r.sheet, shownLayout(r));
            t.strokes = cuts.strokes.size();
            steps = cutSteps(cuts).size();
        });
        if (steps != (t.strokes > 0 ? t.strokes + 1 : 0))
            return std::nullopt;
        Outcome outcome;
        t.window = milliseconds([&] { outcome = event.handle(bare); });
        if (!showsPlan(outcome, t.strokes, false))
            return std::nullopt;
        t.shown = milliseconds([&] { outcome = event.handle(drawn); });
        if (!showsPlan(outcome, t.strokes, true))
            return std::nullopt;
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
    std::printf("%-48s %9s %9s %9s %9s %9s %9s %9s %9s\n", "case (ms)", "plan med", "plan max",
                "cuts med", "cuts max", "keys med", "keys max", "shown med", "shown max");
    const auto failed = [](const char *name) {
        std::printf("%s: the keystroke did not show its cut plan\n", name);
        return 1;
    };
    for (const Length bleed : {Length(0), Length(300)}) {
        const char *name = bleed ? "160 trade cases, bleed 3" : "160 trade cases";
        std::vector<double> plans, cuts, windows, shown;
        for (const cases::MmSize sheet : cases::TradeSheets)
            for (const cases::MmSize product : cases::TradeProducts) {
                const Input in{sheet.width * 100, sheet.length * 100, product.width * 100,
                               product.length * 100, bleed};
                const auto times = time(in, runs);
                if (!times)
                    return failed(name);
                Timing fastest{1e9, 1e9, 1e9, 1e9};
                for (const Timing &t : *times) {
                    fastest.plan = std::min(fastest.plan, t.plan);
                    fastest.cuts = std::min(fastest.cuts, t.cuts);
                    fastest.window = std::min(fastest.window, t.window);
                    fastest.shown = std::min(fastest.shown, t.shown);
                }
                plans.push_back(fastest.plan);
                cuts.push_back(fastest.cuts);
                windows.push_back(fastest.window);
                shown.push_back(fastest.shown);
            }
        std::printf("%-48s %9.4f %9.4f %9.4f %9.4f %9.4f %9.4f %9.4f %9.4f\n", name, median(plans),
                    slowest(plans), median(cuts), slowest(cuts), median(windows), slowest(windows),
                    median(shown), slowest(shown));
    }
    for (const cases::PlannerCase &c : cases::WorstPlannerCases) {
        const auto times = time(c.input, runs);
        if (!times)
            return failed(c.name);
        std::vector<double> plans, cuts, windows, shown;
        for (const Timing &t : *times) {
            plans.push_back(t.plan);
            cuts.push_back(t.cuts);
            windows.push_back(t.window);
            shown.push_back(t.shown);
        }
        std::printf("%-48s %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f  %zu strokes%s\n",
                    c.name, median(plans), slowest(plans), median(cuts), slowest(cuts),
                    median(windows), slowest(windows), median(shown), slowest(shown),
                    times->front().strokes, times->front().cutShort ? ", cut short" : "");
    }
    return 0;
}
