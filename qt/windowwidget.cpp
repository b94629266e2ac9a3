#include "qt/windowwidget.h"

#include "qt/diagramview.h"
#include "qt/tabstrip.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include <limits>

namespace korvane {
namespace {

// Qt's letter keys are their upper-case ASCII codes; Shift+Tab comes as Backtab.
KeyPress keyOf(const QKeyEvent &event)
{
    const int code = event.key();
    const bool tab = code == Qt::Key_Tab || code == Qt::Key_Backtab;
    const bool letter = code >= Qt::Key_A && code <= Qt::Key_Z;
    const Qt::KeyboardModifiers held = event.modifiers();
    return {tab      ? KeyPress::Key::Tab
            : letter ? KeyPress::Key::Letter
                     : KeyPress::Key::Other,
            letter ? char16_t(code) : u'\0',
            held.testFlag(Qt::ShiftModifier) || code == Qt::Key_Backtab,
            held.testFlag(Qt::ControlModifier), held.testFlag(Qt::AltModifier)};
}

void setWindowColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

WindowWidget::WindowWidget(const WindowDescription &description, QWidget *parent)
    : QWidget(parent, parent ? Qt::Window : Qt::WindowFlags()), m_description(description),
      m_documentIo(this, description), m_driver(description, *this, m_documentIo)
{
    setObjectName(toQString(description.name));
    setWindowTitle(toQString(description.caption));
    // Pictures rather than files: a file would have Qt look for icon engines among its
    // plugins at start-up.
    QIcon icon;
    icon.addPixmap(pictureOf(u"icon-16"));
    icon.addPixmap(pictureOf(u"icon-32"));
    setWindowIcon(icon);
    resize(twipsToPixels(description.clientWidth, LogicalDpi),
           twipsToPixels(description.clientHeight, LogicalDpi));
    setFont(toQFont(description.font));

    // The panels lie on the tab strip's client rectangle, or fill the window.
    QRect client = rect();
    if (description.tabbed()) {
        m_tabStrip = new TabStrip(this);
        m_tabStrip->setObjectName(toQString(description.tabStrip));
        for (const Tab &tab : description.tabs)
            m_tabStrip->addTab(toQString(tab.caption));
        m_tabStrip->setGeometry(toQRect(description.tabStripRect));
        client = m_tabStrip->clientRect();
        connect(m_tabStrip, &QTabBar::currentChanged, this,
                [this](int index) { m_driver.tabSelected(index); });
    }
    for (std::size_t i = 0; i < description.tabs.size(); ++i) {
        auto *panel = new QFrame(this);
        panel->setObjectName(toQString(description.panelArray));
        panel->setProperty("index", int(i));
        panel->setFrameShape(description.tabbed() ? QFrame::StyledPanel : QFrame::NoFrame);
        // Panels lie stacked on one another; the one in front must cover the rest entirely.
        panel->setAutoFillBackground(true);
        panel->setGeometry(client);
        m_panels.push_back(panel);
    }
    m_driver.start();
    // Keys reach the driver before the control with the focus sees them.
    qApp->installEventFilter(this);
}

bool WindowWidget::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType() ||
        static_cast<QWidget *>(watched)->window() != this)
        return false;
    return m_driver.keyPressed(keyOf(*static_cast<QKeyEvent *>(event)));
}

void WindowWidget::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (m_description.tabbed())
        return;
    m_panels.front()->setGeometry(rect());
    m_driver.resized({width() * TwipsPerPixel, height() * TwipsPerPixel});
}

void WindowWidget::create(int panel, const ControlRow &row, const TwipsRect &rect,
                          const Accessible &spoken)
{
    QWidget *widget = make(panel, row);
    widget->setObjectName(toQString(row.name));
    widget->setGeometry(toQRect(rect));
    widget->setFocusPolicy(behaviourOf(row.kind).takesFocus ? Qt::StrongFocus : Qt::NoFocus);
    if (row.font)
        widget->setFont(toQFont(*row.font));
    QPalette palette = widget->palette();
    if (row.kind == ControlKind::Label || row.kind == ControlKind::AutoLabel) {
        // A label's own colours; a picture box takes its colour from the panel's first state.
        if (row.foreground.role != Colour::Role::Default)
            palette.setColor(QPalette::WindowText, colourOf(row.foreground, palette));
        widget->setPalette(palette);
        if (row.background.role != Colour::Role::Default)
            setWindowColour(widget, colourOf(row.background, palette));
    }
    if (!spoken.namedByText)
        widget->setAccessibleName(toQString(spoken.name));
    widget->setAccessibleDescription(toQString(spoken.description));
    m_controls.insert(widget->objectName(), widget);
    m_refs.insert(widget, {panel, row.name});
}

void WindowWidget::linkTitle(ControlRef title, ControlRef first)
{
    auto *label = control<QLabel>(title.control);
    label->setBuddy(control(first.control));
    // With a buddy Qt would read an '&' as a mnemonic; a label shows it as written.
    label->setText(label->text().replace(QLatin1Char('&'), QStringLiteral("&&")));
}

QWidget *WindowWidget::make(int panel, const ControlRow &row)
{
    QWidget *parent = m_panels[std::size_t(panel)];
    // Qt's longest text: a text box takes any length.
    constexpr int AnyLength = std::numeric_limits<int>::max();
    const auto report = [this, panel, name = row.name] { m_driver.activated({panel, name}); };
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::AutoLabel:
        return new QLabel(toQString(row.text), parent);
    case ControlKind::TextBox: {
        // The limit first: setting it lays the text out again.
        auto *edit = new QLineEdit(parent);
        edit->setMaxLength(AnyLength);
        edit->setText(toQString(row.text));
        connect(edit, &QLineEdit::textEdited, this, report);
        return edit;
    }
    case ControlKind::DropDown:
    case ControlKind::List: {
        auto *combo = new QComboBox(parent);
        for (std::u16string_view item : row.items)
            combo->addItem(toQString(item));
        if (row.kind == ControlKind::List) {
            connect(combo, &QComboBox::activated, this, report);
            return combo;
        }
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setCompleter(nullptr);
        combo->lineEdit()->setMaxLength(AnyLength);
        combo->setEditText(toQString(row.text));
        return combo;
    }
    case ControlKind::Button: {
        auto *button = new QPushButton(toQString(row.text), parent);
        // The driver presses the button of an access key; the button keeps the underlined
        // letter but not Qt's own shortcut.
        button->setShortcut(QKeySequence());
        connect(button, &QPushButton::clicked, this, report);
        return button;
    }
    case ControlKind::Option: {
        auto *option = new QRadioButton(toQString(row.text), parent);
        // Which option is chosen is the handlers' to say.
        option->setAutoExclusive(false);
        connect(option, &QRadioButton::clicked, this, report);
        return option;
    }
    case ControlKind::CheckBox: {
        auto *box = new QCheckBox(toQString(row.text), parent);
        connect(box, &QCheckBox::clicked, this, report);
        return box;
    }
    case ControlKind::VScrollBar: {
        auto *bar = new QScrollBar(Qt::Vertical, parent);
        bar->setRange(row.scroll.minimum, row.scroll.maximum);
        bar->setSingleStep(row.scroll.smallStep);
        bar->setPageStep(row.scroll.largeStep);
        bar->setTracking(false);
        connect(bar, &QScrollBar::valueChanged, this, report);
        return bar;
    }
    case ControlKind::PictureBox: {
        auto *frame = new QFrame(parent);
        frame->setFrameShape(QFrame::Box);
        return frame;
    }
    case ControlKind::Diagram:
        return new DiagramView(row.background, row.foreground, parent);
    case ControlKind::Image: {
        auto *image = new QLabel(parent);
        image->setPixmap(pictureOf(toQString(row.text)));
        image->setScaledContents(true);
        return image;
    }
    }
    Q_UNREACHABLE();
}

void WindowWidget::place(ControlRef control, const TwipsRect &rect)
{
    this->control(control.control)->setGeometry(toQRect(rect));
}

Reading WindowWidget::read(ControlRef control)
{
    QWidget *widget = this->control(control.control);
    if (auto *combo = qobject_cast<QComboBox *>(widget))
        return {toU16(combo->currentText())};
    if (auto *edit = qobject_cast<QLineEdit *>(widget))
        return {toU16(edit->text())};
    if (auto *box = qobject_cast<QCheckBox *>(widget))
        return {{}, box->isChecked()};
    return {{}, this->control<QScrollBar>(control.control)->value()};
}

std::optional<ControlRef> WindowWidget::focus()
{
    // Away from the window, the control that had the focus last.
    QWidget *focus = isActiveWindow() ? QApplication::focusWidget() : focusWidget();
    if (focus && focus == m_tabStrip)
        return ControlRef{NoPanel, m_description.tabStrip};
    // The text field of a drop-down box stands for its box.
    for (; focus && focus != this; focus = focus->parentWidget())
        if (m_refs.contains(focus))
            return m_refs.value(focus);
    return std::nullopt;
}

void WindowWidget::setCaption(ControlRef label, std::u16string_view text)
{
    control<QLabel>(label.control)->setText(toQString(text));
}

TwipsSize WindowWidget::captionSize(ControlRef label)
{
    const QSize size = control<QLabel>(label.control)->sizeHint();
    return {size.width() * TwipsPerPixel, size.height() * TwipsPerPixel};
}

void WindowWidget::setText(ControlRef control, std::u16string_view text)
{
    if (auto *combo = qobject_cast<QComboBox *>(this->control(control.control)))
        combo->setEditText(toQString(text));
    else
        this->control<QLineEdit>(control.control)->setText(toQString(text));
}

void WindowWidget::pick(ControlRef list, std::size_t item)
{
    control<QComboBox>(list.control)->setCurrentIndex(int(item));
}

void WindowWidget::setBackground(ControlRef control, const Colour &colour)
{
    QWidget *box = this->control(control.control);
    setWindowColour(box, colourOf(colour, box->palette()));
}

void WindowWidget::setOption(ControlRef control, bool enabled, bool chosen)
{
    auto *option = this->control<QRadioButton>(control.control);
    option->setEnabled(enabled);
    option->setChecked(chosen);
}

void WindowWidget::setToolTip(ControlRef control, std::u16string_view text)
{
    this->control(control.control)->setToolTip(toQString(text));
}

void WindowWidget::draw(ControlRef control, const Drawing &drawing)
{
    this->control<DiagramView>(control.control)->draw(drawing);
}

void WindowWidget::bringToFront(int index)
{
    if (m_tabStrip)
        m_tabStrip->setCurrentIndex(index);
    panel(index)->raise();
}

void WindowWidget::setFocus(ControlRef control, bool byTab, bool selectAll)
{
    if (!isActiveWindow())
        activateWindow();
    QWidget *target = control.panel == NoPanel
                          ? m_tabStrip
                          : static_cast<QWidget *>(this->control(control.control));
    target->setFocus(byTab ? Qt::TabFocusReason : Qt::OtherFocusReason);
    auto *combo = qobject_cast<QComboBox *>(target);
    auto *edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(target);
    if (selectAll && edit)
        edit->selectAll();
}

Answered WindowWidget::showError(std::u16string_view message)
{
    QMessageBox::critical(this, toQString(ErrorTitle), toQString(message), QMessageBox::Ok);
    return Answer{};
}

void WindowWidget::commandsChanged()
{
    const std::vector<CommandEntry> commands = m_driver.commands();
    for (std::size_t i = m_actions.size(); i < commands.size(); ++i) {
        const CommandEntry &entry = commands[i];
        const Command &command = *entry.command;
        // The driver takes the shortcut's key; the menu only shows it, after a tab.
        auto *action = new QAction(
            toQString(command.text) + QLatin1Char('\t') + toQString(entry.shortcut), this);
        action->setObjectName(QString::fromLatin1(command.id));
        QWidget *menuOf = control(command.menuOf);
        menuOf->setContextMenuPolicy(Qt::ActionsContextMenu);
        menuOf->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, entry] { m_driver.run(entry.panel, entry.index); });
        m_actions.push_back(action);
    }
    for (std::size_t i = 0; i < commands.size(); ++i)
        m_actions[i]->setEnabled(commands[i].enabled);
}

Answered WindowWidget::makeWindow(const WindowDescription &window)
{
    return Answer{.opened = &(new WindowWidget(window, this))->driver()};
}

void WindowWidget::showWindow(bool shown)
{
    setVisible(shown);
    if (shown) {
        raise();
        activateWindow();
    }
}

bool WindowWidget::event(QEvent *event)
{
    // The user's closing is the driver's to decide; the program's own (quitting) goes ahead.
    if (event->type() == QEvent::Close && event->spontaneous()) {
        event->setAccepted(m_driver.closing());
        return true;
    }
    if (event->type() == QEvent::ActivationChange)
        m_driver.windowActivated(isActiveWindow());
    return QWidget::event(event);
}

} // namespace korvane
