#include "calculators/grammagepanel.h"

#include "calculators/grammage.h"
#include "common/errorbox.h"
#include "common/numtext.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace korvane {

using namespace calculators;

GrammagePanel::GrammagePanel(QWidget *parent) : QFrame(parent)
{
    QStringList formats;
    for (const SheetFormat &format : SheetFormats)
        formats.append(
            QString::fromUtf16(format.text.data(), static_cast<qsizetype>(format.text.size())));

    using K = ControlKind;
    m_controls = createControls(
        this, {
                  {K::AutoLabel, "Label6", 960, 645, 360, 180, QStringLiteral("克重"), {}},
                  {K::TextBox, "Text1", 1680, 600, 2295, 270, QStringLiteral("60"), {}},
                  {K::AutoLabel, "Label5", 960, 1020, 360, 180, QStringLiteral("开度"), {}},
                  {K::DropDown, "Combo1", 1680, 960, 2295, 300, formats.first(), formats},
                  {K::Button, "Command1", 1800, 1560, 1455, 375, QStringLiteral("换算(&C)"), {}},
                  {K::AutoLabel, "Label7", 1200, 2160, 450, 180, QStringLiteral("Kg/令"), {}},
                  {K::Label, "Label9", 1800, 2160, 1815, 255, QStringLiteral("0"), {}},
                  {K::AutoLabel, "Label8", 1200, 2520, 450, 180, QStringLiteral("令/吨"), {}},
                  {K::Label, "Label10", 1800, 2520, 1815, 255, QStringLiteral("0"), {}},
              });

    captionControls(m_controls, "Label6", {"Text1"});
    captionControls(m_controls, "Label5", {"Combo1"});
    captionControls(m_controls, "Label7", {"Label9"});
    captionControls(m_controls, "Label8", {"Label10"});

    connect(m_controls.get<QPushButton>("Command1"), &QPushButton::clicked, this,
            &GrammagePanel::convert);
}

void GrammagePanel::convert()
{
    auto *grammageBox = m_controls.get<QLineEdit>("Text1");
    auto *formatBox = m_controls.get<QComboBox>("Combo1");
    const auto outcome =
        convertGrammage(textOf(grammageBox->text()), textOf(formatBox->currentText()));
    if (const auto *refusal = std::get_if<GrammageRefusal>(&outcome)) {
        if (*refusal == GrammageRefusal::Grammage)
            showError(grammageBox, QStringLiteral("请输入克重！"));
        else
            showError(formatBox, QStringLiteral("请选择纸张规格！"));
        return;
    }
    const ReamFigures &figures = std::get<ReamFigures>(outcome);
    setCaption(m_controls.get<QWidget>("Label9"),
               QString::fromStdString(formatNumber(figures.weightPerReam)));
    setCaption(m_controls.get<QWidget>("Label10"),
               QString::fromStdString(formatNumber(figures.reamsPerTonne)));
}

} // namespace korvane
