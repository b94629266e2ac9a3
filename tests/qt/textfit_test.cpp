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

private slots:
    void init() { restart(); }

    void everyTextFits()
    {
        WindowWidget &window = *m_window;
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(window.devicePixelRatioF(), 2.0);

        // Typical inputs and the results they give, including a 15-digit one.
        paste("Text4", u"1092");
        paste("Text5", u"787");
        paste("Text6", u"210");
        paste("Text7", u"297");
        paste("Combo2", u"横竖混排");
        click("Command6");
        click("Command1");
        paste("Text2", u"100.5");
        click("Command2");

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
