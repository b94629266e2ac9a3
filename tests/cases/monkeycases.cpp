#include "tests/cases/monkeycases.h"

#include "common/numtext.h"
#include "tests/cases/panelcases.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

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

bool isProgramNumber(const std::u16string &text)
{
    const auto value = parseNumber(text);
    return value && std::isfinite(*value) && widen(formatNumber(*value)) == text;
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
        std::u16string(10000, u'9'), std::u16string(10000, u'横'), u"1" + std::u16string(400, u'0'),
    };
    // clang-format on
    return texts;
}

const std::vector<MonkeyAction> &monkeyActions()
{
    using A = MonkeyAction;
    static const std::vector<MonkeyAction> actions = {
        A::Type,  A::Type, A::Pick,      A::Press,  A::Press,
        A::Press, A::AltC, A::SwitchTab, A::Scroll, A::Scroll,
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

std::string checkShown(const std::function<std::u16string(ControlName)> &caption,
                       const std::function<int(ControlName)> &value)
{
    const std::u16string ups = caption("Label31");
    std::int64_t count = -1;
    const std::string digits(ups.begin(), ups.end());
    const auto parsed = std::from_chars(digits.data(), digits.data() + digits.size(), count);
    if (parsed.ec != std::errc() || parsed.ptr != digits.data() + digits.size() || count < 0 ||
        count > 2147483647 || formatCount(count) != ups)
        return "ups " + printable(ups);
    for (ControlName result : {"Label9", "Label10", "Label18"})
        if (!isProgramNumber(caption(result)))
            return std::string(result) + " " + printable(caption(result));
    const std::pair<ControlName, ControlName> columns[] = {
        {"VScroll1", "Label32"}, {"VScroll2", "Label34"}, {"VScroll3", "Label35"}};
    for (const auto &[bar, label] : columns) {
        const int at = value(bar);
        // A label shows the value of the last change; a value of 0 may never have changed.
        if (at < 0 || at > 255 || caption(label) != formatCount(at))
            return std::string(label) + " " + printable(caption(label));
    }
    return {};
}

bool knownRefusal(ControlName button, std::u16string_view message, ControlName focus)
{
    for (const PressCase &c : pressCases())
        if (c.refusal && c.button == button && c.refusal->message == message &&
            c.refusal->focus == focus)
            return true;
    return false;
}

} // namespace korvane::test
