#include "imposition/plannerwindow.h"

#include "common/document.h"
#include "common/numtext.h"
#include "common/rules.h"
#include "common/settings.h"
#include "imposition/cutplan.h"
#include "imposition/jobline.h"
#include "imposition/planner.h"
#include "imposition/quote.h"

#include <algorithm>
#include <array>

namespace korvane {
namespace {

using planner::LayoutKind;
using planner::LayoutKinds;
using planner::Length;

// The fixed point of every field: hundredths of its unit (a millimetre, a percent point, a
// gram, a copy).
constexpr std::int64_t PerUnit = 100;

// What a planner's fields hold, each in hundredths of its unit.
struct Figures
{
    Length sheet1 = 0, sheet2 = 0, product1 = 0, product2 = 0;
    Length bleed = 0, gap = 0, gripper = 0, margin = 0;
    std::int64_t copies = 0, allowance = 0, grammage = 0;
    // The quote's: the full sheet, the prices in 分, colours and make-ready sheets.
    Length stock1 = 0, stock2 = 0;
    std::int64_t paperPrice = 0, front = 0, back = 0, pressPrice = 0, platePrice = 0,
                 leastPress = 0, makeReady = 0;
};

// The captions of the fields and figures that the job line names too.
constexpr std::u16string_view Bleed = u"出血", Gap = u"间距", Gripper = u"咬口", Margin = u"边距",
                              Copies = u"印数", Allowance = u"加放", SheetsWord = u"印张",
                              Reams = u"令数", Weight = u"纸重", FullSheetsWord = u"全张",
                              PaperCostWord = u"纸费", PlatesWord = u"版数",
                              PlateCostWord = u"版费", PressWord = u"印工", TotalWord = u"合计",
                              PerCopyWord = u"每份";

// clang-format off
// The fields in table order, which is the order their faults are named in, by the caption
// that titles them: the range in hundredths, the unit the message gives, whole numbers only,
// and the figure each holds.
struct Field
{
    ControlName control;
    std::int64_t minimum;
    std::int64_t maximum;
    std::u16string_view unit;
    bool whole;
    std::int64_t Figures::*figure;
};
constexpr std::u16string_view Mm = u" 毫米", Yuan = u" 元";
constexpr Field Fields[] = {
    {"Text51", planner::MinSide,     planner::MaxSide,             Mm,     false, &Figures::sheet1},
    {"Text52", planner::MinSide,     planner::MaxSide,             Mm,     false, &Figures::sheet2},
    {"Text53", planner::MinSide,     planner::MaxSide,             Mm,     false, &Figures::product1},
    {"Text54", planner::MinSide,     planner::MaxSide,             Mm,     false, &Figures::product2},
    {"Text55", 0,                    planner::MaxBleed,            Mm,     false, &Figures::bleed},
    {"Text56", 0,                    planner::MaxGap,              Mm,     false, &Figures::gap},
    {"Text57", 0,                    planner::MaxGripper,          Mm,     false, &Figures::gripper},
    {"Text58", 0,                    planner::MaxMargin,           Mm,     false, &Figures::margin},
    {"Text59", PerUnit,              planner::MaxCopies * PerUnit, u" 份", true,  &Figures::copies},
    {"Text60", 0,                    planner::MaxAllowance,        u"%",   false, &Figures::allowance},
    {"Text61", planner::MinGrammage, planner::MaxGrammage,         u" 克/平方米", false, &Figures::grammage},
    {"Text101", planner::MinSide,    planner::MaxSide,             Mm,     false, &Figures::stock1},
    {"Text102", planner::MinSide,    planner::MaxSide,             Mm,     false, &Figures::stock2},
    {"Text103", 0,                   planner::MaxPaperPrice,       u" 元/吨", false, &Figures::paperPrice},
    {"Text104", PerUnit,             planner::MaxColours * PerUnit, u"",   true,  &Figures::front},
    {"Text105", 0,                   planner::MaxColours * PerUnit, u"",   true,  &Figures::back},
    {"Text106", 0,                   planner::MaxPressPrice,       Yuan,   false, &Figures::pressPrice},
    {"Text107", 0,                   planner::MaxPlatePrice,       Yuan,   false, &Figures::platePrice},
    {"Text108", 0,                   planner::MaxLeastPress,       Yuan,   false, &Figures::leastPress},
    {"Text109", 0,                   planner::MaxMakeReady * PerUnit, u" 张", true, &Figures::makeReady},
};

// The presets, as their lists offer them after "自定义"; picking one fills the sides in.
struct Preset
{
    std::u16string_view item;
    std::u16string_view first;
    std::u16string_view second;
};
constexpr std::u16string_view Custom = u"自定义";
constexpr Preset Sheets[] = {
    {u"正度全开 787 × 1092", u"787", u"1092"}, {u"大度全开 889 × 1194", u"889", u"1194"},
    {u"正度对开 546 × 787",  u"546", u"787"},  {u"大度对开 597 × 889",  u"597", u"889"},
    {u"正度四开 393 × 546",  u"393", u"546"},  {u"大度四开 444 × 597",  u"444", u"597"},
    {u"A1 594 × 841",        u"594", u"841"},  {u"A2 420 × 594",        u"420", u"594"},
    {u"A3 297 × 420",        u"297", u"420"},
};
constexpr Preset Products[] = {
    {u"A3 297 × 420",     u"297", u"420"}, {u"A4 210 × 297",     u"210", u"297"},
    {u"A5 148 × 210",     u"148", u"210"}, {u"A6 105 × 148",     u"105", u"148"},
    {u"大16开 210 × 285", u"210", u"285"}, {u"16开 185 × 260",   u"185", u"260"},
    {u"大32开 140 × 203", u"140", u"203"}, {u"32开 130 × 184",   u"130", u"184"},
    {u"名片 90 × 54",     u"90",  u"54"},  {u"明信片 148 × 100", u"148", u"100"},
};
constexpr std::u16string_view SheetItems[] = {Custom,
    Sheets[0].item, Sheets[1].item, Sheets[2].item, Sheets[3].item, Sheets[4].item,
    Sheets[5].item, Sheets[6].item, Sheets[7].item, Sheets[8].item};
constexpr std::u16string_view ProductItems[] = {Custom,
    Products[0].item, Products[1].item, Products[2].item, Products[3].item, Products[4].item,
    Products[5].item, Products[6].item, Products[7].item, Products[8].item, Products[9].item};
constexpr std::u16string_view LockItems[] = {u"不限", u"只横排", u"只竖排"};
// The stocks, as planner::Stocks has them, between 自动 and 自定义.
constexpr std::u16string_view Auto = u"自动";
constexpr std::u16string_view StockItems[] = {Auto, u"正度 787 × 1092", u"大度 889 × 1194",
                                              u"850 × 1168", u"880 × 1230", Custom};
static_assert(std::size(StockItems) == std::size(planner::Stocks) + 2);
// The layouts by the panel's names of its arrangements, and the best one.
constexpr std::u16string_view LayoutNames[LayoutKinds] = {
    imposition::ArrangementItems[1], imposition::ArrangementItems[2],
    imposition::ArrangementItems[3], u"最优"};
constexpr std::u16string_view None = u"—";

// The results, a row of labels for each layout: ups, utilisation, sheets, reams, weight.
constexpr ControlName Options[LayoutKinds] = {"Option51", "Option52", "Option53", "Option54"};
constexpr std::size_t Columns = 5;
constexpr ControlName Results[LayoutKinds][Columns] = {
    {"Label61", "Label65", "Label71", "Label75", "Label81"},
    {"Label62", "Label66", "Label72", "Label76", "Label82"},
    {"Label63", "Label67", "Label73", "Label77", "Label83"},
    {"Label64", "Label68", "Label74", "Label78", "Label84"},
};

// The quote, a row for each method: ups, press sheets, full sheets, paper, plates, their cost,
// press time, the total and a copy's share.
constexpr std::size_t Methods = std::size(imposition::MethodItems), QuoteColumns = 9;
constexpr ControlName MethodCaptions[Methods] = {"Label156", "Label157", "Label158"};
constexpr ControlName Quotes[Methods][QuoteColumns] = {
    {"Label101", "Label104", "Label107", "Label110", "Label113", "Label116", "Label119", "Label122", "Label125"},
    {"Label102", "Label105", "Label108", "Label111", "Label114", "Label117", "Label120", "Label123", "Label126"},
    {"Label103", "Label106", "Label109", "Label112", "Label115", "Label118", "Label121", "Label124", "Label127"},
};

using K = ControlKind;
// clang-format off
// Twips. The inputs on the left, a line each: a caption, its box (or two, with "×" between)
// and the unit; the results at the top right, the layout below them growing with the window.
constexpr int Caption = 240, Box = 1080, Second = 2220, Unit = 3180;
constexpr int Right = 3900, Column = 1400;
constexpr int lineAt(int line) { return 240 + 420 * line; }
constexpr int resultAt(int row) { return 600 + 360 * row; }
constexpr int columnAt(int column) { return Right + Column + 1100 * column; }
// The quote below the results: its columns' widths, and its rows.
constexpr int QuoteWidths[QuoteColumns] = {700, 900, 900, 1200, 600, 1100, 1100, 1300, 1000};
constexpr int quoteColumnAt(std::size_t column)
{
    int left = Right + Column;
    for (std::size_t i = 0; i < column; ++i)
        left += QuoteWidths[i];
    return left;
}
constexpr int quoteAt(int row) { return 3180 + 330 * row; }
constexpr ControlRow caption(ControlName name, int line, std::u16string_view text, int width, int left = Caption)
{
    return {K::AutoLabel, name, {left, lineAt(line) + 45, width, 180}, text};
}
constexpr ControlRow box(ControlName name, int line, std::u16string_view text, int left = Box, int width = 900)
{
    return {K::TextBox, name, {left, lineAt(line), width, 270}, text};
}
constexpr ControlRow list(ControlName name, int line, std::span<const std::u16string_view> items)
{
    return {K::List, name, {Box, lineAt(line) - 45, 2040, 360}, items.front(), items};
}
constexpr ControlRow label(ControlName name, TwipsRect rect) { return {K::Label, name, rect, None}; }

constexpr ControlRow InputRows[] = {
    caption("Label53", 0, imposition::SheetSizeWord, 720), box("Text51", 0, u"1092"),
    caption("Label54", 0, u"×", 150, Box + 960), box("Text52", 0, u"787", Second),
    caption("Label55", 0, u"mm", 300, Unit),
    caption("Label56", 1, u"常用纸张", 720), list("Combo51", 1, SheetItems),
    caption("Label57", 2, imposition::ProductSizeWord, 720), box("Text53", 2, u"210"),
    caption("Label58", 2, u"×", 150, Box + 960), box("Text54", 2, u"297", Second),
    caption("Label59", 2, u"mm", 300, Unit),
    caption("Label60", 3, u"常用成品", 720), list("Combo52", 3, ProductItems),
    caption("Label69", 4, Bleed, 360), box("Text55", 4, u"0"), caption("Label70", 4, u"mm", 300, Box + 960),
    caption("Label79", 5, Gap, 360), box("Text56", 5, u"0"), caption("Label80", 5, u"mm", 300, Box + 960),
    caption("Label87", 6, Gripper, 360), box("Text57", 6, u"0"), caption("Label88", 6, u"mm", 300, Box + 960),
    caption("Label89", 7, Margin, 360), box("Text58", 7, u"0"), caption("Label90", 7, u"mm", 300, Box + 960),
    caption("Label91", 8, imposition::MethodWord, 720), list("Combo53", 8, imposition::MethodItems),
    caption("Label92", 9, u"产品方向", 720), list("Combo54", 9, LockItems),
    caption("Label93", 10, Copies, 360), box("Text59", 10, u"1000", Box, 1335),
    caption("Label94", 10, u"份", 180, Box + 1395),
    caption("Label95", 11, Allowance, 360), box("Text60", 11, u"0"), caption("Label96", 11, u"%", 180, Box + 960),
    caption("Label97", 12, u"克重", 360), box("Text61", 12, u"80"), caption("Label98", 12, u"g/m²", 450, Box + 960),
    caption("Label130", 13, u"全张", 360), list("Combo101", 13, StockItems),
    caption("Label131", 14, u"全张尺寸", 720), box("Text101", 14, u"787"),
    caption("Label132", 14, u"×", 150, Box + 960), box("Text102", 14, u"1092", Second),
    caption("Label133", 14, u"mm", 300, Unit),
    caption("Label134", 15, u"纸价", 360), box("Text103", 15, u"0", Box, 1335),
    caption("Label135", 15, u"元/吨", 450, Box + 1395),
    caption("Label136", 16, u"正面色数", 720), box("Text104", 16, u"4"),
    caption("Label137", 17, u"背面色数", 720), box("Text105", 17, u"4"),
    caption("Label138", 18, u"印工", 360), box("Text106", 18, u"0"), caption("Label139", 18, u"元/色/千印", 900, Box + 960),
    caption("Label140", 19, u"版费", 360), box("Text107", 19, u"0"), caption("Label141", 19, u"元/块", 450, Box + 960),
    caption("Label142", 20, u"起印费", 540), box("Text108", 20, u"0"), caption("Label143", 20, u"元", 180, Box + 960),
    caption("Label144", 21, u"每版加放", 720), box("Text109", 21, u"0"), caption("Label145", 21, u"张", 180, Box + 960),
    {K::Button, "Command101", {Box, lineAt(22) - 45, 1335, 360}, u"设为默认"},
    label("Label86", {Caption, lineAt(23) + 45, 3480, 450}),
    // The results' headings.
    {K::AutoLabel, "Label36", {columnAt(0), 285, 540, 180}, imposition::UpsWord},
    {K::AutoLabel, "Label37", {columnAt(1), 285, 540, 180}, imposition::UtilisationWord},
    {K::AutoLabel, "Label38", {columnAt(2), 285, 360, 180}, SheetsWord},
    {K::AutoLabel, "Label39", {columnAt(3), 285, 360, 180}, Reams},
    {K::AutoLabel, "Label40", {columnAt(4), 285, 360, 180}, Weight},
    // The quote's headings.
    {K::AutoLabel, "Label146", {Right, 2565, 360, 180}, u"开料"},
    {K::AutoLabel, "Label147", {quoteColumnAt(0), 2925, 540, 180}, imposition::UpsWord},
    {K::AutoLabel, "Label148", {quoteColumnAt(1), 2925, 360, 180}, SheetsWord},
    {K::AutoLabel, "Label149", {quoteColumnAt(2), 2925, 360, 180}, FullSheetsWord},
    {K::AutoLabel, "Label150", {quoteColumnAt(3), 2925, 360, 180}, PaperCostWord},
    {K::AutoLabel, "Label151", {quoteColumnAt(4), 2925, 360, 180}, PlatesWord},
    {K::AutoLabel, "Label152", {quoteColumnAt(5), 2925, 360, 180}, PlateCostWord},
    {K::AutoLabel, "Label153", {quoteColumnAt(6), 2925, 360, 180}, PressWord},
    {K::AutoLabel, "Label154", {quoteColumnAt(7), 2925, 360, 180}, TotalWord},
    {K::AutoLabel, "Label155", {quoteColumnAt(8), 2925, 360, 180}, PerCopyWord},
};
// clang-format on

// The rows above, then a row of the results for each layout (its option, then its figures),
// the proof, the cutting, a row of the quote for each method (its name, then its figures), the
// cheapest, and the diagram.
constexpr auto Controls = [] {
    std::array<ControlRow, std::size(InputRows) + LayoutKinds *(1 + Columns) + 5 +
                               Methods *(1 + QuoteColumns) + 1>
        rows{};
    auto at = std::copy(std::begin(InputRows), std::end(InputRows), rows.begin());
    for (int row = 0; row < int(LayoutKinds); ++row) {
        *at++ = {K::Option, Options[row], {Right, resultAt(row), Column, 300}, LayoutNames[row]};
        for (int column = 0; column < int(Columns); ++column)
            *at++ = label(Results[row][column], {columnAt(column), resultAt(row) + 60,
                                                 column + 1 < int(Columns) ? 1050 : 1700, 240});
    }
    *at++ = label("Label85", {Right, resultAt(4) + 120, 2300, 240});
    *at++ = label("Label129", {Right + 2400, resultAt(4) + 120, 1800, 240});
    *at++ = {K::CheckBox, "Check101", {Right + 4400, resultAt(4) + 90, 1400, 300}, u"显示裁切"};
    *at++ = label("Label100", {Right + 540, 2565, 8000, 240});
    for (int row = 0; row < int(Methods); ++row) {
        *at++ = {K::AutoLabel,
                 MethodCaptions[row],
                 {Right, quoteAt(row) + 45, 900, 180},
                 imposition::MethodItems[std::size_t(row)]};
        for (std::size_t column = 0; column < QuoteColumns; ++column)
            *at++ = label(Quotes[row][column], {quoteColumnAt(column), quoteAt(row) + 45,
                                                QuoteWidths[column] - 60, 240});
    }
    *at++ = label("Label128", {Right, quoteAt(3) + 90, 9000, 240});
    *at = {K::Diagram,
           "planpic",
           {Right, 4740, 11220, 5520},
           u"拼版方案图",
           {},
           {},
           {Colour::Role::Window},
           {Colour::Role::WindowText},
           nullptr,
           Anchor::AllSides};
    return rows;
}();

// clang-format off
constexpr ControlName SheetTitled[] = {"Text51", "Text52"}, SheetPresetTitled[] = {"Combo51"};
constexpr ControlName ProductTitled[] = {"Text53", "Text54"}, ProductPresetTitled[] = {"Combo52"};
constexpr ControlName BleedTitled[] = {"Text55"}, GapTitled[] = {"Text56"}, GripperTitled[] = {"Text57"};
constexpr ControlName MarginTitled[] = {"Text58"}, MethodTitled[] = {"Combo53"}, LockTitled[] = {"Combo54"};
constexpr ControlName CopiesTitled[] = {"Text59"}, AllowanceTitled[] = {"Text60"}, GrammageTitled[] = {"Text61"};
constexpr ControlName UpsTitled[] = {"Label61", "Label62", "Label63", "Label64", "planpic"};
constexpr ControlName UsedTitled[] = {"Label65", "Label66", "Label67", "Label68"};
constexpr ControlName SheetsTitled[] = {"Label71", "Label72", "Label73", "Label74"};
constexpr ControlName ReamsTitled[] = {"Label75", "Label76", "Label77", "Label78"};
constexpr ControlName WeightTitled[] = {"Label81", "Label82", "Label83", "Label84"};
constexpr ControlName StockTitled[] = {"Combo101"}, StockSizeTitled[] = {"Text101", "Text102"};
constexpr ControlName PaperPriceTitled[] = {"Text103"}, FrontTitled[] = {"Text104"}, BackTitled[] = {"Text105"};
constexpr ControlName PressTitled[] = {"Text106"}, PlateTitled[] = {"Text107"}, LeastTitled[] = {"Text108"};
constexpr ControlName MakeReadyTitled[] = {"Text109"}, CuttingTitled[] = {"Label100"};
constexpr auto QuoteColumnsTitled = [] {
    std::array<std::array<ControlName, Methods>, QuoteColumns> columns{};
    for (std::size_t column = 0; column < QuoteColumns; ++column)
        for (std::size_t row = 0; row < Methods; ++row)
            columns[column][row] = Quotes[row][column];
    return columns;
}();
constexpr Title Titles[] = {
    {"Label53", SheetTitled},         {"Label56", SheetPresetTitled}, {"Label57", ProductTitled},
    {"Label60", ProductPresetTitled}, {"Label69", BleedTitled},       {"Label79", GapTitled},
    {"Label87", GripperTitled},       {"Label89", MarginTitled},      {"Label91", MethodTitled},
    {"Label92", LockTitled},          {"Label93", CopiesTitled},      {"Label95", AllowanceTitled},
    {"Label97", GrammageTitled},      {"Label36", UpsTitled},         {"Label37", UsedTitled},
    {"Label38", SheetsTitled},        {"Label39", ReamsTitled},       {"Label40", WeightTitled},
    {"Label130", StockTitled},        {"Label131", StockSizeTitled},  {"Label134", PaperPriceTitled},
    {"Label136", FrontTitled},        {"Label137", BackTitled},       {"Label138", PressTitled},
    {"Label140", PlateTitled},        {"Label142", LeastTitled},      {"Label144", MakeReadyTitled},
    {"Label146", CuttingTitled},
    {"Label147", QuoteColumnsTitled[0]}, {"Label148", QuoteColumnsTitled[1]}, {"Label149", QuoteColumnsTitled[2]},
    {"Label150", QuoteColumnsTitled[3]}, {"Label151", QuoteColumnsTitled[4]}, {"Label152", QuoteColumnsTitled[5]},
    {"Label153", QuoteColumnsTitled[6]}, {"Label154", QuoteColumnsTitled[7]}, {"Label155", QuoteColumnsTitled[8]},
};

// The lists, as the readings name them.
constexpr ControlName Lists[] = {"Combo51", "Combo52", "Combo53", "Combo54", "Combo101"};
enum List { SheetPreset, ProductPreset, MethodList, LockList, StockList };
// clang-format on

// Every event reads every field, the lists, the options and the diagram's size, in this
// order: a field's reading has the field's index.
constexpr std::size_t ReadCount = std::size(Fields) + std::size(Lists) + LayoutKinds + 2;
constexpr std::array<ControlName, ReadCount> Reads = [] {
    std::array<ControlName, ReadCount> reads{};
    auto at = reads.begin();
    for (const Field &field : Fields)
        *at++ = field.control;
    at = std::copy(std::begin(Lists), std::end(Lists), at);
    at = std::copy(std::begin(Options), std::end(Options), at);
    *at++ = "Check101";
    *at = "planpic";
    return reads;
}();
constexpr std::size_t listAt(List list)
{
    return std::size(Fields) + list;
}
constexpr std::size_t FirstOption = listAt(StockList) + 1;
// The place of `control`'s reading.
constexpr std::size_t readOf(ControlName control)
{
    return std::size_t(std::find(Reads.begin(), Reads.end(), control) - Reads.begin());
}
constexpr std::size_t DiagramSize = ReadCount - 1;
// The sheet's sides are the first two fields, the product's the next two.
constexpr std::size_t SizeFields = 4;

// The caption of the label that titles `control`.
std::u16string_view titleText(ControlName control)
{
    return findControl({Controls, Titles, {}}, titleOf({Controls, Titles, {}}, control)->label)
        ->text;
}

// Hundredths as the program writes numbers: 1092, 3, 0.5.
std::u16string hundredthsText(std::int64_t value)
{
    return formatFixed(value, 2, true);
}

// What a planner shows for its fields, or why not: the first that is bad, by its caption and
// range.
std::variant<Figures, std::u16string> figuresOf(std::span<const Reading> readings)
{
    Figures figures;
    for (std::size_t i = 0; i < std::size(Fields); ++i) {
        const Field &field = Fields[i];
        const auto value = parseHundredths(readings[i].text, field.maximum);
        if (!value || *value < field.minimum || (field.whole && *value % PerUnit != 0))
            return u"请输入" + std::u16string(titleText(field.control)) + u"（" +
                   hundredthsText(field.minimum) + u" 至 " + hundredthsText(field.maximum) +
                   std::u16string(field.unit) + u"）";
        figures.*field.figure = *value;
    }
    return figures;
}

planner::Input inputOf(const Figures &f, std::span<const Reading> readings)
{
    planner::Input in{f.sheet1, f.sheet2, f.product1, f.product2,
                      f.bleed,  f.gap,    f.gripper,  f.margin};
    imposition::methodFromText(readings[listAt(MethodList)].text, in.method);
    // A list holds one of its items; the first stands for anything else.
    const auto lock =
        std::find(std::begin(LockItems), std::end(LockItems), readings[listAt(LockList)].text);
    in.lock = planner::Lock(lock == std::end(LockItems) ? 0 : lock - std::begin(LockItems));
    return in;
}

planner::Order orderOf(const Figures &f)
{
    return {f.copies / PerUnit, f.allowance, f.grammage};
}

planner::Prices pricesOf(const Figures &f)
{
    return {f.paperPrice,           f.pressPrice,          f.platePrice,         f.leastPress,
            int(f.front / PerUnit), int(f.back / PerUnit), f.makeReady / PerUnit};
}

// The full sheet as the stock list says: the stock with the least paper (自动), one of the
// stocks, or the sides typed (自定义).
planner::Cutting cuttingOf(const Figures &f, std::span<const Reading> readings)
{
    const auto item =
        std::find(std::begin(StockItems), std::end(StockItems), readings[listAt(StockList)].text);
    const auto stock = int(item - std::begin(StockItems)) - 1;
    if (stock < 0 || item == std::end(StockItems))
        return planner::bestCutting(f.sheet1, f.sheet2);
    if (std::size_t(stock) >= std::size(planner::Stocks))
        return planner::cuttingOf(planner::CustomStock, f.stock1, f.stock2, f.sheet1, f.sheet2);
    const planner::Stock &s = planner::Stocks[std::size_t(stock)];
    return planner::cuttingOf(stock, s.width, s.length, f.sheet1, f.sheet2);
}

// The layout of `kind` drawn to scale in a box `width` by `height` twips, the sheet centred
// and `margin` twips clear of the box's edges: the sheet's edge, the usable area's edge, each
// product's trimmed box.
Drawing drawingOf(const planner::Result &result, LayoutKind kind, double width, double height,
                  double margin, const planner::CutPlan *cuts = nullptr)
{
    const planner::Sheet &sheet = result.sheet;
    Drawing drawing{"planpic", float(width), float(height), {}};
    const double scale = std::max(0.0, std::min((width - 2 * margin) / double(sheet.length),
                                                (height - 2 * margin) / double(sheet.width)));
    const double left = (width - scale * double(sheet.length)) / 2;
    const double top = (height - scale * double(sheet.width)) / 2;
    const auto at = [scale](Length length) { return scale * double(length); };
    drawing.blocks.push_back({1, 1, left, top, at(sheet.length), at(sheet.width)});
    if (sheet.usable() && (sheet.usableRight - sheet.usableLeft != sheet.length ||
                           sheet.usableBottom - sheet.usableTop != sheet.width))
        drawing.blocks.push_back({1, 1, left + at(sheet.usableLeft), top + at(sheet.usableTop),
                                  at(sheet.usableRight - sheet.usableLeft),
                                  at(sheet.usableBottom - sheet.usableTop)});
    for (const planner::Box &box : result.layout(kind).blocks) {
        const Length across = box.turned ? sheet.trimLength : sheet.trimWidth;
        const Length along = box.turned ? sheet.trimWidth : sheet.trimLength;
        const Length pitchAcross = box.turned ? sheet.pitchLength : sheet.pitchWidth;
        const Length pitchAlong = box.turned ? sheet.pitchWidth : sheet.pitchLength;
        drawing.blocks.push_back({box.rows, box.cols, left + at(box.x), top + at(box.y), at(along),
                                  at(across), at(pitchAlong - along), at(pitchAcross - across)});
    }
    // Each stroke across every piece it cuts, numbered on the first.
    if (cuts) {
        std::size_t marks = 0;
        for (const planner::Stroke &stroke : cuts->strokes)
            marks += stroke.places.size();
        drawing.marks.reserve(marks);
    }
    for (std::size_t n = 0; cuts && n < cuts->strokes.size(); ++n) {
        const planner::Stroke &stroke = cuts->strokes[n];
        const planner::PieceKind &piece = cuts->kinds[std::size_t(stroke.kind)];
        for (std::size_t i = 0; i < stroke.places.size(); ++i) {
            const auto [x, y] = stroke.places[i];
            const double x1 = left + at(x + (stroke.across ? 0 : stroke.at));
            const double y1 = top + at(y + (stroke.across ? stroke.at : 0));
            drawing.marks.push_back({x1, y1, stroke.across ? left + at(x + piece.width) : x1,
                                     stroke.across ? y1 : top + at(y + piece.height),
                                     i == 0 ? int(n) + 1 : 0});
        }
    }
    return drawing;
}

// Sheets in reams of 500, exactly: 455 sheets are 0.91 reams.
std::u16string reamsText(std::int64_t sheets)
{
    return formatFixed(sheets * 2, 3, true);
}

std::u16string yuan(planner::Money fen)
{
    return formatFixed(fen, 2);
}

// The quote of each method, in their order; none where a method cannot print the job.
using MethodQuotes = std::array<std::optional<planner::Quote>, Methods>;

// The cheapest, the earlier of equals: "最省：自翻版，合计 1357.77 元，每份 0.2716 元".
std::u16string cheapestText(const MethodQuotes &quotes)
{
    std::size_t cheapest = Methods;
    for (std::size_t m = 0; m < Methods; ++m)
        if (quotes[m] && (cheapest == Methods || quotes[m]->total < quotes[cheapest]->total))
            cheapest = m;
    if (cheapest == Methods)
        return std::u16string(None);
    const planner::Quote &q = *quotes[cheapest];
    return u"最省：" + std::u16string(imposition::MethodItems[cheapest]) + u"，" +
           std::u16string(TotalWord) + u" " + yuan(q.total) + u" 元，" +
           std::u16string(PerCopyWord) + u" " + formatFixed(q.perCopy, 4) + u" 元";
}

// A method's figures in the quote's columns; every one "—" without a quote.
std::array<std::u16string, QuoteColumns> quoteTexts(const std::optional<planner::Quote> &q)
{
    std::array<std::u16string, QuoteColumns> shown;
    shown.fill(std::u16string(None));
    if (q)
        shown = {formatCount(q->ups),
                 formatCount(q->paper.sheets),
                 formatCount(q->paper.fullSheets),
                 yuan(q->paperCost),
                 formatCount(q->plates),
                 yuan(q->plateCost),
                 yuan(q->pressCost),
                 yuan(q->total),
                 formatFixed(q->perCopy, 4)};
    return shown;
}

// The cutting as "正度 787 × 1092，2 开": the stock's item, the sides typed, or the press
// sheet as its own full sheet.
std::u16string cuttingText(const planner::Cutting &c)
{
    const std::u16string sides = hundredthsText(c.width) + u" × " + hundredthsText(c.length);
    const std::u16string stock = c.stock >= 0 ? std::u16string(StockItems[std::size_t(c.stock) + 1])
                                 : c.stock == planner::CustomStock
                                     ? std::u16string(Custom) + u" " + sides
                                     : std::u16string(imposition::SheetSizeWord) + u" " + sides;
    return stock + u"，" + formatCount(c.pieces) + u" 开";
}

// The quote as lines below the job line: a method's row each, and the cheapest.
std::vector<std::u16string> quoteNotes(const MethodQuotes &quotes)
{
    constexpr std::u16string_view Headings[QuoteColumns] = {
        imposition::UpsWord, SheetsWord, FullSheetsWord, PaperCostWord, PlatesWord,
        PlateCostWord,       PressWord,  TotalWord,      PerCopyWord};
    constexpr bool InYuan[QuoteColumns] = {false, false, false, true, false,
                                           true,  true,  true,  true};
    std::vector<std::u16string> notes;
    for (std::size_t m = 0; m < Methods; ++m) {
        std::u16string row = std::u16string(imposition::MethodItems[m]) + u"：";
        const auto shown = quoteTexts(quotes[m]);
        if (!quotes[m])
            row += None;
        for (std::size_t column = 0; quotes[m] && column < QuoteColumns; ++column)
            row += (column > 0 ? u"，" : u"") + std::u16string(Headings[column]) + u" " +
                   shown[column] + (InYuan[column] ? u" 元" : u"");
        notes.push_back(std::move(row));
    }
    notes.push_back(cheapestText(quotes));
    return notes;
}

// The chosen layout as a document: the sheet at the main panel's scale, the job line, and
// the quote below it when a price is given.
Document documentOf(std::span<const Reading> readings, const Figures &f,
                    const planner::Result &result, LayoutKind kind,
                    const std::optional<planner::Paper> &paper, const MethodQuotes &quotes,
                    const planner::CutPlan &cuts, const planner::CutPlan *shown)
{
    const planner::Sheet &sheet = result.sheet;
    const double scale = std::min(double(imposition::EnvelopeWidth) / double(sheet.length),
                                  double(imposition::EnvelopeHeight) / double(sheet.width));
    Document document;
    document.drawing = drawingOf(result, kind, scale * double(sheet.length),
                                 scale * double(sheet.width), 0, shown);
    document.unitsPerTwip = 1 / (scale * PerUnit);
    document.width = double(sheet.length) / PerUnit;
    document.height = double(sheet.width) / PerUnit;
    const imposition::SizeTexts sizes{hundredthsText(f.sheet1), hundredthsText(f.sheet2),
                                      hundredthsText(f.product1), hundredthsText(f.product2)};
    imposition::JobLine line(sizes);
    line.add(Bleed, hundredthsText(f.bleed));
    if (f.gap > 0)
        line.add(Gap, hundredthsText(f.gap));
    line.add(Gripper, hundredthsText(f.gripper));
    if (f.margin > 0)
        line.add(Margin, hundredthsText(f.margin));
    const std::int64_t ups = result.layout(kind).ups;
    line.add(readings[listAt(MethodList)].text)
        .add(LayoutNames[std::size_t(kind)])
        .addUps(ups, planner::utilisationTenths(ups, sheet));
    if (paper) {
        line.add(Copies, formatCount(f.copies / PerUnit));
        if (f.allowance > 0)
            line.add(Allowance, hundredthsText(f.allowance) + u"%");
        line.add(SheetsWord, formatCount(paper->sheets));
        if (paper->fullSheets > 0)
            line.add(Reams, reamsText(paper->fullSheets))
                .add(Weight, formatFixed(paper->weightTenthsKg, 1) + u" kg");
    }
    document.jobLine = line.text();
    if (f.paperPrice > 0 || f.pressPrice > 0 || f.platePrice > 0 || f.leastPress > 0)
        document.notes = quoteNotes(quotes);
    // The cutter's sheet: the pieces' sizes, then a line a stroke.
    for (std::u16string &step : planner::cutSteps(cuts))
        document.notes.push_back(std::move(step));
    document.fileStem = imposition::fileStem(u"拼版方案", sizes);
    for (std::size_t i = 0; i < SizeFields; ++i)
        document.inputs.push_back({Reads[i], readings[i].text});
    return document;
}

// The layout asked for where it can be chosen; otherwise the one with the most ups, the
// earlier of equals.
LayoutKind chosenOf(const planner::Result &result, std::optional<LayoutKind> asked)
{
    if (asked && !result.layout(*asked).ruledOut)
        return *asked;
    std::optional<LayoutKind> best;
    for (std::size_t i = 0; i < LayoutKinds; ++i) {
        const planner::Layout &layout = result.layouts[i];
        if (!layout.ruledOut && (!best || layout.ups > result.layout(*best).ups))
            best = LayoutKind(i);
    }
    return best.value_or(LayoutKind::Best);
}

std::u16string proofText(const planner::Result &result)
{
    return result.proof == planner::Proof::Proven    ? u"已证最优"
           : result.proof == planner::Proof::Bounded ? u"上限 " + formatCount(result.bound)
                                                     : u"未证明";
}

// Every row and the quote blank, no row to be chosen, and the status line saying why.
Update refused(Update update, const std::u16string &message)
{
    for (std::size_t row = 0; row < LayoutKinds; ++row) {
        update.options.push_back({Options[row], false, false});
        for (ControlName label : Results[row])
            update.captions.push_back({label, std::u16string(None)});
    }
    for (ControlName label : {"Label85", "Label100", "Label128", "Label129"})
        update.captions.push_back({label, std::u16string(None)});
    for (std::size_t m = 0; m < Methods; ++m)
        for (ControlName label : Quotes[m])
            update.captions.push_back({label, std::u16string(None)});
    update.captions.push_back({"Label86", message});
    return update;
}

// The quote's rows, the method chosen marked, the cutting and the cheapest; each method's
// best layout as the planner finds it with that method (the one chosen is `chosen`'s).
MethodQuotes quoted(Update &update, const Figures &f, const planner::Input &in,
                    const planner::Result &chosen, const planner::Cutting &cutting)
{
    MethodQuotes quotes;
    for (std::size_t m = 0; m < Methods; ++m) {
        const auto method = imposition::Method(m);
        planner::Input other = in;
        other.method = method;
        const std::int64_t ups =
            (method == in.method ? chosen : planner::plan(other)).layout(LayoutKind::Best).ups;
        quotes[m] = planner::quote(method, ups, orderOf(f), cutting, pricesOf(f));
        const auto shown = quoteTexts(quotes[m]);
        for (std::size_t column = 0; column < QuoteColumns; ++column)
            update.captions.push_back({Quotes[m][column], shown[column]});
        update.captions.push_back(
            {MethodCaptions[m],
             (method == in.method ? u"● " : u"") + std::u16string(imposition::MethodItems[m])});
    }
    update.captions.push_back({"Label100", cuttingText(cutting)});
    update.captions.push_back({"Label128", cheapestText(quotes)});
    return quotes;
}

// The planner after an event: every row, the paper, the proof, the quote, and the layout
// `asked` for drawn and handed on where it can be chosen (chosenOf). A bad input leaves every
// figure blank and says why.
Outcome planned(std::span<const Reading> readings, std::optional<LayoutKind> asked = {},
                std::vector<SetText> texts = {})
{
    const TwipsSize size = readings[DiagramSize].size;
    Update update{.drawing = Drawing{"planpic", float(size.width), float(size.height), {}},
                  .texts = std::move(texts),
                  .keepsDocument = false};
    const auto figures = figuresOf(readings);
    if (const auto *message = std::get_if<std::u16string>(&figures))
        return refused(std::move(update), *message);
    const Figures &f = std::get<Figures>(figures);
    const planner::Input in = inputOf(f, readings);
    const planner::Result result = planner::plan(in);
    const LayoutKind chosen = chosenOf(result, asked);
    // A stock's sides shown in the boxes it fills, where they show others.
    const planner::Cutting cutting = cuttingOf(f, readings);
    if (cutting.stock != planner::CustomStock)
        for (const auto &[field, side] :
             {std::pair{"Text101", cutting.width}, {"Text102", cutting.length}})
            if (parseHundredths(readings[readOf(field)].text, planner::MaxSide) != side)
                update.texts.push_back({field, hundredthsText(side)});
    std::optional<planner::Paper> chosenPaper;
    for (std::size_t row = 0; row < LayoutKinds; ++row) {
        const planner::Layout &layout = result.layouts[row];
        update.options.push_back({Options[row], !layout.ruledOut, LayoutKind(row) == chosen});
        const auto paper = planner::paper(layout.ups, orderOf(f), cutting);
        if (LayoutKind(row) == chosen)
            chosenPaper = paper;
        std::array<std::u16string, Columns> shown;
        shown.fill(std::u16string(None));
        if (!layout.ruledOut) {
            shown[0] = formatCount(layout.ups);
            shown[1] = formatFixed(planner::utilisationTenths(layout.ups, result.sheet), 1) + u"%";
        }
        if (!layout.ruledOut && paper) {
            shown[2] = formatCount(paper->sheets);
            if (paper->fullSheets > 0) {
                shown[3] = reamsText(paper->fullSheets);
                shown[4] = formatFixed(paper->weightTenthsKg, 1) + u" kg";
            }
        }
        for (std::size_t column = 0; column < Columns; ++column)
            update.captions.push_back({Results[row][column], shown[column]});
    }
    update.captions.push_back({"Label85", proofText(result)});
    const MethodQuotes quotes = quoted(update, f, in, result, cutting);
    update.captions.push_back({"Label86", cutting.pieces > 0 ? u"" : u"开版尺寸大于全张"});
    const planner::CutPlan cuts = planner::cutPlan(result.sheet, result.layout(chosen));
    update.captions.push_back(
        {"Label129", cuts.strokes.empty()
                         ? std::u16string(None)
                         : u"裁切 " + formatCount(std::int64_t(cuts.strokes.size())) + u" 刀"});
    const planner::CutPlan *shown = readings[readOf("Check101")].value ? &cuts : nullptr;
    update.drawing = drawingOf(result, chosen, size.width, size.height, 120, shown);
    update.document = documentOf(readings, f, result, chosen, chosenPaper, quotes, cuts, shown);
    update.toolTips.push_back({"planpic", update.document->jobLine});
    return update;
}

// A size edited by hand is no preset's any more.
template <List Preset> Outcome sizeEdited(std::span<const Reading> readings)
{
    return planned(readings, {}, {{Lists[Preset], std::u16string(Custom)}});
}

// The full sheet's sides edited: 自定义 from now on, and already for this change.
Outcome stockEdited(std::span<const Reading> readings)
{
    std::vector<Reading> custom(readings.begin(), readings.end());
    custom[listAt(StockList)].text = Custom;
    return planned(custom, {}, {{Lists[StockList], std::u16string(Custom)}});
}

// A preset picked: its sides into the two fields before them.
template <List List, const auto &Presets> Outcome presetPicked(std::span<const Reading> readings)
{
    const std::size_t first = List == SheetPreset ? 0 : 2;
    for (const Preset &preset : Presets) {
        if (preset.item != readings[listAt(List)].text)
            continue;
        std::vector<Reading> filled(readings.begin(), readings.end());
        filled[first].text = preset.first;
        filled[first + 1].text = preset.second;
        return planned(filled, {},
                       {{Reads[first], std::u16string(preset.first)},
                        {Reads[first + 1], std::u16string(preset.second)}});
    }
    return planned(readings);
}

Outcome changed(std::span<const Reading> readings)
{
    return planned(readings);
}

template <LayoutKind Kind> Outcome chosen(std::span<const Reading> readings)
{
    return planned(readings, Kind);
}

// Drawn anew, at a new size or with the cuts shown or not: the layout chosen stays.
Outcome redrawn(std::span<const Reading> readings)
{
    std::optional<LayoutKind> kind;
    for (std::size_t option = 0; option < LayoutKinds; ++option)
        if (readings[FirstOption + option].value)
            kind = LayoutKind(option);
    return planned(readings, kind);
}

// The shop's figures kept as the planner's defaults, by key: everything but the sizes and the
// copies, each as its control holds it.
struct Kept
{
    std::string_view key;
    ControlName control;
};
constexpr Kept KeptControls[] = {
    {"stock", "Combo101"},      {"stock_side_1", "Text101"},  {"stock_side_2", "Text102"},
    {"paper_price", "Text103"}, {"front_colours", "Text104"}, {"back_colours", "Text105"},
    {"press_price", "Text106"}, {"plate_price", "Text107"},   {"least_press", "Text108"},
    {"make_ready", "Text109"},  {"bleed", "Text55"},          {"gap", "Text56"},
    {"gripper", "Text57"},      {"margin", "Text58"},         {"lock", "Combo54"},
    {"allowance", "Text60"},    {"grammage", "Text61"},
};

// Whether `text` is what the control may hold: a field's number in its range, a list's item.
bool keepable(ControlName control, std::u16string_view text)
{
    const std::size_t at = readOf(control);
    if (at >= std::size(Fields)) {
        const ControlRow &row = *findControl({Controls, Titles, {}}, control);
        return std::find(row.items.begin(), row.items.end(), text) != row.items.end();
    }
    const Field &field = Fields[at];
    const auto value = parseHundredths(text, field.maximum);
    return value && *value >= field.minimum && (!field.whole || *value % PerUnit == 0);
}

// "设为默认": kept where the figures are good; otherwise the status line says what is not.
Outcome keepDefaults(std::span<const Reading> readings)
{
    const auto figures = figuresOf(readings);
    if (const auto *message = std::get_if<std::u16string>(&figures))
        return Update{.captions = {{"Label86", *message}}};
    std::vector<Setting> settings;
    for (const Kept &kept : KeptControls)
        settings.push_back({std::string(kept.key), readings[readOf(kept.control)].text});
    return Update{.settings = SettingsWrite{writeSettings(settings), "Label86", u"已设为默认"}};
}

// The defaults kept: each good value into its control; a bad one left at the control's own
// start, and the first of them named.
Update readDefaults(std::string_view bytes)
{
    Update update;
    std::u16string bad;
    for (const ReadSetting &setting : readSettings(bytes)) {
        const std::optional<std::u16string> &value = setting.second;
        const auto kept = std::find_if(std::begin(KeptControls), std::end(KeptControls),
                                       [&](const Kept &k) { return k.key == setting.first; });
        if (kept == std::end(KeptControls))
            continue;
        if (value && keepable(kept->control, *value))
            update.texts.push_back({kept->control, *value});
        else if (bad.empty())
            bad =
                u"设置文件中的“" + std::u16string(titleText(kept->control)) + u"”无效，已用默认值";
    }
    if (!bad.empty())
        update.captions.push_back({"Label86", bad});
    return update;
}

// clang-format off
constexpr Event Events[] = {
    {"Text51",   Reads, sizeEdited<SheetPreset>},   {"Text52", Reads, sizeEdited<SheetPreset>},
    {"Text53",   Reads, sizeEdited<ProductPreset>}, {"Text54", Reads, sizeEdited<ProductPreset>},
    {"Combo51",  Reads, presetPicked<SheetPreset, Sheets>},
    {"Combo52",  Reads, presetPicked<ProductPreset, Products>},
    {"Text55",   Reads, changed}, {"Text56", Reads, changed}, {"Text57", Reads, changed},
    {"Text58",   Reads, changed}, {"Combo53", Reads, changed}, {"Combo54", Reads, changed},
    {"Text59",   Reads, changed}, {"Text60", Reads, changed}, {"Text61", Reads, changed},
    {"Combo101", Reads, changed}, {"Text101", Reads, stockEdited}, {"Text102", Reads, stockEdited},
    {"Text103",  Reads, changed}, {"Text104", Reads, changed}, {"Text105", Reads, changed},
    {"Text106",  Reads, changed}, {"Text107", Reads, changed}, {"Text108", Reads, changed},
    {"Text109",  Reads, changed}, {"Command101", Reads, keepDefaults},
    {"Option51", Reads, chosen<LayoutKind::Horizontal>}, {"Option52", Reads, chosen<LayoutKind::Vertical>},
    {"Option53", Reads, chosen<LayoutKind::Mixed>},      {"Option54", Reads, chosen<LayoutKind::Best>},
    {"Check101", Reads, redrawn}, {"planpic", Reads, redrawn},
};

constexpr Command Commands[] = {
    copyCommand("copyPlan", "planpic"),
    saveCommand("savePlan", "planpic"),
    printCommand("printPlan", "planpic"),
};
// clang-format on

constexpr PanelTable Panel{Controls, Titles, Events, Commands};
constexpr Tab Tabs[] = {{u"拼版方案", &Panel}};
constexpr WindowSettings Defaults{"planner", readDefaults};

} // namespace

const WindowDescription plannerWindow{
    .name = "planner",
    .caption = u"拼版方案",
    .clientWidth = 15360,
    .clientHeight = 10500,
    .tabStrip = {},
    .tabStripRect = {},
    .panelArray = "Frame2",
    .tabs = Tabs,
    .font = {u"宋体", 9},
    .language = "zh_CN",
    .settings = &Defaults,
};

} // namespace korvane
