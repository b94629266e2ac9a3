#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The line that sums up a plan handed on, and the name its file is offered under: written
// once for the panel's diagram and the planner's, so that both say the same in the same way.

namespace korvane::imposition {

// The words a plan is told in, alike on the panels that show it and in its job line.
inline constexpr std::u16string_view SheetSizeWord = u"开版尺寸", ProductSizeWord = u"产品尺寸",
                                     UpsWord = u"开版数", UtilisationWord = u"利用率",
                                     MethodWord = u"拼版方式";

// The four sizes as the job line writes them, in box order: the sheet's sides, the product's.
struct SizeTexts
{
    std::u16string sheet1, sheet2, product1, product2;
};

// "开版尺寸 1092 × 787，产品尺寸 210 × 297", then each part after a comma: a figure after its
// caption ("出血 3"), or a word alone ("大套版") when the figure is empty.
class JobLine
{
public:
    explicit JobLine(const SizeTexts &sizes);
    JobLine &add(std::u16string_view caption, std::u16string_view figure = {});
    // "开版数 11" and "利用率 79.8%".
    JobLine &addUps(std::int64_t ups, std::int64_t utilisationTenths);
    const std::u16string &text() const { return m_text; }

private:
    std::u16string m_text;
};

// "拼版图-1092x787-210x297" for the prefix "拼版图".
std::u16string fileStem(std::u16string_view prefix, const SizeTexts &sizes);

} // namespace korvane::imposition
