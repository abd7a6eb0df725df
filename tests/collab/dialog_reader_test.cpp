// The main window reading its session socket: a real Dialog whose socket
// comes from our collaboration library, fed by a test peer on loopback that
// writes the bytes exactly as each case needs them.
#include "app/ui/dialog.h"
#include "collab/coll_frame.h"
#include "collab/coll_messages.h"
#include "tests/support/debug_log.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QtTest>

#include <memory>

namespace {

QByteArray Frame(const QByteArray& keyword, const QByteArray& data, const QByteArray& tail = "Block_EN\n")
{
    return BuildCollFrame(keyword, data, tail);
}

// The receiver's lines, one per dispatched frame, as "KEYWORD : data".
QStringList Dispatched()
{
    QStringList lines;
    const QString prefix = QStringLiteral("EXE Rx : [");
    for (const QString& line : qAsConst(g_log)) {
        if (!line.startsWith(prefix))
            continue;
        const QString rest = line.mid(prefix.size());
        const int end = rest.indexOf(QStringLiteral("] "));
        lines << rest.left(end) + QStringLiteral(" : ") + rest.mid(end + 2);
    }
    return lines;
}

int LinesWith(const QString& text)
{
    int count = 0;
    for (const QString& line : qAsConst(g_log))
        count += line.contains(text) ? 1 : 0;
    return count;
}

}  // namespace

class DialogReaderTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<Dialog> m_dialog;
    QTcpServer m_server;
    QTcpSocket* m_peer = nullptr;

    // Writes and waits until the bytes have left the peer.
    void Write(const QByteArray& bytes)
    {
        m_peer->write(bytes);
        QTRY_VERIFY_WITH_TIMEOUT(m_peer->bytesToWrite() == 0, 5000);
    }

    void DrainQueuedCalls()
    {
        bool reached = false;
        QMetaObject::invokeMethod(m_dialog.get(), [&reached]() { reached = true; }, Qt::QueuedConnection);
        QTRY_VERIFY2_WITH_TIMEOUT(reached, "a queued call reaching the window", 5000);
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        ScopedLibraryFolder libraries(BuiltProgramFolder());
        m_dialog = std::make_unique<Dialog>();
        m_dialog->LoadCollaborationLibrary();
        QVERIFY(m_dialog->m_collLibraryLoaded);
        QVERIFY(m_server.listen(QHostAddress::LocalHost, 0));
        qInstallMessageHandler(CollectLog);
    }

    void cleanupTestCase()
    {
        qInstallMessageHandler(nullptr);
        m_dialog.reset();
        m_root.reset();
    }

    // Each case gets a fresh session socket from the library, connected to
    // the test peer.
    void init()
    {
        coll::KonnexaLibrary& konnexa = m_dialog->m_konnexa;
        konnexa.soc_new();
        m_dialog->Coll_AttachSocket();
        konnexa.soc_connectToHost(QStringLiteral("127.0.0.1"), m_server.serverPort());
        QVERIFY(m_server.waitForNewConnection(5000));
        m_peer = m_server.nextPendingConnection();
        QTRY_VERIFY_WITH_TIMEOUT(konnexa.soc_()->state() == QAbstractSocket::ConnectedState, 5000);
        // As a session's start connects it.
        connect(konnexa.soc_(), &QAbstractSocket::errorOccurred, m_dialog.get(), &Dialog::onConnect_error);
        m_dialog->m_debugMode = false;
        g_log.clear();
    }

    void cleanup()
    {
        delete m_peer;
        m_peer = nullptr;
        m_dialog->m_konnexa.soc_delete();
    }

    void twoFramesInOneWrite()
    {
        Write(Frame("REALTIME_EVENT", "3,0,1,10,20") + Frame("PENWIDTH_SET", "4,3"));
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched().size(), 2, 5000);
        QTest::qWait(50);
        QCOMPARE(Dispatched(), QStringList({"REALTIME_EVENT : 3,0,1,10,20", "PENWIDTH_SET : 4,3"}));
    }

    void frameSplitOverTwoWrites()
    {
        const QByteArray frame = Frame("NOTEIDX_SET", "0,,2,5");
        Write(frame.left(9));
        QTest::qWait(50);
        QCOMPARE(Dispatched(), QStringList());
        Write(frame.mid(9));
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched(), QStringList({"NOTEIDX_SET : 0,,2,5"}), 5000);
    }

    void frameSplitByteByByte()
    {
        const QByteArray frame = Frame("NOTEBTN_SET", "[A]_127.0.0.1");
        for (const char byte : frame) {
            m_peer->write(&byte, 1);
            m_peer->flush();
            QTest::qWait(2);
        }
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched().size(), 1, 5000);
        QTest::qWait(50);
        QCOMPARE(Dispatched(), QStringList({"NOTEBTN_SET : [A]_127.0.0.1"}));
    }

    void unknownKeywordsChangeNothing()
    {
        Write(Frame("SENDMSG", "x") + Frame("USERS", "[A]_1") + Frame("NoSuchKeyword", "1") + Frame("NOTEBTN_SET", "[A]_1"));
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched(), QStringList({"NOTEBTN_SET : [A]_1"}), 5000);
    }

    void packetLog()
    {
        QListWidget* log = m_dialog->ui->listWidget_logwindow2;
        log->clear();
        m_dialog->m_debugMode = true;
        // File chunks are neither listed nor logged.
        Write(Frame("NOTEBTN_SET", "abc") + Frame("DOC_ST", QByteArray(3072, 'x'), "0,,0,Block_EN\n")
              + Frame("PENWIDTH_SET", "first"));
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched().size(), 2, 5000);
        QCOMPARE(Dispatched().last(), QStringLiteral("PENWIDTH_SET : first"));
        QCOMPARE(log->count(), 2);
        QCOMPARE(log->item(0)->text(), QString("EXE Rx : [NOTEBTN_SET], TotalSize=37, nextsize=35, H=11, D=3, T=9, strD=abc"));
        QByteArray more;
        for (int i = 0; i < 77; ++i)
            more += Frame("PENWIDTH_SET", QByteArray::number(i));
        Write(more);
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched().size(), 79, 5000);
        QCOMPARE(log->count(), 79);
        // The 80th line empties the list.
        Write(Frame("PENWIDTH_SET", "last"));
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched().size(), 80, 5000);
        QCOMPARE(log->count(), 0);
        // With the debug mode off nothing is listed.
        m_dialog->m_debugMode = false;
        Write(Frame("NOTEBTN_SET", "x"));
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched().size(), 81, 5000);
        QCOMPARE(log->count(), 0);
    }

    // The reader never waits: with half a frame held and the peer gone the
    // window answers at once.
    void halfFrameThenClose()
    {
        const QByteArray frame = Frame("REALTIME_EVENT", "3,0,1,1,1");
        Write(frame.left(frame.size() / 2));
        m_peer->disconnectFromHost();
        QTRY_VERIFY_WITH_TIMEOUT(m_dialog->m_konnexa.soc_()->state() == QAbstractSocket::UnconnectedState, 5000);
        bool answered = false;
        QElapsedTimer clock;
        clock.start();
        QMetaObject::invokeMethod(m_dialog.get(), [&]() { answered = true; }, Qt::QueuedConnection);
        QTRY_VERIFY_WITH_TIMEOUT(answered, 1000);
        QVERIFY(clock.elapsed() < 1000);
        QCOMPARE(Dispatched(), QStringList());
    }

    // However the connection ends (bytes that cannot be a frame, a close by
    // the peer), the session ends once through the lost-connection path: the
    // window is alone again and says so.
    void connectionEndEndsTheSessionOnce_data()
    {
        QTest::addColumn<QByteArray>("garbage");  // empty: the peer closes
        QTest::newRow("a frame size that cannot be") << QByteArray::fromHex("0006 00000064 0000");
        QTest::newRow("a short header") << QByteArray::fromHex("0008 00000010 61626364");
        QTest::newRow("the peer closes") << QByteArray();
    }
    void connectionEndEndsTheSessionOnce()
    {
        QFETCH(QByteArray, garbage);
        m_dialog->m_collConnected = true;
        m_dialog->m_collUserLevel = 1;
        m_dialog->SetToolbarByRole(1, true);
        QVERIFY(!m_dialog->ui->drawbtn->isEnabled());
        if (garbage.isEmpty()) {
            Write(Frame("NOTEBTN_SET", "before"));
            m_peer->disconnectFromHost();
        } else {
            Write(Frame("NOTEBTN_SET", "before") + garbage + Frame("NOTEBTN_SET", "after"));
            QTRY_COMPARE_WITH_TIMEOUT(LinesWith("DLL : receive data size Error"), 1, 5000);
            QTRY_VERIFY_WITH_TIMEOUT(m_peer->state() == QAbstractSocket::UnconnectedState, 5000);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m_dialog->m_collConnected, 5000);
        QCOMPARE(m_dialog->m_collUserLevel, 0);
        QVERIFY(m_dialog->ui->drawbtn->isEnabled());
        // Every report of the end (error, close, our abort) was queued before
        // the session ended, so it has come in once a later call has.
        DrainQueuedCalls();
        QCOMPARE(LinesWith("cannot connect server."), 1);
        QCOMPARE(Dispatched(), QStringList({"NOTEBTN_SET : before"}));
        QCOMPARE(LinesWith("DLL : receive data size Error"), garbage.isEmpty() ? 0 : 1);
    }

    // A burst is read in steps: every frame in order, and the window's own
    // timers keep running meanwhile.
    void burstKeepsTheWindowServiced()
    {
        const int count = 20000;
        QByteArray burst;
        for (int i = 0; i < count; ++i)
            burst += Frame("REALTIME_EVENT", QByteArray::number(i));
        QTimer tick(m_dialog.get());
        QElapsedTimer sinceTick;
        qint64 longestGap = 0;
        int ticks = 0;
        connect(&tick, &QTimer::timeout, [&]() {
            if (ticks++ > 0)
                longestGap = qMax(longestGap, sinceTick.elapsed());
            sinceTick.restart();
        });
        tick.start(10);
        sinceTick.start();
        m_peer->write(burst);
        QTRY_COMPARE_WITH_TIMEOUT(Dispatched().size(), count, 60000);
        tick.stop();
        const QStringList lines = Dispatched();
        for (int i = 0; i < count; ++i)
            QCOMPARE(lines.at(i), QStringLiteral("REALTIME_EVENT : %1").arg(i));
        QVERIFY(ticks > 1);
        QVERIFY2(longestGap < 500, qPrintable(QString::number(longestGap)));
    }

    void oversizedFrameRefused()
    {
        QVERIFY(m_dialog->setData("DOC_ST", QByteArray(70000, 'x'), "0,,0,Block_EN\n").isEmpty());
        QCOMPARE(LinesWith("EXE Tx: frame too large, not sent"), 1);
        const QByteArray frame = m_dialog->setData("EXIT", "abc", "Block_EN\n");
        QCOMPARE(frame.size(), 30);
        QCOMPARE(LinesWith("EXE Tx: TotalSize = 30, nextSize = 28, Header = 4, Data = 3, Tail = 9"), 1);
    }

    // Through the real relay hosted by RelayProbe: the window joins as host
    // and a probe peer's frame reaches its receiver.
    void throughTheRelay()
    {
        m_dialog->m_konnexa.soc_delete();
        QTcpServer portProbe;
        QVERIFY(portProbe.listen(QHostAddress::AnyIPv4, 0));
        const QString port = QString::number(portProbe.serverPort());
        portProbe.close();
        RunningProgram relay;
        QVERIFY(relay.start(QStringLiteral("RelayProbe"), {"serve", port, "30"}));
        QVERIFY(relay.waitForLine(QStringLiteral("listening ") + port, 10000) >= 0);

        coll::KonnexaLibrary& konnexa = m_dialog->m_konnexa;
        konnexa.soc_new();
        m_dialog->Coll_AttachSocket();
        konnexa.soc_connectToHost(QStringLiteral("127.0.0.1"), port.toInt());
        QTRY_VERIFY_WITH_TIMEOUT(konnexa.soc_()->state() == QAbstractSocket::ConnectedState, 5000);
        konnexa.soc_()->write(m_dialog->setData("Connected_OK", coll::HandshakeData("[H]_127.0.0.1", "pw", 3),
                                                coll::kBlockEnd));
        QTRY_VERIFY_WITH_TIMEOUT(g_log.contains("exe : users : [H]_127.0.0.1"), 5000);

        RunningProgram peer;
        QVERIFY(peer.start(QStringLiteral("RelayProbe"), {"peer", "127.0.0.1", port, "30"}));
        peer.write("Connected_OK|[P]_127.0.0.1,pw,2\n");
        // Strokes pass the relay from the writer the host named.
        QVERIFY(peer.waitForLine(QStringLiteral("rx users|[H]_127.0.0.1,[P]_127.0.0.1|Block_EN\\n"), 5000) >= 0);
        konnexa.soc_()->write(m_dialog->setData("LEVEL_CH", "[P]_127.0.0.1,2,0", coll::kBlockEnd));
        QVERIFY(konnexa.soc_()->waitForBytesWritten(5000));
        QVERIFY(peer.waitForLine(QStringLiteral("rx LEVEL_CH|[P]_127.0.0.1,2,0|Block_EN\\n"), 5000) >= 0);
        peer.write("REALTIME_EVENT|3,10,1,7,8\n");
        QTRY_VERIFY_WITH_TIMEOUT(Dispatched().contains("REALTIME_EVENT : 3,10,1,7,8"), 10000);
        // Only a host answers a newcomer; this window is none.
        QVERIFY(m_dialog->m_pendingNewcomers.isEmpty());
        peer.kill();
        relay.kill();
    }
};

QTEST_MAIN(DialogReaderTest)
#include "dialog_reader_test.moc"
