// The project save of the running whiteboard, worked as a person would: a
// stroke drawn with the mouse, saved through the main menu into a name typed
// in the save dialog, then a new lecture, a second stroke, and a project
// handed over by a second copy: "Confirm" answered Yes and a name typed in
// "Save as". Each file holds its stroke, and the save ends before the board
// is reset for the handed-over project.
#include "app/ui/dialog.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

QByteArray ArchiveEntry(const QString& archive, const QString& entry)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, entry});
    unzip.waitForFinished(20000);
    return unzip.readAllStandardOutput();
}

}  // namespace

class ProjectSaveXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    RunningProgram m_board;
    QPoint m_saveEntry;
    QPoint m_newEntry;
    QTemporaryDir m_files;

private slots:
    void initTestCase()
    {
        m_root = std::make_unique<ScopedFolderRoot>();
        QTemporaryDir noLibraries;
        {
            // The layout copy here asks nothing; the board started below
            // shows its boxes and dialogs for real.
            qputenv("DRAVIK_NO_MODAL", "1");
            ScopedLibraryFolder libraries(noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            m_newEntry = layout.m_mainMenu->actionGeometry(layout.m_mainMenu->actions().at(0)).center();
            m_saveEntry = layout.m_mainMenu->actionGeometry(layout.m_mainMenu->actions().at(2)).center();
        }
        qunsetenv("DRAVIK_NO_MODAL");
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY(m_board.waitForLine(QStringLiteral("time Done"), 20000) >= 0);
    }

    void cleanupTestCase()
    {
        m_board.kill();
        m_root.reset();
    }

    void saveThroughTheMenuThenOnHandOver()
    {
        XdotoolStroke(QPoint(400, 300));
        QVERIFY(m_board.waitForLine(QStringLiteral("exe : object 0-0 kind 3"), 10000) >= 0);

        const QString first = m_files.filePath("first.vk");
        int mark = m_board.lines().size();
        QVERIFY(ChooseMainMenuEntry(m_board.pid(), m_saveEntry));
        QVERIFY(XdotoolTypeInto(m_board.pid(), "Save project file", {"ctrl+a", "type:" + first, "Return"}));
        QVERIFY2(m_board.waitForLine("exe : project saved to " + first, 30000, mark) >= 0,
                 qPrintable(m_board.lines().mid(mark).join('\n')));
        const QByteArray events = ArchiveEntry(first, "Event_0.xml");
        for (const char* group : {"<EM_0 Type=\"EM\" Index=\"0\">", "<ED_0 Type=\"ED\" Index=\"0\">",
                                  "<FP_0 Type=\"FP\" Index=\"0\">"})
            QVERIFY2(events.contains(group), events.constData());

        // A saved board starts a new lecture without asking: the next stroke
        // is the first object of an empty board again.
        mark = m_board.lines().size();
        QVERIFY(ChooseMainMenuEntry(m_board.pid(), m_newEntry));
        QVERIFY2(m_board.waitForLine("new lecture started", 10000, mark) >= 0, "no new lecture within 10 s");
        XdotoolStroke(QPoint(500, 400));
        QVERIFY(m_board.waitForLine(QStringLiteral("exe : object 0-0 kind 3"), 10000, mark) >= 0);

        // A second copy hands a project over; the changed board is saved
        // under a new name first.
        const QString handed = m_files.filePath("handed.vk");
        const QString second = m_files.filePath("second.vk");
        mark = m_board.lines().size();
        RunningProgram copy;
        QVERIFY(copy.start(QStringLiteral("Dravik"), {handed}));
        QVERIFY(XdotoolTypeInto(m_board.pid(), "Confirm", {"alt+y"}));
        QVERIFY(XdotoolTypeInto(m_board.pid(), "Save as", {"ctrl+a", "type:" + second, "Return"}));
        const int saved = m_board.waitForLine("exe : project saved to " + second, 30000, mark);
        QVERIFY2(saved >= 0, qPrintable(m_board.lines().mid(mark).join('\n')));
        const int loaded = m_board.waitForLine("StartProjectLoad(" + handed, 30000, mark);
        QVERIFY(loaded > saved);
        const QByteArray handedOver = ArchiveEntry(second, "Event_0.xml");
        QVERIFY(handedOver.contains("<FP_0 Type=\"FP\" Index=\"0\">"));
        copy.waitForExit(10000);
    }
};

QTEST_MAIN(ProjectSaveXTest)
#include "project_save_xtest.moc"
