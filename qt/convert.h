#pragma once

#include "common/panel.h"

#include <QColor>
#include <QPalette>
#include <QString>

#include <string_view>

namespace korvane {

inline QString toQString(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString toQString(ControlName name)
{
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

// A text as the handlers read it: UTF-16 code units, whole.
inline std::u16string toU16(const QString &text)
{
    return {reinterpret_cast<const char16_t *>(text.utf16()),
            static_cast<std::size_t>(text.size())};
}

// The colour of a role in a palette; fixed colours as they are, and an invalid colour for
// the default.
QColor colourOf(const Colour &colour, const QPalette &palette);

} // namespace korvane
