// The running whiteboard closed from outside (the window manager's close, as
// a person clicks it): a board without changes ends at once; after a stroke
// or a new page it asks "save first?" before anything is thrown away. Boxes
// go to the log here, where the question is answered Yes and the save dialog
// answers as cancelled, so the lesson must stay open.
#include "tests/support/board_screen.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QMap>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Sends the window manager's close to the whiteboard's window.
bool SendClose(RunningProgram& board)
{
    const QStringList windows = FindXWindows(QStringLiteral("^Dialog6601$"), board.pid());
    return !windows.isEmpty()
        && QProcess::execute(BuiltProgramFolder() + QStringLiteral("/CloseXWindow"), {windows.first()}) == 0;
}

}  // namespace

class UnsavedLessonXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    QMap<QString, QRect> m_buttons;
    QProcessEnvironment m_environment;

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        m_noLibraries = std::make_unique<QTemporaryDir>();
        m_buttons = ToolbarButtonsOnScreen(m_noLibraries->path());
        QVERIFY(m_buttons.contains("notebtn"));
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
};

QTEST_MAIN(UnsavedLessonXTest)
#include "unsaved_lesson_xtest.moc"
