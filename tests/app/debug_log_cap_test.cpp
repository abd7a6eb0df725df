// One run's debug log stops at its limit with one line saying so, whichever
// threads write to it.
#include <QtTest>

#include <QThread>

#include <memory>
#include <vector>

#include "app/debug_log_cap.h"

class DebugLogCapTest : public QObject
{
    Q_OBJECT

private slots:
    void stopsAtTheLimitWithOneNote()
    {
        DebugLogCap cap(100);
        const QByteArray line(40, 'x');
        QCOMPARE(cap.admit(line), line);
        QCOMPARE(cap.admit(line), line);
        const QByteArray note = cap.admit(line);
        QVERIFY2(note.startsWith("debug log: ") && note.endsWith("not logged\n"), note.constData());
        for (int i = 0; i < 3; ++i)
            QVERIFY(cap.admit(QByteArray("short\n")).isEmpty());
    }

    void manyThreadsStayWithinTheLimit()
    {
        constexpr qint64 kLimit = 5000;
        DebugLogCap cap(kLimit);
        std::atomic<qint64> lineBytes{0};
        std::atomic<int> notes{0};
        std::vector<std::unique_ptr<QThread>> threads;
        for (int t = 0; t < 8; ++t) {
            threads.emplace_back(QThread::create([&] {
                for (int i = 0; i < 1000; ++i) {
                    const QByteArray written = cap.admit(QByteArray(9, 'y') + '\n');
                    if (written.startsWith("debug log: "))
                        ++notes;
                    else
                        lineBytes += written.size();
                }
            }));
            threads.back()->start();
        }
        for (auto& thread : threads)
            QVERIFY(thread->wait(20000));
        QCOMPARE(notes.load(), 1);
        QCOMPARE(lineBytes.load(), kLimit);
    }
};

QTEST_GUILESS_MAIN(DebugLogCapTest)
#include "debug_log_cap_test.moc"
