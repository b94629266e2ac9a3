// Every panel's handlers without a window: the press and scroll cases the front ends' tests
// also read, and the tables' own consistency.
#include "app/mainwindow.h"
#include "imposition/impose.h"
#include "tests/cases/panelcases.h"

#include <gtest/gtest.h>
#include <map>

namespace korvane {
namespace {

const PanelTable &panelOf(int tab)
{
    return *mainWindow.tabs[static_cast<std::size_t>(tab)].panel;
}

TEST(Panels, TablesNameWhatTheyUse)
{
    for (const Tab &tab : mainWindow.tabs) {
        SCOPED_TRACE(test::printable(tab.caption));
        EXPECT_EQ(checkPanel(*tab.panel), std::vector<std::string>{});
        // Every panel's content fits the client rectangle the diagram needs.
        for (const ControlRow &row : tab.panel->controls) {
            EXPECT_LE(row.rect.left + row.rect.width, 1560 + imposition::EnvelopeWidth);
            EXPECT_LE(row.rect.top + row.rect.height, 720 + imposition::EnvelopeHeight);
        }
    }
    // A table whose event reads a label and a control it lacks, and a refusal that would
    // give the focus to a label.
    const ControlRow controls[] = {{ControlKind::Label, "Label1", {}},
                                   {ControlKind::Button, "Command1", {}}};
    const ControlName reads[] = {"Label1", "Text1"};
    const Event events[] = {
        {"Command1", reads, [](std::span<const Reading>) -> Outcome { return Update{}; }}};
    const PanelTable broken{controls, {}, events};
    EXPECT_EQ(checkPanel(broken).size(), 2u);
    EXPECT_EQ(checkOutcome(broken, Refusal{u"!", "Label1"}).size(), 1u);
}

TEST(Panels, Presses)
{
    for (const test::PressCase &c : test::pressCases()) {
        SCOPED_TRACE(c.name);
        const Outcome outcome = test::runEvent(panelOf(c.tab), c.button, c.inputs);
        if (c.refusal) {
            ASSERT_TRUE(std::holds_alternative<Refusal>(outcome));
            EXPECT_EQ(test::printable(std::get<Refusal>(outcome).message),
                      test::printable(c.refusal->message));
            EXPECT_EQ(std::get<Refusal>(outcome).focus, c.refusal->focus);
            continue;
        }
        ASSERT_TRUE(std::holds_alternative<Update>(outcome))
            << test::printable(std::get<Refusal>(outcome).message);
        for (const test::Entry &result : c.results)
            EXPECT_EQ(test::printable(test::captionOf(outcome, result.control)),
                      test::printable(result.text))
                << result.control;
    }
}

TEST(Panels, ScrollBars)
{
    const PanelTable &panel = panelOf(test::ColourTab);
    for (const test::ScrollCase &c : test::scrollCases()) {
        SCOPED_TRACE(c.name);
        // What the panel shows after each change: captions and colours last set.
        std::vector<std::pair<ControlName, int>> values;
        std::map<ControlName, std::u16string> captions;
        std::map<ControlName, Colour> colours;
        for (const auto &[bar, value] : c.moves) {
            values.push_back({bar, value});
            const Update update = std::get<Update>(test::runEvent(panel, bar, {}, values));
            for (const SetCaption &caption : update.captions)
                captions[caption.control] = caption.text;
            for (const SetBackground &background : update.backgrounds)
                colours[background.control] = background.colour;
        }
        for (const test::Entry &result : c.results) {
            const auto shown = captions.find(result.control);
            EXPECT_EQ(shown == captions.end() ? findControl(panel, result.control)->text
                                              : shown->second,
                      result.text)
                << result.control;
        }
        for (const auto &[box, colour] : c.backgrounds) {
            const auto shown = colours.find(box);
            EXPECT_EQ(shown == colours.end() ? std::nullopt : std::optional(shown->second),
                      colour ? std::optional(Colour::fixed(*colour)) : std::nullopt)
                << box;
        }
    }
}

// The worked example, sheet 1092 x 787 and product 210 x 297 mixed: the box is sized to the
// sheet and the four blocks come in order, empty ones included, with the cells of their
// placement.
TEST(Panels, DrawsTheMixedWorkedExample)
{
    const Outcome outcome = test::runEvent(panelOf(0), "Command6",
                                           {{"Combo2", u"横竖混排"},
                                            {"Text4", u"1092"},
                                            {"Text5", u"787"},
                                            {"Text6", u"210"},
                                            {"Text7", u"297"}});
    const double plen = (3135.0 * 297) / 1092;
    const double pwid = (3135.0 * 210) / 1092;
    const Drawing expected{"drawpic",
                           3135,
                           static_cast<float>(3135.0 * 787 / 1092),
                           {{0, 0, 0, 0, plen, pwid},
                            {2, 0, 0, 0, pwid, plen},
                            {1, 5, 0, 0, pwid, plen},
                            {2, 3, 0, plen, plen, pwid}}};
    EXPECT_EQ(std::get<Update>(outcome).drawing, expected);
    EXPECT_EQ(test::captionOf(outcome, "Label31"), u"11");
}

} // namespace
} // namespace korvane
