// Exporting and printing notes in the running whiteboard, as a person does
// it: a stroke drawn with the mouse, "Save Notes" opened from the main menu
// and confirmed, the picture found in the default folder; then "Print Notes"
// the same way, the page found in the print folder.
#include "app/ui/dialog.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDir>
#include <QMenu>
#include <QRect>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

// Pixels of the stroke's colour (the default pen is black) in the picture.
int InkPixels(const QImage& image)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += qGray(image.pixel(x, y)) < 80 ? 1 : 0;
    return n;
}

}  // namespace

class NoteExportXTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    QTemporaryDir m_printFolder;
    RunningProgram m_board;
    QPoint m_saveNotesEntry;
    QPoint m_printNotesEntry;

    // Clicks the point `at` of the program's window titled `title`.
    bool ClickIn(const QString& title, QPoint at)
    {
        const QStringList windows = WaitForXWindows(QStringLiteral("^%1$").arg(title), 15000, m_board.pid());
        if (windows.isEmpty()) {
            qWarning("the window \"%s\" did not come within 15 s", qPrintable(title));
            return false;
        }
        const QRect frame = WaitForXWindowGeometry(windows.last());
        if (frame.isEmpty())
            return false;
        const QPoint click = frame.topLeft() + at;
        Xdotool({"mousemove", N(click.x()), N(click.y()), "click", "1"});
        return true;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_printFolder.isValid());
        m_root = std::make_unique<ScopedFolderRoot>();
        QTemporaryDir noLibraries;
        {
            qputenv("DRAVIK_NO_MODAL", "1");
            ScopedLibraryFolder libraries(noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            const QList<QAction*> entries = layout.m_mainMenu->actions();
            m_saveNotesEntry = layout.m_mainMenu->actionGeometry(entries.at(5)).center();
            m_printNotesEntry = layout.m_mainMenu->actionGeometry(entries.at(6)).center();
            QCOMPARE(entries.at(5)->text(), QStringLiteral("Save Notes"));
            QCOMPARE(entries.at(6)->text(), QStringLiteral("Print Notes"));
        }
        qunsetenv("DRAVIK_NO_MODAL");
        QProcessEnvironment extra;
        extra.insert("DRAVIK_PRINT_FOLDER", m_printFolder.path());
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, extra));
        QVERIFY(m_board.waitForLine(QStringLiteral("time Done"), 20000) >= 0);
    }

    void cleanupTestCase()
    {
        m_board.kill();
        m_root.reset();
    }

    void saveThenPrintThroughTheMenu()
    {
        XdotoolStroke(QPoint(400, 300));
        QVERIFY(m_board.waitForLine(QStringLiteral("exe : object 0-0 kind 3"), 10000) >= 0);

        // "Save Notes": the current note as a JPG under the default name.
        int mark = m_board.lines().size();
        QVERIFY(ChooseMainMenuEntry(m_board.pid(), m_saveNotesEntry));
        QVERIFY(ClickIn("Save Notes", QPoint(225, 341)));
        const QString saved = m_root->path() + "/Documents/Dravik/Dravik_Saved_Notes/noname.jpg";
        QVERIFY2(m_board.waitForLine("note job done", 20000, mark) >= 0, "the note was not saved within 20 s");
        QVERIFY(QFileInfo(saved).size() > 0);
        const QImage picture(saved);
        QVERIFY(!picture.isNull());
        QVERIFY2(InkPixels(picture) > 50, "the stroke is on the saved page");

        // "Print Notes": the current note, one page in the print folder.
        mark = m_board.lines().size();
        QVERIFY(ChooseMainMenuEntry(m_board.pid(), m_printNotesEntry));
        QVERIFY(ClickIn("Print Notes", QPoint(205, 211)));
        const QString printed = QDir(m_printFolder.path()).filePath("print-1.pdf");
        QVERIFY2(m_board.waitForLine("note job done", 20000, mark) >= 0, "the note was not printed within 20 s");
        QVERIFY(QFileInfo(printed).size() > 0);
        QCOMPARE(QDir(m_printFolder.path()).entryList(QDir::Files), QStringList{"print-1.pdf"});
    }
};

QTEST_MAIN(NoteExportXTest)
#include "note_export_xtest.moc"
