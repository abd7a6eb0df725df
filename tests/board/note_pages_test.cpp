#include "board/note_pages.h"

#include <QtTest>

// Page-list rules: sources, removal, labels, the recording clock and the
// recorded page numbers.
class NotePagesTest : public QObject
{
    Q_OBJECT

private slots:
    void pageSource_data();
    void pageSource();
    void settleAfterDelete_data();
    void settleAfterDelete();
    void pageLabel_data();
    void pageLabel();
    void recordClock_data();
    void recordClock();
    void distinctPagesKeepFirstShowingOrder();
    void insertingShiftsRecordedIndexesAbove();
};

void NotePagesTest::pageSource_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("source");
    QTest::newRow("white board") << 1 << "WhiteBoard" << "" << "WhiteBoard";
    QTest::newRow("black board") << 1 << "BlackBoard" << "x" << "BlackBoard";
    QTest::newRow("paper") << 1 << "MusicNote" << "" << "/app/Paper/MusicNote.pdf";
    QTest::newRow("picture") << 2 << "a.png" << "/p/a.png" << "/p/a.png";
    QTest::newRow("document") << 3 << "d.pdf" << "/p/d_1.pdf" << "/p/d_1.pdf";
}

void NotePagesTest::pageSource()
{
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, path);
    QFETCH(QString, source);
    QCOMPARE(PageSourcePath(type, name, path, "/app/Paper/"), source);
}

void NotePagesTest::settleAfterDelete_data()
{
    QTest::addColumn<QStringList>("left");  // pages left after the removal
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("countBefore");
    QTest::addColumn<QString>("currentStamp");
    QTest::addColumn<QString>("removed");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("show");
    QTest::addColumn<bool>("blank");
    const QStringList abd{"A", "B", "D"};
    QTest::newRow("current last page shows previous") << QStringList{"A", "B", "C"} << 3 << 4 << "D" << "D" << 2
                                                       << true << false;
    QTest::newRow("current middle page shows successor") << abd << 2 << 4 << "C" << "C" << 2 << true << false;
    QTest::newRow("current first page shows new first") << QStringList{"B"} << 0 << 2 << "A" << "A" << 0 << true
                                                         << false;
    QTest::newRow("other page re-finds current") << abd << 3 << 4 << "D" << "C" << 2 << false << false;
    QTest::newRow("only page leaves a blank page") << QStringList{} << 0 << 1 << "A" << "A" << 0 << false
                                                   << true;
    QTest::newRow("unknown stamp keeps index") << abd << 1 << 3 << "B" << "Z" << 1 << false << false;
}

void NotePagesTest::settleAfterDelete()
{
    QFETCH(QStringList, left);
    QFETCH(int, current);
    QFETCH(int, countBefore);
    QFETCH(QString, currentStamp);
    QFETCH(QString, removed);
    QFETCH(int, index);
    QFETCH(bool, show);
    QFETCH(bool, blank);
    const PageAfterDelete after = SettleAfterDelete(left, current, countBefore, currentStamp, removed);
    QCOMPARE(after.index, index);
    QCOMPARE(after.showPage, show);
    QCOMPARE(after.needBlankPage, blank);
}

void NotePagesTest::pageLabel_data()
{
    QTest::addColumn<int>("level");
    QTest::addColumn<QString>("label");
    QTest::newRow("alone") << 0 << "4/6";
    QTest::newRow("host") << 3 << "4/6";
    QTest::newRow("viewer shows host's page") << 1 << "3/12";
    QTest::newRow("writer shows host's page") << 2 << "3/12";
    QTest::newRow("unknown level") << 7 << "";
}

void NotePagesTest::pageLabel()
{
    QFETCH(int, level);
    QFETCH(QString, label);
    QCOMPARE(PageLabelText(level, 3, 6, 2, 12), label);
}

void NotePagesTest::recordClock_data()
{
    QTest::addColumn<qint64>("ms");
    QTest::addColumn<QString>("text");
    QTest::newRow("start") << qint64(0) << "0:00:00";
    QTest::newRow("just under a minute") << qint64(59999) << "0:00:59";
    QTest::newRow("over an hour") << qint64(3725000) << "1:02:05";
    QTest::newRow("minutes wrap") << qint64(3600000 + 5 * 60000 + 9000) << "1:05:09";
    QTest::newRow("long lesson") << qint64(11 * 3600000LL) << "11:00:00";
}

void NotePagesTest::recordClock()
{
    QFETCH(qint64, ms);
    QFETCH(QString, text);
    QCOMPARE(RecordClockText(ms), text);
}

void NotePagesTest::distinctPagesKeepFirstShowingOrder()
{
    const QStringList shown{"A", "B", "A", "C"};
    QStringList distinct;
    QCOMPARE(DistinctPagePosition(shown, 4, &distinct, "A"), 0);
    QCOMPARE(DistinctPagePosition(shown, 4, &distinct, "B"), 1);
    QCOMPARE(DistinctPagePosition(shown, 4, &distinct, "C"), 2);
    QCOMPARE(DistinctPagePosition(shown, 4, &distinct, "never"), 0);
    QCOMPARE(distinct, (QStringList{"A", "B", "C"}));
    // More indexes than stamps must not read past the stamps.
    QCOMPARE(DistinctPagePosition(shown, 9, &distinct, "C"), 2);
}

void NotePagesTest::insertingShiftsRecordedIndexesAbove()
{
    QVector<int> indexes{0, 2, 3, 4, 1};
    ShiftIndexesAbove(&indexes, 2);
    QCOMPARE(indexes, (QVector<int>{0, 2, 4, 5, 1}));
}

QTEST_APPLESS_MAIN(NotePagesTest)
#include "note_pages_test.moc"
