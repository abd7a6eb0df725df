// The note list and the clip-art browser in the running whiteboard, worked
// with xdotool: five pages become five thumbnails, a double-click goes to a
// page, a drag reorders the pages, Delete removes one; the clip-art browser
// places a picture, lays one as the background and takes a drag onto the
// board. Places inside the two windows come from the same windows built in
// this process on the same screen.
#include "app/ui/dialog.h"
#include "panels/ui/clipart.h"
#include "panels/ui/notedialog.h"
#include "panels/ui/notelist.h"
#include "storage/language_file.h"
#include "storage/settings_file.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QSignalMapper>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

// The program reads the clicks in the order they are sent: a click needs no
// wait unless what it starts is awaited.
void Click(QPoint p, int clicks = 1)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "--repeat", N(clicks), "--delay", "80", "1"});
}

int Count(const QImage& image, QRect area, const std::function<bool(QColor)>& is)
{
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += is(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool Dark(QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }
bool SunYellow(QColor c) { return c.red() > 230 && qAbs(c.green() - 210) < 30 && c.blue() < 90; }

// Page k's mark: a line across the board at its own height.
int MarkY(int page) { return 120 + 70 * page; }

}  // namespace

class NoteListProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    SettingsFolders m_folders;
    RunningProgram m_board;
    QMap<QString, QPoint> m_at;      // toolbar buttons on the screen
    QPoint m_clipArtButton;          // the note row's clip-art button
    QVector<QPoint> m_thumbnail;     // in the note list window
    QPoint m_deleteButton;
    QPoint m_closeButton;
    QPoint m_natureFolder;           // in the clip-art window
    QVector<QPoint> m_picture;
    QPoint m_backgroundButton;

    QString Thumbnail(int i) const { return m_folders.workFolder + QString("TempNoteList/%1.jpg").arg(i); }
    int Thumbnails() const { return QDir(m_folders.workFolder + "TempNoteList").entryList({"*.jpg"}).size(); }

    QString Window(const QString& title)
    {
        const QStringList ids = WaitForXWindows("^" + title + "$", 10000, m_board.pid());
        return ids.value(0);
    }

    bool Gone(const QString& title) { return WaitForNoXWindows("^" + title + "$", 10000, m_board.pid()); }

    // A stroke across the board, awaited until the board has made it an object.
    bool Stroke(QPoint from, QPoint to)
    {
        const int mark = m_board.lines().size();
        XdotoolDrag(from, to);
        if (m_board.waitForLine(" kind 3 media", 10000, mark) < 0) {
            qWarning("the stroke did not become an object within 10 s");
            return false;
        }
        return true;
    }

    // Opens the note list and waits until it has filled it: the progress
    // window over it is gone then.
    QRect OpenNoteList()
    {
        const int mark = m_board.lines().size();
        Click(m_at["notelistbtn"]);
        const QString id = Window("Note List");
        if (id.isEmpty() || m_board.waitForLine("note list filled", 20000, mark) < 0) {
            qWarning("the note list did not open and fill within 20 s");
            return QRect();
        }
        return XWindowGeometry(id);
    }

    QImage Screen() { return TakeScreenshot(m_root->path() + "/screen.png"); }

    // Screenshots until `enough` pixels of `area` are `is`, for at most
    // `timeoutMs` of real time (a screenshot takes its time).
    bool ShowsAtLeast(QRect area, const std::function<bool(QColor)>& is, int enough, int timeoutMs = 15000)
    {
        QElapsedTimer clock;
        clock.start();
        do {
            const QImage shot = Screen();
            if (!shot.isNull() && Count(shot, area, is) >= enough)
                return true;
            QTest::qWait(300);
        } while (clock.elapsed() < timeoutMs);
        Screen().save(QDir::current().filePath("note-list-last.png"));
        return false;
    }

    void LearnWindowLayouts()
    {
        // The note list with five pages of the board's size.
        QTemporaryDir pages;
        QImage page(1280, 700, QImage::Format_RGB32);
        page.fill(Qt::white);
        QVERIFY(page.save(pages.filePath("page.jpg")));
        QVector<NoteInfo> records(5);
        for (int i = 0; i < 5; ++i) {
            records[i].create_data = N(i);
            records[i].imagePath = pages.filePath("page.jpg");
        }
        NoteDialog notes;
        notes.InitDialog(pages.path() + "/");
        notes.SetEditMode(true);
        notes.SetNoteList(&records, 0);
        notes.show();
        notes.StartMakeThumbnails();
        QTRY_COMPARE_WITH_TIMEOUT(notes.list()->count(), 5, 10000);
        for (int i = 0; i < 5; ++i) {
            const QRect r = notes.list()->visualItemRect(notes.list()->item(i));
            m_thumbnail << notes.list()->viewport()->mapTo(&notes, QPoint(r.center().x(), r.top() + 60));
        }
        m_deleteButton = notes.deleteButton()->geometry().center();
        m_closeButton = notes.closeButton()->geometry().center();
        notes.NoteListClose();

        // With the program's texts: the buttons are sized to them.
        LanguageTexts texts = ReadLanguageFile(BuiltProgramFolder() + "/Language/ENU.lng");
        clipart browser;
        browser.InitDialog(BuiltProgramFolder() + "/Clipart/");
        browser.SetLanguageText(&texts.common, &texts.clipart);
        browser.show();
        QVERIFY(QTest::qWaitForWindowExposed(&browser));
        QTreeWidgetItem* root = browser.tree()->topLevelItem(0);
        QTreeWidgetItem* nature = nullptr;
        for (int i = 0; i < root->childCount(); ++i)
            if (root->child(i)->text(0) == "Nature")
                nature = root->child(i);
        QVERIFY(nature);
        m_natureFolder = browser.tree()->viewport()->mapTo(&browser, browser.tree()->visualItemRect(nature).center());
        browser.SelectItem(nature, 0);
        QVERIFY(browser.WaitForListing(10000));
        QTRY_COMPARE_WITH_TIMEOUT(browser.list()->count(), 5, 10000);
        for (int i = 0; i < 5; ++i) {
            const QRect r = browser.list()->visualItemRect(browser.list()->item(i));
            m_picture << browser.list()->viewport()->mapTo(&browser, QPoint(r.center().x(), r.top() + 50));
        }
        m_backgroundButton = browser.backgroundButton()->geometry().center();
        browser.hide();
    }

private slots:
    void initTestCase()
    {
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
        m_folders = PrepareSettingsFolders();
        {
            ScopedLibraryFolder libraries(m_noLibraries->path());
            Dialog layout;
            layout.InitDialog(false);
            const QPoint origin(layout.m_canvasLeft, 0);
            for (QPushButton* b : layout.findChildren<QPushButton*>())
                m_at.insert(b->objectName(), b->geometry().center() + origin);
            layout.CreateNoteSubBtn();
            for (QPushButton* b : layout.m_subButtons)
                if (layout.m_rowMapper->mapping(QStringLiteral("ClipArt")) == b)
                    m_clipArtButton = b->geometry().center() + origin;
            QVERIFY(!m_clipArtButton.isNull());
        }
        LearnWindowLayouts();
        QProcessEnvironment environment;
        environment.insert("DRAVIK_NO_MODAL", "1");
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, environment));
        QVERIFY2(m_board.waitForLine("time Done", 20000) >= 0, "the splash screen did not close within 20 s");

        // Five pages, each with its own mark; the fifth is shown.
        for (int page = 1; page <= 5; ++page) {
            if (page > 1) {
                Click(m_at["notebtn"]);
                QTRY_COMPARE_WITH_TIMEOUT(QDir(m_folders.workFolder).entryList({"*.jpg"}, QDir::Files).size(), page,
                                          10000);
            }
            QVERIFY(Stroke(QPoint(300, MarkY(page)), QPoint(700, MarkY(page))));
        }
    }

    void cleanupTestCase()
    {
        m_board.kill();
        m_root.reset();
    }

    void listShowsEveryPage()
    {
        const int mark = m_board.lines().size();
        Click(m_at["notelistbtn"]);
        const QString id = Window("Note List");
        QVERIFY(!id.isEmpty());
        QCOMPARE(XWindowGeometry(id).size(), QSize(750, 660));
        QTRY_COMPARE_WITH_TIMEOUT(Thumbnails(), 5, 10000);
        const QStringList pages = QDir(m_folders.workFolder).entryList({"*.jpg"}, QDir::Files);
        QCOMPARE(pages.size(), 5);
        const QSize page = QImage(m_folders.workFolder + pages.first()).size();
        for (int i = 0; i < 5; ++i)
            QTRY_COMPARE(QImage(Thumbnail(i)).size(), page.scaled(310, 270, Qt::KeepAspectRatio));
        QVERIFY2(m_board.waitForLine("note list filled : 5", 20000, mark) >= 0, "the note list was not filled in 20 s");
    }

    void doubleClickShowsThatPage()
    {
        // Still open from the test before, and filled: the progress is gone.
        QVERIFY2(m_board.waitForLine("note list filled : 5", 20000) >= 0, "the note list was not filled in 20 s");
        const QRect window = XWindowGeometry(Window("Note List"));
        const int from = m_board.lines().size();
        Click(window.topLeft() + m_thumbnail[2], 2);
        QVERIFY(m_board.waitForLine("change note :", 10000, from) >= 0);
        QVERIFY(Gone("Note List"));
        QImage shot;
        QTRY_VERIFY2_WITH_TIMEOUT((shot = Screen(), Count(shot, QRect(350, MarkY(3) - 3, 300, 7), Dark) > 200),
                                  "the third page shown", 10000);
        for (int page = 1; page <= 5; ++page) {
            const int ink = Count(shot, QRect(350, MarkY(page) - 3, 300, 7), Dark);
            QVERIFY2(page == 3 ? ink > 200 : ink == 0, qPrintable(QString("page %1: %2").arg(page).arg(ink)));
        }
    }

    void dragReordersThePages()
    {
        const QRect window = OpenNoteList();
        QVERIFY(!window.isEmpty());
        QVector<QByteArray> before;
        for (int i = 0; i < 5; ++i) {
            QFile file(Thumbnail(i));
            QVERIFY(file.open(QIODevice::ReadOnly));
            before << file.readAll();
        }
        const int from = m_board.lines().size();
        XdotoolDrag(window.topLeft() + m_thumbnail[0], window.topLeft() + m_thumbnail[3], 40);
        QVERIFY(m_board.waitForLine("start drag index: 0 dst drop index:  3 isRec : false", 10000, from) >= 0);
        // The thumbnails follow their pages: 2, 3, 4, 1, 5.
        const int movedFrom[5] = {1, 2, 3, 0, 4};
        const auto notFollowing = [&]() {
            for (int i = 0; i < 5; ++i) {
                QFile file(Thumbnail(i));
                if (!file.open(QIODevice::ReadOnly) || file.readAll() != before[movedFrom[i]])
                    return i;
            }
            return -1;
        };
        QTRY_COMPARE_WITH_TIMEOUT(notFollowing(), -1, 10000);
        QVERIFY(!FindXWindows("^Note List$", m_board.pid()).isEmpty());
    }

    void deleteLeavesFourPages()
    {
        const QRect window = XWindowGeometry(Window("Note List"));
        Click(window.topLeft() + m_thumbnail[1]);
        const int from = m_board.lines().size();
        Click(window.topLeft() + m_deleteButton);
        QVERIFY(m_board.waitForLine("message box question: Confirm", 10000, from) >= 0);
        QVERIFY(m_board.waitForLine("DeleteNote : note_name =", 10000, from) >= 0);
        QTRY_COMPARE_WITH_TIMEOUT(Thumbnails(), 4, 10000);
        // Filled again with the four: the progress is gone.
        QVERIFY(m_board.waitForLine("note list filled : 4", 10000, from) >= 0);
        Click(window.topLeft() + m_closeButton);
        QVERIFY(Gone("Note List"));
    }

    void clipArtPlacesAndLaysPictures()
    {
        // The note button held until its row opens.
        int from = m_board.lines().size();
        Xdotool({"mousemove", N(m_at["notebtn"].x()), N(m_at["notebtn"].y()), "mousedown", "1"});
        const bool opened = m_board.waitForLine("toolbar row open : notebtn", 10000, from) >= 0;
        Xdotool({"mouseup", "1"});
        QVERIFY2(opened, "the row of the note button did not open within 10 s");
        Click(m_clipArtButton);
        const QString id = Window("Clip Art");
        QVERIFY(!id.isEmpty());
        QCOMPARE(XWindowGeometry(id).size(), QSize(594, 461));
        // Out of the way of the page's middle, where pictures are placed.
        Xdotool({"windowmove", id, "680", "0"});
        QTRY_COMPARE_WITH_TIMEOUT(XWindowGeometry(id).topLeft(), QPoint(680, 0), 10000);
        const QRect window = XWindowGeometry(id);

        from = m_board.lines().size();
        Click(window.topLeft() + m_natureFolder);
        QVERIFY2(m_board.waitForLine("clip art listed : 5", 10000, from) >= 0, "the Nature folder was not listed");
        // Cloud, the first picture, handed to the page to place.
        const QString nature = QDir(BuiltProgramFolder() + "/Clipart/Nature").absolutePath();
        from = m_board.lines().size();
        Click(window.topLeft() + m_picture[0], 2);
        QVERIFY(m_board.waitForLine("exe : InsertClipArtImage " + nature + "/Cloud.png", 10000, from) >= 0);
        // The cloud lands selected in the page's middle, where the sun will
        // be laid: it is dragged aside first (the program reads the drag
        // before the clicks below).
        QVERIFY(m_board.waitForLine(" kind 2 ", 10000, from) >= 0);
        XdotoolDrag(QPoint(600, 400), QPoint(300, 400));

        // Sun, the fourth, laid as the background.
        Click(window.topLeft() + m_picture[3]);
        Click(window.topLeft() + m_backgroundButton);
        QVERIFY(ShowsAtLeast(QRect(0, 0, 680, 800), SunYellow, 8000));

        // Tree, the fifth, dragged onto the board.
        from = m_board.lines().size();
        XdotoolDrag(window.topLeft() + m_picture[4], QPoint(250, 560), 40);
        QVERIFY(m_board.waitForLine("exe : InsertClipArtImage " + nature + "/Tree.png", 10000, from) >= 0);
    }
};

QTEST_MAIN(NoteListProgramTest)
#include "note_list_program_xtest.moc"
