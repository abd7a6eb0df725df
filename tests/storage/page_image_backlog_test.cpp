// The page image files of a lesson just opened, painted by a worker from the
// lesson as read: the very files opening used to write, and never a file the
// window has taken over.
#include "board/event_kind.h"
#include "storage/page_image_backlog.h"
#include "storage/project_file.h"
#include "storage/project_load.h"
#include "tests/support/zip_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QSize kPage(640, 480);

// Three board pages, each with a line of its own colour.
storage::ProjectSnapshot Lesson()
{
    storage::ProjectSnapshot project;
    const QColor colours[] = {Qt::red, Qt::darkGreen, Qt::blue};
    for (int n = 0; n < 3; ++n) {
        NoteInfo note;
        note.name = note.path = QStringLiteral("WhiteBoard");
        note.create_data = QStringLiteral("2024010209000000%1").arg(n);
        project.notes << note;
        EventMaster em;
        em.Kind = ekLine;
        em.EventID = quint16(n);
        em.NoteName = note.create_data;
        EventDetail ed;
        ed.EventID = em.EventID;
        ed.S = ed.M = QPointF(50, 50 + 40 * n);
        ed.E = ed.C = QPointF(400, 90 + 40 * n);
        ed.BoundRF = ed.OriginRF = QRect(50, 50 + 40 * n, 350, 40);
        ed.PenColor = colours[n];
        ed.PenWidth = 5;
        project.slotTables[1].masters << em;
        project.slotTables[1].details << ed;
    }
    project.boardSize = project.pageSize = kPage;
    return project;
}

BackgroundRequest Background()
{
    BackgroundRequest request;
    request.view = kPage;
    request.content = QRect(QPoint(0, 0), kPage);
    request.currentImageSize = kPage;
    return request;
}

}  // namespace

class PageImageBacklogTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_files;
    QString m_project;

    storage::LoadedProject Load(const QString& work, bool paintPages)
    {
        QDir().mkpath(work);
        return storage::LoadProjectFile(m_project, {work + "/", m_files.filePath("paper/"), kPage}, Background(),
                                        DocumentRenderer(), PageRenderOptions(), [](const QString&, int) {}, nullptr,
                                        paintPages);
    }

private slots:
    void initTestCase()
    {
        m_project = m_files.filePath("lesson.vk");
        QVERIFY(QDir().mkpath(m_files.filePath("stage")));
        QVERIFY(storage::SaveProjectFile(Lesson(), m_files.filePath("stage/"), "s", m_project,
                                         [](const QString&, int) {}).saved);
    }

    // Every page not taken over gets the file opening wrote; the page the
    // window took over keeps what the window wrote.
    void paintsWhatOpeningPaintedAndLeavesTakenPages()
    {
        const storage::LoadedProject painted = Load(m_files.filePath("painted"), true);
        storage::LoadedProject lesson = Load(m_files.filePath("behind"), false);
        QCOMPARE(lesson.notes.size(), 3);
        for (const NoteInfo& note : qAsConst(lesson.notes))
            QVERIFY2(!QFileInfo::exists(note.imagePath), qPrintable(note.imagePath));

        storage::PageImageBacklog backlog(lesson, Background(), PageRenderOptions());
        QCOMPARE(backlog.Waiting(), 3);
        const QString taken = lesson.notes.at(1).imagePath;
        backlog.HandOver(taken);
        QVERIFY(WriteTestFile(taken, "the window's own page"));
        QCOMPARE(backlog.Run(DocumentRenderer()), 2);
        QCOMPARE(backlog.Waiting(), 0);

        QCOMPARE(ReadTestFile(taken), QByteArray("the window's own page"));
        for (int i : {0, 2}) {
            const QByteArray file = ReadTestFile(lesson.notes.at(i).imagePath);
            QVERIFY(!file.isEmpty());
            QVERIFY2(file == ReadTestFile(painted.notes.at(i).imagePath), qPrintable(QString::number(i)));
        }
    }

    // A backlog cancelled (a new lesson, the window closing) writes nothing.
    void cancelledWritesNothing()
    {
        storage::LoadedProject lesson = Load(m_files.filePath("cancelled"), false);
        storage::PageImageBacklog backlog(lesson, Background(), PageRenderOptions());
        backlog.Cancel();
        QCOMPARE(backlog.Run(DocumentRenderer()), 0);
        for (const NoteInfo& note : qAsConst(lesson.notes))
            QVERIFY(!QFileInfo::exists(note.imagePath));
    }
};

QTEST_MAIN(PageImageBacklogTest)
#include "page_image_backlog_test.moc"
