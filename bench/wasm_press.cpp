// A press of "查看拼版图" as a script in a web page will make it: the imposition panel's own
// event, handed the texts of its six controls, and the caption it sets on Label31.
//
//   press.wasm            the everyday press, 1092 × 787 / 210 × 297, 横竖混排, 大套版:
//                         prints "Label31 = 11"
//   press.wasm --time N   every press of bench/presscases.h N times: the median and the
//                         slowest run in milliseconds, for information
//
// Output is plain ASCII; a refused press prints the control the refusal sends the focus to.
#include "bench/presscases.h"
#include "common/panel.h"
#include "imposition/impositionpanel.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace korvane;

constexpr bench::PressInput Everyday = {
    "everyday", u"横竖混排", u"大套版", {u"1092", u"787", u"210", u"297"}};

const Event &viewEvent()
{
    for (const Event &event : impositionPanel.events)
        if (event.source == "Command6")
            return event;
    std::fputs("the imposition panel has no event of Command6\n", stderr);
    std::exit(1);
}

// What the event reads, in its own order: both drop-down boxes, then the four sizes.
std::vector<Reading> readingsOf(const bench::PressInput &input)
{
    const std::array<std::pair<ControlName, const char16_t *>, 6> typed = {{
        {"Combo2", input.arrangement},
        {"Combo3", input.method},
        {"Text4", input.sizes[0]},
        {"Text5", input.sizes[1]},
        {"Text6", input.sizes[2]},
        {"Text7", input.sizes[3]},
    }};
    std::vector<Reading> readings;
    for (ControlName name : viewEvent().reads) {
        const auto found = std::find_if(typed.begin(), typed.end(),
                                        [&](const auto &entry) { return entry.first == name; });
        if (found == typed.end()) {
            std::fputs(("the press reads " + std::string(name) + ", which is not typed\n").c_str(),
                       stderr);
            std::exit(1);
        }
        readings.push_back({found->second});
    }
    return readings;
}

// Label31 as the panel shows it after the press, or where a refusal sends the focus.
std::string result(const Outcome &outcome)
{
    if (const auto *refusal = std::get_if<Refusal>(&outcome))
        return "refused, focus on " + std::string(refusal->focus);
    for (const SetCaption &caption : std::get<Update>(outcome).captions)
        if (caption.control == "Label31")
            return "Label31 = " + std::string(caption.text.begin(), caption.text.end());
    return "no caption on Label31";
}

std::string milliseconds(double ms)
{
    std::array<char, 32> buffer{};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), ms,
                                       std::chars_format::fixed, 3);
    return {buffer.data(), written.ptr};
}

} // namespace

int main(int argc, char **argv)
{
    const Event &view = viewEvent();
    if (argc == 1) {
        std::fputs((result(view.handle(readingsOf(Everyday))) + "\n").c_str(), stdout);
        return 0;
    }
    int runs = 0;
    const std::string_view count = argc == 3 ? argv[2] : "";
    const auto parsed = std::from_chars(count.data(), count.data() + count.size(), runs);
    if (argc != 3 || std::string_view(argv[1]) != "--time" || parsed.ec != std::errc() ||
        parsed.ptr != count.data() + count.size() || runs < 1) {
        std::fputs("usage: press.wasm [--time runs]\n", stderr);
        return 2;
    }
    std::fputs("press: result, median ms, slowest ms\n", stdout);
    for (const bench::PressInput &input : bench::PressInputs) {
        const std::vector<Reading> readings = readingsOf(input);
        std::vector<double> times;
        std::string shown;
        for (int i = 0; i < runs; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const Outcome outcome = view.handle(readings);
            times.push_back(
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count());
            shown = result(outcome);
        }
        std::sort(times.begin(), times.end());
        std::fputs((std::string(input.name) + ": " + shown + ", " +
                    milliseconds(times[times.size() / 2]) + ", " + milliseconds(times.back()) +
                    "\n")
                       .c_str(),
                   stdout);
    }
    return 0;
}
