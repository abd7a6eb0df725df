#include "platform/folders.h"
#include "platform/launch.h"
#include "platform/library.h"
#include "platform/processes.h"
#include "tests/support/test_folders.h"

#include <QtTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

class PlatformTest : public QObject
{
    Q_OBJECT

private slots:
    void knownFoldersMoveUnderTheRoot_data();
    void knownFoldersMoveUnderTheRoot();
    void privateFolderIsRefused_data();
    void privateFolderIsRefused();
    void soundFolderIsClosedToOthers();
    void temporaryFoldersAreOursBelowTheSharedOne();
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

// What a folder we keep files in must not be, and what each looks like when
// another account prepared it for us.
void PlatformTest::privateFolderIsRefused_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("reason");
    QTest::newRow("link to a folder") << "link" << "is a link";
    QTest::newRow("writable by everyone") << "mode 0777" << "Other accounts can write";
    QTest::newRow("writable by the group") << "mode 0770" << "Other accounts can write";
    QTest::newRow("a file") << "file" << "not a folder";
    QTest::newRow("another account's") << "owner nobody" << "belongs to another account";
}

void PlatformTest::privateFolderIsRefused()
{
    QFETCH(QString, setup);
    QFETCH(QString, reason);
    QTemporaryDir temp;
    const QString path = temp.path() + "/private";
    const QString target = temp.path() + "/target";
    QVERIFY(QDir().mkpath(target));
    if (setup == "link") {
        QVERIFY(QFile::link(target, path));
    } else if (setup == "file") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
    } else {
        QVERIFY(QDir().mkpath(path));
        if (setup.startsWith("mode"))
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), setup.mid(5).toUInt(nullptr, 8)), 0);
        if (setup == "owner nobody") {
            const passwd* nobody = getpwnam("nobody");
            if (geteuid() != 0 || !nobody)
                QSKIP("only root can give a folder to another account");
            QCOMPARE(::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid), 0);
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0700), 0);
        }
    }
    const QFile::Permissions targetBefore = QFileInfo(target).permissions();
    const QString problem = platform::EnsurePrivateFolder(path);
    QVERIFY2(problem.contains(reason), qPrintable(problem));
    QVERIFY(problem.contains(path));
    // Nothing was changed in what the link points at.
    QCOMPARE(QFileInfo(target).permissions(), targetBefore);
    QVERIFY(QDir(target).isEmpty());
}

void PlatformTest::soundFolderIsClosedToOthers()
{
    QTemporaryDir temp;
    const QString made = temp.path() + "/made";
    QCOMPARE(platform::EnsurePrivateFolder(made), QString());
    struct stat info {};
    QCOMPARE(::stat(QFile::encodeName(made).constData(), &info), 0);
    QVERIFY(S_ISDIR(info.st_mode));
    QCOMPARE(info.st_mode & 07777, mode_t(0700));

    // An existing folder of ours that others may read loses that.
    const QString existing = temp.path() + "/existing";
    QVERIFY(QDir().mkpath(existing));
    QCOMPARE(::chmod(QFile::encodeName(existing).constData(), 0755), 0);
    QCOMPARE(platform::EnsurePrivateFolder(existing), QString());
    QCOMPARE(::stat(QFile::encodeName(existing).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0700));
    // A mode of the caller's choosing.
    QCOMPARE(platform::EnsurePrivateFolder(existing, 0711), QString());
    QCOMPARE(::stat(QFile::encodeName(existing).constData(), &info), 0);
    QCOMPARE(info.st_mode & 07777, mode_t(0711));
}

// Without a folder root, the temporary files live in a folder of this user's
// own below the shared temporary folder, never in it directly.
void PlatformTest::temporaryFoldersAreOursBelowTheSharedOne()
{
    QTemporaryDir shared;
    QVERIFY(::chmod(QFile::encodeName(shared.path()).constData(), 01777) == 0);
    const QByteArray previousRoot = qgetenv("DRAVIK_ROOT");
    const QByteArray previousTmp = qgetenv("TMPDIR");
    const QByteArray previousRuntime = qgetenv("XDG_RUNTIME_DIR");
    qunsetenv("DRAVIK_ROOT");
    qunsetenv("XDG_RUNTIME_DIR");
    qputenv("TMPDIR", QFile::encodeName(shared.path()));

    const QString own = shared.path() + "/dravik-" + QString::number(geteuid());
    const QString temp = platform::KnownFolderPath(platform::KnownFolder::Temp);
    const QString runtime = platform::KnownFolderPath(platform::KnownFolder::Runtime);
    const QString problem = platform::CheckPrivateFolders();
    struct stat info {};
    const int statResult = ::stat(QFile::encodeName(own).constData(), &info);

    // Another account got there first: refused, named in the message.
    const QString foreign = own;
    QTemporaryDir elsewhere;
    QDir(own).removeRecursively();
    const bool linked = QFile::link(elsewhere.path(), own);
    const QString refused = platform::CheckPrivateFolders();

    qputenv("DRAVIK_ROOT", previousRoot);
    qputenv("TMPDIR", previousTmp);
    if (!previousRuntime.isEmpty())
        qputenv("XDG_RUNTIME_DIR", previousRuntime);
    if (previousRoot.isEmpty())
        qunsetenv("DRAVIK_ROOT");
    if (previousTmp.isEmpty())
        qunsetenv("TMPDIR");

    QCOMPARE(temp, own);
    QCOMPARE(runtime, own + "/runtime");
    QCOMPARE(problem, QString());
    QCOMPARE(statResult, 0);
    QCOMPARE(info.st_mode & 07777, mode_t(platform::PrivateTempMode()));
    QVERIFY(linked);
    QVERIFY2(refused.contains(foreign) && refused.contains("link"), qPrintable(refused));
    QVERIFY(QDir(elsewhere.path()).isEmpty());
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
