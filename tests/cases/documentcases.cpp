#include "tests/cases/documentcases.h"

namespace korvane::test {
namespace {

std::vector<Entry> press(std::u16string arrangement, std::u16string method, std::u16string a,
                         std::u16string b, std::u16string c, std::u16string d)
{
    return {{"Combo2", std::move(arrangement)},
            {"Combo3", std::move(method)},
            {"Text4", std::move(a)},
            {"Text5", std::move(b)},
            {"Text6", std::move(c)},
            {"Text7", std::move(d)}};
}

} // namespace

const std::vector<DocumentCase> &documentCases()
{
    // clang-format off
    static const std::vector<DocumentCase> cases = {
        {"mixed worked example", press(u"横竖混排", u"大套版", u"1092", u"787", u"210", u"297"),
         u"开版尺寸 1092 × 787，产品尺寸 210 × 297，大套版，横竖混排，开版数 11，利用率 79.8%",
         u"拼版图-1092x787-210x297.png", 1092, 787, 19},
        {"four mixed blocks", press(u"横竖混排", u"大套版", u"787", u"1092", u"140", u"203"),
         u"开版尺寸 787 × 1092，产品尺寸 140 × 203，大套版，横竖混排，开版数 28，利用率 92.6%",
         u"拼版图-787x1092-140x203.png", 1092, 787, 33},
        {"work-and-tumble bands", press(u"横竖混排", u"大翻版", u"787", u"1092", u"90", u"307"),
         u"开版尺寸 787 × 1092，产品尺寸 90 × 307，大翻版，横竖混排，开版数 26，利用率 83.6%",
         u"拼版图-787x1092-90x307.png", 1092, 787, 25},
        {"whole sheet tiled", press(u"横排", u"大套版", u"1000", u"500", u"250", u"125"),
         u"开版尺寸 1000 × 500，产品尺寸 250 × 125，大套版，横排，开版数 16，利用率 100.0%",
         u"拼版图-1000x500-250x125.png", 1000, 500, 14},
        // 483 x 121 / (240 x 253) is 96.25 % exactly: the half goes up, as in the planner.
        {"a half rounded up", press(u"横排", u"大套版", u"240", u"253", u"11", u"11"),
         u"开版尺寸 240 × 253，产品尺寸 11 × 11，大套版，横排，开版数 483，利用率 96.3%",
         u"拼版图-240x253-11x11.png", 253, 240, 50},
    };
    // clang-format on
    return cases;
}

std::vector<Entry> refusedInputs()
{
    return press(u"横排", u"大套版", u"1092", u"", u"210", u"297");
}

std::vector<Entry> largestPlan()
{
    return press(u"横排", u"大套版", u"1", u"2147483647", u"1", u"1");
}

} // namespace korvane::test
