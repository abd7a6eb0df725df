// The pen driver and the whiteboard greeting each other over a long session,
// as two programs: every greeting is answered although the whiteboard greets
// back while the driver waits, a driver that once ran out of time talks to
// the whiteboard again after greeting, and pen moves stay out of the log.
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"

#include <QProcessEnvironment>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTest>

#include <csignal>

namespace {

QProcessEnvironment WhiteboardEnvironment()
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
    return environment;
}

// Sends one command line and waits for its answer, "ok ..." or "fail ...";
// the driver prints nothing else but the messages it receives.
QString Command(RunningProgram& driver, const QByteArray& line, int timeoutMs)
{
    int next = driver.lines().size();
    driver.write(line + '\n');
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        const int left = int(timeoutMs - clock.elapsed());
        const int at = left > 0 ? driver.waitForLine(QString(), left, next) : -1;
        if (at < 0)
            return QStringLiteral("no answer to ") + QString::fromUtf8(line);
        const QString answer = driver.lines().at(at);
        if (answer.startsWith(QLatin1String("ok ")) || answer.startsWith(QLatin1String("fail ")))
            return answer;
        next = at + 1;
    }
}

}  // namespace

class PenDriverXTest : public QObject
{
    Q_OBJECT

    ScopedFolderRoot m_root;

private slots:
    void everyGreetingAnswered()
    {
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {}, WhiteboardEnvironment()));
        RunningProgram driver;
        QVERIFY(driver.start(QStringLiteral("PenDriverStub"), {}));
        QVERIFY(driver.waitForLine(QStringLiteral("ready "), 10000) >= 0);

        // The whiteboard greets back when it has not greeted this driver
        // within the last second: every third greeting at these intervals.
        for (int i = 0; i < 200; ++i) {
            const QString answer = Command(driver, "greet", 15000);
            QVERIFY2(answer.startsWith(QLatin1String("ok greet ")), qPrintable(QStringLiteral("greeting %1: %2").arg(i).arg(answer)));
            QTest::qWait(300 + QRandomGenerator::global()->bounded(100));
        }
        QVERIFY(driver.lines().filter(QStringLiteral("recv 2024 ")).size() >= 50);

        // A stroke of many moves logs its press and its release only.
        const int before = board.lines().size();
        QCOMPARE(Command(driver, "touch 1 100 300 50", 5000), QStringLiteral("ok send 1139"));
        for (int x = 101; x < 600; ++x)
            QCOMPARE(Command(driver, "touch 1 " + QByteArray::number(x) + " 300 10", 5000), QStringLiteral("ok send 1139"));
        QCOMPARE(Command(driver, "touch 1 600 300 60", 5000), QStringLiteral("ok send 1139"));
        QVERIFY(board.waitForLine(QStringLiteral("pen driver pointer 1 : 60, 600, 300"), 5000, before) >= 0);
        const QStringList logged = board.lines().mid(before);
        QVERIFY2(logged.size() < 50, qPrintable(logged.mid(0, 60).join(QLatin1Char('\n'))));

        driver.write("quit\n");
        QCOMPARE(driver.waitForExit(5000), 0);
        QCOMPARE(CloseWhiteboard(board), 0);
    }

    void greetsAgainAfterATimedOutSend()
    {
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {}, WhiteboardEnvironment()));
        RunningProgram driver;
        QVERIFY(driver.start(QStringLiteral("PenDriverStub"), {}));
        QVERIFY(driver.waitForLine(QStringLiteral("ready "), 10000) >= 0);
        QVERIFY(Command(driver, "greet", 15000).startsWith(QLatin1String("ok greet ")));
        // Its greeting back would make the driver take it as there again.
        QVERIFY(driver.waitForLine(QStringLiteral("recv 2024 "), 15000) >= 0);

        // A whiteboard that cannot answer in time counts as gone for the driver.
        // The short limit only for the send that is meant to time out: a
        // busy machine may take longer than that for any answer.
        QCOMPARE(Command(driver, "limit 500", 5000), QStringLiteral("ok limit 500"));
        QCOMPARE(::kill(pid_t(board.pid()), SIGSTOP), 0);
        const QString late = Command(driver, "send 9999 0 0", 5000);
        QCOMPARE(::kill(pid_t(board.pid()), SIGCONT), 0);
        QCOMPARE(late, QStringLiteral("fail send 9999"));
        QCOMPARE(Command(driver, "send 9999 0 0", 5000), QStringLiteral("fail send 9999"));
        QCOMPARE(Command(driver, "limit 10000", 5000), QStringLiteral("ok limit 10000"));

        QVERIFY(Command(driver, "greet", 15000).startsWith(QLatin1String("ok greet ")));
        QCOMPARE(Command(driver, "touch 1 200 200 50", 15000), QStringLiteral("ok send 1139"));
        QCOMPARE(Command(driver, "touch 1 200 200 60", 15000), QStringLiteral("ok send 1139"));
        QVERIFY(board.waitForLine(QStringLiteral("pen driver pointer 1 : 60, 200, 200"), 15000) >= 0);

        driver.write("quit\n");
        QCOMPARE(driver.waitForExit(5000), 0);
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_GUILESS_MAIN(PenDriverXTest)
#include "pen_driver_xtest.moc"
