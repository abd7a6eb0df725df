#include "app/ui/dialog.h"
#include "storage/ui/progressdlg.h"
#include "tests/support/session_tap.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QThread>
#include <QtConcurrent>
#include <QtTest>

#include <algorithm>
#include <atomic>
#include <memory>

namespace {

// A stand-in contents-save job that runs for `ms` (or, for a negative `ms`,
// until the window has given up waiting for it) and then reports whether the
// work folder was still there when it ended.
std::atomic<bool> g_folderThereAtEnd{false};
std::atomic<bool> g_waitGivenUp{false};

void CollectLogNotingTheEndOfTheWait(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.contains(QLatin1String("m_ThreadSave time over")))
        g_waitGivenUp = true;
    CollectLog(type, context, message);
}

QFuture<void> SaveJob(int ms, QString workFolder)
{
    g_waitGivenUp = false;
    return QtConcurrent::run([ms, workFolder] {
        if (ms >= 0) {
            QThread::msleep(ulong(ms));
        } else {
            // Longer than the wait however slowly its sleeps run; two minutes
            // at most, so a wait that never gives up fails the test instead
            // of hanging it.
            QElapsedTimer clock;
            clock.start();
            while (!g_waitGivenUp && clock.elapsed() < 120000)
                QThread::msleep(20);
        }
        g_folderThereAtEnd = QFile::exists(workFolder + "project.xml");
    });
}

}  // namespace

class TeardownTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;

    Dialog* MakeWindow()
    {
        ScopedLibraryFolder libraries(m_noLibraries->path());
        auto* dialog = new Dialog();
        dialog->InitDialog(false);
        QDir().mkpath(dialog->m_workFolder);
        QFile marker(dialog->m_workFolder + "project.xml");
        marker.open(QIODevice::WriteOnly);
        return dialog;
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLogNotingTheEndOfTheWait);
        qputenv("DRAVIK_NO_MODAL", "1");
        qunsetenv("DRAVIK_USB_FAKE");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
    }

    void init() { g_log.clear(); }

    // The wait for the contents save while a recording runs: its count of
    // 100 ms sleeps, the first included, or the time-over line at 100.
    void waitForTheRecordingSave_data()
    {
        QTest::addColumn<bool>("recording");
        QTest::addColumn<int>("jobMs");
        QTest::addColumn<QString>("line");
        QTest::newRow("no recording") << false << 0 << QString();
        QTest::newRow("save already ended") << true << 0 << "time(msec) = 100";
        QTest::newRow("save ends 2.25 s after the stop") << true << 2250 << "time(msec) = 2300";
        // The job outlasts the wait by waiting for its end, not by a figure:
        // on a busy machine 100 sleeps of 100 ms take well over 10 s.
        QTest::newRow("save outlasts the wait") << true << -1 << "(RecStop) m_ThreadSave time over (10 Sec)";
    }

    void waitForTheRecordingSave()
    {
        QFETCH(bool, recording);
        QFETCH(int, jobMs);
        QFETCH(QString, line);
        Dialog* dialog = MakeWindow();
        const QString workFolder = dialog->m_workFolder;
        const QString settings = dialog->m_configFilePath;
        QFile::remove(settings);
        g_folderThereAtEnd = false;
        if (recording) {
            dialog->m_bRecording = true;
            dialog->m_ThreadSave.setFuture(SaveJob(jobMs, workFolder));
        }
        g_log.clear();
        delete dialog;

        const bool waited = g_log.contains("m_ThreadSave.isRunning == false");
        QCOMPARE(waited, line.startsWith("time"));
        QCOMPARE(g_log.contains("(RecStop) m_ThreadSave time over (10 Sec)"), line.startsWith("(RecStop)"));
        if (line.startsWith("time(msec) = ")) {
            // Sleeps run long on a loaded machine: the count may be one or
            // two off the ideal, never more.
            const int ideal = line.mid(13).toInt();
            int waitedMs = -1;
            for (const QString& l : g_log)
                if (l.startsWith("time(msec) = "))
                    waitedMs = l.mid(13).toInt();
            QVERIFY2(qAbs(waitedMs - ideal) <= (ideal > 100 ? 200 : 0), qPrintable(g_log.join('\n')));
        } else if (!line.isEmpty()) {
            QVERIFY2(g_log.contains(line), qPrintable(g_log.join('\n')));
        }
        if (recording) {
            QVERIFY(std::any_of(g_log.begin(), g_log.end(),
                                [](const QString& l) { return l.startsWith("rec_type : "); }));
            // The job read the work folder to its end: it went only after.
            QVERIFY(g_folderThereAtEnd);
        }
        QVERIFY(g_log.contains("Close Orbel"));
        QVERIFY(QFile::exists(settings));
        QVERIFY(QDir(workFolder).isEmpty());
    }

    void shutdownRunsOnce()
    {
        Dialog* dialog = MakeWindow();
        dialog->ShutdownDialog();
        QVERIFY(!dialog->m_progressDlg);
        QVERIFY(!dialog->m_floatingMain);
        QFile::remove(dialog->m_configFilePath);
        g_log.clear();
        dialog->ShutdownDialog();
        QVERIFY(!g_log.contains("Close Orbel"));
        QVERIFY(!QFile::exists(dialog->m_configFilePath));
        delete dialog;
        QVERIFY(!g_log.contains("Close Orbel"));
    }

    // Only the host tells the peers, once, before the library goes.
    void hostSendsOneImagePath_data()
    {
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("sent");
        QTest::newRow("host") << 3 << 1;
        QTest::newRow("writer") << 2 << 0;
        QTest::newRow("viewer") << 1 << 0;
    }

    void hostSendsOneImagePath()
    {
        QFETCH(int, level);
        QFETCH(int, sent);
        Dialog* dialog = MakeWindow();
        SessionTap tap(dialog, level);
        delete dialog;
        QCOMPARE(tap.Lines(), sent ? QStringList({"IMGPATH_SET(0,,NULL,1,0)"}) : QStringList());
    }
};

QTEST_MAIN(TeardownTest)
#include "teardown_test.moc"
