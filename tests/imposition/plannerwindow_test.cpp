// The planner's window without a toolkit: what each change shows, the status line for every
// bad input, the presets, the chosen row, the job line handed on, and how the imposition
// panel opens it.
#include "app/mainwindow.h"
#include "common/rules.h"
#include "imposition/plannerwindow.h"
#include "tests/cases/panelcases.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

const PanelTable &planner()
{
    return *plannerWindow.tabs.front().panel;
}

using Texts = std::vector<test::Entry>;

// The event of `source` after `typed`, the other inputs as the window starts, option `chosen`
// (-1: none) and the diagram at its size in the table.
Update run(ControlName source, const Texts &typed = {}, int chosen = -1)
{
    constexpr ControlName Options[] = {"Option51", "Option52", "Option53", "Option54"};
    std::vector<std::pair<ControlName, int>> values;
    if (chosen >= 0)
        values.push_back({Options[chosen], 1});
    return std::get<Update>(test::runEvent(planner(), source, typed, values));
}

using test::captionOf;

// The row shown for option `row`: ups, utilisation, sheets, reams, weight; "+" when chosen,
// "x" when it cannot be chosen.
std::vector<std::u16string> rowOf(const Update &update, int row)
{
    const ControlName labels[4][5] = {{"Label61", "Label65", "Label71", "Label75", "Label81"},
                                      {"Label62", "Label66", "Label72", "Label76", "Label82"},
                                      {"Label63", "Label67", "Label73", "Label77", "Label83"},
                                      {"Label64", "Label68", "Label74", "Label78", "Label84"}};
    const SetOption &option = update.options[std::size_t(row)];
    std::vector<std::u16string> shown = {option.chosen ? u"+" : option.enabled ? u"" : u"x"};
    for (ControlName label : labels[row])
        shown.push_back(captionOf(update, label));
    return shown;
}

TEST(PlannerWindow, TablesNameWhatTheyUse)
{
    EXPECT_EQ(checkWindow(plannerWindow), std::vector<std::string>{});
}

TEST(PlannerWindow, RowsPaperAndProof)
{
    struct Case
    {
        std::string name;
        Texts typed;
        int chosen;
        std::vector<std::vector<std::u16string>> rows;
        std::u16string proof;
    };
    // clang-format off
    const Case cases[] = {
        {"as it opens: a tie goes to the earlier row", {}, -1,
         {{u"",  u"9",  u"65.3%", u"112", u"0.224", u"7.7 kg"},
          {u"",  u"10", u"72.6%", u"100", u"0.2",   u"6.9 kg"},
          {u"+", u"11", u"79.8%", u"91",  u"0.182", u"6.3 kg"},
          {u"",  u"11", u"79.8%", u"91",  u"0.182", u"6.3 kg"}}, u"已证最优"},
        {"an exact multiple, an allowance rounded up", {{"Text59", u"1100"}, {"Text60", u"0.5"}}, 3,
         {{u"",  u"9",  u"65.3%", u"124", u"0.248", u"8.5 kg"},
          {u"",  u"10", u"72.6%", u"111", u"0.222", u"7.6 kg"},
          {u"",  u"11", u"79.8%", u"101", u"0.202", u"6.9 kg"},
          {u"+", u"11", u"79.8%", u"101", u"0.202", u"6.9 kg"}}, u"已证最优"},
        {"grain along the length only", {{"Combo54", u"只横排"}}, 1,
         {{u"+", u"9",  u"65.3%", u"112", u"0.224", u"7.7 kg"},
          {u"x", u"—",  u"—",     u"—",   u"—",     u"—"},
          {u"x", u"—",  u"—",     u"—",   u"—",     u"—"},
          {u"",  u"9",  u"65.3%", u"112", u"0.224", u"7.7 kg"}}, u"已证最优"},
        {"no product fits: no paper", {{"Text53", u"800"}, {"Text54", u"1100"}}, -1,
         {{u"+", u"0",  u"0.0%",  u"—", u"—", u"—"},
          {u"",  u"0",  u"0.0%",  u"—", u"—", u"—"},
          {u"",  u"0",  u"0.0%",  u"—", u"—", u"—"},
          {u"",  u"0",  u"0.0%",  u"—", u"—", u"—"}}, u"已证最优"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Update update = run(c.chosen >= 0 ? std::array{"Option51", "Option52", "Option53",
                                                             "Option54"}[std::size_t(c.chosen)]
                                                : "Text55",
                                  c.typed);
        for (int row = 0; row < 4; ++row) {
            const auto shown = rowOf(update, row);
            EXPECT_EQ(shown, c.rows[std::size_t(row)]) << row << ": " << test::printable(shown[1]);
        }
        EXPECT_EQ(captionOf(update, "Label85"), c.proof);
        EXPECT_EQ(captionOf(update, "Label86"), u"");
    }
}

TEST(PlannerWindow, TheWorkedExampleHandedOn)
{
    const Update update =
        run("Option54", {{"Text55", u"3"}, {"Text57", u"10"}, {"Text59", u"5000"}}, 3);
    ASSERT_TRUE(update.document);
    EXPECT_EQ(update.document->jobLine,
              u"开版尺寸 1092 × 787，产品尺寸 210 × 297，出血 3，咬口 10，大套版，最优，开版数 11，"
              u"利用率 79.8%，印数 5000，印张 455，令数 0.91，纸重 31.3 kg");
    EXPECT_EQ(update.document->fileStem, u"拼版方案-1092x787-210x297");
    EXPECT_EQ(update.toolTips, (std::vector<SetToolTip>{{"planpic", update.document->jobLine}}));
    // The sheet's edge, the gripper's edge and the products, in the sheet's own millimetres.
    EXPECT_EQ(update.document->width, 1092);
    EXPECT_EQ(update.document->height, 787);
    const std::vector<GridBlock> &blocks = update.document->drawing.blocks;
    ASSERT_GE(blocks.size(), 3u);
    const double k = 1 / update.document->unitsPerTwip;
    EXPECT_NEAR(blocks[1].height() / k, 777, 1e-9);
    // 3 mm of bleed on either side: boxes 6 mm apart.
    EXPECT_NEAR(blocks[2].gapX / k, 6, 1e-9);
}

TEST(PlannerWindow, TheStatusLineNamesTheFirstBadInput)
{
    struct Case
    {
        Texts typed;
        std::u16string message;
    };
    // clang-format off
    const Case cases[] = {
        {{{"Text51", u"0"}},          u"请输入开版尺寸（1 至 5000 毫米）"},
        {{{"Text52", u"5000.01"}},    u"请输入开版尺寸（1 至 5000 毫米）"},
        {{{"Text53", u"abc"}},        u"请输入产品尺寸（1 至 5000 毫米）"},
        {{{"Text54", u""}},           u"请输入产品尺寸（1 至 5000 毫米）"},
        {{{"Text55", u"20.5"}},       u"请输入出血（0 至 20 毫米）"},
        {{{"Text55", u"1.234"}},      u"请输入出血（0 至 20 毫米）"},
        {{{"Text56", u"-1"}},         u"请输入间距（0 至 50 毫米）"},
        {{{"Text57", u"100.01"}},     u"请输入咬口（0 至 100 毫米）"},
        {{{"Text58", u"1e3"}},        u"请输入边距（0 至 100 毫米）"},
        {{{"Text58", u"1e-3"}},       u"请输入边距（0 至 100 毫米）"},
        {{{"Text59", u"1.5"}},        u"请输入印数（1 至 100000000 份）"},
        {{{"Text59", u"100000001"}},  u"请输入印数（1 至 100000000 份）"},
        {{{"Text60", u"101"}},        u"请输入加放（0 至 100%）"},
        {{{"Text61", u"9.99"}},       u"请输入克重（10 至 1000 克/平方米）"},
        {{{"Text61", std::u16string(100'000, u'9')}}, u"请输入克重（10 至 1000 克/平方米）"},
        {{{"Text51", u"10\u000192"}}, u"请输入开版尺寸（1 至 5000 毫米）"},
        // In the table's order, whichever was typed last.
        {{{"Text60", u"x"}, {"Text53", u"0"}}, u"请输入产品尺寸（1 至 5000 毫米）"},
    };
    // clang-format on
    for (const Case &c : cases) {
        const Update update = run("Text55", c.typed);
        EXPECT_EQ(captionOf(update, "Label86"), c.message) << test::printable(c.message);
        EXPECT_EQ(rowOf(update, 3),
                  (std::vector<std::u16string>{u"x", u"—", u"—", u"—", u"—", u"—"}));
        EXPECT_TRUE(update.drawing && update.drawing->blocks.empty());
        EXPECT_FALSE(update.document || update.keepsDocument);
    }
    // Every number the panel reads, each field at either end of its range.
    const Texts accepted[] = {
        {{"Text51", u"\u3000１０９２．"},
         {"Text52", u"1.092e3"},
         {"Text55", u".5"},
         {"Text56", u"５E－1"}},
        {{"Text51", u"1"},
         {"Text52", u"1"},
         {"Text53", u"1"},
         {"Text54", u"1"},
         {"Text55", u"0"},
         {"Text56", u"0"},
         {"Text57", u"0"},
         {"Text58", u"0"},
         {"Text59", u"1"},
         {"Text60", u"0"},
         {"Text61", u"10"}},
        {{"Text51", u"5000"},
         {"Text52", u"5000"},
         {"Text53", u"5000"},
         {"Text54", u"5000"},
         {"Text55", u"20"},
         {"Text56", u"50"},
         {"Text57", u"100"},
         {"Text58", u"100"},
         {"Text59", u"100000000"},
         {"Text60", u"100"},
         {"Text61", u"1000"}},
    };
    for (const Texts &typed : accepted)
        EXPECT_EQ(captionOf(run("Text51", typed), "Label86"), u"")
            << test::printable(typed.front().text);
}

TEST(PlannerWindow, PresetsFillTheSizesAndEditsUndoThem)
{
    const Update picked = run("Combo51", {{"Combo51", u"大度全开 889 × 1194"}});
    EXPECT_EQ(picked.texts, (std::vector<SetText>{{"Text51", u"889"}, {"Text52", u"1194"}}));
    EXPECT_EQ(rowOf(picked, 0)[1], u"16"); // 889 / 210 = 4 rows of 1194 / 297 = 4
    const Update edited = run("Text54", {{"Combo52", u"A4 210 × 297"}, {"Text54", u"298"}});
    EXPECT_EQ(edited.texts, (std::vector<SetText>{{"Combo52", u"自定义"}}));
    const Update other = run("Text55", {{"Text55", u"2"}});
    EXPECT_TRUE(other.texts.empty());
}

// The imposition panel's command opens the planner on its last plan, or on what its boxes
// hold where that is a number.
TEST(PlannerWindow, OpensOnTheImpositionPanelsPlan)
{
    const PanelTable &panel = *mainWindow.tabs.front().panel;
    const Command &open = panel.commands.back();
    ASSERT_EQ(open.id, "openPlanner");
    const auto fill = [&](const Document *last, std::vector<std::u16string> now) {
        std::vector<Reading> readings;
        for (std::u16string &text : now)
            readings.push_back({std::move(text)});
        const CommandRequest request = open.handle(last, readings);
        const OpenRequest &opening = std::get<OpenRequest>(request);
        EXPECT_EQ(opening.window, &plannerWindow);
        return opening.fill;
    };
    EXPECT_EQ(fill(nullptr, {u"自翻版", u"1000", u"", u"a", u"148"}),
              (std::vector<SetText>{{"Combo53", u"自翻版"},
                                    {"Text51", u"1000"},
                                    {"Text52", u"787"},
                                    {"Text53", u"210"},
                                    {"Text54", u"148"}}));
    EXPECT_EQ(fill(nullptr, {u"大套", u"", u"", u"", u""})[0], (SetText{"Text51", u"1092"}));
    Document last;
    last.inputs = {{"Combo3", u"大翻版"},
                   {"Text4", u"889"},
                   {"Text5", u"1194"},
                   {"Text6", u"90"},
                   {"Text7", u"54"}};
    EXPECT_EQ(fill(&last, {u"自翻版", u"1", u"2", u"3", u"4"}),
              (std::vector<SetText>{{"Combo53", u"大翻版"},
                                    {"Text51", u"889"},
                                    {"Text52", u"1194"},
                                    {"Text53", u"90"},
                                    {"Text54", u"54"}}));
    EXPECT_TRUE(commandEnabled(open, nullptr, true));
}

} // namespace
} // namespace korvane
