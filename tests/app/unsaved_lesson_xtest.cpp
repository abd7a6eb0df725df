// The running whiteboard never drops a lesson it has not saved. Closed from
// outside (the window manager's close, as a person clicks it), a board
// without changes ends at once; after a stroke or a new page it asks "save
// first?" before anything is thrown away. The Exit command asks the same
// after every page change (a new page, pages reordered or deleted in the note
// list) and after a stroke drawn while a save was running. Closed while a
// save runs, it waits for the save; one that fails keeps the lesson open and
// says why. A Connect whose
// "save first?" is cancelled leaves the board as it was. A lesson named after
// the update switch on the command line is opened.
//
// Boxes go to the log here (the question is answered Yes and the save dialog
// answers as cancelled, so a new lesson stays open), except where the test
// answers a box itself.
#include "app/ui/dialog.h"
#include "collab/ui/collconnectdlg.h"
#include "panels/ui/notedialog.h"
#include "panels/ui/notelist.h"
#include "tests/support/board_screen.h"
#include "tests/support/lesson_fixture.h"
#include "tests/support/running_program.h"
#include "tests/support/small_filesystem.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

// Sends the window manager's close to the whiteboard's window.
bool SendClose(RunningProgram& board)
{
    const QStringList windows = FindXWindows(QStringLiteral("^Dialog6601$"), board.pid());
    return !windows.isEmpty()
        && QProcess::execute(BuiltProgramFolder() + QStringLiteral("/CloseXWindow"), {windows.first()}) == 0;
}

void Click(QPoint at)
{
    Xdotool({"mousemove", N(at.x()), N(at.y()), "click", "1"});
}

// Does `action` again (each try given a second) until `board` logs `text`
// after line `from`; false after `timeoutMs`. For the note list, whose
// buttons and items come to life once its thumbnails are filled.
bool RepeatUntilLogged(RunningProgram& board, const std::function<void()>& action, const QString& text, int from,
                       int timeoutMs)
{
    QElapsedTimer clock;
    clock.start();
    do {
        action();
        if (board.waitForLine(text, 1000, from) >= 0)
            return true;
    } while (clock.elapsed() < timeoutMs);
    return false;
}

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Fills the file system of `path` until a write fails; false when it never
// did (within far more than the file system holds).
bool FillUp(const QString& path, qint64 atMost)
{
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly))
        return false;
    const QByteArray chunk(16 * 1024, 'x');
    for (qint64 written = 0; written <= atMost; written += chunk.size()) {
        if (filler.write(chunk) != chunk.size() || !filler.flush())
            return true;
    }
    return false;
}

}  // namespace

class UnsavedLessonXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    QTemporaryDir m_files;
    QMap<QString, QRect> m_buttons;
    QProcessEnvironment m_environment;
    // Places on the screen, from the same layout code on this screen: main
    // menu entries (relative to the menu), the connect dialog's widgets and
    // the note list's (relative to their windows).
    QMap<QString, QPoint> m_at;

    // Where the note list of a two-page lesson shows its thumbnails and
    // buttons.
    void LearnNoteListLayout()
    {
        QTemporaryDir pages;
        QImage page(1280, 720, QImage::Format_RGB32);
        page.fill(Qt::white);
        QVERIFY(page.save(pages.filePath("page.jpg")));
        QVector<NoteInfo> records(2);
        for (int i = 0; i < 2; ++i) {
            records[i].create_data = N(i);
            records[i].imagePath = pages.filePath("page.jpg");
        }
        NoteDialog notes;
        notes.InitDialog(pages.path() + "/");
        notes.SetEditMode(true);
        notes.SetNoteList(&records, 0);
        notes.show();
        notes.StartMakeThumbnails();
        QTRY_COMPARE_WITH_TIMEOUT(notes.list()->count(), 2, 10000);
        for (int i = 0; i < 2; ++i) {
            const QRect r = notes.list()->visualItemRect(notes.list()->item(i));
            m_at.insert("thumbnail " + N(i), notes.list()->viewport()->mapTo(&notes, QPoint(r.center().x(), r.top() + 60)));
        }
        m_at.insert("note delete", notes.deleteButton()->geometry().center());
        m_at.insert("note close", notes.closeButton()->geometry().center());
        notes.NoteListClose();
    }

    // A copy of a blank two-page lesson of its own for one case.
    QString Lesson(const QString& name)
    {
        const QString path = m_files.filePath(name + ".vk");
        QString problem;
        if (!WriteBlankLesson(path, 2, &problem))
            qWarning("%s", qPrintable(problem));
        return path;
    }

    // Starts the board on `lesson` and waits until its first page shows.
    bool StartOn(RunningProgram& board, const QString& lesson, const QProcessEnvironment& environment)
    {
        if (!StartWhiteboard(board, {"/noAutoUpdate", lesson}, environment))
            return false;
        const int load = board.waitForLine("exe : StartProjectLoad(" + lesson, 30000);
        return load >= 0 && board.waitForLine("change note", 30000, load) >= 0;
    }

    // The boards' environment with the first save held while the packer
    // writes its archive (a preloaded library stops it there), until
    // "<marker>.go" is made.
    QProcessEnvironment HeldWhilePacking(const QString& marker) const
    {
        QProcessEnvironment environment = m_environment;
        environment.insert("LD_PRELOAD", BuiltProgramFolder() + "/libSavePause.so");
        environment.insert("DRAVIK_PAUSE_CALL", "rename");
        environment.insert("DRAVIK_PAUSE_SUFFIX", ".packing.zip");
        environment.insert("DRAVIK_PAUSE_MARKER", marker);
        return environment;
    }

    // Opens the note list and waits for its window; the window's place.
    QPoint OpenNoteList(RunningProgram& board)
    {
        XdotoolClick(m_buttons["notelistbtn"].center());
        const QStringList ids = WaitForXWindows("^Note List$", 10000, board.pid());
        return ids.isEmpty() ? QPoint(-1, -1) : XWindowGeometry(ids.first()).topLeft();
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        m_noLibraries = std::make_unique<QTemporaryDir>();
        m_buttons = ToolbarButtonsOnScreen(m_noLibraries->path());
        QVERIFY(m_buttons.contains("notebtn"));
        // The board under test finds the collaboration library beside it.
        const QMap<QString, QRect> withLibraries = ToolbarButtonsOnScreen(BuiltProgramFolder(), [this](Dialog& layout) {
            const QList<QAction*> entries = layout.m_mainMenu->actions();
            m_at.insert("menu save", layout.m_mainMenu->actionGeometry(entries.at(2)).center());
            m_at.insert("menu exit", layout.m_mainMenu->actionGeometry(entries.last()).center());
            CollConnectDlg* dialog = layout.m_collConnectDlg;
            if (!dialog)
                return;
            dialog->show();
            QTest::qWaitForWindowExposed(dialog);
            for (QWidget* w : std::initializer_list<QWidget*>{dialog->BtnRdo_client, dialog->lineEdit_IP,
                                                             dialog->lineEdit_PASS, dialog->Btn_connect})
                m_at.insert(w->objectName(), w->mapTo(dialog, w->rect().center()) + dialog->geometry().topLeft());
            dialog->hide();
        });
        QVERIFY2(m_at.contains("Btn_connect"), "no connect dialog: the collaboration library was not found");
        m_buttons.insert("connect", withLibraries.value("btn_show_collconnectDlg"));
        LearnNoteListLayout();
        // Each board gets the boxes it is started with.
        qunsetenv("DRAVIK_NO_MODAL");
        m_environment.insert("DRAVIK_NO_MODAL", "1");
    }

    void cleanupTestCase() { m_root.reset(); }

    void unchangedBoardCloses()
    {
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, m_environment));
        QVERIFY(board.waitForLine("time Done", 20000) >= 0);
        const int mark = board.lines().size();
        QVERIFY(SendClose(board));
        QCOMPARE(board.waitForExit(20000), 0);
        QVERIFY(!board.hasLine("message box question: Confirm", mark));
    }

    void changedBoardAsks_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("stroke") << "stroke";
        QTest::newRow("new page") << "new page";
    }

    void changedBoardAsks()
    {
        QFETCH(QString, change);
        RunningProgram board;
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, m_environment));
        QVERIFY(board.waitForLine("time Done", 20000) >= 0);
        int mark = board.lines().size();
        if (change == "stroke") {
            XdotoolStroke(QPoint(400, 300));
            QVERIFY(board.waitForLine("exe : object 0-0 kind 3", 10000, mark) >= 0);
        } else {
            XdotoolClick(m_buttons["notebtn"].center());
            QVERIFY(board.waitForLine("create note:", 10000, mark) >= 0);
        }
        mark = board.lines().size();
        QVERIFY(SendClose(board));
        QVERIFY2(board.waitForLine("message box question: Confirm", 20000, mark) >= 0,
                 qPrintable(board.lines().mid(mark).join('\n')));
        QVERIFY(board.waitForLine("file dialog save: Save project file", 20000, mark) >= 0);
        // Nothing chosen: the lesson is kept and the whiteboard goes on
        // drawing.
        mark = board.lines().size();
        XdotoolStroke(QPoint(500, 400));
        QVERIFY(board.waitForLine("exe : object 0-", 10000, mark) >= 0);
        QVERIFY(board.isRunning());
        board.kill();
    }

    // "/noAutoUpdate lesson.vk": the lesson is read from the second place.
    void lessonAfterTheSwitchOpens()
    {
        const QString lesson = Lesson("named");
        RunningProgram board;
        QVERIFY2(StartOn(board, lesson, m_environment), qPrintable(board.lines().join('\n')));
        QCOMPARE(CloseWhiteboard(board), 0);
    }

    // An opened lesson changed only in its pages: Exit asks, and Yes saves
    // it into its file before the board closes.
    void pageChangeThenExitAsks_data()
    {
        QTest::addColumn<QString>("change");
        QTest::newRow("none") << "none";
        QTest::newRow("new page") << "new page";
        QTest::newRow("pages reordered in the note list") << "reorder";
        QTest::newRow("page deleted in the note list") << "delete";
    }

    void pageChangeThenExitAsks()
    {
        QFETCH(QString, change);
        const QString lesson = Lesson(QString(QTest::currentDataTag()).replace(' ', '_'));
        RunningProgram board;
        QVERIFY2(StartOn(board, lesson, m_environment), qPrintable(board.lines().join('\n')));
        int mark = board.lines().size();
        if (change == "new page") {
            XdotoolClick(m_buttons["notebtn"].center());
            QVERIFY(board.waitForLine("create note:", 10000, mark) >= 0);
        } else if (change != "none") {
            const QPoint list = OpenNoteList(board);
            QVERIFY(list.x() >= 0);
            if (change == "reorder") {
                const auto drag = [&] { XdotoolDrag(list + m_at["thumbnail 0"], list + m_at["thumbnail 1"], 40); };
                QVERIFY2(RepeatUntilLogged(board, drag, "start drag index: 0", mark, 15000),
                         qPrintable(board.lines().mid(mark).join('\n')));
            } else {
                const auto remove = [&] {
                    Click(list + m_at["thumbnail 1"]);
                    Click(list + m_at["note delete"]);
                };
                QVERIFY2(RepeatUntilLogged(board, remove, "DeleteNote : note_name =", mark, 15000),
                         qPrintable(board.lines().mid(mark).join('\n')));
            }
            Click(list + m_at["note close"]);
            QVERIFY(WaitForNoXWindows("^Note List$", 10000, board.pid()));
        }
        mark = board.lines().size();
        QVERIFY(ChooseMainMenuEntry(board.pid(), m_at["menu exit"]));
        QCOMPARE(board.waitForExit(30000), 0);
        const bool asked = board.hasLine("message box question: Confirm", mark);
        QVERIFY2(asked == (change != "none"), qPrintable(board.lines().mid(mark).join('\n')));
        QCOMPARE(board.hasLine("exe : project saved to " + lesson, mark), asked);
    }

    // A stroke arriving while a save runs is not in that save: the board
    // stays changed and Exit asks. The save is held while the packer writes
    // (a preloaded library stops it there), and the pen driver draws, as the
    // progress window keeps the mouse off the board.
    void strokeDuringASaveStaysUnsaved()
    {
        const QString lesson = Lesson("during_a_save");
        const QString marker = m_files.filePath("held");
        RunningProgram board;
        QVERIFY2(StartOn(board, lesson, HeldWhilePacking(marker)), qPrintable(board.lines().join('\n')));
        RunningProgram driver;
        QVERIFY(driver.start(QStringLiteral("PenDriverStub"), {}));
        QVERIFY(driver.waitForLine(QStringLiteral("ready "), 10000) >= 0);
        auto command = [&driver](const QString& line) {
            const int from = driver.lines().size();
            driver.write(line.toUtf8() + '\n');
            return driver.waitForLine(QStringLiteral("ok "), 10000, from) >= 0;
        };
        QVERIFY(command("greet"));

        int mark = board.lines().size();
        QVERIFY(ChooseMainMenuEntry(board.pid(), m_at["menu save"]));
        QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(marker), "the save held while it packs", 30000);
        QVERIFY(command("touch 1 300 300 50"));
        for (int x = 310; x <= 500; x += 10)
            QVERIFY(command(QStringLiteral("touch 1 %1 300 10").arg(x)));
        QVERIFY(command("touch 1 500 300 60"));
        QVERIFY2(board.waitForLine("exe : object 1-", 10000, mark) >= 0, qPrintable(board.lines().mid(mark).join('\n')));
        QFile go(marker + ".go");
        QVERIFY(go.open(QIODevice::WriteOnly));
        go.close();
        const int saved = board.waitForLine("exe : project saved to " + lesson, 30000, mark);
        QVERIFY2(saved >= 0, qPrintable(board.lines().mid(mark).join('\n')));
        driver.write("quit\n");
        driver.waitForExit(5000);

        mark = board.lines().size();
        QVERIFY(ChooseMainMenuEntry(board.pid(), m_at["menu exit"]));
        QVERIFY2(board.waitForLine("message box question: Confirm", 20000, mark) >= 0,
                 qPrintable(board.lines().mid(mark).join('\n')));
        QCOMPARE(board.waitForExit(30000), 0);
    }

    // Exit while a save runs, and that save then fails for a full disk: the
    // exit waits for the save, the whiteboard says why and stays open with
    // the lesson still marked as changed, and the file on disk is as it was.
    // Once there is room, the next close asks and saves. The progress window
    // holds the board back until the window manager closes it (as Alt+F4 or
    // a logout does); then the main menu and the board's own close are there.
    void exitDuringAFailingSaveKeepsTheLesson_data()
    {
        QTest::addColumn<bool>("fromMenu");
        QTest::newRow("window manager's close") << false;
        QTest::newRow("main-menu Exit") << true;
    }

    void exitDuringAFailingSaveKeepsTheLesson()
    {
        QFETCH(bool, fromMenu);
        SmallFilesystem disk(1024 * 1024);
        if (!disk.isMounted())
            QSKIP(qPrintable(disk.reason()));
        const QString lesson = disk.filePath("lesson.vk");
        QString problem;
        QVERIFY2(WriteBlankLesson(lesson, 2, &problem), qPrintable(problem));
        const QByteArray original = Contents(lesson);
        const QString marker = m_files.filePath(QString("held at exit, %1").arg(fromMenu));
        RunningProgram board;
        QVERIFY2(StartOn(board, lesson, HeldWhilePacking(marker)), qPrintable(board.lines().join('\n')));

        int mark = board.lines().size();
        QVERIFY(ChooseMainMenuEntry(board.pid(), m_at["menu save"]));
        QTRY_VERIFY2_WITH_TIMEOUT(QFileInfo::exists(marker), "the save held while it packs", 30000);
        const QStringList progress = WaitForXWindows("^Dialog$", 10000, board.pid());
        QVERIFY2(!progress.isEmpty(), "no progress window");
        QCOMPARE(QProcess::execute(BuiltProgramFolder() + "/CloseXWindow", {progress.first()}), 0);
        QVERIFY(WaitForNoXWindows("^Dialog$", 10000, board.pid()));
        if (fromMenu)
            QVERIFY(ChooseMainMenuEntry(board.pid(), m_at["menu exit"]));
        else
            QVERIFY(SendClose(board));
        QVERIFY2(board.waitForLine("exit waits for the running save", 20000, mark) >= 0,
                 qPrintable(board.lines().mid(mark).join('\n')));
        QVERIFY(FillUp(disk.filePath("filler"), 4 * 1024 * 1024));
        QFile go(marker + ".go");
        QVERIFY(go.open(QIODevice::WriteOnly));
        go.close();
        const int failed = board.waitForLine("message box critical: Save project file", 30000, mark);
        QVERIFY2(failed >= 0, qPrintable(board.lines().mid(mark).join('\n')));
        QVERIFY2(board.lines().at(failed).contains("the disk is full"), qPrintable(board.lines().at(failed)));

        // Still open, and still drawing.
        mark = board.lines().size();
        XdotoolStroke(QPoint(500, 400));
        QVERIFY2(board.waitForLine("exe : object 0-", 10000, mark) >= 0, qPrintable(board.lines().mid(mark).join('\n')));
        QVERIFY(board.isRunning());
        QVERIFY2(Contents(lesson) == original, "the lesson changed");

        QVERIFY(QFile::remove(disk.filePath("filler")));
        mark = board.lines().size();
        QVERIFY(SendClose(board));
        QVERIFY2(board.waitForLine("message box question: Confirm", 20000, mark) >= 0,
                 qPrintable(board.lines().mid(mark).join('\n')));
        QCOMPARE(board.waitForExit(30000), 0);
        QVERIFY(board.hasLine("exe : project saved to " + lesson, mark));
    }

    // Connect as a participant with an unsaved stroke; "save first?" is
    // answered Cancel: no connection is tried and the lesson stays, so the
    // close asks again.
    void cancelledConnectKeepsTheBoard()
    {
        RunningProgram board;
        // The boxes are real here: the test answers them.
        QVERIFY(StartWhiteboard(board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY(board.waitForLine("time Done", 20000) >= 0);
        QVERIFY(board.waitForLine("exe : Success load Konnexa.dll", 10000) >= 0);
        int mark = board.lines().size();
        XdotoolStroke(QPoint(400, 300));
        QVERIFY(board.waitForLine("exe : object 0-0 kind 3", 10000, mark) >= 0);

        XdotoolClick(m_buttons["connect"].center());
        QVERIFY(!WaitForXWindows("^Server / Client$", 10000, board.pid()).isEmpty());
        Click(m_at["BtnRdo_client"]);
        Click(m_at["lineEdit_IP"]);
        Xdotool({"key", "ctrl+a", "type", "127.0.0.1"});
        Click(m_at["lineEdit_PASS"]);
        Xdotool({"type", "pw"});
        mark = board.lines().size();
        Click(m_at["Btn_connect"]);
        QVERIFY(board.waitForLine("exe OptConnect : IP=127.0.0.1", 10000, mark) >= 0);
        QVERIFY(XdotoolTypeInto(board.pid(), "Confirm", {"Escape"}));
        QVERIFY(WaitForNoXWindows("^Confirm$", 10000, board.pid()));

        // The connect command has ended with the box; once its dialog is
        // closed, the whiteboard's close finds the stroke still unsaved.
        const QStringList connectDialog = FindXWindows("^Server / Client$", board.pid());
        QVERIFY(!connectDialog.isEmpty());
        QCOMPARE(QProcess::execute(BuiltProgramFolder() + "/CloseXWindow", {connectDialog.first()}), 0);
        QVERIFY(WaitForNoXWindows("^Server / Client$", 10000, board.pid()));
        QVERIFY(SendClose(board));
        QVERIFY2(!WaitForXWindows("^Confirm$", 20000, board.pid()).isEmpty(),
                 qPrintable(board.lines().mid(mark).join('\n')));
        const QStringList after = board.lines().mid(mark);
        QVERIFY2(after.filter("connect_Server").isEmpty(), qPrintable(after.join('\n')));
        QVERIFY(XdotoolTypeInto(board.pid(), "Confirm", {"Escape"}));
        QVERIFY(WaitForNoXWindows("^Confirm$", 10000, board.pid()));
        QVERIFY(board.isRunning());
        board.kill();
    }
};

QTEST_MAIN(UnsavedLessonXTest)
#include "unsaved_lesson_xtest.moc"
