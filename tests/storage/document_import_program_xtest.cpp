// A PDF imported as a person would, with xdotool under a private X server:
// the note row's document command, the help that comes first until it is
// switched off, the file dialog, the page range of the import form, and the
// chosen pages on the board.
#include "app/ui/dialog.h"
#include "storage/ui/import_dlg.h"
#include "storage/ui/show_import_msg.h"
#include "tests/support/board_screen.h"
#include "tests/support/running_program.h"
#include "tests/support/screenshot.h"
#include "tests/support/test_folders.h"
#include "tests/support/xdotool.h"
#include "tests/support/zip_fixture.h"
#include "ui_dialog.h"
#include "ui_import_dlg.h"
#include "ui_show_import_msg.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

QString N(int v) { return QString::number(v); }

// The program reads the clicks and keys in the order they are sent: a click
// needs no wait unless what it starts is awaited.
void Click(QPoint p)
{
    Xdotool({"mousemove", N(p.x()), N(p.y()), "click", "1"});
}

const QColor kPageColours[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};

// Four pages, each filled with its own colour, so the screen tells which
// page the board shows.
bool MakeColouredPdf(const QString& path)
{
    QPdfWriter writer(path);
    writer.setResolution(72);
    writer.setPageMargins(QMarginsF());
    writer.setPageSize(QPageSize(QSizeF(400, 300), QPageSize::Point, QString(), QPageSize::ExactMatch));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    for (int i = 0; i < 4; ++i) {
        if (i > 0)
            writer.newPage();
        painter.fillRect(QRectF(0, 0, 400, 300), kPageColours[i]);
    }
    return painter.end();
}

// Pixels of a colour on the board, below the toolbar (whose record button
// is red), every fourth in each direction.
int CountPixels(const QImage& image, const QColor& colour)
{
    int n = 0;
    for (int y = 60; y < image.height(); y += 4)
        for (int x = 0; x < image.width(); x += 4) {
            const QColor c = image.pixelColor(x, y);
            n += qAbs(c.red() - colour.red()) < 40 && qAbs(c.green() - colour.green()) < 40
                         && qAbs(c.blue() - colour.blue()) < 40
                     ? 1
                     : 0;
        }
    return n;
}

}  // namespace

class DocumentImportProgramTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    RunningProgram m_board;
    QString m_pdf;
    QPoint m_noteButton;
    QPoint m_officeButton;
    QPoint m_helpCheck, m_helpClose;            // within the help window
    QPoint m_startPage, m_endPage, m_importOk;  // within the import form

    QImage Screen() { return TakeScreenshot(m_root->path() + "/screen.png"); }

    // The one window of the program named `title` whose size is `size`.
    // A PDF is read before the form shows; under a sanitizer on a busy
    // machine that takes many seconds, hence the long deadline.
    QPoint WindowAt(const QString& title, QSize size, QString* id = nullptr)
    {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < 30000) {
            for (const QString& window : FindXWindows(title, m_board.pid())) {
                const QRect geometry = XWindowGeometry(window);
                if (geometry.size() == size) {
                    if (id)
                        *id = window;
                    return geometry.topLeft();
                }
            }
            QTest::qWait(100);
        }
        qWarning("no window %s of %d x %d came within 30 s", qPrintable(title), size.width(), size.height());
        return QPoint(-1, -1);
    }

    QStringList PageFiles()
    {
        QStringList names;
        QDirIterator it(m_root->path() + "/Temp/Orbel5", {"pages*.pdf"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            names << QFileInfo(it.next()).fileName();
        names.sort();
        return names;
    }

private slots:
    void initTestCase()
    {
        qputenv("LC_ALL", "C.UTF-8");
        qputenv("DRAVIK_MIXER", "/bin/false");
        QTemporaryDir noLibraries;
        {
            // Boxes about the missing libraries are only logged here.
            qputenv("DRAVIK_NO_MODAL", "1");
            ScopedFolderRoot layoutRoot;
            // The same layout code on the same screen gives the places the
            // program shows.
            ScopedLibraryFolder libraries(noLibraries.path());
            Dialog layout;
            layout.InitDialog(false);
            const QPoint origin(layout.m_canvasLeft, 0);
            QPushButton* note = layout.ui->notebtn;
            m_noteButton = note->mapTo(&layout, note->rect().center()) + origin;
            layout.CreateNoteSubBtn();
            QPushButton* office = layout.m_subButtons.last();
            m_officeButton = office->mapTo(&layout, office->rect().center()) + origin;

            ShowImportMsg help;
            m_helpCheck = help.ui->checkBox->geometry().topLeft() + QPoint(8, 8);
            m_helpClose = help.ui->closeBtn->geometry().center();
            ImportDlg form;
            m_startPage = form.ui->sStartPage->geometry().center() - QPoint(15, 0);
            m_endPage = form.ui->sEndPage->geometry().center() - QPoint(15, 0);
            m_importOk = form.ui->btnOK->geometry().center();
        }
        qunsetenv("DRAVIK_NO_MODAL");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_pdf = m_root->path() + "/pages.pdf";
        QVERIFY(MakeColouredPdf(m_pdf));
        // The help before an import is switched on.
        QVERIFY(WriteTestFile(m_root->path() + "/ProgramData/Norvane/Dravik/Config.ini",
                              "[Normal]\nlanguage=-1\n"
                              "[Note]\ncolor=white\nbgtrans=255\nlogotrans=255\n"
                              "[Option]\ncursor=true\nShowImportMsg=true\n"
                              "[Pen]\nFPenWidth1=1\nFPenWidth2=4\nFPenWidth3=7\nFPenWidth4=10\n"));
        // From here on the dialogs are real ones, answered as a person would.
        QVERIFY(StartWhiteboard(m_board, {"/noAutoUpdate"}, QProcessEnvironment()));
        QVERIFY2(m_board.waitForLine("time Done", 30000) >= 0, "the splash screen never closed");
    }

    void cleanupTestCase()
    {
        m_board.kill();
        m_root.reset();
    }

    void helpThenChosenPagesBecomePages()
    {
        QVERIFY(OpenToolbarRow(m_board, "notebtn", m_noteButton));
        Click(m_officeButton);
        const QPoint help = WindowAt("^Import Document$", QSize(501, 308));
        QVERIFY2(help.x() >= 0, "no help window");
        // Switched off for later imports, then on to the file.
        Click(help + m_helpCheck);
        Click(help + m_helpClose);

        QVERIFY2(XdotoolTypeInto(m_board.pid(), "Open document", {"type:" + m_pdf, "Return"}), "no file dialog");

        QString formWindow;
        const QPoint form = WindowAt("^Import Document$", QSize(428, 159), &formWindow);
        QVERIFY2(form.x() >= 0, "no import form");
        // Pages 2 to 3 of 4, typed into the form once it has the keyboard.
        QVERIFY(GiveKeyboard(formWindow));
        Click(form + m_startPage);
        Xdotool({"key", "Up"});
        Click(form + m_endPage);
        Xdotool({"key", "Down"});
        Click(form + m_importOk);

        QTRY_COMPARE_WITH_TIMEOUT(PageFiles(), QStringList({"pages1.pdf", "pages2.pdf"}), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(FindXWindows("^Import Document$", m_board.pid()).isEmpty(), 10000);
        // The board shows the first imported page: the second of the file.
        QTRY_VERIFY_WITH_TIMEOUT(CountPixels(Screen(), Qt::green) > 2000, 10000);
        const QImage shot = Screen();
        QCOMPARE(CountPixels(shot, Qt::red), 0);
        QCOMPARE(CountPixels(shot, Qt::yellow), 0);
    }

    void helpStaysOffOnceSwitchedOff()
    {
        // The note button repeats the document command.
        Click(m_noteButton);
        QVERIFY(!WaitForXWindows("^Open document$", 20000, m_board.pid()).isEmpty());
        QVERIFY(FindXWindows("^Import Document$", m_board.pid()).isEmpty());
        QVERIFY(XdotoolTypeInto(m_board.pid(), "Open document", {"Escape"}));
        QTRY_VERIFY_WITH_TIMEOUT(FindXWindows("^Open document$", m_board.pid()).isEmpty(), 10000);

        QCOMPARE(CloseWhiteboard(m_board), 0);
        QSettings ini(m_root->path() + "/ProgramData/Norvane/Dravik/Config.ini", QSettings::IniFormat);
        QCOMPARE(ini.value("Option/ShowImportMsg").toString(), QString("false"));
    }
};

QTEST_MAIN(DocumentImportProgramTest)
#include "document_import_program_xtest.moc"
