#include "app/record_codes.h"
#include "board/event_kind.h"

#include <QtTest>

// The fixed code tables: tool keys, board names and the stored-record codes.
class VocabularyTest : public QObject
{
    Q_OBJECT

private slots:
    void eventKindFromName_data();
    void eventKindFromName();
    void everyKeyRoundTrips();
    void boardNameFromColor_data();
    void boardNameFromColor();
    void storedCodes_data();
    void storedCodes();
};

void VocabularyTest::eventKindFromName_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("code");
    QTest::newRow("first") << "ekNoteChange" << 1;
    QTest::newRow("line") << "ekLine" << 5;
    QTest::newRow("select") << "ekSelect" << 14;
    QTest::newRow("end of recording") << "ekEndRec" << 35;
    QTest::newRow("last") << "ekFreeEraser" << 36;
    QTest::newRow("smart pen draws free") << "ekSmart" << 3;
    QTest::newRow("trans draws free") << "ekTrans" << 3;
    QTest::newRow("case matters") << "EKFREE" << 3;
    QTest::newRow("empty") << "" << 3;
}

void VocabularyTest::eventKindFromName()
{
    QFETCH(QString, key);
    QFETCH(int, code);
    QCOMPARE(EventKindFromName(key), code);
}

void VocabularyTest::everyKeyRoundTrips()
{
    for (int code = 1; code <= ekLastKind; ++code)
        QCOMPARE(EventKindFromName(EventKindName(code)), code);
    QVERIFY(EventKindName(0).isEmpty());
    QVERIFY(EventKindName(37).isEmpty());
}

void VocabularyTest::boardNameFromColor_data()
{
    QTest::addColumn<QString>("color");
    QTest::addColumn<QString>("board");
    QTest::newRow("white") << "white" << "WhiteBoard";
    QTest::newRow("navy") << "navy" << "NavyBoard";
    QTest::newRow("gray") << "gray" << "GrayBoard";
    QTest::newRow("black") << "black" << "DarkblackBoard";
    QTest::newRow("blackboard") << "blackboard color" << "BlackBoard";
    QTest::newRow("capital letter is unknown") << "Black" << "WhiteBoard";
    QTest::newRow("unknown") << "pink" << "WhiteBoard";
    QTest::newRow("empty") << "" << "WhiteBoard";
}

void VocabularyTest::boardNameFromColor()
{
    QFETCH(QString, color);
    QFETCH(QString, board);
    QCOMPARE(BoardNameFromColor(color), board);
}

void VocabularyTest::storedCodes_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("action");
    QTest::newRow("0") << 0 << 0 << 0;
    QTest::newRow("1") << 1 << 1 << 1;
    QTest::newRow("3") << 3 << 3 << 3;
    QTest::newRow("4") << 4 << 4 << 0;
    QTest::newRow("36") << 36 << 36 << 0;
    QTest::newRow("37 is outside the vocabulary") << 37 << 3 << 0;
    QTest::newRow("-1") << -1 << 3 << 0;
}

void VocabularyTest::storedCodes()
{
    QFETCH(int, value);
    QFETCH(int, kind);
    QFETCH(int, action);
    QCOMPARE(EventKindFromInt(value), kind);
    QCOMPARE(MouseActionFromInt(value), action);
}

QTEST_APPLESS_MAIN(VocabularyTest)
#include "vocabulary_test.moc"
