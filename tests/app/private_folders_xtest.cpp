// What another account can prepare in the temporary folders before the
// whiteboard starts, seen from outside: a folder that is a link, belongs to
// someone else or is open to everyone makes the whiteboard refuse to start,
// with a message on stderr and in a box, and nothing is written through it; a
// lock file planted as a link is not followed.
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QProcessEnvironment QuietEnvironment()
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
    return environment;
}

bool Chmod(const QString& path, mode_t mode)
{
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

}  // namespace

class PrivateFoldersXTest : public QObject
{
    Q_OBJECT

private slots:
    void preparedFolderIsRefused_data()
    {
        QTest::addColumn<QString>("folder");  // below the folder root
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("runtime folder open to everyone")
            << "Runtime" << "mode 0777" << "Other accounts can write" << QStringList();
        QTest::newRow("temporary folder is a link") << "Temp" << "link" << "is a link" << QStringList();
        QTest::newRow("work folder of another account")
            << "Temp/Orbel5" << "owner nobody" << "belongs to another account" << QStringList();
        QTest::newRow("player folder is a link, package road")
            << "Temp/Orbel5 Player" << "link" << "is a link" << QStringList({QStringLiteral("lesson.iic")});
    }

    void preparedFolderIsRefused()
    {
        QFETCH(QString, folder);
        QFETCH(QString, setup);
        QFETCH(QString, reason);
        QFETCH(QStringList, arguments);
        ScopedFolderRoot root;
        const QString path = root.path() + QLatin1Char('/') + folder;
        const QString target = root.path() + QStringLiteral("/elsewhere");
        QVERIFY(QDir().mkpath(target));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        if (setup == QLatin1String("link")) {
            QVERIFY(QFile::link(target, path));
        } else {
            QVERIFY(QDir().mkpath(path));
            if (setup == QLatin1String("mode 0777"))
                QVERIFY(Chmod(path, 0777));
            if (setup == QLatin1String("owner nobody")) {
                const passwd* nobody = getpwnam("nobody");
                if (geteuid() != 0 || !nobody)
                    QSKIP("only root can give a folder to another account");
                QCOMPARE(::chown(QFile::encodeName(path).constData(), nobody->pw_uid, nobody->pw_gid), 0);
            }
        }
        QStringList absolute;
        for (const QString& argument : arguments) {
            const QString package = root.path() + QLatin1Char('/') + argument;
            QVERIFY(MakeZip(package, {{QStringLiteral("index.html"), "<html></html>"}}));
            absolute << package;
        }

        RunningProgram board;
        QVERIFY(board.start(QStringLiteral("Dravik"), absolute, QuietEnvironment()));
        QCOMPARE(board.waitForExit(30000), 2);
        const QStringList lines = board.lines();
        QVERIFY2(!lines.filter(QStringLiteral("exe : ")).filter(reason).isEmpty(), qPrintable(lines.join('\n')));
        QVERIFY(!lines.filter(QStringLiteral("message box critical: Dravik | ")).filter(reason).isEmpty());
        QVERIFY(lines.filter(QStringLiteral("InitDialog")).isEmpty());
        // Nothing was made through the link or in the refused folder.
        QVERIFY2(QDir(target).isEmpty(), qPrintable(QDir(target).entryList().join(' ')));
        if (setup != QLatin1String("link"))
            QVERIFY(QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).isEmpty());
    }

    // A lock file planted as a link to a file that does not exist yet: the
    // whiteboard does not create the file the link names.
    void plantedLockLinkIsNotFollowed()
    {
        ScopedFolderRoot root;
        const QString runtime = root.path() + QStringLiteral("/Runtime");
        QVERIFY(QDir().mkpath(runtime));
        QVERIFY(Chmod(runtime, 0700));
        const QString victim = root.path() + QStringLiteral("/victim");
        QVERIFY(QFile::link(victim, runtime + QStringLiteral("/Dravik.lock")));

        // Without its lock file the whiteboard falls back on the shared-memory
        // guard, which copies of other tests may hold: it starts or it says
        // another copy runs. Either way the link's target is not made.
        RunningProgram board;
        QVERIFY(board.start(QStringLiteral("Dravik"), {}, QuietEnvironment()));
        QElapsedTimer clock;
        clock.start();
        while (board.isRunning() && !board.hasLine(QStringLiteral("ConnectPenDriverWindow : "))
               && clock.elapsed() < 30000)
            board.waitForLine(QStringLiteral("ConnectPenDriverWindow : "), 200);
        QVERIFY(!QFileInfo::exists(victim));
        QVERIFY(QFileInfo(runtime + QStringLiteral("/Dravik.lock")).isSymLink());
        if (board.isRunning())
            QCOMPARE(CloseWhiteboard(board), 0);
    }

    // The page images are this user's alone.
    void pageImagesAreClosedToOthers()
    {
        ScopedFolderRoot root;
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {}, QuietEnvironment()));
        const QString work = root.path() + QStringLiteral("/Temp/Orbel5");
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(work).entryList({QStringLiteral("*.jpg")}, QDir::Files).isEmpty(), 10000);
        struct stat info {};
        QCOMPARE(::stat(QFile::encodeName(work).constData(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QCOMPARE(::stat(QFile::encodeName(root.path() + QStringLiteral("/Temp")).constData(), &info), 0);
        QCOMPARE(info.st_mode & 0077, geteuid() == 0 ? mode_t(0011) : mode_t(0));
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_GUILESS_MAIN(PrivateFoldersXTest)
#include "private_folders_xtest.moc"
