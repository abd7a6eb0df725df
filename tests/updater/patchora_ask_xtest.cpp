#include "tests/support/patchora_driver.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"
#include "updater/ini_line_editor.h"

#include <QtTest>

// The real updater's Background and Later answers and what they leave for the
// next run.
class PatchoraAskTest : public QObject
{
    Q_OBJECT

private:
    static QString askState(const UpdateScene& scene, const char* key)
    {
        return ReadIniValue(scene.parameterFile, QStringLiteral("AutoUpdate"), QLatin1String(key), QStringLiteral("?"));
    }

private slots:
    void backgroundDownloadInstallsOnTheNextRun()
    {
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        const QString made = root.path() + QStringLiteral("/made.zip");
        QVERIFY(MakeZip(made, {{QStringLiteral("Dravik"), scene.stubProgram("new whiteboard"), kExecutablePermissions},
                               {QStringLiteral("Language/DEU.lng"), "neue Texte"}}));
        scene.serveArchive(ReadTestFile(made));
        scene.writeDescription(QStringLiteral("5.0.0.33"));
        scene.writeParameters("NextAskDate=2026-01-01\n");

        PatchoraRun run({scene.parameterFile});
        const QString question = run.waitForWindow(QStringLiteral("Select Update Action"), 15000);
        QVERIFY(!question.isEmpty());
        run.click(question, 85, 255);
        // The whiteboard is started first; the download follows.
        QVERIFY(WaitUntil([&] { return !scene.starts().isEmpty(); }, 10000));
        QCOMPARE(scene.server.requestCount(QStringLiteral("/updates/update.zip")), 0);
        QVERIFY(scene.starts().first().startsWith(QStringLiteral("old whiteboard|")));
        QVERIFY(scene.starts().first().endsWith(QStringLiteral("|/noAutoUpdate")));
        QVERIFY(run.waitForExit(30000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(run.messageCount(QString()), 0);
        QCOMPARE(scene.server.requestCount(QStringLiteral("/updates/update.zip")), 1);
        QCOMPARE(askState(scene, "NextAskDate"), QString());
        QCOMPARE(askState(scene, "BackgroudDownload"), QStringLiteral("true"));
        QCOMPARE(askState(scene, "BackgroudDownloadVersion"), QStringLiteral("5.0.0.33"));
        QCOMPARE(ReadTestFile(scene.work + QStringLiteral("/update.zip")), ReadTestFile(made));
        QCOMPARE(ReadTestFile(scene.install + QStringLiteral("/Dravik")), scene.stubProgram("old whiteboard"));

        // Next run: the notice instead of the question; OK installs the waiting archive.
        scene.writeParameters();
        PatchoraRun next({scene.parameterFile});
        const QString notice = next.waitForWindow(QStringLiteral("Select Update Action"), 15000);
        QVERIFY(!notice.isEmpty());
        QRect geometry;
        QVERIFY(next.windowGeometry(notice, &geometry));
        next.click(notice, geometry.width() / 2, 245);
        QVERIFY2(next.answerMessage(QStringLiteral("Update finished.\nRun Dravik now? ")), next.log().constData());
        QVERIFY(next.waitForExit(30000));
        QCOMPARE(scene.server.requestCount(QStringLiteral("/updates/update.zip")), 1);
        QCOMPARE(ReadTestFile(scene.install + QStringLiteral("/Dravik")), scene.stubProgram("new whiteboard"));
        QCOMPARE(ReadTestFile(scene.install + QStringLiteral("/Language/DEU.lng")), QByteArray("neue Texte"));
        QCOMPARE(askState(scene, "BackgroudDownload"), QStringLiteral("false"));
        QCOMPARE(askState(scene, "BackgroudDownloadVersion"), QString());
        QCOMPARE(scene.starts().size(), 2);
        QVERIFY(scene.starts().at(1).startsWith(QStringLiteral("new whiteboard|")));
    }

    void laterAMonthOnTheLastDayOfJanuary()
    {
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        scene.writeDescription(QStringLiteral("5.0.0.33"));
        scene.writeParameters();
        const QString fakeTime = QStringLiteral("/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1");
        if (!QFileInfo::exists(fakeTime))
            QSKIP("libfaketime is not installed");
        PatchoraRun run({scene.parameterFile},
                        {QStringLiteral("LD_PRELOAD=") + fakeTime, QStringLiteral("FAKETIME=@2026-01-31 10:00:00")});
        const QString question = run.waitForWindow(QStringLiteral("Select Update Action"), 15000);
        QVERIFY(!question.isEmpty());
        QRect geometry;
        QVERIFY(run.windowGeometry(question, &geometry));
        // The combo box ends 20 pixels before the window's right edge.
        // Its list opens as a window of its own; the keys go to it once it
        // is up, and the click after it once it has closed on the choice.
        const QStringList before = MappedWindowIds(run.pid());
        run.click(question, geometry.width() - 40, 295);
        const QString list = WaitForNewXWindow(run.pid(), before, 10000);
        QVERIFY2(!list.isEmpty(), "the combo box's list did not open within 10 s");
        for (int i = 0; i < 3; ++i)
            Xdotool({QStringLiteral("key"), QStringLiteral("Down")});
        Xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        QVERIFY(WaitForXWindowGone(run.pid(), list, 10000));
        run.click(question, 85, 295);
        QVERIFY(run.waitForExit(30000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(askState(scene, "NextAskDate"), QStringLiteral("2026-02-28"));
        QCOMPARE(askState(scene, "BackgroudDownload"), QStringLiteral("false"));
        QCOMPARE(scene.server.requestCount(QStringLiteral("/updates/update.zip")), 0);
        QCOMPARE(scene.starts().size(), 1);
        QVERIFY(scene.starts().first().endsWith(QStringLiteral("|/noAutoUpdate")));
        // Nothing was installed, and the offer stays for the next time.
        QVERIFY(QFileInfo::exists(scene.work + QStringLiteral("/UpdateVersion.inf")));
    }

    void missingWhiteboardIsReported()
    {
        ScopedFolderRoot root;
        UpdateScene scene(root.path());
        QFile::remove(scene.install + QStringLiteral("/Dravik"));
        scene.writeDescription(QStringLiteral("5.0.0.33"));
        scene.writeParameters();
        PatchoraRun run({scene.parameterFile});
        const QString question = run.waitForWindow(QStringLiteral("Select Update Action"), 15000);
        QVERIFY(!question.isEmpty());
        run.click(question, 85, 295);
        QVERIFY2(run.answerMessage(QStringLiteral("Fail to run.\nDravik\n\nNo such file or directory(Error Code = 2)")),
                 run.log().constData());
        QVERIFY(run.waitForExit(20000));
        QCOMPARE(run.exitCode(), 0);
        QCOMPARE(askState(scene, "NextAskDate"), QString());
    }
};

QTEST_MAIN(PatchoraAskTest)
#include "patchora_ask_xtest.moc"
