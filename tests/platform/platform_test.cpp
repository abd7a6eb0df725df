#include "platform/folders.h"
#include "platform/launch.h"
#include "platform/library.h"
#include "platform/processes.h"
#include "tests/support/test_folders.h"

#include <QtTest>

class PlatformTest : public QObject
{
    Q_OBJECT

private slots:
    void knownFoldersMoveUnderTheRoot_data();
    void knownFoldersMoveUnderTheRoot();
    void joinPath_data();
    void joinPath();
    void programNames_data();
    void programNames();
    void outsideLibraryLoadsByWindowsName();
    void missingLibraryLeavesFeatureOff();
    void runAndWaitTakesArgumentsLiterally();
};

void PlatformTest::knownFoldersMoveUnderTheRoot_data()
{
    QTest::addColumn<int>("folder");
    QTest::addColumn<QString>("relative");
    QTest::newRow("common app data") << int(platform::KnownFolder::CommonAppData) << "ProgramData";
    QTest::newRow("program files") << int(platform::KnownFolder::ProgramFiles) << "ProgramFiles";
    QTest::newRow("documents") << int(platform::KnownFolder::Documents) << "Documents";
    QTest::newRow("temp") << int(platform::KnownFolder::Temp) << "Temp";
    QTest::newRow("home") << int(platform::KnownFolder::Home) << "Home";
    QTest::newRow("runtime") << int(platform::KnownFolder::Runtime) << "Runtime";
}

void PlatformTest::knownFoldersMoveUnderTheRoot()
{
    QFETCH(int, folder);
    QFETCH(QString, relative);
    ScopedFolderRoot root;
    const QString path = platform::KnownFolderPath(static_cast<platform::KnownFolder>(folder));
    QCOMPARE(path, QDir::cleanPath(root.path() + "/" + relative));
    QVERIFY(QFileInfo(path).isDir());
}

void PlatformTest::joinPath_data()
{
    QTest::addColumn<QString>("base");
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("joined");
    QTest::newRow("settings file") << "/data" << "\\Norvane\\Dravik\\Config.ini" << "/data/Norvane/Dravik/Config.ini";
    QTest::newRow("trailing separator") << "/tmp/" << "\\Orbel5\\" << "/tmp/Orbel5";
    QTest::newRow("mixed separators") << "/a" << "b/c\\d" << "/a/b/c/d";
    QTest::newRow("doubled separators") << "/a" << "\\\\b\\\\c" << "/a/b/c";
    QTest::newRow("root base") << "/" << "\\x" << "/x";
}

void PlatformTest::joinPath()
{
    QFETCH(QString, base);
    QFETCH(QString, windows);
    QFETCH(QString, joined);
    QCOMPARE(platform::JoinPath(base, windows), joined);
}

void PlatformTest::programNames_data()
{
    QTest::addColumn<QString>("windows");
    QTest::addColumn<QString>("linux");
    QTest::newRow("web server") << "httpd.exe" << "apache2";
    QTest::newRow("ffmpeg") << "ffmpeg.exe" << "ffmpeg";
    QTest::newRow("unlisted exe") << "tool.exe" << "tool";
    QTest::newRow("already linux") << "unzip" << "unzip";
    QTest::newRow("case kept") << "HTTPD.EXE" << "HTTPD";
}

void PlatformTest::programNames()
{
    QFETCH(QString, windows);
    QFETCH(QString, linux);
    QCOMPARE(platform::LinuxProgramName(windows), linux);
}

void PlatformTest::outsideLibraryLoadsByWindowsName()
{
    ScopedLibraryFolder libraries(BuiltProgramFolder());
    QLibrary library;
    QVERIFY(platform::LoadOutsideLibrary(library, "ProbeLibrary.dll"));
    QCOMPARE(library.fileName(), BuiltProgramFolder() + "/libProbeLibrary.so");
    using Answer = int (*)(int);
    Answer answer = platform::ResolveFunction<Answer>(library, "ProbeAnswer");
    QVERIFY(answer);
    QCOMPARE(answer(20), 41);
    QVERIFY(!platform::ResolveFunction<Answer>(library, "NoSuchFunction"));
    library.unload();
}

void PlatformTest::missingLibraryLeavesFeatureOff()
{
    QTemporaryDir empty;
    ScopedLibraryFolder libraries(empty.path());
    QLibrary library;
    QVERIFY(!platform::LoadOutsideLibrary(library, "ProbeLibrary.dll"));
    QVERIFY(!library.isLoaded());
    using Answer = int (*)(int);
    QVERIFY(!platform::ResolveFunction<Answer>(library, "ProbeAnswer"));

    // A file that is not a library fails the same way, without a crash.
    QFile junk(empty.path() + "/libProbeLibrary.so");
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write("not a library");
    junk.close();
    QVERIFY(!platform::LoadOutsideLibrary(library, "ProbeLibrary.dll"));
}

void PlatformTest::runAndWaitTakesArgumentsLiterally()
{
    QTemporaryDir temp;
    const QString odd = temp.path() + "/name with spaces; $(rm -rf x) 'q'";
    QByteArray output;
    QCOMPARE(platform::RunAndWait("touch", {odd}, 5000, &output), 0);
    QVERIFY(QFileInfo::exists(odd));
    QCOMPARE(platform::RunAndWait("no-such-program-here", {}, 1000), -1);
    QCOMPARE(platform::RunAndWait("sh", {"-c", "exit 3"}, 5000), 3);
    QCOMPARE(platform::RunAndWait("sleep", {"5"}, 200), -1);
}

QTEST_GUILESS_MAIN(PlatformTest)
#include "platform_test.moc"
