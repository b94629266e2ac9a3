#pragma once

#include "app/mainwindow.h"
#include "imposition/plannerwindow.h"
#include "qt/convert.h"
#include "qt/diagramview.h"
#include "qt/windowwidget.h"
#include "tests/cases/windowprobe.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <filesystem>
#include <fstream>

namespace korvane::test {

// A message box as the tests see it: `stopAndOk` for the critical icon and OK alone.
inline SeenBox seenBox(const QMessageBox &box, qint64 afterMs = 0)
{
    return {toU16(box.windowTitle()), toU16(box.text()),
            box.icon() == QMessageBox::Critical && box.standardButtons() == QMessageBox::Ok,
            afterMs};
}

// Runs `action`, answering with OK every message box it opens. Returns the boxes seen, in
// order. Polls from the box's own event loop, so it works for boxes opened by exec().
inline std::vector<SeenBox> answeringBoxes(const std::function<void()> &action)
{
    std::vector<SeenBox> seen;
    QElapsedTimer clock;
    clock.start();
    QTimer poll;
    poll.setInterval(1);
    QObject::connect(&poll, &QTimer::timeout, [&seen, &clock] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.push_back(seenBox(*box, clock.elapsed()));
        if (QAbstractButton *ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->reject();
    });
    poll.start();
    action();
    poll.stop();
    return seen;
}

// Base of the tests that drive the real window, and that window as the shared checks probe
// it: the main window, opened anew by restart(), and the planner opened from it; controls
// found by their names; every error box answered.
class WindowTest : public QObject, public WindowProbe
{
protected:
    WindowWidget *m_window = nullptr;
    std::vector<SeenBox> m_boxes;

    ~WindowTest() override { closeWindow(); }

    void closeWindow()
    {
        delete m_window;
        m_window = nullptr;
    }
    static bool activate(QWidget *window)
    {
        window->activateWindow();
        return window->isActiveWindow() || QTest::qWaitForWindowActive(window);
    }

    QTabBar *tabs() const { return m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1")); }
    WindowWidget *windowFor(const WindowDescription &window) const
    {
        return &window == &mainWindow ? m_window
                                      : m_window->findChild<WindowWidget *>(toQString(window.name));
    }
    // The control `name` on the main window or the planner; null before the planner opens.
    template <typename T = QWidget> T *control(ControlName name) const
    {
        if (name == mainWindow.tabStrip)
            return qobject_cast<T *>(tabs());
        WindowWidget *window = windowFor(windowOf(name));
        return window ? qobject_cast<T *>(window->control(name)) : nullptr;
    }
    // The text field of a text box or drop-down box.
    QLineEdit *edit(ControlName name) const
    {
        auto *combo = control<QComboBox>(name);
        return combo ? combo->lineEdit() : control<QLineEdit>(name);
    }
    void act(const std::function<void()> &action)
    {
        const std::vector<SeenBox> seen = answeringBoxes(action);
        m_boxes.insert(m_boxes.end(), seen.begin(), seen.end());
        if (!seen.empty())
            activate(m_window);
    }

    // A new window, shown, on screen and active.
    void restart() override
    {
        closeWindow();
        m_boxes.clear();
        m_window = new WindowWidget(mainWindow);
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window) || !activate(m_window))
            qFatal("the window did not open");
    }
    void clickAt(ControlName name, int tab) override
    {
        QWidget *w = control(name);
        activate(w->window());
        const QPoint at = w == tabs() ? tabs()->tabRect(tab).center() : w->rect().center();
        act([w, at] { QTest::mouseClick(w, Qt::LeftButton, {}, at); });
    }
    void focus(ControlName name) override
    {
        activate(control(name)->window());
        control(name)->setFocus();
    }
    void key(const Key &key) override
    {
        static constexpr Qt::Key Keys[] = {
            Qt::Key_Tab,   Qt::Key_Return, Qt::Key_Up,       Qt::Key_Down, Qt::Key_Left,
            Qt::Key_Right, Qt::Key_PageUp, Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
        QWidget *to = QApplication::focusWidget() ? QApplication::focusWidget() : m_window;
        Qt::KeyboardModifiers held;
        held.setFlag(Qt::ShiftModifier, key.shift);
        held.setFlag(Qt::ControlModifier, key.control);
        held.setFlag(Qt::AltModifier, key.alt);
        act([&] {
            if (key.code == Key::Code::Tab && key.shift)
                QTest::keyClick(to, Qt::Key_Backtab);
            else if (key.code != Key::Code::Character)
                QTest::keyClick(to, Keys[int(key.code)]);
            else if (held)
                QTest::keyClick(to, Qt::Key(upperCase(key.character)), held);
            else
                QTest::sendKeyEvent(QTest::Click, to, Qt::Key_unknown, QChar(key.character), {});
        });
    }
    void enterText(ControlName name, std::u16string_view text, bool pasted) override
    {
        focus(name);
        if (pasted)
            QGuiApplication::clipboard()->setText(toQString(text));
        act([&, field = edit(name)] {
            field->selectAll();
            if (pasted)
                return field->paste();
            for (QChar typed : toQString(text))
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key_unknown, typed, {});
        });
    }
    void pick(ControlName name, int item) override
    {
        act([combo = control<QComboBox>(name), item] {
            combo->setCurrentIndex(item);
            emit combo->activated(item);
        });
    }
    // An arrow or the track clicked, or the thumb dragged and let go or not.
    void scroll(ControlName name, ScrollRequest request, int thumb) override
    {
        using S = QAbstractSlider;
        static constexpr S::SliderAction Actions[] = {S::SliderSingleStepSub,
                                                      S::SliderSingleStepAdd, S::SliderPageStepSub,
                                                      S::SliderPageStepAdd};
        act([bar = control<QScrollBar>(name), request, thumb] {
            if (request < ScrollRequest::ThumbReleased)
                return bar->triggerAction(Actions[int(request)]);
            bar->setSliderDown(true);
            bar->setSliderPosition(thumb);
            bar->setSliderDown(request == ScrollRequest::ThumbDragged);
        });
    }
    void run(std::string_view command) override
    {
        act([&] { m_window->findChild<QAction *>(QLatin1String(command))->trigger(); });
    }
    void close(const WindowDescription &window) override
    {
        act([w = windowFor(window)] { w->close(); });
    }

    Shown shown(ControlName name) override
    {
        QWidget *w = control(name);
        if (!w)
            return {};
        Shown shown{
            {}, 0, w->isEnabled(), {}, w->palette().color(QPalette::Window).rgb() & 0xFFFFFF};
        if (auto *label = qobject_cast<QLabel *>(w))
            shown.text = toU16(label->text());
        if (auto *combo = qobject_cast<QComboBox *>(w))
            shown.text = toU16(combo->currentText());
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            shown = {toU16(button->text()), button->isChecked(), shown.enabled, {}, 0};
        if (auto *bar = qobject_cast<QScrollBar *>(w))
            shown.value = bar->value();
        if (QLineEdit *field = edit(name))
            std::tie(shown.text, shown.selected) =
                std::pair(toU16(field->text()), toU16(field->selectedText()));
        return shown;
    }
    std::string focused() override
    {
        QWidget *w = QApplication::focusWidget();
        // The text field of a drop-down box stands for its box.
        if (w && qobject_cast<QComboBox *>(w->parentWidget()))
            w = w->parentWidget();
        return w ? w->objectName().toStdString() : std::string();
    }
    // The panel whose area is uppermost at the centre of the tab strip's client rectangle.
    int frontPanel() override
    {
        QWidget *w = m_window->childAt(m_window->panel(0)->geometry().center());
        while (w && w->objectName() != QLatin1String("Frame1"))
            w = w->parentWidget();
        return w ? w->property("index").toInt() : -1;
    }
    bool panelsShown() override
    {
        for (int i = 0; i < m_window->panelCount(); ++i)
            if (!m_window->panel(i)->isVisible() || !m_window->panel(i)->isEnabled())
                return false;
        return true;
    }
    Spoken heard(ControlName name) override
    {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(control(name));
        // On Linux a drop-down box's name is its text; its title reaches the screen reader as
        // the label it is labelled by.
        Spoken spoken{{toU16(face->text(QAccessible::Name))},
                      toU16(face->text(QAccessible::Description))};
        for (const auto &relation : face->relations(QAccessible::Label))
            spoken.names.push_back(toU16(relation.first->text(QAccessible::Name)));
        return spoken;
    }
    std::uint32_t colour(const Colour &colour) override
    {
        return colourOf(colour, m_window->palette()).rgb() & 0xFFFFFF;
    }
    Picture picture(ControlName name, bool painted) override
    {
        auto *view = control<DiagramView>(name);
        QImage image = view->picture().convertToFormat(QImage::Format_RGB32);
        if (painted)
            image = view->grab().toImage().convertToFormat(QImage::Format_RGB32).copy(image.rect());
        Picture picture{image.width(), image.height(), {}};
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                picture.pixels.push_back(image.pixel(x, y) & 0xFFFFFF);
        return picture;
    }
    // The screen's, which stays.
    int dpi(ControlName diagram, int) override { return control<DiagramView>(diagram)->dpi(); }
    std::vector<SeenBox> boxes() override { return std::exchange(m_boxes, {}); }
    std::vector<ShownWindow> windows() override
    {
        std::vector<ShownWindow> all;
        for (QWidget *w : QApplication::topLevelWidgets())
            if (qobject_cast<WindowWidget *>(w) || qobject_cast<QMessageBox *>(w))
                all.push_back(
                    {toU16(w->windowTitle()), w->isVisible(), w->parentWidget() == m_window});
        return all;
    }
    std::vector<Reading> readings(ControlName diagram, std::span<const ControlName> reads) override
    {
        return windowFor(windowOf(diagram))->driver().readings(0, reads);
    }
    void prepareSettings(std::string_view name, std::optional<std::string> bytes,
                         bool writable) override
    {
        const std::filesystem::path folder = m_config.path().toStdString() + "/korvane";
        std::filesystem::remove_all(folder);
        if (!writable)
            std::ofstream(folder) << "a file";
        else if (bytes && std::filesystem::create_directories(folder))
            std::ofstream(folder / (std::string(name) + ".conf"), std::ios::binary) << *bytes;
    }

private:
    // The settings of the windows tested, apart from the user's own.
    QTemporaryDir m_config;
    const bool m_configSet = qputenv("XDG_CONFIG_HOME", m_config.path().toLocal8Bit());
};

} // namespace korvane::test
