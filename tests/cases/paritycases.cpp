#include "tests/cases/paritycases.h"

namespace korvane::test {

const std::vector<FocusCase> &focusCases()
{
    static const std::vector<FocusCase> cases = {
        // clang-format off
        {0, {"Combo2", "Combo3", "Text4", "Text5", "Text6", "Text7", "Command6"}},
        {1, {"Text1", "Combo1", "Command1"}},
        {2, {"Text2", "Text3", "Command2"}},
        {3, {"VScroll1", "VScroll2", "VScroll3"}},
        {4, {}},
        // clang-format on
    };
    return cases;
}

const std::vector<SelectCase> &selectCases()
{
    static const std::vector<SelectCase> cases = {
        {0, "TabStrip1", "Combo2", u"横排或竖排"},
        {0, "Combo3", "Text4", u"1092"},
        {1, "TabStrip1", "Text1", u"60"},
        {1, "Text1", "Combo1", u"787*1092"},
        {2, "Text2", "Text3", u"60"},
    };
    return cases;
}

const std::vector<AccessKeyCase> &accessKeyCases()
{
    const std::vector<Entry> converted = {{"Label9", u"25.78212"},
                                          {"Label10", u"38.7865699174467"}};
    const std::vector<Entry> untouched = {{"Label9", u"0"}, {"Label10", u"0"}};
    static const std::vector<AccessKeyCase> cases = {
        // clang-format off
        {"from the imposition tab", 0, "Text4",     u'c', 1, {}, converted, 0},
        {"from its own tab",        1, "Combo1",    u'C', 1, {}, converted, 0},
        {"from the spine tab",      2, "Command2",  u'c', 1, {}, converted, 0},
        {"from the colour tab",     3, "VScroll2",  u'c', 1, {}, converted, 0},
        {"from the About tab",      4, "TabStrip1", u'c', 1, {}, converted, 0},
        {"refused, once",           0, "Text5",     u'c', 1, {{"Text1", u""}}, untouched, 1},
        {"no such key",             1, "Text1",     u'x', 1, {}, untouched, 0},
        // clang-format on
    };
    return cases;
}

const std::vector<FocusRuleCase> &focusRuleCases()
{
    static const std::vector<FocusRuleCase> cases = {
        // clang-format off
        {"a tab click leaves it on the tab strip", 0, "Text4", {},               1,  1, "TabStrip1"},
        {"a refusal behind shows its panel",       0, "Text5", {{"Text1", u""}}, -1, 1, "Text1"},
        // clang-format on
    };
    return cases;
}

const std::vector<KindCase> &kindCases()
{
    using A = KindCase::Act;
    static const std::vector<KindCase> cases = {
        // clang-format off
        {"Enter presses nothing",                  1, "Text1",    A::Enter,     {},      0,   {"Label9",  u"0"}},
        {"a drop-down box completes nothing",      0, "Combo2",   A::Type,      u"横排", 0,   {"Combo2",  u"横排"}},
        {"a text box takes any length",            0, "Text4",    A::Paste,     std::u16string(100'000, u'9'), 0,
         {"Text4", std::u16string(100'000, u'9')}},
        {"a dragged thumb changes nothing yet",    3, "VScroll1", A::DragThumb, {},      200, {"Label32", u"0"}},
        {"the thumb let go sets the value",        3, "VScroll1", A::LetGo,     {},      200, {"Label32", u"200"}},
        {"an arrow key steps by one",              3, "VScroll2", A::StepDown,  {},      0,   {"Label34", u"1"}},
        {"Page Down steps by ten",                 3, "VScroll2", A::PageDown,  {},      0,   {"Label34", u"10"}},
        // clang-format on
    };
    return cases;
}

VisitCase visitCase()
{
    return {{0, 1}, {4, 2, 2, 3, 1, 0}};
}

const std::vector<SpokenCase> &spokenCases()
{
    static const std::vector<SpokenCase> cases = {
        // clang-format off
        {0, "Combo2",   u"开版方式",   u""},
        {0, "Combo3",   u"拼版方式",   u""},
        {0, "Text4",    u"开版尺寸",   u""},
        {0, "Text5",    u"开版尺寸",   u""},
        {0, "Text6",    u"产品尺寸",   u""},
        {0, "Text7",    u"产品尺寸",   u""},
        {0, "Command6", u"查看拼版图", u""},
        {0, "Label31",  u"0",          u"开版数"},
        {0, "drawpic",  u"拼版图",     u"开版数"},
        {1, "Text1",    u"克重",       u""},
        {1, "Combo1",   u"开度",       u""},
        {1, "Command1", u"换算(C)",    u""},
        {1, "Label9",   u"0",          u"Kg/令"},
        {1, "Label10",  u"0",          u"令/吨"},
        {2, "Text2",    u"页数",       u""},
        {2, "Text3",    u"克数",       u""},
        {2, "Command2", u"计算",       u""},
        {2, "Label18",  u"0",          u"厚度："},
        {3, "VScroll1", u"红色",       u""},
        {3, "VScroll2", u"绿色",       u""},
        {3, "VScroll3", u"蓝色",       u""},
        {3, "Label32",  u"0",          u"红色"},
        {3, "Label34",  u"0",          u"绿色"},
        {3, "Label35",  u"0",          u"蓝色"},
        {3, "Picture2", u"红色",       u""},
        {3, "Picture3", u"绿色",       u""},
        {3, "Picture4", u"蓝色",       u""},
        {3, "Picture5", u"混合色",     u""},
        // clang-format on
    };
    return cases;
}

const std::vector<InitialColourCase> &initialColourCases()
{
    static const std::vector<InitialColourCase> cases = {
        {3, "Picture2", {Colour::Role::Window}},
        {3, "Picture3", {Colour::Role::Window}},
        {3, "Picture4", {Colour::Role::Window}},
        {3, "Picture5", Colour::fixed({0, 0, 0})},
    };
    return cases;
}

BlankDiagram blankDiagram()
{
    return {0, "drawpic", 3135, 2415};
}

const std::vector<DiagramCase> &diagramCases()
{
    // clang-format off
    const std::vector<Entry> tiled = {
        {"Combo2", u"横排"}, {"Text4", u"1000"}, {"Text5", u"500"}, {"Text6", u"250"}, {"Text7", u"125"}};
    const std::vector<Entry> mixed = {
        {"Combo2", u"横竖混排"}, {"Text4", u"1092"}, {"Text5", u"787"}, {"Text6", u"210"}, {"Text7", u"297"}};
    // Cells far below a pixel: the sheet shows solid.
    const std::vector<Entry> dense = {
        {"Combo2", u"横排"}, {"Text4", u"46340"}, {"Text5", u"46340"}, {"Text6", u"1"}, {"Text7", u"1"}};
    static const std::vector<DiagramCase> cases = {
        {"tiled at 96 dpi", tiled, 96}, {"tiled at 120 dpi", tiled, 120}, {"tiled at 144 dpi", tiled, 144},
        {"mixed at 96 dpi", mixed, 96}, {"mixed at 120 dpi", mixed, 120}, {"mixed at 144 dpi", mixed, 144},
        {"dense at 120 dpi", dense, 120},
    };
    // clang-format on
    return cases;
}

const std::vector<PlannerCase> &plannerCases()
{
    const std::vector<Entry> pressed = {{"Text4", u"889"},
                                        {"Text5", u"1194"},
                                        {"Text6", u"90"},
                                        {"Text7", u"54"},
                                        {"Combo3", u"自翻版"}};
    // The quote's worked case: A4 on 正度对开, 5000 copies of 4+4 on 157 g at 7800 元 a
    // tonne, press time 30 元, plates 100 元.
    const std::vector<Entry> quoted = {
        {"Text51", u"546"},   {"Text52", u"787"}, {"Text59", u"5000"}, {"Text61", u"157"},
        {"Text103", u"7800"}, {"Text106", u"30"}, {"Text107", u"100"}};
    static const std::vector<PlannerCase> cases = {
        // clang-format off
        {"by its command, on the last plan", pressed, false, {}, {},
         {{"Text51", u"889"}, {"Text52", u"1194"}, {"Text53", u"90"}, {"Text54", u"54"},
          {"Combo53", u"自翻版"}, {"Combo51", u"自定义"}, {"Label86", u""}}, 2},
        {"by its shortcut, before any plan", {}, true, {}, {},
         {{"Text51", u"1092"}, {"Text52", u"787"}, {"Text53", u"210"}, {"Text54", u"297"},
          {"Label61", u"9"}, {"Label62", u"10"}, {"Label63", u"11"}, {"Label64", u"11"},
          {"Label85", u"已证最优"}}, 2},
        {"live as it is typed, the best row chosen", {}, true,
         {{"Text55", u"3"}, {"Text57", u"10"}, {"Text59", u"5000"}}, {"Option54"},
         {{"Label64", u"11"}, {"Label68", u"79.8%"}, {"Label74", u"455"}, {"Label78", u"0.91"},
          {"Label84", u"31.3 kg"}, {"Label86", u""}}, 3},
        {"a preset picked, the grain locked", {}, true,
         {{"Combo52", u"名片 90 × 54"}, {"Combo54", u"只竖排"}}, {"Option51"},
         {{"Text53", u"90"}, {"Text54", u"54"}, {"Label61", u"—"}, {"Label63", u"—"},
          {"Label62", u"160"}, {"Label64", u"160"}}, 1},
        {"the quote, the cheapest method named", {}, true, quoted, {},
         {{"Label100", u"正度 787 × 1092，2 开"}, {"Label101", u"5"}, {"Label102", u"4"},
          {"Label107", u"500"}, {"Label108", u"625"}, {"Label110", u"526.21"},
          {"Label122", u"1566.21"}, {"Label123", u"1357.77"}, {"Label124", u"1357.77"},
          {"Label127", u"0.2716"}, {"Label77", u"1"},
          {"Label128", u"最省：自翻版，合计 1357.77 元，每份 0.2716 元"}, {"Label86", u""}}, 2},
        {"a full sheet too small for the press sheet", {}, true,
         {{"Combo101", u"自定义"}, {"Text101", u"500"}, {"Text102", u"500"}}, {},
         {{"Label100", u"自定义 500 × 500，0 开"}, {"Label122", u"—"}, {"Label128", u"—"},
          {"Label86", u"开版尺寸大于全张"}}, 2},
        {"the cuts of the best row counted and shown", {}, true,
         {{"Text55", u"3"}, {"Text57", u"10"}}, {"Option54", "Check101"},
         {{"Label129", u"裁切 17 刀"}, {"Label86", u""}}, 3},
        // clang-format on
    };
    return cases;
}

const std::vector<Entry> &plannerFaults()
{
    static const std::vector<Entry> faults = {
        {"Text51", u"0"},     {"Text52", u"5001"},        {"Text53", u"1.001"},
        {"Text54", u"x"},     {"Text55", u"21"},          {"Text56", u"-1"},
        {"Text57", u"101"},   {"Text58", u"100.5"},       {"Text59", u"0.5"},
        {"Text60", u"200"},   {"Text61", u"5"},           {"Text101", u"0"},
        {"Text102", u"5001"}, {"Text103", u"1000000.01"}, {"Text104", u"0"},
        {"Text105", u"2.5"},  {"Text106", u"-1"},         {"Text107", u"100001"},
        {"Text108", u"x"},    {"Text109", u"10001"},
    };
    return faults;
}

std::u16string plannerFaultMessage(ControlName input)
{
    // clang-format off
    const std::pair<ControlName, std::u16string_view> messages[] = {
        {"Text51", u"请输入开版尺寸（1 至 5000 毫米）"}, {"Text52", u"请输入开版尺寸（1 至 5000 毫米）"},
        {"Text53", u"请输入产品尺寸（1 至 5000 毫米）"}, {"Text54", u"请输入产品尺寸（1 至 5000 毫米）"},
        {"Text55", u"请输入出血（0 至 20 毫米）"},       {"Text56", u"请输入间距（0 至 50 毫米）"},
        {"Text57", u"请输入咬口（0 至 100 毫米）"},      {"Text58", u"请输入边距（0 至 100 毫米）"},
        {"Text59", u"请输入印数（1 至 100000000 份）"},  {"Text60", u"请输入加放（0 至 100%）"},
        {"Text61", u"请输入克重（10 至 1000 克/平方米）"},
        {"Text101", u"请输入全张尺寸（1 至 5000 毫米）"}, {"Text102", u"请输入全张尺寸（1 至 5000 毫米）"},
        {"Text103", u"请输入纸价（0 至 1000000 元/吨）"},   {"Text104", u"请输入正面色数（1 至 8）"},
        {"Text105", u"请输入背面色数（0 至 8）"},          {"Text106", u"请输入印工（0 至 100000 元）"},
        {"Text107", u"请输入版费（0 至 100000 元）"},      {"Text108", u"请输入起印费（0 至 1000000 元）"},
        {"Text109", u"请输入每版加放（0 至 10000 张）"},
    };
    // clang-format on
    for (const auto &[control, message] : messages)
        if (control == input)
            return std::u16string(message);
    broken(std::string(input) + " is no input of the planner");
}

const std::vector<PlannerPixelCase> &plannerPixelCases()
{
    const std::vector<Entry> bled = {{"Text55", u"3"}, {"Text56", u"2"}, {"Text57", u"10"}};
    const std::vector<Entry> tumbled = {
        {"Combo53", u"大翻版"}, {"Text55", u"3"}, {"Text57", u"12"}};
    static const std::vector<PlannerPixelCase> cases = {
        {"as it opens at 96 dpi", {}, 96},
        {"as it opens at 120 dpi", {}, 120},
        {"bleed and gaps at 96 dpi", bled, 96},
        {"bleed and gaps at 144 dpi", bled, 144},
        {"tumbled at 120 dpi", tumbled, 120},
        {"its cuts shown at 96 dpi", bled, 96, {"Option54", "Check101"}},
        {"its cuts shown at 144 dpi", tumbled, 144, {"Option54", "Check101"}},
    };
    return cases;
}

} // namespace korvane::test
