// The project load job: the starter takes what the reading needs of the
// window, the job unpacks, reads and paints the pages on its own, and the
// end of the job puts the new board in place on the GUI thread.
#include "app/ui/dialog.h"

#include "app/ui/message_box.h"
#include "storage/page_image_backlog.h"
#include "storage/project_load.h"
#include "storage/ui/progressdlg.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QMetaObject>
#include <QtConcurrent>

#include <atomic>

struct Dialog::ProjectLoadJob {
    QString path;
    storage::ProjectLoadSettings settings;
    BackgroundRequest background;
    PageRenderOptions options;
    bool rendererAvailable = false;
    storage::LoadedProject result;
    std::atomic<bool> done{false};  // the result is complete
};

BackgroundRequest Dialog::ProjectLoadBackground() const
{
    BackgroundRequest background;
    background.view = QSize(m_view_width, m_view_height);
    background.content = QRect(0, 0, m_view_width, m_view_height);
    background.level = m_collUserLevel;
    background.hostBoard = m_hostBoardSize;
    background.boardColor = m_boardFillColor;
    background.backgroundPicture = m_backgroundPicture.isNull() ? QString() : m_backgroundPicturePath;
    background.backgroundImage = m_backgroundPicture;
    background.currentImageSize = background.view;
    background.scale = c_scale;
    return background;
}

PageRenderOptions Dialog::ProjectPageOptions() const
{
    // The page files hold the pages at 100 %.
    PageRenderOptions options = RenderOptions();
    options.zoom = 1.0;
    return options;
}

void Dialog::StartProjectLoad(QString path)
{
    // The pages of the lesson open now are of no use to the next one.
    StopPageBacklog();
    if (m_view_width <= 0 || m_view_height <= 0)
        UpdateViewSize();
    m_currentProjectPath = path;
    qDebug().noquote() << QStringLiteral("exe : StartProjectLoad(%1)").arg(path);

    auto job = std::make_shared<ProjectLoadJob>();
    job->path = path;
    job->settings.workFolder = m_workFolder;
    job->settings.paperFolder = m_paperFolder;
    job->settings.basePage = QSize(m_view_width, m_view_height);
    job->background = ProjectLoadBackground();
    job->options = ProjectPageOptions();
    job->rendererAvailable = m_pdfRendererBound && m_pdfRenderer.bound;
    m_projectLoadJob = job;

    emit SetProgress(QStringLiteral("Open Project Preparing..."), 0);
    if (m_progressDlg)
        m_progressDlg->show();
    m_ThreadPrjLoad.setFuture(DialogWorker(ProjectLoadThreadEntry, this));
}

void Dialog::LoadProject()
{
    const std::shared_ptr<ProjectLoadJob> job = m_projectLoadJob;
    if (!job)
        return;
    // Document pages are rendered with a document of the job's own; the
    // window's open document stays as it is.
    storage::PdfRendererLibrary& library = m_pdfRenderer;
    storage::PdfRendererState state;
    DocumentRenderer renderer;
    renderer.available = job->rendererAvailable;
    renderer.openFirstPage = [&library, &state](const QString& file, double* width, double* height) {
        return storage::OpenRendererFirstPage(library, state, file, width, height);
    };
    renderer.renderPage = [&library, &state](double scale, QImage* target) {
        library.RenderPage(state.page, 0.0, 0.0, scale, target);
    };
    const storage::ProgressFunction progress = [this](const QString& text, int value) { emit SetProgress(text, value); };
    const auto pageCount = [this](int count) {
        QMetaObject::invokeMethod(
            this, [this, count]() {
                if (m_progressDlg)
                    m_progressDlg->SetMaximum(count);
            },
            Qt::QueuedConnection);
    };
    // No page is painted here: the window paints the page it shows, and the
    // other pages' files are painted behind it once the lesson is open.
    job->result = storage::LoadProjectFile(job->path, job->settings, job->background, renderer, job->options,
                                           progress, pageCount, false);
    if (job->rendererAvailable)
        storage::CloseRendererDocument(library, state);
    job->done = true;
}

QString Dialog::InstallLoadedProject()
{
    if (!m_projectLoadJob || !m_projectLoadJob->done)
        return QString();
    const std::shared_ptr<ProjectLoadJob> job = std::move(m_projectLoadJob);
    m_projectLoadJob.reset();
    storage::LoadedProject& project = job->result;
    if (project.error.isEmpty() && !project.notes.isEmpty())
        StartPageBacklog(project, job->background, job->options, job->rendererAvailable);
    for (int k = 0; k < kPointerSlotCount; ++k) {
        PointerSlotState& slot = m_board.slot[k];
        PointerSlotState& loaded = project.board.slot[k];
        slot.records = std::move(loaded.records);
        slot.allPoints = std::move(loaded.allPoints);
        slot.strokePoints.clear();
        slot.erasePoints.clear();
        slot.modifyPoints.clear();
        slot.nextEventId = loaded.nextEventId;
    }
    m_board.FreePenMap = std::move(project.board.FreePenMap);
    m_note_list = project.notes;
    m_note_cnt = m_note_list.size();
    m_mediaFiles = project.mediaFiles;
    m_contentArea = project.fit.page;
    m_legacyProject = project.legacy && project.error.isEmpty();
    for (const QString& line : qAsConst(project.warnings))
        AddLogWindowLine(line);
    m_loadDamageReport.clear();
    if (project.error.isEmpty() && !project.damage.isEmpty()) {
        m_loadDamageReport =
            QStringLiteral("The project file \"%1\" is damaged (%2). What could be read was opened: %3 page(s). "
                           "The file is kept as it is; save the lesson under a new name.")
                .arg(QDir::toNativeSeparators(job->path), project.damage.mid(0, 3).join(QStringLiteral("; ")))
                .arg(project.notes.size());
    }
    if (project.error.isEmpty())
        return QString();
    return QStringLiteral("The project file \"%1\" cannot be opened: %2.")
        .arg(QDir::toNativeSeparators(job->path), project.error);
}

bool Dialog::WaitForRunningLoad()
{
    if (!m_ThreadPrjLoad.isRunning())
        return true;
    WaitForJob(m_ThreadPrjLoad, 200, 0);
    if (!m_ThreadPrjLoad.isRunning()) {
        // The job's own end is still queued behind this wait; the board it
        // read goes in place before it is replaced again.
        ThreadPrjLoadFinished();
        return true;
    }
    ui::WarningBox(this, QStringLiteral("Load project file"),
                   QStringLiteral("A project is still being opened. Try again once it is open."));
    return false;
}

void Dialog::StartPageBacklog(const storage::LoadedProject& lesson, const BackgroundRequest& background,
                              const PageRenderOptions& options, bool rendererAvailable)
{
    StopPageBacklog();
    // The copy shares the tables with the board until either changes.
    auto backlog = std::make_shared<storage::PageImageBacklog>(lesson, background, options);
    m_pageBacklog = backlog;
    storage::PdfRendererLibrary* library = &m_pdfRenderer;
    m_pageBacklogJob = QtConcurrent::run([backlog, library, rendererAvailable] {
        // Document pages are rendered with a document of the worker's own.
        storage::PdfRendererState state;
        DocumentRenderer renderer;
        renderer.available = rendererAvailable;
        renderer.openFirstPage = [library, &state](const QString& file, double* width, double* height) {
            return storage::OpenRendererFirstPage(*library, state, file, width, height);
        };
        renderer.renderPage = [library, &state](double scale, QImage* target) {
            library->RenderPage(state.page, 0.0, 0.0, scale, target);
        };
        const int written = backlog->Run(renderer);
        if (rendererAvailable)
            storage::CloseRendererDocument(*library, state);
        qDebug().noquote() << QStringLiteral("exe : page images painted behind the board: %1").arg(written);
    });
}

void Dialog::FinishPageImages()
{
    if (!m_pageBacklog)
        return;
    m_pageBacklogJob.waitForFinished();
    m_pageBacklog.reset();
}

void Dialog::StopPageBacklog()
{
    if (!m_pageBacklog)
        return;
    m_pageBacklog->Cancel();
    m_pageBacklogJob.waitForFinished();
    m_pageBacklog.reset();
}

void Dialog::WriteNotePageImage(const QImage& image, const QString& path)
{
    if (m_pageBacklog)
        m_pageBacklog->HandOver(path);
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!image.save(path))
        qDebug().noquote() << QStringLiteral("exe : page image not written: %1").arg(path);
}
