// The second stage seen from outside: the window covers the primary screen,
// every stage is reported in order, the toolbar's buttons reach their
// commands, and a clean close keeps the live toolbar and panel positions.
#include "storage/settings_file.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QtTest>

namespace {

const int W = 1280;
const int H = 800;

QProcessEnvironment BoardEnvironment(const QString& libraries)
{
    QProcessEnvironment environment;
    environment.insert("DRAVIK_NO_MODAL", "1");
    environment.insert("DRAVIK_LIBRARY_DIR", libraries);
    return environment;
}

// Presses and releases the left button at a point of the screen.
void ClickAt(QPoint p)
{
    Xdotool({"mousemove", QString::number(p.x()), QString::number(p.y()), "click", "1"});
}

}  // namespace

class SecondStageXTest : public QObject
{
    Q_OBJECT

private slots:
    void windowStagesButtonsAndKeptPositions();
};

void SecondStageXTest::windowStagesButtonsAndKeptPositions()
{
    ScopedFolderRoot root;
    ConfigInfomation config;
    const SettingsFolders folders = PrepareSettingsFolders();
    SetConfigDefaults(&config, folders, W, H, true);
    config.toolsave = true;
    config.toolpos = 0;
    config.floatingX = 300;
    config.floatingY = 200;
    QVERIFY(WriteConfigFile(SettingsFilePath(), config));

    RunningProgram board;
    QVERIFY(StartWhiteboard(board, {}, BoardEnvironment(root.path())));
    QVERIFY(board.waitForLine("time Done", 10000) >= 0);

    // Every stage, in its order, with the library line in its place.
    const QStringList stages = {"1 cursor set next.", "2 Dlg set next.", "3 MenuBar set next.",
                                "4 Coll set next.", "5 SignalSlot set next.", "6 InitProject set next.",
                                "8 update check next.", "9 gesture set next.", "10 device_cam set next."};
    int at = 0;
    for (const QString& stage : stages) {
        at = board.waitForLine("!!!!! mainDlg " + stage, 5000, at);
        QVERIFY2(at >= 0, qPrintable(stage));
    }
    const int library = board.waitForLine("exe : error load Konnexa.dll", 1000);
    QVERIFY(library > board.waitForLine("!!!!! mainDlg 3 ", 1000));
    QVERIFY(library < board.waitForLine("!!!!! mainDlg 4 ", 1000));

    // The window covers the primary screen.
    const QStringList windows = WaitForXWindows("^Dialog6601$", 5000, board.pid());
    QVERIFY(!windows.isEmpty());
    const QString geometry = QString::fromUtf8(Xdotool({"getwindowgeometry", windows.first()}));
    QVERIFY2(geometry.contains("Position: 0,0") && geometry.contains(QString("Geometry: %1x%2").arg(W).arg(H)),
             qPrintable(geometry));

    // A press on a bar button runs its command: the bar lies at the bottom,
    // the first buttons after the logo are the page, window and colour ones.
    const int line = board.lines().size();
    // The note button makes a page, saving the one it leaves first.
    ClickAt(QPoint(96 + 20, H - 41 + 18));
    QVERIFY(board.waitForLine("m_note_idx 0 m_curr_image", 5000, line) >= 0);

    QCOMPARE(CloseWhiteboard(board), 0);
    ConfigInfomation kept;
    QVERIFY(ReadConfigFile(SettingsFilePath(), &kept));
    QCOMPARE(kept.toolpos, 0);
    QCOMPARE(kept.floatingX, 300);
    QCOMPARE(kept.floatingY, 200);
}

QTEST_MAIN(SecondStageXTest)
#include "second_stage_xtest.moc"
