#include "common/controls.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

namespace korvane {
namespace {

constexpr const char *AutoSizeProperty = "korvaneAutoSize";

QWidget *createOne(QWidget *parent, const ControlSpec &row)
{
    QWidget *widget = nullptr;
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::AutoLabel: {
        auto *label = new QLabel(row.text, parent);
        label->setProperty(AutoSizeProperty, row.kind == ControlKind::AutoLabel);
        widget = label;
        break;
    }
    case ControlKind::TextBox:
        widget = new QLineEdit(row.text, parent);
        break;
    case ControlKind::DropDown: {
        auto *combo = new QComboBox(parent);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // No inline completion: typing "横排" must stay "横排", not become the longer item
        // "横排或竖排" that starts with it.
        combo->setCompleter(nullptr);
        combo->addItems(row.items);
        combo->setEditText(row.text);
        widget = combo;
        break;
    }
    case ControlKind::Button:
        widget = new QPushButton(row.text, parent);
        static_cast<QPushButton *>(widget)->setAutoDefault(false);
        break;
    case ControlKind::VScrollBar:
        widget = new QScrollBar(Qt::Vertical, parent);
        break;
    case ControlKind::PictureBox: {
        auto *frame = new QFrame(parent);
        frame->setFrameShape(QFrame::Box);
        frame->setAutoFillBackground(true);
        widget = frame;
        break;
    }
    }
    widget->setObjectName(QString::fromLatin1(row.name));
    widget->setGeometry(twipsRect(row.left, row.top, row.width, row.height));
    if (row.kind == ControlKind::AutoLabel)
        widget->adjustSize();
    return widget;
}

} // namespace

Controls createControls(QWidget *parent, std::initializer_list<ControlSpec> table)
{
    Controls controls;
    for (const ControlSpec &row : table)
        controls.add(createOne(parent, row));
    return controls;
}

void initPanel(QWidget *panel, int index)
{
    panel->setObjectName(QStringLiteral("Frame1"));
    panel->setProperty("index", index);
    // Panels lie stacked on one another; the one in front must cover the rest entirely.
    panel->setAutoFillBackground(true);
    if (auto *frame = qobject_cast<QFrame *>(panel))
        frame->setFrameShape(QFrame::StyledPanel);
}

void captionControls(const Controls &controls, const char *caption,
                     std::initializer_list<const char *> names)
{
    auto *label = controls.get<QLabel>(caption);
    const QString text = label->text().remove(QLatin1Char('&'));
    for (const char *name : names) {
        QWidget *control = controls.get<QWidget>(name);
        if (qobject_cast<QLabel *>(control))
            control->setAccessibleDescription(text);
        else
            control->setAccessibleName(text);
    }
    if (names.size() > 0)
        label->setBuddy(controls.get<QWidget>(*names.begin()));
}

void setCaption(QWidget *label, const QString &text)
{
    auto *asLabel = qobject_cast<QLabel *>(label);
    if (!asLabel)
        return;
    asLabel->setText(text);
    if (asLabel->property(AutoSizeProperty).toBool())
        asLabel->adjustSize();
}

} // namespace korvane
