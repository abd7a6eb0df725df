// The suite's waits end on the clock, whatever their condition costs to check.
#include <QElapsedTimer>
#include <QThread>
#include <QtTest>

class TimedTryTest : public QObject
{
    Q_OBJECT

    // A condition that never holds and takes a while to look at, like a
    // screenshot on a busy machine.
    static bool SlowNever()
    {
        QThread::msleep(200);
        return false;
    }

    QElapsedTimer m_clock;

private slots:
    void slowConditionFails()
    {
        m_clock.start();
        QEXPECT_FAIL("", "the condition never holds", Abort);
        QTRY_VERIFY_WITH_TIMEOUT(SlowNever(), 1000);
    }

    // Counted in steps, the wait above lasted 20 slow checks and then 40
    // more (16 s here); on the clock it is its second and one last check.
    void endsNearItsDeadline()
    {
        QVERIFY2(m_clock.elapsed() < 2500, qPrintable(QStringLiteral("the 1 s wait took %1 ms").arg(m_clock.elapsed())));
    }

    void conditionThatComesTrueIsSeen()
    {
        QElapsedTimer clock;
        clock.start();
        QTRY_VERIFY_WITH_TIMEOUT(clock.elapsed() > 300, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(clock.elapsed() > 400, true, 5000);
    }
};

QTEST_GUILESS_MAIN(TimedTryTest)
#include "timed_try_test.moc"
