// The desktop's rules on their own, case by case: access keys, names, scroll steps and
// anchors, which each front end only maps.
#include "app/mainwindow.h"
#include "common/rules.h"
#include "tests/cases/panelcases.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(Rules, AccessKeysAndCaptions)
{
    struct Case
    {
        std::u16string_view caption;
        std::optional<char16_t> key;
        std::u16string_view shown;
    };
    // clang-format off
    const Case cases[] = {
        {u"换算(&C)",     u'C',         u"换算(C)"},
        {u"换算(&c)",     u'C',         u"换算(c)"},
        {u"油&&墨",       std::nullopt, u"油&墨"},
        {u"油&&墨(&K)",   u'K',         u"油&墨(K)"},
        {u"计算&",        std::nullopt, u"计算&"},
        {u"计算",         std::nullopt, u"计算"},
    };
    // clang-format on
    for (const Case &c : cases) {
        EXPECT_EQ(accessKeyOf(c.caption), c.key) << test::printable(c.caption);
        EXPECT_EQ(withoutMarker(c.caption), c.shown);
    }
}

// Tools find a control by its name alone: a name may stand once in a whole window.
TEST(Rules, NamesAreUniqueAcrossAWindow)
{
    EXPECT_EQ(checkWindow(mainWindow), std::vector<std::string>{});
    const ControlRow first[] = {{ControlKind::TextBox, "Text1", {}}};
    const ControlRow second[] = {{ControlKind::TextBox, "Text1", {}},
                                 {ControlKind::Label, "TabStrip1", {}}};
    const PanelTable a{first, {}, {}}, b{second, {}, {}};
    const Tab tabs[] = {{u"甲", &a}, {u"乙", &b}};
    WindowDescription twice = mainWindow;
    twice.tabs = tabs;
    EXPECT_EQ(checkWindow(twice),
              (std::vector<std::string>{"name used twice in the window: Text1",
                                        "name used twice in the window: TabStrip1"}));
}

TEST(Rules, NamesFollowOneScheme)
{
    struct Case
    {
        ControlName name;
        std::optional<std::pair<std::size_t, int>> parts; // word index and number
    };
    // clang-format off
    const Case cases[] = {
        {"Label1",    std::pair{0, 1}},   {"Text99",  std::pair{1, 99}},
        {"Option54",  std::pair{8, 54}},  {"TabStrip1", std::pair{7, 1}},
        {"drawpic",   std::pair{0, 0}},   {"planpic", std::pair{1, 0}},
        {"Text0",     std::nullopt},      {"Text999", std::pair{1, 999}}, {"Text1000", std::nullopt}, {"Text04", std::nullopt},
        {"Text",      std::nullopt},      {"Text4a",  std::nullopt},  {"text4",  std::nullopt},
        {"Frame1",    std::nullopt},      {"",        std::nullopt},
    };
    // clang-format on
    for (const Case &c : cases) {
        const auto parts = nameParts(c.name);
        ASSERT_EQ(parts.has_value(), c.parts.has_value()) << c.name;
        if (parts) {
            EXPECT_EQ(parts->word, c.parts->first) << c.name;
            EXPECT_EQ(parts->number, c.parts->second) << c.name;
        }
    }
    const ControlRow rows[] = {{ControlKind::TextBox, "Text4", {}},
                               {ControlKind::TextBox, "box4", {}}};
    EXPECT_EQ(checkPanel({rows, {}, {}}),
              std::vector<std::string>{"name outside the naming scheme: box4"});
}

TEST(Rules, ScrollBarsStepWithinTheirRange)
{
    constexpr ScrollRange Range{0, 255, 1, 10};
    using R = ScrollRequest;
    struct Case
    {
        int from;
        ScrollRequest request;
        int thumb;
        int to;
    };
    // clang-format off
    const Case cases[] = {
        {0,   R::LineDown,      0,   1},  {0,   R::PageDown,     0,   10},
        {5,   R::PageUp,        0,   0},  {250, R::PageDown,     0,   255},
        {7,   R::LineUp,        0,   6},  {0,   R::LineUp,       0,   0},
        {11,  R::ThumbDragged,  200, 11}, {11,  R::ThumbReleased, 200, 200},
        {11,  R::Top,           0,   0},  {11,  R::Bottom,       0,   255},
    };
    // clang-format on
    for (const Case &c : cases)
        EXPECT_EQ(scrolledTo(Range, c.from, c.request, c.thumb), c.to)
            << int(c.request) << " from " << c.from;
}

TEST(Rules, AnchoredControlsGrowWithTheirWindow)
{
    const ControlRow fixed{ControlKind::Label, "Label1", {100, 200, 300, 400}};
    ControlRow grows = fixed;
    grows.anchor = Anchor::AllSides;
    const TwipsSize design{1000, 1000};
    EXPECT_EQ(placeOf(fixed, design, {2000, 3000}), fixed.rect);
    EXPECT_EQ(placeOf(grows, design, {2000, 3000}), (TwipsRect{100, 200, 1300, 2400}));
    EXPECT_EQ(placeOf(grows, design, {500, 1200}), (TwipsRect{100, 200, 300, 600}));
}

} // namespace
} // namespace korvane
