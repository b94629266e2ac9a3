#include "qt/panelwidget.h"

#include "qt/convert.h"
#include "qt/diagramview.h"
#include "qt/errorbox.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <limits>

namespace korvane {
namespace {

constexpr const char *AutoSizeProperty = "korvaneAutoSize";

void setBackground(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void applyColours(QWidget *widget, const ControlSpec &row)
{
    if (row.foreground.role != Colour::Role::Default) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::WindowText, colourOf(row.foreground, palette));
        widget->setPalette(palette);
    }
    if (row.background.role != Colour::Role::Default)
        setBackground(widget, colourOf(row.background, widget->palette()));
}

// Text boxes keep every character typed or pasted: a number is never read from a cut text.
void keepWholeText(QLineEdit *edit)
{
    edit->setMaxLength(std::numeric_limits<int>::max());
}

void setCaption(QLabel *label, const QString &text)
{
    label->setText(text);
    if (label->property(AutoSizeProperty).toBool())
        label->adjustSize();
}

} // namespace

PanelWidget::PanelWidget(const PanelSpec &table, ControlName arrayName, int index, QWidget *parent)
    : QFrame(parent), m_table(table)
{
    setObjectName(toQString(arrayName));
    setProperty("index", index);
    setFrameShape(QFrame::StyledPanel);
    // Panels lie stacked on one another; the one in front must cover the rest entirely.
    setAutoFillBackground(true);

    for (const ControlSpec &row : table.controls) {
        QWidget *widget = create(row);
        widget->setObjectName(toQString(row.name));
        widget->setGeometry(toQRect(row.rect));
        if (row.font)
            widget->setFont(toQFont(*row.font, FaceOrder::AsAsked));
        // The diagram paints its own paper and ink.
        if (row.kind != ControlKind::Diagram)
            applyColours(widget, row);
        if (row.kind == ControlKind::AutoLabel)
            widget->adjustSize();
        m_controls.insert(widget->objectName(), widget);
    }
    nameByCaptions();
    for (const EventSpec &event : table.events)
        connectEvent(event);
}

QWidget *PanelWidget::create(const ControlSpec &row)
{
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::AutoLabel: {
        auto *label = new QLabel(toQString(row.text), this);
        label->setProperty(AutoSizeProperty, row.kind == ControlKind::AutoLabel);
        return label;
    }
    case ControlKind::TextBox: {
        auto *edit = new QLineEdit(toQString(row.text), this);
        keepWholeText(edit);
        return edit;
    }
    case ControlKind::DropDown: {
        auto *combo = new QComboBox(this);
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        // No inline completion: typing "横排" must stay "横排", not become the longer item
        // "横排或竖排" that starts with it.
        combo->setCompleter(nullptr);
        keepWholeText(combo->lineEdit());
        for (std::u16string_view item : row.items)
            combo->addItem(toQString(item));
        combo->setEditText(toQString(row.text));
        return combo;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(toQString(row.text), this);
        // Enter in a text box presses nothing.
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::VScrollBar: {
        auto *bar = new QScrollBar(Qt::Vertical, this);
        bar->setRange(row.scroll.minimum, row.scroll.maximum);
        bar->setSingleStep(row.scroll.smallStep);
        bar->setPageStep(row.scroll.largeStep);
        // The value changes when a dragged thumb is released, not while it moves.
        bar->setTracking(false);
        // A tab stop, stepped by the arrow and page keys while it has the focus.
        bar->setFocusPolicy(Qt::StrongFocus);
        return bar;
    }
    case ControlKind::PictureBox: {
        auto *frame = new QFrame(this);
        frame->setFrameShape(QFrame::Box);
        frame->setAccessibleName(toQString(row.text));
        return frame;
    }
    case ControlKind::Diagram: {
        auto *view = new DiagramView(row.background, row.foreground, this);
        view->setAccessibleName(toQString(row.text));
        view->draw({row.name, float(row.rect.width), float(row.rect.height), {}});
        return view;
    }
    case ControlKind::Image: {
        auto *image = new QLabel(this);
        image->setPixmap(QPixmap(QStringLiteral(":/korvane/%1.png").arg(toQString(row.text))));
        image->setScaledContents(true);
        return image;
    }
    }
    Q_UNREACHABLE();
}

QWidget *PanelWidget::lookup(ControlName name) const
{
    QWidget *widget = m_controls.value(toQString(name));
    if (!widget)
        qFatal("panel %d has no control %s", property("index").toInt(),
               qPrintable(toQString(name)));
    return widget;
}

void PanelWidget::wrongKind(ControlName name, const char *className) const
{
    qFatal("panel %d: %s is no %s", property("index").toInt(), qPrintable(toQString(name)),
           className);
}

void PanelWidget::nameByCaptions()
{
    for (const CaptionSpec &caption : m_table.captions) {
        auto *label = control<QLabel>(caption.caption);
        const QString text = label->text().remove(QLatin1Char('&'));
        for (ControlName name : caption.controls) {
            QWidget *named = control(name);
            // A result label keeps its value as its name; the caption describes it.
            if (qobject_cast<QLabel *>(named))
                named->setAccessibleDescription(text);
            else
                named->setAccessibleName(text);
        }
        if (!caption.controls.empty())
            label->setBuddy(control(caption.controls.front()));
    }
}

void PanelWidget::connectEvent(const EventSpec &event)
{
    QWidget *source = control(event.source);
    if (auto *button = qobject_cast<QPushButton *>(source))
        connect(button, &QPushButton::clicked, this, [this, &event] { run(event); });
    else
        connect(control<QScrollBar>(event.source), &QScrollBar::valueChanged, this,
                [this, &event] { run(event); });
}

void PanelWidget::run(const EventSpec &event)
{
    std::vector<Reading> readings;
    readings.reserve(event.reads.size());
    for (ControlName name : event.reads) {
        QWidget *widget = control(name);
        if (auto *edit = qobject_cast<QLineEdit *>(widget))
            readings.push_back({toU16(edit->text())});
        else if (auto *combo = qobject_cast<QComboBox *>(widget))
            readings.push_back({toU16(combo->currentText())});
        else
            readings.push_back({{}, control<QScrollBar>(name)->value()});
    }
    apply(event.handle(readings));
}

void PanelWidget::apply(const Outcome &outcome)
{
    if (const auto *refusal = std::get_if<Refusal>(&outcome)) {
        showRefusal(control(refusal->focus), refusal->message);
        return;
    }
    const Update &update = std::get<Update>(outcome);
    if (update.drawing)
        control<DiagramView>(update.drawing->control)->draw(*update.drawing);
    for (const SetCaption &caption : update.captions)
        setCaption(control<QLabel>(caption.control), toQString(caption.text));
    for (const SetBackground &background : update.backgrounds) {
        const Rgb &c = background.colour;
        setBackground(control(background.control), QColor(c.r, c.g, c.b));
    }
}

} // namespace korvane
