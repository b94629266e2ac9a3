#include "tests/common/windowtest.h"

#include <QLabel>
#include <QScrollBar>
#include <QtTest>

using namespace korvane;

namespace {

const char *const Bars[] = {"VScroll1", "VScroll2", "VScroll3"};
const char *const Values[] = {"Label32", "Label34", "Label35"};
const char *const Tints[] = {"Picture2", "Picture3", "Picture4"};

// A scroll bar and the value it is moved to.
struct Move
{
    int bar;
    int value;
};

} // namespace

Q_DECLARE_METATYPE(QList<Move>)

class ColourPanelTest : public test::WindowTest
{
    Q_OBJECT

private:
    template <typename T> T *control(const char *name)
    {
        return WindowTest::control<T>(3, QString::fromLatin1(name));
    }
    QColor background(const char *name)
    {
        return control<QWidget>(name)->palette().color(QPalette::Window);
    }
    QStringList valueCaptions()
    {
        QStringList captions;
        for (const char *name : Values)
            captions << control<QLabel>(name)->text();
        return captions;
    }

private slots:
    void initTestCase()
    {
        // An input-field colour apart from white, so an untouched tint box is told apart
        // from a tint at 0.
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Base, QColor(255, 255, 224));
        QApplication::setPalette(palette);
    }
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void mixesTheColour_data()
    {
        QTest::addColumn<QList<Move>>("moves");
        QTest::addColumn<QStringList>("values");
        // An invalid colour stands for a tint box never touched: the input-field colour.
        QTest::addColumn<QList<QColor>>("tints");
        QTest::addColumn<QColor>("mixed");
        const QColor untouched;
        QTest::newRow("untouched")
            << QList<Move>{} << QStringList{"0", "0", "0"}
            << QList<QColor>{untouched, untouched, untouched} << QColor(Qt::black);
        QTest::newRow("red full") << QList<Move>{{0, 255}} << QStringList{"255", "0", "0"}
                                  << QList<QColor>{QColor(255, 0, 0), untouched, untouched}
                                  << QColor(255, 0, 0);
        QTest::newRow("white") << QList<Move>{{2, 255}, {1, 255}, {0, 255}}
                               << QStringList{"255", "255", "255"}
                               << QList<QColor>{QColor(255, 0, 0), QColor(0, 255, 0),
                                                QColor(0, 0, 255)}
                               << QColor(255, 255, 255);
        QTest::newRow("green back to 0")
            << QList<Move>{{0, 30}, {1, 200}, {2, 90}, {1, 0}} << QStringList{"30", "0", "90"}
            << QList<QColor>{QColor(255, 225, 225), QColor(255, 255, 255), QColor(165, 165, 255)}
            << QColor(30, 0, 90);
    }
    void mixesTheColour()
    {
        QFETCH(QList<Move>, moves);
        QFETCH(QStringList, values);
        QFETCH(QList<QColor>, tints);
        QFETCH(QColor, mixed);
        for (const Move &move : moves)
            control<QScrollBar>(Bars[move.bar])->setValue(move.value);
        QCOMPARE(valueCaptions(), values);
        const QColor field = m_window->panel(3)->palette().color(QPalette::Base);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(background(Tints[i]), tints[i].isValid() ? tints[i] : field);
        QCOMPARE(background("Picture5"), mixed);
    }

    void stepsAndSettlesOnRelease()
    {
        auto *red = control<QScrollBar>("VScroll1");
        auto *value = control<QLabel>("Label32");
        QVERIFY(red->focusPolicy() & Qt::TabFocus);
        red->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(value->text(), QStringLiteral("10"));
        QTest::keyClick(red, Qt::Key_Down);
        QCOMPARE(value->text(), QStringLiteral("11"));

        // While the thumb is dragged nothing follows it; the release sets the value.
        red->setSliderDown(true);
        red->setSliderPosition(200);
        QCOMPARE(value->text(), QStringLiteral("11"));
        QCOMPARE(background("Picture5"), QColor(11, 0, 0));
        red->setSliderDown(false);
        QCOMPARE(value->text(), QStringLiteral("200"));
        QCOMPARE(background("Picture2"), QColor(255, 55, 55));
        QCOMPARE(background("Picture5"), QColor(200, 0, 0));
        // Three digits fit: the value label grew with its caption.
        QVERIFY(value->width() >= value->sizeHint().width());
    }
};

QTEST_MAIN(ColourPanelTest)
#include "panel_test.moc"
