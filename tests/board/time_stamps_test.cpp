#include "board/time_stamps.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

// Page and file names made from the clock.
class TimeStampsTest : public QObject
{
    Q_OBJECT

private slots:
    void formats();
    void sameMillisecondGivesLaterStamp_data();
    void sameMillisecondGivesLaterStamp();
    void tightLoopGivesDistinctIncreasingStamps();
};

void TimeStampsTest::formats()
{
    const QDateTime moment(QDate(2026, 3, 4), QTime(5, 6, 7, 89));
    QCOMPARE(FormatTimeStampId(moment), QStringLiteral("20260304050607089"));
    QCOMPARE(FormatFileTimeStamp(moment), QStringLiteral("20260304_050607"));
    QVERIFY(QRegularExpression("^\\d{8}_\\d{6}$").match(MakeFileTimeStamp()).hasMatch());
}

void TimeStampsTest::sameMillisecondGivesLaterStamp_data()
{
    QTest::addColumn<QDateTime>("first");
    QTest::addColumn<QDateTime>("second");
    QTest::addColumn<QString>("expected");
    const QDateTime t(QDate(2026, 12, 31), QTime(23, 59, 59, 999));
    QTest::newRow("clock moved on") << t.addMSecs(-5) << t << "20261231235959999";
    QTest::newRow("same millisecond") << t << t << "20270101000000000";
    QTest::newRow("clock went back") << t << t.addSecs(-60) << "20270101000000000";
}

void TimeStampsTest::sameMillisecondGivesLaterStamp()
{
    QFETCH(QDateTime, first);
    QFETCH(QDateTime, second);
    QFETCH(QString, expected);
    QDateTime last;
    const QString a = NextTimeStampId(first, &last);
    const QString b = NextTimeStampId(second, &last);
    QCOMPARE(b, expected);
    QVERIFY(b > a);
}

void TimeStampsTest::tightLoopGivesDistinctIncreasingStamps()
{
    const QRegularExpression seventeenDigits("^\\d{17}$");
    QString previous;
    QSet<QString> seen;
    for (int i = 0; i < 500; ++i) {
        const QString stamp = MakeTimeStampId();
        QVERIFY2(seventeenDigits.match(stamp).hasMatch(), qPrintable(stamp));
        QVERIFY2(stamp > previous, qPrintable(stamp + " after " + previous));
        seen.insert(stamp);
        previous = stamp;
    }
    QCOMPARE(seen.size(), 500);
}

QTEST_APPLESS_MAIN(TimeStampsTest)
#include "time_stamps_test.moc"
