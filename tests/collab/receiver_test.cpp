// The receiver on a real window: frames from a test peer read by the
// window's own reader and carried out on its board. Strokes and their
// scaling, pens, levels and rights, pages, scroll bars, undo requests,
// object edits and received files.
#include "app/ui/dialog.h"
#include "collab/coll_messages.h"
#include "collab/file_transfer.h"
#include "collab/ui/colluserlistdlg.h"
#include "tests/support/debug_log.h"
#include "tests/support/dialog_fixture.h"
#include "tests/support/session_tap.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QDirIterator>
#include <QLabel>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>

#include <functional>
#include <memory>

using BoardCall = std::function<void(Dialog&)>;
Q_DECLARE_METATYPE(BoardCall)

namespace {

const QByteArray kHost = "[Teacher]_192.0.2.1";
const QByteArray kPupil = "[Pupil]_192.0.2.7";

QByteArray Chunked(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 37 + (i >> 9));
    return bytes;
}

QStringList FilesBelow(const QString& root)
{
    QStringList files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

// Whether the window asked for the received image to be put on the page.
// Only the stand-in of the image object is here: it leaves one line.
// Whether a received picture became an image object on the viewer's own
// slot, kept at `path` (any path when empty).
bool ImagePlaced(const Dialog& d, const QString& path)
{
    for (const EventMaster& em : d.m_board.slot[kMouseOverflowSlot].records.masters()) {
        if (em.Kind == ekImage && em.StrData < d.m_mediaFiles.size()
            && (path.isEmpty() || d.m_mediaFiles.at(em.StrData) == path))
            return true;
    }
    return false;
}

// A picture of noise, so its PNG spans several chunks.
QByteArray NoisePng(int w, int h)
{
    QImage picture(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            picture.setPixel(x, y, qRgb((x * 97 + y * 31) & 255, (x * y) & 255, (x ^ y) * 13 & 255));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return png;
}

int LiveObjects(const Dialog& d, int slot)
{
    int count = 0;
    for (const EventDetail& ed : d.m_board.slot[slot].records.details())
        count += ed.Deleted ? 0 : 1;
    return count;
}

}  // namespace

class ReceiverTest : public DialogTestBase
{
    Q_OBJECT

    std::unique_ptr<SessionTap> tap;

    // Starts a session at `level` and sets every slot to the free pen.
    void Join(int level)
    {
        tap = std::make_unique<SessionTap>(board.get(), level);
        QVERIFY(tap->ok());
        board->m_ownId = QString::fromUtf8(level == 3 ? kHost : kPupil);
        if (level == 3)
            HostWithWriter();
        for (PointerSlotState& s : board->m_board.slot) {
            s.event_kind = ekFree;
            s.m_curr_drawbtn = QStringLiteral("ekFree");
        }
    }

    // One frame through the window's reader, handled before this returns.
    void Deliver(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail = coll::kBlockEnd)
    {
        tap->Deliver(keyword, data, tail);
    }

    // The host's side of a session where the pupil holds the write right
    // and the host the tool right.
    void HostWithWriter()
    {
        board->m_session.hostId = QString::fromUtf8(kHost);
        board->m_session.writeHolder = QString::fromUtf8(kPupil);
        board->m_collUserListDlg->m_markedId = QString::fromUtf8(kPupil);
        board->m_toolRightHolder = QString::fromUtf8(kHost);
    }

    void Stroke(int slot, QPoint from, QPoint to)
    {
        Deliver("REALTIME_EVENT", coll::RealtimeEventData(ekFree, slot, 1, from.x(), from.y()));
        Deliver("REALTIME_EVENT", coll::RealtimeEventData(ekFree, slot, 2, (from.x() + to.x()) / 2, from.y()));
        Deliver("REALTIME_EVENT", coll::RealtimeEventData(ekFree, slot, 3, to.x(), to.y()));
    }

private slots:
    void initTestCase() { StartDialogTests({QStringLiteral("libKonnexa.so")}); }

    void init()
    {
        QVERIFY(OpenBoard());
        QVERIFY(board->m_collUserListDlg);
        board->m_canvasWidth = 1280;
        board->m_canvasHeight = 720;
    }

    void cleanup()
    {
        tap.reset();
        CloseBoard();
    }

    void cleanupTestCase() { m_root.reset(); }

    // ---- live strokes ---------------------------------------------------

    void strokeReplay_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QByteArrayList>("frames");
        QTest::addColumn<int>("slot");
        QTest::addColumn<QPoint>("anchor");  // where the slot's stroke was pressed
        QTest::addColumn<bool>("down");      // the peer's stroke is still down

        const QByteArray hostSize = QByteArray("RESOLUTION_SET|") + coll::ResolutionData(coll::ToEveryone(), 3, 1920, 1080);
        QTest::newRow("scaled from the host's board")
            << 1 << QByteArrayList{hostSize, "REALTIME_EVENT|3,0,1,100,50"} << 0 << QPoint(66, 33) << true;
        QTest::newRow("unscaled before any board size")
            << 1 << QByteArrayList{"REALTIME_EVENT|3,0,1,100,50"} << 0 << QPoint(100, 50) << true;
        QTest::newRow("the writer's slot by the writer's board")
            << 3 << QByteArrayList{"RESOLUTION_SET|0,,2,640,360", "REALTIME_EVENT|3,10,1,100,50"} << 10
            << QPoint(200, 100) << true;
        QTest::newRow("a lone release is dropped")
            << 1 << QByteArrayList{"REALTIME_EVENT|3,4,3,10,10"} << 4 << QPoint() << false;
        QTest::newRow("a figure takes no moves")
            << 1 << QByteArrayList{"REALTIME_EVENT|5,2,1,10,10", "REALTIME_EVENT|5,2,2,70,70"} << 2 << QPoint(10, 10)
            << true;
        QTest::newRow("slot 11 does not exist")
            << 1 << QByteArrayList{"REALTIME_EVENT|3,11,1,10,10"} << 0 << QPoint() << false;
        QTest::newRow("the host's own slots are its own")
            << 3 << QByteArrayList{"REALTIME_EVENT|3,0,1,10,10"} << 0 << QPoint() << false;
        QTest::newRow("a writer's own slot is its own")
            << 2 << QByteArrayList{"REALTIME_EVENT|3,10,1,10,10"} << 10 << QPoint() << false;
        QTest::newRow("a kind that is not drawn")
            << 1 << QByteArrayList{"REALTIME_EVENT|6,0,1,10,10"} << 0 << QPoint() << false;
    }
    void strokeReplay()
    {
        QFETCH(int, level);
        QFETCH(QByteArrayList, frames);
        QFETCH(int, slot);
        Join(level);
        if (QByteArray(QTest::currentDataTag()).contains("figure"))
            board->m_board.slot[2].event_kind = ekLine;
        for (const QByteArray& frame : frames) {
            const int bar = frame.indexOf('|');
            Deliver(frame.left(bar), frame.mid(bar + 1));
        }
        QFETCH(bool, down);
        QCOMPARE(board->m_remoteStrokeDown[slot], down);
        QCOMPARE(board->m_board.slot[slot].pressed, down);
        if (down) {
            QTEST(board->m_board.slot[slot].anchor, "anchor");
            // A figure's end follows only the release.
            QCOMPARE(board->m_board.slot[slot].current, board->m_board.slot[slot].anchor);
        }
        QCOMPARE(board->m_board.slot[slot].records.masters().size(), 0);
    }

    // A peer's stroke whose release will not come ends where it got to when
    // its sender leaves, loses the right or presses again; the next writer's
    // press starts a stroke of its own, not a line from the stale point.
    void unfinishedStrokeEnds_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QByteArrayList>("frames");  // "KEYWORD|data" after the cut-off stroke
        QTest::addColumn<BoardCall>("call");
        const QByteArray exit = "EXIT|" + kPupil;
        QTest::newRow("the writer left") << 3 << QByteArrayList{exit} << BoardCall();
        QTest::newRow("the host took the right")
            << 3 << QByteArrayList() << BoardCall([](Dialog& d) { d.OptSetUserLevel(QString::fromUtf8(kPupil)); });
        QTest::newRow("the right moved on")
            << 3 << QByteArrayList() << BoardCall([](Dialog& d) { d.OptSetUserLevel(QStringLiteral("[Next]_192.0.2.8")); });
        QTest::newRow("the tool right went to the host") << 3 << QByteArrayList{"TOOL_CH|" + kHost} << BoardCall();
        QTest::newRow("the tool right moved on a viewer") << 1 << QByteArrayList{"TOOL_CH|" + kHost} << BoardCall();
        QTest::newRow("a new press on the host") << 3 << QByteArrayList() << BoardCall();
        QTest::newRow("a new press on a viewer") << 1 << QByteArrayList() << BoardCall();
    }
    void unfinishedStrokeEnds()
    {
        QFETCH(int, level);
        QFETCH(QByteArrayList, frames);
        QFETCH(BoardCall, call);
        Join(level);
        const PointerSlotState& writer = board->m_board.slot[10];
        Deliver("REALTIME_EVENT", "3,10,1,100,100");
        Deliver("REALTIME_EVENT", "3,10,2,150,120");
        QVERIFY(board->m_remoteStrokeDown[10]);
        for (const QByteArray& frame : frames) {
            const int bar = frame.indexOf('|');
            Deliver(frame.left(bar), frame.mid(bar + 1));
        }
        if (call)
            call(*board);
        const bool byPress = frames.isEmpty() && !call;
        QCOMPARE(board->m_remoteStrokeDown[10], byPress);
        QCOMPARE(writer.records.masters().size(), byPress ? 0 : 1);
        // The next writer draws from its own press.
        if (level == 3)
            board->m_session.writeHolder = QStringLiteral("[Next]_192.0.2.8");
        Deliver("REALTIME_EVENT", "3,10,1,600,500");
        QVERIFY(board->m_remoteStrokeDown[10]);
        QCOMPARE(writer.anchor, QPoint(600, 500));
        QCOMPARE(writer.records.masters().size(), 1);
        const EventDetail cut = writer.records.details().at(0);
        QVERIFY2(cut.BoundRF.right() < 300, "the cut-off stroke ends where it got to");
    }

    // The host draws nothing in the writer's slot while nobody may write,
    // whatever a peer sends.
    void writersSlotNeedsAWriter()
    {
        Join(3);
        board->m_session.writeHolder.clear();
        Stroke(10, QPoint(100, 100), QPoint(300, 120));
        QVERIFY(!board->m_remoteStrokeDown[10]);
        QCOMPARE(board->m_board.slot[10].records.masters().size(), 0);
        board->m_session.writeHolder = QString::fromUtf8(kPupil);
        Stroke(10, QPoint(100, 100), QPoint(300, 120));
        QCOMPARE(board->m_board.slot[10].records.masters().size(), 1);
    }

    void replayedStrokeBecomesAnObject()
    {
        Join(1);
        Stroke(3, QPoint(100, 100), QPoint(300, 120));
        QVERIFY(!board->m_remoteStrokeDown[3]);
        QCOMPARE(board->m_board.slot[3].records.masters().size(), 1);
        QCOMPARE(board->m_board.slot[3].records.masters().at(0).Kind, int(ekFree));
        // Another peer's press on that slot starts the next object.
        Stroke(3, QPoint(10, 10), QPoint(20, 20));
        QCOMPARE(board->m_board.slot[3].records.masters().size(), 2);
    }

    // Erase-all runs once per frame, whatever the phase, and the eraser the
    // user chose stays chosen.
    void eraseAll()
    {
        Join(1);
        board->m_eraseKey = QStringLiteral("ekSelEraser");
        Stroke(0, QPoint(100, 100), QPoint(300, 120));
        QCOMPARE(LiveObjects(*board, 0), 1);
        Deliver("REALTIME_EVENT", coll::EraseAllEventData(ekEraseAll));
        QCOMPARE(LiveObjects(*board, 0), 0);
        QCOMPARE(board->m_eraseKey, QStringLiteral("ekSelEraser"));
        Stroke(0, QPoint(100, 100), QPoint(300, 120));
        Deliver("REALTIME_EVENT", "15,0,2,0,0");
        QCOMPARE(LiveObjects(*board, 0), 0);
    }

    // ---- pens -------------------------------------------------------------

    void pens_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QByteArray>("keyword");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<BoardCall>("check");
        const auto eachSlot = [](int first, int last, std::function<void(const PointerSlotState&)> check) {
            return BoardCall([=](Dialog& d) {
                for (int s = first; s <= last; ++s)
                    check(d.m_board.slot[s]);
            });
        };
        QTest::newRow("colour of the host's slots")
            << 1 << QByteArray("PENCOLOR_SET") << QByteArray("255,0,0,255,3")
            << BoardCall([=](Dialog& d) {
                   eachSlot(0, 9, [](const PointerSlotState& s) { QCOMPARE(s.pen.color(), QColor(255, 0, 0)); })(d);
                   QCOMPARE(d.m_board.slot[10].pen.color(), QColor(Qt::black));
               });
        QTest::newRow("colour of the writer's slot")
            << 1 << QByteArray("PENCOLOR_SET") << QByteArray("0,0,255,255,2")
            << BoardCall([](Dialog& d) {
                   QCOMPARE(d.m_board.slot[10].pen.color(), QColor(0, 0, 255));
                   QCOMPARE(d.m_board.slot[0].pen.color(), QColor(Qt::black));
               });
        QTest::newRow("colour values out of range")
            << 1 << QByteArray("PENCOLOR_SET") << QByteArray("999,-5,3,700,3")
            << eachSlot(0, 0, [](const PointerSlotState& s) { QCOMPARE(s.pen.color(), QColor(255, 0, 3, 255)); });
        QTest::newRow("width of the host's slots")
            << 2 << QByteArray("PENWIDTH_SET") << QByteArray("9,3")
            << eachSlot(0, 9, [](const PointerSlotState& s) { QCOMPARE(s.pen.width(), 9); });
        QTest::newRow("a width no board draws")
            << 1 << QByteArray("PENWIDTH_SET") << QByteArray("1000000,2")
            << eachSlot(10, 10, [](const PointerSlotState& s) { QCOMPARE(s.pen.width(), 200); });
        QTest::newRow("highlighter of the host's slots")
            << 1 << QByteArray("PENHIGHLIGHT_SET") << QByteArray("1,3")
            << eachSlot(0, 9, [](const PointerSlotState& s) {
                   QVERIFY(s.highlight);
                   QCOMPARE(s.pen.color().alpha(), 127);
               });
        QTest::newRow("tool of the host's slots")
            << 1 << QByteArray("PENTYPE_SET") << QByteArray("ekRect,3")
            << eachSlot(0, 9, [](const PointerSlotState& s) {
                   QCOMPARE(s.m_curr_drawbtn, QStringLiteral("ekRect"));
                   QCOMPARE(s.event_kind, int(ekRect));
               });
        QTest::newRow("tool of a viewer changes nothing")
            << 3 << QByteArray("PENTYPE_SET") << QByteArray("ekRect,1")
            << eachSlot(0, 10, [](const PointerSlotState& s) { QCOMPARE(s.event_kind, int(ekFree)); });
        QTest::newRow("the writer's whole pen")
            << 3 << QByteArray("PENINFO_SET") << QByteArray("0,128,0,127,6,ekBrush,1,2")
            << BoardCall([](Dialog& d) {
                   const PointerSlotState& w = d.m_board.slot[10];
                   QCOMPARE(w.pen.color(), QColor(0, 128, 0, 127));
                   QCOMPARE(w.pen.width(), 6);
                   QCOMPARE(w.m_curr_drawbtn, QStringLiteral("ekBrush"));
                   QCOMPARE(w.event_kind, int(ekBrush));
                   QVERIFY(w.highlight);
                   QCOMPARE(d.m_board.slot[0].event_kind, int(ekFree));
               });
        QTest::newRow("nobody sets the host's own pen")
            << 3 << QByteArray("PENCOLOR_SET") << QByteArray("255,0,0,255,3")
            << eachSlot(0, 9, [](const PointerSlotState& s) { QCOMPARE(s.pen.color(), QColor(Qt::black)); });
    }
    void pens()
    {
        QFETCH(int, level);
        QFETCH(QByteArray, keyword);
        QFETCH(QByteArray, data);
        QFETCH(BoardCall, check);
        Join(level);
        for (PointerSlotState& s : board->m_board.slot)
            s.pen.setColor(Qt::black);
        Deliver(keyword, data);
        check(*board);
    }

    // ---- session ------------------------------------------------------------

    void usersSortedAndPenAnswered_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("answer");
        QTest::newRow("host") << 3 << "PENINFO_SET(0,0,0,255,2,ekFree,0,3)";
        QTest::newRow("writer") << 2 << "PENINFO_SET(0,0,0,255,2,ekFree,0,2)";
        QTest::newRow("viewer") << 1 << "";
    }
    void usersSortedAndPenAnswered()
    {
        QFETCH(int, level);
        QFETCH(QString, answer);
        Join(level);
        board->m_currentPenColor = Qt::black;
        board->m_penWidth = 2;
        Deliver("users", "[bob]_10.0.0.2,[Alice]_10.0.0.3,[carol]_10.0.0.4");
        QTableWidget* table = board->m_collUserListDlg->tableWidget_userList;
        QStringList rows;
        for (int r = 0; r < table->rowCount(); ++r)
            rows << table->verticalHeaderItem(r)->text();
        QCOMPARE(rows, QStringList({"[Alice]_10.0.0.3", "[bob]_10.0.0.2", "[carol]_10.0.0.4"}));
        QCOMPARE(tap->Lines().filter("PENINFO_SET"), answer.isEmpty() ? QStringList() : QStringList{answer});
    }

    // Level and flag are the last two fields, whatever the ID holds.
    void levelChangeWithAwkwardIds_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("level");
        QTest::newRow("plain") << QByteArray("[Pupil]_192.0.2.7,2,0") << 2;
        QTest::newRow("underscores in the ID") << QByteArray("[a_b_c]_192.0.2.7,2,0") << 2;
        QTest::newRow("comma and underscore") << QByteArray("[a,b_1]_192.0.2.7,2,1") << 2;
        QTest::newRow("taken back") << QByteArray("[x_,]_192.0.2.7,1,0") << 1;
        QTest::newRow("no level given") << QByteArray("[Pupil]_192.0.2.7") << 0;
    }
    void levelChangeWithAwkwardIds()
    {
        QFETCH(QByteArray, data);
        Join(1);
        Deliver("LEVEL_CH", data);
        QFETCH(int, level);
        QCOMPARE(board->m_collUserLevel, level == 0 ? 1 : level);
    }

    void exitOnlyForTheMarkedParticipant()
    {
        Join(3);
        board->m_session.hostId = QString::fromUtf8(kHost);
        board->m_session.writeHolder = QString::fromUtf8(kPupil);
        board->m_collUserListDlg->m_markedId = QString::fromUtf8(kPupil);
        board->m_toolRightHolder = QString::fromUtf8(kPupil);
        Deliver("EXIT", "[Other]_192.0.2.9");
        QCOMPARE(board->m_session.writeHolder, QString::fromUtf8(kPupil));
        QVERIFY(tap->Lines().filter("TOOL_CH").isEmpty());
        Deliver("EXIT", kPupil);
        QVERIFY(board->m_session.writeHolder.isEmpty());
        QVERIFY(board->m_collUserListDlg->m_markedId.isEmpty());
        QCOMPARE(tap->Lines().filter("TOOL_CH"), QStringList{"TOOL_CH(" + QString::fromUtf8(kHost) + ")"});
    }

    void toolRightKeepsADrawingTool_data()
    {
        QTest::addColumn<int>("tool");
        QTest::addColumn<int>("after");
        QTest::newRow("rectangle kept") << int(ekRect) << int(ekRect);
        QTest::newRow("select gives the named tool back") << int(ekSelect) << int(ekFree);
    }
    void toolRightKeepsADrawingTool()
    {
        QFETCH(int, tool);
        Join(2);
        board->m_board.slot[10].event_kind = tool;
        Deliver("TOOL_CH", kPupil);
        QCOMPARE(board->m_toolRightHolder, QString::fromUtf8(kPupil));
        QTEST(board->m_board.slot[10].event_kind, "after");
    }

    void passwordErrorShowsItsBox()
    {
        Join(1);
        Deliver("PASSERROR", "");
        QVERIFY(!g_log.filter("Pass error").isEmpty());
    }

    // ---- view, pages and undo -------------------------------------------------

    void scrollBars_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("value");
        QTest::newRow("half way on a viewer") << 1 << QByteArray("0,NULL,50,100") << 200;
        QTest::newRow("a third on a writer") << 2 << QByteArray("0,NULL,1,3") << 133;
        QTest::newRow("maximum 0 ignored") << 1 << QByteArray("0,NULL,50,0") << 7;
        QTest::newRow("the host keeps its own") << 3 << QByteArray("0,NULL,50,100") << 7;
    }
    void scrollBars()
    {
        QFETCH(int, level);
        QFETCH(QByteArray, data);
        Join(level);
        for (QScrollBar* bar : {board->ui->horizontalScrollBar, board->ui->verticalScrollBar}) {
            const QSignalBlocker block(bar);
            bar->setRange(0, 400);
            bar->setValue(7);
        }
        Deliver("WIDTHSCROLLBAR_SET", data);
        Deliver("HEIGHTSCROLLBAR_SET", data);
        QTEST(board->ui->horizontalScrollBar->value(), "value");
        QTEST(board->ui->verticalScrollBar->value(), "value");
    }

    void pageRequestsOnTheHostOnly_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("index");
        QTest::newRow("host") << 3 << 0;
        QTest::newRow("viewer") << 1 << 1;
    }
    void pageRequestsOnTheHostOnly()
    {
        QFETCH(int, level);
        board->CreateNotePage(1, QStringLiteral("WhiteBoard"), QString(), false);
        QCOMPARE(board->m_note_idx, 1);
        Join(level);
        board->m_toolRightHolder = board->m_ownId;
        Deliver("ChangeNote_SET", "0,,1");
        QTEST(board->m_note_idx, "index");
        Deliver("ChangeNote_SET", "0,,1");  // no page before the first
        Deliver("ChangeNote_SET", "0,,9");
        QTEST(board->m_note_idx, "index");
    }

    void undoRequestsOnTheHostOnly_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("objects");
        QTest::newRow("host undoes") << 3 << 0;
        QTest::newRow("viewer does not") << 1 << 1;
    }
    void undoRequestsOnTheHostOnly()
    {
        QFETCH(int, level);
        board->PointerPress(0, 100, 100, true, false);
        board->PointerMove(0, 200, 150, true, false);
        board->PointerRelease(0, 300, 200, true, false);
        QCOMPARE(LiveObjects(*board, 0), 1);
        Join(level);
        Deliver("UndoRedo_SET", "0,,3");
        QTEST(LiveObjects(*board, 0), "objects");
        if (level == 3) {
            Deliver("UndoRedo_SET", "0,,4");
            QCOMPARE(LiveObjects(*board, 0), 1);
        }
    }

    void mouseReleaseOnAWriter_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("request");
        QTest::newRow("undo asked again") << 2 << QByteArray("0,,3") << "UndoRedo_SET(0,,3)";
        QTest::newRow("next page asked again") << 2 << QByteArray("0,,2") << "ChangeNote_SET(0,,2)";
        QTest::newRow("not on a viewer") << 1 << QByteArray("0,,3") << "";
    }
    void mouseReleaseOnAWriter()
    {
        QFETCH(int, level);
        QFETCH(QByteArray, data);
        QFETCH(QString, request);
        Join(level);
        board->PointerPress(10, 100, 100, false, false);
        board->PointerMove(10, 150, 120, false, false);
        tap->Forget();
        Deliver("MouseRelease_SET", data);
        QCOMPARE(board->m_board.slot[10].pressed, level != 2);
        const QStringList sent = tap->Lines().filter(QRegularExpression("^(UndoRedo_SET|ChangeNote_SET)"));
        QCOMPARE(sent, request.isEmpty() ? QStringList() : QStringList{request});
    }

    void hostUndoPosition()
    {
        Join(2);
        Deliver("URdata_SET", "0,,4,7");
        QCOMPARE(board->m_hostUndoIndex, 4);
        QCOMPARE(board->m_hostUndoSize, 7);
    }

    void noteRecords_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("current");  // the current page's Create afterwards ("" = unchanged)
        QTest::addColumn<QString>("pending");   // the pending record's Name ("" = none)
        QTest::newRow("flag 1 becomes the page")
            << QByteArray("0,,BlackBoard,20260101120000000,BlackBoard,,x.jpg,1,0,1280,720,1")
            << "20260101120000000" << "";
        QTest::newRow("flag 0 waits for its file")
            << QByteArray("0,,pic.png,20260101120000001,C:\\pics\\pic.png,,,2,1,800,600,0") << "" << "pic.png";
        QTest::newRow("empty Create dropped") << QByteArray("0,,BlackBoard,,BlackBoard,,,1,0,1,1,1") << "" << "";
        QTest::newRow("Name with a path dropped")
            << QByteArray("0,,../../x.png,20260101120000002,p,,,2,0,1,1,0") << "" << "";
        QTest::newRow("Create with a path dropped")
            << QByteArray("0,,BlackBoard,..\\evil,p,,,1,0,1,1,1") << "" << "";
    }
    void noteRecords()
    {
        QFETCH(QByteArray, data);
        QFETCH(QString, current);
        QFETCH(QString, pending);
        Join(1);
        const QString before = board->m_curr_note.create_data;
        Deliver("NOTEDATA_SET", data);
        QCOMPARE(board->m_curr_note.create_data, current.isEmpty() ? before : current);
        QCOMPARE(board->m_note_list.at(board->m_note_idx).create_data, board->m_curr_note.create_data);
        QCOMPARE(board->m_pendingDocument.name, pending);
        if (!pending.isEmpty()) {
            QCOMPARE(board->m_pendingDocument.type, 2);
            QVERIFY(board->m_pendingDocument.page_option);
            QCOMPARE(board->m_pendingDocument.path, coll::DocumentFolder(board->m_workFolder) + pending);
        }
    }

    void imagePaths()
    {
        Join(1);
        const QString doc = coll::DocumentFolder(board->m_workFolder);
        Deliver("IMGPATH_SET", "0,,C:\\Users\\t\\a.png,0,1");
        Deliver("IMGPATH_SET", "0,,/home/t/b.png,0,2");
        Deliver("IMGPATH_SET", "0,,..,0,3");
        Deliver("IMGPATH_SET", "0,,dir/,0,4");
        QCOMPARE(board->m_mediaFiles, QStringList({doc + "a.png", doc + "b.png"}));
        QCOMPARE(board->m_imageCounter, 2);
        Deliver("IMGPATH_SET", coll::ImagePathData(coll::ToEveryone(), QString(), true, 0));
        QVERIFY(board->m_mediaFiles.isEmpty());
        QCOMPARE(board->m_imageCounter, 0);
    }

    void pageIndex()
    {
        Join(1);
        Deliver("NOTEIDX_SET", "0,,2,5");
        QCOMPARE(board->m_hostNoteIndex, 2);
        QCOMPARE(board->m_hostNoteCount, 5);
        QCOMPARE(board->ui->notelistLabel->text(), QStringLiteral("3/5"));
        Deliver("NOTEIDX_SET", "0,,7,5");
        QCOMPARE(board->m_hostNoteIndex, 2);
    }

    // A writer holding the tool right may go to a page the host added as
    // soon as the host's page count says so.
    void writerPagesFollowTheHostsCount()
    {
        Join(2);
        board->m_toolRightHolder = board->m_ownId;
        board->SetToolbarByRole(2, true);
        Deliver("NOTEIDX_SET", "0,,0,1");
        QVERIFY(!board->ui->postbtn->isEnabled());
        Deliver("NOTEIDX_SET", "0,,0,2");
        QCOMPARE(board->ui->notelistLabel->text(), QStringLiteral("1/2"));
        QVERIFY(board->ui->postbtn->isEnabled());
        QVERIFY(!board->ui->prebtn->isEnabled());
        Deliver("NOTEIDX_SET", "0,,1,2");
        QVERIFY(board->ui->prebtn->isEnabled());
        QVERIFY(!board->ui->postbtn->isEnabled());
    }

    void newLecture()
    {
        Join(1);
        Stroke(0, QPoint(10, 10), QPoint(90, 90));
        board->CreateNotePage(1, QStringLiteral("WhiteBoard"), QString(), false);
        QCOMPARE(board->m_note_list.size(), 2);
        Deliver("INITPROJ_SET", "0,,1");
        QCOMPARE(board->m_note_list.size(), 1);
        QCOMPARE(board->m_board.slot[0].records.masters().size(), 0);
    }

    void pageBackground()
    {
        Join(1);
        const QString first = board->m_curr_note.create_data;
        Deliver("NOTEBTN_SET", "0,,BlackNote");
        QCOMPARE(board->m_curr_note.name, QStringLiteral("BlackBoard"));
        QCOMPARE(board->m_note_list.size(), 1);
        QVERIFY(board->m_curr_note.create_data != first);
        const QString second = board->m_curr_note.create_data;
        Deliver("NOTEBTN_SET", "0,,../Evil");
        Deliver("NOTEBTN_SET", "0,,");
        QCOMPARE(board->m_curr_note.create_data, second);
        QCOMPARE(board->m_note_list.size(), 1);
    }

    // ---- object edits ---------------------------------------------------------

    // The host enters each edit in its undo list and tells everyone its new
    // position; a writer and a viewer keep no list.
    void editsAreUndoneOnTheHostOnly_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("entries");
        QTest::newRow("host") << 3 << 2;
        QTest::newRow("writer") << 2 << 0;
        QTest::newRow("viewer") << 1 << 0;
    }
    void editsAreUndoneOnTheHostOnly()
    {
        QFETCH(int, level);
        Join(level);
        board->m_hostBoardSize = QSize(1280, 720);
        board->m_writerBoardSize = QSize(1280, 720);
        Stroke(level == 3 ? 10 : 0, QPoint(100, 100), QPoint(300, 120));
        const int slot = level == 3 ? 10 : 0;
        const EventDetail before = board->m_board.slot[slot].records.details().at(0);
        const int undoBefore = board->m_undo.URList.size();
        tap->Forget();
        // As after a save: the peer's edit is what the next save writes.
        board->m_boardModified = false;
        const QPoint c[4] = {{110, 90}, {310, 90}, {310, 190}, {110, 190}};
        Deliver("MODIFY_SET", coll::ModifyMoveData(slot, 0, 10, -10, c, 1, 1, level == 3 ? 2 : 3));
        Deliver("MODIFY_SET", coll::ModifyRotateData(slot, 0, 30.f, 1, 1));
        QVERIFY(board->m_boardModified);
        const EventDetail after = board->m_board.slot[slot].records.details().at(0);
        QVERIFY(after.BoundRF != before.BoundRF);
        QCOMPARE(after.Angle, 30.f);
        QCOMPARE(board->SelectionAngle, 30.f);
        QCOMPARE(board->m_selectionState.FrameCorners[2], QPoint(310, 190));
        QFETCH(int, entries);
        QCOMPARE(board->m_undo.URList.size() - undoBefore, entries);
        QCOMPARE(tap->Keywords().count("URdata_SET"), entries);
    }

    // A host that pushes more than a board takes ends the session with a
    // message saying why; the board is alone again, nothing half taken.
    void oversizedPushEndsTheSession()
    {
        Join(1);
        Deliver("DATA_CLEAR", "0,,ALL");
        const QByteArray record = "0,,1,0,7,0,3,0,1,0,0,0,,";
        for (int i = 0; i < coll::kPushObjectLimit; ++i)
            board->Coll_Receive(14, "EMDATA_SET", record, coll::kBlockEnd);
        QVERIFY(board->m_collConnected);
        g_log.clear();
        tap->Send("EMDATA_SET", record);
        QTRY_VERIFY2_WITH_TIMEOUT(!board->m_collConnected, "the session ended", 10000);
        QCOMPARE(board->m_collUserLevel, 0);
        QCOMPARE(g_log.filter("message box").size(), 1);
        QCOMPARE(g_log.filter("larger than this board can take").size(), 1);
        QCOMPARE(board->m_board.slot[1].records.masters().size(), 0);
    }

    // A move by nothing changes nothing and adds no undo step on the host.
    void moveByNothingIsNoStep()
    {
        Join(3);
        Stroke(10, QPoint(100, 100), QPoint(300, 120));
        const EventDetail before = board->m_board.slot[10].records.details().at(0);
        const int undoBefore = board->m_undo.URList.size();
        tap->Forget();
        const QPoint c[4] = {{100, 100}, {300, 100}, {300, 120}, {100, 120}};
        Deliver("MODIFY_SET", coll::ModifyMoveData(10, 0, 0, 0, c, 1, 1, 2));
        QCOMPARE(board->m_undo.URList.size(), undoBefore);
        QCOMPARE(tap->Keywords().count("URdata_SET"), 0);
        QCOMPARE(board->m_board.slot[10].records.details().at(0).BoundRF, before.BoundRF);
    }

    // A burst of edits repaints the page once, after its last message; while
    // a pointer is down, the repaint waits for its release.
    void editsRedrawOncePerBurst()
    {
        Join(1);
        for (int i = 0; i < 120; ++i)
            Stroke(i % 10, QPoint(10 + i, 10), QPoint(40 + i, 30));
        QTRY_COMPARE(board->m_board.slot[9].records.masters().size(), 12);
        QTest::qWait(50);
        const int redraws = board->m_layerRepaintCount;
        QByteArray burst;
        for (int i = 0; i < 120; ++i) {
            const QPoint c[4] = {{0, 0}, {50, 0}, {50, 50}, {0, 50}};
            burst += BuildCollFrame("MODIFY_SET", coll::ModifyMoveData(i % 10, quint16(i / 10), 5, 5, c, i + 1, 120, 3),
                                    coll::kBlockEnd);
        }
        Deliver("SENDMSG", QByteArray());
        // All at once: the reader hands them out in batches.
        board->m_collReceiveBuffer.Append(burst);
        board->onReadyRead();
        QTRY_VERIFY(!board->m_collReadQueued && !board->m_collRedrawQueued);
        QCOMPARE(board->m_layerRepaintCount - redraws, 1);

        // A local pointer down holds the redraw back until it comes up.
        board->m_board.slot[10].pressed = true;
        const QPoint c[4] = {{0, 0}, {50, 0}, {50, 50}, {0, 50}};
        Deliver("MODIFY_SET", coll::ModifyMoveData(0, 0, 5, 5, c, 1, 1, 3));
        QTest::qWait(50);
        QCOMPARE(board->m_layerRepaintCount - redraws, 1);
        QVERIFY(board->m_collRedrawDeferred);
        board->PointerRelease(10, 20, 20, false, false);
        QTRY_COMPARE(board->m_layerRepaintCount - redraws, 2);
    }

    // A peer's delete of one stroke among others repaints only where it
    // lay, with the pixels of a full redraw; bringing it back does the same.
    void peerDeleteRepaintsItsPlace()
    {
        Join(1);
        for (int i = 0; i < 6; ++i)
            Stroke(i % 3, QPoint(100 + 25 * i, 100 + 12 * i), QPoint(320 + 25 * i, 150 + 12 * i));
        QTRY_COMPARE(board->m_board.slot[2].records.masters().size(), 2);
        QTRY_VERIFY(!board->m_collReadQueued && !board->m_collRedrawQueued);
        const auto expectFullRedrawPixels = [this](const char* step) {
            QImage expected = board->m_backgroundImage.copy();
            PaintPageObjects(expected, board->m_board, board->m_curr_note.create_data, true, {}, nullptr,
                             board->RenderOptions());
            QVERIFY2(board->m_canvasImage == expected, step);
        };
        const int fullRedraws = board->m_fullRedrawCount;
        const int repaints = board->m_layerRepaintCount;
        for (bool deleted : {true, false}) {
            Deliver("MODIFY_SET", coll::ModifyDeleteData(1, 0, deleted, 1, 1));
            QTRY_COMPARE(board->m_layerRepaintCount - repaints, deleted ? 1 : 2);
            QCOMPARE(board->m_board.slot[1].records.findDetail(0)->Deleted != 0, deleted);
            QCOMPARE(board->m_fullRedrawCount, fullRedraws);
            expectFullRedrawPixels(deleted ? "deleted" : "brought back");
        }
    }

    void editOfNoObjectChangesNothing()
    {
        Join(3);
        Stroke(10, QPoint(100, 100), QPoint(300, 120));
        const EventDetail before = board->m_board.slot[10].records.details().at(0);
        const int entries = board->m_undo.URList.size();
        board->m_boardModified = false;
        Deliver("MODIFY_SET", "2,10-9,9,1,1,1");
        Deliver("MODIFY_SET", "2,12-0,0,1,1,1");
        Deliver("MODIFY_SET", "2,100,0,1,1,1");
        QCOMPARE(int(board->m_board.slot[10].records.details().at(0).Deleted), int(before.Deleted));
        QCOMPARE(board->m_undo.URList.size(), entries);
        QVERIFY(!board->m_boardModified);
    }

    // ---- files ------------------------------------------------------------------

    void pictureArrivesAndIsPlaced()
    {
        Join(1);
        const QByteArray bytes = NoisePng(200, 150);
        QVERIFY(bytes.size() > 3 * 3072);
        const QByteArray tail = coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("20260101120000000"));
        for (int at = 0; at < bytes.size(); at += 3072)
            Deliver("DOC_ST", bytes.mid(at, 3072), tail);
        Deliver("DOC_EN", coll::FileEndData(), tail);
        const QString path = coll::DocumentFolder(board->m_workFolder) + "20260101120000000.png";
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), bytes);
        QVERIFY(ImagePlaced(*board, path));
        QCOMPARE(board->m_board.slot[0].event_kind, int(ekFree));
    }

    void documentBecomesItsPage()
    {
        Join(1);
        const QString replaced = board->m_curr_note.create_data;
        Deliver("NOTEDATA_SET", "0,,photo.png,20260101120000005,C:\\x\\photo.png,,,2,0,800,600,0");
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::red);
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "PNG");
        const QByteArray tail = coll::FileTail(coll::ToEveryone(), 0);
        Deliver("DOC_ST", png, tail);
        Deliver("DOC_EN", coll::FileEndData(), tail);
        const QString path = coll::DocumentFolder(board->m_workFolder) + "photo.png";
        QCOMPARE(board->m_curr_note.type, 2);
        QCOMPARE(board->m_curr_note.path, path);
        QCOMPARE(board->m_note_list.size(), 1);
        QVERIFY(board->m_curr_note.create_data != replaced);
    }

    // Names that are paths, program files outside debug mode and unknown
    // kinds write nothing anywhere below the test's root.
    void refusedFilesWriteNothing_data()
    {
        QTest::addColumn<QByteArray>("tail");
        QTest::newRow("image name with a path") << coll::FileTail(coll::ToEveryone(), 3, "../../escape");
        QTest::newRow("image name with backslashes") << QByteArray("0,,4,..\\..\\escape,Block_EN\n");
        QTest::newRow("library outside debug mode") << coll::FileTail(coll::ToEveryone(), 1);
        QTest::newRow("program outside debug mode") << coll::FileTail(coll::ToEveryone(), 2);
        QTest::newRow("unknown kind") << QByteArray("0,,9,x,Block_EN\n");
        QTest::newRow("document before any page record") << coll::FileTail(coll::ToEveryone(), 0);
    }
    void refusedFilesWriteNothing()
    {
        QFETCH(QByteArray, tail);
        Join(1);
        const QStringList before = FilesBelow(m_root->path());
        Deliver("DOC_ST", Chunked(3000), tail);
        Deliver("DOC_ST", Chunked(3000), tail);
        Deliver("DOC_EN", coll::FileEndData(), tail);
        QCOMPARE(FilesBelow(m_root->path()), before);
        QVERIFY(!ImagePlaced(*board, QString()));
    }

    // A transfer belongs to the writer it started with: one that left, or
    // lost the right to another, mid-file is never continued by the next
    // sender, whose file arrives whole.
    void transferBelongsToItsSender_data()
    {
        QTest::addColumn<QByteArray>("exit");  // the departure in between, if any
        QTest::newRow("its sender left") << kPupil;
        QTest::newRow("the right moved on") << QByteArray();
    }
    void transferBelongsToItsSender()
    {
        QFETCH(QByteArray, exit);
        Join(3);
        const QByteArray tail = coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("pic"));
        Deliver("DOC_ST", Chunked(3000), tail);
        if (!exit.isEmpty()) {
            Deliver("EXIT", exit);
            QVERIFY(!board->m_fileReceiver.active());
        }
        board->m_session.writeHolder = QStringLiteral("[Next]_192.0.2.8");
        const QByteArray png = NoisePng(40, 30);
        Deliver("DOC_ST", png, tail);
        Deliver("DOC_EN", coll::FileEndData(), tail);
        QFile file(coll::DocumentFolder(board->m_workFolder) + "pic.png");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), png);
        QVERIFY(g_log.filter("message box").isEmpty());
    }

    // A participant cannot tell who sends a file: its frames name nobody.
    // When anyone leaves mid-file, neither the rest of that transfer nor a
    // later one of the same name is put in place as part of it; the next
    // transfer arrives whole.
    void participantGivesUpATransferWhenAnyoneLeaves()
    {
        Join(1);
        const QByteArray tail = coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("pic"));
        Deliver("DOC_ST", Chunked(3000), tail);
        Deliver("EXIT", "[Writer]_192.0.2.9");
        const QByteArray png = NoisePng(40, 30);
        Deliver("DOC_ST", png, tail);
        Deliver("DOC_EN", coll::FileEndData(), tail);
        const QString folder = coll::DocumentFolder(board->m_workFolder);
        QVERIFY(!QFileInfo::exists(folder + "pic.png"));
        QVERIFY(!ImagePlaced(*board, QString()));

        const QByteArray nextTail = coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("next"));
        Deliver("DOC_ST", png, nextTail);
        Deliver("DOC_EN", coll::FileEndData(), nextTail);
        QFile file(folder + "next.png");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), png);
        QVERIFY(ImagePlaced(*board, file.fileName()));
        // Nothing else is left behind, half files included.
        QCOMPARE(FilesBelow(folder).size(), 1);
    }

    // A picture nobody can read is logged on the host; no box stops the
    // teacher, and the board takes nothing.
    void unreadablePictureOnTheHostIsLogged()
    {
        Join(3);
        const QByteArray tail = coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("broken"));
        Deliver("DOC_ST", Chunked(3000), tail);
        Deliver("DOC_EN", coll::FileEndData(), tail);
        QCOMPARE(g_log.filter("picture cannot be read").size(), 1);
        QCOMPARE(g_log.filter("message box").size(), 0);
        QVERIFY(board->m_mediaFiles.isEmpty());
    }

    void sessionEndDeletesAnUnfinishedFile()
    {
        Join(1);
        const QByteArray tail = coll::FileTail(coll::ToEveryone(), 3, QStringLiteral("half"));
        Deliver("DOC_ST", Chunked(3000), tail);
        QVERIFY(board->m_fileReceiver.receiving());
        board->m_collConnected = true;
        board->OptDisconnect();
        QVERIFY(!board->m_fileReceiver.receiving());
        QCOMPARE(FilesBelow(coll::DocumentFolder(board->m_workFolder)), QStringList());
    }
};

QTEST_MAIN(ReceiverTest)
#include "receiver_test.moc"
