#include "app/ui/dialog.h"
#include "storage/ui/progressdlg.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "ui_dialog.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>

#include <memory>

namespace {

void EmitProgress(void* owner)
{
    auto* dialog = static_cast<Dialog*>(owner);
    emit dialog->SetProgress(QStringLiteral("Save Project 3/4"), 75);
}

void Nothing(void*) {}

}  // namespace

class JobsTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;

    std::unique_ptr<Dialog> MakeWindow()
    {
        ScopedLibraryFolder libraries(m_noLibraries->path());
        auto dialog = std::make_unique<Dialog>();
        dialog->InitDialog(false);
        return dialog;
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLog);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
    }

    void init() { g_log.clear(); }

    // A job's progress reaches the dialog on the GUI thread, text and value,
    // and its watcher's end runs the completion slot.
    void progressAndCompletion()
    {
        auto dialog = MakeWindow();
        dialog->m_progressDlg->show();
        dialog->m_ThreadRecTime.setFuture(Dialog::DialogWorker(EmitProgress, dialog.get()));
        QTRY_COMPARE(dialog->m_progressDlg->text(), QStringLiteral("Save Project 3/4"));
        QCOMPARE(dialog->m_progressDlg->value(), 75);
        QTRY_VERIFY(g_log.contains("rec time draw end"));
        QCOMPARE(dialog->ui->rectimeLabel->text(), QStringLiteral("0:00:00"));
    }

    // The pending action after a project save, by the save's result.
    void afterProjectSave_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("closes");
        QTest::newRow("plain save failed") << 0 << false << "old.orb" << 0;
        QTest::newRow("plain save done") << 0 << true << "new.orb" << 0;
        QTest::newRow("exit, saved") << 1 << true << "new.orb" << 1;
        QTest::newRow("exit, save failed") << 1 << false << "new.orb" << 0;
        QTest::newRow("new lecture: a blank board") << 3 << true << "" << 0;
        QTest::newRow("open another") << 2 << true << "new.orb" << 0;
    }

    void afterProjectSave()
    {
        QFETCH(int, action);
        QFETCH(bool, saved);
        QFETCH(QString, path);
        QFETCH(int, closes);
        auto dialog = MakeWindow();
        QSignalSpy close(dialog.get(), SIGNAL(MainDlgClose()));
        dialog->m_previousProjectPath = "old.orb";
        dialog->m_currentProjectPath = "new.orb";
        dialog->m_afterProjectSave = action;
        dialog->m_projectSaveResult = saved;
        dialog->m_projectSaveEndHandled = false;  // as a save job that has ended
        dialog->m_progressDlg->show();
        dialog->ThreadPrjSaveFinished();
        QCOMPARE(dialog->m_currentProjectPath, path);
        QCOMPARE(close.count(), closes);
        QCOMPARE(dialog->m_afterProjectSave, 0);
        QVERIFY(!dialog->m_progressDlg->isVisible());
        QCOMPARE(g_log.contains("time(msec) = 100"), action == 1 || action == 3);
    }

    void loadWithoutNotesKeepsTheModifiedFlag()
    {
        auto dialog = MakeWindow();
        dialog->m_note_list.clear();
        dialog->m_boardModified = true;
        dialog->m_progressDlg->show();
        dialog->ThreadPrjLoadFinished();
        QVERIFY(dialog->m_boardModified);
        QVERIFY(!dialog->m_progressDlg->isVisible());
    }

    // The recording's output is offered only when asked for, and handed to
    // the desktop only when it exists.
    void recordingOutput_data()
    {
        QTest::addColumn<bool>("offer");
        QTest::addColumn<bool>("asked");
        QTest::newRow("during teardown") << false << false;
        QTest::newRow("output missing") << true << true;
    }

    void recordingOutput()
    {
        QFETCH(bool, offer);
        QFETCH(bool, asked);
        auto dialog = MakeWindow();
        QTemporaryDir out;
        dialog->m_rec_type = 2;
        dialog->m_openOutput = offer;
        dialog->m_outputFolder = out.path();
        dialog->m_outputFileName = "lesson.mp4";
        dialog->m_outputPath = out.path() + "/lesson.mp4";
        dialog->m_savedNote = dialog->m_curr_note;
        dialog->m_savedZoom = 1.0;
        g_log.clear();
        dialog->ThreadSaveFinished();
        QVERIFY(g_log.contains("save complete"));
        bool box = false;
        for (const QString& line : qAsConst(g_log))
            box = box || line.startsWith("message box");
        QCOMPARE(box, asked);
        QCOMPARE(g_log.contains("exe : recording output " + dialog->m_outputPath + " not found"), asked);
    }

    void waitReturnsAtOnceForAnEndedJob()
    {
        auto dialog = MakeWindow();
        QFutureWatcher<void> watcher;
        watcher.setFuture(Dialog::DialogWorker(Nothing, nullptr));
        watcher.waitForFinished();
        QCOMPARE(dialog->WaitForJob(watcher, 100, 0), 1);
    }
};

QTEST_MAIN(JobsTest)
#include "jobs_test.moc"
