// The window's senders, the file transfer, the host's answer to a newcomer
// and the pushed board arriving, on a window whose session socket is a
// loopback pair.
#include "app/ui/dialog.h"
#include "app/ui/outside_libraries.h"
#include "collab/coll_messages.h"
#include "tests/support/debug_log.h"
#include "tests/support/dialog_fixture.h"
#include "tests/support/session_tap.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QLabel>
#include <QMovie>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

using Call = std::function<void(Dialog&)>;
Q_DECLARE_METATYPE(Call)

namespace {

const QString kNewcomer = QStringLiteral("[Pupil]_192.0.2.7");

QString WriteFile(const QString& path, int size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7);
    file.write(bytes);
    return path;
}

}  // namespace

class SendersTest : public DialogTestBase
{
    Q_OBJECT

    QTemporaryDir m_files;

private slots:
    void initTestCase() { StartDialogTests(); }

    void init()
    {
        QVERIFY(OpenBoard());
        board->m_canvasWidth = 1920;
        board->m_canvasHeight = 1080;
        for (int s = 0; s < kPointerSlotCount; ++s) {
            board->m_board.slot[s].event_kind = ekFree;
            board->m_board.slot[s].nextEventId = s;
        }
        g_log.clear();
    }

    void cleanup() { CloseBoard(); }

    // Each sender's message at a level, connected or not; an empty list
    // means nothing reaches the socket.
    void senderTable_data()
    {
        QTest::addColumn<Call>("call");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("connected");
        QTest::addColumn<QStringList>("sent");
        const auto row = [](const char* name, Call call, int level, bool connected, QStringList sent) {
            QTest::newRow(name) << call << level << connected << sent;
        };
        row("change note, mode 0", [](Dialog& d) { d.Coll_Send_ChangeNote(0, QString(), 2); }, 2, true,
            {"ChangeNote_SET(0,,2)"});
        row("not connected", [](Dialog& d) { d.Coll_Send_ChangeNote(0, QString(), 2); }, 2, false, {});
        row("new lecture", [](Dialog& d) { d.Coll_Send_InitProj(0, QString(), true); }, 3, true,
            {"INITPROJ_SET(0,,1)"});
        row("note button to a newcomer", [](Dialog& d) { d.Coll_Send_NoteBtn(1, kNewcomer, "BlackNote"); }, 3, true,
            {"NOTEBTN_SET(1," + kNewcomer + ",BlackNote)"});
        row("page index", [](Dialog& d) { d.m_note_idx = 2, d.m_note_cnt = 5, d.Coll_Send_NoteIdx(0, QString()); },
            3, true, {"NOTEIDX_SET(0,,2,5)"});
        row("page record", [](Dialog& d) {
                d.m_curr_note = NoteInfo{"pic.png", "20260101090000000", "/w/pic.png", "", "/t/p.jpg", 2, true,
                                         800, 600};
                d.Coll_Send_NoteData(1, kNewcomer, 0);
            }, 3, true, {"NOTEDATA_SET(1," + kNewcomer + ",pic.png,20260101090000000,/w/pic.png,,/t/p.jpg,2,1,800,600,0)"});
        row("board size", [](Dialog& d) { d.Coll_Send_Resolution(0, QString()); }, 3, true,
            {"RESOLUTION_SET(0,,3,1920,1080)"});
        row("redraw the page", [](Dialog& d) { d.Coll_Send_Redraw(1, kNewcomer, 3); }, 3, true,
            {"REDRAW_SET(1," + kNewcomer + ",FromEventData)"});
        row("redraw all pages", [](Dialog& d) { d.Coll_Send_Redraw(0, QString(), 4); }, 3, true,
            {"REDRAW_SET(0,,WhiteBoardNote)"});
        row("redraw of no part", [](Dialog& d) { d.Coll_Send_Redraw(0, QString(), 5); }, 3, true, {});
        row("tool state", [](Dialog& d) { d.Coll_Send_DataInfo(0, QString(), 3); }, 3, true,
            {"DATAINFO_SET(0,,3,3,3,3,3,3,3,3,3,3,3,0,1,2,3,4,5,6,7,8,9,10,3)"});
        row("image path cleared", [](Dialog& d) { d.m_imageCounter = 5, d.Coll_Send_ImgPath(0, QString(), 1); }, 3,
            true, {"IMGPATH_SET(0,,NULL,1,5)"});
        row("image path list", [](Dialog& d) {
                d.m_imageCounter = 2;
                d.m_mediaFiles = QStringList({"/w/a.png", "/w/b.png"});
                d.Coll_Send_ImgPath(1, kNewcomer, 0);
            }, 3, true,
            {"IMGPATH_SET(1," + kNewcomer + ",/w/a.png,0,2)", "IMGPATH_SET(1," + kNewcomer + ",/w/b.png,0,2)"});
        row("image path, empty list", [](Dialog& d) { d.Coll_Send_ImgPath(1, kNewcomer, 0); }, 3, true, {});
        row("move", [](Dialog& d) {
                d.Coll_Send_Modify(0, "2-7", 7, 5, -3, 0, 0, QRect(), 1, 2, 3, 4, 5, 6, 7, 8, 1, 2);
            }, 3, true, {"MODIFY_SET(0,2-7,7,5,-3,1,2,3,4,5,6,7,8,1,2,3)"});
        row("resize by a writer", [](Dialog& d) {
                d.Coll_Send_Modify(1, "10-1", 1, 0, 0, 0, 0, QRect(4, 5, 60, 70), 0, 0, 0, 0, 0, 0, 0, 0, 1, 1);
            }, 2, true, {"MODIFY_SET(1,10-1,1,4,5,60,70,1,1,2)"});
        row("delete", [](Dialog& d) {
                d.Coll_Send_Modify(2, "0-3", 3, 0, 0, 1, 0, QRect(), 0, 0, 0, 0, 0, 0, 0, 0, 2, 3);
            }, 3, true, {"MODIFY_SET(2,0-3,3,1,2,3)"});
        row("rotate", [](Dialog& d) {
                d.Coll_Send_Modify(3, "0-3", 3, 0, 0, 0, -45, QRect(), 0, 0, 0, 0, 0, 0, 0, 0, 1, 1);
            }, 3, true, {"MODIFY_SET(3,0-3,3,-45,1,1)"});
        row("edit of a viewer", [](Dialog& d) {
                d.Coll_Send_Modify(2, "0-3", 3, 0, 0, 1, 0, QRect(), 0, 0, 0, 0, 0, 0, 0, 0, 1, 1);
            }, 1, true, {});
        row("edit alone", [](Dialog& d) {
                d.Coll_Send_Modify(2, "0-3", 3, 0, 0, 1, 0, QRect(), 0, 0, 0, 0, 0, 0, 0, 0, 1, 1);
            }, 0, true, {});
        const Call scroll = [](Dialog& d) {
            d.ui->verticalScrollBar->setRange(0, 500);
            d.ui->verticalScrollBar->setValue(120);
            d.ui->horizontalScrollBar->setRange(0, 300);
            d.ui->horizontalScrollBar->setValue(30);
            d.Coll_Send_HeightScrollBar();
            d.Coll_Send_WidthScrollBar(1, kNewcomer);
        };
        row("scroll bars of the host", scroll, 3, true,
            {"HEIGHTSCROLLBAR_SET(0,NULL,120,500)", "WIDTHSCROLLBAR_SET(1," + kNewcomer + ",30,300)"});
        row("scroll bars of a writer", scroll, 2, true, {});
        row("pen width of the host", [](Dialog& d) { d.m_penWidth = 6, d.ChangePenWidth_Send(true); }, 3, true,
            {"PENWIDTH_SET(6,3)"});
        row("pen width of a writer", [](Dialog& d) { d.m_penWidth = 6, d.ChangePenWidth_Send(true); }, 2, true,
            {"PENWIDTH_SET(6,2)"});
        row("pen width applied only", [](Dialog& d) { d.m_penWidth = 6, d.ChangePenWidth_Send(false); }, 3, true,
            {});
        row("live stroke", [](Dialog& d) { d.SendRealtimeEvent(3, 4, 2, 100, 50); }, 3, true,
            {"REALTIME_EVENT(3,4,2,100,50)"});
    }

    void senderTable()
    {
        QFETCH(Call, call);
        QFETCH(int, level);
        QFETCH(bool, connected);
        QFETCH(QStringList, sent);
        SessionTap tap(board.get(), level, connected);
        QVERIFY(tap.ok());
        call(*board);
        QCOMPARE(tap.Lines(), sent);
        for (const CollFrame& f : tap.Frames())
            QCOMPARE(f.tail, QByteArray("Block_EN\n"));
    }

    // The width goes to the level's own slots: the host's ten, the
    // writer's one, a viewer's none.
    void penWidthByLevel_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("highlighter");
        QTest::addColumn<QList<int>>("widened");
        QTest::addColumn<int>("width");
        QTest::newRow("host") << 3 << false << QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) << 6;
        QTest::newRow("host with the highlighter") << 3 << true << QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9}) << 20;
        QTest::newRow("writer") << 2 << false << QList<int>({10}) << 6;
        QTest::newRow("viewer") << 1 << false << QList<int>() << 6;
    }

    void penWidthByLevel()
    {
        QFETCH(int, level);
        QFETCH(bool, highlighter);
        QFETCH(QList<int>, widened);
        QFETCH(int, width);
        SessionTap tap(board.get(), level, false);
        for (PointerSlotState& s : board->m_board.slot) {
            s.pen.setWidth(1);
            s.highlight = highlighter;
        }
        board->m_penWidth = 6;
        board->m_specialPen.highlightWidth = 20;
        board->m_strokeMargin = 0;
        board->ChangePenWidth_Send(true);
        for (int s = 0; s < kPointerSlotCount; ++s)
            QCOMPARE(board->m_board.slot[s].pen.width(), widened.contains(s) ? width : 1);
        QCOMPARE(board->m_strokeMargin, widened.isEmpty() ? 0 : width / 2 + 2);
        QVERIFY(tap.Lines().isEmpty());
    }

    // Files in chunks of 3,072 bytes, each frame with the kind's tail, the
    // end frame with "NULL", and the count in the log.
    void fileInChunks_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<int>>("chunks");
        QTest::newRow("empty") << 0 << QList<int>();
        QTest::newRow("one chunk") << 3072 << QList<int>({3072});
        QTest::newRow("one byte more") << 3073 << QList<int>({3072, 1});
    }

    void fileInChunks()
    {
        QFETCH(int, size);
        QFETCH(QList<int>, chunks);
        const QString path = WriteFile(m_files.filePath(QStringLiteral("doc%1.pdf").arg(size)), size);
        QVERIFY(!path.isEmpty());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        SessionTap tap(board.get(), 3);
        board->m_curr_note.path = path;
        board->Coll_Send_Doc(1, kNewcomer, 0, QString(), QString());
        board->Coll_Send_Doc(0, QString(), 3, path, "pic");
        const QList<CollFrame> frames = tap.Frames();
        QCOMPARE(frames.size(), 2 * (chunks.size() + 1));
        const QByteArray tails[2] = {"1," + kNewcomer.toUtf8() + ",0,Block_EN\n", "0,,3,pic,Block_EN\n"};
        for (int run = 0; run < 2; ++run) {
            QByteArray joined;
            for (int i = 0; i < chunks.size(); ++i) {
                const CollFrame& f = frames[run * (chunks.size() + 1) + i];
                QCOMPARE(f.keyword, QByteArray("DOC_ST"));
                QCOMPARE(f.data.size(), chunks[i]);
                QCOMPARE(f.tail, tails[run]);
                joined += f.data;
            }
            QCOMPARE(joined, bytes);
            const CollFrame& end = frames[run * (chunks.size() + 1) + chunks.size()];
            QCOMPARE(end.keyword, QByteArray("DOC_EN"));
            QCOMPARE(end.data, QByteArray("NULL"));
            QCOMPARE(end.tail, tails[run]);
        }
        const QString line = QStringLiteral("[EXE] Send file size / total file size : [%1] / [%2] ").arg(size).arg(size);
        QCOMPARE(g_log.count(line), 2);
    }

    // Outside a session nothing is even opened; a file that is not there
    // sends nothing, not even the end frame.
    void fileWithoutSessionOrFile()
    {
        {
            SessionTap tap(board.get(), 3, false);
            board->Coll_Send_Doc(0, QString(), 3, m_files.filePath("missing.png"), "missing");
            QVERIFY(tap.Lines().isEmpty());
            QVERIFY(!g_log.contains("Couldn't open the file"));
        }
        SessionTap tap(board.get(), 3);
        board->Coll_Send_Doc(0, QString(), 3, m_files.filePath("missing.png"), "missing");
        board->Coll_Send_Doc(0, QString(), 9, QString(), QString());
        QVERIFY(tap.Lines().isEmpty());
        QCOMPARE(g_log.count("Couldn't open the file"), 2);
    }

    // Only the page's image objects whose file is in the list go out.
    void imageFilesOfThePage()
    {
        const QString picture = WriteFile(m_files.filePath("pic.1.png"), 10);
        const QString page = board->m_curr_note.create_data;
        board->m_mediaFiles = QStringList({picture, picture});
        struct Object {
            int slot;
            quint16 id;
            int kind;
            QString page;
            quint16 strData;
            bool detail;
        };
        const Object objects[] = {
            {0, 0, ekImage, page, 1, true},       // sent
            {0, 1, ekImage, "another", 0, true},  // another page
            {2, 0, ekFree, page, 0, true},        // no image
            {3, 0, ekImage, page, 7, true},       // outside the list
            {3, 1, ekImage, page, kNoMediaIndex, true},
            {4, 0, ekImage, page, 0, false},      // no detail record
        };
        for (const Object& o : objects) {
            EventMaster em;
            em.EventID = o.id;
            em.Kind = o.kind;
            em.NoteName = o.page;
            em.StrData = o.strData;
            board->m_board.slot[o.slot].records.appendMaster(em);
            if (o.detail) {
                EventDetail ed;
                ed.EventID = o.id;
                board->m_board.slot[o.slot].records.appendDetail(ed);
            }
        }
        SessionTap tap(board.get(), 3);
        board->Coll_Send_ImgFile(1, kNewcomer);
        const QList<CollFrame> frames = tap.Frames();
        QCOMPARE(tap.Keywords(), QStringList({"DOC_ST", "DOC_EN"}));
        QCOMPARE(frames.first().tail, "1," + kNewcomer.toUtf8() + ",4,pic,Block_EN\n");
        QCOMPARE(g_log.count("img file path error"), 2);
        QCOMPARE(g_log.count("strFileName = pic"), 1);
    }

    // A newcomer gets the page, then the board; with a pointer down the
    // board waits for the release, and then carries the new stroke.
    void newcomer_data()
    {
        QTest::addColumn<bool>("pointerDown");
        QTest::newRow("at once") << false;
        QTest::newRow("after the release") << true;
    }

    void newcomer()
    {
        QFETCH(bool, pointerDown);
        board->PointerPress(0, 100, 100, true, false);
        board->PointerMove(0, 150, 120, true, false);
        board->PointerRelease(0, 200, 140, true, false);
        SessionTap tap(board.get(), 3);
        if (pointerDown) {
            board->PointerPress(1, 300, 300, true, false);
            board->PointerMove(1, 340, 320, true, false);
        }
        tap.Forget();
        board->Coll_Receive(12, "Connected_ID", kNewcomer.toUtf8(), coll::kBlockEnd);
        const QStringList page = {"RESOLUTION_SET", "NOTEBTN_SET", "NOTEDATA_SET", "NOTEIDX_SET"};
        QStringList push = {"RESOLUTION_SET", "DATA_CLEAR", "EMDATA_SET", "EDDATA_SET"};
        if (pointerDown) {
            QCOMPARE(tap.Keywords(), page);
            QCOMPARE(board->m_pendingNewcomers, QStringList({kNewcomer}));
            tap.Forget();
            board->PointerRelease(1, 380, 330, true, false);
            QVERIFY(board->m_pendingNewcomers.isEmpty());
            push = QStringList({"RESOLUTION_SET", "DATA_CLEAR", "EMDATA_SET", "EMDATA_SET",
                                "EDDATA_SET", "EDDATA_SET"});
        } else {
            push = page + push;
        }
        QStringList got = tap.Keywords();
        // The release's own live frames come first.
        const int live = got.removeAll("REALTIME_EVENT");
        QCOMPARE(live > 0, pointerDown);
        // So does the host's new undo position, which its release made.
        const int undoPositions = got.removeAll("URdata_SET");
        QCOMPARE(undoPositions, pointerDown ? 1 : 0);
        QCOMPARE(tap.Keywords().indexOf("RESOLUTION_SET"), live + undoPositions);
        const int points = got.removeAll("FPDATA_SET");
        QVERIFY2(got == push + QStringList({"DATAINFO_SET", "REDRAW_SET"}), qPrintable(got.join(' ')));
        int stored = 0;
        for (const auto& samples : board->m_board.FreePenMap)
            stored += samples.size();
        QCOMPARE(points, stored);
        for (const CollFrame& f : tap.Frames()) {
            if (f.keyword != "REALTIME_EVENT" && f.keyword != "URdata_SET")
                QCOMPARE(coll::Fields(f.data).text(1), kNewcomer);
        }
        QCOMPARE(tap.Lines().last(), "REDRAW_SET(1," + kNewcomer + ",FromEventData)");
    }

    // Only the host answers a newcomer.
    void newcomerOnAParticipant()
    {
        SessionTap tap(board.get(), 2);
        board->Coll_Receive(12, "Connected_ID", kNewcomer.toUtf8(), coll::kBlockEnd);
        QVERIFY(tap.Lines().isEmpty());
    }

    // The loading animation runs from the push's start to its redraw, and
    // the redraw lets its movie go.
    void loadingAnimationDuringThePush()
    {
        SessionTap tap(board.get(), 1);
        tap.Send("DATA_CLEAR", "1," + kNewcomer.toUtf8() + ",ALL");
        QTRY_VERIFY_WITH_TIMEOUT(board->ui->label_gif->isVisible(), 5000);
        QVERIFY(board->m_loadingMovie);
        tap.Send("EMDATA_SET", "1," + kNewcomer.toUtf8() + ",3,0,0,-1,8,65535,1,0,0,3,"
                                   + board->m_curr_note.create_data.toUtf8() + ",");
        tap.Send("REDRAW_SET", "1," + kNewcomer.toUtf8() + ",FromEventData");
        QTRY_VERIFY_WITH_TIMEOUT(!board->ui->label_gif->isVisible(), 5000);
        QVERIFY(!board->m_loadingMovie);
        QCOMPARE(board->m_board.slot[3].records.masters().size(), 1);
    }
};

QTEST_MAIN(SendersTest)
#include "senders_test.moc"
