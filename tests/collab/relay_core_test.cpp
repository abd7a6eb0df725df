// The relay's rules without sockets: who is admitted, where each frame goes,
// what a departure tells the others and how hostile input ends a connection.
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/relay_core.h"

#include <QTest>

namespace {

QByteArray Frame(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail = "Block_EN\n")
{
    return BuildCollFrame(keyword, data, tail);
}

// The queued actions as short texts: "2 <- KEYWORD|data" for a send (the tail
// left out unless it is not the terminator), "2 closed", "2 aborted".
QStringList Describe(const QVector<RelayCore::Action>& actions)
{
    QStringList lines;
    for (const RelayCore::Action& action : actions) {
        if (action.kind == RelayCore::ActionKind::Close) {
            lines << QStringLiteral("%1 closed").arg(action.connection);
            continue;
        }
        if (action.kind == RelayCore::ActionKind::Abort) {
            lines << QStringLiteral("%1 aborted").arg(action.connection);
            continue;
        }
        CollFrame frame;
        const int used = ReadCollFrame(action.bytes, &frame);
        QString text = QStringLiteral("%1 <- %2|%3")
                           .arg(action.connection)
                           .arg(QString::fromUtf8(frame.keyword), QString::fromUtf8(frame.data));
        if (frame.tail != "Block_EN\n")
            text += QLatin1Char('|') + coll::FrameText(frame).section(QLatin1Char('|'), 2);
        if (used != action.bytes.size())
            text += QStringLiteral(" (not one whole frame)");
        lines << text;
    }
    return lines;
}

// A relay with a host (connection 1, "H") and two participants (2 "A", 3 "B"),
// all admitted with the password "pw"; the host has made A the writer. The
// admission traffic is taken away.
struct Session {
    RelayCore core;
    explicit Session(int participants = 2)
    {
        core.Open(1, true, 0);
        core.Receive(1, Frame("Connected_OK", "H,pw,3"));
        const char* const ids[] = {"A", "B", "C"};
        for (int i = 0; i < participants; ++i) {
            core.Open(2 + i, false, 0);
            core.Receive(2 + i, Frame("Connected_OK", QByteArray(ids[i]) + ",pw,2"));
        }
        if (participants > 0)
            core.Receive(1, Frame("LEVEL_CH", "A,2,0"));
        core.TakeActions();
    }
    QStringList send(int connection, const QByteArray& bytes)
    {
        core.Receive(connection, bytes);
        return Describe(core.TakeActions());
    }
};

}  // namespace

class RelayCoreTest : public QObject
{
    Q_OBJECT

private slots:
    void admission()
    {
        RelayCore core;
        // A participant that handshakes before the host waits for it.
        core.Open(2, false, 0);
        core.Receive(2, Frame("Connected_OK", "A,pw,2"));
        core.Open(3, false, 0);
        core.Receive(3, Frame("Connected_OK", "B,wrong,1"));
        QCOMPARE(Describe(core.TakeActions()), QStringList());

        // The host's handshake admits it first, then the waiting ones in
        // their order; a password with "," in it is kept whole.
        core.Open(1, true, 0);
        core.Receive(1, Frame("Connected_OK", "H,p,w,3"));
        QCOMPARE(Describe(core.TakeActions()), QStringList({"1 <- users|H", "2 <- PASSERROR|", "2 closed",
                                                            "3 <- PASSERROR|", "3 closed"}));
        QCOMPARE(core.Users(), QStringList({"H"}));

        core.Open(4, false, 0);
        core.Receive(4, Frame("Connected_OK", "A,p,w,2"));
        QCOMPARE(Describe(core.TakeActions()),
                 QStringList({"1 <- users|H,A", "4 <- users|H,A", "1 <- Connected_ID|A"}));
    }

    void refusals_data()
    {
        QTest::addColumn<bool>("local");
        QTest::addColumn<QByteArray>("handshake");
        QTest::newRow("wrong password") << true << QByteArray("X,nope,2");
        QTest::newRow("second host") << true << QByteArray("X,pw,3");
        QTest::newRow("foreign host") << false << QByteArray("X,pw,3");
        QTest::newRow("ID already in the session") << false << QByteArray("A,pw,2");
        QTest::newRow("too few fields") << false << QByteArray("X,2");
    }
    void refusals()
    {
        QFETCH(bool, local);
        QFETCH(QByteArray, handshake);
        Session session(1);
        session.core.Open(9, local, 0);
        // The refused connection's later frames are never relayed.
        QCOMPARE(session.send(9, Frame("Connected_OK", handshake) + Frame("REALTIME_EVENT", "3,0,1,5,5")),
                 QStringList({"9 <- PASSERROR|", "9 closed"}));
        QVERIFY(!session.core.HasConnection(9));
        QCOMPARE(session.core.Users(), QStringList({"H", "A"}));
    }

    void foreignHostWhenNoneYet()
    {
        RelayCore core;
        core.Open(1, false, 0);
        core.Receive(1, Frame("Connected_OK", "H,pw,3"));
        QCOMPARE(Describe(core.TakeActions()), QStringList({"1 <- PASSERROR|", "1 closed"}));
    }

    void pendingConnections()
    {
        Session session(1);
        session.core.Open(5, false, 1000);
        // Frames before the handshake go nowhere.
        QCOMPARE(session.send(5, Frame("REALTIME_EVENT", "3,0,1,5,5")), QStringList());
        session.core.ExpirePending(1000 + RelayCore::kPendingLimitMs - 1);
        QCOMPARE(Describe(session.core.TakeActions()), QStringList());
        session.core.ExpirePending(1000 + RelayCore::kPendingLimitMs);
        QCOMPARE(Describe(session.core.TakeActions()), QStringList({"5 closed"}));
        // Admitted ones never expire.
        session.core.ExpirePending(10 * RelayCore::kPendingLimitMs);
        QCOMPARE(Describe(session.core.TakeActions()), QStringList());
    }

    void routing_data()
    {
        QTest::addColumn<int>("sender");
        QTest::addColumn<QByteArray>("frame");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("live stroke to the others") << 2 << Frame("REALTIME_EVENT", "1,0,1,5,5")
                                                   << QStringList({"1 <- REALTIME_EVENT|1,0,1,5,5",
                                                                   "3 <- REALTIME_EVENT|1,0,1,5,5"});
        QTest::newRow("pen message never read as addressed")
            << 1 << Frame("PENWIDTH_SET", "1,B") << QStringList({"2 <- PENWIDTH_SET|1,B", "3 <- PENWIDTH_SET|1,B"});
        QTest::newRow("edit never read as addressed")
            << 2 << Frame("MODIFY_SET", "1,B,7,0,1,2") << QStringList({"1 <- MODIFY_SET|1,B,7,0,1,2",
                                                                       "3 <- MODIFY_SET|1,B,7,0,1,2"});
        QTest::newRow("mode 1 to the named peer only")
            << 1 << Frame("NOTEIDX_SET", "1,B,0,3") << QStringList({"3 <- NOTEIDX_SET|1,B,0,3"});
        QTest::newRow("mode 1 to a peer that is gone") << 1 << Frame("NOTEIDX_SET", "1,Z,0,3") << QStringList();
        QTest::newRow("mode 0 to all others")
            << 1 << Frame("NOTEIDX_SET", "0,,0,3") << QStringList({"2 <- NOTEIDX_SET|0,,0,3",
                                                                  "3 <- NOTEIDX_SET|0,,0,3"});
        QTest::newRow("file chunk addressed by its tail")
            << 1 << Frame("DOC_ST", "A,xyz", "1,A,0,Block_EN\n")
            << QStringList({"2 <- DOC_ST|A,xyz|1,A,0,Block_EN\\n"});
        QTest::newRow("level change to the peer it names")
            << 1 << Frame("LEVEL_CH", "B,2,0") << QStringList({"3 <- LEVEL_CH|B,2,0"});
        QTest::newRow("tool right to everyone, the host too")
            << 1 << Frame("TOOL_CH", "A")
            << QStringList({"1 <- TOOL_CH|A", "2 <- TOOL_CH|A", "3 <- TOOL_CH|A"});
        QTest::newRow("writer's page request to the others")
            << 2 << Frame("ChangeNote_SET", "0,,2") << QStringList({"1 <- ChangeNote_SET|0,,2",
                                                                   "3 <- ChangeNote_SET|0,,2"});
        QTest::newRow("unknown keyword to the others")
            << 3 << Frame("SENDMSG", "") << QStringList({"1 <- SENDMSG|", "2 <- SENDMSG|"});
        QTest::newRow("handshake again is not relayed") << 2 << Frame("Connected_OK", "A,pw,2") << QStringList();
    }
    void routing()
    {
        QFETCH(int, sender);
        QFETCH(QByteArray, frame);
        QFETCH(QStringList, expected);
        Session session;
        QCOMPARE(session.send(sender, frame), expected);
    }

    // Forged relay messages are dropped from anyone; the host-only ones from
    // anyone but the host.
    void spoofing_data()
    {
        QTest::addColumn<QByteArray>("keyword");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<bool>("hostMaySend");
        for (const char* keyword : {"users", "Connected_ID", "PASSERROR", "EXIT"})
            QTest::newRow(keyword) << QByteArray(keyword) << QByteArray("A") << false;
        for (const char* keyword :
             {"LEVEL_CH", "TOOL_CH", "DATA_CLEAR", "EMDATA_SET", "EDDATA_SET", "FPDATA_SET", "NOTEDATA_SET",
              "NOTEBTN_SET", "NOTEIDX_SET", "IMGPATH_SET", "INITPROJ_SET", "REDRAW_SET", "URdata_SET",
              "MouseRelease_SET", "WIDTHSCROLLBAR_SET", "HEIGHTSCROLLBAR_SET"})
            QTest::newRow(keyword) << QByteArray(keyword) << QByteArray("B,2,0") << true;
    }
    void spoofing()
    {
        QFETCH(QByteArray, keyword);
        QFETCH(QByteArray, data);
        QFETCH(bool, hostMaySend);
        Session session;
        QCOMPARE(session.send(2, Frame(keyword, data)), QStringList());
        QCOMPARE(session.send(1, Frame(keyword, data)).isEmpty(), !hostMaySend);
    }

    // Drawing and board-changing frames pass only from the host and from the
    // participant the host's last level change made the writer; a viewer's
    // are dropped, whatever level it claimed at its handshake.
    void writeRight_data()
    {
        QTest::addColumn<QByteArrayList>("fromHost");  // level changes first
        QTest::addColumn<int>("sender");
        QTest::addColumn<bool>("relayed");
        QTest::addColumn<QString>("writer");
        const QByteArrayList none;
        QTest::newRow("the writer") << none << 2 << true << "A";
        QTest::newRow("a viewer") << none << 3 << false << "A";
        QTest::newRow("the host") << none << 1 << true << "A";
        QTest::newRow("the right taken back") << QByteArrayList{"A,1,0"} << 2 << false << "";
        QTest::newRow("the right moved: the new writer") << QByteArrayList{"A,1,0", "B,2,0"} << 3 << true << "B";
        QTest::newRow("the right moved: the old writer") << QByteArrayList{"A,1,0", "B,2,0"} << 2 << false << "B";
        QTest::newRow("suspended for a host stroke") << QByteArrayList{"A,1,1"} << 2 << false << "";
        QTest::newRow("resumed after it") << QByteArrayList{"A,1,1", "A,2,1"} << 2 << true << "A";
        QTest::newRow("another's loss leaves the writer") << QByteArrayList{"B,1,0"} << 2 << true << "A";
    }
    void writeRight()
    {
        QFETCH(QByteArrayList, fromHost);
        QFETCH(int, sender);
        QFETCH(bool, relayed);
        Session session;
        for (const QByteArray& change : fromHost)
            session.send(1, Frame("LEVEL_CH", change));
        QTEST(session.core.Writer(), "writer");
        for (const char* keyword :
             {"REALTIME_EVENT", "MODIFY_SET", "PENCOLOR_SET", "PENWIDTH_SET", "PENHIGHLIGHT_SET", "PENTYPE_SET",
              "PENINFO_SET", "RESOLUTION_SET", "DATAINFO_SET", "ChangeNote_SET", "UndoRedo_SET", "DOC_ST", "DOC_EN"}) {
            const QStringList out = session.send(sender, Frame(keyword, "0,,3,10,1", "0,,3,pic,Block_EN\n"));
            QVERIFY2(out.isEmpty() != relayed, keyword);
        }
        // What draws nothing still goes round.
        QCOMPARE(session.send(3, Frame("SENDMSG", "hi")).size(), 2);
    }

    // A writer that leaves takes the right with it: under the same ID again
    // it is a viewer until the host grants it anew.
    void writerLeavesWithTheRight()
    {
        Session session;
        session.core.Closed(2);
        session.core.TakeActions();
        QCOMPARE(session.core.Writer(), QString());
        session.core.Open(4, false, 0);
        session.send(4, Frame("Connected_OK", "A,pw,2"));
        QCOMPARE(session.send(4, Frame("REALTIME_EVENT", "3,10,1,5,5")), QStringList());
        session.send(1, Frame("LEVEL_CH", "A,2,0"));
        QCOMPARE(session.send(4, Frame("REALTIME_EVENT", "3,10,1,5,5")),
                 QStringList({"1 <- REALTIME_EVENT|3,10,1,5,5", "3 <- REALTIME_EVENT|3,10,1,5,5"}));
    }

    void departure()
    {
        Session session;
        session.core.Closed(2);
        QCOMPARE(Describe(session.core.TakeActions()),
                 QStringList({"2 closed", "1 <- EXIT|A", "3 <- EXIT|A", "1 <- users|H,B", "3 <- users|H,B"}));
        // A mode 1 frame for the one that left goes nowhere.
        QCOMPARE(session.send(1, Frame("NOTEIDX_SET", "1,A,0,3")), QStringList());
        // Closing twice changes nothing.
        session.core.Closed(2);
        QCOMPARE(Describe(session.core.TakeActions()), QStringList());
        // A dropped participant is aborted and announced the same way.
        session.core.Drop(3);
        QCOMPARE(Describe(session.core.TakeActions()),
                 QStringList({"3 aborted", "1 <- EXIT|B", "1 <- users|H"}));
    }

    void malformedFrames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // Size 6 but the keyword claims 100 bytes.
        QTest::newRow("array longer than the size") << QByteArray::fromHex("0006 00000064 0000");
        // The arrays end before the announced size does.
        QTest::newRow("size longer than the arrays")
            << QByteArray::fromHex("0010 00000000 00000000 00000000 00000000");
    }
    void malformedFrames()
    {
        QFETCH(QByteArray, bytes);
        Session session;
        // The frame before the bad bytes still goes out, then the sender is
        // dropped with its departure.
        QCOMPARE(session.send(2, Frame("REALTIME_EVENT", "1") + bytes),
                 QStringList({"1 <- REALTIME_EVENT|1", "3 <- REALTIME_EVENT|1", "2 aborted", "1 <- EXIT|A",
                              "3 <- EXIT|A", "1 <- users|H,B", "3 <- users|H,B"}));
        // A pending connection's bad bytes close it quietly.
        session.core.Open(7, false, 0);
        QCOMPARE(session.send(7, bytes), QStringList({"7 aborted"}));
    }

    // Whole frames only, as their original bytes, each sender's in order,
    // whatever the pieces the bytes come in.
    void splitAndInterleavedInput()
    {
        Session session;
        QByteArray fromA, fromB;
        for (int i = 0; i < 50; ++i) {
            fromA += Frame("REALTIME_EVENT", QByteArray::number(i));
            fromB += Frame("SENDMSG", QByteArray::number(i), QByteArray());
        }
        QByteArray toHost;
        int a = 0, b = 0;
        // A in 7-byte pieces, B in 13-byte pieces, alternating.
        while (a < fromA.size() || b < fromB.size()) {
            if (a < fromA.size()) {
                session.core.Receive(2, fromA.mid(a, 7));
                a += 7;
            }
            if (b < fromB.size()) {
                session.core.Receive(3, fromB.mid(b, 13));
                b += 13;
            }
            for (const RelayCore::Action& action : session.core.TakeActions()) {
                QCOMPARE(int(action.kind), int(RelayCore::ActionKind::Send));
                if (action.connection == 1) {
                    CollFrame frame;
                    QCOMPARE(ReadCollFrame(action.bytes, &frame), action.bytes.size());
                    toHost += action.bytes;
                }
            }
        }
        // Every frame reached the host whole; each sender's order is kept.
        QCOMPARE(toHost.size(), fromA.size() + fromB.size());
        int nextA = 0, nextB = 0;
        for (int offset = 0; offset < toHost.size();) {
            CollFrame frame;
            const int used = ReadCollFrame(toHost.mid(offset), &frame);
            QVERIFY(used > 0);
            offset += used;
            if (frame.keyword == "REALTIME_EVENT")
                QCOMPARE(frame.data.toInt(), nextA++);
            else
                QCOMPARE(frame.data.toInt(), nextB++);
        }
        QCOMPARE(nextA, 50);
        QCOMPARE(nextB, 50);
    }

    void emptyArraysKeepLengthZero()
    {
        Session session;
        const QStringList out = session.send(1, Frame("SENDMSG", QByteArray()));
        QCOMPARE(out.size(), 2);
        // The relayed bytes are the sender's, and an empty array is length 0.
        session.core.Receive(1, Frame("SENDMSG", QByteArray()));
        const QVector<RelayCore::Action> actions = session.core.TakeActions();
        QCOMPARE(actions.first().bytes.toHex(), QByteArray("001c" "0000000753454e444d5347" "00000000"
                                                           "00000009426c6f636b5f454e0a"));
        // The relay's own messages with no data use length 0 too.
        session.core.Open(9, false, 0);
        session.core.Receive(9, Frame("Connected_OK", "X,no,2"));
        QCOMPARE(session.core.TakeActions().first().bytes.mid(2 + 4 + 9, 4).toHex(), QByteArray("00000000"));
    }

    void hostLeavesAndANewOneComes()
    {
        Session session(1);
        session.core.Closed(1);
        session.core.TakeActions();
        // The next local level-3 handshake hosts again with its own password.
        session.core.Open(8, true, 0);
        QCOMPARE(session.send(8, Frame("Connected_OK", "H2,new,3")), QStringList({"2 <- users|A,H2",
                                                                                  "8 <- users|A,H2"}));
        session.core.Open(9, false, 0);
        QCOMPARE(session.send(9, Frame("Connected_OK", "C,new,2")),
                 QStringList({"2 <- users|A,H2,C", "8 <- users|A,H2,C", "9 <- users|A,H2,C",
                              "8 <- Connected_ID|C"}));
        // Only the new host may send host-only frames.
        QCOMPARE(session.send(8, Frame("TOOL_CH", "C")).size(), 3);
    }
};

QTEST_GUILESS_MAIN(RelayCoreTest)
#include "relay_core_test.moc"
