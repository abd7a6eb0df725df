#include "app/ui/dialog.h"
#include "board/event_kind.h"
#include "storage/ui/noteprint.h"
#include "storage/ui/notesave.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"
#include "ui_notesave.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>
#include <memory>

// The note export and print job on the real main window: which files it
// writes and what they show, that the board and its view stay as the user
// left them, the progress it reports, the one message for what failed, and
// the printed pages.
namespace {

// The largest difference of one colour channel between two images of one size.
int WorstDifference(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return 256;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int row = 0; row < x.height(); ++row) {
        const QRgb* px = reinterpret_cast<const QRgb*>(x.constScanLine(row));
        const QRgb* py = reinterpret_cast<const QRgb*>(y.constScanLine(row));
        for (int col = 0; col < x.width(); ++col)
            worst = std::max({worst, qAbs(qRed(px[col]) - qRed(py[col])), qAbs(qGreen(px[col]) - qGreen(py[col])),
                              qAbs(qBlue(px[col]) - qBlue(py[col]))});
    }
    return worst;
}

// What the page looks like once written as a JPEG at quality 100.
QImage AsJpeg(const QImage& page)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    page.save(&buffer, "JPG", 100);
    return QImage::fromData(bytes, "JPG");
}

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// The rectangle of dark pixels of an image.
QRect DarkArea(const QImage& image)
{
    QRect area;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 100)
                area |= QRect(x, y, 1, 1);
    return area;
}

}  // namespace

class DialogNoteExportTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> root;
    std::unique_ptr<QTemporaryDir> out;
    Dialog* board = nullptr;

    void Stroke(int note, QColor colour)
    {
        PointerSlotState& s = board->m_board.slot[0];
        s.event_kind = ekFree;
        s.pen = QPen(QBrush(colour), 5 + note, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        const QPoint from(60 + 90 * note, 80 + 40 * note);
        board->PointerPress(0, from.x(), from.y(), true, false);
        for (int i = 1; i <= 30; ++i)
            board->PointerMove(0, from.x() + i * 12, from.y() + int(30 * std::sin(i * 0.4)), true, false);
        board->PointerRelease(0, from.x() + 360, from.y(), true, false);
    }

    // `count` white notes, each with a stroke of its own; the last one shown.
    void Notes(int count)
    {
        const QColor colours[] = {Qt::red, Qt::darkGreen, Qt::blue, Qt::magenta, Qt::darkCyan};
        for (int i = 0; i < count; ++i) {
            if (i > 0)
                board->CreateNotePage(1, QStringLiteral("WhiteBoard"), QString(), false);
            Stroke(i, colours[i % 5]);
        }
    }

    // The page of note `i` as the board shows it at zoom 1.0.
    QImage PageOnBoard(int i)
    {
        board->m_note_idx = i;
        board->NoteChangeWorker();
        return board->m_canvasImage.copy();
    }

    bool RunJob(const QString& target, const QString& mode, int first, int last)
    {
        QSignalSpy done(&board->m_ThreadNoteSave, &QFutureWatcher<void>::finished);
        board->NoteSavePrintOperation(target, mode, first, last);
        return Finished(done);
    }

    // A board's teardown ends the application's event loops for good, so
    // the tests wait by processing events rather than in a loop of their own.
    static bool Finished(const QSignalSpy& done)
    {
        return QTest::qWaitFor([&] { return done.count() > 0; }, 20000);
    }

    QStringList Boxes() const { return g_log.filter(QStringLiteral("message box")); }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        qInstallMessageHandler(CollectLog);
    }

    void init()
    {
        g_log.clear();
        root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(root->isValid());
        out = std::make_unique<QTemporaryDir>();
        board = new Dialog;
        board->resize(800, 600);
        board->InitBoardModel();
        board->ResetBoard(false);
        board->m_noteSave = new NoteSave(board);
        board->m_noteSave->InitNoteSave(board->m_languageFilePath, false);
        board->m_notePrint = new NotePrint(board);
        board->m_notePrint->InitNotePrint(false);
        board->ConnectSignals();
        board->show();
        QVERIFY(QTest::qWaitForWindowExposed(board));
    }

    void cleanup()
    {
        delete board;
        board = nullptr;
        out.reset();
        root.reset();
        qunsetenv("DRAVIK_PRINT_FOLDER");
    }

    void rangeWritesNumberedJpegsOfThePages()
    {
        Notes(4);
        QSignalSpy progress(board, &Dialog::SetProgress);
        const QString target = out->filePath("lesson");

        QVERIFY(RunJob(target, ".jpg", 1, 4));

        QCOMPARE(QDir(out->path()).entryList(QDir::Files),
                 QStringList({"lesson_1.jpg", "lesson_2.jpg", "lesson_3.jpg"}));
        for (int n = 1; n <= 3; ++n) {
            const QString file = out->filePath(QString("lesson_%1.jpg").arg(n));
            QCOMPARE(Run("identify", {"-format", "%Q", file}), QStringLiteral("100"));
            const int worst = WorstDifference(QImage(file), AsJpeg(PageOnBoard(n)));
            QVERIFY2(worst <= 2, qPrintable(QString("%1 differs by %2").arg(file).arg(worst)));
        }
        QVariantList texts;
        for (const QList<QVariant>& p : progress)
            texts << p[0].toString() + "|" + p[1].toString();
        QCOMPARE(texts, QVariantList({"Note Save Preparing...|0", "Note index : 1 / Total: 3|1",
                                      "Note index : 2 / Total: 3|2", "Note index : 3 / Total: 3|3"}));
        QVERIFY(Boxes().isEmpty());
    }

    // The job renders away from the board: the same page, zoom, scroll and
    // picture afterwards, also while it was zoomed in and scrolled.
    void boardStaysAsTheUserLeftIt()
    {
        Notes(3);
        board->m_note_idx = 1;
        board->NoteChangeWorker();
        board->ZoomByScale(2.0f);
        board->ui->horizontalScrollBar->setValue(150);
        board->ui->verticalScrollBar->setValue(90);
        const QString stamp = board->m_curr_note.create_data;
        const QImage view = board->m_viewImage.copy();

        QVERIFY(RunJob(out->filePath("lesson"), ".png", 0, 3));

        QCOMPARE(board->m_note_idx, 1);
        QCOMPARE(board->m_curr_note.create_data, stamp);
        QCOMPARE(board->m_zoom, 2.0);
        QCOMPARE(board->ui->horizontalScrollBar->value(), 150);
        QCOMPARE(board->ui->verticalScrollBar->value(), 90);
        QCOMPARE(board->m_viewImage, view);
        QVERIFY(board->m_liveDisplay);
        // The files are the pages at zoom 1.0, whatever the board's zoom.
        board->ZoomByScale(1.0f);
        for (int n = 1; n <= 3; ++n)
            QCOMPARE(WorstDifference(QImage(out->filePath(QString("lesson_%1.png").arg(n))), PageOnBoard(n - 1)), 0);
    }

    // Through the menu: the form opens prepared, and its OK writes the shown
    // note alone, under the name without a number, into the default folder.
    void currentNoteThroughTheForm()
    {
        Notes(2);
        board->OptNoteSave();
        NoteSave* form = board->m_noteSave;
        QVERIFY(form->isVisible());
        QCOMPARE(form->windowTitle(), QStringLiteral("Save Notes"));
        QCOMPARE(form->ui->SNotes_spinBox_Max->value(), 2);
        form->ui->pngradiobtn->click();
        QSignalSpy done(&board->m_ThreadNoteSave, &QFutureWatcher<void>::finished);
        form->ui->okbtn->click();
        QVERIFY(Finished(done));

        const QString folder = root->path() + "/Documents/Dravik/Dravik_Saved_Notes";
        QCOMPARE(QDir(folder).entryList(QDir::Files), QStringList{"noname.png"});
        QCOMPARE(WorstDifference(QImage(folder + "/noname.png"), PageOnBoard(1)), 0);
    }

    // A document page is rendered through the job's own document handle:
    // the file shows the document under the ink, and the document the board
    // has open stays open.
    void documentPageKeepsTheBoardsDocument()
    {
        const QString pdf = out->filePath("page.pdf");
        {
            QPdfWriter writer(pdf);
            writer.setResolution(72);
            writer.setPageMargins(QMarginsF());
            writer.setPageSize(QPageSize(QSizeF(300, 400), QPageSize::Point, QString(), QPageSize::ExactMatch));
            QPainter painter(&writer);
            painter.fillRect(QRectF(20, 20, 80, 80), Qt::black);
        }
        board->CreateNotePage(3, QStringLiteral("page.pdf"), pdf, false);
        Stroke(1, Qt::red);
        const int document = board->m_pdfDocument;
        const int page = board->m_pdfPage;
        QVERIFY(document != 0);
        const QImage shown = board->m_canvasImage.copy();

        QVERIFY(RunJob(out->filePath("doc"), ".png", 1, 2));

        QCOMPARE(board->m_pdfDocument, document);
        QCOMPARE(board->m_pdfPage, page);
        QCOMPARE(WorstDifference(QImage(out->filePath("doc.png")), shown), 0);
    }

    // A file that cannot be written does not stop the job; one message
    // names what is missing.
    void failedWritesAreReportedOnce()
    {
        Notes(3);
        QVERIFY(QDir(out->path()).mkdir("lesson_2.png"));
        QVERIFY(RunJob(out->filePath("lesson"), ".png", 0, 3));
        QVERIFY(QFileInfo(out->filePath("lesson_1.png")).isFile());
        QVERIFY(QFileInfo(out->filePath("lesson_3.png")).isFile());
        const QStringList boxes = Boxes();
        QCOMPARE(boxes.size(), 1);
        QVERIFY2(boxes[0].startsWith("message box warning: Save Notes | These files could not be written:"),
                 qPrintable(boxes[0]));
        QVERIFY(boxes[0].contains(out->filePath("lesson_2.png")));
        QVERIFY(!boxes[0].contains("lesson_1.png") && !boxes[0].contains("lesson_3.png"));
    }

    void printsOneLandscapeA4PerNote()
    {
        qputenv("DRAVIK_PRINT_FOLDER", out->path().toUtf8());
        Notes(3);
        QSignalSpy progress(board, &Dialog::SetProgress);
        QVERIFY(RunJob(QString(), "print", 0, 3));

        QCOMPARE(QDir(out->path()).entryList(QDir::Files),
                 QStringList({"print-1.pdf", "print-2.pdf", "print-3.pdf"}));
        const QRegularExpression pageSize("Page size:\\s+([0-9.]+) x ([0-9.]+) pts");
        for (int n = 1; n <= 3; ++n) {
            const QString info = Run("pdfinfo", {out->filePath(QString("print-%1.pdf").arg(n))});
            QVERIFY2(info.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(info));
            const QRegularExpressionMatch size = pageSize.match(info);
            QVERIFY2(size.hasMatch(), qPrintable(info));
            QCOMPARE(qRound(size.captured(1).toDouble()), 842);
            QCOMPARE(qRound(size.captured(2).toDouble()), 595);
        }
        QCOMPARE(progress.first()[0].toString(), QStringLiteral("Note Print Preparing..."));
        QVERIFY(Boxes().isEmpty());
    }

    // The page fills the paper's width or height, centred across the other.
    void printedPagesAreCentred_data()
    {
        QTest::addColumn<QSize>("page");
        QTest::addColumn<bool>("wide");
        QTest::newRow("wide page, centred vertically") << QSize(1600, 400) << true;
        QTest::newRow("portrait page, centred horizontally") << QSize(300, 600) << false;
    }

    void printedPagesAreCentred()
    {
        QFETCH(QSize, page);
        QFETCH(bool, wide);
        qputenv("DRAVIK_PRINT_FOLDER", out->path().toUtf8());
        QImage image(page, QImage::Format_RGB32);
        image.fill(Qt::black);
        board->NotePrintProcess(QString(), image);

        Run("pdftoppm", {"-r", "20", "-png", "-singlefile", out->filePath("print-1.pdf"), out->filePath("shot")});
        const QImage shot(out->filePath("shot.png"));
        QVERIFY(!shot.isNull());
        QVERIFY(shot.width() > shot.height());
        const QRect ink = DarkArea(shot);
        const int left = ink.left();
        const int right = shot.width() - 1 - ink.right();
        const int top = ink.top();
        const int bottom = shot.height() - 1 - ink.bottom();
        const QString where = QString("ink %1,%2 %3x%4 on %5x%6").arg(ink.x()).arg(ink.y()).arg(ink.width())
                                  .arg(ink.height()).arg(shot.width()).arg(shot.height());
        if (wide) {
            QVERIFY2(left <= 1 && right <= 1 && top > 10 && qAbs(top - bottom) <= 1, qPrintable(where));
        } else {
            QVERIFY2(top <= 1 && bottom <= 1 && left > 10 && qAbs(left - right) <= 1, qPrintable(where));
        }
    }

    void withoutAPrinterNothingIsPrintedAndTheUserIsTold()
    {
        Notes(2);
        QVERIFY(RunJob(QString(), "print", 0, 2));
        QCOMPARE(Boxes(),
                 QStringList{"message box warning: Print Notes | No printer is available. The notes were not printed."});
    }
};

QTEST_MAIN(DialogNoteExportTest)
#include "dialog_note_export_test.moc"
