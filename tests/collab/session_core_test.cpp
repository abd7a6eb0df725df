// The session's identities and the host's write-right rules.
#include "collab/coll_messages.h"
#include "collab/session_core.h"

#include <QtTest>

using coll::RightsStep;

Q_DECLARE_METATYPE(QVector<RightsStep>)

namespace {

RightsStep Level(const QString& id, int level, int flag) { return {RightsStep::SendLevel, id, level, flag}; }
RightsStep Unmark(const QString& id) { return {RightsStep::UnmarkWrite, id, 0, 0}; }
RightsStep Mark(const QString& id) { return {RightsStep::MarkWrite, id, 0, 0}; }
RightsStep ToolHome(const QString& host) { return {RightsStep::ToolBackToHost, host, 0, 0}; }
RightsStep Highlight(const QString& id) { return {RightsStep::ClearWriterHighlight, id, 0, 0}; }

const QString kHost = QStringLiteral("[Server]_10.0.0.5");
const QString kP = QStringLiteral("[P]_10.0.0.7");
const QString kQ = QStringLiteral("[Q]_10.0.0.8");

}  // namespace

class SessionCoreTest : public QObject
{
    Q_OBJECT

private slots:
    // Fields of the handshake and the discovery answer are cut at "," and
    // "/": a typed ID can hold neither, nor anything unprintable, nor run on.
    void participantIds_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain") << "Desk7" << "10.0.0.5" << "[Desk7]_10.0.0.5";
        QTest::newRow("comma") << "a,b" << "10.0.0.5" << "[a_b]_10.0.0.5";
        QTest::newRow("slash") << "a/b/../c" << "10.0.0.5" << "[a_b_.._c]_10.0.0.5";
        QTest::newRow("control") << QString("a\nb\x01") << "1.2.3.4" << "[ab]_1.2.3.4";
        QTest::newRow("long") << QString(200, 'x') << "1.2.3.4" << "[" + QString(64, 'x') + "]_1.2.3.4";
        QTest::newRow("empty") << "" << "1.2.3.4" << "[]_1.2.3.4";
    }
    void participantIds()
    {
        QFETCH(QString, typed);
        QFETCH(QString, address);
        QFETCH(QString, expected);
        const QString id = coll::ParticipantId(typed, address);
        QCOMPARE(id, expected);
        QCOMPARE(coll::ParticipantAddress(id), address);
        // The relay reads the handshake's first field as the ID: it must be
        // the whole ID, and the password after it intact.
        const coll::Fields fields(coll::HandshakeData(id, "pw", 1));
        QCOMPARE(fields.text(0), expected);
        QCOMPARE(fields.text(1), QString("pw"));
    }

    void caseInsensitiveOrder()
    {
        QStringList ids{"[b]_1", "[A]_2", "[c]_3", "[B]_0"};
        std::stable_sort(ids.begin(), ids.end(), coll::CaseInsensitiveLessThan);
        QCOMPARE(ids, QStringList({"[A]_2", "[B]_0", "[b]_1", "[c]_3"}));
    }

    // A sequence of host choices against the frames and marks in order.
    void writeRight_data()
    {
        QTest::addColumn<QStringList>("choices");   // "id" or "" for a smart-pen press/release
        QTest::addColumn<QString>("toolHolder");
        QTest::addColumn<QVector<RightsStep>>("last");
        QTest::addColumn<QString>("holder");

        QTest::newRow("grant") << QStringList{kP} << kHost
                               << QVector<RightsStep>{Level(kP, 2, 0), Mark(kP), Highlight(kP)} << kP;
        QTest::newRow("take back") << QStringList{kP, kP} << kHost
                                   << QVector<RightsStep>{Level(kP, 1, 0), Unmark(kP)} << QString();
        QTest::newRow("move to Q") << QStringList{kP, kQ} << kHost
                                   << QVector<RightsStep>{Level(kP, 1, 0), Unmark(kP), Level(kQ, 2, 0), Mark(kQ),
                                                          Highlight(kQ)}
                                   << kQ;
        QTest::newRow("move while P holds the tool")
            << QStringList{kP, kQ} << kP
            << QVector<RightsStep>{Level(kP, 1, 0), Unmark(kP), ToolHome(kHost), Level(kQ, 2, 0), Mark(kQ),
                                   Highlight(kQ)}
            << kQ;
        QTest::newRow("take back the tool holder") << QStringList{kP, kP} << kP
                                                   << QVector<RightsStep>{Level(kP, 1, 0), Unmark(kP), ToolHome(kHost)}
                                                   << QString();
        QTest::newRow("host's own row") << QStringList{kHost} << kHost << QVector<RightsStep>{} << QString();
        QTest::newRow("empty row") << QStringList{QString()} << kHost << QVector<RightsStep>{} << QString();
        QTest::newRow("smart pen, nobody writes") << QStringList{QString(), QString()} << kHost
                                                  << QVector<RightsStep>{} << QString();
        QTest::newRow("smart pen press suspends") << QStringList{kP, QString()} << kHost
                                                  << QVector<RightsStep>{Level(kP, 1, 1), Unmark(kP)} << QString();
        QTest::newRow("smart pen release resumes")
            << QStringList{kP, QString(), QString()} << kHost
            << QVector<RightsStep>{Level(kP, 2, 1), Mark(kP), Highlight(kP)} << kP;
    }
    void writeRight()
    {
        QFETCH(QStringList, choices);
        QFETCH(QString, toolHolder);
        QFETCH(QVector<RightsStep>, last);
        QFETCH(QString, holder);
        coll::Session session;
        session.hostId = kHost;
        QVector<RightsStep> steps;
        for (const QString& choice : choices)
            steps = coll::SetUserLevel(session, choice, choice.isEmpty(), toolHolder);
        QCOMPARE(steps, last);
        QCOMPARE(session.writeHolder, holder);
    }

    // Leaving keeps only what outlives a session.
    void leave()
    {
        coll::Session session;
        session.serverRunning = true;
        session.hostId = kHost;
        session.writeHolder = kP;
        session.ownAddress = "10.0.0.5";
        session.timeoutCount = 3;
        session.Leave();
        QVERIFY(!session.serverRunning);
        QVERIFY(session.hostId.isEmpty());
        QVERIFY(session.writeHolder.isEmpty());
        QCOMPARE(session.ownAddress, QString("10.0.0.5"));
        QCOMPARE(session.timeoutCount, 3);
    }
};

QTEST_APPLESS_MAIN(SessionCoreTest)
#include "session_core_test.moc"
