// Opening a project on the real main window: the job's board goes in place
// as a whole when the job has ended, an old-layout lesson is saved beside
// itself under a new name, and a file that is no project says so once and
// leaves one blank page.
#include "app/ui/dialog.h"
#include "storage/project_load.h"
#include "storage/ui/progressdlg.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"
#include "ui_dialog.h"

#include <QBuffer>
#include <QMutex>
#include <QtTest>

#include <memory>

namespace {

QMutex g_logMutex;

void CollectLogSafely(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QMutexLocker lock(&g_logMutex);
    CollectLog(type, context, message);
}

QByteArray Jpeg(QSize size, QColor colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}

}  // namespace

class DialogProjectLoadTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    QTemporaryDir m_files;

    std::unique_ptr<Dialog> MakeWindow()
    {
        ScopedLibraryFolder libraries(m_noLibraries->path());
        auto dialog = std::make_unique<Dialog>();
        dialog->InitDialog(false);
        dialog->m_currentProjectFolder = m_files.path();
        return dialog;
    }

    static void Open(Dialog& d, const QString& path)
    {
        d.OpenISPFile(path);
        // The job's end installs its board and lets go of the job.
        QTRY_VERIFY_WITH_TIMEOUT(d.m_ThreadPrjLoad.isFinished() && !d.m_projectLoadJob, 30000);
    }

    static int Count(const QString& text)
    {
        QMutexLocker lock(&g_logMutex);
        return g_log.filter(text).size();
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLogSafely);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
    }

    void init()
    {
        QMutexLocker lock(&g_logMutex);
        g_log.clear();
    }

    // Two pages written on a board of the same size: both come back, the
    // first is shown with its line, the counter says so, nothing is unsaved.
    void openedProjectIsShown()
    {
        auto d = MakeWindow();
        const QSize view(d->m_view_width, d->m_view_height);
        storage::ProjectSnapshot project;
        for (const char* stamp : {"20240102090000000", "20240102090000001"}) {
            NoteInfo note;
            note.name = note.path = QStringLiteral("WhiteBoard");
            note.create_data = QString::fromLatin1(stamp);
            project.notes << note;
        }
        EventMaster em;
        em.Kind = ekLine;
        em.NoteName = project.notes.first().create_data;
        EventDetail ed;
        ed.S = ed.M = QPointF(100, 100);
        ed.E = ed.C = QPointF(300, 100);
        ed.BoundRF = ed.OriginRF = QRect(100, 100, 200, 1);
        ed.PenColor = Qt::red;
        ed.PenWidth = 8;
        project.slotTables[4].masters << em;
        project.slotTables[4].details << ed;
        project.boardSize = project.pageSize = view;
        const QString path = m_files.filePath("two.vk");
        QVERIFY(QDir().mkpath(m_files.filePath("stage")));
        QVERIFY(storage::SaveProjectFile(project, m_files.filePath("stage/"), "s", path, [](const QString&, int) {}).saved);
        d->m_boardModified = false;

        Open(*d, path);

        QCOMPARE(d->m_note_list.size(), 2);
        QCOMPARE(d->m_note_idx, 0);
        QCOMPARE(d->m_curr_note.create_data, project.notes.first().create_data);
        QCOMPARE(d->m_currentProjectPath, path);
        QVERIFY(!d->m_boardModified);
        QVERIFY(!d->m_legacyProject);
        QCOMPARE(d->m_contentArea, QRect(QPoint(0, 0), view));
        QCOMPARE(d->m_board.slot[4].records.masters().size(), 1);
        QCOMPARE(d->m_board.slot[4].nextEventId, 1);
        QCOMPARE(d->ui->notelistLabel->text(), QStringLiteral("1/2"));
        QCOMPARE(d->m_canvasImage.pixelColor(200, 100), QColor(Qt::red));
        for (const NoteInfo& note : qAsConst(d->m_note_list))
            QVERIFY(QFileInfo(note.imagePath).isFile());
        QCOMPARE(Count("Load project file"), 0);
    }

    // An old-layout lesson opens as picture pages; its next save writes a new
    // file beside it and leaves it as it was.
    void olderLessonIsSavedBesideItself()
    {
        auto d = MakeWindow();
        const QString path = m_files.filePath("old lesson.vj");
        QVERIFY(MakeZip(path, {{"Notes.inx", "20190101.jpg\r\n"},
                               {"20190101.jpg", Jpeg(QSize(d->m_view_width, d->m_view_height), Qt::white)},
                               {"EM_0.xml", "<r><EMInfo_0 Kind=\"5\" EventID=\"0\" NoteName=\"20190101\"/></r>"},
                               {"ED_0.xml", QStringLiteral("<r><EDInfo_0 NoteWidth=\"%1\" NoteHeight=\"%2\" EventID=\"0\" "
                                                           "PenColor=\"65280\" PenWidth=\"4\"/></r>")
                                                .arg(d->m_view_width).arg(d->m_view_height).toUtf8()}}));
        const QByteArray original = ReadTestFile(path);

        Open(*d, path);
        QCOMPARE(d->m_note_list.size(), 1);
        QCOMPARE(d->m_note_list.first().type, 2);
        QCOMPARE(d->m_note_list.first().name, QStringLiteral("Ori_20190101.jpg"));
        QVERIFY(d->m_legacyProject);

        d->OptProjectSave();
        QTRY_VERIFY_WITH_TIMEOUT(d->m_ThreadPrjSave.isFinished() && !d->m_progressDlg->isVisible(), 30000);
        const QString saved = m_files.filePath("old lesson_new.vk");
        QVERIFY2(QFileInfo(saved).isFile(), qPrintable(g_log.join('\n')));
        QCOMPARE(d->m_currentProjectPath, saved);
        QVERIFY(!d->m_legacyProject);
        QCOMPARE(ReadTestFile(path), original);
    }

    // A lesson from a wider screen is fitted to a page smaller than the view;
    // saved again and reopened, the page lies where the first open put it.
    void fittedLessonKeepsItsPageAcrossSaves()
    {
        auto d = MakeWindow();
        const QSize view(d->m_view_width, d->m_view_height);
        storage::ProjectSnapshot project;
        NoteInfo note;
        note.name = note.path = QStringLiteral("WhiteBoard");
        note.create_data = QStringLiteral("20240102090000000");
        project.notes << note;
        project.boardSize = project.pageSize = QSize(view.width() * 2, view.height());
        const QString wide = m_files.filePath("wide.vk");
        QVERIFY(QDir().mkpath(m_files.filePath("stage")));
        QVERIFY(storage::SaveProjectFile(project, m_files.filePath("stage/"), "s", wide, [](const QString&, int) {}).saved);
        d->m_boardModified = false;
        Open(*d, wide);
        const QRect fitted = d->m_contentArea;
        const int pageHeight = int(0.5 * view.height());
        QCOMPARE(fitted, QRect(0, (view.height() - pageHeight) / 2, view.width(), pageHeight));

        const QString again = m_files.filePath("again.vk");
        d->m_currentProjectPath = again;
        d->OptProjectSave();
        QTRY_VERIFY_WITH_TIMEOUT(d->m_ThreadPrjSave.isFinished() && !d->m_progressDlg->isVisible(), 30000);
        QVERIFY2(QFileInfo(again).isFile(), qPrintable(g_log.join('\n')));

        auto reopened = MakeWindow();
        reopened->m_boardModified = false;
        Open(*reopened, again);
        QCOMPARE(reopened->m_contentArea, fitted);
    }

    // A damaged file opens with what could be read and says so; the next
    // save asks for a name instead of writing over the original.
    void damagedLessonIsNotSavedOver()
    {
        auto d = MakeWindow();
        const QString path = m_files.filePath("damaged.vk");
        QVERIFY(MakeZip(path, {{"Notes.xml", "<?xml version=\"1.0\"?><listwidget><NoteInfo Type=\"1\" Name=\"WhiteBoard\" "
                                              "Create=\"20240102090000000\" Path=\"WhiteBoard\"/><NoteInfo Type=\"1\" "
                                              "Name=\"WhiteBoard\" Create=\"20240102090000001\" Path=\"WhiteBoard\"/>"
                                              "</listwidget>"},
                               {"Event_0.xml", "<?xml version=\"1.0\"?><Event Note=\"20240102090000000\"><EM_0"}}));
        const QByteArray original = ReadTestFile(path);
        d->m_boardModified = false;
        Open(*d, path);
        QCOMPARE(d->m_note_list.size(), 2);
        QVERIFY2(Count("message box warning: Load project file | The project file") == 1, qPrintable(g_log.join('\n')));
        QVERIFY(Count("Event_0.xml line") > 0);
        QVERIFY(Count("Event_1.xml is missing") > 0);

        d->m_boardModified = true;
        d->OptProjectSave();
        QTRY_VERIFY_WITH_TIMEOUT(d->m_ThreadPrjSave.isFinished() && !d->m_progressDlg->isVisible(), 30000);
        QVERIFY(Count("file dialog save: Save project file") == 1);
        QCOMPARE(ReadTestFile(path), original);
    }

    void fileThatIsNoProjectSaysSoOnce()
    {
        auto d = MakeWindow();
        const QString path = m_files.filePath("broken.vk");
        QVERIFY(WriteTestFile(path, "no zip here"));

        Open(*d, path);

        QVERIFY2(Count("message box critical: Load project file") == 1, qPrintable(g_log.join('\n')));
        QCOMPARE(d->m_note_list.size(), 1);
        QCOMPARE(d->m_note_list.first().name, QStringLiteral("WhiteBoard"));
        QVERIFY(d->m_currentProjectPath.isEmpty());
        QVERIFY(!d->m_legacyProject);
    }
};

QTEST_MAIN(DialogProjectLoadTest)
#include "dialog_project_load_test.moc"
