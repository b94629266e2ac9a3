// The rules both front ends share, in the real Qt window: the parity tables, run offscreen
// at pixel ratios 1, 1.25 and 1.5 (96, 120 and 144 dpi).
#include "common/raster.h"
#include "qt/diagramview.h"
#include "tests/cases/paritycases.h"
#include "tests/qt/errorboxwatcher.h"
#include "tests/qt/windowtest.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QtTest>

using namespace korvane;

constexpr ControlName PlannerOptions[] = {"Option51", "Option52", "Option53", "Option54"};

class ParityTest : public test::WindowTest
{
    Q_OBJECT

private:
    QWidget *widgetOf(int tab, ControlName name)
    {
        return name == "TabStrip1" ? tabs() : control(tab, name);
    }
    QString focused()
    {
        QWidget *w = QApplication::focusWidget();
        // The text field of a drop-down box stands for its box.
        if (w && qobject_cast<QComboBox *>(w->parentWidget()))
            w = w->parentWidget();
        return w ? w->objectName() : QString();
    }
    void key(int keyCode, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(keyCode), modifiers);
    }
    DiagramView *drawpic() { return control<DiagramView>(0, "drawpic"); }
    // A fresh window with `front` in front, `inputs` typed into `panel` and the focus on
    // `focus`.
    bool restart(int front, int panel, const std::vector<test::Entry> &inputs, ControlName focus)
    {
        closeWindow();
        if (!openWindow())
            return false;
        tabs()->setCurrentIndex(front);
        for (const test::Entry &input : inputs)
            enter(panel, input.control, toQString(input.text));
        widgetOf(front, focus)->setFocus();
        return true;
    }
    // What `view` should show for the drawing of `event` as its window reads it now: the
    // drawing's ink on the window colour.
    static QImage expectedPicture(const Driver &driver, const Event &event, const DiagramView &view,
                                  int dpi)
    {
        const Outcome outcome = event.handle(driver.readings(0, event.reads));
        const Raster raster = rasterise(*std::get<Update>(outcome).drawing, dpi);
        QImage expected(raster.width, raster.height, QImage::Format_RGB32);
        fillPixels(raster, view.palette().color(QPalette::Base).rgb(),
                   view.palette().color(QPalette::Text).rgb(),
                   reinterpret_cast<QRgb *>(expected.bits()),
                   std::size_t(expected.bytesPerLine()) / 4);
        return expected;
    }

private slots:
    void init() { QVERIFY(openWindow()); }
    void cleanup() { closeWindow(); }

    void controlsStandAtTheirTwips()
    {
        for (int tab = 0; tab < m_window->panelCount(); ++tab) {
            for (const ControlRow &row :
                 m_window->driver().window().tabs[std::size_t(tab)].panel->controls) {
                const QRect at = control(tab, row.name)->geometry();
                const QRect want = toQRect(row.rect);
                QVERIFY2(at.topLeft() == want.topLeft(), row.name.data());
                if (row.kind != ControlKind::AutoLabel && row.kind != ControlKind::Diagram)
                    QVERIFY2(at.size() == want.size(), row.name.data());
            }
        }
    }

    void tabGoesRoundTheFrontPanel()
    {
        for (const test::FocusCase &c : test::focusCases()) {
            tabs()->setCurrentIndex(c.tab);
            tabs()->setFocus();
            for (ControlName stop : c.stops) {
                key(Qt::Key_Tab);
                QCOMPARE(focused(), toQString(stop));
            }
            key(Qt::Key_Tab);
            QCOMPARE(focused(), QStringLiteral("TabStrip1"));
            for (auto it = c.stops.rbegin(); it != c.stops.rend(); ++it) {
                key(Qt::Key_Backtab);
                QCOMPARE(focused(), toQString(*it));
            }
        }
    }

    void tabSelectsTheTextItEnters()
    {
        for (const test::SelectCase &c : test::selectCases()) {
            tabs()->setCurrentIndex(c.tab);
            enter(c.tab, c.control, toQString(c.text));
            widgetOf(c.tab, c.from)->setFocus();
            key(Qt::Key_Tab);
            QCOMPARE(focused(), toQString(c.control));
            QWidget *box = control(c.tab, c.control);
            auto *combo = qobject_cast<QComboBox *>(box);
            auto *edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(box);
            QCOMPARE(edit->selectedText(), toQString(c.text));
        }
    }

    void accessKeysPressTheirButton()
    {
        for (const test::AccessKeyCase &c : test::accessKeyCases()) {
            QVERIFY(restart(c.front, c.panel, c.inputs, c.focus));
            const auto boxes = test::answeringBoxes(
                [&] { key(QChar(c.key).toUpper().unicode(), Qt::AltModifier); });
            QVERIFY2(boxes.size() == c.boxes, c.name.c_str());
            for (const test::Entry &result : c.results)
                QCOMPARE(textOf(c.panel, result.control), toQString(result.text));
            if (c.boxes == 0)
                QCOMPARE(focused(), toQString(c.focus));
        }
    }

    void focusStaysWhereTheUserLooks()
    {
        for (const test::FocusRuleCase &c : test::focusRuleCases()) {
            QVERIFY(restart(c.front, 1, c.inputs, c.focus));
            const QString before = textOf(c.front, c.focus);
            const auto boxes = test::answeringBoxes([&] {
                if (c.clicked >= 0)
                    QTest::mouseClick(tabs(), Qt::LeftButton, {},
                                      tabs()->tabRect(c.clicked).center());
                else
                    key(Qt::Key_C, Qt::AltModifier);
            });
            QCOMPARE(boxes.size(), c.clicked >= 0 ? 0 : 1);
            QVERIFY(QTest::qWaitForWindowActive(m_window));
            QCOMPARE(tabs()->currentIndex(), c.frontAfter);
            QCOMPARE(focused(), toQString(c.focusAfter));
            // What is typed next goes where the user sees it, or nowhere.
            QTest::keyClicks(m_window->focusWidget(), QStringLiteral("555"));
            QCOMPARE(textOf(c.front, c.focus), before);
        }
    }

    void kindsBehaveAlike()
    {
        using A = test::KindCase::Act;
        for (const test::KindCase &c : test::kindCases()) {
            closeWindow();
            QVERIFY(openWindow());
            tabs()->setCurrentIndex(c.tab);
            QWidget *target = control(c.tab, c.control);
            auto *combo = qobject_cast<QComboBox *>(target);
            auto *edit = combo ? combo->lineEdit() : qobject_cast<QLineEdit *>(target);
            auto *bar = qobject_cast<QScrollBar *>(target);
            target->setFocus();
            if (edit && c.act != A::Enter)
                edit->clear();
            switch (c.act) {
            case A::Paste:
                QGuiApplication::clipboard()->setText(toQString(c.text));
                edit->paste();
                break;
            case A::Type:
                for (QChar typed : toQString(c.text))
                    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, typed, {});
                break;
            case A::Enter:
                QTest::keyClick(edit, Qt::Key_Return);
                break;
            case A::DragThumb:
            case A::LetGo:
                bar->setSliderDown(true);
                bar->setSliderPosition(c.value);
                bar->setSliderDown(c.act == A::DragThumb);
                break;
            case A::StepDown:
            case A::PageDown:
                QTest::keyClick(bar, c.act == A::StepDown ? Qt::Key_Down : Qt::Key_PageDown);
                break;
            }
            QVERIFY2(textOf(c.tab, c.shown.control) == toQString(c.shown.text), c.name.c_str());
        }
    }

    void panelsKeepWhatTheyShow()
    {
        const test::VisitCase visits = test::visitCase();
        for (int tab : visits.pressed) {
            tabs()->setCurrentIndex(tab);
            for (const test::Entry &input : test::goodPress(tab).inputs)
                enter(tab, input.control, toQString(input.text));
            control<QPushButton>(tab, test::goodPress(tab).button)->click();
        }
        const QImage drawn = drawpic()->picture();
        for (int tab : visits.visits) {
            tabs()->setCurrentIndex(tab);
            QCOMPARE(frontPanel(), tab);
            for (int i = 0; i < m_window->panelCount(); ++i)
                QVERIFY(m_window->panel(i)->isVisible() && m_window->panel(i)->isEnabled());
        }
        QCOMPARE(drawpic()->picture(), drawn);
        // Covered and shown again, the box paints what was drawn.
        drawpic()->repaint();
        const QImage shown = drawpic()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.copy(drawn.rect()), drawn.convertToFormat(QImage::Format_RGB32));
        for (int tab : visits.pressed)
            for (const test::Entry &result : test::goodPress(tab).results)
                QCOMPARE(textOf(tab, result.control), toQString(result.text));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane"));
    }

private:
    // The planner as the user opens it, from the imposition panel.
    WindowWidget *openPlanner(const std::vector<test::Entry> &pressed, bool byShortcut)
    {
        for (const test::Entry &input : pressed)
            enter(0, input.control, toQString(input.text));
        if (!pressed.empty())
            control<QPushButton>(0, "Command6")->click();
        if (byShortcut)
            QTest::keyClick(m_window, Qt::Key_L, Qt::ControlModifier);
        else
            m_window->findChild<QAction *>(QStringLiteral("openPlanner"))->trigger();
        return m_window->findChild<WindowWidget *>(QStringLiteral("planner"));
    }
    // Typed key by key over what the box held, or picked from its list.
    static void type(WindowWidget *planner, const test::Entry &entry)
    {
        if (auto *list = qobject_cast<QComboBox *>(planner->control(entry.control))) {
            const int index = list->findText(toQString(entry.text));
            list->setCurrentIndex(index);
            emit list->activated(index);
            return;
        }
        auto *edit = planner->control<QLineEdit>(entry.control);
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, toQString(entry.text));
    }
    static QString shown(WindowWidget *planner, ControlName name)
    {
        QWidget *w = planner->control(name);
        if (auto *label = qobject_cast<QLabel *>(w))
            return label->text();
        if (auto *combo = qobject_cast<QComboBox *>(w))
            return combo->currentText();
        return planner->control<QLineEdit>(name)->text();
    }
    static int chosen(WindowWidget *planner)
    {
        for (int row = 0; row < 4; ++row)
            if (planner->control<QRadioButton>(PlannerOptions[std::size_t(row)])->isChecked())
                return row;
        return -1;
    }

private slots:
    void plannerOpensAndFollowsItsInputs()
    {
        for (const test::PlannerCase &c : test::plannerCases()) {
            closeWindow();
            QVERIFY(openWindow());
            WindowWidget *planner = openPlanner(c.pressed, c.byShortcut);
            QVERIFY2(planner && planner->isVisible() && planner->isWindow(), c.name.c_str());
            QCOMPARE(planner->windowTitle(), QStringLiteral("拼版方案"));
            for (const test::Entry &entry : c.typed)
                type(planner, entry);
            if (c.clicked >= 0)
                QTest::mouseClick(
                    planner->control<QRadioButton>(PlannerOptions[std::size_t(c.clicked)]),
                    Qt::LeftButton);
            for (const test::Entry &entry : c.shown)
                QVERIFY2(shown(planner, entry.control) == toQString(entry.text),
                         qPrintable(QString::fromStdString(c.name) + ": " +
                                    toQString(entry.control) + " " +
                                    shown(planner, entry.control)));
            QCOMPARE(chosen(planner), c.chosen);
        }
        // Opened again, the same window comes to the front.
        WindowWidget *planner = openPlanner({}, true);
        QCOMPARE(m_window->findChildren<WindowWidget *>().size(), 1);
        for (const test::Entry &fault : test::plannerFaults()) {
            const QString before = shown(planner, fault.control);
            type(planner, fault);
            QCOMPARE(shown(planner, "Label86"),
                     toQString(test::plannerFaultMessage(fault.control)));
            QCOMPARE(shown(planner, "Label61"), QStringLiteral("—"));
            type(planner, {fault.control, toU16(before)});
            QCOMPARE(shown(planner, "Label86"), QString());
        }
    }

    void plannerDiagramPixels()
    {
        int run = 0;
        for (const test::PlannerPixelCase &c : test::plannerPixelCases()) {
            if (c.dpi != drawpic()->dpi())
                continue;
            ++run;
            closeWindow();
            QVERIFY(openWindow());
            WindowWidget *planner = openPlanner({}, true);
            for (const test::Entry &entry : c.typed)
                type(planner, entry);
            const Event &redraw = planner->driver().window().tabs[0].panel->events.back();
            const auto *view = planner->control<DiagramView>("planpic");
            QVERIFY2(view->picture().convertToFormat(QImage::Format_RGB32) ==
                         expectedPicture(planner->driver(), redraw, *view, c.dpi),
                     c.name.c_str());
        }
        QVERIFY2(run > 0, "no planner diagram case at this dpi");
    }

    void screenReadersHearTheTitles()
    {
        for (const test::SpokenCase &c : test::spokenCases()) {
            QAccessibleInterface *face =
                QAccessible::queryAccessibleInterface(control(c.tab, c.control));
            // On Linux a drop-down box's name is its text; its title reaches the screen
            // reader as the label it is labelled by.
            QStringList heard = {face->text(QAccessible::Name)};
            for (const auto &relation : face->relations(QAccessible::Label))
                heard.append(relation.first->text(QAccessible::Name));
            QVERIFY2(heard.contains(toQString(c.name)), qPrintable(heard.join(QLatin1Char('|'))));
            QCOMPARE(face->text(QAccessible::Description), toQString(c.description));
        }
    }

    void panelsStartAsTheirTablesSay()
    {
        for (const test::InitialColourCase &c : test::initialColourCases()) {
            QWidget *box = control(c.tab, c.control);
            QCOMPARE(box->palette().color(QPalette::Window), colourOf(c.colour, box->palette()));
        }
        const test::BlankDiagram blank = test::blankDiagram();
        QCOMPARE(drawpic()->size(), QSize(twipsToPixels(blank.width, LogicalDpi),
                                          twipsToPixels(blank.height, LogicalDpi)));
        QImage paper(drawpic()->picture().size(), QImage::Format_RGB32);
        paper.fill(drawpic()->palette().color(QPalette::Base));
        QVERIFY(drawpic()->picture().convertToFormat(QImage::Format_RGB32) == paper);
    }

    // Exactly what the rasteriser makes of the press at the screen's dpi: ink there, paper
    // everywhere else.
    void diagramPixels()
    {
        int run = 0;
        for (const test::DiagramCase &c : test::diagramCases()) {
            if (c.dpi != drawpic()->dpi())
                continue;
            ++run;
            for (const test::Entry &input : c.inputs)
                enter(0, input.control, toQString(input.text));
            const Event &view = m_window->driver().window().tabs[0].panel->events[0];
            const QImage expected = expectedPicture(m_window->driver(), view, *drawpic(), c.dpi);
            QVERIFY(test::answeringBoxes([this] {
                        control<QPushButton>(0, "Command6")->click();
                    }).isEmpty());
            QVERIFY2(drawpic()->picture().convertToFormat(QImage::Format_RGB32) == expected,
                     c.name.c_str());
        }
        QVERIFY2(run > 0, "no diagram case at this dpi");
    }
};

QTEST_MAIN(ParityTest)
#include "parity_test.moc"
