#include "app/utilities.h"
#include "platform/processes.h"
#include "tests/support/zip_fixture.h"

#include <QtTest>

#include <csignal>
#include <unistd.h>

namespace {

bool ProcessAlive(qint64 pid)
{
    // A zombie still has a /proc entry; only a running state counts.
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = status.readAll();
    return !text.contains("State:\tZ") && !text.contains("State:\tX");
}

bool WaitUntilGone(qint64 pid, int msec)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < msec) {
        if (!ProcessAlive(pid))
            return true;
        QThread::msleep(20);
    }
    return !ProcessAlive(pid);
}

}  // namespace

class UtilitiesTest : public QObject
{
    Q_OBJECT

private slots:
    void removeEmptiesTheRootAndRemovesOtherFolders();
    void removeNeverFollowsLinks();
    void removeOfAMissingFolder();
    void removeStopsAtAFailure();
    void copyFolderKeepsExistingFiles();
    void waitForFolderFilesGivesUp_data();
    void waitForFolderFilesGivesUp();
    void killByName();
    void killByNameSparesProcessesThatAreNotOurs();
    void processStartedWithOurFileIsOurs();
    void usableIpv4Addresses();
};

void UtilitiesTest::removeEmptiesTheRootAndRemovesOtherFolders()
{
    QTemporaryDir temp;
    const QString root = temp.path() + "/work";
    QVERIFY(WriteTestFile(root + "/a.txt", "x"));
    QVERIFY(WriteTestFile(root + "/.hidden", "x"));
    QVERIFY(WriteTestFile(root + "/sub/b.txt", "x"));
    QVERIFY(WriteTestFile(root + "/sub/deeper/.c", "x"));

    QVERIFY(RemoveFolderRecursive(root, root));
    QVERIFY(QFileInfo(root).isDir());
    QVERIFY(QDir(root).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());

    QVERIFY(WriteTestFile(root + "/sub/b.txt", "x"));
    QVERIFY(RemoveFolderRecursive(root + "/sub", root));
    QVERIFY(!QFileInfo::exists(root + "/sub"));
    QVERIFY(RemoveFolderRecursive(root, temp.path()));
    QVERIFY(!QFileInfo::exists(root));
}

void UtilitiesTest::removeNeverFollowsLinks()
{
    QTemporaryDir temp;
    const QString outside = temp.path() + "/outside";
    QVERIFY(WriteTestFile(outside + "/precious.txt", "x"));
    QVERIFY(WriteTestFile(outside + "/folder/also.txt", "x"));
    const QString root = temp.path() + "/work";
    QVERIFY(WriteTestFile(root + "/own.txt", "x"));
    QVERIFY(QFile::link(outside, root + "/link-to-folder"));
    QVERIFY(QFile::link(outside + "/precious.txt", root + "/link-to-file"));
    QVERIFY(QFile::link(temp.path() + "/nowhere", root + "/dangling"));

    QVERIFY(RemoveFolderRecursive(root, temp.path()));
    QVERIFY(!QFileInfo::exists(root));
    QVERIFY(QFileInfo::exists(outside + "/precious.txt"));
    QVERIFY(QFileInfo::exists(outside + "/folder/also.txt"));

    // A link handed over as the folder itself is removed as a link.
    QVERIFY(QFile::link(outside, temp.path() + "/alias"));
    QVERIFY(RemoveFolderRecursive(temp.path() + "/alias", temp.path()));
    QVERIFY(!QFileInfo(temp.path() + "/alias").isSymLink());
    QVERIFY(QFileInfo::exists(outside + "/precious.txt"));
}

void UtilitiesTest::removeOfAMissingFolder()
{
    QTemporaryDir temp;
    const QString missing = temp.path() + "/missing";
    QVERIFY(!RemoveFolderRecursive(missing, temp.path()));
    QVERIFY(!RemoveFolderRecursive(missing, missing));
}

void UtilitiesTest::removeStopsAtAFailure()
{
    if (geteuid() == 0)
        QSKIP("file permissions do not stop the superuser");
    QTemporaryDir temp;
    const QString root = temp.path() + "/work";
    QVERIFY(WriteTestFile(root + "/locked/inner.txt", "x"));
    QFile::setPermissions(root + "/locked", QFile::ReadOwner | QFile::ExeOwner);
    QVERIFY(!RemoveFolderRecursive(root, temp.path()));
    QVERIFY(QFileInfo::exists(root + "/locked/inner.txt"));
    QFile::setPermissions(root + "/locked", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

void UtilitiesTest::copyFolderKeepsExistingFiles()
{
    QTemporaryDir temp;
    const QString source = temp.path() + "/source";
    const QString target = temp.path() + "/target";
    QVERIFY(WriteTestFile(source + "/a.txt", "new a"));
    QVERIFY(WriteTestFile(source + "/sub/deep/b.txt", "new b"));
    QVERIFY(WriteTestFile(target + "/a.txt", "old a"));

    CopyFolder(source, target);
    QFile a(target + "/a.txt");
    QVERIFY(a.open(QIODevice::ReadOnly));
    QCOMPARE(a.readAll(), QByteArray("old a"));
    QFile b(target + "/sub/deep/b.txt");
    QVERIFY(b.open(QIODevice::ReadOnly));
    QCOMPARE(b.readAll(), QByteArray("new b"));

    // A link back up the tree is not followed, so the copy ends.
    QVERIFY(QFile::link(source, source + "/sub/loop"));
    const QString second = temp.path() + "/second";
    QVERIFY(QDir().mkpath(second));
    CopyFolder(source, second);
    QVERIFY(QFileInfo::exists(second + "/sub/deep/b.txt"));
    QVERIFY(!QFileInfo::exists(second + "/sub/loop"));

    // A missing source does nothing, and the destination is not created.
    CopyFolder(temp.path() + "/nothing", temp.path() + "/never");
    QVERIFY(!QFileInfo::exists(temp.path() + "/never"));
}

void UtilitiesTest::waitForFolderFilesGivesUp_data()
{
    QTest::addColumn<int>("cnt");
    QTest::addColumn<bool>("present");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");
    QTest::newRow("present: returns at once") << 5 << true << 0 << 40;
    QTest::newRow("cnt 0 checks once, sleeps once") << 0 << false << 50 << 150;
    QTest::newRow("cnt 1 checks once, sleeps once") << 1 << false << 50 << 150;
    QTest::newRow("cnt 3 sleeps three times") << 3 << false << 150 << 300;
}

void UtilitiesTest::waitForFolderFilesGivesUp()
{
    QFETCH(int, cnt);
    QFETCH(bool, present);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);
    QTemporaryDir temp;
    QVERIFY(WriteTestFile(temp.path() + "/record.mp4.part", "x"));  // a near name must not count
    if (present)
        QVERIFY(WriteTestFile(temp.path() + "/record.mp4", "x"));
    QElapsedTimer timer;
    timer.start();
    WaitForFolderFiles(temp.path(), "record.mp4", 50, cnt);
    const qint64 took = timer.elapsed();
    QVERIFY2(took >= minMs && took <= maxMs, qPrintable(QString::number(took)));
}

void UtilitiesTest::killByName()
{
    // A program of a unique name, run from a folder of the test: it is a child
    // of this process, so it counts as ours.
    QTemporaryDir temp;
    const QString program = temp.path() + "/dravik-test-sleeper";
    QVERIFY(QFile::copy("/bin/sleep", program));
    QProcess sleeper;
    sleeper.start(program, {"30"});
    QVERIFY(sleeper.waitForStarted());

    QVERIFY(KillProcessByName(1, "dravik-test-sleeper.exe"));
    QVERIFY(!KillProcessByName(1, "DRAVIK-TEST-SLEEPER.EXE"));
    QVERIFY(!KillProcessByName(3, "dravik-test-sleeper.exe"));
    QVERIFY(ProcessAlive(sleeper.processId()));

    QVERIFY(!KillProcessByName(2, "dravik-test-sleeper.exe"));
    QVERIFY(sleeper.waitForFinished(3000));
    QVERIFY(!KillProcessByName(1, "dravik-test-sleeper.exe"));
}

void UtilitiesTest::killByNameSparesProcessesThatAreNotOurs()
{
    // The shell starts the program in the background and exits, so it is no
    // longer below this process, and its folder is not one of the program's.
    QTemporaryDir temp;
    const QString program = temp.path() + "/dravik-test-stranger";
    QVERIFY(QFile::copy("/bin/sleep", program));
    QProcess shell;
    shell.start("/bin/sh", {"-c", QStringLiteral("'%1' 30 >/dev/null 2>&1 & echo $!").arg(program)});
    QVERIFY(shell.waitForFinished(5000));
    const qint64 pid = shell.readAllStandardOutput().trimmed().toLongLong();
    QVERIFY(pid > 0);
    QVERIFY(ProcessAlive(pid));
    QVERIFY(!platform::IsOwnProcess(pid));

    // A copy of the same name that this test started is ours: once it has
    // been ended, the stranger would have been too.
    QProcess ours;
    ours.start(program, {"30"});
    QVERIFY(ours.waitForStarted());
    KillProcessByName(2, "dravik-test-stranger.exe");
    QVERIFY(ours.waitForFinished(3000));
    QVERIFY(ProcessAlive(pid));
    QVERIFY(KillProcessByName(1, "dravik-test-stranger.exe"));

    // Once its folder is one of the program's own, it may be ended.
    platform::RegisterOwnFolder(temp.path());
    QVERIFY(platform::IsOwnProcess(pid));
    KillProcessByName(2, "dravik-test-stranger.exe");
    QVERIFY(WaitUntilGone(pid, 3000));
}

void UtilitiesTest::processStartedWithOurFileIsOurs()
{
    // A daemon leaves whoever started it; the file of ours it was started
    // with still ties it to us. Files elsewhere do not.
    QTemporaryDir own;
    QTemporaryDir other;
    QVERIFY(WriteTestFile(own.path() + "/conf/server.conf", "x"));
    QVERIFY(WriteTestFile(other.path() + "/server.conf", "x"));
    platform::RegisterOwnFolder(own.path() + "/conf");
    QProcess shell;
    shell.start("/bin/sh", {"-c", QStringLiteral("tail -f '%1' >/dev/null 2>&1 & echo $!; "
                                                 "tail -f '%2' >/dev/null 2>&1 & echo $!")
                                      .arg(own.path() + "/conf/../conf/server.conf", other.path() + "/server.conf")});
    QVERIFY(shell.waitForFinished(5000));
    const QList<QByteArray> pids = shell.readAllStandardOutput().trimmed().split('\n');
    QCOMPARE(pids.size(), 2);
    const qint64 ours = pids.at(0).toLongLong();
    const qint64 theirs = pids.at(1).toLongLong();
    // The shell's children may not have replaced themselves by tail yet.
    QTRY_COMPARE_WITH_TIMEOUT(platform::ProcessArguments(ours),
                              QStringList({"-f", own.path() + "/conf/../conf/server.conf"}), 3000);
    QTRY_COMPARE_WITH_TIMEOUT(platform::ProcessArguments(theirs), QStringList({"-f", other.path() + "/server.conf"}), 3000);
    QVERIFY(platform::IsOwnProcess(ours));
    QVERIFY(!platform::IsOwnProcess(theirs));
    platform::TerminateProcess(ours);
    platform::TerminateProcess(theirs);
    QVERIFY(WaitUntilGone(ours, 3000));
    QVERIFY(WaitUntilGone(theirs, 3000));
}

void UtilitiesTest::usableIpv4Addresses()
{
    const QList<QHostAddress> addresses = {
        QHostAddress("127.0.0.1"), QHostAddress("::1"),          QHostAddress("169.254.10.3"),
        QHostAddress("192.0.2.15"), QHostAddress("0.0.0.0"),     QHostAddress("fe80::1"),
        QHostAddress("198.51.100.7"),
    };
    QCOMPARE(UsableIpv4Addresses(addresses), QStringList({"192.0.2.15", "198.51.100.7"}));
    QVERIFY(UsableIpv4Addresses({QHostAddress("127.0.0.1"), QHostAddress("169.254.1.1")}).isEmpty());
    // The machine's own list never holds loopback.
    QVERIFY(!LocalIpv4Address().contains("127.0.0.1"));
}

QTEST_GUILESS_MAIN(UtilitiesTest)
#include "utilities_test.moc"
