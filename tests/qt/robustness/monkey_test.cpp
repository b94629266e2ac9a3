// Thousands of random user actions on the real window: typing anything into every input,
// picking from the drop-downs, pressing every button and Alt+C, switching tabs, moving the
// scroll bars by keys and clicks, answering every message box. After each action the window
// must still make sense. Reproducible: KORVANE_MONKEY_SEED and KORVANE_MONKEY_ACTIONS set
// the seed and the length; a failure names the seed and the action.
#include "app/mainwindow.h"
#include "qt/convert.h"
#include "qt/windowwidget.h"
#include "tests/cases/monkeycases.h"
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

    void checkResults()
    {
        const std::string problem = test::checkShown(
            [this](ControlName name) { return toU16(m_window->control<QLabel>(name)->text()); },
            [this](ControlName name) { return m_window->control<QScrollBar>(name)->value(); });
        QVERIFY2(problem.empty(), qPrintable(where() + ": " + QString::fromStdString(problem)));
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
        QVERIFY2(focus &&
                     test::knownRefusal(button, toU16(box.text), focus->objectName().toStdString()),
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
        const auto &texts = test::monkeyTexts();
        auto *tabs = m_window->findChild<QTabBar *>(QStringLiteral("TabStrip1"));
        const auto &actions = test::monkeyActions();
        switch (actions[std::size_t(pick(int(actions.size())))]) {
        case test::MonkeyAction::Type: { // typed or pasted into a text box or a drop-down
            const QList<QLineEdit *> edits = all<QLineEdit>();
            QLineEdit *edit = edits[pick(int(edits.size()))];
            const QString word = toQString(texts[std::size_t(pick(int(texts.size())))]);
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
        case test::MonkeyAction::Pick: {
            const QList<QComboBox *> combos = all<QComboBox>();
            QComboBox *combo = combos[pick(int(combos.size()))];
            combo->setCurrentIndex(pick(combo->count()));
            break;
        }
        case test::MonkeyAction::Press: {
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
        case test::MonkeyAction::AltC:
            m_window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(m_window));
            press(static_cast<QPushButton *>(control(1, "Command1")),
                  [this] { QTest::keyClick(m_window, Qt::Key_C, Qt::AltModifier); });
            break;
        case test::MonkeyAction::SwitchTab:
            if (pick(2) == 0) {
                QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(pick(5)).center());
            } else {
                tabs->setFocus();
                QTest::keyClick(tabs, pick(2) ? Qt::Key_Left : Qt::Key_Right);
            }
            break;
        case test::MonkeyAction::Scroll: {
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
        m_seed = test::monkeySeed();
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
        const int actions = test::monkeyLength();
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
