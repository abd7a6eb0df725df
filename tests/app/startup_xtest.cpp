// The whiteboard's start-up seen from outside: one running copy, the hand-off
// of a project to it, the notice of a second copy, recovery after a killed
// copy, the contents-package road, the pen driver's window messages and the
// desktop entry a start installs.
#include "app/desktop_entry.h"
#include "platform/file_names.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "tests/support/zip_fixture.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace {

// Boxes of the running board log instead of waiting for a click; a second
// copy's own notice is shown (see secondCopyNotice).
QProcessEnvironment WhiteboardEnvironment(bool boxesShown = false)
{
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    if (!boxesShown)
        environment.insert(QStringLiteral("DRAVIK_NO_MODAL"), QStringLiteral("1"));
    return environment;
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A second copy, started while the first runs; returns its exit code.
int RunSecondCopy(const QStringList& arguments, QStringList* log = nullptr, const QString& folder = QString())
{
    RunningProgram second;
    if (!second.start(QStringLiteral("Dravik"), arguments, WhiteboardEnvironment(), folder))
        return -3;
    const int code = second.waitForExit(20000);
    if (log)
        *log = second.lines();
    return code;
}

}  // namespace

class StartupXTest : public QObject
{
    Q_OBJECT

private:
    ScopedFolderRoot m_root;
    RunningProgram m_first;

    // Stand-ins of unzip and the browser that write their arguments to
    // unzip.args and browser.args in the folder root, and the player's files.
    QProcessEnvironment packageEnvironment()
    {
        const QString root = m_root.path();
        const QString fakes = root + QStringLiteral("/fakebin");
        QProcessEnvironment environment = WhiteboardEnvironment();
        if (!WriteTestFile(fakes + QStringLiteral("/unzip"),
                           "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$FAKE_LOG_DIR/unzip.args\"\n",
                           kExecutablePermissions)
            || !WriteTestFile(fakes + QStringLiteral("/xdg-open"),
                              "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$FAKE_LOG_DIR/browser.args\"\n",
                              kExecutablePermissions)
            || !WriteTestFile(root + QStringLiteral("/ProgramFiles/Norvane/Dravik/Player/index.html"), "<html></html>"))
            return QProcessEnvironment();
        environment.insert(QStringLiteral("PATH"), fakes + QLatin1Char(':') + qEnvironmentVariable("PATH"));
        environment.insert(QStringLiteral("FAKE_LOG_DIR"), root);
        return environment;
    }

    // Nothing was handed to the first copy since line `mark`. A hand-off of a
    // known path closes the check: hand-offs are handled in the order they
    // come, so anything handed over before it shows first.
    void expectNoHandOffSince(int mark)
    {
        const QString barrier = m_root.path() + QStringLiteral("/barrier.vk");
        QCOMPARE(RunSecondCopy({barrier}), 1);
        QVERIFY(m_first.waitForLine(QStringLiteral("hand-off : ") + barrier, 10000, mark) >= 0);
        QVERIFY2(m_first.lines().mid(mark).filter(QStringLiteral("hand-off")).size() == 1,
                 qPrintable(m_first.lines().mid(mark).filter(QStringLiteral("hand-off")).join('\n')));
    }

private slots:
    void packageRoad()
    {
        const QString root = m_root.path();
        const QString package = root + QStringLiteral("/packages/x&y+z%.iic");
        QVERIFY(WriteTestFile(package, "not really a zip"));
        const QProcessEnvironment environment = packageEnvironment();
        QVERIFY(!environment.isEmpty());
        RunningProgram player;
        QVERIFY(player.start(QStringLiteral("Dravik"), {package}, environment));
        QCOMPARE(player.waitForExit(30000), 0);
        QVERIFY2(!player.hasLine(QStringLiteral("InitDialog")), "the package road opened the board");
        QVERIFY(FindXWindows(QStringLiteral("^Dialog6601$")).isEmpty());

        const QString workFolder = root + QStringLiteral("/Temp/Orbel5 Player");
        QCOMPARE(ReadLines(root + QStringLiteral("/unzip.args")),
                 QStringList({QStringLiteral("-j"), QStringLiteral("-u"), QStringLiteral("-d"),
                              workFolder + QStringLiteral("/x&y+z%"), package}));
        QVERIFY(QFileInfo(workFolder + QStringLiteral("/x&y+z%")).isDir());
        QVERIFY(QFileInfo::exists(workFolder + QStringLiteral("/index.html")));
        // The browser is started detached and may write a moment later.
        QTRY_COMPARE_WITH_TIMEOUT(ReadLines(root + QStringLiteral("/browser.args")),
                                  QStringList(QStringLiteral("http://127.0.0.1:8080/?ist=x%26y%2Bz%25&OEM=NORVANE")),
                                  10000);
    }

    // A package named relative to the working folder, with a name unzip
    // would read as its options, still reaches unzip as the archive.
    void packageNamedLikeOptions()
    {
        const QString folder = m_root.path() + QStringLiteral("/packages");
        QVERIFY(WriteTestFile(folder + QStringLiteral("/-p.iic"), "not really a zip"));
        const QProcessEnvironment environment = packageEnvironment();
        QVERIFY(!environment.isEmpty());
        RunningProgram player;
        QVERIFY(player.start(QStringLiteral("Dravik"), {QStringLiteral("-p.iic")}, environment, folder));
        QCOMPARE(player.waitForExit(30000), 0);
        QCOMPARE(ReadLines(m_root.path() + QStringLiteral("/unzip.args")).value(4), folder + QStringLiteral("/-p.iic"));
    }

    void singleCopy()
    {
        QElapsedTimer clock;
        clock.start();
        QVERIFY(StartWhiteboard(m_first, {}, WhiteboardEnvironment()));
        QCOMPARE(FindXWindows(QStringLiteral("^Dialog6601$")).size(), 1);
        // Nothing draws with OpenGL: its driver (and the compiler a software
        // driver brings) is never loaded.
        QFile maps(QStringLiteral("/proc/%1/maps").arg(m_first.pid()));
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QString mapped = QString::fromLocal8Bit(maps.readAll());
        for (const char* library : {"glx-integration", "_dri.so", "libLLVM"})
            QVERIFY2(!mapped.contains(QLatin1String(library)), library);
        QVERIFY(m_first.waitForLine(QStringLiteral("time Done"), 10000) >= 0);
        // The splash closes two seconds after it was shown.
        QVERIFY2(clock.elapsed() >= 1900, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(clock.elapsed() < 8000, qPrintable(QString::number(clock.elapsed())));
        // The start makes the whiteboard the desktop's program for its files.
        const QString entry = m_root.path() + QStringLiteral("/Home/.local/share/applications/dravik.desktop");
        const QByteArray expected =
            DesktopEntryText(QFileInfo(BuiltProgramFolder() + QStringLiteral("/Dravik")).canonicalFilePath());
        QTRY_COMPARE_WITH_TIMEOUT(ReadBytes(entry), expected, 10000);
    }

    void handOff_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("received");  // empty: nothing must arrive

        const QString root = m_root.path();
        QTest::newRow("project") << root + "/a.vk" << QString() << root + "/a.vk";
        QTest::newRow("other project kind") << root + "/b.vj" << QString() << root + "/b.vj";
        QTest::newRow("dots in folder names") << root + "/my.files/c.vk" << QString() << root + "/my.files/c.vk";
        QTest::newRow("second dot in the name") << root + "/a.b.vk" << QString() << QString();
        QTest::newRow("not a project") << root + "/notes.txt" << QString() << QString();
        QTest::newRow("beyond Latin-1")
            << root + QString::fromUtf8("/수업 자료/Урок 1.vk") << QString() << root + QString::fromUtf8("/수업 자료/Урок 1.vk");
        QTest::newRow("relative path") << "sub/r.vk" << root << root + "/sub/r.vk";
        // A name written under another encoding: its bytes are not UTF-8.
        const QString latin1 = QFile::decodeName(QFile::encodeName(root) + "/le\xe7on \xff.vk");
        QTest::newRow("not UTF-8") << latin1 << QString() << latin1;
    }

    void handOff()
    {
        QFETCH(QString, argument);
        QFETCH(QString, folder);
        QFETCH(QString, received);
        QVERIFY(m_first.isRunning());

        const int mark = m_first.lines().size();
        QStringList log;
        QCOMPARE(RunSecondCopy({argument}, &log, folder), 1);
        QVERIFY2(!log.join('\n').contains(QStringLiteral("InitDialog")), "the second copy opened a board");

        if (received.isEmpty()) {
            expectNoHandOffSince(mark);
        } else {
            QVERIFY2(m_first.waitForLine(QStringLiteral("hand-off : ") + received, 5000, mark) >= 0,
                     qPrintable(m_first.lines().mid(mark).join('\n')));
            QVERIFY(!m_first.lines().mid(mark).filter(QStringLiteral("openispfile"), Qt::CaseInsensitive).isEmpty());
        }
        QCOMPARE(FindXWindows(QStringLiteral("^Dialog6601$")).size(), 1);
    }

    void secondCopyNotice_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("notice");
        QTest::newRow("no argument") << QStringList() << true;
        QTest::newRow("two arguments") << QStringList({m_root.path() + "/x.vk", m_root.path() + "/y.vk"}) << true;
        QTest::newRow("/noAutoUpdate") << QStringList({QStringLiteral("/noAutoUpdate")}) << false;
    }

    void secondCopyNotice()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, notice);
        QVERIFY(m_first.isRunning());
        const int mark = m_first.lines().size();

        RunningProgram second;
        QVERIFY(second.start(QStringLiteral("Dravik"), arguments, WhiteboardEnvironment(true)));
        if (notice) {
            const QStringList boxes = WaitForXWindows(QStringLiteral("^Dravik$"), 15000, second.pid());
            QCOMPARE(boxes.size(), 1);
            QVERIFY(second.hasLine(QStringLiteral("Dravik already running")));
            Xdotool({QStringLiteral("windowfocus"), boxes.first()});
            Xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        }
        QCOMPARE(second.waitForExit(15000), 1);
        QCOMPARE(second.hasLine(QStringLiteral("Dravik already running")), notice);
        expectNoHandOffSince(mark);
    }

    void killedCopyDoesNotBlock()
    {
        QVERIFY(m_first.isRunning());
        m_first.kill();  // SIGKILL: no clean-up of any kind

        RunningProgram next;
        QVERIFY(StartWhiteboard(next, {}, WhiteboardEnvironment()));
        QVERIFY(next.waitForLine(QStringLiteral("time Done"), 10000) >= 0);
        // The dead copy's window entry does not shadow the new window.
        const QString path = m_root.path() + QStringLiteral("/after.vk");
        QCOMPARE(RunSecondCopy({path}), 1);
        QVERIFY(next.waitForLine(QStringLiteral("hand-off : ") + path, 5000) >= 0);
        next.kill();
    }

    void penDriver_data()
    {
        QTest::addColumn<bool>("driverFirst");
        QTest::newRow("whiteboard first") << false;
        QTest::newRow("driver first") << true;
    }

    void penDriver()
    {
        QFETCH(bool, driverFirst);
        RunningProgram board;
        RunningProgram driver;
        QString driverHandle;
        QString boardHandle;
        const QRegularExpression greeting(QStringLiteral("^recv 2024 ([0-9a-f]+) 1$"));

        auto startDriver = [&](const QStringList& arguments) {
            QVERIFY(driver.start(QStringLiteral("PenDriverStub"), arguments));
            const int ready = driver.waitForLine(QStringLiteral("ready "), 10000);
            QVERIFY(ready >= 0);
            driverHandle = driver.lines().at(ready).section(QLatin1Char(' '), 1);
        };

        if (driverFirst) {
            startDriver({});
            QVERIFY(StartWhiteboard(board, {}, WhiteboardEnvironment()));
            QVERIFY(board.hasLine(QStringLiteral("ConnectPenDriverWindow : ") + driverHandle));
        } else {
            QVERIFY(StartWhiteboard(board, {}, WhiteboardEnvironment()));
            QVERIFY(board.hasLine(QStringLiteral("ConnectPenDriverWindow : 0")));
            startDriver({QStringLiteral("--greet")});
            QVERIFY(driver.waitForLine(QStringLiteral("ok greet "), 10000) >= 0);
            QVERIFY(board.waitForLine(QStringLiteral("Get_Target_hWnd : ") + driverHandle, 5000) >= 0);
        }
        // Either way the driver now holds the whiteboard's window.
        const int received = driver.waitForLine(QStringLiteral("recv 2024 "), 10000);
        QVERIFY(received >= 0);
        const QRegularExpressionMatch match = greeting.match(driver.lines().at(received));
        QVERIFY2(match.hasMatch(), qPrintable(driver.lines().at(received)));
        boardHandle = match.captured(1);
        QVERIFY(boardHandle != QLatin1String("0"));

        driver.write("touch 1 500 100 50\n");
        QVERIFY(board.waitForLine(QStringLiteral("pen driver pointer 1 : 50, 500, 100"), 5000) >= 0);
        driver.write("touch 9 65535 0 60\n");
        QVERIFY(board.waitForLine(QStringLiteral("pen driver pointer 9 : 60, 65535, 0"), 5000) >= 0);

        // One past pointer 9 is no touch message.
        QVERIFY(driver.waitForLine(QStringLiteral("ok send 1147"), 5000) >= 0);
        const int mark = board.lines().size();
        driver.write("send 1148 32768100 50\n");
        QVERIFY(driver.waitForLine(QStringLiteral("ok send 1148"), 5000) >= 0);
        driver.write("touch 5 1 2 60\n");
        const int next = board.waitForLine(QStringLiteral("pen driver pointer 5 : 60, 1, 2"), 5000, mark);
        QVERIFY(next >= 0);
        for (int i = mark; i < next; ++i)
            QVERIFY2(!board.lines().at(i).contains(QStringLiteral("pen driver pointer")), qPrintable(board.lines().at(i)));

        driver.write("quit\n");
        QCOMPARE(driver.waitForExit(5000), 0);
    }

    void cleanupTestCase()
    {
        m_first.kill();
    }
};

int main(int argc, char* argv[])
{
    // Paths beyond Latin-1 travel through the command line as UTF-8.
    qputenv("LC_ALL", "C.UTF-8");
    // File names that are not UTF-8 keep their bytes, here as in the program.
    platform::UseLosslessFileNames();
    QCoreApplication app(argc, argv);
    StartupXTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "startup_xtest.moc"
