// The board's context menu in the running whiteboard as a person uses it:
// xdotool draws a line, selects it, copies and pastes it twice through the
// right-click menu, then deletes one copy; the screen is looked at from
// outside.
#include "app/ui/dialog.h"
#include "tests/support/board_screen.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QAction>
#include <QImage>
#include <QMap>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>
#include <memory>

class EditMenuProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    RunningProgram m_board;
    QMap<QString, QRect> m_buttons;  // on the screen, by object name
    QMap<QString, QPoint> m_entries; // the edit menu's entries, relative to the menu

    QImage ScreenWhen(const std::function<bool(const QImage&)>& holds)
    {
        return ScreenshotWhen(m_root->path() + "/screen.png", holds);
    }

    // A right click at `at` opens the menu there; then a click on `entry`.
    bool MenuEntry(QPoint at, const QString& entry)
    {
        return ChooseFromPopup(m_board.pid(), at, 3, at + m_entries.value(entry));
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        QVERIFY(m_root->isValid());
        m_noLibraries = std::make_unique<QTemporaryDir>();
        // The same layout code on the same screen places the buttons and the
        // menu's entries where the program shows them.
        bool haveMenu = false;
        m_buttons = ToolbarButtonsOnScreen(m_noLibraries->path(), [&](Dialog& layout) {
            QMenu* menu = layout.m_editMenu;
            if (!menu)
                return;
            haveMenu = true;
            menu->sizeHint();
            const QStringList names{"Cut", "Copy", "Paste", "Delete"};
            for (int i = 0; i < names.size(); ++i)
                m_entries.insert(names[i], menu->actionGeometry(layout.m_editActions[i]).center());
        });
        QVERIFY(haveMenu);
        QProcessEnvironment environment;
        environment.insert("DRAVIK_NO_MODAL", "1");
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, environment));
        QVERIFY(m_board.waitForLine("time Done", 20000) >= 0);
    }

    void cleanupTestCase()
    {
        if (m_board.isRunning())
            CloseWhiteboard(m_board);
        m_root.reset();
    }

    void copyPasteTwiceAndDelete()
    {
        // A line with the pen the board starts with.
        XdotoolDrag(QPoint(300, 300), QPoint(500, 300));
        QVERIFY(m_board.waitForLine("exe : object 0-0 kind", 10000) >= 0);
        QVERIFY(ClickToolbarButton(m_board, m_buttons, "objectbtn"));
        XdotoolClick(QPoint(400, 302));

        QVERIFY(MenuEntry(QPoint(400, 302), "Copy"));
        QVERIFY(m_board.waitForLine("exe : Copy : m_select_id_str[0] : 0-0", 5000) >= 0);
        QVERIFY(MenuEntry(QPoint(700, 500), "Paste"));
        QVERIFY(MenuEntry(QPoint(700, 500), "Paste"));
        QVERIFY(m_board.waitForLine("exe : PasteCount 2", 5000) >= 0);

        // Two copies, 10 and 20 pixels down and to the right.
        const QRect firstCopy(470, 308, 38, 5);
        const QRect secondCopy(480, 318, 38, 5);
        QImage shot = ScreenWhen([&](const QImage& s) { return DarkPixels(s, secondCopy) > 50; });
        shot.save(QDir::current().filePath("edit-menu-pasted.png"));
        QVERIFY(DarkPixels(shot, QRect(450, 298, 40, 5)) > 50);
        QVERIFY(DarkPixels(shot, firstCopy) > 50);
        QVERIFY(DarkPixels(shot, secondCopy) > 50);

        // The second copy selected and deleted: it is gone, the others stay.
        XdotoolClick(QPoint(515, 322));
        QVERIFY(MenuEntry(QPoint(515, 322), "Delete"));
        shot = ScreenWhen([&](const QImage& s) { return DarkPixels(s, secondCopy) == 0; });
        shot.save(QDir::current().filePath("edit-menu-deleted.png"));
        QCOMPARE(DarkPixels(shot, secondCopy), 0);
        QVERIFY(DarkPixels(shot, firstCopy) > 50);
        QVERIFY(DarkPixels(shot, QRect(450, 298, 40, 5)) > 50);
    }
};

QTEST_MAIN(EditMenuProgramTest)
#include "edit_menu_program_xtest.moc"
