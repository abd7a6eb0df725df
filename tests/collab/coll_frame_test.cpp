#include <QtTest>

#include "collab/coll_frame.h"

class CollFrameTest : public QObject
{
    Q_OBJECT

private slots:
    void exactBytes()
    {
        const QByteArray frame = BuildCollFrame("EXIT", "abc", "Block_EN\n");
        const QByteArray expected = QByteArray::fromHex("001C"
                                                        "00000004" "45584954"
                                                        "00000003" "616263"
                                                        "00000009" "426C6F636B5F454E0A");
        QCOMPARE(frame, expected);
        QCOMPARE(frame.size(), 30);
    }

    void sizes_data()
    {
        QTest::addColumn<QByteArray>("keyword");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<int>("bodySize");
        QTest::newRow("empty data and tail") << QByteArray("REALTIME_EVENT") << QByteArray("") << QByteArray("") << 4 + 14 + 8;
        QTest::newRow("realtime") << QByteArray("REALTIME_EVENT") << QByteArray("3,0,2,100,200") << QByteArray("Block_EN\n") << 12 + 14 + 13 + 9;
        QTest::newRow("chunk") << QByteArray("DOC_ST") << QByteArray(3072, 'x') << QByteArray("a.png,Block_EN\n") << 12 + 6 + 3072 + 15;
    }

    void sizes()
    {
        QFETCH(QByteArray, keyword);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, tail);
        QFETCH(int, bodySize);
        bool ok = false;
        const QByteArray frame = BuildCollFrame(keyword, data, tail, &ok);
        QVERIFY(ok);
        QCOMPARE(frame.size(), 2 + bodySize);
        QCOMPARE((quint8(frame[0]) << 8) | quint8(frame[1]), bodySize);
        CollFrame back;
        QCOMPARE(ReadCollFrame(frame, &back), frame.size());
        QCOMPARE(back.keyword, keyword);
        QCOMPARE(back.data, data);
        QCOMPARE(back.tail, tail);
    }

    // A null and an empty array give the same bytes: length 0, never the
    // stream's null marker. A peer's null marker still reads as empty.
    void nullArrayIsWrittenEmpty()
    {
        const QByteArray fromNull = BuildCollFrame("X", QByteArray(), QByteArray());
        QCOMPARE(fromNull, BuildCollFrame("X", QByteArray(""), QByteArray("")));
        QCOMPARE(fromNull.toHex(), QByteArray("000d" "0000000158" "00000000" "00000000"));
        CollFrame back;
        const QByteArray marked = QByteArray::fromHex("000d" "0000000158" "FFFFFFFF" "00000000");
        QCOMPARE(ReadCollFrame(marked, &back), marked.size());
        QVERIFY(back.data.isEmpty());
    }

    // A body beyond 16 bits would be announced with a cut size and throw
    // every following frame out of step: it is refused.
    void oversizedRefused()
    {
        bool ok = true;
        QVERIFY(BuildCollFrame("DOC_ST", QByteArray(70000, 'x'), "Block_EN\n", &ok).isEmpty());
        QVERIFY(!ok);
        const QByteArray justFits = BuildCollFrame("K", QByteArray(0xFFFF - 12 - 1, 'x'), "", &ok);
        QVERIFY(ok);
        QCOMPARE(justFits.size(), 2 + 0xFFFF);
    }

    void readTwoAndPartial()
    {
        const QByteArray a = BuildCollFrame("ONE", "1", "Block_EN\n");
        const QByteArray b = BuildCollFrame("TWO", "2,2", "Block_EN\n");
        const QByteArray both = a + b;
        CollFrame f;
        const int first = ReadCollFrame(both, &f);
        QCOMPARE(first, a.size());
        QCOMPARE(f.keyword, QByteArray("ONE"));
        QCOMPARE(ReadCollFrame(both.mid(first), &f), b.size());
        QCOMPARE(f.data, QByteArray("2,2"));
        QCOMPARE(ReadCollFrame(b.left(b.size() - 1), &f), 0);
        QCOMPARE(ReadCollFrame(QByteArray::fromHex("0005" "0000FFFF" "00"), &f), -1);
    }
};

QTEST_GUILESS_MAIN(CollFrameTest)
#include "coll_frame_test.moc"
