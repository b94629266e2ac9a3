#include "calculators/spinepanel.h"

#include "calculators/spine.h"
#include "common/errorbox.h"
#include "common/numtext.h"

#include <QLineEdit>
#include <QPushButton>

namespace korvane {

using namespace calculators;

SpinePanel::SpinePanel(QWidget *parent) : QFrame(parent)
{
    using K = ControlKind;
    m_controls = createControls(
        this, {
                  {K::AutoLabel, "Label15", 960, 645, 360, 180, QStringLiteral("页数"), {}},
                  {K::TextBox, "Text2", 1680, 600, 2175, 270, QStringLiteral("100"), {}},
                  {K::AutoLabel, "Label16", 960, 1050, 360, 180, QStringLiteral("克数"), {}},
                  {K::TextBox, "Text3", 1680, 960, 2175, 270, QStringLiteral("60"), {}},
                  {K::Button, "Command2", 1800, 1560, 1455, 375, QStringLiteral("计算"), {}},
                  {K::AutoLabel, "Label17", 1200, 2280, 540, 180, QStringLiteral("厚度："), {}},
                  {K::Label, "Label18", 2040, 2280, 1215, 255, QStringLiteral("0"), {}},
                  {K::AutoLabel, "Label19", 3360, 2280, 180, 180, QStringLiteral("mm"), {}},
              });

    captionControls(m_controls, "Label15", {"Text2"});
    captionControls(m_controls, "Label16", {"Text3"});
    captionControls(m_controls, "Label17", {"Label18"});

    connect(m_controls.get<QPushButton>("Command2"), &QPushButton::clicked, this,
            &SpinePanel::calculate);
}

void SpinePanel::calculate()
{
    auto *pagesBox = m_controls.get<QLineEdit>("Text2");
    auto *grammageBox = m_controls.get<QLineEdit>("Text3");
    const auto outcome = spineThickness(textOf(pagesBox->text()), textOf(grammageBox->text()));
    if (const auto *refusal = std::get_if<SpineRefusal>(&outcome)) {
        // The grammage message is the grammage panel's, although this row reads "克数".
        if (*refusal == SpineRefusal::Pages)
            showError(pagesBox, QStringLiteral("请输入页数！"));
        else
            showError(grammageBox, QStringLiteral("请输入克重！"));
        return;
    }
    setCaption(m_controls.get<QWidget>("Label18"),
               QString::fromStdString(formatNumber(std::get<double>(outcome))));
}

} // namespace korvane
