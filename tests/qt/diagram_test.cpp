// The diagram at the screen's pixel ratio: run once as is and once with QT_SCALE_FACTOR=2.
#include "qt/diagramview.h"

#include <QtTest>

#include <cmath>

using namespace korvane;

class DiagramTest : public QObject
{
    Q_OBJECT

private:
    // Sheet 1000 x 500, product 250 x 125: the box is 3135 x 1567.5 twips, cells
    // 783.75 x 391.875.
    static constexpr double Plen = 783.75;
    static constexpr double Pwid = 391.875;

    static int devicePixel(double twips, qreal ratio)
    {
        return int(std::floor(twips / 15 * ratio));
    }
    static GridBlock cells(std::int64_t rows, std::int64_t cols, double x = 0, bool turned = false)
    {
        return {rows, cols, x, 0, turned ? Pwid : Plen, turned ? Plen : Pwid};
    }
    static DiagramView *newView(QWidget *parent = nullptr)
    {
        return new DiagramView({Colour::Role::Window}, {Colour::Role::WindowText}, parent);
    }
    static Drawing sheet(std::vector<GridBlock> blocks)
    {
        return {"drawpic", 3135, 1567.5, std::move(blocks)};
    }

private slots:
    void linesAreOneDevicePixelWide()
    {
        QWidget window;
        DiagramView &view = *newView(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        view.draw(sheet({cells(4, 4)}));

        const qreal ratio = view.devicePixelRatioF();
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR"))
            QCOMPARE(ratio, qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        const QImage picture = view.picture();
        QCOMPARE(picture.size(), view.size() * ratio);

        const QRgb ink = view.palette().color(QPalette::Text).rgb();
        const QRgb paper = view.palette().color(QPalette::Base).rgb();
        const int row = picture.height() / 3 + 3;
        for (double x : {Plen, 2 * Plen, 3 * Plen}) {
            const int px = devicePixel(x, ratio);
            QCOMPARE(picture.pixel(px, row), ink);
            QCOMPARE(picture.pixel(px - 1, row), paper);
            QCOMPARE(picture.pixel(px + 1, row), paper);
        }
        const int column = picture.width() / 5 + 3;
        for (double y : {Pwid, 2 * Pwid, 3 * Pwid}) {
            const int py = devicePixel(y, ratio);
            QCOMPARE(picture.pixel(column, py), ink);
            QCOMPARE(picture.pixel(column, py - 1), paper);
            QCOMPARE(picture.pixel(column, py + 1), paper);
        }
        // The outermost lines stay inside the box.
        QCOMPARE(picture.pixel(picture.width() - 1, row), ink);
        QCOMPARE(picture.pixel(column, picture.height() - 1), ink);

        // Anti-aliasing would leave grey: only ink and paper.
        for (int x = 0; x < picture.width(); ++x)
            QVERIFY(picture.pixel(x, row) == ink || picture.pixel(x, row) == paper);
    }

    void blocksAccumulateUntilTheNextDrawing()
    {
        std::unique_ptr<DiagramView> view(newView());
        view->draw(sheet({}));
        const QImage empty = view->picture();
        view->draw(sheet({cells(0, 3, 0, true)}));
        QCOMPARE(view->picture(), empty);
        view->draw(sheet({cells(0, 3, 0, true), cells(1, 1)}));
        const QImage one = view->picture();
        QVERIFY(one != empty);
        view->draw(sheet({cells(0, 3, 0, true), cells(1, 1), cells(1, 1, Plen, true)}));
        QVERIFY(view->picture() != one);
        view->draw(sheet({}));
        QCOMPARE(view->picture(), empty);
    }

    void survivesRepainting()
    {
        QWidget window;
        DiagramView &view = *newView(&window);
        view.draw(sheet({cells(2, 2)}));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage drawn = view.picture();
        window.hide();
        window.show();
        view.repaint();
        QCOMPARE(view.picture(), drawn);
        QImage shown = view.grab().toImage().convertToFormat(QImage::Format_RGB32);
        shown.setDevicePixelRatio(1);
        QCOMPARE(shown, drawn.convertToFormat(QImage::Format_RGB32));
    }
};

QTEST_MAIN(DiagramTest)
#include "diagram_test.moc"
