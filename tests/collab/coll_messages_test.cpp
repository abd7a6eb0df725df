// The collaboration vocabulary: the data texts each builder gives, the
// splitter that reads them back, the keyword codes and the frame text form.
#include "collab/coll_messages.h"

#include <QTest>

using namespace coll;

namespace {

QPoint kCorners[4] = {QPoint(1, 2), QPoint(3, 4), QPoint(5, 6), QPoint(7, 8)};

}  // namespace

class CollMessagesTest : public QObject
{
    Q_OBJECT

private slots:
    void sessionAndPenMessages_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("handshake keeps a password with ,")
            << HandshakeData("[Desk7]_10.0.0.5", "a,b", 3) << QByteArray("[Desk7]_10.0.0.5,a,b,3");
        QTest::newRow("level change") << LevelChangeData("[A]_1.2.3.4", 2, 0) << QByteArray("[A]_1.2.3.4,2,0");
        QTest::newRow("users") << UsersData({"[A]_1", "[B]_2"}) << QByteArray("[A]_1,[B]_2");
        QTest::newRow("live stroke") << RealtimeEventData(3, 10, 2, -5, 1080) << QByteArray("3,10,2,-5,1080");
        QTest::newRow("erase all") << EraseAllEventData(15) << QByteArray("15");
        QTest::newRow("colour is four ints")
            << PenColorData(QColor(255, 0, 10, 127), 3) << QByteArray("255,0,10,127,3");
        QTest::newRow("pen width") << PenWidthData(4, 2) << QByteArray("4,2");
        QTest::newRow("highlight as 0/1") << PenHighlightData(true, 3) << QByteArray("1,3");
        QTest::newRow("pen info") << PenInfoData(QColor(1, 2, 3), 5, "ekFree", false, 2)
                                  << QByteArray("1,2,3,255,5,ekFree,0,2");
    }
    void sessionAndPenMessages()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        QCOMPARE(data, expected);
    }

    void addressedMessages_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("mode 0 keeps its empty user ID") << ChangeNoteData(ToEveryone(), 2) << QByteArray("0,,2");
        QTest::newRow("mode 1 names the newcomer")
            << NoteIndexData(ToParticipant("[N]_1.1.1.1"), 3, 9) << QByteArray("1,[N]_1.1.1.1,3,9");
        QTest::newRow("scroll bar mode 0 carries NULL") << ScrollBarData(ToEveryone(), 40, 900)
                                                        << QByteArray("0,NULL,40,900");
        QTest::newRow("scroll bar mode 1 names the newcomer") << ScrollBarData(ToParticipant("[N]_1"), 40, 900)
                                                              << QByteArray("1,[N]_1,40,900");
        QTest::newRow("clearing image paths") << ImagePathData(ToEveryone(), "ignored", true, 4)
                                              << QByteArray("0,,NULL,1,4");
        QTest::newRow("image path") << ImagePathData(ToEveryone(), "C:/x/a.png", false, 5)
                                    << QByteArray("0,,C:/x/a.png,0,5");
        QTest::newRow("resolution") << ResolutionData(ToEveryone(), 3, 1920, 1080) << QByteArray("0,,3,1920,1080");
        QTest::newRow("undo position") << UndoPositionData(ToEveryone(), 2, 7) << QByteArray("0,,2,7");
        QTest::newRow("new lecture") << InitProjectData(ToEveryone(), 1) << QByteArray("0,,1");
        QTest::newRow("data clear") << DataClearData(ToParticipant("[N]_1"), "ALL") << QByteArray("1,[N]_1,ALL");
        QTest::newRow("file tail kind 0") << FileTail(ToEveryone(), 0) << QByteArray("0,,0,Block_EN\n");
        QTest::newRow("file tail kind 3 with its name")
            << FileTail(ToParticipant("[N]_1"), 3, "img7") << QByteArray("1,[N]_1,3,img7,Block_EN\n");
    }
    void addressedMessages()
    {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, expected);
        QCOMPARE(data, expected);
    }

    void recordMessages()
    {
        EventMaster master;
        master.EventID = 7;
        master.MediaPos = 1234567;
        master.Kind = 3;
        master.SCale = 1.5;
        master.Slot = 2;
        master.NoteName = "20240101120000000";
        const Fields em(EventMasterData(ToEveryone(), 2, 0, master));
        QCOMPARE(em.count(), 14);
        QCOMPARE(em.text(5), QString("1.23457e+06"));
        QCOMPARE(em.text(7), QString("65535"));
        QCOMPARE(em.text(12), master.NoteName);

        EventDetail detail;
        detail.S = QPointF(0.5, 2);
        detail.PenColor = QColor(1, 2, 3, 4);
        detail.Angle = 12.25f;
        detail.AuxPoints[3] = QPoint(9, 10);
        const Fields ed(EventDetailData(ToEveryone(), 2, 0, detail));
        QCOMPARE(ed.count(), 41);
        QCOMPARE(ed.text(5), QString("0.5"));
        QCOMPARE(ed.parts().mid(21, 4), QStringList({"1", "2", "3", "4"}));
        QCOMPARE(ed.text(26), QString("12.25"));
        QCOMPARE(ed.text(40), QString("10"));

        FreePenPoint point;
        point.Press = 0.3f;
        point.MouseAction = 2;
        const Fields fp(FreePenPointData(ToEveryone(), 1, 4, 7, point));
        QCOMPARE(fp.count(), 12);
        QCOMPARE(fp.text(6), QString("0.3"));
        QCOMPARE(fp.text(11), QString("2"));

        NoteInfo note;
        note.name = "Lesson, part 2.pdf";
        note.type = 3;
        note.page_option = true;
        const Fields nd(NoteData(ToEveryone(), note, true));
        QCOMPARE(nd.count(), 12);
        // The "," inside the name would have shifted Type and flag.
        QCOMPARE(nd.text(2), QString("Lesson_ part 2.pdf"));
        QCOMPARE(nd.toInt(7), 3);
        QCOMPARE(nd.toInt(8), 1);
        QCOMPARE(nd.toInt(11), 1);
    }

    void dataInfo()
    {
        QVector<int> tools(11, 3), ids(11, 0);
        tools[0] = 5;
        ids[0] = 42;
        const Fields f(DataInfoData(ToEveryone(), tools, ids, 3));
        QCOMPARE(f.count(), 25);
        QCOMPARE(f.toInt(2), 5);
        QCOMPARE(f.toInt(13), 42);
        QCOMPARE(f.toInt(24), 3);
        // Short lists are filled with 0, never read past their end.
        QCOMPARE(Fields(DataInfoData(ToEveryone(), {}, {}, 2)).count(), 25);
    }

    void modify_data()
    {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<int>("fields");
        QTest::addColumn<QString>("last");
        QTest::newRow("move") << ModifyMoveData(2, 7, 5, -6, kCorners, 1, 3, 3) << 16 << "3";
        QTest::newRow("resize") << ModifyResizeData(2, 7, QRect(1, 2, 30, 40), 1, 1, 2) << 10 << "2";
        QTest::newRow("delete, no level") << ModifyDeleteData(2, 7, true, 2, 3) << 6 << "3";
        QTest::newRow("rotate, no level") << ModifyRotateData(2, 7, -45.9f, 1, 1) << 6 << "1";
    }
    void modify()
    {
        QFETCH(QByteArray, data);
        QFETCH(int, fields);
        QFETCH(QString, last);
        const Fields f(data);
        QCOMPARE(f.count(), fields);
        QCOMPARE(f.text(1), QString("2-7"));
        QCOMPARE(f.text(2), QString("7"));
        QCOMPARE(f.text(fields - 1), last);
        if (f.toInt(0) == 3)
            QCOMPARE(f.text(3), QString("-45"));
    }

    void textFields()
    {
        QCOMPARE(DoubleText(1234567), QString("1.23457e+06"));
        QCOMPARE(DoubleText(0.5), QString("0.5"));
        QCOMPARE(DoubleText(double(0.1f)), QString("0.1"));
        QCOMPARE(NoteButtonData(ToEveryone(), "a,b,c"), QByteArray("0,,a_b_c"));
        QCOMPARE(Fields(PenTypeData("x,y", 3)).count(), 2);
    }

    void splitter()
    {
        const Fields f(QByteArray("0,,x,7,"));
        QCOMPARE(f.count(), 5);
        QCOMPARE(f.text(1), QString());
        QCOMPARE(f.toInt(2), 0);
        QCOMPARE(f.toInt(3), 7);
        // Past the end: empty text and 0, never a crash.
        QCOMPARE(f.text(9), QString());
        QCOMPARE(f.toInt(-1), 0);
        QCOMPARE(f.toDouble(40), 0.0);
    }

    void keywordCodes_data()
    {
        QTest::addColumn<QByteArray>("keyword");
        QTest::addColumn<int>("code");
        QTest::newRow("users") << QByteArray("users") << 1;
        QTest::newRow("USERS is not users") << QByteArray("USERS") << 0;
        QTest::newRow("DOC_ST") << QByteArray("DOC_ST") << 2;
        QTest::newRow("DOC_EN shares it") << QByteArray("DOC_EN") << 2;
        QTest::newRow("Connected_ID") << QByteArray("Connected_ID") << 12;
        QTest::newRow("EMDATA_SET after the gap") << QByteArray("EMDATA_SET") << 14;
        QTest::newRow("URdata_SET") << QByteArray("URdata_SET") << 33;
        QTest::newRow("SENDMSG") << QByteArray("SENDMSG") << 0;
        QTest::newRow("Connected_OK is the relay's") << QByteArray("Connected_OK") << 0;
    }
    void keywordCodes()
    {
        QFETCH(QByteArray, keyword);
        QFETCH(int, code);
        QCOMPARE(KeywordCode(keyword), code);
    }

    void keywordTableIsComplete()
    {
        QSet<int> codes;
        for (const KeywordEntry& entry : KeywordTable())
            codes.insert(entry.code);
        QCOMPARE(KeywordTable().size(), 33);
        QCOMPARE(codes.size(), 32);
        QVERIFY(!codes.contains(13));
    }

    void frameTextRoundTrip_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QByteArray>("keyword");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("tail");
        QTest::newRow("tail left out") << "EXIT|[A]_1" << QByteArray("EXIT") << QByteArray("[A]_1")
                                       << QByteArray("Block_EN\n");
        QTest::newRow("escapes") << "DOC_ST|\\x00\\x7c\\\\\\xff|0,,3,n,Block_EN\\n" << QByteArray("DOC_ST")
                                 << QByteArray("\0|\\\xff", 4) << QByteArray("0,,3,n,Block_EN\n");
        QTest::newRow("empty parts") << "SENDMSG||" << QByteArray("SENDMSG") << QByteArray() << QByteArray();
    }
    void frameTextRoundTrip()
    {
        QFETCH(QString, line);
        QFETCH(QByteArray, keyword);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, tail);
        CollFrame frame;
        QVERIFY(ParseFrameText(line, &frame));
        QCOMPARE(frame.keyword, keyword);
        QCOMPARE(frame.data, data);
        QCOMPARE(frame.tail, tail);
        CollFrame again;
        QVERIFY(ParseFrameText(FrameText(frame), &again));
        QCOMPARE(again.data, data);
        QCOMPARE(again.tail, tail);
        QVERIFY(!ParseFrameText("A|b\\q", &frame));
    }
};

QTEST_GUILESS_MAIN(CollMessagesTest)
#include "coll_messages_test.moc"
