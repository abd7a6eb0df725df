#include "tests/support/zip_fixture.h"
#include "updater/ini_line_editor.h"
#include "updater/update_language.h"
#include "updater/update_session.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>


class UpdateSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void stripsOneSeparator_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");
        QTest::newRow("slash") << "C:/Work/" << "C:/Work";
        QTest::newRow("backslash") << "C:\\Work\\" << "C:\\Work";
        QTest::newRow("doubled keeps one") << "C://" << "C:/";
        QTest::newRow("single character stays") << "/" << "/";
        QTest::newRow("none") << "/opt/x" << "/opt/x";
    }
    void stripsOneSeparator()
    {
        QFETCH(QString, before);
        QFETCH(QString, after);
        stripTrailingSeparator(before);
        QCOMPARE(before, after);
    }

    void nextAskDate_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QString>("expected");
        QTest::newRow("next execution") << 0 << QDate(2026, 1, 31) << QString();
        QTest::newRow("tomorrow over a year end") << 1 << QDate(2026, 12, 31) << "2027-01-01";
        QTest::newRow("a week") << 2 << QDate(2026, 2, 25) << "2026-03-04";
        QTest::newRow("a month clamps to February") << 3 << QDate(2026, 1, 31) << "2026-02-28";
        QTest::newRow("a month in a leap year") << 3 << QDate(2028, 1, 31) << "2028-02-29";
        QTest::newRow("unknown choice is today") << 7 << QDate(2026, 5, 5) << "2026-05-05";
    }
    void nextAskDate()
    {
        QFETCH(int, choice);
        QFETCH(QDate, today);
        QFETCH(QString, expected);
        QCOMPARE(nextAskDateFor(choice, today), expected);
    }

    void safePaths_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("safe");
        QTest::newRow("file") << "bin/Dravik" << true;
        QTest::newRow("folder entry") << "Language/" << true;
        QTest::newRow("dotted name") << "a/..b/.c" << true;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("parent") << "a/../../x" << false;
        QTest::newRow("dot") << "./x" << false;
        QTest::newRow("empty segment") << "a//b" << false;
        QTest::newRow("drive") << "C:x" << false;
        QTest::newRow("backslash") << "a\\..\\x" << false;
        QTest::newRow("empty") << "" << false;
    }
    void safePaths()
    {
        QFETCH(QString, path);
        QFETCH(bool, safe);
        QCOMPARE(isSafeRelativePath(path), safe);
    }

    // Start-up reading: parameters blanked in the file, lists as written,
    // unsafe paths refused, and a stale background archive forgotten at once.
    void readsParametersAndDescription()
    {
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        const QString ini = dir.filePath(QStringLiteral("p.ini"));
        WriteTestFile(ini, QStringLiteral("[AutoUpdate]\nManagerParam1=http://h/u/\nManagerParam2=%1/\n"
                                      "ManagerParam5=5.0\nManagerParam8=/opt/d/\nManagerParam10=DEU\n"
                                      "BackgroudDownload=true\nBackgroudDownloadVersion=5.0.0.33\n")
                           .arg(work).toUtf8());
        WriteTestFile(work + QStringLiteral("/UpdateVersion.inf"),
                  "[Update]\nNewVersion=5.0.0.34\n[UpdateFile]\nFileName=u.zip\nSHA256=ABCDEF\n"
                  "[DeleteFile]\nFileCount=3\nFile1=old.txt\nFile3=../../etc/x\n"
                  "[DeleteFolder]\nFolderCount=x\nFolder1=f\n"
                  "[ExecuteFile]\nExeFileCount=2\nExeFile1=setup\nExeFile2=/bin/sh\nParam2=-c\n"
                  "[RegServerFile]\nRegFileCount=1\nRegFile1=lib/a.so\n");

        UpdateSession session;
        session.readParameters(ini);
        QCOMPARE(session.serverUrl(), QStringLiteral("http://h/u"));
        QCOMPARE(session.workFolder(), work);
        QCOMPARE(session.installFolder(), QStringLiteral("/opt/d"));
        QCOMPARE(session.param(5), QStringLiteral("5.0"));
        QCOMPARE(session.languageCode(), QStringLiteral("DEU"));
        for (int n = 1; n <= 10; ++n) {
            bool found = false;
            QCOMPARE(ReadIniValue(ini, QStringLiteral("AutoUpdate"), QStringLiteral("ManagerParam%1").arg(n),
                                  QStringLiteral("?"), &found), QString());
            QVERIFY(found);
        }

        session.readAskState();
        QVERIFY(session.backgroundDownloaded);
        session.readUpdateDescription();
        QCOMPARE(session.newVersion, QStringLiteral("5.0.0.34"));
        QCOMPARE(session.updateFileName, QStringLiteral("u.zip"));
        QCOMPARE(session.updateFileSha256, QStringLiteral("abcdef"));
        // The list ends where its numbered keys end, whatever the count says.
        QCOMPARE(session.deleteFiles, QStringList{QStringLiteral("old.txt")});
        QCOMPARE(session.deleteFolders, QStringList());
        QCOMPARE(session.exeFiles, QStringList{QStringLiteral("setup")});
        QCOMPARE(session.exeParams, QStringList{QString()});
        QCOMPARE(session.regFiles, QStringList{QStringLiteral("lib/a.so")});
        QVERIFY(!session.backgroundDownloaded);
        QCOMPARE(ReadIniValue(ini, QStringLiteral("AutoUpdate"), QStringLiteral("BackgroudDownload")),
                 QStringLiteral("false"));
        QCOMPARE(ReadIniValue(ini, QStringLiteral("AutoUpdate"), QStringLiteral("BackgroudDownloadVersion"),
                              QStringLiteral("?")), QString());
    }

    void refusesArchiveNameWithFolders()
    {
        QTemporaryDir dir;
        const QString inf = dir.filePath(QStringLiteral("UpdateVersion.inf"));
        WriteTestFile(inf, "[UpdateFile]\nFileName=../u.zip\n");
        UpdateSession session;
        QCOMPARE(session.readUpdateFileName(inf), QString());
    }

    // The description file is UTF-8: names with letters beyond ASCII reach
    // the install as written, not as their bytes read one by one.
    void readsDescriptionAsUtf8()
    {
        QTemporaryDir dir;
        const QString work = dir.filePath(QStringLiteral("work"));
        QDir().mkpath(work);
        const QString ini = dir.filePath(QStringLiteral("p.ini"));
        WriteTestFile(ini, QStringLiteral("[AutoUpdate]\nManagerParam2=%1\n").arg(work).toUtf8());
        WriteTestFile(work + QStringLiteral("/UpdateVersion.inf"),
                      QStringLiteral("[UpdateFile]\nFileName=Aktualisierung_\u00e4\u00f6\u00fc.zip\n"
                                     "[DeleteFile]\nFileCount=1\nFile1=Gr\u00fc\u00dfe/\u65e7.txt\n"
                                     "[ExecuteFile]\nExeFileCount=1\nExeFile1=\u0443\u0441\u0442.sh\n"
                                     "Param1=\u00e9t\u00e9\n")
                          .toUtf8());

        UpdateSession session;
        session.readParameters(ini);
        session.readUpdateDescription();
        QCOMPARE(session.updateFileName, QString::fromUtf8("Aktualisierung_äöü.zip"));
        QCOMPARE(session.deleteFiles, QStringList{QString::fromUtf8("Grüße/旧.txt")});
        QCOMPARE(session.exeFiles, QStringList{QString::fromUtf8("уст.sh")});
        QCOMPARE(session.exeParams, QStringList{QString::fromUtf8("été")});
        QCOMPARE(session.archivePath(), work + QString::fromUtf8("/Aktualisierung_äöü.zip"));
    }

    void missingParameterFileLeavesEverythingEmpty()
    {
        UpdateSession session;
        session.readParameters(QStringLiteral("/nonexistent/p.ini"));
        session.readAskState();
        session.readUpdateDescription();
        QCOMPARE(session.managerParam.size(), 10);
        QVERIFY(session.newVersion.isEmpty());
        QVERIFY(!session.backgroundDownloaded);
        QVERIFY(!QFile::exists(QStringLiteral("/nonexistent/p.ini")));
    }

    void englishTextsAreExact()
    {
        UpdateLanguage language;
        language.load(QStringLiteral("ENU"));
        QCOMPARE(updateText(2100), QStringLiteral("Analysing update information..."));
        QCOMPARE(updateText(2105), QStringLiteral("Update finished.\nRun %1 now? "));
        QCOMPARE(updateText(2110), QStringLiteral("Tommorrow"));
        QCOMPARE(updateText(2120),
                 QStringLiteral("Start downloading updated file backgroud, and install at next execution."));
        QCOMPARE(updateText(2121), QStringLiteral("Do not update now, and show this dialog later."));
        QCOMPARE(updateText(2127), QStringLiteral("Fail to delete files/folders."));
        QCOMPARE(updateText(2133), QStringLiteral("Patchora is already running."));
        QCOMPARE(languageText(34), QString());
        QCOMPARE(languageText(-1), QString());
        for (int n = 0; n < UpdateLanguage::kTextCount; ++n)
            QVERIFY2(!languageText(n).isEmpty(), qPrintable(QString::number(n)));
    }

    void languageCodes_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("loaded");
        QTest::addColumn<bool>("rightToLeft");
        QTest::addColumn<QString>("yes");
        QTest::newRow("unknown code") << "VIT" << "ENU" << false << "Yes";
        QTest::newRow("empty code") << "" << "ENU" << false << "Yes";
        QTest::newRow("lower case finds nothing") << "far" << "ENU" << false << "Yes";
        QTest::newRow("FAR is right to left") << "FAR" << "FAR" << true << QString::fromUtf8("بله");
        QTest::newRow("ARA is right to left") << "ARA" << "ARA" << true << QString::fromUtf8("نعم");
        QTest::newRow("German") << "DEU" << "DEU" << false << "Ja";
    }
    void languageCodes()
    {
        QFETCH(QString, code);
        QFETCH(QString, loaded);
        QFETCH(bool, rightToLeft);
        QFETCH(QString, yes);
        UpdateLanguage language;
        language.load(code);
        QCOMPARE(language.code(), loaded);
        QCOMPARE(language.rightToLeft(), rightToLeft);
        QCOMPARE(updateText(2116), yes);
        // Every language has every text, English where it has none of its own.
        for (int n = 0; n < UpdateLanguage::kTextCount; ++n)
            QVERIFY(!languageText(n).isEmpty());
    }

    void everyListedLanguageHasAResource()
    {
        const QStringList codes = QStringLiteral("ARA BUL CES CHS CHT DAN DEU ENU ESN FAR FIN FRA IND ITA JPN "
                                                 "KOR LTU NOR PLK PTB ROM RUS SWE").split(QLatin1Char(' '));
        for (const QString& code : codes)
            QVERIFY2(QFile::exists(QStringLiteral(":/Language/l_") + code), qPrintable(code));
    }

    // The counts come from a downloaded file: a huge one must neither loop
    // for minutes nor allocate without bound.
    void countedListsAreBounded_data()
    {
        QTest::addColumn<QByteArray>("count");
        QTest::addColumn<int>("present");
        QTest::addColumn<int>("expected");
        QTest::newRow("int max, three present") << QByteArray("2147483647") << 3 << 3;
        QTest::newRow("beyond int") << QByteArray("99999999999") << 3 << 0;
        QTest::newRow("negative") << QByteArray("-5") << 3 << 0;
        QTest::newRow("more present than the cap") << QByteArray("2147483647") << kMaxCountedEntries + 5
                                                   << kMaxCountedEntries;
    }
    void countedListsAreBounded()
    {
        QFETCH(QByteArray, count);
        QFETCH(int, present);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString inf = dir.filePath(QStringLiteral("UpdateVersion.inf"));
        QByteArray text = "[DeleteFile]\nFileCount=" + count + "\n[ExecuteFile]\nExeFileCount=" + count + "\n"
                          "[RegServerFile]\nRegFileCount=" + count + "\n[DeleteFolder]\nFolderCount=" + count + "\n";
        for (const QByteArray group : {QByteArray("DeleteFile"), QByteArray("ExecuteFile"),
                                       QByteArray("RegServerFile"), QByteArray("DeleteFolder")}) {
            const QByteArray key = group == "DeleteFile" ? "File" : group == "ExecuteFile" ? "ExeFile"
                                   : group == "RegServerFile" ? "RegFile" : "Folder";
            text += "[" + group + "]\n";
            for (int i = 1; i <= present; ++i)
                text += key + QByteArray::number(i) + "=f" + QByteArray::number(i) + "\n";
        }
        QVERIFY(WriteTestFile(inf, text));
        QElapsedTimer timer;
        timer.start();
        UpdateSession session;
        session.readDeleteLists(inf);
        session.readExecuteList(inf);
        session.readRegServerList(inf);
        QCOMPARE(session.deleteFiles.size(), expected);
        QCOMPARE(session.deleteFolders.size(), expected);
        QCOMPARE(session.exeFiles.size(), expected);
        QCOMPARE(session.exeParams.size(), expected);
        QCOMPARE(session.regFiles.size(), expected);
        QVERIFY2(timer.elapsed() < 20000, qPrintable(QString::number(timer.elapsed())));
    }
};

QTEST_GUILESS_MAIN(UpdateSessionTest)
#include "update_session_test.moc"
