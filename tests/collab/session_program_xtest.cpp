// Two real whiteboards, each on an X server of its own, host and join a
// session through the toolbar and the connect dialog, inside the test's own
// network namespace; a plain socket stands in for a third participant.
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "collab/session_core.h"
#include "tests/support/collab_session.h"
#include "tests/support/net_namespace.h"

#include <QApplication>
#include <QImage>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QUdpSocket>
#include <QtTest>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);

class TestPeer
{
public:
    bool Join(const QString& id, const QString& password)
    {
        socket.connectToHost(kAddress, coll::kSessionPort);
        if (!socket.waitForConnected(5000))
            return false;
        socket.write(BuildCollFrame("Connected_OK", coll::HandshakeData(id, password, 1), coll::kBlockEnd));
        return QTest::qWaitFor([this]() { return !Users().isEmpty(); }, 5000);
    }
    // The latest participant list the relay sent.
    QString Users()
    {
        buffer.Append(socket.readAll());
        CollFrame frame;
        QByteArray bytes;
        while (buffer.Next(&frame, &bytes) > 0) {
            if (frame.keyword == "users")
                users = QString::fromUtf8(frame.data);
        }
        return users;
    }
    QTcpSocket socket;
    CollFrameBuffer buffer;
    QString users;
};

}  // namespace

class SessionProgramXTest : public CollabProgramTest
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        DRAVIK_SKIP_WHERE_SESSIONS_CANNOT_RUN();
        QVERIFY(MeasurePlaces());
    }

    void session()
    {
        SessionBoard hostBoard, joinBoard;
        auto& [hostDisplay, hostRoot, host] = hostBoard;
        auto& [joinDisplay, joinRoot, participant] = joinBoard;

        // The host creates the session through the toolbar and the dialog.
        QVERIFY(hostBoard.Start());
        QVERIFY(Host(hostBoard));
        QVERIFY(host.waitForLine("exe OptConnect : IP=192.0.2.1, ID=Server, Pass=pw, Level=3", 5000) >= 0);
        // Port 4041 is held (shared) by the host's discovery listener, which
        // may open a moment after the log line on a busy machine.
        const auto discoveryPortHeld = [] {
            QUdpSocket probe;
            return !probe.bind(QHostAddress::AnyIPv4, coll::kDiscoveryPort);
        };
        QTRY_VERIFY2_WITH_TIMEOUT(discoveryPortHeld(), "the host's discovery listener holding its port", 10000);
        TestPeer peer;
        QVERIFY(peer.Join("[Peer]_192.0.2.77", "pw"));
        QCOMPARE(peer.Users(), QString("[Server]_192.0.2.1,[Peer]_192.0.2.77"));

        // The second whiteboard joins as a viewer: new lecture, loading
        // animation, listed by the relay.
        QVERIFY(joinBoard.Start());
        QVERIFY(Connect(joinDisplay, participant, kAddress));
        QVERIFY(participant.waitForLine("exe OptConnect : IP=192.0.2.1, ID=User, Pass=pw, Level=1", 10000) >= 0);
        QTRY_COMPARE_WITH_TIMEOUT(peer.Users(),
                                  QString("[Server]_192.0.2.1,[Peer]_192.0.2.77,[User]_192.0.2.1"), 10000);
        QVERIFY(participant.hasLine("EXE Tx: TotalSize"));
        {
            // The host answers the newcomer with its board: the loading
            // animation shown on joining is gone once the redraw order came.
            const auto darkInTheMiddle = [&]() {
                const QImage screen = Screen(joinDisplay);
                if (screen.isNull())
                    return -1;
                int dark = 0;
                const QPoint c = screen.rect().center();
                for (int y = c.y() - 60; y < c.y() + 60; ++y)
                    for (int x = c.x() - 60; x < c.x() + 60; ++x)
                        dark += qGray(screen.pixel(x, y)) < 200 ? 1 : 0;
                return dark;
            };
            QTRY_COMPARE_WITH_TIMEOUT(darkInTheMiddle(), 0, 10000);
        }

        // Leaving and joining with a wrong password: refused, alone again.
        QVERIFY(OpenConnectDialog(joinDisplay, participant));
        Click(joinDisplay, m_at["Btn_disconnect"]);
        QTRY_COMPARE_WITH_TIMEOUT(peer.Users(), QString("[Server]_192.0.2.1,[Peer]_192.0.2.77"), 10000);
        int mark = participant.lines().size();
        QVERIFY(Connect(joinDisplay, participant, kAddress, "wrong"));
        QVERIFY(participant.waitForLine("message box critical:  | cannot connect server.", 10000, mark) >= 0);
        QVERIFY(participant.waitForLine("connect_Server error :  false", 5000, mark) >= 0);
        QVERIFY(participant.hasLine("message box critical: PASSERROR | Pass error", mark));

        // Joined again, the host going away ends the session the same way.
        QVERIFY(Connect(joinDisplay, participant, kAddress));
        QTRY_VERIFY_WITH_TIMEOUT(peer.Users().contains("[User]_192.0.2.1"), 10000);
        mark = participant.lines().size();
        host.kill();
        QVERIFY(participant.waitForLine("message box critical:  | cannot connect server.", 10000, mark) >= 0);
        QCOMPARE(CloseWhiteboard(participant), 0);

        // A taken port is reported; once it is free, Create works.
        QTemporaryDir secondRoot;
        RunningProgram secondHost;
        QVERIFY(StartSessionBoard(secondHost, hostDisplay, secondRoot.path()));
        {
            QTcpServer squatter;
            QVERIFY(squatter.listen(QHostAddress::AnyIPv4, coll::kSessionPort));
            QVERIFY(Connect(hostDisplay, secondHost, QString()));
            QVERIFY(secondHost.waitForLine("message box critical:  | Could not listen on Port", 10000) >= 0);
            QVERIFY(secondHost.hasLine("exe : ----Not Start Server----"));
        }
        Click(hostDisplay, m_at["Btn_connect"]);
        QVERIFY(secondHost.waitForLine("exe : ----Start Server----", 10000) >= 0);
        TestPeer late;
        QVERIFY(late.Join("[Late]_192.0.2.78", "pw"));
        QCOMPARE(late.Users(), QString("[Server]_192.0.2.1,[Late]_192.0.2.78"));
        secondHost.kill();
    }
};

DRAVIK_NETNS_TEST_MAIN(SessionProgramXTest, QApplication)
#include "session_program_xtest.moc"
