#include "tests/support/patchora_driver.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"

#include <QtTest>

#include <sys/stat.h>

// The real updater against hostile description files, archives and servers
// on a loopback server of the test's own: it must not hang or abort, must
// install nothing outside the install folder, must say what went wrong, and
// must leave the install as it was when the update fails.
class PatchoraHostileTest : public QObject
{
    Q_OBJECT

private:
    static QByteArray archive(const QString& path, const QList<ZipEntry>& entries)
    {
        MakeZip(path, entries);
        return ReadTestFile(path);
    }

    static void answerYes(PatchoraRun& run)
    {
        const QString question = run.waitForWindow(QStringLiteral("Select Update Action"), 15000);
        QVERIFY(!question.isEmpty());
        run.click(question, 85, 215);
    }

    // Everything below the test's root but the install and work folders.
    static QMap<QString, QString> Surroundings(const UpdateScene& scene)
    {
        QMap<QString, QString> all = FolderSnapshot(scene.root);
        for (auto it = all.begin(); it != all.end();) {
            const bool ours = it.key().startsWith(QStringLiteral("install")) || it.key().startsWith(QStringLiteral("work"))
                              || it.key().startsWith(QStringLiteral("Runtime"))  // the instance lock
                              || it.key().startsWith(QStringLiteral("Temp"))     // our private per-user folder
                              || it.key() == QStringLiteral("starts.log") || it.key() == QStringLiteral("AutoUpdate.ini");
            it = ours ? all.erase(it) : std::next(it);
        }
        return all;
    }

    static QByteArray HugeCounts()
    {
        return "[DeleteFile]\nFileCount=2147483647\nFile1=obsolete.txt\n"
               "[DeleteFolder]\nFolderCount=2147483647\n"
               "[ExecuteFile]\nExeFileCount=2147483647\n"
               "[RegServerFile]\nRegFileCount=2147483647\n";
    }

private slots:
    void hostileUpdates_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("installs");
        const QString download = QStringLiteral("Fail to download the update file.");
        const QString unzip = QStringLiteral("Fail to unzip the update file.");
        const QString copy = QStringLiteral("Fail to copy new files.\n");
        const QString finished = QStringLiteral("Update finished.\nRun Dravik now? ");
        QTest::newRow("huge counts") << "huge counts" << finished << true;
        QTest::newRow("endless body") << "endless" << download << false;
        QTest::newRow("body beyond the limit") << "too long" << download << false;
        QTest::newRow("link entry") << "link entry" << unzip << false;
        QTest::newRow("world-writable entries") << "writable" << finished << true;
        QTest::newRow("folder named Patchora-old") << "parked folder" << copy << false;
    }

    void hostileUpdates()
    {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QFETCH(bool, installs);
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        const QString outside = root.path() + QStringLiteral("/outside.txt");
        QList<ZipEntry> entries = {{QStringLiteral("Dravik"), scene.stubProgram("new whiteboard"), kExecutablePermissions},
                                   {QStringLiteral("Language/DEU.lng"), "neue Texte"}};
        QByteArray extra;
        QStringList environment;
        if (kind == QLatin1String("huge counts")) {
            extra = HugeCounts();
        } else if (kind == QLatin1String("endless") || kind == QLatin1String("too long")) {
            LoopbackHttpServer::Resource endless;
            endless.streamBytes = qint64(1) << 30;
            endless.sendLength = kind == QLatin1String("too long");
            scene.server.setResource(QStringLiteral("/updates/update.zip"), endless);
            environment << QStringLiteral("DRAVIK_UPDATE_ARCHIVE_LIMIT=%1").arg(8 * 1024 * 1024);
        } else if (kind == QLatin1String("link entry")) {
            entries.append({QStringLiteral("Language"), outside.toUtf8(), {}, false, 0120777});
            entries.append({QStringLiteral("Language/x.lng"), "through the link"});
        } else if (kind == QLatin1String("writable")) {
            entries.append({QStringLiteral("open.txt"), "anyone may write me", {}, false, 0100666});
            entries[0].unixMode = 0100777;
        } else if (kind == QLatin1String("parked folder")) {
            WriteTestFile(scene.install + QStringLiteral("/Patchora-old/notes.txt"), "the user's own");
            entries.append({QStringLiteral("_Patchora_/Patchora"), "#!/bin/sh\necho new updater\n", kExecutablePermissions});
        }
        if (!scene.server.requestCount(QStringLiteral("/updates/update.zip"))
            && kind != QLatin1String("endless") && kind != QLatin1String("too long"))
            scene.serveArchive(archive(root.path() + QStringLiteral("/made.zip"), entries));
        scene.writeDescription(QStringLiteral("5.0.0.33"), extra);
        scene.writeParameters();
        const QMap<QString, QString> before = FolderSnapshot(scene.install);
        const QMap<QString, QString> surroundings = Surroundings(scene);

        PatchoraRun run({scene.parameterFile}, environment);
        answerYes(run);
        QVERIFY2(run.answerMessage(message, QStringLiteral("Escape")), run.log().constData());
        QVERIFY(run.waitForExit(30000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messageCount(QString()), 1);
        const QMap<QString, QString> after = Surroundings(scene);
        QVERIFY2(after == surroundings, qPrintable(QStringList(after.keys()).join(' ') + " / "
                                                   + QStringList(surroundings.keys()).join(' ')));
        QVERIFY(!QFileInfo::exists(outside));
        QVERIFY(!QFileInfo::exists(scene.work + QStringLiteral("/update.zip.part")));
        QCOMPARE(scene.starts(), QStringList());
        if (!installs) {
            QCOMPARE(FolderSnapshot(scene.install), before);
            return;
        }
        QCOMPARE(ReadTestFile(scene.install + QStringLiteral("/Dravik")), scene.stubProgram("new whiteboard"));
        for (const QString& name : {QStringLiteral("Dravik"), QStringLiteral("Language/DEU.lng")}) {
            struct stat status {};
            QCOMPARE(::stat(QFile::encodeName(scene.install + QLatin1Char('/') + name).constData(), &status), 0);
            QCOMPARE(int(status.st_mode & 022), 0);
        }
        if (kind == QLatin1String("writable")) {
            struct stat status {};
            QCOMPARE(::stat(QFile::encodeName(scene.install + QStringLiteral("/open.txt")).constData(), &status), 0);
            QCOMPARE(int(status.st_mode & 07777), 0644);
        }
    }

    // The archive streams to disk: a large body sent quickly must not pile up
    // in memory. It fails its checksum at the end, so that the updater is
    // still there (showing the failure) when its peak is read.
    void fastLargeDownloadKeepsMemorySmall()
    {
#ifdef __SANITIZE_ADDRESS__
        QSKIP("the sanitizer's own memory hides the updater's peak");
#endif
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        constexpr qint64 kBody = qint64(256) * 1024 * 1024;
        LoopbackHttpServer::Resource large;
        large.streamBytes = kBody;
        scene.server.setResource(QStringLiteral("/updates/update.zip"), large);
        scene.writeDescription(QStringLiteral("5.0.0.33"), "[UpdateFile]\nSHA256=00ff\n");
        scene.writeParameters();

        PatchoraRun run({scene.parameterFile});
        answerYes(run);
        const QString failure = QStringLiteral("Fail to download the update file.");
        QVERIFY(WaitUntil([&] { run.log(); return run.messageCount(failure) > 0; }, 120000));
        QByteArray status;
        QFile file(QStringLiteral("/proc/%1/status").arg(run.pid()));
        QVERIFY(file.open(QIODevice::ReadOnly));
        status = file.readAll();
        const int at = status.indexOf("VmHWM:");
        QVERIFY(at >= 0);
        const qint64 peakKb = status.mid(at + 6, status.indexOf('\n', at) - at - 6).trimmed().split(' ').first().toLongLong();
        qInfo("updater peak memory while downloading %lld MiB: %lld kB", kBody >> 20, peakKb);
        QVERIFY2(peakKb > 0 && peakKb < 160 * 1024, qPrintable(QStringLiteral("peak %1 kB").arg(peakKb)));
        QVERIFY(run.answerMessage(failure));
        QVERIFY(run.waitForExit(20000));
        QVERIFY(!QFileInfo::exists(scene.work + QStringLiteral("/update.zip.part")));
    }
};

QTEST_MAIN(PatchoraHostileTest)
#include "patchora_hostile_xtest.moc"
