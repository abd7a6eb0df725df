#include "tests/support/patchora_driver.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"
#include "updater/ini_line_editor.h"

#include <QCryptographicHash>
#include <QtTest>

// The real updater against a loopback update server: Yes, download, install,
// restart of the whiteboard; and every way that must change nothing.
class PatchoraInstallTest : public QObject
{
    Q_OBJECT

private:
    static QByteArray archive(const QString& path, const QList<ZipEntry>& entries)
    {
        MakeZip(path, entries);
        return ReadTestFile(path);
    }

    static QList<ZipEntry> goodEntries(const UpdateScene& scene)
    {
        return {{QStringLiteral("Dravik"), scene.stubProgram("new whiteboard"), kExecutablePermissions},
                {QStringLiteral("Language/DEU.lng"), "neue Texte"},
                {QStringLiteral("Paper/grid/big.png"), QByteArray(200000, 'p')},
                {QStringLiteral("_Patchora_/"), QByteArray()},
                {QStringLiteral("_Patchora_/Patchora"), "#!/bin/sh\necho new updater\n", kExecutablePermissions}};
    }

    // Clicks Yes in the question window.
    static void answerYes(PatchoraRun& run)
    {
        const QString question = run.waitForWindow(QStringLiteral("Select Update Action"), 15000);
        QVERIFY(!question.isEmpty());
        run.click(question, 85, 215);
    }

private slots:
    void yesInstallsAndRestartsTheWhiteboard()
    {
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        const QByteArray zip = archive(root.path() + QStringLiteral("/made.zip"), goodEntries(scene));
        scene.serveArchive(zip);
        scene.writeDescription(QStringLiteral("5.0.0.33"),
                               "[UpdateFile]\nSHA256=" + QCryptographicHash::hash(zip, QCryptographicHash::Sha256).toHex()
                                   + "\n");
        scene.writeParameters();

        PatchoraRun run({scene.parameterFile});
        answerYes(run);
        QVERIFY2(run.answerMessage(QStringLiteral("Update finished.\nRun Dravik now? ")), run.log().constData());
        QVERIFY(run.waitForExit(30000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messageCount(QString()), 1);

        const QMap<QString, QString> installed = FolderSnapshot(scene.install);
        QCOMPARE(installed.keys(), (QStringList{"Dravik", "Language", "Language/DEU.lng", "Language/ENU.lng", "Paper",
                                                "Paper/grid", "Paper/grid/big.png", "Patchora", "Patchora-old"}));
        QCOMPARE(ReadTestFile(scene.install + QStringLiteral("/Dravik")), scene.stubProgram("new whiteboard"));
        QCOMPARE(ReadTestFile(scene.install + QStringLiteral("/Patchora")), QByteArray("#!/bin/sh\necho new updater\n"));
        QVERIFY(QFileInfo(scene.install + QStringLiteral("/Patchora")).isExecutable());
        QCOMPARE(ReadTestFile(scene.install + QStringLiteral("/Patchora-old")), QByteArray("#!/bin/sh\necho old updater\n"));
        QCOMPARE(QDir(scene.work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

        QVERIFY(WaitUntil([&] { return !scene.starts().isEmpty(); }, 5000));
        const QStringList start = scene.starts().first().split(QLatin1Char('|'));
        QCOMPARE(scene.starts().size(), 1);
        QCOMPARE(start.value(0), QStringLiteral("new whiteboard"));
        QVERIFY(start.value(1).toLongLong() != run.pid());
        QCOMPARE(start.value(2), scene.install);
        QCOMPARE(start.value(3), QStringLiteral("/noAutoUpdate"));

        // The next run removes the parked updater and, offered nothing, ends.
        scene.writeParameters();
        PatchoraRun next({scene.parameterFile});
        QVERIFY(next.waitForExit(20000));
        QVERIFY(!QFileInfo::exists(scene.install + QStringLiteral("/Patchora-old")));
    }

    void declinedRestartStartsNothing()
    {
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        scene.serveArchive(archive(root.path() + QStringLiteral("/made.zip"), goodEntries(scene)));
        scene.writeDescription(QStringLiteral("5.0.0.33"));
        scene.writeParameters();
        PatchoraRun run({scene.parameterFile});
        answerYes(run);
        QVERIFY(run.answerMessage(QStringLiteral("Update finished.\nRun Dravik now? "), QStringLiteral("Escape")));
        QVERIFY(run.waitForExit(20000));
        QCOMPARE(run.messageCount(QString()), 1);
        QCOMPARE(ReadTestFile(scene.install + QStringLiteral("/Dravik")), scene.stubProgram("new whiteboard"));
        QCOMPARE(scene.starts(), QStringList());
    }

    // Cancel while downloading asks first; No goes on, Yes ends without a restart.
    void cancelledDownloadLeavesNothing()
    {
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        scene.server.setResource(QStringLiteral("/updates/update.zip"), {QByteArray(), 200, -1, true});
        scene.writeDescription(QStringLiteral("5.0.0.33"));
        scene.writeParameters();
        const QMap<QString, QString> before = FolderSnapshot(scene.install);
        PatchoraRun run({scene.parameterFile});
        answerYes(run);
        QVERIFY(WaitUntil([&] { return scene.server.requestCount(QStringLiteral("/updates/update.zip")) == 1; }, 10000));
        const QString window = run.waitForWindow(QStringLiteral("Patchora"), 5000);
        QVERIFY(!window.isEmpty());
        run.click(window, 340, 115);
        QVERIFY(run.answerMessage(QStringLiteral("Cancel download?"), QStringLiteral("Escape")));
        // Still running: the button asks again.
        run.click(window, 340, 115);
        QVERIFY(run.answerMessage(QStringLiteral("Cancel download?"), QStringLiteral("Return"), 2));
        QVERIFY(run.waitForExit(20000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(FolderSnapshot(scene.install), before);
        QCOMPARE(scene.starts(), QStringList());
        QCOMPARE(QDir(scene.work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("UpdateVersion.inf")});
    }

    void failedCopyRollsBackAndRestartsNothing()
    {
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        WriteTestFile(scene.install + QStringLiteral("/blocker"), "a file where the archive wants a folder");
        QList<ZipEntry> entries = goodEntries(scene);
        entries.append({QStringLiteral("blocker/inside.txt"), "cannot land"});
        scene.serveArchive(archive(root.path() + QStringLiteral("/made.zip"), entries));
        scene.writeDescription(QStringLiteral("5.0.0.33"));
        scene.writeParameters();
        const QMap<QString, QString> before = FolderSnapshot(scene.install);

        PatchoraRun run({scene.parameterFile});
        answerYes(run);
        QVERIFY2(run.answerMessage(QStringLiteral("Fail to copy new files.\nblocker/inside.txt")), run.log().constData());
        QVERIFY(run.waitForExit(20000));
        QCOMPARE(FolderSnapshot(scene.install), before);
        QCOMPARE(scene.starts(), QStringList());
        QCOMPARE(QDir(scene.work).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    }

    void badDownloadsChangeNothing_data()
    {
        QTest::addColumn<QString>("badEntry");
        QTest::addColumn<bool>("damage");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("missingBytes");
        QTest::addColumn<QByteArray>("extraDescription");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("diskFull");
        const QString unzip = QStringLiteral("Fail to unzip the update file.");
        const QString download = QStringLiteral("Fail to download the update file.");
        QTest::newRow("entry leaving the folder") << "../../escaped.txt" << false << 200 << 0 << QByteArray() << unzip << false;
        QTest::newRow("absolute entry") << "/tmp/escaped.txt" << false << 200 << 0 << QByteArray() << unzip << false;
        QTest::newRow("damaged entry") << "damaged.txt" << true << 200 << 0 << QByteArray() << unzip << false;
        QTest::newRow("not found") << QString() << false << 404 << 0 << QByteArray() << download << false;
        QTest::newRow("truncated body") << QString() << false << 200 << 5000 << QByteArray() << download << false;
        QTest::newRow("checksum mismatch") << QString() << false << 200 << 0
                                           << QByteArray("[UpdateFile]\nSHA256=00ff\n") << download << false;
        // The archive cannot be written completely: the disk is full.
        QTest::newRow("disk full") << QString() << false << 200 << 0 << QByteArray() << download << true;
    }
    void badDownloadsChangeNothing()
    {
        QFETCH(QString, badEntry);
        QFETCH(bool, damage);
        QFETCH(int, status);
        QFETCH(int, missingBytes);
        QFETCH(QByteArray, extraDescription);
        QFETCH(QString, message);
        QFETCH(bool, diskFull);
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        QList<ZipEntry> entries = goodEntries(scene);
        if (!badEntry.isEmpty())
            entries.append({badEntry, "DAMAGE-ME-PAYLOAD"});
        QByteArray zip = archive(root.path() + QStringLiteral("/made.zip"), entries);
        if (damage)
            zip[zip.indexOf("DAMAGE-ME-PAYLOAD")] = 'X';
        scene.serveArchive(zip, status, missingBytes ? zip.size() + missingBytes : -1);
        scene.writeDescription(QStringLiteral("5.0.0.33"), extraDescription);
        scene.writeParameters();
        const QMap<QString, QString> before = FolderSnapshot(scene.install);
        if (diskFull)
            QVERIFY(QFile::link(QStringLiteral("/dev/full"), scene.work + QStringLiteral("/update.zip.part")));

        PatchoraRun run({scene.parameterFile});
        answerYes(run);
        QVERIFY2(run.answerMessage(message), run.log().constData());
        QVERIFY(run.waitForExit(20000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(FolderSnapshot(scene.install), before);
        QCOMPARE(scene.starts(), QStringList());
        QVERIFY(!QFileInfo::exists(root.path() + QStringLiteral("/escaped.txt")));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/escaped.txt")));
        QVERIFY(!QFileInfo::exists(scene.work + QStringLiteral("/update.zip.part"))
                && !QFileInfo(scene.work + QStringLiteral("/update.zip.part")).isSymLink());
        QVERIFY(!QFileInfo::exists(scene.work + QStringLiteral("/update.zip")));
    }
};

QTEST_MAIN(PatchoraInstallTest)
#include "patchora_install_xtest.moc"
