#pragma once

#include "common/panel.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QRect>
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

// A rectangle in twips as pixels at 96 dots per inch; Qt scales them for the screen.
inline QRect toQRect(const TwipsRect &r)
{
    return QRect(twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width),
                 twipsToPixels(r.height));
}

enum class FaceOrder
{
    AsAsked,        // the face asked for, then the installed CJK sans-serifs
    InstalledFirst, // the installed CJK sans-serifs first: looking up absent faces costs time
};

// A face of the Chinese character set at its size, with the CJK sans-serifs installed on
// Linux desktops to stand in for it.
QFont toQFont(const FontSpec &face, FaceOrder order);

// The colour of a role in a palette; fixed colours as they are, and an invalid colour for
// the default.
QColor colourOf(const Colour &colour, const QPalette &palette);

} // namespace korvane
