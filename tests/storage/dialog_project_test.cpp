// The project save on the real main window: the job writes the whole lesson
// into one archive, a failed save leaves the file there untouched and says
// so, the commands ask for a name only when they need one, and the commands
// that replace the board wait for the save first.
#include "app/ui/dialog.h"
#include "panels/ui/notedialog.h"
#include "storage/ui/progressdlg.h"
#include "tests/support/session_tap.h"
#include "tests/support/debug_log.h"
#include "tests/support/test_folders.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QMutex>
#include <QProcess>
#include <QRegularExpression>
#include <QTimer>
#include <QtTest>

#include <functional>
#include <memory>
#include <unistd.h>

namespace {

// The save job logs from its own thread.
QMutex g_logMutex;

void CollectLogSafely(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    QMutexLocker lock(&g_logMutex);
    CollectLog(type, context, message);
}

int LogIndex(const QString& text)
{
    for (int i = 0; i < g_log.size(); ++i)
        if (g_log.at(i).contains(text))
            return i;
    return -1;
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

bool WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList ArchiveEntries(const QString& archive)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    unzip.waitForFinished(20000);
    QStringList entries = QString::fromUtf8(unzip.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    entries.sort();
    return entries;
}

QByteArray ArchiveEntry(const QString& archive, const QString& entry)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), archive, entry});
    unzip.waitForFinished(20000);
    return unzip.readAllStandardOutput();
}

// Answers the next modal window (a message box or a file dialog) once it is
// up; boxes are shown for real while DRAVIK_NO_MODAL is lifted.
class ModalAnswer
{
public:
    explicit ModalAnswer(std::function<void(QWidget*)> answer)
        : m_answer(std::move(answer))
    {
        // A main window that went away ended the application's event loops;
        // until a loop runs again every modal loop would end at once.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        qApp->exec();
        qunsetenv("DRAVIK_NO_MODAL");
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (!modal || modal->inherits("progressdlg"))
                return;
            m_timer.stop();
            ++m_answered;
            m_answer(modal);
        });
        m_timer.start(20);
    }
    ~ModalAnswer() { qputenv("DRAVIK_NO_MODAL", "1"); }
    int answered() const { return m_answered; }

private:
    std::function<void(QWidget*)> m_answer;
    QTimer m_timer;
    int m_answered = 0;
};

}  // namespace

class DialogProjectTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<ScopedFolderRoot> m_root;
    std::unique_ptr<QTemporaryDir> m_noLibraries;
    QTemporaryDir m_files;
    QByteArray m_path;

    std::unique_ptr<Dialog> MakeWindow()
    {
        ScopedLibraryFolder libraries(m_noLibraries->path());
        auto dialog = std::make_unique<Dialog>();
        dialog->InitDialog(false);
        dialog->m_currentProjectFolder = m_files.path();
        return dialog;
    }

    // A board page with a stroke in the mouse's slot, a picture page with a
    // figure, a PDF page with an image object.
    void FillLesson(Dialog& d)
    {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        QVERIFY(picture.save(m_files.filePath("pic.png")));
        QVERIFY(WriteFile(m_files.filePath("page.pdf"), "%PDF-1.4 page"));
        QVERIFY(picture.save(m_files.filePath("img.png")));

        NoteInfo pictureNote = d.m_note_list.first();
        pictureNote.type = 2;
        pictureNote.name = "pic.png";
        pictureNote.path = m_files.filePath("pic.png");
        pictureNote.create_data = "note_picture";
        NoteInfo pdfNote = pictureNote;
        pdfNote.type = 3;
        pdfNote.name = "page1.pdf";
        pdfNote.path = m_files.filePath("page.pdf");
        pdfNote.create_data = "note_pdf";
        d.m_note_list << pictureNote << pdfNote;
        d.m_note_cnt = d.m_note_list.size();

        const QString board = d.m_note_list.first().create_data;
        auto add = [&](int slot, quint16 id, int kind, const QString& note, quint16 media) {
            EventMaster em;
            em.EventID = id;
            em.Kind = kind;
            em.NoteName = note;
            em.StrData = media;
            EventDetail ed;
            ed.EventID = id;
            ed.S = QPointF(10.7, 20.2);
            ed.BoundRF = QRect(10, 20, 30, 40);
            ed.PenColor = Qt::black;
            d.m_board.slot[slot].records.appendMaster(em);
            d.m_board.slot[slot].records.appendDetail(ed);
        };
        add(10, 0, ekFree, board, kNoMediaIndex);
        FreePenPoint sample;
        sample.EventID = 0;
        sample.MouseAction = 1;
        d.m_board.slot[10].allPoints << sample;
        sample.MouseAction = 3;
        d.m_board.slot[10].allPoints << sample;
        add(0, 0, 9, "note_picture", kNoMediaIndex);
        add(0, 1, ekImage, "note_pdf", 0);
        d.m_mediaFiles = QStringList{m_files.filePath("img.png")};
        d.m_boardModified = true;
    }

    // Runs one save to its end (the completion slot included).
    void RunSave(Dialog& d, const std::function<void()>& command)
    {
        command();
        QTRY_VERIFY_WITH_TIMEOUT(d.m_ThreadPrjSave.isFinished() && !d.m_progressDlg->isVisible(), 30000);
    }

    // A folder whose "zip" is the given script, first on the search path.
    QString FakePacker(const QByteArray& script)
    {
        const QString folder = m_files.filePath("fakebin");
        QDir().mkpath(folder);
        const QString zip = folder + "/zip";
        QFile::remove(zip);
        if (!script.isEmpty()) {
            WriteFile(zip, script);
            QFile::setPermissions(zip, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
        return folder;
    }

    // From now on the packer makes `started` and packs once `go` is there
    // (at most half a minute later).
    void UseHoldingPacker(const QString& started, const QString& go)
    {
        QFile::remove(started);
        QFile::remove(go);
        const QByteArray script = "#!/bin/sh\ntouch '" + QFile::encodeName(started) + "'\n"
                                  "for i in $(seq 1 300); do [ -e '" + QFile::encodeName(go) + "' ] && break; sleep 0.1; done\n"
                                  "exec /usr/bin/zip \"$@\"\n";
        qputenv("PATH", (FakePacker(script) + ":" + m_path).toUtf8());
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(CollectLogSafely);
        qputenv("DRAVIK_NO_MODAL", "1");
        m_root = std::make_unique<ScopedFolderRoot>();
        m_noLibraries = std::make_unique<QTemporaryDir>();
        m_path = qgetenv("PATH");
    }

    void init()
    {
        g_log.clear();
        qputenv("PATH", m_path);
    }

    // The job goes on behind the progress window: Escape must not close it.
    void progressWindowStaysOnEscape()
    {
        progressdlg progress;
        progress.show();
        QVERIFY(QTest::qWaitForWindowExposed(&progress));
        QTest::keyClick(&progress, Qt::Key_Escape);
        QVERIFY(progress.isVisible());
        QTest::keyClick(&progress, Qt::Key_Return);
        QVERIFY(progress.isVisible());
    }

    void saveJobWritesTheLesson()
    {
        auto d = MakeWindow();
        FillLesson(*d);
        QStringList progress;
        QObject context;
        connect(d.get(), &Dialog::SetProgress, &context,
                [&](const QString& text, int value) { progress << QStringLiteral("%1 %2").arg(text).arg(value); },
                Qt::QueuedConnection);
        const QString target = m_files.filePath("lesson.vk");
        d->m_currentProjectPath = target;
        RunSave(*d, [&] { d->OptProjectSave(false); });

        QVERIFY2(d->m_projectSaveResult, qPrintable(g_log.join('\n')));
        QVERIFY(!d->m_boardModified);
        const QString thumbnail = "thumbnail_" + d->m_note_list.first().create_data + ".jpg";
        QStringList expected{"Event_0.xml", "Event_1.xml", "Event_2.xml", "Notes.xml", "StrData.dat",
                             "img.png",     "page1.pdf",   "pic.png",     thumbnail};
        expected.sort();
        QCOMPARE(ArchiveEntries(target), expected);
        QImage small;
        QVERIFY(small.loadFromData(ArchiveEntry(target, thumbnail), "JPG"));
        QCOMPARE(small.size(), QSize(320, 240));
        QVERIFY(ArchiveEntry(target, "Event_0.xml").contains("<EM_10 Type=\"EM\" Index=\"10\">"));
        QVERIFY(ArchiveEntry(target, "Event_2.xml").contains("<EM KD=\"2\" MP=\"-1\" SD=\"0\" EI=\"1\""));
        QCOMPARE(ArchiveEntry(target, "StrData.dat"), (m_files.filePath("img.png") + "\n").toUtf8());
        QVERIFY(!QFileInfo::exists(d->m_workFolder + d->m_defaultProjectName));
        QVERIFY(!QFileInfo::exists(storage::PendingArchivePath(d->m_workFolder, d->m_defaultProjectName)));

        QTRY_COMPARE(progress.size(), 8);
        QCOMPARE(progress, QStringList({"Save Project Preparing... 0", "Save Event(0/3) 0", "Save Event(1/3) 1",
                                        "Save Event(2/3) 2", "Save Notes(0/3) 3", "Save Notes(1/3) 4",
                                        "Save Notes(2/3) 5", "Save Objects(0/1) 6"}));
        QCOMPARE(d->m_progressDlg->maximum(), 7);
    }

    // The save writes what the board held when it started; a change made
    // while it runs (a stroke, the pen driver, a peer) stays marked.
    void changeDuringSaveStaysMarked()
    {
        auto d = MakeWindow();
        FillLesson(*d);
        const QString started = m_files.filePath("packer started");
        const QString go = m_files.filePath("packer may go");
        // The packer holds the save until the test has changed the board.
        UseHoldingPacker(started, go);
        d->m_currentProjectPath = m_files.filePath("during.vk");
        d->OptProjectSave(false);
        QVERIFY(!d->m_boardModified);
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(started), 20000);
        d->m_boardModified = true;  // what every drawing and editing path sets
        QVERIFY(WriteFile(go, "go"));
        QTRY_VERIFY_WITH_TIMEOUT(d->m_ThreadPrjSave.isFinished() && !d->m_progressDlg->isVisible(), 30000);
        QVERIFY2(d->m_projectSaveResult, qPrintable(g_log.join('\n')));
        QVERIFY(d->m_boardModified);
    }

    // Each save's end is handled once, for that save, before the next
    // command goes on. Here a save fails and New Lecture comes before its
    // finished() is delivered (a new job on the watcher drops that signal):
    // the failure is told, the board is still marked as changed, so New
    // Lecture asks (Yes here), saves the lesson and only then starts afresh.
    void commandAfterAFailedSaveSeesTheFailure()
    {
        auto d = MakeWindow();
        FillLesson(*d);
        const QString target = m_files.filePath("after a failure.vk");
        QFile::remove(target);
        d->m_currentProjectPath = target;
        qputenv("PATH", FakePacker("#!/bin/sh\nexit 9\n").toUtf8());
        d->OptProjectSave(false);
        // Ended, its finished() still queued.
        d->m_ThreadPrjSave.waitForFinished();
        QVERIFY(!d->m_projectSaveResult);

        qputenv("PATH", m_path);
        d->OptNewLecture();
        const int failure = LogIndex("message box critical: Save project file");
        QVERIFY2(failure >= 0, qPrintable(g_log.join('\n')));
        QVERIFY(g_log.at(failure).contains("the zip program failed (exit code 9)"));
        QVERIFY2(LogIndex("message box question: Confirm") > failure, qPrintable(g_log.join('\n')));
        QTRY_COMPARE_WITH_TIMEOUT(d->m_note_list.size(), 1, 30000);
        QVERIFY(!d->m_ThreadPrjSave.isRunning());
        QVERIFY(!d->m_boardModified);
        QCOMPARE(g_log.filter("exe : project saved to " + target).size(), 1);
        QCOMPARE(ArchiveEntries(target).size(), 9);
        QCOMPARE(g_log.filter("message box critical: Save project file").size(), 1);
    }

    // Every page operation changes what the next save writes.
    void pageChangesMarkTheBoard_data()
    {
        QTest::addColumn<QString>("operation");
        QTest::newRow("paper page") << "paper page";
        QTest::newRow("picture page") << "picture page";
        QTest::newRow("delete page") << "delete page";
        QTest::newRow("reorder in the note list") << "reorder";
    }

    void pageChangesMarkTheBoard()
    {
        QFETCH(QString, operation);
        auto d = MakeWindow();
        d->ClickNoteBtn("BlackNote");
        d->m_boardModified = false;  // as after a save
        if (operation == "paper page") {
            d->ClickNoteBtn("BlackNote");
        } else if (operation == "picture page") {
            QImage picture(32, 24, QImage::Format_RGB32);
            picture.fill(Qt::green);
            QVERIFY(picture.save(m_files.filePath("page picture.png")));
            d->CreateNotePage(2, "page picture.png", m_files.filePath("page picture.png"), false);
        } else if (operation == "delete page") {
            const QString stamp = d->m_note_list.first().create_data;
            d->m_note_list.removeFirst();  // the note list's own removal, then its signal
            d->DeleteNote(stamp);
        } else {
            d->OptNoteListBtn();
            d->m_noteDialog->WaitForFill();
            d->m_note_list.move(0, 1);  // the note list reorders the records it is lent
            d->CloseNoteListDialog();
        }
        QVERIFY2(d->m_boardModified, qPrintable(g_log.join('\n')));
    }

    // A board that was opened and only looked at (the note list opened and
    // closed) has nothing to save.
    void lookingIsNoChange()
    {
        auto d = MakeWindow();
        d->ClickNoteBtn("BlackNote");
        d->m_boardModified = false;
        d->OptNoteListBtn();
        d->m_noteDialog->WaitForFill();
        d->CloseNoteListDialog();
        QVERIFY(!d->m_boardModified);
    }

    // A re-save writes the page the notes are laid on, not the view: after an
    // open fitted to another screen the page is smaller than the view.
    void resaveWritesThePageSize()
    {
        auto d = MakeWindow();
        const QSize view(d->m_view_width, d->m_view_height);
        QVERIFY(!view.isEmpty());
        d->m_contentArea = QRect(0, 40, view.width(), view.height() - 80);
        const storage::ProjectSnapshot project = d->TakeProjectSnapshot();
        QCOMPARE(project.pageSize, QSize(view.width(), view.height() - 80));
        QCOMPARE(project.boardSize, d->size());
    }

    // A new lesson does not carry the pictures of the last one.
    void resetForgetsThePictures()
    {
        auto d = MakeWindow();
        FillLesson(*d);
        d->m_boardModified = false;
        d->ResetBoard(true);
        QCOMPARE(d->TakeProjectSnapshot().mediaFiles, QStringList());
    }

    // Whatever stops the archive, the file in place keeps its bytes, the
    // lesson stays marked as changed, and the user is told.
    void failedSaveKeepsThePreviousFile_data()
    {
        QTest::addColumn<QByteArray>("packer");   // empty: no zip at all
        QTest::addColumn<QString>("target");      // below the test folder
        QTest::addColumn<QString>("reason");
        QTest::newRow("no zip") << QByteArray() << "lesson.vk" << "the zip program was not found";
        QTest::newRow("zip exits non-zero") << QByteArray("#!/bin/sh\necho broken >&2\nexit 12\n") << "lesson.vk"
                                            << "the zip program failed (exit code 12) broken";
        QTest::newRow("zip claims success, writes nothing") << QByteArray("#!/bin/sh\nexit 0\n") << "lesson.vk"
                                                            << "the zip program failed (exit code 0)";
        QTest::newRow("folder missing") << QByteArray("real") << "gone/lesson.vk" << "cannot be written";
        QTest::newRow("target is a folder") << QByteArray("real") << "folder.vk" << "is not a regular file";
        if (geteuid() != 0)
            QTest::newRow("folder not writable") << QByteArray("real") << "locked/lesson.vk" << "cannot be written";
    }

    void failedSaveKeepsThePreviousFile()
    {
        QFETCH(QByteArray, packer);
        QFETCH(QString, target);
        QFETCH(QString, reason);
        auto d = MakeWindow();
        FillLesson(*d);
        const QString path = m_files.filePath(target);
        QDir().mkpath(m_files.filePath("locked"));
        QDir().mkpath(m_files.filePath("folder.vk"));
        QFile::remove(m_files.filePath("lesson.vk"));
        QVERIFY(WriteFile(m_files.filePath("lesson.vk"), "previous lesson"));
        QVERIFY(WriteFile(m_files.filePath("locked/lesson.vk"), "previous lesson"));
        QFile::setPermissions(m_files.filePath("locked"), QFile::ReadOwner | QFile::ExeOwner);
        if (packer != "real")
            qputenv("PATH", FakePacker(packer).toUtf8());
        const QByteArray before = ReadAll(path);

        d->m_currentProjectPath = path;
        RunSave(*d, [&] { d->OptProjectSave(false); });
        QFile::setPermissions(m_files.filePath("locked"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

        QVERIFY(!d->m_projectSaveResult);
        QVERIFY(d->m_boardModified);
        QVERIFY(g_log.contains("proj save failed"));
        const int box = LogIndex("message box critical: Save project file | The project could not be saved to");
        QVERIFY2(box >= 0, qPrintable(g_log.join('\n')));
        QVERIFY2(g_log.at(box).contains(reason), qPrintable(g_log.at(box)));
        QCOMPARE(ReadAll(path), before);
        QVERIFY(!QFileInfo::exists(storage::PendingArchivePath(d->m_workFolder, d->m_defaultProjectName)));
        QVERIFY(!QFileInfo::exists(QFileInfo(path).absolutePath() + "/." + QFileInfo(path).fileName() + ".saving"));
        QVERIFY(!QFileInfo::exists(d->m_workFolder + d->m_defaultProjectName));
        // The plain save keeps its file name for the next try.
        QCOMPARE(d->m_currentProjectPath, path);
    }

    // The first save of a lesson asks for a name, the next goes to the same
    // file; a cancelled "Save as" keeps the old path; a name typed without
    // the extension gets it.
    void saveAsksForANameOnlyWhenNeeded()
    {
        auto d = MakeWindow();
        FillLesson(*d);
        d->OptProjectSave();
        const QRegularExpression asked(QStringLiteral("^file dialog save: Save project file \\| %1/\\d{8}_\\d{6}\\.vk$")
                                           .arg(QRegularExpression::escape(m_files.path())));
        QCOMPARE(g_log.filter(asked).size(), 1);
        QVERIFY(d->m_currentProjectPath.isEmpty());
        QVERIFY(!d->m_ThreadPrjSave.isRunning());

        g_log.clear();
        {
            ModalAnswer answer([&](QWidget* modal) {
                auto* files = qobject_cast<QFileDialog*>(modal);
                QVERIFY(files);
                QCOMPARE(files->nameFilters(), QStringList({"Dravik project file (*.vk)"}));
                // As typed into the name field (the dialog may still be
                // filling in its suggestion when it comes up).
                auto* name = files->findChild<QLineEdit*>("fileNameEdit");
                QVERIFY(name);
                name->setText(m_files.filePath("typed"));
                QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
            });
            RunSave(*d, [&] { d->OptProjectSave(); });
            QCOMPARE(answer.answered(), 1);
        }
        const QString typed = m_files.filePath("typed.vk");
        QCOMPARE(d->m_currentProjectPath, typed);
        QVERIFY(QFileInfo(typed).isFile());

        g_log.clear();
        d->m_boardModified = true;
        RunSave(*d, [&] { d->OptProjectSave(); });
        QVERIFY(g_log.filter("file dialog save").isEmpty());
        QVERIFY(d->m_projectSaveResult);

        g_log.clear();
        d->OptProjectSaveAs();
        QCOMPARE(g_log.filter("file dialog save: Save as |").size(), 1);
        QCOMPARE(d->m_currentProjectPath, typed);
    }

    // A new lecture on a clean board asks nothing; Cancel in "Confirm"
    // keeps a changed board as it is.
    void newLecture()
    {
        auto d = MakeWindow();
        FillLesson(*d);
        {
            ModalAnswer answer([](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                QVERIFY(box);
                QCOMPARE(box->windowTitle(), QStringLiteral("Confirm"));
                box->button(QMessageBox::Cancel)->click();
            });
            d->OptNewLecture();
            QCOMPARE(answer.answered(), 1);
        }
        QCOMPARE(d->m_note_list.size(), 3);
        QVERIFY(d->m_boardModified);

        d->m_boardModified = false;
        g_log.clear();
        d->OptNewLecture();
        QVERIFY(g_log.filter("message box").isEmpty());
        QCOMPARE(d->m_note_list.size(), 1);
        QVERIFY(d->m_board.slot[10].records.masters().isEmpty());
    }

    // A project handed over while a save runs (the progress window does not
    // hold hand-overs back) waits for it before the board is reset.
    void handOverDuringASaveWaitsForIt()
    {
        auto d = MakeWindow();
        FillLesson(*d);
        qputenv("PATH", (FakePacker("#!/bin/sh\nsleep 1\nexec /usr/bin/zip \"$@\"\n") + ":" + m_path).toUtf8());
        const QString target = m_files.filePath("slow.vk");
        QFile::remove(target);
        d->m_currentProjectPath = target;
        d->OptProjectSave();
        QVERIFY(d->m_ThreadPrjSave.isRunning());
        d->m_boardModified = false;
        d->OpenISPFile(m_files.filePath("other.vk"));
        QTRY_VERIFY_WITH_TIMEOUT(d->m_ThreadPrjSave.isFinished() && !d->m_progressDlg->isVisible(), 30000);
        const int saved = LogIndex("exe : project saved to " + target);
        QVERIFY2(saved >= 0, qPrintable(g_log.join('\n')));
        QVERIFY(LogIndex("StartProjectLoad(") > saved);
        QCOMPARE(ArchiveEntries(target).size(), 9);
    }

    // The commands that replace the board let the save end first, and keep
    // the board when it failed. ("Confirm" answers Yes here.)
    void replacingTheBoardWaitsForTheSave_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("packs");
        for (const char* command : {"handover", "open", "new lecture", "update"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, saved").arg(command))) << command << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, save failed").arg(command))) << command << false;
        }
    }

    void replacingTheBoardWaitsForTheSave()
    {
        QFETCH(QString, command);
        QFETCH(bool, packs);
        auto d = MakeWindow();
        FillLesson(*d);
        if (!packs)
            qputenv("PATH", FakePacker("#!/bin/sh\nexit 9\n").toUtf8());
        const QString target = m_files.filePath("waited.vk");
        QFile::remove(target);
        d->m_currentProjectPath = target;
        // As host, the peers start afresh with the board, not before.
        SessionTap tap(d.get(), command == "new lecture" ? 3 : 0);

        if (command == "handover")
            d->OpenISPFile(m_files.filePath("other.vk"));
        else if (command == "open")
            d->OptProjectOpen();
        else if (command == "new lecture")
            d->OptNewLecture();
        else
            d->Config_savePrj_Update();
        QTRY_VERIFY_WITH_TIMEOUT(d->m_ThreadPrjSave.isFinished() && !d->m_progressDlg->isVisible(), 30000);

        const int saved = LogIndex("exe : project saved to " + target);
        QCOMPARE(saved >= 0, packs);
        QCOMPARE(QFileInfo::exists(target), packs);
        if (!packs) {
            QVERIFY(LogIndex("message box critical: Save project file") >= 0);
            QCOMPARE(d->m_note_list.size(), 3);
            QVERIFY(d->m_boardModified);
            QCOMPARE(LogIndex("StartProjectLoad"), -1);
            QCOMPARE(LogIndex("file dialog open"), -1);
            QCOMPARE(LogIndex("the update bridge is not loaded"), -1);
            QVERIFY(tap.Lines().isEmpty());
            return;
        }
        if (command == "handover") {
            QVERIFY(LogIndex("StartProjectLoad(" + m_files.filePath("other.vk")) > saved);
            QVERIFY(d->m_board.slot[10].records.masters().isEmpty());
        } else if (command == "open") {
            QVERIFY(LogIndex("file dialog open: Load project file") > saved);
        } else if (command == "new lecture") {
            QCOMPARE(d->m_note_list.size(), 1);
            // The first frame built goes out after the save.
            QVERIFY(LogIndex("EXE Tx: ") > saved);
            QCOMPARE(tap.Count("INITPROJ_SET(0,,1)"), 1);
        } else {
            QVERIFY(LogIndex("the update bridge is not loaded") > saved);
        }
    }
};

QTEST_MAIN(DialogProjectTest)
#include "dialog_project_test.moc"
