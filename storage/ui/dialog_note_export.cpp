// Exporting note pages as pictures and printing them: the menu commands that
// open the two forms and the note list, the job both forms start, and the
// printing of each page it renders.
#include "app/ui/dialog.h"

#include "app/ui/message_box.h"
#include "panels/ui/notedialog.h"
#include "storage/ui/noteprint.h"
#include "storage/ui/notesave.h"
#include "storage/ui/progressdlg.h"

#include <QDebug>
#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>

namespace {

// Every page goes out as one A4 landscape page without margins.
void SetNotePageLayout(QPrinter& printer)
{
    printer.setFullPage(false);
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
}

// With DRAVIK_PRINT_FOLDER set, pages are printed into PDF files there
// ("print-<n>.pdf") instead of a printer queue.
QString PrintFolder()
{
    return qEnvironmentVariable("DRAVIK_PRINT_FOLDER");
}

}  // namespace

void Dialog::OptNoteSave()
{
    if (!m_noteSave)
        return;
    m_noteSave->SetNoteRange(2, m_note_list.size());
    SaveCurrentNoteImage(true);
    m_noteSave->SetLanguageText(&m_lang.common, &m_lang.saveNote, &m_lang.messages);
    m_noteSave->SetCurrentNote(m_curr_note.create_data, &m_note_list);
    m_noteSave->show();
    UpdatePageLabel(false, 0, 1);
}

void Dialog::OptNotePrint()
{
    if (!m_notePrint)
        return;
    m_notePrint->SetNoteRange(2, m_note_list.size());
    SaveCurrentNoteImage(true);
    m_notePrint->SetLanguageText(&m_lang.common, &m_lang.print);
    m_notePrint->SetCurrentNote(m_curr_note.create_data, &m_note_list);
    m_notePrint->show();
    UpdatePageLabel(false, 0, 1);
}

void Dialog::NoteSavePrintOperation(QString path, QString mode, int first, int last)
{
    // The progress window keeps the user out while a job runs; a request
    // that still comes (from a form left open) must not change the job's data.
    if (m_ThreadNoteSave.isRunning()) {
        ui::WarningBox(this, QStringLiteral("Notes"),
                       QStringLiteral("The notes are still being saved or printed. Try again once that has ended."));
        return;
    }
    const bool print = mode == QLatin1String(storage::kNotePrintMode);
    m_noteJob = storage::NoteExportJob();
    m_noteJob.target = path;
    m_noteJob.mode = mode;
    m_noteJob.first = first;
    m_noteJob.end = storage::NoteExportEnd(first, last);
    m_noteJob.board = m_board;
    m_noteJob.notes = m_note_list;
    // The shown page's record is the working copy; it is what the user sees.
    if (m_note_idx >= 0 && m_note_idx < m_noteJob.notes.size()
        && m_noteJob.notes[m_note_idx].create_data == m_curr_note.create_data)
        m_noteJob.notes[m_note_idx] = m_curr_note;
    m_noteJob.page.background = PageBackgroundRequest(QString(), 1, false);
    m_noteJob.page.mediaFiles = m_mediaFiles;
    m_noteJob.page.options = RenderOptions();
    m_noteJob.page.options.zoom = 1.0;
    m_printFailures = 0;

    if (print) {
        m_printer.setPrinterName(path);
        SetNotePageLayout(m_printer);
    }
    emit SetProgress(print ? QStringLiteral("Note Print Preparing...") : QStringLiteral("Note Save Preparing..."), 0);
    if (m_progressDlg) {
        m_progressDlg->SetMaximum(std::max(0, m_noteJob.end - m_noteJob.first));
        m_progressDlg->show();
    }
    m_ThreadNoteSave.setFuture(DialogWorker(NoteSaveThreadEntry, this));
}

void Dialog::NoteSaveThreadEntry(void* owner)
{
    static_cast<Dialog*>(owner)->SaveNoteImages();
}

void Dialog::SaveNoteImages()
{
    // A document page is rendered through a handle of the job's own, so the
    // board's open document is never touched from here.
    const storage::PdfRendererLibrary& library = m_pdfRenderer;
    storage::PdfRendererState state;
    DocumentRenderer renderer;
    renderer.available = library.bound;
    renderer.openFirstPage = [&](const QString& file, double* width, double* height) {
        return storage::OpenRendererFirstPage(library, state, file, width, height);
    };
    renderer.renderPage = [&](double scale, QImage* target) { library.RenderPage(state.page, 0.0, 0.0, scale, target); };

    storage::NoteExportEvents events;
    events.progress = [this](const QString& text, int value) { emit SetProgress(text, value); };
    const QString printer = m_noteJob.target;
    events.printPage = [this, printer](const QImage& page) { emit SetNotePrint(printer, page); };
    storage::RunNoteExport(m_noteJob, renderer, events);
    storage::CloseRendererDocument(library, state);
}

void Dialog::NotePrintProcess(QString name, QImage page)
{
    const QString folder = PrintFolder();
    if (!folder.isEmpty()) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(QDir(folder).filePath(QStringLiteral("print-%1.pdf").arg(++m_printJobCount)));
        SetNotePageLayout(m_printer);
    }
    m_printer.setPageOrientation(QPageLayout::Landscape);
    // A printer that is gone since the list was made is not replaced by another.
    const bool printerFound = !folder.isEmpty() || (!name.isEmpty() && m_printer.printerName() == name);
    QPainter painter;
    if (page.isNull() || !printerFound || !painter.begin(&m_printer)) {
        ++m_printFailures;
        qDebug().noquote() << QStringLiteral("exe : note page not printed on \"%1\"").arg(name);
        return;
    }
    const QRect viewport = painter.viewport();
    QSize scaled = page.size();
    scaled.scale(viewport.size(), Qt::KeepAspectRatio);
    int dx = 0;
    int dy = 0;
    if (scaled.width() == viewport.width())
        dy = (viewport.height() - scaled.height()) / 2;
    else if (scaled.height() == viewport.height())
        dx = (viewport.width() - scaled.width()) / 2;
    painter.setViewport(viewport.x() + dx, viewport.y() + dy, scaled.width(), scaled.height());
    painter.setWindow(page.rect());
    painter.drawImage(0, 0, page);
    painter.end();
}

void Dialog::ReportNoteJobFailures()
{
    if (m_noteJob.mode == QLatin1String(storage::kNotePrintMode)) {
        if (m_printFailures == 0)
            return;
        const QString text =
            m_noteJob.target.isEmpty()
                ? QStringLiteral("No printer is available. The notes were not printed.")
                : QStringLiteral("%1 of the pages could not be printed on \"%2\".").arg(m_printFailures).arg(m_noteJob.target);
        m_printFailures = 0;
        ui::WarningBox(this, QStringLiteral("Print Notes"), text);
        return;
    }
    if (m_noteJob.failedFiles.isEmpty())
        return;
    QStringList files;
    for (const QString& file : qAsConst(m_noteJob.failedFiles))
        files << QDir::toNativeSeparators(file);
    m_noteJob.failedFiles.clear();
    ui::WarningBox(this, QStringLiteral("Save Notes"),
                   QStringLiteral("These files could not be written:\n%1").arg(files.join(QLatin1Char('\n'))));
}
