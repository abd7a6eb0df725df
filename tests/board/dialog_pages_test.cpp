#include <QtTest>

#include <QDir>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <QScrollBar>
#include <QSet>

#include "app/ui/dialog.h"
#include "tests/support/board_window.h"
#include "ui_dialog.h"

#include <memory>

// The note pages of the main window: creating, showing, deleting and
// resetting pages, the page backgrounds and the zoomed view.
class DialogPagesTest : public BoardWindowTest
{
    Q_OBJECT

    static bool IsInk(QRgb pixel) { return qRed(pixel) > 150 && qGreen(pixel) < 90 && qBlue(pixel) < 90; }

    static int InkIn(const QImage& image, QRect r)
    {
        int n = 0;
        r = r.intersected(image.rect());
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x)
                n += IsInk(image.pixel(x, y)) ? 1 : 0;
        return n;
    }

    void Stroke(QPoint from, QPoint to)
    {
        board->m_board.slot[0].pen = QPen(QBrush(QColor(220, 0, 0)), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        board->PointerPress(0, from.x(), from.y(), true, false);
        for (int i = 1; i <= 20; ++i) {
            const QPoint p = from + (to - from) * i / 20;
            board->PointerMove(0, p.x(), p.y(), true, false);
        }
        board->PointerRelease(0, to.x(), to.y(), true, false);
    }

    QString Label() const { return board->ui->notelistLabel->text(); }

    QStringList Stamps() const
    {
        QStringList stamps;
        for (const NoteInfo& note : board->m_note_list)
            stamps << note.create_data;
        return stamps;
    }

    // Pages 1..count, page `current` (0-based) shown.
    void MakePages(int count, int current)
    {
        for (int i = 1; i < count; ++i)
            board->CreateNotePage(1, "WhiteBoard", "", false);
        board->SaveCurrentNoteImage(true);
        board->m_note_idx = current;
        board->NoteChangeWorker();
    }

private slots:
    void init()
    {
        BoardWindowTest::init();
        if (QTest::currentTestFailed())
            return;
        // The form's scroll bars reach the board through the window's table.
        board->ConnectSignals();
    }

    void startsOnOneBlankWhitePage()
    {
        QCOMPARE(board->m_note_list.size(), 1);
        const NoteInfo page = board->m_note_list.first();
        QCOMPARE(page.name, QStringLiteral("WhiteBoard"));
        QCOMPARE(page.type, 1);
        QCOMPARE(page.create_data.size(), 17);
        QCOMPARE(page.imagePath, board->m_workFolder + page.create_data + ".jpg");
        QVERIFY(QFileInfo::exists(page.imagePath));
        QCOMPARE(Label(), QStringLiteral("1/1"));
        QCOMPARE(board->m_viewImage.size(), QSize(800, 600));
        QCOMPARE(QColor(board->m_viewImage.pixel(400, 300)), QColor(Qt::white));
    }

    void newPageGoesAfterCurrentAndHasItsOwnImage()
    {
        board->CreateNotePage(1, "BlackBoard", "", false);
        MakePages(4, 2);
        QCOMPARE(Label(), QStringLiteral("3/5"));
        const QStringList before = Stamps();

        board->CreateNotePage(1, "WhiteBoard", "", false);
        QCOMPARE(Label(), QStringLiteral("4/6"));
        QCOMPARE(board->m_note_idx, 3);
        QCOMPARE(Stamps().mid(0, 3), before.mid(0, 3));
        QCOMPARE(Stamps().mid(4), before.mid(3));
        const NoteInfo made = board->m_note_list.at(3);
        QVERIFY(QRegularExpression("^\\d{17}$").match(made.create_data).hasMatch());
        QVERIFY(QFileInfo::exists(board->m_workFolder + made.create_data + ".jpg"));

        // The file of a white page made while a black page was current is white.
        board->m_note_idx = 1;
        board->NoteChangeWorker();
        QCOMPARE(board->m_curr_note.name, QStringLiteral("BlackBoard"));
        board->CreateNotePage(1, "WhiteBoard", "", false);
        const QImage file(board->m_curr_note.imagePath);
        QVERIFY(!file.isNull());
        QVERIFY(qGray(file.pixel(400, 300)) > 240);
    }

    void pagesMadeInATightLoopAreDistinct()
    {
        for (int i = 0; i < 50; ++i)
            board->CreateNotePage(1, "WhiteBoard", "", false);
        const QStringList stamps = Stamps();
        QCOMPARE(stamps.size(), 51);
        QCOMPARE(QSet<QString>(stamps.begin(), stamps.end()).size(), 51);
        for (const QString& stamp : stamps)
            QVERIFY(QFileInfo::exists(board->m_workFolder + stamp + ".jpg"));
    }

    void deletingSettlesTheCurrentPage()
    {
        MakePages(4, 3);
        QStringList stamps = Stamps();
        // The current last page: the one before is shown.
        board->m_note_list.removeAt(3);
        board->DeleteNote(stamps[3]);
        QCOMPARE(board->m_curr_note.create_data, stamps[2]);
        QCOMPARE(Label(), QStringLiteral("3/3"));

        // A current middle page: its successor is shown.
        board->m_note_idx = 1;
        board->NoteChangeWorker();
        board->m_note_list.removeAt(1);
        board->DeleteNote(stamps[1]);
        QCOMPARE(board->m_curr_note.create_data, stamps[2]);
        QCOMPARE(Label(), QStringLiteral("2/2"));

        // Another page: the current one stays.
        board->m_note_list.removeAt(0);
        board->DeleteNote(stamps[0]);
        QCOMPARE(board->m_curr_note.create_data, stamps[2]);
        QCOMPARE(Label(), QStringLiteral("1/1"));

        // The only page: a blank white page takes its place.
        Stroke(QPoint(100, 100), QPoint(300, 100));
        board->m_note_list.clear();
        board->DeleteNote(stamps[2]);
        QCOMPARE(board->m_note_list.size(), 1);
        QCOMPARE(board->m_curr_note.name, QStringLiteral("WhiteBoard"));
        QVERIFY(board->m_curr_note.create_data != stamps[2]);
        QCOMPARE(Label(), QStringLiteral("1/1"));
        QCOMPARE(InkIn(board->m_viewImage, QRect(90, 90, 220, 20)), 0);
        QVERIFY(board->m_board.slot[0].records.details().first().Deleted);
    }

    void fullResetLeavesOneEmptyPage()
    {
        MakePages(3, 1);
        Stroke(QPoint(100, 100), QPoint(300, 200));
        QVERIFY(board->m_board.slot[0].nextEventId > 0);
        QVERIFY(!board->m_undo.URList.isEmpty());
        QFile stray(board->m_workFolder + "stray.txt");
        QVERIFY(stray.open(QIODevice::WriteOnly));
        stray.close();

        board->ResetBoard(true);
        QCOMPARE(board->m_note_list.size(), 1);
        for (const PointerSlotState& s : board->m_board.slot) {
            QCOMPARE(s.nextEventId, 0);
            QVERIFY(s.records.masters().isEmpty());
        }
        QVERIFY(board->m_undo.URList.isEmpty());
        QVERIFY(QDir(board->m_workFolder).exists());
        QCOMPARE(QDir(board->m_workFolder).entryList(QDir::Files),
                 QStringList{board->m_curr_note.create_data + ".jpg"});
        // The blank page's file is blank, not the page that was reset away.
        const QImage file(board->m_curr_note.imagePath);
        QVERIFY(!file.isNull());
        QCOMPARE(InkIn(file, QRect(90, 90, 220, 120)), 0);
        QCOMPARE(Label(), QStringLiteral("1/1"));
    }

    // A partial reset (a peer's) adds a blank page and shows it; the pages
    // there were stay, with their objects.
    void partialResetKeepsThePages()
    {
        MakePages(3, 0);
        Stroke(QPoint(100, 100), QPoint(300, 200));
        const QStringList before = Stamps();

        board->ResetBoard(false);
        QCOMPARE(board->m_note_list.size(), 4);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(board->m_note_list.at(i).create_data, before.at(i));
        QCOMPARE(board->m_note_idx, 3);
        QCOMPARE(board->m_note_cnt, 4);
        QCOMPARE(board->m_curr_note.create_data, board->m_note_list.last().create_data);
        QCOMPARE(board->m_board.slot[0].records.masters().size(), 1);
        QCOMPARE(Label(), QStringLiteral("4/4"));

        // Going back shows the first page with its stroke.
        board->m_note_idx = 0;
        board->NoteChangeWorker();
        QCOMPARE(board->m_curr_note.create_data, before.first());
        QVERIFY(InkIn(board->m_viewImage, QRect(190, 140, 20, 20)) > 0);
    }

    void objectsStayOnTheirPage()
    {
        Stroke(QPoint(100, 100), QPoint(300, 100));
        QVERIFY(InkIn(board->m_viewImage, QRect(190, 90, 20, 20)) > 0);
        const QString first = board->m_curr_note.create_data;
        board->CreateNotePage(1, "GraphNote", "", false);
        QCOMPARE(InkIn(board->m_viewImage, QRect(190, 90, 20, 20)), 0);
        board->RedrawPageObjects(true);
        QCOMPARE(InkIn(board->m_viewImage, QRect(190, 90, 20, 20)), 0);

        board->SaveCurrentNoteImage(true);
        board->m_note_idx = 0;
        board->NoteChangeWorker();
        QCOMPARE(board->m_curr_note.create_data, first);
        QVERIFY(InkIn(board->m_viewImage, QRect(190, 90, 20, 20)) > 0);
    }

    void redrawingAllPagesRewritesOnlyWhiteBoards()
    {
        Stroke(QPoint(100, 100), QPoint(300, 100));
        const NoteInfo white = board->m_curr_note;
        board->CreateNotePage(1, "MusicNote", "", false);
        Stroke(QPoint(100, 400), QPoint(300, 400));
        board->SaveCurrentNoteImage(true);
        const NoteInfo music = board->m_curr_note;
        const QImage musicBefore(music.imagePath);

        // A new board colour: the white board's file shows it with its ink.
        board->m_boardFillColor = QColor(255, 255, 0);
        board->RedrawAllPages();
        const QImage whiteFile(white.imagePath);
        QVERIFY(!whiteFile.isNull());
        const QColor fill = whiteFile.pixel(600, 500);
        QVERIFY(fill.red() > 230 && fill.green() > 230 && fill.blue() < 40);
        QVERIFY(InkIn(whiteFile, QRect(190, 90, 20, 20)) > 0);
        QCOMPARE(InkIn(whiteFile, QRect(190, 390, 20, 20)), 0);
        QCOMPARE(QImage(music.imagePath), musicBefore);
        // The page shown before is shown again.
        QCOMPARE(board->m_curr_note.create_data, music.create_data);
    }

    void boardsAndPapersShowTheirBackground()
    {
        board->CreateNotePage(1, "BlackBoard", "", false);
        QCOMPARE(QColor(board->m_viewImage.pixel(400, 300)), QColor(25, 74, 57));
        board->CreateNotePage(1, "MusicNote", "", false);
        QCOMPARE(board->m_curr_note.path, board->m_paperFolder + "MusicNote.pdf");
        int ruled = 0;
        for (int y = 0; y < 600; ++y)
            ruled += qGray(board->m_viewImage.pixel(400, y)) < 160 ? 1 : 0;
        QVERIFY2(ruled >= 20, qPrintable(QString::number(ruled)));
    }

    void zoomKeepsInkOnThePage()
    {
        Stroke(QPoint(300, 300), QPoint(500, 300));
        board->ZoomByScale(2.0f);
        QCOMPARE(board->m_zoom, 2.0);
        QScrollBar* h = board->ui->horizontalScrollBar;
        QScrollBar* v = board->ui->verticalScrollBar;
        QVERIFY(!h->isHidden() && !v->isHidden());
        QCOMPARE(h->maximum(), 800);
        QCOMPARE(v->maximum(), 600);
        QCOMPARE(h->value(), 400);
        QCOMPARE(v->value(), 300);
        // Document (400, 300) lies at 2 x 400 - 400 = 400, 2 x 300 - 300 = 300.
        QVERIFY(InkIn(board->m_viewImage, QRect(395, 295, 10, 10)) > 0);
        QCOMPARE(InkIn(board->m_viewImage, QRect(395, 200, 10, 10)), 0);

        // Every move of a bar shows its part of the page at once.
        for (int value = 390; value >= 100; value -= 10)
            h->setValue(value);
        v->setValue(0);
        QVERIFY(InkIn(board->m_viewImage, QRect(695, 595, 10, 5)) > 0);
        QCOMPARE(InkIn(board->m_viewImage, QRect(395, 295, 10, 10)), 0);

        // A new stroke on the zoomed page lands in document coordinates and
        // stays in place when the page is shown at 100 % again.
        Stroke(QPoint(200, 100), QPoint(300, 100));
        board->ZoomByScale(1.0f);
        QVERIFY(h->isHidden() && v->isHidden());
        QVERIFY(InkIn(board->m_viewImage, QRect(145, 45, 10, 10)) > 0);
        QVERIFY(InkIn(board->m_viewImage, QRect(395, 295, 10, 10)) > 0);
    }

    void recordingNotesPageChangesAndZooms()
    {
        board->m_bRecording = true;
        board->m_rec_time.start();
        const QString first = board->m_curr_note.create_data;
        board->CreateNotePage(1, "WhiteBoard", "", false);
        const QString second = board->m_curr_note.create_data;
        board->m_note_idx = 0;
        board->NoteChangeWorker();
        board->m_recordZoom = true;
        board->ZoomByScale(2.0f);
        board->m_bRecording = false;

        // Each change is entered in slot 0 under the page it leaves or zooms.
        const QVector<EventMaster>& masters = board->m_board.slot[0].records.masters();
        QCOMPARE(masters.size(), 3);
        const int kinds[3] = {ekNoteChange, ekNoteChange, ekZoom};
        const QString pages[3] = {first, second, first};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(masters[i].EventID, quint16(i));
            QCOMPARE(masters[i].Kind, kinds[i]);
            QCOMPARE(masters[i].NoteName, pages[i]);
            QCOMPARE(masters[i].StrData, kNoMediaIndex);
            QVERIFY(masters[i].MediaPos >= 0.0);
        }
        QCOMPARE(masters[0].SCale, 1.0);
        QCOMPARE(masters[2].SCale, 2.0);
        QCOMPARE(masters[2].HScroll, quint16(400));
        QCOMPARE(masters[2].VScroll, quint16(300));
        QCOMPARE(board->m_board.slot[0].nextEventId, 3);
    }

    void documentPageFitsHeightAndZoomsAligned()
    {
        if (!board->m_pdfRendererBound)
            QSKIP("the PDF renderer library is not built beside the tests");
        QTemporaryDir dir;
        const QString pdf = dir.filePath("a4.pdf");
        {
            QPdfWriter writer(pdf);
            writer.setPageSize(QPageSize(QPageSize::A4));
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            QPainter painter(&writer);
            painter.fillRect(QRect(0, 0, writer.width(), writer.height()), QColor(0, 0, 200));
        }
        board->CreateNotePage(3, "a4.pdf", pdf, false);
        QCOMPARE(board->m_curr_note.width, 595);
        QCOMPARE(board->m_curr_note.height, 842);
        // Fitted by height into the 800 x 600 board and centred across.
        QRect page;
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x)
                if (qBlue(board->m_viewImage.pixel(x, y)) > 150 && qRed(board->m_viewImage.pixel(x, y)) < 60)
                    page |= QRect(x, y, 1, 1);
        QVERIFY2(page.top() <= 1 && page.bottom() >= 598, qPrintable(QString("%1 %2").arg(page.top()).arg(page.bottom())));
        QVERIFY(qAbs(page.width() - 600 * 595 / 842) <= 2);
        QVERIFY(qAbs(page.left() - (800 - page.right() - 1)) <= 2);

        Stroke(QPoint(400, 300), QPoint(420, 300));
        board->ZoomByScale(2.0f);
        QVERIFY(!board->ui->horizontalScrollBar->isHidden() && !board->ui->verticalScrollBar->isHidden());
        // Document (410, 300) at zoom 2 with the view centred lies at (420, 300).
        QVERIFY(InkIn(board->m_viewImage, QRect(415, 295, 10, 10)) > 0);
        const QColor around = board->m_viewImage.pixel(420, 330);
        QVERIFY(around.blue() > 150 && around.red() < 60);
    }

    void previewsOnAZoomedPageLeaveNoGhosts()
    {
        Stroke(QPoint(60, 100), QPoint(140, 100));
        board->ZoomByScale(2.0f);
        QCOMPARE(board->ui->horizontalScrollBar->value(), 400);
        // The stroke lies off screen now; a figure preview dragged across where
        // it would lie unscrolled must not bring it back.
        board->m_board.slot[0].event_kind = ekRect;
        board->PointerPress(0, 100, 100, true, false);
        for (int i = 1; i <= 10; ++i)
            board->PointerMove(0, 100 + i * 20, 100 + i * 20, true, false);
        for (int i = 1; i <= 10; ++i)
            board->PointerMove(0, 300 - i * 15, 300 - i * 15, true, false);
        board->PointerRelease(0, 150, 150, true, false);
        QCOMPARE(InkIn(board->m_viewImage, QRect(110, 190, 180, 20)), 0);
        QVERIFY(InkIn(board->m_viewImage, QRect(95, 95, 60, 60)) > 0);
    }

    void narrowZoomRectangleIsRefused()
    {
        board->ZoomToRect(100, 100, 150, 300);
        QCOMPARE(board->m_zoom, 1.0);
        board->ZoomToRect(100, 100, 500, 300);
        QCOMPARE(board->m_zoom, 2.0);
        QCOMPARE(board->ui->verticalScrollBar->value(), 200);
        QCOMPARE(board->ui->horizontalScrollBar->value(), 200);
    }
};

QTEST_MAIN(DialogPagesTest)
#include "dialog_pages_test.moc"
