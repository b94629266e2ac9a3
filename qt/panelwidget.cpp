#include "qt/panelwidget.h"

#include "common/rules.h"
#include "qt/convert.h"
#include "qt/diagramview.h"
#include "qt/errorbox.h"

#include <QComboBox>
#include <QKeySequence>
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

// A label's own colours; the diagram paints its paper and ink itself, and a picture box
// takes its colour from the panel's initial outcome.
void applyColours(QWidget *widget, const ControlRow &row)
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

PanelWidget::PanelWidget(const PanelTable &table, ControlName arrayName, int index, QWidget *parent)
    : QFrame(parent), m_table(table)
{
    setObjectName(toQString(arrayName));
    setProperty("index", index);
    setFrameShape(QFrame::StyledPanel);
    // Panels lie stacked on one another; the one in front must cover the rest entirely.
    setAutoFillBackground(true);

    for (const ControlRow &row : table.controls) {
        QWidget *widget = create(row);
        widget->setObjectName(toQString(row.name));
        widget->setGeometry(toQRect(row.rect));
        widget->setFocusPolicy(takesFocus(row.kind) ? Qt::StrongFocus : Qt::NoFocus);
        if (row.font)
            widget->setFont(toQFont(*row.font));
        if (row.kind == ControlKind::Label || row.kind == ControlKind::AutoLabel)
            applyColours(widget, row);
        if (row.kind == ControlKind::AutoLabel)
            widget->adjustSize();
        m_controls.insert(widget->objectName(), widget);
        m_rows.insert(widget, &row);
    }
    nameForScreenReaders();
    apply(initialUpdate(table));
    for (const Event &event : table.events)
        connectEvent(event);
}

QWidget *PanelWidget::create(const ControlRow &row)
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
        // No inline completion: a typed text that begins a longer item stays as typed, and
        // is compared with the items as it stands.
        combo->setCompleter(nullptr);
        keepWholeText(combo->lineEdit());
        for (std::u16string_view item : row.items)
            combo->addItem(toQString(item));
        combo->setEditText(toQString(row.text));
        return combo;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(toQString(row.text), this);
        // The window presses the button of an access key itself, at once, whichever panel is
        // in front; the button keeps the underlined letter but not Qt's own shortcut.
        button->setShortcut(QKeySequence());
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
        return bar;
    }
    case ControlKind::PictureBox: {
        auto *frame = new QFrame(this);
        frame->setFrameShape(QFrame::Box);
        return frame;
    }
    case ControlKind::Diagram:
        return new DiagramView(row.background, row.foreground, this);
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

const ControlRow *PanelWidget::rowOf(const QWidget *widget) const
{
    for (; widget && widget != this; widget = widget->parentWidget())
        if (const ControlRow *row = m_rows.value(widget))
            return row;
    return nullptr;
}

void PanelWidget::nameForScreenReaders()
{
    for (const ControlRow &row : m_table.controls) {
        const Accessible spoken = accessibleOf(m_table, row);
        QWidget *widget = control(row.name);
        if (!spoken.namedByText)
            widget->setAccessibleName(toQString(spoken.name));
        widget->setAccessibleDescription(toQString(spoken.description));
    }
    // A title is the label the controls under it are "labelled by" on the accessibility bus.
    for (const Title &title : m_table.titles) {
        auto *label = control<QLabel>(title.label);
        if (title.controls.empty())
            continue;
        label->setBuddy(control(title.controls.front()));
        // With a buddy Qt would read an '&' as a mnemonic; a label shows it as written.
        label->setText(label->text().replace(QLatin1Char('&'), QStringLiteral("&&")));
    }
}

void PanelWidget::connectEvent(const Event &event)
{
    QWidget *source = control(event.source);
    if (auto *button = qobject_cast<QPushButton *>(source))
        connect(button, &QPushButton::clicked, this, [this, &event] { run(event); });
    else
        connect(control<QScrollBar>(event.source), &QScrollBar::valueChanged, this,
                [this, &event] { run(event); });
}

void PanelWidget::press(ControlName button)
{
    control<QPushButton>(button)->click();
}

void PanelWidget::run(const Event &event)
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
        QWidget *box = control(background.control);
        setBackground(box, colourOf(background.colour, box->palette()));
    }
    for (const SetToolTip &tip : update.toolTips)
        control(tip.control)->setToolTip(toQString(tip.text));
    if (update.document) {
        m_document = update.document;
        emit documentChanged();
    }
}

} // namespace korvane
