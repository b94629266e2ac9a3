#include "imposition/diagramview.h"
#include "tests/common/errorboxwatcher.h"
#include "tests/common/windowtest.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace korvane;

class ImpositionPanelTest : public test::WindowTest
{
    Q_OBJECT

private:
    template <typename T> T *control(const char *name)
    {
        return WindowTest::control<T>(0, QString::fromLatin1(name));
    }
    void enter(const QString &arrangement, const QString &method, const QStringList &sizes)
    {
        WindowTest::enter(0, "Combo2", arrangement);
        WindowTest::enter(0, "Combo3", method);
        const char *boxes[] = {"Text4", "Text5", "Text6", "Text7"};
        for (int i = 0; i < 4; ++i)
            WindowTest::enter(0, boxes[i], sizes.value(i));
    }
    QList<test::SeenBox> press()
    {
        return test::answeringBoxes([this] { control<QPushButton>("Command6")->click(); });
    }
    QString ups() { return control<QLabel>("Label31")->text(); }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void startsAsDesigned()
    {
        QCOMPARE(control<QComboBox>("Combo2")->currentText(), QStringLiteral("横排或竖排"));
        QCOMPARE(control<QComboBox>("Combo2")->count(), 4);
        QCOMPARE(control<QComboBox>("Combo3")->itemText(2), QStringLiteral("大翻版"));
        QCOMPARE(control<QLineEdit>("Text4")->text(), QString());
        QCOMPARE(ups(), QStringLiteral("0"));
        QCOMPARE(control<QWidget>("drawpic")->geometry(), QRect(104, 48, 209, 161));
        // Focus order of the inputs, as the table lists them.
        QWidget *w = control<QComboBox>("Combo2");
        for (const char *next : {"Combo3", "Text4", "Text5", "Text6", "Text7", "Command6"}) {
            w = w->nextInFocusChain();
            while (w->focusPolicy() == Qt::NoFocus || !w->isEnabled() || w->objectName().isEmpty())
                w = w->nextInFocusChain();
            QCOMPARE(w->objectName(), QString::fromLatin1(next));
        }
    }

    void computesTheWorkedExamples_data()
    {
        QTest::addColumn<QString>("arrangement");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("sizes");
        QTest::addColumn<QString>("ups");
        const QStringList a4 = {"1092", "787", "210", "297"};
        QTest::newRow("horizontal") << "横排"
                                    << "大套版" << a4 << "9";
        QTest::newRow("either") << "横排或竖排"
                                << "大套版" << a4 << "10";
        QTest::newRow("mixed") << "横竖混排"
                               << "大套版" << a4 << "11";
        QTest::newRow("turn vertical") << "竖排"
                                       << "自翻版" << a4 << "8";
        QTest::newRow("tumble mixed")
            << "横竖混排"
            << "大翻版" << QStringList{"787", "1092", "90", "307"} << "26";
        QTest::newRow("full-width digits")
            << "横排"
            << "大套版" << QStringList{"１０９２", "７８７", "２１０", "２９７"} << "9";
    }
    void computesTheWorkedExamples()
    {
        QFETCH(QString, arrangement);
        QFETCH(QString, method);
        QFETCH(QStringList, sizes);
        QFETCH(QString, ups);
        enter(arrangement, method, sizes);
        QVERIFY(press().isEmpty());
        QCOMPARE(this->ups(), ups);
    }

    void typedChoicesStayAsTyped()
    {
        // "横排" is the start of "横排或竖排"; typed, it must not be completed into it.
        enter("横排或竖排", "大套版", {"1092", "787", "210", "297"});
        auto *arrangement = control<QComboBox>("Combo2");
        arrangement->setFocus();
        arrangement->lineEdit()->clear();
        QTest::sendKeyEvent(QTest::Press, arrangement->lineEdit(), Qt::Key_unknown,
                            QStringLiteral("横排"), Qt::NoModifier);
        QCOMPARE(arrangement->currentText(), QStringLiteral("横排"));
        QVERIFY(press().isEmpty());
        QCOMPARE(ups(), QStringLiteral("9"));
    }

    void refusesInOrder_data()
    {
        QTest::addColumn<QString>("arrangement");
        QTest::addColumn<QString>("method");
        QTest::addColumn<QStringList>("sizes");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        const QString sheet = QStringLiteral("请输入开版尺寸！");
        const QString product = QStringLiteral("请输入产品尺寸！");
        const QStringList good = {"1092", "787", "210", "297"};
        QTest::newRow("arrangement with a blank") << "横排 "
                                                  << "乱写" << QStringList{} << "请选择开版方式！"
                                                  << "Combo2";
        QTest::newRow("method") << "横排"
                                << "大套" << good << "请选择拼版方式！"
                                << "Combo3";
        QTest::newRow("empty sheet")
            << "横排"
            << "大套版" << QStringList{"", "x", "", ""} << sheet << "Text4";
        QTest::newRow("second sheet side")
            << "横排"
            << "大套版" << QStringList{"1092", "abc", "", ""} << sheet << "Text5";
        QTest::newRow("product") << "横排"
                                 << "大套版" << QStringList{"1092", "787", "inf", ""} << product
                                 << "Text6";
        QTest::newRow("second product side")
            << "横排"
            << "大套版" << QStringList{"1092", "787", "210", "1e400"} << product << "Text7";
        // Numbers that pass the test but cannot be counted with.
        QTest::newRow("zero sheet")
            << "横排"
            << "大套版" << QStringList{"0", "787", "210", "297"} << sheet << "Text4";
        QTest::newRow("negative sheet")
            << "横排"
            << "大套版" << QStringList{"1092", "-787", "-1", "297"} << sheet << "Text5";
        QTest::newRow("rounds to zero")
            << "横排"
            << "大套版" << QStringList{"1092", "787", "210", "0.5"} << product << "Text7";
        QTest::newRow("beyond the integer range")
            << "横排"
            << "大套版" << QStringList{"3e9", "787", "210", "297"} << sheet << "Text4";
        QTest::newRow("too many ups")
            << "横排"
            << "大套版" << QStringList{"1e6", "1e6", "1", "1"} << product << "Text6";
        QTest::newRow("too many cuts") << "横竖混排"
                                       << "大套版" << QStringList{"1", "2e5", "1", "1"}
                                       << "产品尺寸相对开版尺寸过小，无法计算横竖混排！"
                                       << "Text6";
    }
    void refusesInOrder()
    {
        QFETCH(QString, arrangement);
        QFETCH(QString, method);
        QFETCH(QStringList, sizes);
        QFETCH(QString, message);
        QFETCH(QString, focus);

        // A good press first: a refusal must leave its results alone.
        enter("横排", "大套版", {"1092", "787", "210", "297"});
        QVERIFY(press().isEmpty());
        const QImage before = control<DiagramView>("drawpic")->picture();
        const QSize sizeBefore = control<QWidget>("drawpic")->size();

        enter(arrangement, method, sizes);
        const QList<test::SeenBox> boxes = press();
        QCOMPARE(boxes.size(), 1);
        QCOMPARE(boxes[0].title, QStringLiteral("错误"));
        QCOMPARE(boxes[0].text, message);
        QCOMPARE(boxes[0].icon, QMessageBox::Critical);
        QCOMPARE(boxes[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(m_window->focusWidget());
        QCOMPARE(m_window->focusWidget()->objectName(), focus);
        QCOMPARE(ups(), QStringLiteral("9"));
        QCOMPARE(control<QWidget>("drawpic")->size(), sizeBefore);
        QCOMPARE(control<DiagramView>("drawpic")->picture(), before);
    }

    void drawsTheSheetTiled()
    {
        // Sheet 1000 x 500, product 250 x 125: a 4 x 4 grid over the whole box.
        enter("横排", "大套版", {"1000", "500", "250", "125"});
        QVERIFY(press().isEmpty());
        QCOMPARE(ups(), QStringLiteral("16"));
        auto *drawpic = control<DiagramView>("drawpic");
        QCOMPARE(drawpic->size(), QSize(209, 105));
        const QImage picture = drawpic->picture();
        const QRgb ink = drawpic->palette().color(QPalette::Text).rgb();
        const QRgb paper = drawpic->palette().color(QPalette::Base).rgb();
        // Vertical lines at x = 0, 783.75, 1567.5, 2351.25, 3135 twips: pixels 0, 52, 104,
        // 156 and the last column; between them, paper.
        const int y = 10;
        for (int x : {0, 52, 104, 156, 208})
            QCOMPARE(picture.pixel(x, y), ink);
        for (int x : {1, 26, 51, 53, 130, 207})
            QCOMPARE(picture.pixel(x, y), paper);
        // Horizontal lines at y = 0, 391.875, 783.75, 1175.625, 1567.5 twips.
        for (int yy : {0, 26, 52, 78, 104})
            QCOMPARE(picture.pixel(20, yy), ink);
        QCOMPARE(picture.pixel(20, 13), paper);
    }

    void squeezesDenseGridsIntoSolidBlocks()
    {
        // 46340 squared: cells far below a pixel; the press still answers, and the sheet
        // shows solid.
        enter("横排", "大套版", {"46340", "46340", "1", "1"});
        QVERIFY(press().isEmpty());
        QCOMPARE(ups(), QStringLiteral("2147395600"));
        auto *drawpic = control<DiagramView>("drawpic");
        const QRgb ink = drawpic->palette().color(QPalette::Text).rgb();
        QCOMPARE(drawpic->picture().pixel(80, 80), ink);
    }

    void keepsItsDiagramAcrossTabs()
    {
        enter("横竖混排", "大套版", {"1092", "787", "210", "297"});
        QVERIFY(press().isEmpty());
        const QImage drawn = control<DiagramView>("drawpic")->picture();
        auto *tabs = m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1"));
        tabs->setCurrentIndex(1);
        tabs->setCurrentIndex(0);
        QCOMPARE(control<DiagramView>("drawpic")->picture(), drawn);
        QCOMPARE(ups(), QStringLiteral("11"));
    }
};

QTEST_MAIN(ImpositionPanelTest)
#include "panel_test.moc"
