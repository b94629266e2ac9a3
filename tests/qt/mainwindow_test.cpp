#include "tests/qt/windowtest.h"

#include <QLabel>
#include <QTabBar>
#include <QtTest>

using namespace korvane;

class MainWindowTest : public test::WindowTest
{
    Q_OBJECT

private slots:
    void init() { restart(); }

    void hasTheDesignedWindow()
    {
        QCOMPARE(m_window->objectName(), QStringLiteral("main"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Korvane"));
        QCOMPARE(m_window->size(), QSize(358, 267));
        const QList<QSize> iconSizes = m_window->windowIcon().availableSizes();
        QVERIFY(iconSizes.contains(QSize(16, 16)));
        QVERIFY(iconSizes.contains(QSize(32, 32)));

        QVERIFY(tabs());
        QCOMPARE(tabs()->geometry(), QRect(16, 16, 329, 241));
        QCOMPARE(tabs()->count(), 5);
        const QStringList captions = {"开版图", "克重换算", "书脊", "配色", "关于.."};
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(tabs()->tabText(i), captions[i]);
        QCOMPARE(tabs()->currentIndex(), 0);
    }

    void stacksFivePanelsOnTheClientRectangle()
    {
        const QList<QWidget *> panels =
            m_window->findChildren<QWidget *>(QStringLiteral("Frame1"), Qt::FindDirectChildrenOnly);
        QCOMPARE(panels.size(), 5);
        const QRect client = m_window->panel(0)->geometry();
        // Below the row of tabs, inside the strip, and large enough for every panel's content.
        QVERIFY(client.top() > tabs()->tabRect(0).bottom() + tabs()->y());
        QVERIFY(tabs()->geometry().contains(client));
        QVERIFY(client.width() * 15 >= 4695);
        QVERIFY(client.height() * 15 >= 3135);
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(m_window->panel(i)->property("index").toInt(), i);
            QCOMPARE(m_window->panel(i)->geometry(), client);
            QVERIFY(m_window->panel(i)->isVisible());
        }
        QCOMPARE(frontPanel(), 0);
    }

    void controlsStandAtTheirTwips()
    {
        for (const Tab &tab : mainWindow.tabs) {
            for (const ControlRow &row : tab.panel->controls) {
                const QRect at = control(row.name)->geometry();
                QVERIFY2(at.topLeft() == toQRect(row.rect).topLeft(), row.name.data());
                if (row.kind != ControlKind::AutoLabel && row.kind != ControlKind::Diagram)
                    QVERIFY2(at.size() == toQRect(row.rect).size(), row.name.data());
            }
        }
    }

    void resizingMovesNothing()
    {
        const QRect client = m_window->panel(0)->geometry();
        m_window->resize(600, 500);
        QTest::qWait(10);
        QCOMPARE(m_window->panel(0)->geometry(), client);
        QCOMPARE(tabs()->geometry(), QRect(16, 16, 329, 241));
    }

    void aboutPanelShowsNameVersionAndPicture()
    {
        QWidget *about = m_window->panel(4);
        auto *name = about->findChild<QLabel *>(QStringLiteral("Label49"));
        auto *version = about->findChild<QLabel *>(QStringLiteral("Label52"));
        auto *image = about->findChild<QLabel *>(QStringLiteral("Image1"));
        QVERIFY(name && version && image);
        QCOMPARE(name->text(), QStringLiteral("Korvane"));
        QCOMPARE(name->font().pointSize(), 15);
        QCOMPARE(name->font().weight(), QFont::Normal);
        QVERIFY(!name->font().italic() && !name->font().underline());
        QCOMPARE(version->text(), QStringLiteral("版本 V1.01"));
        QVERIFY(image->hasScaledContents());
        QCOMPARE(image->pixmap().size(), QSize(120, 116));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
