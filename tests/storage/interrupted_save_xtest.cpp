// A save of the running whiteboard killed (SIGKILL) at each of its steps:
// while the packer writes the archive in the work folder, while the new file
// beside the lesson is flushed, and just before it is renamed over the
// lesson. The lesson stays as it was, byte for byte; what the save left
// beside it goes when the whiteboard starts again. A hard-linked lesson,
// which the save writes in place, killed half way through that copy, is the
// new lesson after the next start. The save is held at its step by a
// preloaded library, so the kill always lands there.
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
#include <sys/stat.h>
#include <unistd.h>

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

struct stat Status(const QString& path)
{
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        st.st_nlink = 0;
    return st;
}

QStringList WorkFolderNotes()
{
    return QDir(PrepareSettingsFolders().workFolder)
        .entryList({"*.placing", "*.copying"}, QDir::Files | QDir::Hidden | QDir::System);
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

// The whiteboard's environment with its save held at `call` of a file named
// "*suffix" (the preloaded library) until it is killed.
QProcessEnvironment HeldAt(const QString& call, const QString& suffix, const QString& marker)
{
    QProcessEnvironment held;
    held.insert("DRAVIK_NO_MODAL", "1");
    held.insert("LD_PRELOAD", BuiltProgramFolder() + "/libSavePause.so");
    held.insert("DRAVIK_PAUSE_CALL", call);
    held.insert("DRAVIK_PAUSE_SUFFIX", suffix);
    held.insert("DRAVIK_PAUSE_MARKER", marker);
    return held;
}

}  // namespace

class InterruptedSaveXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QPoint m_saveEntry;

    // Starts the whiteboard on `lesson`, waits until it shows, and saves it:
    // a lesson opened from a file is saved into it without a question.
    bool StartAndSave(RunningProgram& board, const QString& lesson, const QProcessEnvironment& environment)
    {
        if (!StartWhiteboard(board, {"/noAutoUpdate", lesson}, environment))
            return false;
        const int load = board.waitForLine("exe : StartProjectLoad(" + lesson, 30000);
        return load >= 0 && board.waitForLine("change note", 30000, load) >= 0
            && ChooseMainMenuEntry(board.pid(), m_saveEntry);
    }

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
        {
            RunningProgram board;
            QVERIFY2(StartAndSave(board, lesson, HeldAt(call, suffix, marker)), qPrintable(board.lines().join('\n')));
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
        QCOMPARE(WorkFolderNotes(), QStringList());
        QCOMPARE(CloseWhiteboard(board), 0);
    }

    // A lesson with a second name gets the new bytes in place, so that both
    // names keep it; opened through a link, the file the link names does.
    // Killed with the lesson half written, the next start finishes the copy
    // before anything opens the lesson: it is the new one, byte for byte,
    // under both names and with its mode, and nothing of the save stays.
    void killedInPlaceCopyIsFinished_data()
    {
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("hard-linked lesson") << false;
        QTest::newRow("link to a hard-linked lesson") << true;
    }

    void killedInPlaceCopyIsFinished()
    {
        QFETCH(bool, throughLink);
        QTemporaryDir files;
        const QString folder = files.filePath("lessons");
        QVERIFY(QDir().mkpath(folder));
        const QString lesson = folder + "/lesson.vk";
        const QString second = folder + "/second name.vk";
        QString problem;
        QVERIFY2(WriteBlankLesson(lesson, 1, &problem), qPrintable(problem));
        QCOMPARE(::link(QFile::encodeName(lesson).constData(), QFile::encodeName(second).constData()), 0);
        QCOMPARE(::chmod(QFile::encodeName(lesson).constData(), 0640), 0);
        QString opened = lesson;
        if (throughLink) {
            opened = files.filePath("shortcut.vk");
            QVERIFY(QFile::link(lesson, opened));
        }
        const QByteArray original = Contents(lesson);

        const QString marker = files.filePath("held");
        QByteArray saved;
        {
            RunningProgram board;
            QVERIFY2(StartAndSave(board, opened, HeldAt("write", "/lesson.vk", marker)),
                     qPrintable(board.lines().join('\n')));
            const qint64 heldProcess = WaitForHeldProcess(marker, 60000);
            QVERIFY2(heldProcess == board.pid(),
                     qPrintable("the save was not held writing the lesson\n" + board.lines().join('\n')));
            // What the save packed waits in the work folder until it is in
            // place.
            const QString work = PrepareSettingsFolders().workFolder;
            const QStringList packed = QDir(work).entryList({"*.packing.zip"}, QDir::Files);
            QCOMPARE(packed.size(), 1);
            saved = Contents(work + "/" + packed.first());
            QVERIFY(!saved.isEmpty() && saved != original);
            QVERIFY2(Contents(lesson) != saved && Contents(lesson) != original, "the lesson is not half written");
            board.kill();
            QCOMPARE(board.waitForExit(10000), -1);
        }

        QProcessEnvironment plain;
        plain.insert("DRAVIK_NO_MODAL", "1");
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, plain));
        QVERIFY2(Contents(lesson) == saved, qPrintable("the lesson is not the saved one\n" + board.lines().join('\n')));
        const struct stat first = Status(lesson);
        const struct stat other = Status(second);
        QCOMPARE(first.st_nlink, nlink_t(2));
        QCOMPARE(first.st_ino, other.st_ino);
        QCOMPARE(first.st_mode & 07777, mode_t(0640));
        if (throughLink)
            QCOMPARE(QFileInfo(opened).symLinkTarget(), lesson);
        QCOMPARE(Entries(folder), QStringList({"lesson.vk", "second name.vk"}));
        QCOMPARE(WorkFolderNotes(), QStringList());
        QCOMPARE(CloseWhiteboard(board), 0);
    }
};

QTEST_MAIN(InterruptedSaveXTest)
#include "interrupted_save_xtest.moc"
