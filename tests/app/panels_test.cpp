// Every panel's handlers without a window: the press and scroll cases the front ends' tests
// also read, and the tables' own consistency.
#include "app/window.h"
#include "imposition/impose.h"
#include "tests/cases/panelcases.h"
#include "tests/common/paneldriver.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

using test::PanelDriver;

const PanelSpec &panelOf(int tab)
{
    return *mainWindow.tabs[static_cast<std::size_t>(tab)].panel;
}

std::string describe(const Outcome &outcome)
{
    if (const auto *refusal = std::get_if<Refusal>(&outcome))
        return "refused: " + test::printable(refusal->message) + " on " +
               std::string(refusal->focus);
    return "an update";
}

TEST(Panels, TablesNameWhatTheyUse)
{
    for (const TabSpec &tab : mainWindow.tabs) {
        SCOPED_TRACE(test::printable(tab.caption));
        EXPECT_EQ(checkPanel(*tab.panel), std::vector<std::string>{});
    }
    // Every panel's content fits the smallest client rectangle the tab strip may give.
    for (const TabSpec &tab : mainWindow.tabs)
        for (const ControlSpec &row : tab.panel->controls) {
            EXPECT_LE(row.rect.left + row.rect.width, 1560 + imposition::EnvelopeWidth);
            EXPECT_LE(row.rect.top + row.rect.height, 720 + imposition::EnvelopeHeight);
        }
}

TEST(Panels, Presses)
{
    for (const test::PressCase &c : test::pressCases()) {
        SCOPED_TRACE(c.name);
        PanelDriver panel(panelOf(c.tab));
        if (c.refusal) {
            // A refusal leaves the results of the good press before it alone.
            const test::PressCase &good = test::goodPress(c.tab);
            for (const test::Entry &input : good.inputs)
                panel.enter(input.control, input.text);
            ASSERT_TRUE(std::holds_alternative<Update>(panel.press(good.button)));
            for (const test::Entry &input : c.inputs)
                panel.enter(input.control, input.text);
            const Outcome outcome = panel.press(c.button);
            EXPECT_EQ(outcome, Outcome(*c.refusal)) << describe(outcome);
            for (const test::Entry &result : good.results)
                EXPECT_EQ(panel.text(result.control), result.text) << result.control;
            continue;
        }
        for (const test::Entry &input : c.inputs)
            panel.enter(input.control, input.text);
        const Outcome outcome = panel.press(c.button);
        EXPECT_TRUE(std::holds_alternative<Update>(outcome)) << describe(outcome);
        for (const test::Entry &result : c.results)
            EXPECT_EQ(test::printable(panel.text(result.control)), test::printable(result.text))
                << result.control;
    }
}

TEST(Panels, ScrollBars)
{
    for (const test::ScrollCase &c : test::scrollCases()) {
        SCOPED_TRACE(c.name);
        PanelDriver panel(panelOf(test::ColourTab));
        for (const auto &[bar, value] : c.moves)
            panel.scroll(bar, value);
        for (const test::Entry &result : c.results)
            EXPECT_EQ(panel.text(result.control), result.text) << result.control;
        for (const auto &[box, colour] : c.backgrounds)
            EXPECT_EQ(panel.background(box), colour) << box;
    }
}

// The worked example, sheet 1092 x 787 and product 210 x 297 mixed: the box is sized to the
// sheet and the four blocks come in order, empty ones included, with the cells of their
// placement.
TEST(Panels, DrawsTheMixedWorkedExample)
{
    PanelDriver panel(panelOf(0));
    for (const auto &[box, text] :
         {std::pair{"Text4", u"1092"}, {"Text5", u"787"}, {"Text6", u"210"}, {"Text7", u"297"}})
        panel.enter(box, text);
    panel.enter("Combo2", u"横竖混排");
    ASSERT_TRUE(std::holds_alternative<Update>(panel.press("Command6")));
    const double plen = (3135.0 * 297) / 1092;
    const double pwid = (3135.0 * 210) / 1092;
    const Drawing expected{"drawpic",
                           3135,
                           static_cast<float>(3135.0 * 787 / 1092),
                           {{0, 0, 0, 0, plen, pwid},
                            {2, 0, 0, 0, pwid, plen},
                            {1, 5, 0, 0, pwid, plen},
                            {2, 3, 0, plen, plen, pwid}}};
    EXPECT_EQ(panel.drawing(), expected);
    EXPECT_EQ(panel.text("Label31"), u"11");
}

TEST(Panels, UnknownNamesAreLoud)
{
    PanelDriver panel(panelOf(1));
    EXPECT_THROW(panel.enter("Text9", u"1"), std::invalid_argument);
    EXPECT_THROW(panel.enter("Label9", u"1"), std::invalid_argument);
    EXPECT_THROW(panel.press("Text1"), std::invalid_argument);

    // A table whose event names a label as its input, or a control it lacks.
    const ControlSpec controls[] = {{ControlKind::Label, "Label1", {}},
                                    {ControlKind::Button, "Command1", {}}};
    const ControlName reads[] = {"Label1", "Text1"};
    const EventSpec events[] = {{"Command1", reads, [](std::span<const Reading>) -> Outcome {
                                     return Refusal{u"!", "Label1"};
                                 }}};
    const PanelSpec broken{controls, {}, events};
    EXPECT_EQ(checkPanel(broken).size(), 2u);
    EXPECT_EQ(checkOutcome(broken, Refusal{u"!", "Label1"}).size(), 1u);
}

} // namespace
} // namespace korvane
