#include "common/typeface.h"

#include <array>
#include <utility>

namespace korvane {
namespace {

// clang-format off
constexpr std::array<std::pair<std::u16string_view, std::u16string_view>, 2> OtherNames = {{
    {u"宋体", u"SimSun"},
    {u"黑体", u"SimHei"},
}};
constexpr std::u16string_view StandIns[] = {
    u"Microsoft YaHei",
    u"Noto Sans CJK SC",
    u"WenQuanYi Zen Hei",
    u"Source Han Sans SC",
};
// clang-format on

} // namespace

std::vector<std::u16string_view> faceCandidates(std::u16string_view face)
{
    std::vector<std::u16string_view> candidates = {face};
    for (const auto &[name, other] : OtherNames)
        if (name == face)
            candidates.push_back(other);
    for (std::u16string_view standIn : StandIns)
        if (standIn != face)
            candidates.push_back(standIn);
    return candidates;
}

} // namespace korvane
