// One ordinary session of every panel, start to close: good presses and refusals, tab
// switches, scroll bar steps. Quick on its own; scripts/leaks.sh runs it under valgrind to
// show that the program's own code loses no memory.
#include "qt/mainwindow.h"
#include "qt/panelwidget.h"
#include "tests/qt/errorboxwatcher.h"

#include <QComboBox>
#include <QLabel>
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
        auto *window = new MainWindow;
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        auto *tabs = window->findChild<QTabBar *>(QStringLiteral("TabStrip1"));
        auto find = [window](int panel, const char *name) {
            return window->panel(panel)->control(name);
        };
        auto type = [&](int panel, const char *name, const char *text) {
            QWidget *w = find(panel, name);
            if (auto *edit = qobject_cast<QLineEdit *>(w))
                edit->setText(QString::fromUtf8(text));
            else
                static_cast<QComboBox *>(w)->setEditText(QString::fromUtf8(text));
        };
        auto press = [&](int panel, const char *name) {
            auto *button = static_cast<QPushButton *>(find(panel, name));
            return test::answeringBoxes([button] { button->click(); }).size();
        };

        struct Press
        {
            int panel;
            const char *inputs[4][2];
            const char *button;
            qsizetype boxes;
        };
        const Press presses[] = {
            {0,
             {{"Text4", "1092"}, {"Text5", "787"}, {"Text6", "210"}, {"Text7", "297"}},
             "Command6",
             0},
            {0,
             {{"Combo2", "横竖混排"}, {"Combo3", "大翻版"}, {"Text6", "90"}, {"Text7", "307"}},
             "Command6",
             0},
            {0, {{"Combo3", "自翻版"}, {}, {}, {}}, "Command6", 0},
            {0,
             {{"Combo3", "大套版"}, {"Text4", "46340"}, {"Text5", "46340"}, {"Text6", "1"}},
             "Command6",
             0},
            {0, {{"Text7", "abc"}, {}, {}, {}}, "Command6", 1},
            {0, {{"Combo2", "横排 "}, {}, {}, {}}, "Command6", 1},
            {1, {{"Text1", "80"}, {"Combo1", "880*1230"}, {}, {}}, "Command1", 0},
            {1, {{"Text1", "0"}, {}, {}, {}}, "Command1", 1},
            {1, {{"Text1", "60"}, {"Combo1", "787x1092"}, {}, {}}, "Command1", 1},
            {2, {{"Text2", "320"}, {"Text3", "70"}, {}, {}}, "Command2", 0},
            {2, {{"Text2", "1e308"}, {"Text3", "1e308"}, {}, {}}, "Command2", 1},
            {2, {{"Text2", ""}, {}, {}, {}}, "Command2", 1},
        };
        for (const Press &p : presses) {
            tabs->setCurrentIndex(p.panel);
            for (const auto &input : p.inputs)
                if (input[0])
                    type(p.panel, input[0], input[1]);
            QCOMPARE(press(p.panel, p.button), p.boxes);
        }
        QCOMPARE(static_cast<QLabel *>(find(1, "Label9"))->text(), QStringLiteral("43.296"));

        tabs->setCurrentIndex(3);
        const int values[] = {255, 128, 0};
        const char *bars[] = {"VScroll1", "VScroll2", "VScroll3"};
        for (int i = 0; i < 3; ++i)
            static_cast<QScrollBar *>(find(3, bars[i]))->setValue(values[i]);
        tabs->setCurrentIndex(4);
        tabs->setCurrentIndex(0);

        window->close();
        delete window;
    }
};

QTEST_MAIN(SessionTest)
#include "session_test.moc"
