// What both windows must do alike, in the real Qt window: the shared checks, one row each,
// run offscreen at pixel ratios 1, 1.25 and 1.5 (96, 120 and 144 dpi).
#include "tests/qt/windowtest.h"

using namespace korvane;

class ParityTest : public test::WindowTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // An input-field colour apart from white, so a tint box never touched is told apart
        // from a tint at 0.
        QPalette palette = QApplication::palette();
        palette.setColor(QPalette::Base, QColor(255, 255, 224));
        QApplication::setPalette(palette);
    }
    void init() { restart(); }

    void parity_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < test::parityChecks().size(); ++i)
            QTest::newRow(test::parityChecks()[i].name.c_str()) << int(i);
    }
    void parity()
    {
        QFETCH(int, index);
        test::Failures failures;
        test::parityChecks()[std::size_t(index)].run(*this, failures);
        QVERIFY2(failures.lines.empty(), failures.lines.c_str());
    }
};

QTEST_MAIN(ParityTest)
#include "parity_test.moc"
