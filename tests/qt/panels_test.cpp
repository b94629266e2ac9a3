// What the real window adds to the panels' handlers: the real error box and the focus after
// it, and results shown in the labels. The cases are the handler tests' own.
#include "qt/diagramview.h"
#include "tests/cases/panelcases.h"
#include "tests/qt/errorboxwatcher.h"
#include "tests/qt/windowtest.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QtTest>

using namespace korvane;

class PanelsTest : public test::WindowTest
{
    Q_OBJECT

private:
    QList<test::SeenBox> press(const test::PressCase &c)
    {
        for (const test::Entry &input : c.inputs)
            enter(c.tab, input.control, toQString(input.text));
        auto *button = control<QPushButton>(c.tab, c.button);
        return test::answeringBoxes([button] { button->click(); });
    }
    void expectResults(const test::PressCase &c, const std::vector<test::Entry> &results)
    {
        for (const test::Entry &result : results)
            QCOMPARE(textOf(c.tab, result.control), toQString(result.text));
    }
    DiagramView *drawpic() { return control<DiagramView>(0, "drawpic"); }

private slots:
    void initTestCase()
    {
        // An input-field colour apart from white, so a tint box never touched is told apart
        // from a tint at 0.
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Base, QColor(255, 255, 224));
        QApplication::setPalette(palette);
    }
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void presses_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < test::pressCases().size(); ++i)
            QTest::newRow(test::pressCases()[i].name.c_str()) << int(i);
    }
    void presses()
    {
        QFETCH(int, index);
        const test::PressCase &c = test::pressCases()[std::size_t(index)];
        tabs()->setCurrentIndex(c.tab);
        if (!c.refusal) {
            QVERIFY(press(c).isEmpty());
            expectResults(c, c.results);
            return;
        }
        // A refusal must leave the results of the good press before it alone.
        const test::PressCase &good = test::goodPress(c.tab);
        QVERIFY(press(good).isEmpty());
        const QImage picture = drawpic()->picture();

        const QList<test::SeenBox> boxes = press(c);
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, toQString(ErrorTitle));
        QCOMPARE(boxes[0].text, toQString(c.refusal->message));
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(m_window->focusWidget());
        QCOMPARE(m_window->focusWidget(), control(c.tab, c.refusal->focus));
        expectResults(good, good.results);
        QCOMPARE(drawpic()->picture(), picture);
        for (const test::Entry &input : c.inputs)
            QCOMPARE(textOf(c.tab, input.control), toQString(input.text));
    }

    void scrolls_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < test::scrollCases().size(); ++i)
            QTest::newRow(test::scrollCases()[i].name.c_str()) << int(i);
    }
    void scrolls()
    {
        QFETCH(int, index);
        const test::ScrollCase &c = test::scrollCases()[std::size_t(index)];
        const int tab = test::ColourTab;
        for (const auto &[bar, value] : c.moves)
            control<QScrollBar>(tab, bar)->setValue(value);
        for (const test::Entry &result : c.results)
            QCOMPARE(textOf(tab, result.control), toQString(result.text));
        for (const auto &[box, colour] : c.backgrounds) {
            QWidget *w = control(tab, box);
            const QColor expected =
                colour
                    ? QColor(colour->r, colour->g, colour->b)
                    : colourOf(findControl(
                                   *m_window->driver().window().tabs[std::size_t(tab)].panel, box)
                                   ->background,
                               w->palette());
            QCOMPARE(w->palette().color(QPalette::Window), expected);
        }
    }
};

QTEST_MAIN(PanelsTest)
#include "panels_test.moc"
