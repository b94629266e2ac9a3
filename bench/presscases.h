#pragma once

// The worst accepted inputs of each kind for one press of "查看拼版图", timed on every front
// end: parsing, the computation and drawing the diagram.

#include <array>

namespace korvane::bench {

struct PressInput
{
    const char *name;
    const char16_t *arrangement;
    const char16_t *method;
    std::array<const char16_t *, 4> sizes;
};

// clang-format off
inline constexpr PressInput PressInputs[] = {
    {"sheetwise mixed, 46340 square, 1 x 1", u"横竖混排", u"大套版", {u"46340", u"46340", u"1", u"1"}},
    {"sheetwise mixed, 99999 cuts", u"横竖混排", u"大套版", {u"2000", u"99999", u"1", u"1.9"}},
    // Most cuts times the largest hulls that still fit 32 bits.
    {"sheetwise mixed, 99999 cuts x 21474 rows", u"横竖混排", u"大套版", {u"21474", u"99999", u"1", u"1"}},
    {"tumble mixed, 99999 cuts", u"横竖混排", u"大翻版", {u"2", u"99999", u"1", u"1"}},
    {"turn mixed, a billion rows", u"横竖混排", u"自翻版", {u"2.1e9", u"2.1e9", u"2", u"1.05e9"}},
    {"horizontal, 2e9 columns", u"横排", u"大套版", {u"1", u"2147483647", u"1", u"1"}},
    {"either, 46340 square", u"横排或竖排", u"大套版", {u"46340", u"46340", u"1", u"1"}},
    {"everyday mixed, 1092 x 787 / 210 x 297", u"横竖混排", u"大套版", {u"1092", u"787", u"210", u"297"}},
};
// clang-format on

} // namespace korvane::bench
