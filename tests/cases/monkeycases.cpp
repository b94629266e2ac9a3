#include "tests/cases/monkeycases.h"

#include "app/mainwindow.h"
#include "common/numtext.h"
#include "imposition/plannerwindow.h"
#include "tests/cases/paritycases.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

namespace korvane::test {
namespace {

int fromEnvironment(const char *name, int otherwise)
{
    const char *text = std::getenv(name);
    int value = otherwise;
    if (text)
        std::from_chars(text, text + std::char_traits<char>::length(text), value);
    return value;
}

constexpr std::u16string_view None = u"—";

// The planner's figures, a row for each layout, Label61 to Label64 its ups, then its
// utilisation, sheets, reams and weight; and how it writes each column: its decimals (the
// reams' without trailing zeros) and unit.
constexpr int FirstFigures[] = {61, 65, 71, 75, 81};
constexpr int Decimals[] = {0, 1, 0, 3, 1};
constexpr std::u16string_view Units[] = {u"", u"%", u"", u"", u" kg"};

// Whether `text` is a number of `decimals` as formatFixed writes it (without trailing zeros
// when `trimmed`), then `unit`.
bool fixedAs(std::u16string_view text, int decimals, bool trimmed, std::u16string_view unit = {})
{
    const std::u16string_view number = text.substr(0, text.size() - unit.size());
    const auto value = parseNumber(number);
    return text.ends_with(unit) && value && *value >= 0 && *value < 1e12 &&
           formatFixed(std::llround(*value * std::pow(10, decimals)), decimals, trimmed) == number;
}

// Whether `text` is a number of `column` as the planner's rows write it.
bool writtenAs(std::u16string_view text, std::size_t column = 0)
{
    return fixedAs(text, Decimals[column], Decimals[column] == 3, Units[column]);
}

// The quote's figures, a row for each method from Label101 on, and their decimals: sheets,
// plates and their money, the total and the price of a copy.
constexpr int QuoteDecimals[] = {0, 0, 0, 2, 0, 2, 2, 2, 4};

constexpr std::u16string_view StockTooSmall = u"开版尺寸大于全张";

std::vector<ControlName> controlsOf(const WindowDescription &window,
                                    std::initializer_list<ControlKind> kinds)
{
    std::vector<ControlName> names;
    for (const Tab &tab : window.tabs)
        for (const ControlRow &row : tab.panel->controls)
            if (std::find(kinds.begin(), kinds.end(), row.kind) != kinds.end())
                names.push_back(row.name);
    return names;
}

struct Monkey
{
    WindowProbe &probe;
    std::mt19937 random;

    int pick(std::size_t n) { return std::uniform_int_distribution<int>(0, int(n) - 1)(random); }
    template <typename T> const T &any(const std::vector<T> &from)
    {
        return from[std::size_t(pick(from.size()))];
    }
    // The button the action pressed, if any.
    std::optional<ControlName> act(MonkeyAction action);
};

std::optional<ControlName> Monkey::act(MonkeyAction action)
{
    using A = MonkeyAction;
    using K = ControlKind;
    using C = Key::Code;
    const WindowDescription &window = action >= A::PlannerType ? plannerWindow : mainWindow;
    if (&window == &plannerWindow && !windowCaptioned(probe, plannerWindow.caption).shown) {
        if (pick(2))
            probe.clickTab(0);
        pick(2) ? probe.key({C::Character, u'L', false, true}) : probe.run("openPlanner");
        return {};
    }
    // A form every input of the planner takes, and every count of colours.
    static const std::vector<std::u16string> Mending = {
        u"10", u"12", u"20", u"１５", u"1.5e1", u"\u3000１２\u3000", u" 18 ", u"+16", u"10.00"};
    static const std::vector<std::u16string> Colours = {u"4",   u"４", u"4e0",
                                                        u" 2 ", u"+1", u"8.00"};
    switch (action) {
    case A::Type:
    case A::PlannerType: {
        // Half the time the user mends what the planner's status line names.
        const std::u16string status = probe.text("Label86");
        if (action == A::PlannerType && !status.empty() && pick(2)) {
            if (status == StockTooSmall)
                probe.pick("Combo101", 0);
            for (const Entry &fault : plannerFaults())
                if (plannerFaultMessage(fault.control) == status)
                    probe.type(fault.control,
                               any(fault.control == "Text104" || fault.control == "Text105"
                                       ? Colours
                                       : Mending));
            break;
        }
        const ControlName box = any(controlsOf(window, {K::TextBox, K::DropDown}));
        const std::u16string &text = any(monkeyTexts());
        // Typed key by key when it is short, or pasted.
        probe.enterText(box, text, pick(4) != 0 || text.size() >= 20);
        break;
    }
    case A::Pick:
    case A::PlannerPick: {
        const ControlName list = any(controlsOf(window, {K::DropDown, K::List}));
        probe.pick(list, pick(rowOf(list).items.size()));
        break;
    }
    case A::Press: {
        const ControlName button = any(controlsOf(mainWindow, {K::Button}));
        probe.click(button);
        return button;
    }
    case A::AltC:
        probe.key({C::Character, u'c', false, false, true});
        return "Command1";
    case A::SwitchTab:
        if (pick(2)) {
            probe.clickTab(pick(mainWindow.tabs.size()));
            break;
        }
        probe.focus(mainWindow.tabStrip);
        probe.key({pick(2) ? C::Left : C::Right});
        break;
    case A::Scroll: {
        const ControlName bar = any(controlsOf(mainWindow, {K::VScrollBar}));
        if (!pick(2)) {
            probe.scroll(bar, ScrollRequest(pick(4))); // an arrow or the track clicked
            break;
        }
        probe.focus(bar);
        probe.key({any(std::vector{C::Up, C::Down, C::PageUp, C::PageDown, C::Home, C::End})});
        break;
    }
    case A::PlannerChoose:
        probe.click(PlannerOptions[std::size_t(pick(PlannerOptions.size()))]);
        break;
    case A::PlannerClick:
        probe.click(pick(4) ? "Check101" : "Command101");
        break;
    case A::PlannerClose:
        probe.close(plannerWindow);
        break;
    }
    return {};
}

// A press answers within the budget, with no box or the box of a refusal its button makes;
// nothing else asks a box, none stays open, and the main window stays.
std::string checkBoxes(WindowProbe &probe, std::optional<ControlName> pressed, std::int64_t tookMs,
                       std::int64_t budgetMs)
{
    const std::vector<SeenBox> boxes = probe.boxes();
    if (!pressed)
        return boxes.empty() ? "" : "a box: " + printable(boxes[0].text);
    const std::string button(*pressed);
    const std::int64_t answered = boxes.empty() ? tookMs : boxes[0].afterMs;
    if (answered >= budgetMs)
        return button + " took " + std::to_string(answered) + " ms";
    if (boxes.size() > 1)
        return std::to_string(boxes.size()) + " boxes after " + button;
    // Only a refusal of the press cases, the focus where it says.
    const auto known = [&](const PressCase &c) {
        return c.refusal && c.button == button && c.refusal->message == boxes[0].text &&
               c.refusal->focus == probe.focused();
    };
    if (!boxes.empty() && (boxes[0].title != ErrorTitle || !boxes[0].stopAndOk ||
                           std::none_of(pressCases().begin(), pressCases().end(), known)))
        return printable(boxes[0].text) + " after " + button + ", the focus on " + probe.focused();
    if (!windowCaptioned(probe, mainWindow.caption).shown)
        return "the main window gone";
    return windowCaptioned(probe, ErrorTitle).shown ? "a box left open" : "";
}

} // namespace

const std::vector<std::u16string> &monkeyTexts()
{
    // clang-format off
    static const std::vector<std::u16string> texts = {
        u"", u" ", u"0", u"-0", u"1", u"60", u"60.5", u"-60", u"787", u"1092", u"210", u"297",
        u"90", u"307", u"1e308", u"-1e308", u"1e-320", u"1e400", u"inf", u"NaN", u"0x10",
        u"1,092", u"１０９２", u"２９７．５", u"－３", u"\u3000８０\u3000", u"abc",
        u"横排", u"横排或竖排", u"横竖混排", u"大套版", u"自翻版", u"大翻版",
        u"787*1092", u"880*1230", u"720*1020", u"787x1092", u" 787*1092", u"😀", u"1😀",
        u"46340", u"2147483647", u"2147483648", u"0.4", u"0.5", u"1.5", u"99999", u"200000",
        u"1e6", u"3.5e3", u".", u"-", u"+5", u"1e", u"\t12\t", u"12 34", u"１e5", u"ｅ",
        u"３", u"１２．５", u"５０００", u"０．０１", u"1.005", u"0.01", u"5000", u"100000000",
        std::u16string(u"1\0" u"2", 3), u"\u0001\u0002\u0003", u"\r\n", u"3\b", u"\u001b",
        u"\u007f", u"\u200b10", u"1\u202e2",
        std::u16string(10000, u'9'), std::u16string(10000, u'横'), u"1" + std::u16string(400, u'0'),
    };
    // clang-format on
    return texts;
}

const std::vector<MonkeyAction> &monkeyActions()
{
    using A = MonkeyAction;
    static const std::vector<MonkeyAction> actions = {
        A::Type,        A::Type,          A::Pick,         A::Press,
        A::Press,       A::Press,         A::AltC,         A::SwitchTab,
        A::Scroll,      A::Scroll,        A::PlannerType,  A::PlannerType,
        A::PlannerPick, A::PlannerChoose, A::PlannerClick, A::PlannerClose,
    };
    return actions;
}

std::uint32_t monkeySeed()
{
    return std::uint32_t(fromEnvironment("KORVANE_MONKEY_SEED", 20261207));
}

int monkeyLength()
{
    return fromEnvironment("KORVANE_MONKEY_ACTIONS", 3000);
}

std::string checkShown(WindowProbe &probe)
{
    const std::u16string ups = probe.text("Label31");
    if (!writtenAs(ups) || *parseNumber(ups) > 2147483647)
        return "ups " + printable(ups);
    for (ControlName result : {"Label9", "Label10", "Label18"}) {
        const std::u16string shown = probe.text(result);
        const auto value = parseNumber(shown);
        if (!value || !std::isfinite(*value) || widen(formatNumber(*value)) != shown)
            return std::string(result) + " " + printable(shown);
    }
    const std::pair<ControlName, ControlName> columns[] = {
        {"VScroll1", "Label32"}, {"VScroll2", "Label34"}, {"VScroll3", "Label35"}};
    for (const auto &[bar, label] : columns) {
        const int at = probe.value(bar);
        // A label shows the value of the last change; a value of 0 may never have changed.
        if (at < 0 || at > 255 || probe.text(label) != formatCount(at))
            return std::string(label) + " " + printable(probe.text(label));
    }
    return {};
}

std::string checkPlanner(WindowProbe &probe)
{
    if (windowCaptioned(probe, plannerWindow.caption).caption.empty())
        return {};
    const std::u16string status = probe.text("Label86");
    const std::u16string proof = probe.text("Label85");
    const std::vector<Entry> &faults = plannerFaults();
    const bool fault = std::any_of(faults.begin(), faults.end(), [&](const Entry &f) {
        return plannerFaultMessage(f.control) == status;
    });
    // Kept or not, the status line says so until the next change.
    if (!status.empty() && !fault && status != StockTooSmall && status != u"已设为默认" &&
        !status.starts_with(u"设置未能保存："))
        return "Label86 " + printable(status);
    if (!fault ? proof != u"已证最优" && proof != u"未证明" &&
                     !(proof.starts_with(u"上限 ") && writtenAs(proof.substr(3)))
               : proof != None)
        return "Label85 " + printable(proof);
    int chosen = 0;
    for (std::size_t row = 0; row < PlannerOptions.size(); ++row) {
        const Shown option = probe.shown(PlannerOptions[row]);
        chosen += option.value;
        // A row can be chosen where it has ups, and only there.
        if ((option.value && !option.enabled) ||
            (!fault && (probe.text("Label" + std::to_string(61 + row)) != None) != option.enabled))
            return std::string(PlannerOptions[row]) + (option.enabled ? " enabled" : " disabled");
        for (std::size_t column = 0; column < std::size(Units); ++column) {
            const std::string label = "Label" + std::to_string(FirstFigures[column] + int(row));
            const std::u16string shown = probe.text(label);
            const bool blank = fault || (status == StockTooSmall && column >= 3);
            if (shown != None && (blank || !writtenAs(shown, column)))
                return label + " " + printable(shown);
        }
    }
    if (chosen != (fault ? 0 : 1))
        return std::to_string(chosen) + " rows chosen beside " + printable(status);
    for (std::size_t figure = 0; figure < std::size(QuoteDecimals); ++figure)
        for (int method = 0; method < 3; ++method) {
            const std::string label = "Label" + std::to_string(101 + 3 * int(figure) + method);
            const std::u16string shown = probe.text(label);
            if (shown != None &&
                (fault || status == StockTooSmall || !fixedAs(shown, QuoteDecimals[figure], false)))
                return label + " " + printable(shown);
        }
    const std::u16string cuts = probe.text("Label129");
    if (cuts != None && (fault || !cuts.starts_with(u"裁切 ") || !cuts.ends_with(u" 刀") ||
                         !fixedAs(cuts.substr(3, cuts.size() - 5), 0, false)))
        return "Label129 " + printable(cuts);
    return {};
}

std::string runMonkey(WindowProbe &probe, std::int64_t pressBudgetMs)
{
    using Clock = std::chrono::steady_clock;
    const std::uint32_t seed = monkeySeed();
    std::printf("monkey seed %u\n", unsigned(seed));
    Monkey monkey{probe, std::mt19937(seed)};
    for (const Entry &size : goodPress(0).inputs)
        probe.paste(size.control, size.text);
    // First each input of the planner is given each kind of hostile text, typed or, when
    // long, pasted, and then a good one; then come the random actions.
    std::vector<Entry> sweep;
    // The hundred thousand digits go into the first input and the last, the one read last:
    // every input is read by the same parser, and a toolkit's box is slow with them.
    const std::vector<ControlName> inputs = controlsOf(plannerWindow, {ControlKind::TextBox});
    for (ControlName input : inputs) {
        for (const std::u16string &text : {std::u16string(u"\u0001\u0002\u0003"),
                                           std::u16string(u"1e400"), std::u16string(u"１２．５")})
            sweep.push_back({input, text});
        if (input == inputs.front() || input == inputs.back())
            sweep.push_back({input, std::u16string(100'000, u'9')});
        sweep.push_back({input, input == "Text104" || input == "Text105" ? u"4" : u"12"});
    }
    probe.clickTab(0);
    probe.run("openPlanner");
    for (int step = 0; step < int(sweep.size()) + monkeyLength(); ++step) {
        const Clock::time_point start = Clock::now();
        std::optional<ControlName> pressed;
        if (const std::size_t at = std::size_t(step); at < sweep.size())
            probe.enterText(sweep[at].control, sweep[at].text, sweep[at].text.size() >= 20);
        else
            pressed = monkey.act(monkey.any(monkeyActions()));
        const auto took =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
        std::string problem = checkBoxes(probe, pressed, took, pressBudgetMs);
        for (const auto check : {checkShown, checkPlanner})
            if (problem.empty())
                problem = check(probe);
        if (!problem.empty())
            return "seed " + std::to_string(seed) + ", action " + std::to_string(step) + ": " +
                   problem;
    }
    return {};
}

} // namespace korvane::test
