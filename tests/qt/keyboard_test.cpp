// The whole window from the keyboard, and what a screen reader announces.
#include "tests/qt/windowtest.h"

#include <QAccessible>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QtTest>

using namespace korvane;

class KeyboardTest : public test::WindowTest
{
    Q_OBJECT

private:
    QTabBar *tabs() { return m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1")); }
    static QString announced(QWidget *w, QAccessible::Text what)
    {
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
        return face ? face->text(what) : QString();
    }
    QString focused()
    {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void inputsAreAnnouncedByTheirCaptions_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("controlName");
        QTest::addColumn<QString>("name");
        QTest::newRow("arrangement") << 0 << "Combo2"
                                     << "开版方式";
        QTest::newRow("method") << 0 << "Combo3"
                                << "拼版方式";
        QTest::newRow("sheet, first side") << 0 << "Text4"
                                           << "开版尺寸";
        QTest::newRow("sheet, second side") << 0 << "Text5"
                                            << "开版尺寸";
        QTest::newRow("product") << 0 << "Text7"
                                 << "产品尺寸";
        QTest::newRow("view button") << 0 << "Command6"
                                     << "查看拼版图";
        QTest::newRow("grammage") << 1 << "Text1"
                                  << "克重";
        QTest::newRow("format") << 1 << "Combo1"
                                << "开度";
        QTest::newRow("convert button") << 1 << "Command1"
                                        << "换算(C)";
        QTest::newRow("pages") << 2 << "Text2"
                               << "页数";
        QTest::newRow("spine grammage") << 2 << "Text3"
                                        << "克数";
        QTest::newRow("red") << 3 << "VScroll1"
                             << "红色";
        QTest::newRow("blue") << 3 << "VScroll3"
                              << "蓝色";
    }
    void inputsAreAnnouncedByTheirCaptions()
    {
        QFETCH(int, panel);
        QFETCH(QString, controlName);
        QFETCH(QString, name);
        QWidget *w = control(panel, controlName.toLatin1().constData());
        QVERIFY(w);
        // On X11 a drop-down box's name is its text; its caption reaches the screen reader as
        // the label it is labelled by.
        QAccessibleInterface *face = QAccessible::queryAccessibleInterface(w);
        QStringList heard = {face->text(QAccessible::Name).remove(QLatin1Char('&'))};
        for (const auto &relation : face->relations(QAccessible::Label))
            heard.append(relation.first->text(QAccessible::Name));
        QVERIFY2(heard.contains(name), qPrintable(heard.join(QLatin1Char('|'))));
    }

    void resultsAreAnnouncedWithTheirTexts_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QString>("controlName");
        QTest::addColumn<QString>("caption");
        QTest::newRow("ups") << 0 << "Label31"
                             << "开版数";
        QTest::newRow("weight per ream") << 1 << "Label9"
                                         << "Kg/令";
        QTest::newRow("thickness") << 2 << "Label18"
                                   << "厚度：";
        QTest::newRow("red value") << 3 << "Label32"
                                   << "红色";
    }
    void resultsAreAnnouncedWithTheirTexts()
    {
        QFETCH(int, panel);
        QFETCH(QString, controlName);
        QFETCH(QString, caption);
        auto *label = control<QLabel>(panel, controlName.toLatin1().constData());
        QVERIFY(label);
        QCOMPARE(announced(label, QAccessible::Name), label->text());
        QCOMPARE(announced(label, QAccessible::Description), caption);
    }

    void tabGoesRoundTheFrontPanel_data()
    {
        QTest::addColumn<int>("panel");
        QTest::addColumn<QStringList>("order");
        QTest::newRow("imposition")
            << 0 << QStringList{"Combo2", "Combo3", "Text4", "Text5", "Text6", "Text7", "Command6"};
        QTest::newRow("grammage") << 1 << QStringList{"Text1", "Combo1", "Command1"};
        QTest::newRow("spine") << 2 << QStringList{"Text2", "Text3", "Command2"};
        QTest::newRow("colour") << 3 << QStringList{"VScroll1", "VScroll2", "VScroll3"};
        QTest::newRow("about") << 4 << QStringList{};
    }
    void tabGoesRoundTheFrontPanel()
    {
        QFETCH(int, panel);
        QFETCH(QStringList, order);
        tabs()->setFocus();
        // The tab strip itself moves between the tabs with the arrow keys.
        for (int i = 0; i < panel; ++i)
            QTest::keyClick(tabs(), Qt::Key_Right);
        QCOMPARE(tabs()->currentIndex(), panel);

        QCOMPARE(focused(), QStringLiteral("TabStrip1"));
        for (const QString &name : order) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QCOMPARE(focused(), name);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("TabStrip1"));
        // And backwards.
        for (auto it = order.crbegin(); it != order.crend(); ++it) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
            QCOMPARE(focused(), *it);
        }
    }

    void pressesAndStepsFromTheKeyboard()
    {
        // Imposition: type, then Space on the focused button.
        tabs()->setFocus();
        QTest::keyClick(tabs(), Qt::Key_Tab);                      // Combo2
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); // Combo3
        for (const char *text : {"1092", "787", "210", "297"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(focused(), QStringLiteral("Command6"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QCOMPARE(qobject_cast<QLabel *>(control(0, "Label31"))->text(), QStringLiteral("10"));

        // Colour: the arrow keys step a scroll bar by one, Page Down by ten.
        tabs()->setCurrentIndex(3);
        control(3, "VScroll2")->setFocus();
        QTest::keyClick(control(3, "VScroll2"), Qt::Key_Down);
        QTest::keyClick(control(3, "VScroll2"), Qt::Key_PageDown);
        QCOMPARE(qobject_cast<QLabel *>(control(3, "Label34"))->text(), QStringLiteral("11"));
    }
};

QTEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
