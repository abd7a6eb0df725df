// Opening a project on the real main window: the job's board goes in place
// as a whole when the job has ended, an old-layout lesson is saved beside
// itself under a new name, and a file that is no project says so once and
// leaves one blank page.
#include "app/ui/dialog.h"
#include "board/event_kind.h"
#include "storage/project_load.h"
#include "storage/ui/progressdlg.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"
#include "tests/support/zip_fixture.h"
#include "ui_dialog.h"

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

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

// Every entry of a zip archive by name.
QMap<QString, QByteArray> ZipEntries(const QString& path)
{
    QMap<QString, QByteArray> entries;
    QuaZip zip(path);
    if (!zip.open(QuaZip::mdUnzip))
        return entries;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        QuaZipFile file(&zip);
        if (file.open(QIODevice::ReadOnly))
            entries.insert(zip.getCurrentFileName(), file.readAll());
    }
    return entries;
}

// Three pages, each with a line and a free-pen stroke of its own colour.
storage::ProjectSnapshot ThreePages(QSize view)
{
    storage::ProjectSnapshot project;
    const QColor colours[] = {Qt::red, Qt::darkGreen, Qt::blue};
    for (int n = 0; n < 3; ++n) {
        NoteInfo note;
        note.name = note.path = QStringLiteral("WhiteBoard");
        note.create_data = QStringLiteral("2024010209000000%1").arg(n);
        project.notes << note;
        for (int kind : {int(ekLine), int(ekFree)}) {
            const int slot = kind == ekLine ? 4 : 2;
            EventMaster em;
            em.Kind = EventKind(kind);
            em.EventID = quint16(project.slotTables[slot].masters.size());
            em.Slot = quint16(slot);
            em.NoteName = note.create_data;
            EventDetail ed;
            ed.EventID = em.EventID;
            const int y = 100 + 60 * n + (kind == ekFree ? 200 : 0);
            ed.S = ed.M = QPointF(100, y);
            ed.E = ed.C = QPointF(400, y + 40);
            ed.BoundRF = ed.OriginRF = QRect(100, y, 300, 40);
            ed.PenColor = colours[n];
            ed.PenWidth = 6;
            project.slotTables[slot].masters << em;
            project.slotTables[slot].details << ed;
            if (kind == ekFree) {
                for (int i = 0; i < 30; ++i) {
                    FreePenPoint p;
                    p.EventID = em.EventID;
                    p.MouseAction = i == 0 ? 1 : (i == 29 ? 3 : 2);
                    p.S = p.M = QPointF(100 + 10 * i, y + (i % 5) * 8);
                    project.slotTables[slot].points << p;
                }
            }
        }
    }
    project.boardSize = project.pageSize = view;
    return project;
}

QImage Argb(const QImage& image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
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

    QString SaveLesson(const storage::ProjectSnapshot& project, const QString& name)
    {
        const QString path = m_files.filePath(name);
        QDir().mkpath(m_files.filePath("stage"));
        if (!storage::SaveProjectFile(project, m_files.filePath("stage/"), "s", path, [](const QString&, int) {}).saved)
            return QString();
        return path;
    }

    static void SaveAs(Dialog& d, const QString& path)
    {
        d.m_currentProjectPath = path;
        d.OptProjectSave();
        QTRY_VERIFY_WITH_TIMEOUT(d.m_ThreadPrjSave.isFinished() && !d.m_progressDlg->isVisible(), 30000);
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
        // The pages' files are painted behind the board.
        d->FinishPageImages();
        for (const NoteInfo& note : qAsConst(d->m_note_list))
            QVERIFY(QFileInfo(note.imagePath).isFile());
        QCOMPARE(Count("Load project file"), 0);
    }

    // Opening paints no page; the pages' files are painted behind the board.
    // They are what opening used to write, and every page, once shown, has
    // the pixels its records paint.
    void pagesArePaintedAsOpeningPaintedThem()
    {
        auto d = MakeWindow();
        const QSize view(d->m_view_width, d->m_view_height);
        const QString path = SaveLesson(ThreePages(view), "three.vk");
        QVERIFY(!path.isEmpty());
        QTemporaryDir work;
        const storage::ProjectLoadSettings settings{work.path() + "/", d->m_paperFolder, view};
        storage::LoadedProject reference = storage::LoadProjectFile(
            path, settings, d->ProjectLoadBackground(), DocumentRenderer(), d->ProjectPageOptions(),
            [](const QString&, int) {});
        QCOMPARE(reference.notes.size(), 3);

        Open(*d, path);
        d->FinishPageImages();
        for (int i = 0; i < 3; ++i) {
            const QByteArray painted = ReadTestFile(d->m_note_list.at(i).imagePath);
            QVERIFY2(!painted.isEmpty(), qPrintable(d->m_note_list.at(i).imagePath));
            QVERIFY2(painted == ReadTestFile(reference.notes.at(i).imagePath), qPrintable(QString::number(i)));
        }
        const BackgroundRequest pages = storage::PagesBackground(d->ProjectLoadBackground(), reference);
        for (int i : {1, 2, 0}) {
            d->ChangeNote(reference.notes.at(i).create_data);
            const QImage expected =
                storage::PaintProjectPage(reference, i, pages, DocumentRenderer(), d->ProjectPageOptions());
            QVERIFY2(Argb(d->m_canvasImage) == Argb(expected), qPrintable(QString::number(i)));
        }
    }

    // A save right after the open, before any other page was shown, writes
    // the project a save after showing every page writes, thumbnail of a
    // page not shown included.
    void saveRightAfterOpenMissesNoPage()
    {
        auto first = MakeWindow();
        const QString path = SaveLesson(ThreePages(QSize(first->m_view_width, first->m_view_height)), "pages.vk");
        QVERIFY(!path.isEmpty());
        Open(*first, path);
        // A recording that started on the second page gives the thumbnail.
        first->m_rec_note_index = {1};
        const QString atOnce = m_files.filePath("at once.vk");
        SaveAs(*first, atOnce);

        auto second = MakeWindow();
        Open(*second, path);
        for (int i : {1, 2, 0})
            second->ChangeNote(second->m_note_list.at(i).create_data);
        second->m_rec_note_index = {1};
        const QString afterVisits = m_files.filePath("after visits.vk");
        SaveAs(*second, afterVisits);

        const QMap<QString, QByteArray> saved = ZipEntries(atOnce);
        QVERIFY2(saved.contains("thumbnail_20240102090000001.jpg"), qPrintable(saved.keys().join(' ')));
        QCOMPARE(saved.keys(), ZipEntries(afterVisits).keys());
        QVERIFY(saved == ZipEntries(afterVisits));
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
