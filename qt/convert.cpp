#include "qt/convert.h"

#include "common/typeface.h"

#include <QCoreApplication>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QResource>
#include <QTranslator>

namespace korvane {

QColor colourOf(const Colour &colour, const QPalette &palette)
{
    // In the order of Colour::Role. Qt has no active-border colour; the button face is its
    // nearest role.
    constexpr QPalette::ColorRole Roles[] = {QPalette::NoRole, QPalette::Base, QPalette::Text,
                                             QPalette::Highlight, QPalette::Button};
    if (colour.role == Colour::Role::Fixed)
        return QColor(colour.rgb.r, colour.rgb.g, colour.rgb.b);
    if (colour.role == Colour::Role::Default)
        return {};
    return palette.color(Roles[int(colour.role)]);
}

QPixmap pictureOf(QStringView name)
{
    const QResource raw(QStringLiteral(":/korvane/%1.raw").arg(name));
    const uchar *data = raw.data();
    if (!data || raw.size() < 8)
        return {};
    const auto side = [data](int at) {
        return int(data[at] | data[at + 1] << 8 | data[at + 2] << 16 | data[at + 3] << 24);
    };
    return QPixmap::fromImage(
        QImage(data + 8, side(0), side(4), side(0) * 4, QImage::Format_ARGB32_Premultiplied));
}

QFont toQFont(const Typeface &typeface)
{
    // The families as installed, read once: asking after each candidate by name would have
    // fontconfig resolve every missing one at start-up.
    static const QStringList installed = QFontDatabase::families();
    const std::u16string_view face = chooseFace(typeface.face, [](std::u16string_view candidate) {
        return installed.contains(toQString(candidate));
    });
    QFont font;
    font.setFamilies({toQString(face)});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(typeface.points);
    font.setWeight(QFont::Normal);
    return font;
}

void translateQtDialogs(std::string_view language)
{
    auto *texts = new QTranslator(QCoreApplication::instance());
    if (texts->load(QStringLiteral("qtbase_") + QString::fromLatin1(language),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(texts);
}

} // namespace korvane
