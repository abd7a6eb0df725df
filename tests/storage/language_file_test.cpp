#include "app/language_codes.h"
#include "storage/language_file.h"
#include "tests/support/test_folders.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void WriteText(const QString& path, const QByteArray& content)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QString ShippedLanguageFolder()
{
    return BuiltProgramFolder() + QStringLiteral("/Language/");
}

const LanguageGroup* FindGroup(const QString& name)
{
    for (const LanguageGroup& group : LanguageGroups()) {
        if (group.name == name)
            return &group;
    }
    return nullptr;
}

}  // namespace

class LanguageFileTest : public QObject
{
    Q_OBJECT

private slots:
    void groupsHaveTheirLengths_data();
    void groupsHaveTheirLengths();
    void menuKeysInterleave();
    void missingKeysKeepPositions();
    void missingFileGivesEmptyLists();
    void valuesWithSeparatorsReadWhole();
    void fallsBackToEnglish();
    void shippedEnglishHasEveryText();
    void shippedLanguageIndex();
};

void LanguageFileTest::groupsHaveTheirLengths_data()
{
    QTest::addColumn<QString>("group");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("firstKey");
    QTest::addColumn<int>("lastKey");
    QTest::newRow("Common") << "Common" << 5 << 1 << 5;
    QTest::newRow("Messages") << "Messages" << 72 << 100 << 171;
    QTest::newRow("Config") << "Config" << 91 << 300 << 401;
    QTest::newRow("Clipart") << "Clipart" << 6 << 450 << 455;
    QTest::newRow("Note List") << "Note List" << 2 << 500 << 501;
    QTest::newRow("Print") << "Print" << 6 << 600 << 605;
    QTest::newRow("Save Note") << "Save Note" << 11 << 700 << 710;
    QTest::newRow("Hint") << "Hint" << 79 << 900 << 978;
    QTest::newRow("Menu") << "Menu" << 32 << 800 << 825;
    QTest::newRow("ShowImportMsg") << "ShowImportMsg" << 2 << 1900 << 1901;
    QTest::newRow("Import") << "Import" << 9 << 1400 << 1408;
    QTest::newRow("Spot") << "Spot" << 9 << 1200 << 1208;
    QTest::newRow("Popup") << "Popup" << 20 << 1300 << 1319;
    QTest::newRow("SelRecType") << "SelRecType" << 12 << 1700 << 1711;
    QTest::newRow("Upload") << "Upload" << 19 << 2200 << 2218;
}

void LanguageFileTest::groupsHaveTheirLengths()
{
    QFETCH(QString, group);
    QFETCH(int, count);
    QFETCH(int, firstKey);
    QFETCH(int, lastKey);
    const LanguageGroup* found = FindGroup(group);
    QVERIFY(found);
    QCOMPARE(found->keys.size(), count);
    QCOMPARE(found->keys.first(), firstKey);
    QCOMPARE(found->keys.last(), lastKey);

    const LanguageTexts texts = ReadLanguageFile(QStringLiteral("/nonexistent/ENU.lng"));
    QCOMPARE((texts.*(found->list)).size(), count);
}

void LanguageFileTest::menuKeysInterleave()
{
    const QVector<int> expected = {800, 801, 802, 803, 804, 805, 806, 8061, 8062, 8063, 807,
                                   8071, 8072, 8073, 8074, 8075, 810, 811, 812, 813, 814, 815,
                                   816, 817, 818, 819, 820, 821, 822, 823, 824, 825};
    QCOMPARE(FindGroup("Menu")->keys, expected);
    QCOMPARE(LanguageGroups().size(), 15);
}

// A missing key leaves an empty text at its place, and keys outside a group's
// set never shift the positions of the others.
void LanguageFileTest::missingKeysKeepPositions()
{
    QTemporaryDir dir;
    QByteArray content = "[Messages]\n";
    for (int key = 100; key <= 172; ++key) {
        if (key != 150)
            content += QByteArray::number(key) + "=m" + QByteArray::number(key) + "\n";
    }
    content += "[Config]\n300=c300\n305=skipped\n312=c312\n401=c401\n"
               "[Menu]\n806=m806\n8061=sub1\n807=m807\n808=skipped\n810=m810\n"
               "[Note List]\n500=Notes\n501=Delete\n";
    const QString path = dir.filePath("XXX.lng");
    WriteText(path, content);

    const LanguageTexts texts = ReadLanguageFile(path);
    QCOMPARE(texts.messages.size(), 72);
    QCOMPARE(texts.messages.at(0), QString("m100"));
    QCOMPARE(texts.messages.at(50), QString());
    QCOMPARE(texts.messages.at(71), QString("m171"));
    QVERIFY(!texts.messages.contains("m172"));
    QCOMPARE(texts.config.size(), 91);
    QCOMPARE(texts.config.at(0), QString("c300"));
    QCOMPARE(texts.config.at(4), QString("c312"));
    QCOMPARE(texts.config.at(90), QString("c401"));
    QVERIFY(!texts.config.contains("skipped"));
    QCOMPARE(texts.menu.size(), 32);
    QCOMPARE(texts.menu.at(6), QString("m806"));
    QCOMPARE(texts.menu.at(7), QString("sub1"));
    QCOMPARE(texts.menu.at(10), QString("m807"));
    QCOMPARE(texts.menu.at(16), QString("m810"));
    QVERIFY(!texts.menu.contains("skipped"));
    QCOMPARE(texts.noteList, QStringList({"Notes", "Delete"}));
    QCOMPARE(texts.common, QStringList({"", "", "", "", ""}));
}

void LanguageFileTest::missingFileGivesEmptyLists()
{
    LanguageTexts texts = ReadLanguageFile(QStringLiteral("/nonexistent/ENU.lng"));
    QCOMPARE(texts.hint.size(), 79);
    QCOMPARE(texts.hint.join(QString()), QString());
    texts.clear();
    QVERIFY(texts.hint.isEmpty());
    QVERIFY(texts.upload.isEmpty());
}

void LanguageFileTest::valuesWithSeparatorsReadWhole()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("XXX.lng");
    WriteText(path, "[Common]\n1=\"Yes, save it; now\"\n2=Plain, unquoted\n3=\xed\x95\x9c\xea\xb8\x80\n");
    const LanguageTexts texts = ReadLanguageFile(path);
    QCOMPARE(texts.common.at(0), QString("Yes, save it; now"));
    QCOMPARE(texts.common.at(1), QString("Plain,unquoted"));
    QCOMPARE(texts.common.at(2), QString::fromUtf8("\xed\x95\x9c\xea\xb8\x80"));
}

void LanguageFileTest::fallsBackToEnglish()
{
    QTemporaryDir dir;
    const QString folder = dir.path() + "/";
    WriteText(folder + "ENU.lng", "[Common]\n1=OK\n");
    QCOMPARE(LanguageFilePath(folder, "JPN"), folder + "ENU.lng");
    QCOMPARE(LanguageFilePath(folder, ""), folder + "ENU.lng");
    WriteText(folder + "JPN.lng", "[Common]\n1=J\n");
    QCOMPARE(LanguageFilePath(folder, "JPN"), folder + "JPN.lng");
    QCOMPARE(ImportHelpFilePath(folder, "ENU"), folder + "HelpImport_ENU.lng");
}

// The English file is the fallback of every language: every position that a
// receiver reads must hold a real text.
void LanguageFileTest::shippedEnglishHasEveryText()
{
    const QString path = ShippedLanguageFolder() + "ENU.lng";
    QVERIFY2(QFile::exists(path), qPrintable(path));
    const LanguageTexts texts = ReadLanguageFile(path);
    for (const LanguageGroup& group : LanguageGroups()) {
        const QStringList& list = texts.*(group.list);
        QCOMPARE(list.size(), group.keys.size());
        for (int i = 0; i < list.size(); ++i) {
            QVERIFY2(!list.at(i).trimmed().isEmpty(),
                     qPrintable(QString("%1/%2 is empty").arg(group.name).arg(group.keys.at(i))));
        }
    }
    QVERIFY(QFile::exists(ImportHelpFilePath(ShippedLanguageFolder(), "ENU")));
}

void LanguageFileTest::shippedLanguageIndex()
{
    const QStringList names = ReadLanguageIndex(ShippedLanguageFolder());
    QCOMPARE(names.size(), 24);
    for (const QString& name : names)
        QVERIFY(!name.isEmpty());
    QCOMPARE(names.at(1), QString("English"));  // key 2 names index 1, "ENU"
    QCOMPARE(LanguageFileCode(1), QString("ENU"));
}

QTEST_GUILESS_MAIN(LanguageFileTest)
#include "language_file_test.moc"
