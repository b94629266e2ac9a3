// What the real window adds to the panels' handlers: controls built as the tables say,
// the real error box and the focus after it, results shown in the labels, the diagram's
// pixels, the scroll bars' steps and the keys. The cases are the handler tests' own.
#include "imposition/grid.h"
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

    // The picture must be exactly what the grid routine's pixels make of the drawing: ink
    // there, paper everywhere else.
    void expectPicture(const Drawing &drawing)
    {
        const QImage picture = drawpic()->picture();
        const QRgb ink = drawpic()->palette().color(QPalette::Text).rgb();
        const QRgb paper = drawpic()->palette().color(QPalette::Base).rgb();
        QImage expected(picture.size(), QImage::Format_RGB32);
        expected.fill(paper);
        // Run at pixel ratios 1 and 2: lines one device pixel wide either way.
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(drawpic()->devicePixelRatioF(),
                     qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        const double pixelsPerTwip = drawpic()->devicePixelRatioF() / 15;
        for (const GridBlock &block : drawing.blocks)
            for (const auto &r :
                 imposition::gridPixels(block, pixelsPerTwip, picture.width(), picture.height()))
                for (int y = r.y; y < r.y + r.height; ++y)
                    for (int x = r.x; x < r.x + r.width; ++x)
                        expected.setPixel(x, y, ink);
        QCOMPARE(picture.convertToFormat(QImage::Format_RGB32), expected);
    }

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

    void builtFromTheTables()
    {
        for (int tab = 0; tab < m_window->panelCount(); ++tab) {
            for (const ControlSpec &row : m_window->panel(tab)->table().controls) {
                const QString what =
                    QStringLiteral("panel %1 %2").arg(tab).arg(toQString(row.name));
                QWidget *w = control(tab, row.name);
                const QPoint at(twipsToPixels(row.rect.left), twipsToPixels(row.rect.top));
                const QSize size(twipsToPixels(row.rect.width), twipsToPixels(row.rect.height));
                QVERIFY2(w->pos() == at, qPrintable(what));
                if (row.kind != ControlKind::AutoLabel)
                    QVERIFY2(w->size() == size, qPrintable(what));
                switch (row.kind) {
                case ControlKind::Label:
                case ControlKind::AutoLabel:
                    QCOMPARE(control<QLabel>(tab, row.name)->text(), toQString(row.text));
                    break;
                case ControlKind::TextBox:
                    QCOMPARE(control<QLineEdit>(tab, row.name)->text(), toQString(row.text));
                    break;
                case ControlKind::DropDown: {
                    auto *combo = control<QComboBox>(tab, row.name);
                    QVERIFY(combo->isEditable());
                    QCOMPARE(combo->currentText(), toQString(row.text));
                    QCOMPARE(combo->count(), qsizetype(row.items.size()));
                    for (int i = 0; i < combo->count(); ++i)
                        QCOMPARE(combo->itemText(i), toQString(row.items[std::size_t(i)]));
                    break;
                }
                case ControlKind::Button:
                    QCOMPARE(control<QPushButton>(tab, row.name)->text(), toQString(row.text));
                    break;
                case ControlKind::VScrollBar: {
                    auto *bar = control<QScrollBar>(tab, row.name);
                    QCOMPARE(bar->orientation(), Qt::Vertical);
                    QCOMPARE(bar->minimum(), row.scroll.minimum);
                    QCOMPARE(bar->maximum(), row.scroll.maximum);
                    QCOMPARE(bar->singleStep(), row.scroll.smallStep);
                    QCOMPARE(bar->pageStep(), row.scroll.largeStep);
                    break;
                }
                case ControlKind::Diagram:
                    control<DiagramView>(tab, row.name);
                    break;
                case ControlKind::PictureBox:
                case ControlKind::Image:
                    break;
                }
            }
        }
    }

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
        m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1"))->setCurrentIndex(c.tab);
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
                colour ? QColor(colour->r, colour->g, colour->b)
                       : colourOf(findControl(m_window->panel(tab)->table(), box)->background,
                                  w->palette());
            QCOMPARE(w->palette().color(QPalette::Window), expected);
        }
    }

    void drawsWhatTheGridRoutineSays_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::newRow("tiled") << QStringList{"横排", "1000", "500", "250", "125"};
        QTest::newRow("mixed") << QStringList{"横竖混排", "1092", "787", "210", "297"};
        // Cells far below a pixel: the sheet shows solid.
        QTest::newRow("dense") << QStringList{"横排", "46340", "46340", "1", "1"};
    }
    void drawsWhatTheGridRoutineSays()
    {
        QFETCH(QStringList, inputs);
        enter(0, "Combo2", inputs[0]);
        const ControlName boxes[] = {"Text4", "Text5", "Text6", "Text7"};
        for (int i = 0; i < 4; ++i)
            enter(0, boxes[i], inputs[i + 1]);
        QVERIFY(test::answeringBoxes([this] {
                    control<QPushButton>(0, "Command6")->click();
                }).isEmpty());

        // The same press without a window says what the picture must be.
        std::vector<Reading> readings;
        readings.push_back({toU16(inputs[0])});
        readings.push_back({u"大套版"});
        for (int i = 1; i < 5; ++i)
            readings.push_back({toU16(inputs[i])});
        const Outcome outcome = m_window->panel(0)->table().events[0].handle(readings);
        const Drawing &drawing = *std::get<Update>(outcome).drawing;
        QCOMPARE(drawpic()->size(),
                 QSize(twipsToPixels(drawing.width), twipsToPixels(drawing.height)));
        expectPicture(drawing);
    }

    void typedChoicesStayAsTyped()
    {
        // "横排" is the start of "横排或竖排"; typed, it must not be completed into it.
        for (const test::Entry &input : test::goodPress(0).inputs)
            enter(0, input.control, toQString(input.text));
        auto *arrangement = control<QComboBox>(0, "Combo2");
        arrangement->setFocus();
        arrangement->lineEdit()->clear();
        QTest::sendKeyEvent(QTest::Press, arrangement->lineEdit(), Qt::Key_unknown,
                            QStringLiteral("横排"), Qt::NoModifier);
        QCOMPARE(arrangement->currentText(), QStringLiteral("横排"));
    }

    void keepsItsDiagramAcrossTabs()
    {
        QVERIFY(press(test::goodPress(0)).isEmpty());
        const QImage drawn = drawpic()->picture();
        auto *tabs = m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1"));
        tabs->setCurrentIndex(1);
        tabs->setCurrentIndex(0);
        QCOMPARE(drawpic()->picture(), drawn);
        expectResults(test::goodPress(0), test::goodPress(0).results);
        // Covered and shown again, the box paints what was drawn.
        drawpic()->repaint();
        QImage shown = drawpic()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        shown.setDevicePixelRatio(1);
        QCOMPARE(shown, drawn.convertToFormat(QImage::Format_RGB32));
    }

    void convertsOnAltCNotOnEnter()
    {
        m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1"))->setCurrentIndex(1);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QWidget *grammage = control(1, "Text1");
        grammage->setFocus();
        QTest::keyClick(grammage, Qt::Key_Return);
        QCOMPARE(textOf(1, "Label9"), QStringLiteral("0"));
        // The access key clicks the button after its brief pressed look.
        QTest::keyClick(grammage, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(textOf(1, "Label9"), QStringLiteral("25.78212"));
    }

    void scrollBarsStepAndSettleOnRelease()
    {
        auto *red = control<QScrollBar>(3, "VScroll1");
        QVERIFY(red->focusPolicy() & Qt::TabFocus);
        red->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(textOf(3, "Label32"), QStringLiteral("10"));
        QTest::keyClick(red, Qt::Key_Down);
        QCOMPARE(textOf(3, "Label32"), QStringLiteral("11"));

        // While the thumb is dragged nothing follows it; the release sets the value.
        red->setSliderDown(true);
        red->setSliderPosition(200);
        QCOMPARE(textOf(3, "Label32"), QStringLiteral("11"));
        red->setSliderDown(false);
        QCOMPARE(textOf(3, "Label32"), QStringLiteral("200"));
        QCOMPARE(control(3, "Picture5")->palette().color(QPalette::Window), QColor(200, 0, 0));
        // Three digits fit: the value label grew with its caption.
        QVERIFY(control(3, "Label32")->width() >= control(3, "Label32")->sizeHint().width());
    }
};

QTEST_MAIN(PanelsTest)
#include "panels_test.moc"
