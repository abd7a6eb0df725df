#include <QtTest>

#include <QTemporaryDir>

#include "app/ui/dialog.h"
#include "board/event_kind.h"
#include "tests/support/board_window.h"

#include <memory>

namespace {

// "KD MP EI @PI", enough to tell the records of a lesson apart.
QString Brief(const ToGroupRecord& r)
{
    return QStringLiteral("%1 %2 %3 @%4")
        .arg(r.code)
        .arg(QString::number(r.key, 'g', QLocale::FloatingPointShortest))
        .arg(r.eventId)
        .arg(r.slot);
}

QString Brief(int code, double key, int eventId, int slot)
{
    ToGroupRecord r;
    r.code = code;
    r.key = key;
    r.eventId = eventId;
    r.slot = slot;
    return Brief(r);
}

}  // namespace

class DialogEventExportTest : public BoardWindowTest
{
    Q_OBJECT

    void Drag(int slot, int kind, const QVector<QPoint>& path)
    {
        board->m_board.slot[slot].event_kind = kind;
        board->PointerPress(slot, path.first().x(), path.first().y(), true, false);
        for (int i = 1; i < path.size(); ++i)
            board->PointerMove(slot, path[i].x(), path[i].y(), true, false);
        board->PointerRelease(slot, path.last().x(), path.last().y(), true, false);
    }

    const EventMaster& LastObject(int slot) { return board->m_board.slot[slot].records.masters().last(); }

    EventDetail& DetailOf(int slot, const EventMaster& m)
    {
        return *board->m_board.slot[slot].records.findDetail(m.EventID);
    }

    // The stroke's own records, one per sample from its press to its release.
    QStringList StrokeRecords(int slot, int eventId, int moveCode)
    {
        QStringList lines;
        for (const FreePenPoint& p : board->m_board.slot[slot].allPoints) {
            if (p.EventID != eventId)
                continue;
            const int code = p.MouseAction == 1 ? 1 : (p.MouseAction == 2 ? moveCode : 4);
            lines << Brief(code, p.MediaPos, eventId, slot);
        }
        return lines;
    }

private slots:
    // A lesson drawn while the recording clock runs: a line from before the
    // recording that is moved, a free-pen stroke that is erased, a brush
    // stroke and an image.
    void recordedLessonGivesItsRecords()
    {
        Drag(1, ekLine, {QPoint(100, 100), QPoint(150, 120), QPoint(200, 150)});
        const EventMaster line = LastObject(1);

        const QString stamp = board->m_curr_note.create_data;
        board->m_rec_note_stamps << stamp;
        board->m_rec_note_index << 0;
        board->m_bRecording = true;
        board->m_rec_time.start();
        // Time 0 counts as before the recording; the lesson starts after it.
        // Objects from before the recording are written at 1 ms, so the first
        // stroke waits past that: a tie would leave their order to chance.
        QTRY_VERIFY(board->RecordingElapsedMs() >= 2.0);

        Drag(0, ekFree, {QPoint(300, 300), QPoint(310, 305), QPoint(320, 310), QPoint(330, 320)});
        const EventMaster stroke = LastObject(0);
        Drag(2, ekBrush, {QPoint(400, 100), QPoint(420, 110), QPoint(440, 130)});
        const EventMaster brush = LastObject(2);
        PointerSlotState& imageSlot = board->m_board.slot[3];
        imageSlot.event_kind = ekImage;
        imageSlot.anchor = QPoint(500, 400);
        imageSlot.current = QPoint(600, 480);
        board->CreateObjectEvent(3, 2);
        const EventMaster image = LastObject(3);
        QCOMPARE(image.Kind, int(ekImage));
        QVERIFY(stroke.MediaPos > 0 && brush.MediaPos > 0 && image.MediaPos > 0);
        QCOMPARE(line.MediaPos, -1.0);

        // The stroke is erased and the line moved, as the eraser and the
        // move record them while recording.
        const double eraseTime = image.MediaPos + 1000.25;
        const double moveTime = eraseTime + 500.0;
        EventDetail& strokeDetail = DetailOf(0, stroke);
        strokeDetail.Deleted = 1;
        strokeDetail.PageDeleted = 1;
        strokeDetail.Transparent = 128;
        const QColor strokeColour = strokeDetail.PenColor;
        ErasePoint erase;
        erase.EventID = stroke.EventID;
        erase.MediaPos = eraseTime;
        erase.EraseKind = 0;
        erase.BoundRF = strokeDetail.BoundRF;
        erase.GroupIndex = erase.GroupTotal = 1;
        board->m_board.slot[0].erasePoints.append(erase);

        EventDetail& lineDetail = DetailOf(1, line);
        lineDetail.Modified = 1;
        ModifyPoint move;
        move.EventID = line.EventID;
        move.MediaPos = moveTime;
        move.Kind = ekLine;
        move.M = lineDetail.S + QPointF(300, 0);
        move.C = lineDetail.E + QPointF(300, 0);
        move.BoundRF = lineDetail.OriginRF.translated(300, 0);
        move.PrevBoundRF = lineDetail.OriginRF;
        move.GroupIndex = move.GroupTotal = 1;
        board->m_board.slot[1].modifyPoints.append(move);
        board->m_bRecording = false;

        board->BuildToGroupRecords();
        board->SortToGroupRecords();

        QStringList expected{Brief(5, 1.0, line.EventID, 1)};
        expected << StrokeRecords(0, stroke.EventID, 3) << StrokeRecords(2, brush.EventID, 2)
                 << Brief(14, image.MediaPos, image.EventID, 3) << Brief(0, eraseTime, stroke.EventID, 0)
                 << Brief(0, moveTime, line.EventID, 1) << Brief(5, moveTime, line.EventID, 1);
        QStringList got;
        for (const ToGroupRecord& r : qAsConst(board->m_toGroupRecords))
            got << Brief(r);
        QCOMPARE(got, expected);

        const ToGroupRecord& lineRecord = board->m_toGroupRecords.first();
        QCOMPARE(QPointF(lineRecord.bx, lineRecord.by), QPointF(100, 100));
        QCOMPARE(QPointF(lineRecord.bw, lineRecord.bh), QPointF(200, 150));
        QCOMPARE(lineRecord.noteIndex, 0);
        const ToGroupRecord& strokePress = board->m_toGroupRecords[1];
        QCOMPARE(strokePress.colour.alpha(), 128);
        QCOMPARE(strokePress.transparency, 128);
        const ToGroupRecord& eraseArea = board->m_toGroupRecords[board->m_toGroupRecords.size() - 3];
        const double grow = strokeDetail.PenWidth + 1.0;
        QCOMPARE(QRectF(eraseArea.bx, eraseArea.by, eraseArea.bw, eraseArea.bh),
                 QRectF(erase.BoundRF).adjusted(-grow, -grow, grow, grow));
        QCOMPARE(board->m_toGroupRecords.last().bx, float(lineDetail.S.x() + 300));

        // The export took its colours from copies: the board is as it was.
        QCOMPARE(DetailOf(0, stroke).PenColor, strokeColour);

        QTemporaryDir folder;
        QVERIFY(board->SaveNewEventXml(folder.path()));
        QFile written(folder.path() + "/New_Event.xml");
        QVERIFY(written.open(QIODevice::ReadOnly));
        const QByteArray xml = written.readAll();
        QVERIFY(xml.contains("<Event NoteCount=\"1\" Width=\"800\" Height=\"600\">"));
        QCOMPARE(xml.count("<TO "), got.size());
        QCOMPARE(xml.count("<TO_GROUP>"), 1);

        board->ResetBoard(true);
        QVERIFY(board->m_toGroupRecords.isEmpty());
        QVERIFY(board->m_rec_distinct_stamps.isEmpty());
    }

    void unwritableFolderWritesNothing()
    {
        board->AppendToGroupRecord(0, 1.0, 1, 5, 0, 0, 1, 1, 0, 0, 1, 1, 0, Qt::red, 1, 255, 0);
        QTemporaryDir folder;
        const QString missing = folder.path() + "/gone/deeper";
        QVERIFY(!board->SaveNewEventXml(missing));
        QVERIFY(!QFile::exists(missing + "/New_Event.xml"));
    }
};

QTEST_MAIN(DialogEventExportTest)
#include "dialog_event_export_test.moc"
