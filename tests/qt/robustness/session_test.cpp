// One ordinary session of every panel, start to close: good presses and refusals, tab
// switches, scroll bar steps. Quick on its own; scripts/leaks.sh runs it under valgrind to
// show that the program's own code loses no memory.
#include "app/mainwindow.h"
#include "qt/convert.h"
#include "qt/windowwidget.h"
#include "tests/cases/panelcases.h"
#include "tests/qt/errorboxwatcher.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QtTest>

using namespace korvane;

class SessionTest : public QObject
{
    Q_OBJECT

private slots:
    void usesEveryPanel()
    {
        auto *window = new WindowWidget(mainWindow);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *tabs = window->findChild<QTabBar *>(QStringLiteral("TabStrip1"));
        auto find = [window](int, ControlName name) { return window->control(name); };
        for (const test::PressCase &c : test::pressCases()) {
            tabs->setCurrentIndex(c.tab);
            for (const test::Entry &input : c.inputs) {
                if (auto *combo = qobject_cast<QComboBox *>(find(c.tab, input.control)))
                    combo->setEditText(toQString(input.text));
                else
                    static_cast<QLineEdit *>(find(c.tab, input.control))
                        ->setText(toQString(input.text));
            }
            auto *button = static_cast<QPushButton *>(find(c.tab, c.button));
            QCOMPARE(test::answeringBoxes([button] { button->click(); }).size(), c.refusal ? 1 : 0);
        }

        tabs->setCurrentIndex(3);
        for (const test::ScrollCase &c : test::scrollCases())
            for (const auto &[bar, value] : c.moves)
                static_cast<QScrollBar *>(find(3, bar))->setValue(value);
        tabs->setCurrentIndex(4);
        tabs->setCurrentIndex(0);

        window->close();
        delete window;
    }
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
