#include "app/aboutpanel.h"

#include "common/controls.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPixmap>

namespace korvane {
namespace {

// "黑体" where it is installed; otherwise a CJK sans-serif of the same size.
QFont titleFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("黑体"), QStringLiteral("SimHei"),
                      QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Source Han Sans SC")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(15);
    font.setWeight(QFont::Normal);
    return font;
}

} // namespace

AboutPanel::AboutPanel(QWidget *parent) : QFrame(parent)
{
    using K = ControlKind;
    const Controls controls =
        createControls(this, {
                                 {K::Label, "Image1", 240, 360, 1200, 1185, {}, {}},
                                 {K::AutoLabel, "Label49", 1680, 360, 1500, 300,
                                  QStringLiteral("Korvane"), {}},
                                 {K::AutoLabel, "Label52", 1680, 1200, 900, 180,
                                  QStringLiteral("版本 V1.01"), {}},
                             });

    auto *image = controls.get<QLabel>("Image1");
    image->setPixmap(QPixmap(QStringLiteral(":/korvane/product.png")));
    image->setScaledContents(true);

    auto *title = controls.get<QLabel>("Label49");
    title->setFont(titleFont());
    QPalette colours = title->palette();
    colours.setColor(QPalette::WindowText, colours.color(QPalette::Highlight));
    // The active-border colour of the scheme; Qt's nearest role is the button face.
    colours.setColor(QPalette::Window, colours.color(QPalette::Button));
    title->setPalette(colours);
    title->setAutoFillBackground(true);
    setCaption(title, title->text());
}

} // namespace korvane
