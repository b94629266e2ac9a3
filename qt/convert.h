#pragma once

#include "common/panel.h"

#include <QColor>
#include <QFont>
#include <QPalette>
#include <QPixmap>
#include <QRect>
#include <QString>

namespace korvane {

// Qt lays out in device-independent pixels of 1/96 inch and scales them for the screen.
constexpr int LogicalDpi = 96;
constexpr int TwipsPerPixel = TwipsPerInch / LogicalDpi;

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

// A rectangle in twips as device-independent pixels.
inline QRect toQRect(const TwipsRect &r)
{
    return QRect(twipsToPixels(r.left, LogicalDpi), twipsToPixels(r.top, LogicalDpi),
                 twipsToPixels(r.width, LogicalDpi), twipsToPixels(r.height, LogicalDpi));
}

// One of the program's pictures by name ("icon-16", "product"), from its raw pixels.
QPixmap pictureOf(QStringView name);

// A typeface in the first of its candidate faces that is installed.
QFont toQFont(const Typeface &typeface);

// Qt's own dialogs (saving, printing) in `language`, where Qt's translations are installed.
void translateQtDialogs(std::string_view language);

// The colour of a role in a palette; fixed colours as they are, and an invalid colour for
// the default.
QColor colourOf(const Colour &colour, const QPalette &palette);

} // namespace korvane
