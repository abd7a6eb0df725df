// Which addresses named in a search query a host may answer.
#include "collab/discovery_core.h"

#include <QtTest>

class DiscoveryCoreTest : public QObject
{
    Q_OBJECT

private slots:
    void answerableAddresses_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("answerable");
        QTest::newRow("private") << "10.0.0.7" << true;
        QTest::newRow("test net") << "192.0.2.7" << true;
        QTest::newRow("highest unicast") << "223.255.255.254" << true;
        QTest::newRow("limited broadcast") << "255.255.255.255" << false;
        QTest::newRow("directed broadcast") << "192.0.2.255" << false;
        QTest::newRow("multicast low") << "224.0.0.1" << false;
        QTest::newRow("multicast high") << "239.255.255.250" << false;
        QTest::newRow("reserved") << "240.0.0.1" << false;
        QTest::newRow("any") << "0.0.0.0" << false;
        QTest::newRow("this network") << "0.1.2.3" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("text") << "host.example" << false;
        QTest::newRow("short form") << "10.7" << false;
        QTest::newRow("leading zero") << "010.0.0.7" << false;
        QTest::newRow("hexadecimal") << "0x0a.0.0.7" << false;
        QTest::newRow("surrounding space") << " 10.0.0.7 " << false;
        QTest::newRow("octet too large") << "10.0.0.256" << false;
        QTest::newRow("five parts") << "10.0.0.7.1" << false;
        QTest::newRow("ipv6") << "::1" << false;
        QTest::newRow("mapped ipv6") << "::ffff:10.0.0.7" << false;
    }
    void answerableAddresses()
    {
        QFETCH(QString, text);
        QFETCH(bool, answerable);
        QCOMPARE(coll::AnswerableAddress(text, {QHostAddress("192.0.2.255")}), answerable);
    }
};

QTEST_APPLESS_MAIN(DiscoveryCoreTest)
#include "discovery_core_test.moc"
