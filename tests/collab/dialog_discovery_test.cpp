// A whiteboard searching for hosts and a whiteboard answering searches, with
// plain UDP sockets on the other side, inside the test's own network
// namespace (its link carries 192.0.2.1 and the addresses added below).
#include "app/ui/dialog.h"
#include "collab/discovery_core.h"
#include "collab/ui/collconnectdlg.h"
#include "tests/support/debug_log.h"
#include "tests/support/net_namespace.h"
#include "tests/support/test_folders.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QUdpSocket>
#include <QtTest>

#include <memory>

namespace {

const QString kAddress = QString::fromLatin1(kNamespaceAddress);
const QString kCatcherAddress = QStringLiteral("192.0.2.7");
const quint16 kPort = coll::kDiscoveryPort;
constexpr auto kShared = QAbstractSocket::ShareAddress | QAbstractSocket::ReuseAddressHint;

// The texts of the datagrams that have reached `socket` within `waitMs`.
QStringList Datagrams(QUdpSocket& socket, int waitMs)
{
    QStringList texts;
    QElapsedTimer clock;
    clock.start();
    do {
        QTest::qWait(20);
        while (socket.hasPendingDatagrams()) {
            QByteArray datagram(int(socket.pendingDatagramSize()), Qt::Uninitialized);
            socket.readDatagram(datagram.data(), datagram.size());
            texts << QString::fromUtf8(datagram);
        }
    } while (clock.elapsed() < waitMs);
    return texts;
}

QStringList ServerList(CollConnectDlg* dialog)
{
    QStringList list;
    for (int i = 0; i < dialog->ServerListCount(); ++i)
        list << dialog->ServerListText(i);
    return list;
}

}  // namespace

class DialogDiscoveryTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<ScopedLibraryFolder> m_libraries;
    std::unique_ptr<Dialog> m_dialog;

    Dialog& d() { return *m_dialog; }
    CollConnectDlg* connectDialog() { return m_dialog->m_collConnectDlg; }

    // Runs a search as the find-server button does and returns how long it
    // lasted, from the click to the button coming back.
    qint64 Search(const QStringList& addresses, int level)
    {
        d().m_localIpv4Addresses = addresses;
        d().m_collUserLevel = level;
        QSignalSpy ended(&d().m_ThreadCollSearch, SIGNAL(finished()));
        QElapsedTimer clock;
        clock.start();
        connectDialog()->Btn_findserver->click();
        if (!ended.wait(10000))
            return -1;
        return connectDialog()->findServerEnabled() ? clock.elapsed() : -1;
    }

private slots:
    void initTestCase()
    {
        if (!InOwnNetworkNamespace())
            QSKIP("no network namespace can be made here; discovery broadcasts only inside one");
        for (const QString& address : {QStringLiteral("192.0.2.2"), QStringLiteral("192.0.2.3"), kCatcherAddress})
            QVERIFY(AddNamespaceAddress(address));
        qInstallMessageHandler(CollectLog);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_libraries = std::make_unique<ScopedLibraryFolder>(BuiltProgramFolder());
        m_dialog = std::make_unique<Dialog>();
        m_dialog->show();
        m_dialog->InitDialog(false);
        QVERIFY(connectDialog());
        connectDialog()->BtnRdo_client->click();
        QVERIFY(connectDialog()->Btn_findserver->isVisibleTo(connectDialog()));
    }

    void cleanupTestCase()
    {
        if (m_dialog)
            m_dialog->OptServerClose();
        m_dialog.reset();
    }

    // Answers count once each, in the order they first came: a tag that is
    // not exactly "SV", a bare tag and a value holding "/" are dropped, an
    // empty value is kept, and a datagram ends at its first NUL.
    void answersFillTheServerList()
    {
        QUdpSocket fakeHost;
        QVERIFY(fakeHost.bind(QHostAddress::AnyIPv4, kPort, kShared));
        d().m_localIpv4Addresses = QStringList{kAddress};
        d().m_collUserLevel = 0;
        QSignalSpy ended(&d().m_ThreadCollSearch, SIGNAL(finished()));
        connectDialog()->Btn_findserver->click();
        QVERIFY(!connectDialog()->findServerEnabled());

        QTRY_VERIFY_WITH_TIMEOUT(fakeHost.hasPendingDatagrams(), 2000);
        QCOMPARE(Datagrams(fakeHost, 0), QStringList{"CL/" + kAddress});
        for (const QByteArray& answer : {QByteArray("SV/x"), QByteArray("SV/x"), QByteArray("sv/y"), QByteArray("SV"),
                                         QByteArray("SV/a/b"), QByteArray("SV/"), QByteArray("SV/x\0tail", 9),
                                         QByteArray("CL/192.0.2.9")})
            fakeHost.writeDatagram(answer, QHostAddress(kAddress), kPort);
        QVERIFY(ended.wait(5000));
        QVERIFY(connectDialog()->findServerEnabled());
        QCOMPARE(ServerList(connectDialog()), QStringList({"x", ""}));
    }

    // A pass per address waits for answers; no address means no wait, and a
    // host's own search sends nothing and ends at once. The button comes
    // back every time.
    void searchDuration_data()
    {
        QTest::addColumn<QStringList>("addresses");
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("atLeastMs");
        QTest::addColumn<int>("belowMs");
        const QStringList three = {kAddress, "192.0.2.2", "192.0.2.3"};
        QTest::newRow("three addresses") << three << 0 << 1500 << 4000;
        QTest::newRow("no address") << QStringList() << 0 << 0 << 300;
        QTest::newRow("hosting") << three << 3 << 0 << 300;
    }
    void searchDuration()
    {
        QFETCH(QStringList, addresses);
        QFETCH(int, level);
        QFETCH(int, atLeastMs);
        QFETCH(int, belowMs);
        QUdpSocket observer;
        QVERIFY(observer.bind(QHostAddress::AnyIPv4, kPort, kShared));
        const qint64 lasted = Search(addresses, level);
        QVERIFY2(lasted >= atLeastMs && lasted < belowMs, qPrintable(QString::number(lasted)));
        QStringList queries;
        for (const QString& address : addresses)
            queries << "CL/" + address;
        QCOMPARE(Datagrams(observer, 100), level == 3 ? QStringList() : queries);
        QCOMPARE(connectDialog()->ServerListCount(), 0);
    }

    // A host answers a query with its participant ID, to the address the
    // query names whatever the datagram's source, and only while it hosts.
    // An address that is not one plain unicast address gets no answer, so
    // no query makes the host send to a whole network.
    void hostAnswers_data()
    {
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("answered");
        QTest::newRow("query") << QByteArray("CL/192.0.2.7") << 3 << true;
        QTest::newRow("viewer") << QByteArray("CL/192.0.2.7") << 1 << false;
        QTest::newRow("writer") << QByteArray("CL/192.0.2.7") << 2 << false;
        QTest::newRow("session left") << QByteArray("CL/192.0.2.7") << 0 << false;
        QTest::newRow("lower-case tag") << QByteArray("cl/192.0.2.7") << 3 << false;
        QTest::newRow("three parts") << QByteArray("CL/192.0.2.7/x") << 3 << false;
        QTest::newRow("limited broadcast") << QByteArray("CL/255.255.255.255") << 3 << false;
        QTest::newRow("directed broadcast") << QByteArray("CL/192.0.2.255") << 3 << false;
        QTest::newRow("multicast") << QByteArray("CL/224.0.0.1") << 3 << false;
        QTest::newRow("any") << QByteArray("CL/0.0.0.0") << 3 << false;
        QTest::newRow("spaced") << QByteArray("CL/ 192.0.2.7") << 3 << false;
        QTest::newRow("empty") << QByteArray("CL/") << 3 << false;
    }
    void hostAnswers()
    {
        QFETCH(QByteArray, query);
        QFETCH(int, level);
        QFETCH(bool, answered);
        if (!d().m_session.serverRunning) {
            d().OptStartServer(kAddress, "Server", "pw");
            QVERIFY(d().m_session.serverRunning);
        }
        QCOMPARE(d().m_ownId, QString("[Server]_192.0.2.1"));
        d().m_collUserLevel = level;
        // One socket where the answer is sent, one that sees anything sent
        // to a broadcast address, and the query from the host's address.
        QUdpSocket catcher, broadcastCatcher, searcher;
        QVERIFY(catcher.bind(QHostAddress(kCatcherAddress), kPort, kShared));
        QVERIFY(broadcastCatcher.bind(QHostAddress::AnyIPv4, kPort, kShared));
        QVERIFY(searcher.bind(QHostAddress(kAddress), 0));
        searcher.writeDatagram(query, QHostAddress::Broadcast, kPort);

        const QStringList expected = answered ? QStringList{"SV/[Server]_192.0.2.1"} : QStringList();
        QCOMPARE(Datagrams(catcher, 300), expected);
        QCOMPARE(Datagrams(broadcastCatcher, 0).filter(QRegularExpression("^SV")), QStringList());
        d().m_collUserLevel = 3;
    }

    // A search on a board that hosted before lets go of the old listener
    // first: from then on nobody is answered.
    void searchDropsLeftOverListener()
    {
        QVERIFY(d().m_discoverySocket);
        QVERIFY(Search({}, 0) >= 0);
        QVERIFY(!d().m_discoverySocket);
    }
};

DRAVIK_NETNS_TEST_MAIN(DialogDiscoveryTest, QApplication)
#include "dialog_discovery_test.moc"
