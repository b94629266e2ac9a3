#pragma once

#include "app/mainwindow.h"
#include "qt/convert.h"
#include "qt/windowwidget.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QTabBar>
#include <QtTest>

namespace korvane::test {

// Base of the tests that drive the real window: each test function opens a fresh window in
// init() and closes it in cleanup(), and finds the controls by their names.
class WindowTest : public QObject
{
protected:
    WindowWidget *m_window = nullptr;

    // Shows a new window and waits until it is on screen and active.
    bool openWindow()
    {
        m_window = new WindowWidget(mainWindow);
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window))
            return false;
        m_window->activateWindow();
        return QTest::qWaitForWindowActive(m_window);
    }
    void closeWindow()
    {
        delete m_window;
        m_window = nullptr;
    }

    // The panel whose area is uppermost at the centre of the tab strip's client rectangle.
    int frontPanel() const
    {
        QWidget *w = m_window->childAt(m_window->panel(0)->geometry().center());
        while (w && w->objectName() != QLatin1String("Frame1"))
            w = w->parentWidget();
        return w ? w->property("index").toInt() : -1;
    }

    QTabBar *tabs() const { return m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1")); }

    // The control `name` of panel `panel`; a missing name or another class ends the run.
    template <typename T = QWidget> T *control(int, ControlName name) const
    {
        return m_window->control<T>(name);
    }

    // Types into a text box or the text field of a drop-down box.
    void enter(int panel, ControlName name, const QString &text) const
    {
        QWidget *w = control(panel, name);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            combo->setEditText(text);
        else
            control<QLineEdit>(panel, name)->setText(text);
    }

    // What a label shows, or the text of a text box or drop-down box.
    QString textOf(int panel, ControlName name) const
    {
        QWidget *w = control(panel, name);
        if (auto *label = qobject_cast<QLabel *>(w))
            return label->text();
        if (auto *combo = qobject_cast<QComboBox *>(w))
            return combo->currentText();
        return control<QLineEdit>(panel, name)->text();
    }
};

} // namespace korvane::test
