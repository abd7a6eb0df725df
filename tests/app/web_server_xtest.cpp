// The local web server that plays contents packages, seen from outside: the
// package road starts the server with our configuration, which serves the
// player's pages and the unpacked package on the loopback interface only; a
// second road and a normal start use the running server instead of starting
// another; the server outlives the whiteboard; a link inside a package does
// not reach the user's files; and the server counts as ours when it is ended.
// Another program's server of the same name is not taken for ours, and a port
// held by another program is reported instead of opening a page that cannot
// work. The test picks a free port of its own, so it runs wherever 8080 is
// taken or the machine runs a server of its own.
#include "app/startup.h"
#include "app/utilities.h"
#include "platform/launch.h"
#include "platform/processes.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QThread>

#include <unistd.h>

namespace {

// The player port this test picked (DRAVIK_PLAYER_PORT).
quint16 g_port = 0;

struct Reply
{
    int status = 0;  // 0: no answer
    QByteArray body;
};

// One plain HTTP/1.0 request to the player's port on the loopback interface.
Reply Fetch(const QString& path, const QString& host = QStringLiteral("127.0.0.1"))
{
    Reply reply;
    QTcpSocket socket;
    socket.connectToHost(host, g_port);
    if (!socket.waitForConnected(2000))
        return reply;
    socket.write("GET " + path.toUtf8() + " HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n");
    QByteArray answer;
    QElapsedTimer clock;
    clock.start();
    while (socket.state() == QAbstractSocket::ConnectedState && clock.elapsed() < 5000) {
        socket.waitForReadyRead(200);
        answer += socket.readAll();
    }
    answer += socket.readAll();
    const int headerEnd = answer.indexOf("\r\n\r\n");
    const QList<QByteArray> statusLine = answer.left(answer.indexOf("\r\n")).split(' ');
    if (headerEnd < 0 || statusLine.size() < 2)
        return reply;
    reply.status = statusLine.at(1).toInt();
    reply.body = answer.mid(headerEnd + 4);
    return reply;
}

// Waits for the server to answer `path` at all (it starts detached).
Reply FetchWhenUp(const QString& path)
{
    Reply reply;
    QElapsedTimer clock;
    clock.start();
    while ((reply = Fetch(path)).status == 0 && clock.elapsed() < 15000)
        QThread::msleep(100);
    return reply;
}

bool PortTaken()
{
    QTcpServer probe;
    return !probe.listen(QHostAddress::LocalHost, g_port);
}

// A port nobody listens on now.
quint16 FreePort()
{
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

}  // namespace

class WebServerXTest : public QObject
{
    Q_OBJECT

private:
    ScopedFolderRoot m_root;
    qint64 m_master = 0;

    // Server processes started with a file below this test's root.
    QList<qint64> serverProcesses()
    {
        QList<qint64> found;
        for (qint64 pid : platform::ProcessIds()) {
            if (platform::ProcessExecutableName(pid) != platform::LinuxProgramName(QStringLiteral("httpd.exe")))
                continue;
            for (const QString& argument : platform::ProcessArguments(pid)) {
                if (argument.startsWith(m_root.path() + QLatin1Char('/')))
                    found << pid;
            }
        }
        return found;
    }

    // The servers' main processes: those whose parent is none of them.
    QList<qint64> serverMasters()
    {
        const QList<qint64> all = serverProcesses();
        QList<qint64> masters;
        for (qint64 pid : all) {
            if (!all.contains(platform::ParentProcessId(pid)))
                masters << pid;
        }
        return masters;
    }

    // Plays a package the way a file manager starts the whiteboard with it.
    int playPackage(const QString& package, QStringList* lines = nullptr)
    {
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        environment.insert(QStringLiteral("PATH"), fakeFolder() + QLatin1Char(':') + qEnvironmentVariable("PATH"));
        environment.insert(QStringLiteral("FAKE_LOG_DIR"), m_root.path());
        RunningProgram player;
        if (!player.start(QStringLiteral("Dravik"), {package}, environment))
            return -3;
        const int code = player.waitForExit(30000);
        if (lines)
            *lines = player.lines();
        return code;
    }

    QString fakeFolder() const { return m_root.path() + QStringLiteral("/fakebin"); }
    QString workFolder() const { return m_root.path() + QStringLiteral("/Temp/Orbel5 Player"); }

    void endOurServers()
    {
        KillProcessByName(2, QStringLiteral("httpd.exe"));
        QElapsedTimer clock;
        clock.start();
        while (!serverProcesses().isEmpty() && clock.elapsed() < 5000)
            QThread::msleep(50);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_root.isValid());
        if (platform::ResolveProgram(QStringLiteral("httpd.exe")).isEmpty()
            && !QFileInfo(QStringLiteral("/usr/sbin/apache2")).isExecutable())
            QSKIP("the web server (Debian's apache2-bin) is not installed");
        // The suite keeps the whiteboard from starting servers; this test wants one.
        qunsetenv("DRAVIK_NO_WEB_SERVER");
        g_port = FreePort();
        QVERIFY(g_port != 0);
        qputenv("DRAVIK_PLAYER_PORT", QByteArray::number(g_port));
        // Started by root, the server serves as "nobody", which must be able to
        // walk down to the work folder below this private root.
        if (getuid() == 0)
            QVERIFY(QFile::setPermissions(m_root.path(), QFile::permissions(m_root.path()) | QFile::ExeOther
                                                              | QFile::ReadOther | QFile::ExeGroup | QFile::ReadGroup));

        QVERIFY(WriteTestFile(fakeFolder() + QStringLiteral("/xdg-open"),
                              "#!/bin/sh\nprintf '%s\\n' \"$@\" >> \"$FAKE_LOG_DIR/browser.args\"\n", kExecutablePermissions));
        QVERIFY(WriteTestFile(m_root.path() + QStringLiteral("/ProgramFiles/Norvane/Dravik/Player/index.html"),
                              "<html>player page</html>"));
        // Left behind by an earlier play: emptied when the server starts.
        QVERIFY(WriteTestFile(workFolder() + QStringLiteral("/stale/index.html"), "stale"));
    }

    // Another program holds the player port: nothing of ours is started, the
    // browser is not sent to a page nothing serves, and the user is told.
    void portHeldByAnotherProgram()
    {
        QTcpServer holder;
        QVERIFY(holder.listen(QHostAddress::LocalHost, g_port));
        const QString package = m_root.path() + QStringLiteral("/packages/blocked.iic");
        QDir().mkpath(QFileInfo(package).path());
        QVERIFY(MakeZip(package, {{QStringLiteral("index.html"), "blocked"}}));

        QStringList lines;
        QCOMPARE(playPackage(package, &lines), 1);
        const QString port = QString::number(g_port);
        QVERIFY2(!lines.filter(QStringLiteral("exe : port %1 of 127.0.0.1 is held by another program").arg(port))
                      .isEmpty(),
                 qPrintable(lines.join('\n')));
        QVERIFY(!lines.filter(QStringLiteral("message box critical: Dravik | ")).filter(port).isEmpty());
        QVERIFY(!QFileInfo::exists(m_root.path() + QStringLiteral("/browser.args")));
        QVERIFY(serverProcesses().isEmpty());
    }

    void packageIsServed()
    {
        const QString package = m_root.path() + QStringLiteral("/packages/lesson.iic");
        QDir().mkpath(QFileInfo(package).path());
        QVERIFY(MakeZip(package, {{QStringLiteral("index.html"), "<html>lesson page</html>"},
                                  {QStringLiteral("media/Notes.xml"), "<Notes/>"}}));
        // A server of the same name that is not ours runs already.
        QProcess decoy;
        const QString decoyProgram = fakeFolder() + QStringLiteral("/decoy/") + platform::LinuxProgramName(QStringLiteral("httpd.exe"));
        QVERIFY(QDir().mkpath(QFileInfo(decoyProgram).path()));
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), decoyProgram));
        decoy.start(decoyProgram, {QStringLiteral("60")});
        QVERIFY(decoy.waitForStarted(5000));
        QVERIFY(KillProcessByName(1, QStringLiteral("httpd.exe")));

        QCOMPARE(playPackage(package), 0);

        const Reply player = FetchWhenUp(QStringLiteral("/index.html"));
        decoy.kill();
        decoy.waitForFinished(5000);
        QCOMPARE(player.status, 200);
        QCOMPARE(player.body, QByteArray("<html>player page</html>"));
        const Reply lesson = Fetch(QStringLiteral("/lesson/index.html"));
        QCOMPARE(lesson.status, 200);
        QCOMPARE(lesson.body, QByteArray("<html>lesson page</html>"));
        QCOMPARE(Fetch(QStringLiteral("/lesson/Notes.xml")).body, QByteArray("<Notes/>"));
        QCOMPARE(Fetch(QStringLiteral("/stale/index.html")).status, 404);
        QTRY_COMPARE_WITH_TIMEOUT(ReadTestFile(m_root.path() + QStringLiteral("/browser.args")),
                                  QStringLiteral("http://127.0.0.1:%1/?ist=lesson&OEM=NORVANE\n").arg(g_port).toUtf8(),
                                  10000);

        // One server, writing its id where our configuration says.
        const QList<qint64> masters = serverMasters();
        QCOMPARE(masters.size(), 1);
        m_master = masters.first();
        QCOMPARE(ReadTestFile(WebServerPidFile()).trimmed().toLongLong(), m_master);
        QVERIFY(platform::IsOwnProcess(m_master));

        // The loopback interface only.
        for (const QString& address : LocalIpv4Address())
            QCOMPARE(Fetch(QStringLiteral("/index.html"), address).status, 0);
    }

    void runningServerIsKept()
    {
        QVERIFY(m_master > 0);
        const QString package = m_root.path() + QStringLiteral("/packages/second.iic");
        QVERIFY(MakeZip(package, {{QStringLiteral("index.html"), "second page"}}));
        QCOMPARE(playPackage(package), 0);
        QCOMPARE(Fetch(QStringLiteral("/second/index.html")).body, QByteArray("second page"));
        // Not emptied: the first package still plays.
        QCOMPARE(Fetch(QStringLiteral("/lesson/index.html")).status, 200);

        // A normal start finds the server running too, and leaves it running
        // when the whiteboard closes.
        RunningProgram board;
        QProcessEnvironment environment;
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
        QVERIFY(board.start(QStringLiteral("Dravik"), {QStringLiteral("/noAutoUpdate")}, environment));
        QCOMPARE(WaitForXWindows(QStringLiteral("^Dialog6601$"), 20000, board.pid()).size(), 1);
        QCOMPARE(CloseWhiteboard(board), 0);

        QCOMPARE(serverMasters(), QList<qint64>({m_master}));
        QCOMPARE(Fetch(QStringLiteral("/second/index.html")).status, 200);
    }

    void linksStayInsideTheWorkFolder()
    {
        QVERIFY(m_master > 0);
        // A package carrying a link to a file of the user's.
        const QString secret = m_root.path() + QStringLiteral("/Home/secret.txt");
        QVERIFY(WriteTestFile(secret, "the user's own file"));
        const QString staging = m_root.path() + QStringLiteral("/staging");
        QVERIFY(QDir().mkpath(staging));
        QVERIFY(QFile::link(secret, staging + QStringLiteral("/leak.html")));
        QVERIFY(WriteTestFile(staging + QStringLiteral("/index.html"), "links page"));
        const QString package = m_root.path() + QStringLiteral("/packages/links.iic");
        QProcess zip;
        zip.setWorkingDirectory(staging);
        zip.start(QStringLiteral("zip"), {QStringLiteral("-q"), QStringLiteral("-y"), package,
                                          QStringLiteral("leak.html"), QStringLiteral("index.html")});
        QVERIFY(zip.waitForFinished(10000));
        QCOMPARE(zip.exitCode(), 0);

        QCOMPARE(playPackage(package), 0);
        QCOMPARE(Fetch(QStringLiteral("/links/index.html")).body, QByteArray("links page"));
        QVERIFY(QFileInfo(workFolder() + QStringLiteral("/links/leak.html")).isSymLink());
        const Reply leak = Fetch(QStringLiteral("/links/leak.html"));
        QCOMPARE(leak.status, 403);
        QVERIFY(!leak.body.contains("the user's own file"));
    }

    void serverEndsAsOurs()
    {
        QVERIFY(m_master > 0);
        QVERIFY(!serverProcesses().isEmpty());
        // This test runs below the same folder root, so the server, workers
        // included, counts as its own.
        QVERIFY(!KillProcessByName(2, QStringLiteral("httpd.exe")));
        QTRY_VERIFY_WITH_TIMEOUT(serverProcesses().isEmpty(), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(!PortTaken(), 5000);
    }

    void cleanupTestCase()
    {
        endOurServers();
    }
};

int main(int argc, char* argv[])
{
    qputenv("LC_ALL", "C.UTF-8");
    QCoreApplication app(argc, argv);
    WebServerXTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "web_server_xtest.moc"
