#include "tests/cases/panelcases.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace korvane::test {
namespace {

constexpr std::u16string_view Sheet = u"请输入开版尺寸！";
constexpr std::u16string_view Product = u"请输入产品尺寸！";
constexpr std::u16string_view Grammage = u"请输入克重！";
constexpr std::u16string_view Format = u"请选择纸张规格！";
constexpr std::u16string_view Pages = u"请输入页数！";

std::vector<Entry> sizes(std::u16string a, std::u16string b, std::u16string c, std::u16string d)
{
    return {{"Text4", std::move(a)},
            {"Text5", std::move(b)},
            {"Text6", std::move(c)},
            {"Text7", std::move(d)}};
}

std::vector<Entry> imposition(std::u16string arrangement, std::u16string method,
                              std::vector<Entry> sized)
{
    sized.insert(sized.begin(),
                 {{"Combo2", std::move(arrangement)}, {"Combo3", std::move(method)}});
    return sized;
}

std::vector<Entry> ups(std::u16string count)
{
    return {{"Label31", std::move(count)}};
}

std::vector<Entry> grammage(std::u16string g, std::u16string format)
{
    return {{"Text1", std::move(g)}, {"Combo1", std::move(format)}};
}

std::vector<Entry> reams(std::u16string weight, std::u16string count)
{
    return {{"Label9", std::move(weight)}, {"Label10", std::move(count)}};
}

std::vector<Entry> spine(std::u16string pages, std::u16string g)
{
    return {{"Text2", std::move(pages)}, {"Text3", std::move(g)}};
}

std::vector<Entry> thickness(std::u16string mm)
{
    return {{"Label18", std::move(mm)}};
}

PressCase good(std::string name, int tab, std::vector<Entry> inputs, ControlName button,
               std::vector<Entry> results)
{
    return {std::move(name), tab, std::move(inputs), button, std::move(results), std::nullopt};
}

PressCase refused(std::string name, int tab, std::vector<Entry> inputs, ControlName button,
                  std::u16string_view message, ControlName focus)
{
    return {std::move(name), tab, std::move(inputs), button, {}, Refusal{message, focus}};
}

std::vector<PressCase> makePressCases()
{
    const auto A4 = sizes(u"1092", u"787", u"210", u"297");
    // A page count pasted with leading zeros past the 32,767 characters a text box used to
    // keep: every character counts.
    const std::u16string longPages = std::u16string(32'768, u'0') + u"297";
    return {
        // clang-format off
        good("imposition: horizontal", 0, imposition(u"横排", u"大套版", A4), "Command6", ups(u"9")),
        good("imposition: either", 0, imposition(u"横排或竖排", u"大套版", A4), "Command6", ups(u"10")),
        good("imposition: mixed", 0, imposition(u"横竖混排", u"大套版", A4), "Command6", ups(u"11")),
        good("imposition: turn vertical", 0, imposition(u"竖排", u"自翻版", A4), "Command6", ups(u"8")),
        good("imposition: tumble mixed", 0,
             imposition(u"横竖混排", u"大翻版", sizes(u"787", u"1092", u"90", u"307")), "Command6",
             ups(u"26")),
        good("imposition: full-width digits", 0,
             imposition(u"横排", u"大套版", sizes(u"１０９２", u"７８７", u"２１０", u"２９７")),
             "Command6", ups(u"9")),
        good("imposition: dense grid", 0,
             imposition(u"横排", u"大套版", sizes(u"46340", u"46340", u"1", u"1")), "Command6",
             ups(u"2147395600")),
        refused("imposition: arrangement with a blank", 0, imposition(u"横排 ", u"乱写", A4),
                "Command6", u"请选择开版方式！", "Combo2"),
        refused("imposition: method", 0, imposition(u"横排", u"大套", A4), "Command6",
                u"请选择拼版方式！", "Combo3"),
        refused("imposition: empty sheet", 0, sizes(u"", u"x", u"", u""), "Command6", Sheet, "Text4"),
        refused("imposition: second sheet side", 0, sizes(u"1092", u"abc", u"", u""), "Command6",
                Sheet, "Text5"),
        refused("imposition: product", 0, sizes(u"1092", u"787", u"inf", u""), "Command6", Product,
                "Text6"),
        refused("imposition: second product side", 0, sizes(u"1092", u"787", u"210", u"1e400"),
                "Command6", Product, "Text7"),
        // Numbers that pass the test but cannot be counted with.
        refused("imposition: zero sheet", 0, sizes(u"0", u"787", u"210", u"297"), "Command6", Sheet,
                "Text4"),
        refused("imposition: negative sheet", 0, sizes(u"1092", u"-787", u"-1", u"297"), "Command6",
                Sheet, "Text5"),
        refused("imposition: rounds to zero", 0, sizes(u"1092", u"787", u"210", u"0.5"), "Command6",
                Product, "Text7"),
        refused("imposition: beyond the integer range", 0, sizes(u"3e9", u"787", u"210", u"297"),
                "Command6", Sheet, "Text4"),
        refused("imposition: too many ups", 0, sizes(u"1e6", u"1e6", u"1", u"1"), "Command6",
                Product, "Text6"),
        refused("imposition: too many cuts", 0,
                imposition(u"横竖混排", u"大套版", sizes(u"1", u"2e5", u"1", u"1")), "Command6",
                u"产品尺寸相对开版尺寸过小，无法计算横竖混排！", "Text6"),

        good("grammage: 80 on 880*1230", 1, grammage(u"80", u"880*1230"), "Command1",
             reams(u"43.296", u"23.0968218773097")),
        good("grammage: initial inputs", 1, {}, "Command1", reams(u"25.78212", u"38.7865699174467")),
        good("grammage: 70 on 720*1020", 1, grammage(u"70", u"720*1020"), "Command1",
             reams(u"25.704", u"38.9044506691566")),
        good("grammage: negative", 1, grammage(u"-60", u"787*1092"), "Command1",
             reams(u"-25.78212", u"-38.7865699174467")),
        good("grammage: half to even", 1, grammage(u"61.5", u"787*1092"), "Command1",
             reams(u"26.641524", u"37.5353902426903")),
        refused("grammage: empty, format bad too", 1, grammage(u"", u"787x1092"), "Command1",
                Grammage, "Text1"),
        refused("grammage: rounds to zero", 1, grammage(u"0.4", u"787*1092"), "Command1", Grammage,
                "Text1"),
        refused("grammage: beyond 16 bits", 1, grammage(u"40000", u"787*1092"), "Command1",
                Grammage, "Text1"),
        refused("grammage: letter x", 1, grammage(u"60", u"787x1092"), "Command1", Format, "Combo1"),
        refused("grammage: trailing blank", 1, grammage(u"60", u"787*1092 "), "Command1", Format,
                "Combo1"),

        good("spine: 320 at 70", 2, spine(u"320", u"70"), "Command2", thickness(u"30.24")),
        good("spine: initial inputs", 2, {}, "Command2", thickness(u"8.1")),
        good("spine: 250 at 80", 2, spine(u"250", u"80"), "Command2", thickness(u"27")),
        good("spine: fractional pages", 2, spine(u"100.5", u"60"), "Command2", thickness(u"8.1405")),
        good("spine: negative", 2, spine(u"-100", u"60"), "Command2", thickness(u"-8.1")),
        good("spine: no pages", 2, spine(u"0", u"60"), "Command2", thickness(u"0")),
        good("spine: past 32,767 characters", 2, spine(longPages, u"60"), "Command2",
             thickness(u"24.057")),
        refused("spine: both empty", 2, spine(u"", u""), "Command2", Pages, "Text2"),
        refused("spine: empty grammage", 2, spine(u"100", u""), "Command2", Grammage, "Text3"),
        refused("spine: beyond a double", 2, spine(u"1e308", u"1e308"), "Command2", Grammage,
                "Text3"),
        // clang-format on
    };
}

std::vector<Entry> values(std::u16string red, std::u16string green, std::u16string blue)
{
    return {
        {"Label32", std::move(red)}, {"Label34", std::move(green)}, {"Label35", std::move(blue)}};
}

std::vector<std::pair<ControlName, std::optional<Rgb>>> boxes(std::optional<Rgb> red,
                                                              std::optional<Rgb> green,
                                                              std::optional<Rgb> blue,
                                                              std::optional<Rgb> mixed)
{
    return {{"Picture2", red}, {"Picture3", green}, {"Picture4", blue}, {"Picture5", mixed}};
}

std::vector<ScrollCase> makeScrollCases()
{
    const std::optional<Rgb> untouched;
    return {
        // clang-format off
        {"untouched", {}, values(u"0", u"0", u"0"), boxes(untouched, untouched, untouched, untouched)},
        {"red full", {{"VScroll1", 255}}, values(u"255", u"0", u"0"),
         boxes(Rgb{255, 0, 0}, untouched, untouched, Rgb{255, 0, 0})},
        {"red half", {{"VScroll1", 128}}, values(u"128", u"0", u"0"),
         boxes(Rgb{255, 127, 127}, untouched, untouched, Rgb{128, 0, 0})},
        {"yellow", {{"VScroll1", 255}, {"VScroll2", 255}}, values(u"255", u"255", u"0"),
         boxes(Rgb{255, 0, 0}, Rgb{0, 255, 0}, untouched, Rgb{255, 255, 0})},
        {"white", {{"VScroll3", 255}, {"VScroll2", 255}, {"VScroll1", 255}},
         values(u"255", u"255", u"255"),
         boxes(Rgb{255, 0, 0}, Rgb{0, 255, 0}, Rgb{0, 0, 255}, Rgb{255, 255, 255})},
        // Back to 0 the tint is white, not the window colour it started with.
        {"green back to 0", {{"VScroll1", 30}, {"VScroll2", 200}, {"VScroll3", 90}, {"VScroll2", 0}},
         values(u"30", u"0", u"90"),
         boxes(Rgb{255, 225, 225}, Rgb{255, 255, 255}, Rgb{165, 165, 255}, Rgb{30, 0, 90})},
        // clang-format on
    };
}

} // namespace

const std::vector<PressCase> &pressCases()
{
    static const std::vector<PressCase> cases = makePressCases();
    return cases;
}

const PressCase &goodPress(int tab)
{
    for (const PressCase &c : pressCases()) {
        if (c.tab != tab)
            continue;
        if (c.refusal)
            broken("the first case of tab " + std::to_string(tab) + " is a refusal");
        return c;
    }
    broken("no press case for tab " + std::to_string(tab));
}

const std::vector<ScrollCase> &scrollCases()
{
    static const std::vector<ScrollCase> cases = makeScrollCases();
    return cases;
}

std::string printable(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text.substr(0, 40)) {
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (c >> 12)));
            out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    if (text.size() > 40)
        out += "... (" + std::to_string(text.size()) + " code units)";
    return out;
}

void broken(const std::string &what)
{
#ifdef __cpp_exceptions
    throw std::logic_error(what);
#else
    std::fputs((what + '\n').c_str(), stderr);
    std::abort();
#endif
}

Outcome runEvent(const PanelTable &panel, ControlName source, const std::vector<Entry> &typed,
                 const std::vector<std::pair<ControlName, int>> &values)
{
    const auto event = std::find_if(panel.events.begin(), panel.events.end(),
                                    [&](const Event &e) { return e.source == source; });
    if (event == panel.events.end())
        broken(std::string(source) + " has no event");
    std::vector<Reading> readings;
    for (ControlName name : event->reads) {
        const ControlRow &row = *findControl(panel, name);
        Reading reading{
            std::u16string(row.text), row.scroll.minimum, {row.rect.width, row.rect.height}};
        for (const Entry &input : typed)
            if (input.control == name)
                reading.text = input.text;
        for (const auto &[control, value] : values)
            if (control == name)
                reading.value = value;
        readings.push_back(std::move(reading));
    }
    Outcome outcome = event->handle(readings);
    if (const std::vector<std::string> problems = checkOutcome(panel, outcome); !problems.empty())
        broken(problems.front());
    return outcome;
}

std::u16string captionOf(const Outcome &outcome, ControlName label)
{
    if (const auto *update = std::get_if<Update>(&outcome))
        for (const SetCaption &caption : update->captions)
            if (caption.control == label)
                return caption.text;
    return u"(not set)";
}

} // namespace korvane::test
