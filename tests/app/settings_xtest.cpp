// The whiteboard's settings and language files seen from outside: folders made
// at start, the settings file written at a clean close, the language file
// chosen by the settings, and the capture and update libraries bound by name.
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

class SettingsXTest : public QObject
{
    Q_OBJECT

private:
    // Starts a whiteboard with outside libraries looked up in `libraryFolder`
    // and waits until its window is up.
    bool startWhiteboard(RunningProgram& board, const QString& libraryFolder,
                         const QProcessEnvironment& extra = QProcessEnvironment())
    {
        QProcessEnvironment environment = extra;
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        environment.insert(QStringLiteral("DRAVIK_LIBRARY_DIR"), libraryFolder);
        return StartWhiteboard(board, {}, environment);
    }

private slots:
    void firstStartAndCleanClose()
    {
        ScopedFolderRoot root;
        QTemporaryDir noLibraries;
        RunningProgram board;
        QVERIFY(startWhiteboard(board, noLibraries.path()));

        const QString documents = root.path() + QStringLiteral("/Documents/Dravik");
        for (const QString& folder : {documents + QStringLiteral("/Dravik_Prj"), documents + QStringLiteral("/Dravik_Contents"),
                                      documents + QStringLiteral("/Dravik_Saved_Notes"),
                                      root.path() + QStringLiteral("/Temp/Orbel5")})
            QVERIFY2(QFileInfo(folder).isDir(), qPrintable(folder));
        const QString configPath = root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/Config.ini");
        QVERIFY(!QFile::exists(configPath));
        QVERIFY(board.hasLine(QStringLiteral("exe : cannot load Vidorra.dll")));
        QVERIFY(board.hasLine(QStringLiteral("cannot load render module")));
        QVERIFY(board.hasLine(QStringLiteral("cannot load exporter module")));

        QCOMPARE(CloseWhiteboard(board), 0);
        QVERIFY(QFile::exists(configPath));
        QSettings ini(configPath, QSettings::IniFormat);
        QStringList groups = ini.childGroups();
        groups.sort();
        QCOMPARE(groups, QStringList({"Normal", "Note", "Option", "Pen", "Position", "Record", "Strova"}));
        QCOMPARE(ini.allKeys().size(), 42);
        QCOMPARE(ini.value("Normal/proj").toString(), documents + QStringLiteral("/Dravik_Prj"));
        QCOMPARE(ini.value("Normal/version").toString(), QString("5.0.0.32"));
        QCOMPARE(ini.value("Normal/dual").toString(), QString("false"));
        QCOMPARE(ini.value("Normal/language").toInt(), -1);
        QCOMPARE(ini.value("Note/color").toString(), QString("white"));
        QCOMPARE(ini.value("Note/bgtrans").toInt(), 255);
        QCOMPARE(ini.value("Option/cursor").toString(), QString("true"));
        QCOMPARE(ini.value("Pen/FPenWidth1").toInt(), 1);
        QCOMPARE(ini.value("Pen/FPenWidth4").toInt(), 10);
        QCOMPARE(ini.value("Record/Path").toString(), documents + QStringLiteral("/Dravik_Contents"));
        QCOMPARE(ini.value("Record/Type").toInt(), 3);
        QCOMPARE(ini.value("Record/VideoFrameRate").toInt(), 5);
        QCOMPARE(ini.value("Strova/SaveID").toInt(), 0);
        QCOMPARE(ini.value("Strova/Port").toString(), QString("5555"));
    }

    // Language 2 names Japanese; without its file the English one is read.
    void languageChosenBySettings()
    {
        ScopedFolderRoot root;
        QTemporaryDir noLibraries;
        QVERIFY(WriteTestFile(root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/Config.ini"),
                              "[Normal]\nlanguage=2\n"));
        RunningProgram board;
        QVERIFY(startWhiteboard(board, noLibraries.path()));
        QVERIFY(board.hasLine(QStringLiteral("language JPN ") + BuiltProgramFolder() + QStringLiteral("/Language/ENU.lng")));
        QCOMPARE(CloseWhiteboard(board), 0);
        QSettings ini(root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/Config.ini"), QSettings::IniFormat);
        QCOMPARE(ini.value("Normal/language").toInt(), 2);
        // Keys the file lacked were read as empty and are written that way.
        QCOMPARE(ini.value("Pen/FPenWidth1").toInt(), 0);
    }

    void captureAndUpdateLibrariesBound()
    {
        ScopedFolderRoot root;
        const QString bridgeLog = root.path() + QStringLiteral("/bridge.log");
        QProcessEnvironment extra;
        extra.insert(QStringLiteral("DRAVIK_FAKE_BRIDGE_LOG"), bridgeLog);
        RunningProgram board;
        QVERIFY(startWhiteboard(board, BuiltProgramFolder() + QStringLiteral("/fake_bridges"), extra));
        QVERIFY(board.hasLine(QStringLiteral("exe : Success load Vidorra.dll")));
        QVERIFY(!board.hasLine(QStringLiteral("exe : cannot load Vidorra.dll")));
        QCOMPARE(CloseWhiteboard(board), 0);

        QFile file(bridgeLog);
        QVERIFY(file.open(QIODevice::ReadOnly | QIODevice::Text));
        const QStringList arguments = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(arguments, QStringList({"NORVANE", "Dravik", "5.0", "Linux", "5.0.0.32", BuiltProgramFolder(),
                                         "Dravik.exe", "ENU", "callback"}));
    }
};

QTEST_GUILESS_MAIN(SettingsXTest)
#include "settings_xtest.moc"
