#include "imposition/plannerwindow.h"

#include "common/document.h"
#include "common/numtext.h"
#include "imposition/planner.h"

#include <algorithm>
#include <array>

namespace korvane {
namespace {

using planner::Length;
using planner::Row;

// Hundredths in a millimetre, a percent point or a gram.
constexpr std::int64_t Hundred = 100;

// clang-format off
// The inputs in table order, which is the order their faults are named in: the caption a
// message names, the range in hundredths, the unit the message gives, whole numbers only.
struct Input
{
    ControlName control;
    std::u16string_view caption;
    std::int64_t minimum;
    std::int64_t maximum;
    std::u16string_view unit;
    bool whole = false;
};
constexpr std::array<Input, 11> Inputs = {{
    {"Text51", u"开版尺寸", planner::MinSide, planner::MaxSide,       u" 毫米"},
    {"Text52", u"开版尺寸", planner::MinSide, planner::MaxSide,       u" 毫米"},
    {"Text53", u"产品尺寸", planner::MinSide, planner::MaxSide,       u" 毫米"},
    {"Text54", u"产品尺寸", planner::MinSide, planner::MaxSide,       u" 毫米"},
    {"Text55", u"出血",     0,                planner::MaxBleed,      u" 毫米"},
    {"Text56", u"间距",     0,                planner::MaxGap,        u" 毫米"},
    {"Text57", u"咬口",     0,                planner::MaxGripper,    u" 毫米"},
    {"Text58", u"边距",     0,                planner::MaxMargin,     u" 毫米"},
    {"Text59", u"印数",     100,              planner::MaxCopies * Hundred, u" 份", true},
    {"Text60", u"加放",     0,                planner::MaxAllowance,  u"%"},
    {"Text61", u"克重",     planner::MinGrammage, planner::MaxGrammage, u" 克/平方米"},
}};

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
constexpr std::u16string_view RowNames[] = {u"横排", u"竖排", u"横竖混排", u"最优"};
constexpr std::u16string_view None = u"—";

// The results, a row of labels for each layout: ups, utilisation, sheets, reams, weight.
constexpr ControlName Options[] = {"Option51", "Option52", "Option53", "Option54"};
constexpr ControlName Results[4][5] = {
    {"Label61", "Label65", "Label71", "Label75", "Label81"},
    {"Label62", "Label66", "Label72", "Label76", "Label82"},
    {"Label63", "Label67", "Label73", "Label77", "Label83"},
    {"Label64", "Label68", "Label74", "Label78", "Label84"},
};

using K = ControlKind;
// Twips. The inputs on the left, a caption then its box; the results at the top right, the
// layout below them growing with the window.
constexpr int Caption = 240, Box = 1080, Second = 2220, Unit = 3180;
constexpr int Right = 3900, Column = 1400;
constexpr int rowAt(int row) { return 240 + 420 * row; }
constexpr int resultAt(int row) { return 600 + 360 * row; }
constexpr int columnAt(int column) { return Right + Column + 1100 * column; }

constexpr ControlRow Controls[] = {
    {K::AutoLabel, "Label53", {Caption, rowAt(0) + 45, 720, 180},   u"开版尺寸"},
    {K::TextBox,   "Text51",  {Box, rowAt(0), 900, 270},            u"1092"},
    {K::AutoLabel, "Label54", {Box + 960, rowAt(0) + 45, 150, 180}, u"×"},
    {K::TextBox,   "Text52",  {Second, rowAt(0), 900, 270},         u"787"},
    {K::AutoLabel, "Label55", {Unit, rowAt(0) + 45, 300, 180},      u"mm"},
    {K::AutoLabel, "Label56", {Caption, rowAt(1) + 45, 720, 180},   u"常用纸张"},
    {K::List,      "Combo51", {Box, rowAt(1) - 45, 2040, 360},      Custom, SheetItems},
    {K::AutoLabel, "Label57", {Caption, rowAt(2) + 45, 720, 180},   u"产品尺寸"},
    {K::TextBox,   "Text53",  {Box, rowAt(2), 900, 270},            u"210"},
    {K::AutoLabel, "Label58", {Box + 960, rowAt(2) + 45, 150, 180}, u"×"},
    {K::TextBox,   "Text54",  {Second, rowAt(2), 900, 270},         u"297"},
    {K::AutoLabel, "Label59", {Unit, rowAt(2) + 45, 300, 180},      u"mm"},
    {K::AutoLabel, "Label60", {Caption, rowAt(3) + 45, 720, 180},   u"常用成品"},
    {K::List,      "Combo52", {Box, rowAt(3) - 45, 2040, 360},      Custom, ProductItems},
    {K::AutoLabel, "Label69", {Caption, rowAt(4) + 45, 360, 180},   u"出血"},
    {K::TextBox,   "Text55",  {Box, rowAt(4), 900, 270},            u"0"},
    {K::AutoLabel, "Label70", {Box + 960, rowAt(4) + 45, 300, 180}, u"mm"},
    {K::AutoLabel, "Label79", {Caption, rowAt(5) + 45, 360, 180},   u"间距"},
    {K::TextBox,   "Text56",  {Box, rowAt(5), 900, 270},            u"0"},
    {K::AutoLabel, "Label80", {Box + 960, rowAt(5) + 45, 300, 180}, u"mm"},
    {K::AutoLabel, "Label87", {Caption, rowAt(6) + 45, 360, 180},   u"咬口"},
    {K::TextBox,   "Text57",  {Box, rowAt(6), 900, 270},            u"0"},
    {K::AutoLabel, "Label88", {Box + 960, rowAt(6) + 45, 300, 180}, u"mm"},
    {K::AutoLabel, "Label89", {Caption, rowAt(7) + 45, 360, 180},   u"边距"},
    {K::TextBox,   "Text58",  {Box, rowAt(7), 900, 270},            u"0"},
    {K::AutoLabel, "Label90", {Box + 960, rowAt(7) + 45, 300, 180}, u"mm"},
    {K::AutoLabel, "Label91", {Caption, rowAt(8) + 45, 720, 180},   u"拼版方式"},
    {K::List,      "Combo53", {Box, rowAt(8) - 45, 2040, 360},      imposition::MethodItems[0],
     imposition::MethodItems},
    {K::AutoLabel, "Label92", {Caption, rowAt(9) + 45, 720, 180},   u"产品方向"},
    {K::List,      "Combo54", {Box, rowAt(9) - 45, 2040, 360},      LockItems[0], LockItems},
    {K::AutoLabel, "Label93", {Caption, rowAt(10) + 45, 360, 180},  u"印数"},
    {K::TextBox,   "Text59",  {Box, rowAt(10), 1335, 270},          u"1000"},
    {K::AutoLabel, "Label94", {Box + 1395, rowAt(10) + 45, 180, 180}, u"份"},
    {K::AutoLabel, "Label95", {Caption, rowAt(11) + 45, 360, 180},  u"加放"},
    {K::TextBox,   "Text60",  {Box, rowAt(11), 900, 270},           u"0"},
    {K::AutoLabel, "Label96", {Box + 960, rowAt(11) + 45, 180, 180}, u"%"},
    {K::AutoLabel, "Label97", {Caption, rowAt(12) + 45, 360, 180},  u"克重"},
    {K::TextBox,   "Text61",  {Box, rowAt(12), 900, 270},           u"80"},
    {K::AutoLabel, "Label98", {Box + 960, rowAt(12) + 45, 450, 180}, u"g/m²"},
    {K::Label,     "Label86", {Caption, rowAt(13) + 45, 3480, 450}, u""},
    // The results.
    {K::AutoLabel, "Label36", {columnAt(0), 285, 540, 180},   u"开版数"},
    {K::AutoLabel, "Label37", {columnAt(1), 285, 540, 180},   u"利用率"},
    {K::AutoLabel, "Label38", {columnAt(2), 285, 360, 180},   u"印张"},
    {K::AutoLabel, "Label39", {columnAt(3), 285, 360, 180},   u"令数"},
    {K::AutoLabel, "Label40", {columnAt(4), 285, 360, 180},   u"纸重"},
    {K::Option,    "Option51", {Right, resultAt(0), Column, 300}, RowNames[0]},
    {K::Label,     "Label61", {columnAt(0), resultAt(0) + 60, 1050, 240}, None},
    {K::Label,     "Label65", {columnAt(1), resultAt(0) + 60, 1050, 240}, None},
    {K::Label,     "Label71", {columnAt(2), resultAt(0) + 60, 1050, 240}, None},
    {K::Label,     "Label75", {columnAt(3), resultAt(0) + 60, 1050, 240}, None},
    {K::Label,     "Label81", {columnAt(4), resultAt(0) + 60, 1700, 240}, None},
    {K::Option,    "Option52", {Right, resultAt(1), Column, 300}, RowNames[1]},
    {K::Label,     "Label62", {columnAt(0), resultAt(1) + 60, 1050, 240}, None},
    {K::Label,     "Label66", {columnAt(1), resultAt(1) + 60, 1050, 240}, None},
    {K::Label,     "Label72", {columnAt(2), resultAt(1) + 60, 1050, 240}, None},
    {K::Label,     "Label76", {columnAt(3), resultAt(1) + 60, 1050, 240}, None},
    {K::Label,     "Label82", {columnAt(4), resultAt(1) + 60, 1700, 240}, None},
    {K::Option,    "Option53", {Right, resultAt(2), Column, 300}, RowNames[2]},
    {K::Label,     "Label63", {columnAt(0), resultAt(2) + 60, 1050, 240}, None},
    {K::Label,     "Label67", {columnAt(1), resultAt(2) + 60, 1050, 240}, None},
    {K::Label,     "Label73", {columnAt(2), resultAt(2) + 60, 1050, 240}, None},
    {K::Label,     "Label77", {columnAt(3), resultAt(2) + 60, 1050, 240}, None},
    {K::Label,     "Label83", {columnAt(4), resultAt(2) + 60, 1700, 240}, None},
    {K::Option,    "Option54", {Right, resultAt(3), Column, 300}, RowNames[3]},
    {K::Label,     "Label64", {columnAt(0), resultAt(3) + 60, 1050, 240}, None},
    {K::Label,     "Label68", {columnAt(1), resultAt(3) + 60, 1050, 240}, None},
    {K::Label,     "Label74", {columnAt(2), resultAt(3) + 60, 1050, 240}, None},
    {K::Label,     "Label78", {columnAt(3), resultAt(3) + 60, 1050, 240}, None},
    {K::Label,     "Label84", {columnAt(4), resultAt(3) + 60, 1700, 240}, None},
    {K::Label,     "Label85", {Right, resultAt(4) + 120, 5000, 240}, None},
    {K::Diagram,   "planpic", {Right, 2520, 7410, 5490}, u"拼版方案图", {}, {},
     {Colour::Role::Window}, {Colour::Role::WindowText}, nullptr, Anchor::AllSides},
};

constexpr ControlName SheetTitled[] = {"Text51", "Text52"};
constexpr ControlName SheetPresetTitled[] = {"Combo51"};
constexpr ControlName ProductTitled[] = {"Text53", "Text54"};
constexpr ControlName ProductPresetTitled[] = {"Combo52"};
constexpr ControlName BleedTitled[] = {"Text55"};
constexpr ControlName GapTitled[] = {"Text56"};
constexpr ControlName GripperTitled[] = {"Text57"};
constexpr ControlName MarginTitled[] = {"Text58"};
constexpr ControlName MethodTitled[] = {"Combo53"};
constexpr ControlName LockTitled[] = {"Combo54"};
constexpr ControlName CopiesTitled[] = {"Text59"};
constexpr ControlName AllowanceTitled[] = {"Text60"};
constexpr ControlName GrammageTitled[] = {"Text61"};
constexpr ControlName UpsTitled[] = {"Label61", "Label62", "Label63", "Label64", "planpic"};
constexpr ControlName UsedTitled[] = {"Label65", "Label66", "Label67", "Label68"};
constexpr ControlName SheetsTitled[] = {"Label71", "Label72", "Label73", "Label74"};
constexpr ControlName ReamsTitled[] = {"Label75", "Label76", "Label77", "Label78"};
constexpr ControlName WeightTitled[] = {"Label81", "Label82", "Label83", "Label84"};
constexpr Title Titles[] = {
    {"Label53", SheetTitled},    {"Label56", SheetPresetTitled}, {"Label57", ProductTitled},
    {"Label60", ProductPresetTitled}, {"Label69", BleedTitled},  {"Label79", GapTitled},
    {"Label87", GripperTitled},  {"Label89", MarginTitled},      {"Label91", MethodTitled},
    {"Label92", LockTitled},     {"Label93", CopiesTitled},      {"Label95", AllowanceTitled},
    {"Label97", GrammageTitled}, {"Label36", UpsTitled},         {"Label37", UsedTitled},
    {"Label38", SheetsTitled},   {"Label39", ReamsTitled},       {"Label40", WeightTitled},
};

// Every event reads every input, the options and the diagram's size, in this order.
constexpr ControlName Reads[] = {
    "Text51", "Text52", "Text53", "Text54", "Text55", "Text56", "Text57", "Text58", "Text59",
    "Text60", "Text61", "Combo51", "Combo52", "Combo53", "Combo54",
    "Option51", "Option52", "Option53", "Option54", "planpic"};
constexpr std::size_t SheetPreset = 11, ProductPreset = 12, MethodList = 13, LockList = 14;
constexpr std::size_t FirstOption = 15, Diagram = 19;
// clang-format on

bool isBlank(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\u3000';
}

// A number as typed, in hundredths: digits with at most two decimals, blanks around it and
// full-width digits and point allowed; nothing beyond `maximum`. However long the text, one
// pass over it.
std::optional<std::int64_t> hundredths(std::u16string_view text, std::int64_t maximum)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    std::int64_t whole = 0;
    std::int64_t decimals = 0;
    int places = -1; // -1 before the point
    bool digits = false;
    for (char16_t c : text) {
        if (c >= u'\uFF10' && c <= u'\uFF19')
            c = char16_t(c - u'\uFF10' + u'0');
        else if (c == u'\uFF0E')
            c = u'.';
        if (c == u'.' && places < 0) {
            places = 0;
        } else if (c >= u'0' && c <= u'9' && places < 2) {
            digits = true;
            if (places < 0) {
                whole = std::min(whole * 10 + (c - u'0'), maximum + 1);
            } else {
                decimals = decimals * 10 + (c - u'0');
                ++places;
            }
        } else {
            return std::nullopt;
        }
    }
    const std::int64_t value = whole * Hundred + decimals * (places == 1 ? 10 : 1);
    if (!digits || value > maximum)
        return std::nullopt;
    return value;
}

// Hundredths as the program writes numbers: 1092, 3, 0.5.
std::u16string lengthText(std::int64_t value)
{
    return widen(formatNumber(double(value) / Hundred));
}

std::u16string decimal(std::int64_t tenths, std::u16string_view unit)
{
    return formatCount(tenths / 10) + u"." + formatCount(tenths % 10) + std::u16string(unit);
}

// What a planner shows for its inputs: refused at the first that is bad, with a message.
struct Figures
{
    planner::Input input;
    std::int64_t copies = 0;
    std::int64_t allowance = 0;
    std::int64_t grammage = 0;
};
std::variant<Figures, std::u16string> figuresOf(std::span<const Reading> readings)
{
    std::array<std::int64_t, Inputs.size()> values{};
    for (std::size_t i = 0; i < Inputs.size(); ++i) {
        const Input &in = Inputs[i];
        const auto value = hundredths(readings[i].text, in.maximum);
        if (!value || *value < in.minimum || (in.whole && *value % Hundred != 0))
            return u"请输入" + std::u16string(in.caption) + u"（" + lengthText(in.minimum) +
                   u" 至 " + lengthText(in.maximum) + std::u16string(in.unit) + u"）";
        values[i] = *value;
    }
    imposition::Method method{};
    imposition::methodFromText(readings[MethodList].text, method);
    // A list holds one of its items; the first stands for anything else.
    const auto lock =
        std::find(std::begin(LockItems), std::end(LockItems), readings[LockList].text);
    return Figures{{values[0], values[1], values[2], values[3], values[4], values[5], values[6],
                    values[7], method,
                    planner::Lock(lock == std::end(LockItems) ? 0 : lock - std::begin(LockItems))},
                   values[8] / Hundred,
                   values[9],
                   values[10]};
}

// The layout of `row` drawn to scale in a box `width` by `height` twips, the sheet centred
// and `margin` twips clear of the box's edges: the sheet's edge, the usable area's edge, each
// product's trimmed box.
Drawing drawingOf(const planner::Result &result, Row row, double width, double height,
                  double margin)
{
    Drawing drawing{"planpic", float(width), float(height), {}};
    const double scale = std::max(0.0, std::min((width - 2 * margin) / double(result.sheetLength),
                                                (height - 2 * margin) / double(result.sheetWidth)));
    const double left = (width - scale * double(result.sheetLength)) / 2;
    const double top = (height - scale * double(result.sheetWidth)) / 2;
    const auto at = [scale](Length length) { return scale * double(length); };
    drawing.blocks.push_back({1, 1, left, top, at(result.sheetLength), at(result.sheetWidth)});
    if (result.usableRight > result.usableLeft && result.usableBottom > result.usableTop &&
        (result.usableRight - result.usableLeft != result.sheetLength ||
         result.usableBottom - result.usableTop != result.sheetWidth))
        drawing.blocks.push_back({1, 1, left + at(result.usableLeft), top + at(result.usableTop),
                                  at(result.usableRight - result.usableLeft),
                                  at(result.usableBottom - result.usableTop)});
    for (const planner::Box &box : result.rows[std::size_t(row)].blocks) {
        const Length across = box.turned ? result.trimLength : result.trimWidth;
        const Length along = box.turned ? result.trimWidth : result.trimLength;
        const Length pitchAcross = box.turned ? result.pitchLength : result.pitchWidth;
        const Length pitchAlong = box.turned ? result.pitchWidth : result.pitchLength;
        drawing.blocks.push_back({box.rows, box.cols, left + at(box.x), top + at(box.y), at(along),
                                  at(across), at(pitchAlong - along), at(pitchAcross - across)});
    }
    return drawing;
}

// The chosen layout as a document: the sheet at the main panel's scale, and the job line.
Document documentOf(std::span<const Reading> readings, const Figures &figures,
                    const planner::Result &result, Row row,
                    const std::optional<planner::Paper> &paper)
{
    const double scale = std::min(double(imposition::EnvelopeWidth) / double(result.sheetLength),
                                  double(imposition::EnvelopeHeight) / double(result.sheetWidth));
    Document document;
    document.drawing = drawingOf(result, row, scale * double(result.sheetLength),
                                 scale * double(result.sheetWidth), 0);
    document.unitsPerTwip = 1 / (scale * Hundred);
    document.width = double(result.sheetLength) / Hundred;
    document.height = double(result.sheetWidth) / Hundred;
    const planner::Input &in = figures.input;
    const auto length = [](Length value) { return lengthText(value); };
    std::u16string line = u"开版尺寸 " + length(in.sheet1) + u" × " + length(in.sheet2) +
                          u"，产品尺寸 " + length(in.product1) + u" × " + length(in.product2) +
                          u"，出血 " + length(in.bleed);
    if (in.gap > 0)
        line += u"，间距 " + length(in.gap);
    line += u"，咬口 " + length(in.gripper);
    if (in.margin > 0)
        line += u"，边距 " + length(in.margin);
    const std::int64_t ups = result.rows[std::size_t(row)].ups;
    line += u"，" + readings[MethodList].text + u"，" + std::u16string(RowNames[int(row)]) +
            u"，开版数 " + formatCount(ups) + u"，利用率 " +
            decimal(planner::utilisationTenthsPercent(ups, result), u"%");
    if (paper) {
        line += u"，印数 " + formatCount(figures.copies);
        if (figures.allowance > 0)
            line += u"，加放 " + lengthText(figures.allowance) + u"%";
        line += u"，印张 " + formatCount(paper->sheets) + u"，令数 " +
                widen(formatNumber(double(paper->sheets) / 500)) + u"，纸重 " +
                decimal(paper->weightTenthsKg, u" kg");
    }
    document.jobLine = std::move(line);
    document.fileStem = u"拼版方案-" + length(in.sheet1) + u"x" + length(in.sheet2) + u"-" +
                        length(in.product1) + u"x" + length(in.product2);
    for (std::size_t i = 0; i < 4; ++i)
        document.inputs.push_back({Reads[i], readings[i].text});
    return document;
}

// The planner after an event: every row, the paper, the proof, and the layout of `chosenRow`
// drawn, where it can be chosen; otherwise of the row with the most ups, the earlier of
// equals. A bad input leaves every row blank and says why.
Outcome planned(std::span<const Reading> readings, int chosenRow = -1,
                std::vector<SetText> texts = {})
{
    const TwipsSize size = readings[Diagram].size;
    Update update{.drawing = Drawing{"planpic", float(size.width), float(size.height), {}},
                  .texts = std::move(texts),
                  .keepsDocument = false};
    const auto figures = figuresOf(readings);
    if (const auto *message = std::get_if<std::u16string>(&figures)) {
        for (std::size_t row = 0; row < 4; ++row) {
            update.options.push_back({Options[row], false, false});
            for (ControlName label : Results[row])
                update.captions.push_back({label, std::u16string(None)});
        }
        update.captions.push_back({"Label85", std::u16string(None)});
        update.captions.push_back({"Label86", *message});
        return update;
    }
    const Figures &f = std::get<Figures>(figures);
    const planner::Result result = planner::plan(f.input);
    if (chosenRow < 0 || result.rows[std::size_t(chosenRow)].ruledOut) {
        chosenRow = -1;
        for (std::size_t row = 0; row < 4; ++row)
            if (!result.rows[row].ruledOut &&
                (chosenRow < 0 || result.rows[row].ups > result.rows[std::size_t(chosenRow)].ups))
                chosenRow = int(row);
    }
    std::optional<planner::Paper> chosenPaper;
    for (std::size_t row = 0; row < 4; ++row) {
        const planner::Layout &layout = result.rows[row];
        update.options.push_back({Options[row], !layout.ruledOut, int(row) == chosenRow});
        const auto paper = planner::paper(layout.ups, result.sheetWidth, result.sheetLength,
                                          f.copies, f.allowance, f.grammage);
        if (int(row) == chosenRow)
            chosenPaper = paper;
        std::array<std::u16string, 5> shown;
        shown.fill(std::u16string(None));
        if (!layout.ruledOut) {
            shown[0] = formatCount(layout.ups);
            shown[1] = decimal(planner::utilisationTenthsPercent(layout.ups, result), u"%");
        }
        if (!layout.ruledOut && paper) {
            shown[2] = formatCount(paper->sheets);
            shown[3] = widen(formatNumber(double(paper->sheets) / 500));
            shown[4] = decimal(paper->weightTenthsKg, u" kg");
        }
        for (std::size_t column = 0; column < 5; ++column)
            update.captions.push_back({Results[row][column], shown[column]});
    }
    const std::u16string proof = result.proof == planner::Proof::Proven ? u"已证最优"
                                 : result.proof == planner::Proof::Bounded
                                     ? u"上限 " + formatCount(result.bound)
                                     : u"未证明";
    update.captions.push_back({"Label85", proof});
    update.captions.push_back({"Label86", u""});
    const Row row = Row(chosenRow);
    update.drawing = drawingOf(result, row, size.width, size.height, 120);
    update.document = documentOf(readings, f, result, row, chosenPaper);
    update.toolTips.push_back({"planpic", update.document->jobLine});
    return update;
}

// A size edited by hand is no preset's any more.
template <std::size_t List> Outcome sizeEdited(std::span<const Reading> readings)
{
    return planned(readings, -1, {{Reads[List], std::u16string(Custom)}});
}

// A preset picked: its sides into the two boxes before them.
template <std::size_t List, const auto &Presets>
Outcome presetPicked(std::span<const Reading> readings)
{
    const std::size_t first = List == SheetPreset ? 0 : 2;
    for (const Preset &preset : Presets) {
        if (preset.item != readings[List].text)
            continue;
        std::vector<Reading> filled(readings.begin(), readings.end());
        filled[first].text = preset.first;
        filled[first + 1].text = preset.second;
        return planned(filled, -1,
                       {{Reads[first], std::u16string(preset.first)},
                        {Reads[first + 1], std::u16string(preset.second)}});
    }
    return planned(readings);
}

Outcome changed(std::span<const Reading> readings)
{
    return planned(readings);
}

template <int Row> Outcome chosen(std::span<const Reading> readings)
{
    return planned(readings, Row);
}

// Drawn anew at its new size: the row chosen stays.
Outcome resized(std::span<const Reading> readings)
{
    int row = -1;
    for (std::size_t option = 0; option < 4; ++option)
        if (readings[FirstOption + option].value)
            row = int(option);
    return planned(readings, row);
}

// clang-format off
constexpr Event Events[] = {
    {"Text51",   Reads, sizeEdited<SheetPreset>},
    {"Text52",   Reads, sizeEdited<SheetPreset>},
    {"Text53",   Reads, sizeEdited<ProductPreset>},
    {"Text54",   Reads, sizeEdited<ProductPreset>},
    {"Combo51",  Reads, presetPicked<SheetPreset, Sheets>},
    {"Combo52",  Reads, presetPicked<ProductPreset, Products>},
    {"Text55",   Reads, changed}, {"Text56", Reads, changed}, {"Text57", Reads, changed},
    {"Text58",   Reads, changed}, {"Combo53", Reads, changed}, {"Combo54", Reads, changed},
    {"Text59",   Reads, changed}, {"Text60", Reads, changed}, {"Text61", Reads, changed},
    {"Option51", Reads, chosen<0>}, {"Option52", Reads, chosen<1>},
    {"Option53", Reads, chosen<2>}, {"Option54", Reads, chosen<3>},
    {"planpic",  Reads, resized},
};

constexpr Command Commands[] = {
    copyCommand("copyPlan", "planpic"),
    saveCommand("savePlan", "planpic"),
    printCommand("printPlan", "planpic"),
};
// clang-format on

constexpr PanelTable Panel{Controls, Titles, Events, Commands};
constexpr Tab Tabs[] = {{u"拼版方案", &Panel}};

} // namespace

const WindowDescription plannerWindow{
    .name = "planner",
    .caption = u"拼版方案",
    .clientWidth = 11550,
    .clientHeight = 8250,
    .tabStrip = {},
    .tabStripRect = {},
    .panelArray = "Frame2",
    .tabs = Tabs,
    .font = {u"宋体", 9},
    .language = "zh_CN",
};

} // namespace korvane
