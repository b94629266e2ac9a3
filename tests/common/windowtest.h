#pragma once

#include "app/mainwindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QObject>
#include <QtTest>

namespace korvane::test {

// Base of the tests that drive the real window: each test function opens a fresh window in
// init() and closes it in cleanup(), and finds the controls by their names.
class WindowTest : public QObject
{
protected:
    MainWindow *m_window = nullptr;

    // Shows a new window and waits until it is on screen and active.
    bool openWindow()
    {
        m_window = new MainWindow;
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

    // The control `name` of panel `panel`; a missing name ends the test run.
    template <typename T = QWidget> T *control(int panel, const QString &name) const
    {
        T *w = m_window->panel(panel)->findChild<T *>(name);
        if (!w)
            qFatal("panel %d has no %s", panel, qPrintable(name));
        return w;
    }

    // Types into a text box or the text field of a drop-down box.
    void enter(int panel, const QString &name, const QString &text) const
    {
        QWidget *w = control(panel, name);
        if (auto *combo = qobject_cast<QComboBox *>(w))
            combo->setEditText(text);
        else
            static_cast<QLineEdit *>(w)->setText(text);
    }
};

} // namespace korvane::test
