// The toolbar seen from outside: the whiteboard opens with its bar along the
// top (or the kept edge), and every visible button shows its picture for its
// state, as the resource bundle holds it.
#include "app/ui/dialog.h"
#include "storage/settings_file.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDir>
#include <QtTest>

namespace {

const int W = 1280;
const int H = 800;

// Mean difference per channel between the picture and the screen under the
// button, over the inside of the button (its rounded corners show the bar).
double Difference(const QImage& shot, QPoint at, const QString& resource)
{
    const QImage picture = QImage(resource).convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull())
        return 1e9;
    double sum = 0;
    int n = 0;
    for (int y = 3; y < picture.height() - 3; ++y) {
        for (int x = 3; x < picture.width() - 3; ++x) {
            const QRgb a = picture.pixel(x, y);
            const QRgb b = shot.pixel(at.x() + x, at.y() + y);
            if (qAlpha(a) < 250)
                continue;
            sum += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
            n += 3;
        }
    }
    return n ? sum / n : 1e9;
}

struct Expected {
    const char* name;
    int alongTop;   // offset from the logo on a horizontal bar
    int alongSide;  // the same on a vertical bar (36-pixel buttons)
    QString picture;
};

// The bar's visible buttons with their offsets after the logo, and the
// picture each shows: disabled buttons their disabled picture, the checked
// draw button its pressed one.
QList<Expected> BarButtons(bool side)
{
    const QString n = side ? "4" : "1";
    return {{"notebtn", 0, 0, ":/Note/New" + n},
            {"windowbtn", 52, 48, ":/Window/win" + n},
            {"colorbtn", 92, 84, ":/Color/black" + n},
            {"pwidthbtn", 144, 132, ":/Penwid/p1_" + n},
            {"transbtn", 196, 180, ":/Draw/trans" + n},
            {"drawbtn", 236, 216, ":/Draw/free3"},
            {"erasebtn", 288, 264, ":/Erase/all" + n},
            {"prebtn", 340, 312, side ? ":/Object/before7" : ":/Object/before0"},
            {"objectbtn", 420, 384, ":/Object/select" + n},
            {"notelistbtn", 472, 432, ":/Note/list" + n},
            {"zoombtn", 512, 468, ":/Zoom/zoomin" + n},
            {"undobtn", 564, 516, side ? ":/Object/undo7" : ":/Object/undo0"},
            {"btn_Strova", 856, 780, ":/Coll/Strova" + n}};
}

}  // namespace

class ToolbarXTest : public QObject
{
    Q_OBJECT

private slots:
    void barAtItsEdge_data();
    void barAtItsEdge();
    void hoverShowsTheHoverPicture();
};

void ToolbarXTest::barAtItsEdge_data()
{
    QTest::addColumn<bool>("toolsave");
    QTest::addColumn<int>("toolpos");
    QTest::addColumn<int>("shown");
    QTest::newRow("first start") << false << 0 << 1;
    QTest::newRow("kept position ignored") << false << 2 << 1;
    QTest::newRow("kept: bottom") << true << 0 << 0;
    QTest::newRow("kept: left") << true << 2 << 2;
    QTest::newRow("kept: right") << true << 3 << 3;
}

void ToolbarXTest::barAtItsEdge()
{
    QFETCH(bool, toolsave);
    QFETCH(int, toolpos);
    QFETCH(int, shown);

    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    ConfigInfomation config;
    const SettingsFolders folders = PrepareSettingsFolders();
    SetConfigDefaults(&config, folders, W, H, true);
    config.toolsave = toolsave;
    config.toolpos = toolpos;
    QVERIFY(WriteConfigFile(SettingsFilePath(), config));

    QProcessEnvironment environment;
    environment.insert("DRAVIK_NO_MODAL", "1");
    environment.insert("DRAVIK_LIBRARY_DIR", root.path());
    RunningProgram board;
    QVERIFY(StartWhiteboard(board, {}, environment));
    QVERIFY(board.waitForLine("time Done", 10000) >= 0);
    const bool side = shown >= 2;
    // Where the first button after the logo sits, and the direction the bar
    // runs in.
    const QPoint starts[] = {QPoint(96, H - 41), QPoint(96, 4), QPoint(4, 70), QPoint(W - 44, 70)};
    // The bar is photographed once every button shows its picture (the
    // window paints a moment after it is up).
    const auto allShown = [&](const QImage& s) {
        for (const Expected& button : BarButtons(side)) {
            const QPoint at = starts[shown] + (side ? QPoint(0, button.alongSide) : QPoint(button.alongTop, 0));
            if (at.y() + 36 <= H && Difference(s, at, button.picture) >= 8)
                return false;
        }
        return true;
    };
    const QImage shot = ScreenshotWhen(root.path() + "/shot.png", allShown);
    QVERIFY(!shot.isNull());
    shot.save(QDir::tempPath() + "/dravik_toolbar_" + QString(QTest::currentDataTag()).replace(' ', '_') + ".png");

    for (const Expected& button : BarButtons(side)) {
        const QPoint at = starts[shown] + (side ? QPoint(0, button.alongSide) : QPoint(button.alongTop, 0));
        if (at.y() + 36 > H)
            continue;  // beyond the end of a vertical bar on this screen
        const double seen = Difference(shot, at, button.picture);
        QVERIFY2(seen < 8, qPrintable(QStringLiteral("%1 at %2,%3 differs from %4 by %5")
                                          .arg(button.name)
                                          .arg(at.x())
                                          .arg(at.y())
                                          .arg(button.picture)
                                          .arg(seen)));
    }
    QCOMPARE(CloseWhiteboard(board), 0);
}

void ToolbarXTest::hoverShowsTheHoverPicture()
{
    ScopedFolderRoot root;
    ScopedLibraryFolder noLibraries(root.path());
    ConfigInfomation config;
    const SettingsFolders folders = PrepareSettingsFolders();
    SetConfigDefaults(&config, folders, W, H, true);
    QVERIFY(WriteConfigFile(SettingsFilePath(), config));

    QProcessEnvironment environment;
    environment.insert("DRAVIK_NO_MODAL", "1");
    environment.insert("DRAVIK_LIBRARY_DIR", root.path());
    RunningProgram board;
    QVERIFY(StartWhiteboard(board, {}, environment));
    QVERIFY(board.waitForLine("time Done", 10000) >= 0);
    const QPoint colour(188, 4);
    Xdotool({"mousemove", QString::number(colour.x() + 20), QString::number(colour.y() + 18)});
    QImage shot;
    // The hover picture shows once the window has seen the pointer enter.
    QTRY_VERIFY_WITH_TIMEOUT((shot = TakeScreenshot(root.path() + "/hover.png"),
                              Difference(shot, colour, ":/Color/black2") < 8),
                             5000);
    QVERIFY(Difference(shot, colour, ":/Color/black1") > 8);
    QVERIFY(Difference(shot, QPoint(96, 4), ":/Note/New1") < 8);
    QCOMPARE(CloseWhiteboard(board), 0);
}

QTEST_MAIN(ToolbarXTest)
#include "toolbar_xtest.moc"
