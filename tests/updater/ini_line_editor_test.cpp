#include "updater/ini_line_editor.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

// The parameter file is shared with the main program's bridge and may be edited
// by hand: a write must touch exactly one line.
class IniLineEditorTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString writeFixture(const QByteArray& bytes)
    {
        const QString path = m_dir.filePath(QStringLiteral("params.ini"));
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        return path;
    }

    static QByteArray readAll(const QString& path)
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }

private slots:
    void write_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("after");

        const QByteArray crlf("\xEF\xBB\xBF; kept comment\r\n[Other]\r\nManagerParam1=other\r\n\r\n"
                              "[AutoUpdate]\r\nManagerParam1=http://x/\r\n ManagerParam2 = /w \r\n\r\n[Tail]\r\nT=1\r\n");
        QTest::newRow("replaces one line, keeps BOM, CRLF, other groups")
            << crlf << "AutoUpdate" << "ManagerParam2" << ""
            << QByteArray("\xEF\xBB\xBF; kept comment\r\n[Other]\r\nManagerParam1=other\r\n\r\n"
                          "[AutoUpdate]\r\nManagerParam1=http://x/\r\nManagerParam2=\r\n\r\n[Tail]\r\nT=1\r\n");
        QTest::newRow("names match without regard to case")
            << crlf << "autoupdate" << "managerparam1" << "v"
            << QByteArray("\xEF\xBB\xBF; kept comment\r\n[Other]\r\nManagerParam1=other\r\n\r\n"
                          "[AutoUpdate]\r\nmanagerparam1=v\r\n ManagerParam2 = /w \r\n\r\n[Tail]\r\nT=1\r\n");
        QTest::newRow("missing key goes after the group's last line")
            << crlf << "AutoUpdate" << "NextAskDate" << "2026-01-02"
            << QByteArray("\xEF\xBB\xBF; kept comment\r\n[Other]\r\nManagerParam1=other\r\n\r\n"
                          "[AutoUpdate]\r\nManagerParam1=http://x/\r\n ManagerParam2 = /w \r\nNextAskDate=2026-01-02\r\n"
                          "\r\n[Tail]\r\nT=1\r\n");
        QTest::newRow("missing group is appended with the file's line ends")
            << QByteArray("[A]\nx=1") << "AutoUpdate" << "K" << "v"
            << QByteArray("[A]\nx=1\n[AutoUpdate]\nK=v\n");
        QTest::newRow("commented key is not the key")
            << QByteArray("[G]\r\n;K=old\r\n") << "G" << "K" << "new"
            << QByteArray("[G]\r\n;K=old\r\nK=new\r\n");
        QTest::newRow("utf-8 value") << QByteArray("[G]\nK=a\n") << "G" << "K" << QString::fromUtf8("Größe")
                                     << QByteArray("[G]\nK=Gr\xC3\xB6\xC3\x9F" "e\n");
    }

    void write()
    {
        QFETCH(QByteArray, before);
        QFETCH(QString, group);
        QFETCH(QString, key);
        QFETCH(QString, value);
        QFETCH(QByteArray, after);
        const QString path = writeFixture(before);
        QVERIFY(WriteIniValue(path, group, key, value));
        QCOMPARE(readAll(path), after);
        QCOMPARE(ReadIniValue(path, group, key), value);
    }

    void createsMissingFileAndReads()
    {
        const QString path = m_dir.filePath(QStringLiteral("new.ini"));
        QVERIFY(WriteIniValue(path, QStringLiteral("AutoUpdate"), QStringLiteral("A"), QStringLiteral("1")));
        QVERIFY(WriteIniValue(path, QStringLiteral("AutoUpdate"), QStringLiteral("B"), QStringLiteral("x,y \"z\"")));
        QCOMPARE(readAll(path), QByteArray("[AutoUpdate]\nA=1\nB=x,y \"z\"\n"));
        bool found = true;
        QCOMPARE(ReadIniValue(path, QStringLiteral("AutoUpdate"), QStringLiteral("C"), QStringLiteral("fb"), &found),
                 QStringLiteral("fb"));
        QVERIFY(!found);
        QCOMPARE(ReadIniValue(path, QStringLiteral("AutoUpdate"), QStringLiteral("B")), QStringLiteral("x,y \"z\""));
    }

    void refusesUnusableNames()
    {
        const QString path = writeFixture("[G]\nK=1\n");
        QVERIFY(!WriteIniValue(path, QStringLiteral("G"), QStringLiteral("K\nX"), QStringLiteral("v")));
        QVERIFY(!WriteIniValue(path, QStringLiteral("G"), QStringLiteral("K=X"), QStringLiteral("v")));
        QVERIFY(!WriteIniValue(path, QStringLiteral("G"), QStringLiteral("K"), QStringLiteral("a\r\nb=c")));
        QVERIFY(!WriteIniValue(path, QString(), QStringLiteral("K"), QStringLiteral("v")));
        QCOMPARE(readAll(path), QByteArray("[G]\nK=1\n"));
    }
};

QTEST_GUILESS_MAIN(IniLineEditorTest)
#include "ini_line_editor_test.moc"
