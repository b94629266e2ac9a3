#include "tests/common/errorboxwatcher.h"
#include "tests/common/windowtest.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

using namespace korvane;

namespace {

// What a test needs to know of one calculator panel, and a press that succeeds on it.
struct Calculator
{
    int panel;
    QStringList inputs;
    const char *button;
    QStringList results;
    QStringList goodInputs;
    QStringList goodResults;
};

const Calculator Grammage = {1,
                             {"Text1", "Combo1"},
                             "Command1",
                             {"Label9", "Label10"},
                             {"80", "880*1230"},
                             {"43.296", "23.0968218773097"}};
const Calculator Spine = {2, {"Text2", "Text3"}, "Command2", {"Label18"}, {"320", "70"}, {"30.24"}};

const QString GrammageMessage = QStringLiteral("请输入克重！");
const QString FormatMessage = QStringLiteral("请选择纸张规格！");
const QString PagesMessage = QStringLiteral("请输入页数！");

} // namespace

class CalculatorPanelsTest : public test::WindowTest
{
    Q_OBJECT

private:
    QStringList texts(int panel, const QStringList &names)
    {
        QStringList result;
        for (const QString &name : names) {
            QWidget *w = control(panel, name);
            if (auto *label = qobject_cast<QLabel *>(w))
                result << label->text();
            else if (auto *edit = qobject_cast<QLineEdit *>(w))
                result << edit->text();
            else
                result << static_cast<QComboBox *>(w)->currentText();
        }
        return result;
    }
    QList<test::SeenBox> press(const Calculator &c, const QStringList &inputs)
    {
        for (int i = 0; i < inputs.size(); ++i)
            enter(c.panel, c.inputs[i], inputs[i]);
        auto *button = static_cast<QPushButton *>(control(c.panel, c.button));
        return test::answeringBoxes([button] { button->click(); });
    }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void startsAsDesigned()
    {
        auto *formats = static_cast<QComboBox *>(control(1, "Combo1"));
        QStringList items;
        for (int i = 0; i < formats->count(); ++i)
            items << formats->itemText(i);
        QCOMPARE(items, QStringList({"787*1092", "850*1168", "880*1230", "889*1194", "720*1020"}));
        QCOMPARE(texts(1, Grammage.results), QStringList({"0", "0"}));
        QCOMPARE(texts(2, {"Label18", "Label19"}), QStringList({"0", "mm"}));
        // The initial inputs are the worked examples.
        QVERIFY(press(Grammage, {}).isEmpty());
        QCOMPARE(texts(1, Grammage.results), QStringList({"25.78212", "38.7865699174467"}));
        QVERIFY(press(Spine, {}).isEmpty());
        QCOMPARE(texts(2, Spine.results), QStringList({"8.1"}));
    }

    // Each case follows a good press; a refusal must leave its results alone.
    void presses_data()
    {
        QTest::addColumn<bool>("spine");
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        auto row = [](const char *name, bool spine, QStringList inputs, QStringList results) {
            QTest::newRow(name) << spine << inputs << results << QString() << QString();
        };
        auto refusal = [](const char *name, bool spine, QStringList inputs, QString message,
                          QString focus) {
            QTest::newRow(name) << spine << inputs << QStringList() << message << focus;
        };
        row("grammage: 70 on 720*1020", false, {"70", "720*1020"}, {"25.704", "38.9044506691566"});
        row("grammage: negative", false, {"-60", "787*1092"}, {"-25.78212", "-38.7865699174467"});
        refusal("grammage: empty, format bad too", false, {"", "787x1092"}, GrammageMessage,
                "Text1");
        refusal("grammage: rounds to zero", false, {"0.4", "787*1092"}, GrammageMessage, "Text1");
        refusal("grammage: beyond 16 bits", false, {"40000", "787*1092"}, GrammageMessage, "Text1");
        refusal("grammage: letter x", false, {"60", "787x1092"}, FormatMessage, "Combo1");
        refusal("grammage: trailing blank", false, {"60", "787*1092 "}, FormatMessage, "Combo1");

        row("spine: 250 at 80", true, {"250", "80"}, {"27"});
        row("spine: fractional pages", true, {"100.5", "60"}, {"8.1405"});
        row("spine: negative", true, {"-100", "60"}, {"-8.1"});
        refusal("spine: both empty", true, {"", ""}, PagesMessage, "Text2");
        refusal("spine: empty grammage", true, {"100", ""}, GrammageMessage, "Text3");
        refusal("spine: beyond a double", true, {"1e308", "1e308"}, GrammageMessage, "Text3");
    }
    void presses()
    {
        QFETCH(bool, spine);
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, results);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        const Calculator &c = spine ? Spine : Grammage;
        QVERIFY(press(c, c.goodInputs).isEmpty());

        const QList<test::SeenBox> boxes = press(c, inputs);
        if (message.isEmpty()) {
            QVERIFY(boxes.isEmpty());
            QCOMPARE(texts(c.panel, c.results), results);
            return;
        }
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, QStringLiteral("错误"));
        QCOMPARE(boxes[0].text, message);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(m_window->focusWidget());
        QCOMPARE(m_window->focusWidget()->objectName(), focus);
        QCOMPARE(texts(c.panel, c.results), c.goodResults);
        QCOMPARE(texts(c.panel, c.inputs), inputs);
    }

    void convertsOnAltCNotOnEnter()
    {
        m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1"))->setCurrentIndex(1);
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        QWidget *grammage = control(1, "Text1");
        grammage->setFocus();
        QTest::keyClick(grammage, Qt::Key_Return);
        QCOMPARE(texts(1, {"Label9"}), QStringList({"0"}));
        // The access key clicks the button after its brief pressed look.
        QTest::keyClick(grammage, Qt::Key_C, Qt::AltModifier);
        QTRY_COMPARE(texts(1, {"Label9"}), QStringList({"25.78212"}));
    }
};

QTEST_MAIN(CalculatorPanelsTest)
#include "panel_test.moc"
