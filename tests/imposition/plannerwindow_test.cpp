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
    // 自动 shows the stock it takes: 大度 whole.
    EXPECT_EQ(
        picked.texts,
        (std::vector<SetText>{
            {"Text51", u"889"}, {"Text52", u"1194"}, {"Text101", u"889"}, {"Text102", u"1194"}}));
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

// The quote of the worked case: A4 on 正度对开, 5000 copies at 157 g, paper at 7800 元 a
// tonne, press time 30 元, plates 100 元; a row for each method, the cheapest, the cutting.
const Texts WorkedCase = {{"Text51", u"546"}, {"Text52", u"787"},   {"Text59", u"5000"},
                          {"Text61", u"157"}, {"Text103", u"7800"}, {"Text106", u"30"},
                          {"Text107", u"100"}};

std::vector<std::u16string> quoteRow(const Update &update, int row)
{
    std::vector<std::u16string> shown;
    for (int column = 0; column < 9; ++column)
        shown.push_back(captionOf(update, "Label" + std::to_string(101 + 3 * column + row)));
    return shown;
}

TEST(PlannerWindow, TheQuote)
{
    struct Case
    {
        std::string name;
        Texts typed;
        std::vector<std::vector<std::u16string>> rows;
        std::u16string cutting, cheapest, status;
    };
    const std::vector<std::u16string> turn = {u"4",      u"1250",   u"625",     u"657.77", u"4",
                                              u"400.00", u"300.00", u"1357.77", u"0.2716"};
    const std::vector<std::u16string> none(9, u"—");
    Texts makeReady = WorkedCase;
    makeReady.insert(makeReady.end(), {{"Text60", u"3"}, {"Text109", u"50"}});
    Texts single = WorkedCase;
    single.push_back({"Text105", u"0"});
    Texts small = WorkedCase;
    small.insert(small.end(), {{"Combo101", u"自定义"}, {"Text101", u"500"}, {"Text102", u"500"}});
    // clang-format off
    const Case cases[] = {
        {"worked", WorkedCase,
         {{u"5", u"1000", u"500", u"526.21", u"8", u"800.00", u"240.00", u"1566.21", u"0.3132"}, turn, turn},
         u"正度 787 × 1092，2 开", u"最省：自翻版，合计 1357.77 元，每份 0.2716 元", u""},
        {"allowance and make-ready", makeReady,
         {{u"5", u"1430", u"715", u"752.48", u"8", u"800.00", u"343.20", u"1895.68", u"0.3791"},
          {u"4", u"1488", u"744", u"783.01", u"4", u"400.00", u"357.12", u"1540.13", u"0.3080"},
          {u"4", u"1488", u"744", u"783.01", u"4", u"400.00", u"357.12", u"1540.13", u"0.3080"}},
         u"正度 787 × 1092，2 开", u"最省：自翻版，合计 1540.13 元，每份 0.3080 元", u""},
        // No back: the turning methods print nothing; the front alone on four plates.
        {"one side", single,
         {{u"5", u"1000", u"500", u"526.21", u"4", u"400.00", u"120.00", u"1046.21", u"0.2092"}, none, none},
         u"正度 787 × 1092，2 开", u"最省：大套版，合计 1046.21 元，每份 0.2092 元", u""},
        {"a stock too small", small, {none, none, none},
         u"自定义 500 × 500，0 开", u"—", u"开版尺寸大于全张"},
    };
    // clang-format on
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Update update = run("Text103", c.typed);
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(quoteRow(update, row), c.rows[std::size_t(row)]) << row;
        EXPECT_EQ(captionOf(update, "Label100"), c.cutting);
        EXPECT_EQ(captionOf(update, "Label128"), c.cheapest);
        EXPECT_EQ(captionOf(update, "Label86"), c.status);
        EXPECT_EQ(captionOf(update, "Label156"), u"● 大套版");
    }
    // Handed on: the three rows and the cheapest below the job line, only with a price.
    const Update priced = run("Text103", WorkedCase);
    // Then the cutter's sheet: the pieces' sizes and a line a stroke.
    ASSERT_GT(priced.document->notes.size(), 5u);
    EXPECT_TRUE(priced.document->notes[4].starts_with(u"A 787 × 546，B "));
    EXPECT_TRUE(priced.document->notes[5].starts_with(u"第 1 刀：A ×1，"));
    EXPECT_EQ(priced.document->notes[0],
              u"大套版：开版数 5，印张 1000，全张 500，纸费 526.21 元，版数 8，版费 800.00 元，"
              u"印工 240.00 元，合计 1566.21 元，每份 0.3132 元");
    EXPECT_EQ(priced.document->notes[3], u"最省：自翻版，合计 1357.77 元，每份 0.2716 元");
    EXPECT_EQ(run("Text55").document->notes.front().substr(0, 2), u"A ");
    // The rows' reams are full sheets: 1000 press sheets of 546 x 787 are 500 of 正度, a ream.
    EXPECT_EQ(captionOf(priced, "Label77"), u"1");
    EXPECT_EQ(captionOf(priced, "Label73"), u"1000");
}

TEST(PlannerWindow, TheQuotesFieldsAreRefusedByCaptionAndRange)
{
    const std::pair<ControlName, std::u16string> cases[] = {
        {"Text101", u"请输入全张尺寸（1 至 5000 毫米）"},
        {"Text103", u"请输入纸价（0 至 1000000 元/吨）"},
        {"Text104", u"请输入正面色数（1 至 8）"},
        {"Text105", u"请输入背面色数（0 至 8）"},
        {"Text106", u"请输入印工（0 至 100000 元）"},
        {"Text107", u"请输入版费（0 至 100000 元）"},
        {"Text108", u"请输入起印费（0 至 1000000 元）"},
        {"Text109", u"请输入每版加放（0 至 10000 张）"},
    };
    for (const auto &[field, message] : cases) {
        for (const std::u16string &bad :
             {std::u16string(u"-1"), std::u16string(u"1e9"), std::u16string(u"0.001")}) {
            const Update update = run(field, {{field, bad}});
            EXPECT_EQ(captionOf(update, "Label86"), message)
                << field << " " << test::printable(bad);
            EXPECT_EQ(quoteRow(update, 0), std::vector<std::u16string>(9, u"—"));
        }
    }
}

// "设为默认" keeps the shop's figures but the sizes and the copies; they come back when the
// planner opens, each bad value at its default, the first named.
TEST(PlannerWindow, DefaultsKeptAndReadBack)
{
    const Update kept = run("Command101", WorkedCase);
    ASSERT_TRUE(kept.settings);
    EXPECT_EQ(kept.settings->report, "Label86");
    const std::string &bytes = kept.settings->bytes;
    EXPECT_NE(bytes.find("paper_price = 7800\n"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("stock = \xe8\x87\xaa\xe5\x8a\xa8\n"), std::string::npos) << bytes; // 自动
    EXPECT_EQ(bytes.find("546"), std::string::npos);
    EXPECT_EQ(bytes.find("5000"), std::string::npos);
    const Update back = plannerWindow.settings->read(bytes);
    EXPECT_TRUE(back.captions.empty());
    EXPECT_NE(std::find(back.texts.begin(), back.texts.end(), SetText{"Text103", u"7800"}),
              back.texts.end());
    EXPECT_NE(std::find(back.texts.begin(), back.texts.end(), SetText{"Text61", u"157"}),
              back.texts.end());
    // A bad figure, an unknown key, a line of no key, bytes that are no text.
    const Update damaged = plannerWindow.settings->read(
        "paper_price = 7800\nunknown = 1\nnothing\nfront_colours = 9\ngap = \xff\xfe\n\0\x01");
    EXPECT_EQ(damaged.texts, (std::vector<SetText>{{"Text103", u"7800"}}));
    EXPECT_EQ(damaged.captions,
              (std::vector<SetCaption>{{"Label86", u"设置文件中的“正面色数”无效，已用默认值"}}));
    // A bad input is not kept: the status line says which it is.
    const Update refused = run("Command101", {{"Text103", u"x"}});
    EXPECT_FALSE(refused.settings);
    EXPECT_EQ(captionOf(refused, "Label86"), u"请输入纸价（0 至 1000000 元/吨）");
}

} // namespace
} // namespace korvane
