// The note row's "LoadImage" as a person uses it: the real file dialog, a
// picture typed in, Yes to a page of its own; a second picture of the same
// name from another folder gets its own page; Cancel changes nothing.
#include "app/ui/dialog.h"
#include "storage/settings_file.h"
#include "tests/support/running_program.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "ui_dialog.h"

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QElapsedTimer>
#include <QtTest>

#include <functional>
#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
}

QString MakePicture(const QString& folder, QColor colour)
{
    QDir().mkpath(folder);
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = folder + "/pic.png";
    return image.save(path) ? path : QString();
}

int CountPixels(const QImage& image, QRect area, const std::function<bool(QColor)>& is)
{
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); y += 2)
        for (int x = area.left(); x <= area.right(); x += 2)
            n += is(image.pixelColor(x, y)) ? 1 : 0;
    return n;
}

bool Red(QColor c) { return c.red() > 180 && c.green() < 80 && c.blue() < 80; }
bool Blue(QColor c) { return c.blue() > 180 && c.green() < 80 && c.red() < 80; }
bool Green(QColor c) { return c.green() > 180 && c.red() < 80 && c.blue() < 80; }
bool Dark(QColor c) { return c.red() < 90 && c.green() < 90 && c.blue() < 90; }

}  // namespace

class ImageFileProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    QTemporaryDir m_pictures;
    RunningProgram m_board;
    QPoint m_noteArrow;
    QPoint m_loadImage;
    QPoint m_previousPage;
    QRect m_middle;  // a part of the board the fitted picture covers

    QImage Screen()
    {
        const QString path = m_root->path() + "/screen.png";
        QFile::remove(path);
        QProcess::execute("import", {"-window", "root", path});
        return QImage(path);
    }

    // Page images of the work folder.
    QStringList PageImages() const
    {
        QStringList found;
        QDirIterator it(WorkFolderPath(), {"*.jpg"}, QDir::Files);
        while (it.hasNext())
            found << it.next();
        return found;
    }

    // Opens the file dialog from the note row; returns its window id.
    QString OpenFileDialog()
    {
        const int mark = m_board.lines().size();
        Click(m_noteArrow);
        if (m_board.waitForLine("toolbar row open : notebtn", 10000, mark) < 0) {
            qWarning("the row of note kinds did not open within 10 s");
            return QString();
        }
        Click(m_loadImage);
        const QStringList dialogs = WaitForXWindows("^Insert image$", 10000, m_board.pid());
        if (dialogs.isEmpty()) {
            qWarning("the file dialog did not open within 10 s");
            return QString();
        }
        Xdotool({"mousemove", "--window", dialogs.first(), "60", "60"});
        // Its name field has the keyboard from the start, and keeps what is
        // typed into it while the folder is still being listed.
        return GiveKeyboard(dialogs.first()) ? dialogs.first() : QString();
    }

    // Types the picture's path into the open file dialog, then answers the
    // question with `answer`: "Return" for Yes (its default), "alt+n" for No.
    bool ChooseWithYes(const QString& picture) { return ChooseAndAnswer(picture, "Return"); }

    bool ChooseAndAnswer(const QString& picture, const QString& answer)
    {
        const QString files = OpenFileDialog();
        if (files.isEmpty())
            return false;
        Xdotool({"key", "ctrl+a"});
        Xdotool({"type", "--delay", "10", picture});
        Xdotool({"key", "Return"});
        // The question has the file dialog's title; it is the other window.
        QString box;
        QElapsedTimer clock;
        clock.start();
        while (box.isEmpty()) {
            for (const QString& id : FindXWindows("^Insert image$", m_board.pid()))
                if (id != files)
                    box = id;
            if (box.isEmpty() && clock.elapsed() > 10000) {
                qWarning("the question after the file was chosen did not come within 10 s");
                return false;
            }
            if (box.isEmpty())
                QTest::qWait(100);
        }
        Xdotool({"mousemove", "--window", box, "20", "20"});
        if (!GiveKeyboard(box))
            return false;
        Xdotool({"key", answer});
        return true;
    }

private slots:
    void initTestCase()
    {
        // The file dialog and the question are the real ones here.
        qunsetenv("DRAVIK_NO_MODAL");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
        {
            qputenv("DRAVIK_NO_MODAL", "1");
            ScopedLibraryFolder libraries(m_noLibraries->path());
            Dialog layout;
            layout.InitDialog(false);
            const QPoint origin(layout.m_canvasLeft, 0);
            m_noteArrow = layout.ui->notesubbtn->geometry().center() + origin;
            m_previousPage = layout.ui->prebtn->geometry().center() + origin;
            layout.CreateNoteSubBtn();
            QCOMPARE(layout.m_subButtons.size(), 9);
            // "LoadImage" is the eighth note kind.
            m_loadImage = layout.m_subButtons.at(7)->geometry().center() + origin;
            const QRect board = layout.rect();
            m_middle = QRect(board.center() - QPoint(80, 60), QSize(160, 120));
            qunsetenv("DRAVIK_NO_MODAL");
        }
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY2(m_board.waitForLine("time Done", 20000) >= 0, "the splash screen did not close within 20 s");
    }

    void cleanupTestCase()
    {
        m_board.kill();
        m_root.reset();
    }

    void pictureBecomesAPage()
    {
        const QString red = MakePicture(m_pictures.path() + "/one", Qt::red);
        const int before = PageImages().size();
        QVERIFY(ChooseWithYes(red));
        QTRY_COMPARE_WITH_TIMEOUT(PageImages().size(), before + 1, 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(CountPixels(Screen(), m_middle, Red) > 1000, "the red picture shown as the page", 10000);
        // The page's image holds the picture.
        bool kept = false;
        for (const QString& file : PageImages()) {
            const QImage page(file);
            kept = kept || CountPixels(page, QRect(page.rect().center() - QPoint(20, 20), QSize(40, 40)), Red) > 300;
        }
        QVERIFY(kept);
    }

    void sameNameFromAnotherFolderShowsItsOwn()
    {
        const QString blue = MakePicture(m_pictures.path() + "/two", Qt::blue);
        const int before = PageImages().size();
        QVERIFY(ChooseWithYes(blue));
        QTRY_COMPARE_WITH_TIMEOUT(PageImages().size(), before + 1, 10000);
        QTRY_VERIFY2_WITH_TIMEOUT(CountPixels(Screen(), m_middle, Blue) > 1000, "the blue picture shown as the page",
                                  10000);
        // The page before keeps its own picture.
        Click(m_previousPage);
        QTRY_VERIFY2_WITH_TIMEOUT(CountPixels(Screen(), m_middle, Red) > 1000, "the page before shown with its picture",
                                  10000);
    }

    void cancelChangesNothing()
    {
        const QStringList before = PageImages();
        const int lines = m_board.lines().size();
        QVERIFY(!OpenFileDialog().isEmpty());
        Xdotool({"key", "Escape"});
        QTRY_VERIFY2_WITH_TIMEOUT(FindXWindows("^Insert image$", m_board.pid()).isEmpty(), "the file dialog closing",
                                  10000);
        QCOMPARE(PageImages(), before);
        QVERIFY(!m_board.hasLine("create note:", lines));
        QVERIFY(CountPixels(Screen(), m_middle, Red) > 1000);
    }

    // No puts the picture on this page as an image object: drawn centred and
    // framed as the selection, its file kept in the work folder.
    void pictureAnsweredNoBecomesAnObject()
    {
        const QString green = MakePicture(m_pictures.path() + "/three", Qt::darkGreen);
        QImage picture(green);
        picture.fill(QColor(0, 200, 0));
        QVERIFY(picture.save(green));
        const QStringList before = QDir(WorkFolderPath()).entryList({"Obj_image*.png"});
        QVERIFY(before.isEmpty());
        QVERIFY(ChooseAndAnswer(green, "alt+n"));
        QTRY_COMPARE_WITH_TIMEOUT(QDir(WorkFolderPath()).entryList({"Obj_image*.png"}).size(), 1, 10000);
        QImage shot;
        QTRY_VERIFY2_WITH_TIMEOUT((shot = Screen(), CountPixels(shot, m_middle, Green) > 1000),
                                  "the green picture shown as an object", 10000);
        shot.save(QDir::current().filePath("image-object.png"));
        QVERIFY(CountPixels(shot, m_middle, Green) > 1000);
        // Centred: the picture's own edges, then the frame just outside them.
        const QRect placed(m_middle.center() - QPoint(200, 150), QSize(400, 300));
        QVERIFY(CountPixels(shot, placed.adjusted(4, 4, -4, -4), Green) > 20000);
        QCOMPARE(CountPixels(shot, QRect(placed.left() - 40, placed.center().y() - 20, 20, 40), Green), 0);
        QVERIFY(CountPixels(shot, QRect(placed.left() - 14, placed.center().y() - 30, 14, 60), Dark) > 0);
    }
};

QTEST_MAIN(ImageFileProgramTest)
#include "image_file_xtest.moc"
