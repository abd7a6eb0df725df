#include "outside/Brivane/brivane_api.h"
#include "platform/library.h"
#include "tests/support/patchora_driver.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"
#include "updater/ini_line_editor.h"

#include <QLibrary>
#include <QtTest>

namespace {

QList<bool> g_answers;

void RecordAnswer(bool updateAvailable)
{
    g_answers << updateAvailable;
}

}  // namespace

// The update bridge as the whiteboard uses it: loaded by file name, told the
// product, asked to check, and asked to start the updater.
class BrivaneTest : public QObject
{
    Q_OBJECT

private:
    QLibrary m_library;
    InitialParameterFunction initialParameter = nullptr;
    ConnectAddressServerFunction connectAddressServer = nullptr;
    GetUpdateServerCountFunction getUpdateServerCount = nullptr;
    GetUpdateServerURLFunction getUpdateServerURL = nullptr;
    ExecuteManagerFunction executeManager = nullptr;
    NextTimeCheckFunction nextTimeCheck = nullptr;

    // A stub updater in the application folder that keeps a copy of the
    // parameter file it was started with.
    static QString makeApplicationFolder(const QString& root)
    {
        const QString folder = root + QStringLiteral("/app");
        WriteTestFile(folder + QStringLiteral("/Patchora"),
                  QStringLiteral("#!/bin/sh\necho \"$PWD|$*\" > '%1/started.txt'\ncp \"$1\" '%1/handed.ini'\n")
                      .arg(root).toUtf8(),
                  kExecutablePermissions);
        return folder;
    }

    void initialise(const QString& applicationFolder)
    {
        initialParameter(QStringLiteral("NORVANE"), QStringLiteral("Dravik"), QStringLiteral("5.0"),
                         QStringLiteral("Windows"), QStringLiteral("5.0.0.32"), applicationFolder,
                         QStringLiteral("Dravik.exe"), QStringLiteral("DEU"), &RecordAnswer);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(platform::LoadOutsideLibrary(m_library, QStringLiteral("Brivane.dll")));
        initialParameter = platform::ResolveFunction<InitialParameterFunction>(m_library, "InitialParameter");
        connectAddressServer = platform::ResolveFunction<ConnectAddressServerFunction>(m_library, "ConnectAddressServer");
        getUpdateServerCount = platform::ResolveFunction<GetUpdateServerCountFunction>(m_library, "GetUpdateServerCount");
        getUpdateServerURL = platform::ResolveFunction<GetUpdateServerURLFunction>(m_library, "GetUpdateServerURL");
        executeManager = platform::ResolveFunction<ExecuteManagerFunction>(m_library, "ExecuteManager");
        nextTimeCheck = platform::ResolveFunction<NextTimeCheckFunction>(m_library, "NextTimeCheck");
        QVERIFY(initialParameter && connectAddressServer && getUpdateServerCount && getUpdateServerURL
                && executeManager && nextTimeCheck);
    }

    void init()
    {
        g_answers.clear();
        qunsetenv("DRAVIK_UPDATE_SERVER");
    }

    void newerVersionStartsTheUpdaterWithItsParameters()
    {
        ScopedFolderRoot root;
        LoopbackHttpServer server;
        QVERIFY(server.start());
        server.setResource(QStringLiteral("/dravik/UpdateVersion.inf"),
                           {"[Update]\nNewVersion=5.0.1.0\n[UpdateFile]\nFileName=u.zip\n", 200, -1, false});
        // The server is configured in a file beside the settings.
        WriteTestFile(root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/UpdateServer.ini"),
                  QStringLiteral("[Update]\nServer=%1/dravik/\n").arg(server.baseUrl()).toUtf8());
        const QString app = makeApplicationFolder(root.path());
        initialise(app + QLatin1Char('/'));
        QVERIFY(!nextTimeCheck());
        connectAddressServer(QString());
        QVERIFY(WaitUntil([] { return !g_answers.isEmpty(); }, 10000));
        QCOMPARE(g_answers, QList<bool>{true});
        QCOMPARE(getUpdateServerCount(), 1);
        QCOMPARE(getUpdateServerURL(0), server.baseUrl() + QStringLiteral("/dravik"));

        QVERIFY(executeManager());
        const QString handed = root.path() + QStringLiteral("/handed.ini");
        QVERIFY(WaitUntil([&] { return QFileInfo(handed).size() > 0; }, 10000));
        const QString work = root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/Update");
        const QStringList expected = {server.baseUrl() + QStringLiteral("/dravik"), work, "NORVANE", "Dravik", "5.0",
                                      "Windows", "5.0.0.32", app, "Dravik", "DEU"};
        for (int n = 1; n <= 10; ++n)
            QCOMPARE(ReadIniValue(handed, QStringLiteral("AutoUpdate"), QStringLiteral("ManagerParam%1").arg(n)),
                     expected.at(n - 1));
        QFile started(root.path() + QStringLiteral("/started.txt"));
        QVERIFY(started.open(QIODevice::ReadOnly));
        QCOMPARE(started.readAll(), (app + QStringLiteral("|") + work + QStringLiteral("/AutoUpdate.ini\n")).toUtf8());
        QVERIFY(QFileInfo::exists(work + QStringLiteral("/UpdateVersion.inf")));
    }

    void noUpdateReported_data()
    {
        QTest::addColumn<bool>("configured");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("description");
        QTest::newRow("no server configured") << false << 200 << QByteArray("[Update]\nNewVersion=9\n");
        QTest::newRow("same version") << true << 200 << QByteArray("[Update]\nNewVersion=5.0.0.32\n");
        QTest::newRow("older version") << true << 200 << QByteArray("[Update]\nNewVersion=5.0.0.9\n");
        QTest::newRow("no version") << true << 200 << QByteArray("[Update]\n");
        QTest::newRow("not found") << true << 404 << QByteArray("[Update]\nNewVersion=9\n");
    }
    void noUpdateReported()
    {
        QFETCH(bool, configured);
        QFETCH(int, status);
        QFETCH(QByteArray, description);
        ScopedFolderRoot root;
        LoopbackHttpServer server;
        QVERIFY(server.start());
        server.setResource(QStringLiteral("/UpdateVersion.inf"), {description, status, -1, false});
        if (configured)
            qputenv("DRAVIK_UPDATE_SERVER", server.baseUrl().toUtf8());
        const QString work = root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/Update");
        WriteTestFile(work + QStringLiteral("/UpdateVersion.inf"), "[Update]\nNewVersion=5.0.0.20\n");
        initialise(makeApplicationFolder(root.path()));
        connectAddressServer(QString());
        QVERIFY(WaitUntil([] { return !g_answers.isEmpty(); }, 10000));
        QCOMPARE(g_answers, QList<bool>{false});
        QCOMPARE(server.requestCount(QStringLiteral("/UpdateVersion.inf")), configured ? 1 : 0);
        if (status == 200 && configured)
            QVERIFY(!QFileInfo::exists(work + QStringLiteral("/UpdateVersion.inf")));
    }

    void nextTimeCheckFollowsTheAskDate_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<bool>("later");
        QTest::newRow("tomorrow") << QDate::currentDate().addDays(1).toString(Qt::ISODate) << true;
        QTest::newRow("today") << QDate::currentDate().toString(Qt::ISODate) << false;
        QTest::newRow("empty") << QString() << false;
        QTest::newRow("not a date") << "soon" << false;
    }
    void nextTimeCheckFollowsTheAskDate()
    {
        QFETCH(QString, date);
        QFETCH(bool, later);
        ScopedFolderRoot root;
        QDir().mkpath(root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/Update"));
        QVERIFY(WriteIniValue(root.path() + QStringLiteral("/ProgramData/Norvane/Dravik/Update/AutoUpdate.ini"),
                              QStringLiteral("AutoUpdate"), QStringLiteral("NextAskDate"), date));
        QCOMPARE(nextTimeCheck(), later);
    }
};

QTEST_GUILESS_MAIN(BrivaneTest)
#include "brivane_test.moc"
