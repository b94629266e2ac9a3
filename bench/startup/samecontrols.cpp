// The floor of Korvane's start-up once its controls are counted: the very controls of the
// main window, read from its tables (each row's kind, place in twips, caption, items and
// font, the window's caption, size and font), each made the plainest way Qt Widgets has, on
// panels stacked on a stock tab bar. Nothing else: no driver, no rules, no commands, no
// accessible names, no pictures, no icon. What Korvane takes above this is its own.

#include "app/mainwindow.h"
#include "common/typeface.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QWidget>

namespace {

using korvane::ControlKind;
using korvane::ControlRow;
using korvane::TwipsRect;

QString text(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), qsizetype(text.size()));
}

// 15 twips to the pixel: Qt's pixels are of 1/96 inch.
int pixels(int twips)
{
    return korvane::twipsToPixels(twips);
}

QRect pixels(const TwipsRect &r)
{
    return {pixels(r.left), pixels(r.top), pixels(r.width), pixels(r.height)};
}

// The face Korvane shows: the first of the face's candidates that is installed, or the face
// itself. Without the choice Qt would draw the texts in a fallback face, at a cost of its
// own; asking Qt after each candidate by name would cost more than one list of them all.
QFont font(const korvane::Typeface &typeface)
{
    static const QStringList installed = QFontDatabase::families();
    const std::u16string_view face = korvane::chooseFace(
        typeface.face, [](std::u16string_view name) { return installed.contains(text(name)); });
    return QFont(text(face), typeface.points);
}

QWidget *make(const ControlRow &row, QWidget *panel)
{
    switch (row.kind) {
    case ControlKind::Label:
    case ControlKind::AutoLabel:
        return new QLabel(text(row.text), panel);
    case ControlKind::TextBox:
        return new QLineEdit(text(row.text), panel);
    case ControlKind::DropDown:
    case ControlKind::List: {
        auto *combo = new QComboBox(panel);
        for (std::u16string_view item : row.items)
            combo->addItem(text(item));
        combo->setEditable(row.kind == ControlKind::DropDown);
        combo->setCurrentText(text(row.text));
        return combo;
    }
    case ControlKind::Button:
        return new QPushButton(text(row.text), panel);
    case ControlKind::Option:
        return new QRadioButton(text(row.text), panel);
    case ControlKind::CheckBox:
        return new QCheckBox(text(row.text), panel);
    case ControlKind::VScrollBar: {
        auto *bar = new QScrollBar(Qt::Vertical, panel);
        bar->setRange(row.scroll.minimum, row.scroll.maximum);
        return bar;
    }
    case ControlKind::PictureBox:
    case ControlKind::Diagram:
    case ControlKind::Image:
        break;
    }
    return new QFrame(panel);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const korvane::WindowDescription &description = korvane::mainWindow;

    QWidget window;
    window.setWindowTitle(text(description.caption));
    window.resize(pixels(description.clientWidth), pixels(description.clientHeight));
    window.setFont(font(description.font));

    auto *tabs = new QTabBar(&window);
    for (const korvane::Tab &tab : description.tabs)
        tabs->addTab(text(tab.caption));
    const QRect strip = pixels(description.tabStripRect);
    tabs->setGeometry(strip.left(), strip.top(), strip.width(), tabs->sizeHint().height());

    // The panels lie stacked below the tabs, all shown; the first one in front.
    const QRect client = strip.adjusted(0, tabs->height(), 0, 0);
    QFrame *first = nullptr;
    for (const korvane::Tab &tab : description.tabs) {
        auto *panel = new QFrame(&window);
        panel->setFrameShape(QFrame::StyledPanel);
        panel->setAutoFillBackground(true);
        panel->setGeometry(client);
        for (const ControlRow &row : tab.panel->controls) {
            QWidget *control = make(row, panel);
            control->setGeometry(pixels(row.rect));
            if (row.font)
                control->setFont(font(*row.font));
        }
        first = first ? first : panel;
    }
    first->raise();

    window.show();
    return app.exec();
}
