// Thousands of random user actions on the real window: typing anything into every input,
// picking from the drop-downs, pressing every button and Alt+C, switching tabs, moving the
// scroll bars by keys and clicks, answering every message box. After each action the window
// must still make sense. Reproducible: KORVANE_MONKEY_SEED and KORVANE_MONKEY_ACTIONS set
// the seed and the length; a failure names the seed and the action.
#include "app/mainwindow.h"
#include "common/numtext.h"
#include "qt/convert.h"
#include "qt/windowwidget.h"
#include "tests/cases/panelcases.h"
#include "tests/qt/errorboxwatcher.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTabBar>
#include <QtTest>

#include <random>

using namespace korvane;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr qint64 PressBudgetMs = 500; // instrumented builds run several times slower
#else
constexpr qint64 PressBudgetMs = 100;
#endif

// Whether a refusal after a press of `button` may say `message` and focus `focus`: only what
// the press cases show.
bool knownRefusal(const QString &button, const QString &message, const QString &focus)
{
    for (const test::PressCase &c : test::pressCases())
        if (c.refusal && toQString(c.button) == button &&
            toQString(c.refusal->message) == message && toQString(c.refusal->focus) == focus)
            return true;
    return false;
}

// Texts a user might type or paste.
QStringList vocabulary()
{
    // clang-format off
    QStringList words = {
        "", " ", "0", "-0", "1", "60", "60.5", "-60", "787", "1092", "210", "297", "90", "307",
        "1e308", "-1e308", "1e-320", "1e400", "inf", "NaN", "0x10", "1,092",
        "１０９２", "２９７．５", "－３", "\u3000８０\u3000", "abc",
        "横排", "横排或竖排", "横竖混排", "大套版", "自翻版", "大翻版",
        "787*1092", "880*1230", "720*1020", "787x1092", " 787*1092", "😀", "1😀",
        "46340", "2147483647", "2147483648", "0.4", "0.5", "1.5", "99999", "200000", "1e6",
        "3.5e3", ".", "-", "+5", "1e", "\t12\t", "12 34", "１e5", "ｅ",
        QString(10000, '9'), QString(10000, QChar(0x6a2a)), QStringLiteral("1") + QString(400, '0'),
    };
    // clang-format on
    return words;
}

bool isProgramNumber(const QString &text)
{
    const auto value = parseNumber(toU16(text));
    return value && std::isfinite(*value) && formatNumber(*value) == text.toStdString();
}

} // namespace

class MonkeyTest : public QObject
{
    Q_OBJECT

private:
    WindowWidget *m_window = nullptr;
    std::mt19937 m_random;
    quint32 m_seed = 0;
    int m_step = 0;

    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    QString where() const { return QStringLiteral("seed %1, action %2").arg(m_seed).arg(m_step); }
    template <typename T> QList<T *> all() { return m_window->findChildren<T *>(); }
    QWidget *control(int, const char *name) { return m_window->control(name); }
    QString textOfLabel(int panel, const char *name)
    {
        return static_cast<QLabel *>(control(panel, name))->text();
    }

    // Every result label shows a finite number in the program's own format.
    void checkResults()
    {
        const QString ups = textOfLabel(0, "Label31");
        bool ok = false;
        const qlonglong count = ups.toLongLong(&ok);
        QVERIFY2(ok && count >= 0 && count <= 2147483647 && QString::number(count) == ups,
                 qPrintable(where() + ": ups " + ups));
        for (auto [panel, name] : {std::pair{1, "Label9"}, {1, "Label10"}, {2, "Label18"}})
            QVERIFY2(isProgramNumber(textOfLabel(panel, name)),
                     qPrintable(where() + ": " + name + " " + textOfLabel(panel, name)));
        const char *values[] = {"Label32", "Label34", "Label35"};
        const char *bars[] = {"VScroll1", "VScroll2", "VScroll3"};
        for (int i = 0; i < 3; ++i) {
            const int value = static_cast<QScrollBar *>(control(3, bars[i]))->value();
            QVERIFY2(value >= 0 && value <= 255, qPrintable(where()));
            const QString shown = textOfLabel(3, values[i]);
            // A label shows the value of the last change; a value of 0 may never have changed.
            QVERIFY2(shown == QString::number(value), qPrintable(where() + ": " + shown));
        }
    }

    void checkBoxes(const QList<test::SeenBox> &boxes, const char *button)
    {
        QVERIFY2(boxes.size() <= 1,
                 qPrintable(where() + QStringLiteral(": %1 boxes after %2, first %3")
                                          .arg(boxes.size())
                                          .arg(QLatin1String(button), boxes.value(0).text)));
        if (boxes.isEmpty())
            return;
        const test::SeenBox &box = boxes.first();
        QCOMPARE(box.title, toQString(ErrorTitle));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QWidget *focus = m_window->focusWidget();
        QVERIFY2(focus && knownRefusal(QString::fromLatin1(button), box.text, focus->objectName()),
                 qPrintable(where() + ": " + box.text + " after " + button));
    }

    void press(QPushButton *button, const std::function<void()> &how)
    {
        const QByteArray name = button->objectName().toLatin1();
        if (qEnvironmentVariableIsSet("KORVANE_MONKEY_VERBOSE"))
            qInfo("%d press %s", m_step, name.constData());
        QElapsedTimer clock;
        clock.start();
        const QList<test::SeenBox> boxes = test::answeringBoxes(how);
        // A refusal answers with its box; a computation with its result.
        const qint64 answered = boxes.isEmpty() ? clock.elapsed() : boxes.first().shownAfterMs;
        QVERIFY2(
            answered < PressBudgetMs,
            qPrintable(where() +
                       QStringLiteral(": %1 took %2 ms").arg(QLatin1String(name)).arg(answered)));
        checkBoxes(boxes, name.constData());
    }

    void act()
    {
        static const QStringList words = vocabulary();
        auto *tabs = m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1"));
        switch (pick(10)) {
        case 0:
        case 1: { // type or paste into a text box or a drop-down's text field
            const QList<QLineEdit *> edits = all<QLineEdit>();
            QLineEdit *edit = edits[pick(int(edits.size()))];
            const QString word = words[pick(int(words.size()))];
            if (pick(4) == 0 && word.size() < 20) {
                // Typed as a key stroke carrying the text, as an input method delivers it.
                edit->setFocus();
                edit->selectAll();
                QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, word, Qt::NoModifier);
                QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, word, Qt::NoModifier);
            } else {
                edit->setText(word);
            }
            break;
        }
        case 2: { // pick an item from a drop-down
            const QList<QComboBox *> combos = all<QComboBox>();
            QComboBox *combo = combos[pick(int(combos.size()))];
            combo->setCurrentIndex(pick(combo->count()));
            break;
        }
        case 3:
        case 4:
        case 5: { // press a button
            const QList<QPushButton *> buttons = all<QPushButton>();
            QPushButton *button = buttons[pick(int(buttons.size()))];
            if (pick(2) == 0) {
                press(button, [button] { button->click(); });
            } else {
                const QPoint centre = button->rect().center();
                press(button,
                      [button, centre] { QTest::mouseClick(button, Qt::LeftButton, {}, centre); });
            }
            break;
        }
        case 6: // Alt+C, from whichever tab is in front
            m_window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_window));
            press(static_cast<QPushButton *>(control(1, "Command1")),
                  [this] { QTest::keyClick(m_window, Qt::Key_C, Qt::AltModifier); });
            break;
        case 7: // switch tabs, by click or by key
            if (pick(2) == 0) {
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(pick(5)).center());
            } else {
                tabs->setFocus();
                QTest::keyClick(tabs, pick(2) ? Qt::Key_Left : Qt::Key_Right);
            }
            break;
        default: { // move a scroll bar by key or by a click on its track or arrows
            const QList<QScrollBar *> bars = all<QScrollBar>();
            QScrollBar *bar = bars[pick(int(bars.size()))];
            if (!bar->objectName().startsWith(QLatin1String("VScroll")))
                break;
            if (pick(2) == 0) {
                const Qt::Key keys[] = {Qt::Key_Up,       Qt::Key_Down, Qt::Key_PageUp,
                                        Qt::Key_PageDown, Qt::Key_Home, Qt::Key_End};
                bar->setFocus();
                QTest::keyClick(bar, keys[pick(6)]);
            } else {
                QTest::mouseClick(bar, Qt::LeftButton, {},
                                  QPoint(bar->width() / 2, pick(bar->height())));
            }
            break;
        }
        }
    }

private slots:
    void initTestCase()
    {
        m_seed = qEnvironmentVariableIsSet("KORVANE_MONKEY_SEED")
                     ? qEnvironmentVariable("KORVANE_MONKEY_SEED").toUInt()
                     : 20261207u;
        m_random.seed(m_seed);
        qInfo("monkey seed %u", m_seed);
        m_window = new WindowWidget(mainWindow);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        // Start from valid sizes, so that presses also compute and draw.
        const char *sizes[][2] = {
            {"Text4", "1092"}, {"Text5", "787"}, {"Text6", "210"}, {"Text7", "297"}};
        for (const auto &[name, text] : sizes)
            static_cast<QLineEdit *>(control(0, name))->setText(QString::fromLatin1(text));
    }
    void cleanupTestCase() { delete m_window; }

    void survivesRandomUse()
    {
        const int actions = qEnvironmentVariableIsSet("KORVANE_MONKEY_ACTIONS")
                                ? qEnvironmentVariable("KORVANE_MONKEY_ACTIONS").toInt()
                                : 3000;
        for (m_step = 0; m_step < actions; ++m_step) {
            act();
            if (QTest::currentTestFailed())
                return;
            QVERIFY2(m_window->isVisible(), qPrintable(where()));
            QVERIFY2(!QApplication::activeModalWidget(), qPrintable(where() + ": box left open"));
            checkResults();
            if (QTest::currentTestFailed())
                return;
        }
    }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
