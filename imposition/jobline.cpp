#include "imposition/jobline.h"

#include "common/numtext.h"

namespace korvane::imposition {

JobLine::JobLine(const SizeTexts &s)
    : m_text(std::u16string(SheetSizeWord) + u" " + s.sheet1 + u" × " + s.sheet2)
{
    add(ProductSizeWord, s.product1 + u" × " + s.product2);
}

JobLine &JobLine::add(std::u16string_view caption, std::u16string_view figure)
{
    m_text.append(u"，").append(caption).append(figure.empty() ? u"" : u" ").append(figure);
    return *this;
}

JobLine &JobLine::addUps(std::int64_t ups, std::int64_t utilisationTenths)
{
    return add(UpsWord, formatCount(ups))
        .add(UtilisationWord, formatFixed(utilisationTenths, 1) + u"%");
}

std::u16string fileStem(std::u16string_view prefix, const SizeTexts &s)
{
    return std::u16string(prefix) + u"-" + s.sheet1 + u"x" + s.sheet2 + u"-" + s.product1 + u"x" +
           s.product2;
}

} // namespace korvane::imposition
