// A save of the running whiteboard killed (SIGKILL) at each of its steps:
// while the packer writes the archive in the work folder, while the new file
// beside the lesson is flushed, and just before it is renamed over the
// lesson. The lesson stays as it was, byte for byte; what the save left
// beside it goes when the whiteboard starts again. The save is held at its
// step by a preloaded library, so the kill always lands there.
#include "app/ui/dialog.h"
#include "storage/settings_file.h"
#include "tests/support/lesson_fixture.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>

namespace {

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Name);
}

// The id of the process the preloaded library holds, once it has said so.
qint64 WaitForHeldProcess(const QString& marker, int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    do {
        const QByteArray line = Contents(marker);
        if (line.endsWith('\n'))
            return line.trimmed().toLongLong();
        QTest::qWait(20);
    } while (clock.elapsed() < timeoutMs);
    return 0;
}

}  // namespace

class InterruptedSaveXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QPoint m_saveEntry;

private slots:
    void initTestCase()
    {
        m_root = std::make_unique<ScopedFolderRoot>();
        QTemporaryDir noLibraries;
        qputenv("DRAVIK_NO_MODAL", "1");
        {
            ScopedLibraryFolder libraries(noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            m_saveEntry = layout.m_mainMenu->actionGeometry(layout.m_mainMenu->actions().at(2)).center();
        }
        QVERIFY(QFileInfo(BuiltProgramFolder() + "/libSavePause.so").isFile());
    }

    void cleanupTestCase() { m_root.reset(); }

    void killedSaveKeepsTheLesson_data()
    {
        QTest::addColumn<QString>("call");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QStringList>("leftBeside");  // beside the lesson after the kill
        const QStringList pending{".lesson.vk.saving", "lesson.vk"};
        QTest::newRow("packing") << "rename" << ".packing.zip" << QStringList{"lesson.vk"};
        QTest::newRow("flushing the new file") << "fsync" << ".lesson.vk.saving" << pending;
        QTest::newRow("renaming it over the lesson") << "rename" << ".lesson.vk.saving" << pending;
    }

    void killedSaveKeepsTheLesson()
    {
        QFETCH(QString, call);
        QFETCH(QString, suffix);
        QFETCH(QStringList, leftBeside);
        QTemporaryDir files;
        const QString folder = files.filePath("lessons");
        QVERIFY(QDir().mkpath(folder));
        const QString lesson = folder + "/lesson.vk";
        QString problem;
        QVERIFY2(WriteBlankLesson(lesson, 1, &problem), qPrintable(problem));
        const QByteArray original = Contents(lesson);
        QVERIFY(!original.isEmpty());

        const QString marker = files.filePath("held");
        QProcessEnvironment held;
        held.insert("DRAVIK_NO_MODAL", "1");
        held.insert("LD_PRELOAD", BuiltProgramFolder() + "/libSavePause.so");
        held.insert("DRAVIK_PAUSE_CALL", call);
        held.insert("DRAVIK_PAUSE_SUFFIX", suffix);
        held.insert("DRAVIK_PAUSE_MARKER", marker);
        {
            RunningProgram board;
            QVERIFY(StartWhiteboard(board, {"/noAutoUpdate", lesson}, held));
            const int load = board.waitForLine("exe : StartProjectLoad(" + lesson, 30000);
            QVERIFY2(load >= 0, qPrintable(board.lines().join('\n')));
            QVERIFY(board.waitForLine("change note", 30000, load) >= 0);
            // A lesson opened from a file is saved into it without a question.
            QVERIFY(ChooseMainMenuEntry(board.pid(), m_saveEntry));
            const qint64 heldProcess = WaitForHeldProcess(marker, 60000);
            QVERIFY2(heldProcess > 0, qPrintable("the save was not held at " + call + " of *" + suffix + "\n"
                                                 + board.lines().join('\n')));
            const qint64 boardProcess = board.pid();
            board.kill();
            QCOMPARE(board.waitForExit(10000), -1);
            // A packer held in its own process is the board's child: it goes
            // too, as it would with the machine.
            if (heldProcess != boardProcess)
                QCOMPARE(::kill(pid_t(heldProcess), SIGKILL), 0);
        }
        QVERIFY2(Contents(lesson) == original, "the lesson changed");
        QCOMPARE(Entries(folder), leftBeside);

        // The next start removes what the killed save left beside the lesson
        // and its note in the work folder.
        QProcessEnvironment plain;
        plain.insert("DRAVIK_NO_MODAL", "1");
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, plain));
        QCOMPARE(Entries(folder), QStringList{"lesson.vk"});
        QVERIFY2(Contents(lesson) == original, "the lesson changed");
        const QString work = PrepareSettingsFolders().workFolder;
        QCOMPARE(QDir(work).entryList({"*.placing"}, QDir::Files | QDir::Hidden | QDir::System), QStringList());
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_MAIN(InterruptedSaveXTest)
#include "interrupted_save_xtest.moc"
