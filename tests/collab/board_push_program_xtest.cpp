// A real whiteboard hosts a session on an X server of its own, inside the
// test's own network namespace; plain sockets join it as newcomers and look
// at the board it pushes to them and at its live strokes.
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/session_core.h"
#include "tests/support/collab_session.h"
#include "tests/support/net_namespace.h"
#include "tests/support/xdotool.h"

#include <QApplication>
#include <QTcpSocket>
#include <QtTest>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);

QString N(int v) { return QString::number(v); }

class TestPeer
{
public:
    bool Join(const QString& newId, const QString& password)
    {
        id = newId;
        socket.connectToHost(kAddress, coll::kSessionPort);
        if (!socket.waitForConnected(5000))
            return false;
        socket.write(BuildCollFrame("Connected_OK", coll::HandshakeData(id, password, 1), coll::kBlockEnd));
        return true;
    }
    QList<CollFrame> Frames()
    {
        buffer.Append(socket.readAll());
        CollFrame frame;
        while (buffer.Next(&frame) > 0)
            frames << frame;
        return frames;
    }
    // The keywords of the frames addressed to this newcomer alone.
    QStringList Addressed()
    {
        QStringList keywords;
        for (const CollFrame& f : Frames()) {
            const coll::Fields fields(f.data);
            if (fields.text(0) == "1" && fields.text(1) == id)
                keywords << QString::fromUtf8(f.keyword);
        }
        return keywords;
    }
    QStringList Data(const QByteArray& keyword)
    {
        QStringList list;
        for (const CollFrame& f : Frames()) {
            if (f.keyword == keyword)
                list << QString::fromUtf8(f.data);
        }
        return list;
    }
    QString id;
    QTcpSocket socket;
    CollFrameBuffer buffer;
    QList<CollFrame> frames;
};

// What the push of a board with `objects` strokes looks like to a newcomer.
QStringList Push(int objects)
{
    QStringList push = {"RESOLUTION_SET", "DATA_CLEAR"};
    for (int i = 0; i < objects; ++i)
        push << "EMDATA_SET";
    for (int i = 0; i < objects; ++i)
        push << "EDDATA_SET";
    return push;
}

}  // namespace

class BoardPushProgramXTest : public CollabProgramTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        DRAVIK_SKIP_WHERE_SESSIONS_CANNOT_RUN();
        QVERIFY(MeasurePlaces());
    }

    void newcomersGetTheBoard()
    {
        SessionBoard hostBoard;
        QVERIFY(hostBoard.Start());
        QVERIFY(Host(hostBoard));
        RunningProgram& host = hostBoard.program;
        Use(hostBoard.display);

        // One stroke on the board, then a newcomer: page, board, tools, redraw.
        Xdotool({"mousemove", "500", "400", "mousedown", "1", "mousemove", "600", "430", "mousemove", "700", "450",
                 "mouseup", "1"});
        QTRY_VERIFY2_WITH_TIMEOUT(InkAlong(hostBoard.display, 680, 700, 448) > 0, "the stroke's end painted on the host",
                                  10000);
        TestPeer first;
        QVERIFY(first.Join("[First]_192.0.2.51", "pw"));
        QTRY_VERIFY_WITH_TIMEOUT(first.Addressed().contains("REDRAW_SET"), 10000);
        QStringList got = first.Addressed();
        const int points = got.removeAll("FPDATA_SET");
        QVERIFY(points > 0);
        QCOMPARE(got, QStringList({"RESOLUTION_SET", "NOTEBTN_SET", "NOTEDATA_SET", "NOTEIDX_SET"}) + Push(1)
                          + QStringList({"DATAINFO_SET", "REDRAW_SET"}));
        QVERIFY(first.Data("IMGPATH_SET").isEmpty());
        // The bars are hidden at 100 %: no scroll messages.
        QVERIFY(first.Data("HEIGHTSCROLLBAR_SET").isEmpty());

        // A newcomer while the mouse is down: the page at once, the board
        // after the release, with the new stroke in it.
        first.frames.clear();
        Xdotool({"mousemove", "500", "600", "mousedown", "1", "mousemove", "560", "620"});
        TestPeer second;
        QVERIFY(second.Join("[Second]_192.0.2.52", "pw"));
        QTRY_VERIFY_WITH_TIMEOUT(second.Addressed().contains("NOTEIDX_SET"), 10000);
        // While the mouse is down the board must not come: a second to see
        // that it does not.
        QTest::qWait(1000);
        QVERIFY(!second.Addressed().contains("DATA_CLEAR"));
        Xdotool({"mousemove", "640", "650", "mouseup", "1"});
        QTRY_VERIFY_WITH_TIMEOUT(second.Addressed().contains("REDRAW_SET"), 10000);
        got = second.Addressed();
        got.removeAll("FPDATA_SET");
        QCOMPARE(got, QStringList({"RESOLUTION_SET", "NOTEBTN_SET", "NOTEDATA_SET", "NOTEIDX_SET"}) + Push(2)
                          + QStringList({"DATAINFO_SET", "REDRAW_SET"}));

        // The drag reached the first peer live: press, moves, release, all
        // in the mouse's one slot.
        QTRY_VERIFY_WITH_TIMEOUT(!first.Data("REALTIME_EVENT").isEmpty(), 5000);
        QStringList phases;
        const QString slot = coll::Fields(first.Data("REALTIME_EVENT").first()).text(1);
        for (const QString& data : first.Data("REALTIME_EVENT")) {
            const coll::Fields fields(data);
            QCOMPARE(fields.text(1), slot);
            phases << fields.text(2);
        }
        QCOMPARE(phases.first(), QStringLiteral("1"));
        QCOMPARE(phases.last(), QStringLiteral("3"));
        QVERIFY(phases.contains("2"));
        const int x = coll::Fields(first.Data("REALTIME_EVENT").first()).toInt(3);
        QVERIFY2(x > 400 && x <= 500, qPrintable(N(x)));
        QCOMPARE(CloseWhiteboard(host), 0);
    }
};

DRAVIK_NETNS_TEST_MAIN(BoardPushProgramXTest, QApplication)
#include "board_push_program_xtest.moc"
