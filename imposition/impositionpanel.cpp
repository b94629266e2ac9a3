#include "imposition/impositionpanel.h"

#include "common/errorbox.h"
#include "common/numtext.h"
#include "imposition/diagramview.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <array>

namespace korvane {

using namespace imposition;

namespace {

const QString SheetMessage = QStringLiteral("请输入开版尺寸！");
const QString ProductMessage = QStringLiteral("请输入产品尺寸！");
const QString SearchMessage = QStringLiteral("产品尺寸相对开版尺寸过小，无法计算横竖混排！");

} // namespace

ImpositionPanel::ImpositionPanel(QWidget *parent) : QFrame(parent)
{
    using K = ControlKind;
    m_controls = createControls(
        this, {
                  {K::AutoLabel, "Label24", 240, 300, 720, 180, QStringLiteral("开版方式"), {}},
                  {K::DropDown,
                   "Combo2",
                   1080,
                   240,
                   1335,
                   300,
                   QStringLiteral("横排或竖排"),
                   {QStringLiteral("横排或竖排"), QStringLiteral("横排"), QStringLiteral("竖排"),
                    QStringLiteral("横竖混排")}},
                  {K::Label, "Label25", 2640, 270, 735, 255, QStringLiteral("拼版方式"), {}},
                  {K::DropDown,
                   "Combo3",
                   3480,
                   240,
                   1095,
                   300,
                   QStringLiteral("大套版"),
                   {QStringLiteral("大套版"), QStringLiteral("自翻版"), QStringLiteral("大翻版")}},
                  {K::AutoLabel, "Label27", 240, 720, 720, 180, QStringLiteral("开版尺寸"), {}},
                  {K::TextBox, "Text4", 240, 960, 495, 270, {}, {}},
                  {K::AutoLabel, "Label28", 802, 1005, 90, 180, QStringLiteral("X"), {}},
                  {K::TextBox, "Text5", 960, 960, 495, 270, {}, {}},
                  {K::AutoLabel, "Label26", 240, 1320, 720, 180, QStringLiteral("产品尺寸"), {}},
                  {K::TextBox, "Text6", 240, 1560, 495, 270, {}, {}},
                  {K::AutoLabel, "Label29", 802, 1605, 90, 180, QStringLiteral("X"), {}},
                  {K::TextBox, "Text7", 960, 1560, 495, 270, {}, {}},
                  {K::Button, "Command6", 240, 2040, 1215, 375, QStringLiteral("查看拼版图"), {}},
                  {K::AutoLabel, "Label30", 240, 2520, 540, 180, QStringLiteral("开版数"), {}},
                  {K::AutoLabel, "Label31", 240, 2760, 90, 180, QStringLiteral("0"), {}},
              });

    m_drawpic = new DiagramView(this);
    m_drawpic->setObjectName(QStringLiteral("drawpic"));
    m_drawpic->setGeometry(twipsRect(1560, 720, 3135, 2415));
    m_drawpic->resizeDiagram(3135, 2415);
    m_drawpic->setAccessibleName(QStringLiteral("拼版图"));
    m_controls.add(m_drawpic);

    captionControls(m_controls, "Label24", {"Combo2"});
    captionControls(m_controls, "Label25", {"Combo3"});
    captionControls(m_controls, "Label27", {"Text4", "Text5"});
    captionControls(m_controls, "Label26", {"Text6", "Text7"});
    captionControls(m_controls, "Label30", {"Label31", "drawpic"});

    connect(m_controls.get<QPushButton>("Command6"), &QPushButton::clicked, this,
            &ImpositionPanel::view);
}

void ImpositionPanel::view()
{
    auto *arrangementBox = m_controls.get<QComboBox>("Combo2");
    auto *methodBox = m_controls.get<QComboBox>("Combo3");
    Arrangement arrangement{};
    Method method{};
    if (!arrangementFromText(textOf(arrangementBox->currentText()), arrangement)) {
        showError(arrangementBox, QStringLiteral("请选择开版方式！"));
        return;
    }
    if (!methodFromText(textOf(methodBox->currentText()), method)) {
        showError(methodBox, QStringLiteral("请选择拼版方式！"));
        return;
    }

    const std::array<QLineEdit *, 4> boxes = {
        m_controls.get<QLineEdit>("Text4"), m_controls.get<QLineEdit>("Text5"),
        m_controls.get<QLineEdit>("Text6"), m_controls.get<QLineEdit>("Text7")};
    std::array<double, 4> values{};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const auto value = parseNumber(textOf(boxes[i]->text()));
        if (!value) {
            showError(boxes[i], i < 2 ? SheetMessage : ProductMessage);
            return;
        }
        values[i] = *value;
    }

    const Outcome outcome =
        impose({values[0], values[1], values[2], values[3]}, method, arrangement);
    if (const auto *refusal = std::get_if<Refusal>(&outcome)) {
        const auto box = static_cast<std::size_t>(refusal->box);
        const bool sheet = refusal->box == SizeBox::Sheet1 || refusal->box == SizeBox::Sheet2;
        const QString message = refusal->problem == Problem::SearchTooLarge ? SearchMessage
                                : sheet                                     ? SheetMessage
                                                                            : ProductMessage;
        showError(boxes[box], message);
        return;
    }

    const Plan &plan = std::get<Plan>(outcome);
    m_geometry = plan.geometry;
    m_drawpic->resizeDiagram(m_geometry.wida, m_geometry.lena);
    for (const Block &block : plan.blocks)
        draw(block);
    setCaption(m_controls.get<QWidget>("Label31"), QString::number(plan.ups));
}

void ImpositionPanel::draw(const Block &block)
{
    m_drawpic->drawBlock(block, m_geometry.plen, m_geometry.pwid);
}

} // namespace korvane
