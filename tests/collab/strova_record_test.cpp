#include "collab/strova_record.h"

#include <QtTest>

using namespace strova;

namespace {

// The record a server would send, built by hand so the codec is not checked
// against itself.
QByteArray RawRecord(qint32 command, qint32 argument, const QVector<ushort>& units)
{
    QByteArray raw(kRecordSize, '\0');
    for (int i = 0; i < 4; ++i) {
        raw[i] = char((quint32(command) >> (8 * i)) & 0xff);
        raw[4 + i] = char((quint32(argument) >> (8 * i)) & 0xff);
    }
    for (int i = 0; i < units.size() && i < kPayloadUnits; ++i) {
        raw[8 + 2 * i] = char(units[i] & 0xff);
        raw[9 + 2 * i] = char(units[i] >> 8);
    }
    return raw;
}

QVector<ushort> Units(const QString& text)
{
    QVector<ushort> units;
    for (QChar c : text)
        units << c.unicode();
    return units;
}

}  // namespace

class StrovaRecordTest : public QObject
{
    Q_OBJECT

private slots:
    void encodesExactBytes_data()
    {
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("argument");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("payload");  // the units expected on the wire
        QTest::newRow("login") << 3 << 0 << "teacher;pw" << "teacher;pw";
        QTest::newRow("list request") << 6 << 0 << "" << "";
        QTest::newRow("upload request") << 8 << 0 << QString::fromUtf8("a.iic;7;Wärme;€ desc")
                                        << QString::fromUtf8("a.iic;7;Wärme;€ desc");
        QTest::newRow("file record") << 10 << 1000 << "a.iic" << "a.iic";
        QTest::newRow("file record, large argument") << 10 << 0x7fffffff << "b.iic" << "b.iic";
        QTest::newRow("end") << 0 << 0 << "" << "";
        QTest::newRow("exactly 256 units") << 3 << 0 << QString(256, 'x') << QString(256, 'x');
        QTest::newRow("longer text is cut") << 8 << 0 << QString(300, 'y') << QString(256, 'y');
    }

    void encodesExactBytes()
    {
        QFETCH(int, command);
        QFETCH(int, argument);
        QFETCH(QString, text);
        QFETCH(QString, payload);
        const QByteArray record = EncodeRecord(command, argument, text);
        QCOMPARE(record.size(), 520);
        QCOMPARE(record, RawRecord(command, argument, Units(payload)));
    }

    void decodesReceivedPayload_data()
    {
        QTest::addColumn<QByteArray>("raw");
        QTest::addColumn<int>("command");
        QTest::addColumn<int>("argument");
        QTest::addColumn<QString>("text");
        QVector<ushort> afterZero = Units("3;Math");
        afterZero << 0 << 'j' << 'u' << 'n' << 'k';
        QTest::newRow("ends at first zero") << RawRecord(7, 0, afterZero) << 7 << 0 << "3;Math";
        QTest::newRow("no zero: whole payload") << RawRecord(7, 0, Units(QString(256, 'z'))) << 7 << 0
                                                << QString(256, 'z');
        QTest::newRow("argument, negative command") << RawRecord(-2, 123456789, {}) << -2 << 123456789 << "";
    }

    void decodesReceivedPayload()
    {
        QFETCH(QByteArray, raw);
        QFETCH(int, command);
        QFETCH(int, argument);
        QFETCH(QString, text);
        const StrovaRecord record = DecodeRecord(raw.constData());
        QCOMPARE(record.command, command);
        QCOMPARE(record.argument, argument);
        QCOMPARE(record.text, text);
    }

    // Two records in one segment, and one record cut at any point, come out
    // whole and in order.
    void readerReassemblesRecords()
    {
        const QByteArray stream = RawRecord(4, 0, {}) + RawRecord(7, 0, Units("3;Math/7;Physics"))
                                  + RawRecord(11, 99, {});
        for (int cut : {1, 4, 519, 520, 521, 1039, 1040, 1500}) {
            RecordReader reader;
            QList<StrovaRecord> got;
            StrovaRecord record;
            reader.Append(stream.left(cut));
            while (reader.Next(&record))
                got << record;
            reader.Append(stream.mid(cut));
            while (reader.Next(&record))
                got << record;
            QCOMPARE(got.size(), 3);
            QCOMPARE(got[0].command, 4);
            QCOMPARE(got[1].text, QString("3;Math/7;Physics"));
            QCOMPARE(got[2].argument, 99);
            QCOMPARE(reader.Pending(), 0);
        }
    }

    void parsesCategoryList_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("two entries") << "3;Math/7;Physics" << QStringList{"3", "7"}
                                     << QStringList{"Math", "Physics"};
        QTest::newRow("trailing slash") << "3;Math/" << QStringList{"3"} << QStringList{"Math"};
        QTest::newRow("entry without ;") << "junk/7;Physics" << QStringList{"7"} << QStringList{"Physics"};
        QTest::newRow("empty name kept") << "9;" << QStringList{"9"} << QStringList{""};
        QTest::newRow("empty") << "" << QStringList{} << QStringList{};
    }

    void parsesCategoryList()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, codes);
        QFETCH(QStringList, names);
        QStringList gotCodes, gotNames;
        for (const Category& c : ParseCategoryList(text)) {
            gotCodes << c.code;
            gotNames << c.name;
        }
        QCOMPARE(gotCodes, codes);
        QCOMPARE(gotNames, names);
    }

    void fileBlockAndName()
    {
        QCOMPARE(FileBlockHeader(1000), QByteArray::fromHex("000003e8"));
        QCOMPARE(FileBlockHeader(0x7fffffff), QByteArray::fromHex("7fffffff"));
        QCOMPARE(UploadFileName("/home/t/lesson.iic"), QString("lesson.iic"));
        QCOMPARE(UploadFileName("lesson.iic"), QString("lesson.iic"));
        QCOMPARE(UploadFileName("dir/"), QString(""));
    }
};

QTEST_APPLESS_MAIN(StrovaRecordTest)
#include "strova_record_test.moc"
