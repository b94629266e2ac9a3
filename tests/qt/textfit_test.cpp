// Every text of the window fits its control, at the screen's pixel ratio: run once as is
// and once with QT_SCALE_FACTOR=2.
#include "tests/qt/windowtest.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QtTest>

using namespace korvane;

class TextFitTest : public test::WindowTest
{
    Q_OBJECT

private:
    void press(int panel, const char *name) { control<QPushButton>(panel, name)->click(); }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void everyTextFits()
    {
        WindowWidget &window = *m_window;
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(window.devicePixelRatioF(), 2.0);

        // Typical inputs and the results they give, including a 15-digit one.
        enter(0, "Text4", "1092");
        enter(0, "Text5", "787");
        enter(0, "Text6", "210");
        enter(0, "Text7", "297");
        enter(0, "Combo2", "横竖混排");
        press(0, "Command6");
        press(1, "Command1");
        enter(2, "Text2", "100.5");
        press(2, "Command2");

        // A label that sizes itself does so once its panel has shown: every tab in turn.
        auto *tabs = window.findChild<QTabBar *>(QStringLiteral("TabStrip1"));
        for (int i = tabs->count() - 1; i >= 0; --i)
            tabs->setCurrentIndex(i);
        for (QLabel *label : window.findChildren<QLabel *>()) {
            if (label->text().isEmpty())
                continue;
            const QFontMetrics metrics(label->font());
            const QString what = label->objectName() + " " + label->text();
            QVERIFY2(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width(),
                     qPrintable(what));
            QVERIFY2(metrics.height() <= label->height() + 1, qPrintable(what));
        }
        for (QPushButton *button : window.findChildren<QPushButton *>()) {
            const QString text = button->text().remove(QLatin1Char('&'));
            QVERIFY2(QFontMetrics(button->font()).horizontalAdvance(text) + 8 <= button->width(),
                     qPrintable(button->objectName()));
        }
        for (QLineEdit *edit : window.findChildren<QLineEdit *>()) {
            // Inside a drop-down box the field is narrower than the box.
            const int room = edit->width() - 6;
            QVERIFY2(QFontMetrics(edit->font()).horizontalAdvance(edit->text()) <= room,
                     qPrintable(edit->parentWidget()->objectName() + " " + edit->objectName() +
                                " " + edit->text()));
        }
        for (int i = 0; i < tabs->count(); ++i)
            QVERIFY(QFontMetrics(tabs->font()).horizontalAdvance(tabs->tabText(i)) <
                    tabs->tabRect(i).width());
    }
};

QTEST_MAIN(TextFitTest)
#include "textfit_test.moc"
