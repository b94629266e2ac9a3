#include "qt/convert.h"

namespace korvane {

QColor colourOf(const Colour &colour, const QPalette &palette)
{
    switch (colour.role) {
    case Colour::Role::Window:
        return palette.color(QPalette::Base);
    case Colour::Role::WindowText:
        return palette.color(QPalette::Text);
    case Colour::Role::Highlight:
        return palette.color(QPalette::Highlight);
    case Colour::Role::ActiveBorder:
        // Qt has no active-border colour; the button face is its nearest role.
        return palette.color(QPalette::Button);
    case Colour::Role::Fixed:
        return QColor(colour.rgb.r, colour.rgb.g, colour.rgb.b);
    case Colour::Role::Default:
        break;
    }
    return {};
}

QFont toQFont(const FontSpec &face, FaceOrder order)
{
    QStringList families = {QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                            QStringLiteral("Source Han Sans SC")};
    if (order == FaceOrder::AsAsked)
        families.prepend(toQString(face.face));
    else
        families.append(toQString(face.face));
    QFont font;
    font.setFamilies(families);
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(face.points);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace korvane
