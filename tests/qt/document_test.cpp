// The diagram leaving the real Qt window: the commands' actions and when they run, the
// clipboard's three forms, saving through the dialog (a folder with a Chinese name, the
// overwrite question, a folder that cannot be written), and printing to a PDF file.
#include "common/document.h"
#include "qt/documentio.h"
#include "tests/cases/documentcases.h"
#include "tests/qt/windowtest.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFileDialog>
#include <QMimeData>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace korvane;

class DocumentTest : public test::WindowTest
{
    Q_OBJECT

private:
    QAction *action(const char *id) { return m_window->findChild<QAction *>(QLatin1String(id)); }
    void press(const std::vector<test::Entry> &inputs)
    {
        for (const test::Entry &input : inputs)
            paste(input.control, input.text);
        click("Command6");
    }
    const Document &last() { return *m_window->driver().document(0); }
    // Saves through the dialog, typing each of `typed` into one dialog in turn (an empty one
    // takes the name proposed); a question whether to replace a file is answered yes. Returns
    // the boxes seen, questions included, and counts the dialogs.
    std::vector<test::SeenBox> saveAs(const QStringList &typed, int *dialogs = nullptr)
    {
        std::vector<test::SeenBox> boxes;
        int opened = 0;
        QTimer answer;
        answer.setInterval(5);
        connect(&answer, &QTimer::timeout, [&] {
            QWidget *modal = QApplication::activeModalWidget();
            if (auto *dialog = qobject_cast<QFileDialog *>(modal)) {
                if (dialog->property("answered").toBool())
                    return;
                dialog->setProperty("answered", true);
                if (!typed.value(opened).isEmpty())
                    dialog->selectFile(typed.value(opened));
                ++opened;
                // Later: the dialog's own question comes while this timer's call would last.
                QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
            } else if (auto *box = qobject_cast<QMessageBox *>(modal)) {
                boxes.push_back(test::seenBox(*box));
                QMetaObject::invokeMethod(
                    box->button(box->button(QMessageBox::Yes) ? QMessageBox::Yes : QMessageBox::Ok),
                    "click", Qt::QueuedConnection);
            }
        });
        answer.start();
        action("saveDiagram")->trigger();
        if (dialogs)
            *dialogs = opened;
        return boxes;
    }

private slots:
    void init() { restart(); }

    void commandsActOnTheLastPlan()
    {
        const struct
        {
            const char *id;
            const char *keys;
        } commands[] = {{"copyDiagram", "\tCtrl+Shift+C"},
                        {"saveDiagram", "\tCtrl+S"},
                        {"printDiagram", "\tCtrl+P"}};
        for (const auto &c : commands) {
            QVERIFY2(action(c.id), c.id);
            // The menu shows the shortcut; the driver takes its key.
            QVERIFY(action(c.id)->text().endsWith(QLatin1String(c.keys)));
            QVERIFY(action(c.id)->shortcut().isEmpty());
            QVERIFY(control("drawpic")->actions().contains(action(c.id)));
            QVERIFY(!action(c.id)->isEnabled());
        }
        // The actions follow the driver's rules; the shortcut reaches them from the window.
        const test::DocumentCase &first = test::documentCases().front();
        press(first.inputs);
        QVERIFY(action("copyDiagram")->isEnabled());
        QCOMPARE(control("drawpic")->toolTip(), toQString(first.jobLine));
        focus("Text4");
        key({test::Key::Code::Character, u'C', true, true});
        QCOMPARE(QGuiApplication::clipboard()->text(), toQString(first.jobLine));
        clickTab(2);
        QVERIFY(!action("copyDiagram")->isEnabled());
    }

    void copyPutsThreeFormsOnTheClipboard()
    {
        for (const test::DocumentCase &c : test::documentCases()) {
            press(c.inputs);
            action("copyDiagram")->trigger();
            const QMimeData *data = QGuiApplication::clipboard()->mimeData();
            QCOMPARE(data->text(), toQString(c.jobLine));
            QCOMPARE(data->data(QStringLiteral("image/svg+xml")),
                     QByteArray::fromStdString(toSvg(last(), mainWindow.font.face)));
            // The sheet exactly as the rasteriser draws it at four times 96 dpi, black on white.
            const QImage picture = qvariant_cast<QImage>(data->imageData());
            const Raster sheet = rasterise(last().drawing, PictureLayout::Dpi);
            QCOMPARE(picture.width(), sheet.width);
            QVERIFY(picture.height() > sheet.height);
            QImage expected(sheet.width, sheet.height, QImage::Format_RGB32);
            expected.fill(Qt::white);
            QPainter painter(&expected);
            for (const PixelRect &r : sheet.ink)
                painter.fillRect(r.x, r.y, r.width, r.height, Qt::black);
            painter.end();
            QVERIFY2(picture.copy(0, 0, sheet.width, sheet.height)
                             .convertToFormat(QImage::Format_RGB32) == expected,
                     c.name.c_str());
        }
    }

    void savesWholeFilesIntoAChineseFolder()
    {
        QTemporaryDir scratch;
        const QString folder = scratch.filePath(QStringLiteral("客户 拼版"));
        QVERIFY(QDir().mkpath(folder));
        press(test::documentCases().front().inputs);
        const QString png = folder + QStringLiteral("/拼版图.png");
        QVERIFY(saveAs({png}).empty());
        QCOMPARE(QImage(png).size(), renderPicture(last(), mainWindow.font).size());
        QVERIFY(saveAs({folder + QStringLiteral("/拼版图.svg")}).empty());
        QFile svg(folder + QStringLiteral("/拼版图.svg"));
        QVERIFY(svg.open(QIODevice::ReadOnly));
        QCOMPARE(svg.readAll().toStdString(), toSvg(last(), mainWindow.font.face));
        // Saved again over the picture: the dialog asks first, and the file is replaced.
        press(test::documentCases()[3].inputs);
        QCOMPARE(saveAs({png}).size(), 1u);
        QCOMPARE(QImage(png).size(), renderPicture(last(), mainWindow.font).size());
        // "a.txt" with PNG chosen is a.txt.png: where that file exists, the dialog is shown
        // again for it, and asks, before it is replaced.
        QFile old(folder + QStringLiteral("/a.txt.png"));
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        int dialogs = 0;
        QCOMPARE(saveAs({folder + QStringLiteral("/a.txt"), {}}, &dialogs).size(), 1u);
        QCOMPARE(dialogs, 2);
        QCOMPARE(QImage(old.fileName()).size(), renderPicture(last(), mainWindow.font).size());
        QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 3);
    }

    void failedSavesLeaveNothingBehind()
    {
        QTemporaryDir scratch;
        const QString locked = scratch.filePath(QStringLiteral("只读"));
        QVERIFY(QDir().mkpath(locked));
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
        QFile probe(locked + QStringLiteral("/probe"));
        QVERIFY2(!probe.open(QIODevice::WriteOnly), "the folder can be written: run without "
                                                    "the right to override permissions");
        QFile plain(scratch.filePath(QStringLiteral("一个文件")));
        QVERIFY(plain.open(QIODevice::WriteOnly));
        plain.close();
        press(test::documentCases().front().inputs);
        // A read-only folder, and a folder that is a file.
        for (const QString &path : {locked + QStringLiteral("/拼版图.png"),
                                    plain.fileName() + QStringLiteral("/拼版图.svg")}) {
            const std::vector<test::SeenBox> boxes = saveAs({path});
            QCOMPARE(boxes.size(), 1u);
            QVERIFY(boxes[0].title == ErrorTitle && boxes[0].stopAndOk);
            const QString text = toQString(boxes[0].text);
            QVERIFY2(text.startsWith(QStringLiteral("无法保存文件：") + path + '\n'),
                     qPrintable(text));
            QVERIFY(text.size() > QStringLiteral("无法保存文件：\n").size() + path.size());
        }
        QCOMPARE(QDir(locked).entryList(QDir::Files | QDir::Hidden).size(), 0);
        QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void printsToAPdfFile()
    {
        QTemporaryDir scratch;
        press(test::documentCases().front().inputs);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(scratch.filePath(QStringLiteral("拼版图.pdf")));
        QVERIFY(renderPage(printer, last(), mainWindow.font));
        QProcess text;
        text.start(QStringLiteral("pdftotext"), {printer.outputFileName(), QStringLiteral("-")});
        QVERIFY(text.waitForFinished());
        // Qt names some glyphs by the Kangxi radicals they share with ideographs (⼤ for 大).
        const QString printed = QString::fromUtf8(text.readAllStandardOutput())
                                    .normalized(QString::NormalizationForm_KC);
        QVERIFY2(printed.contains(toQString(test::documentCases().front().jobLine)
                                      .normalized(QString::NormalizationForm_KC)),
                 qPrintable(printed));
        // Cancel prints nothing, and the window goes on.
        QTimer::singleShot(50, [] {
            if (auto *dialog = qobject_cast<QPrintDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        action("printDiagram")->trigger();
        QVERIFY(action("printDiagram")->isEnabled());
    }
};

QTEST_MAIN(DocumentTest)
#include "document_test.moc"
