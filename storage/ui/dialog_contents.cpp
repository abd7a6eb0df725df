// The contents package written when a recording ends. The board's part (the
// selection, the page images, the kept view) runs here on the GUI thread
// before the job starts; the job works on copies and never touches a widget.
#include "app/ui/dialog.h"

#include "storage/contents_package.h"
#include "storage/ui/progressdlg.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QGuiApplication>
#include <QScreen>

storage::ContentsSaveInput Dialog::TakeContentsInput()
{
    storage::ContentsSaveInput input;
    input.recordType = m_rec_type;
    input.recordFolder = m_config.Path;
    input.workFolder = m_workFolder;
    input.recordName = m_rec_file;
    input.recordedVideo = m_recordFilePath;
    input.recordedAudio = m_recordAudioPath;
    input.saveAsPath = m_iic_SaveAs_PathName;
    input.saveAsName = m_iic_SaveAs_FileName;
    input.saveAsFolder = m_iic_SaveAs_Folder;
    input.stamp = MakeFileTimeStamp();
    input.visits = storage::PageVisitsFromLog(m_rec_note_index, m_rec_note_names, m_rec_note_stamps,
                                              m_rec_note_times);
    input.mediaFiles = m_mediaFiles;
    input.boardSize = size();
    input.colorSetting = m_config.color;
    const QScreen* screen = QGuiApplication::primaryScreen();
    input.pdf.scale = (screen ? screen->logicalDotsPerInch() : 96.0) / 96.0;
    input.pdf.view = QSize(m_view_width, m_view_height);
    input.pdf.content = m_contentArea;
    input.pdf.boardColor = m_boardFillColor;
    input.pdf.backgroundPicture = m_backgroundPicture.isNull() ? QString() : m_backgroundPicturePath;
    return input;
}

void Dialog::StartContentsSave()
{
    // One package at a time: an earlier save still staging its files ends
    // first.
    if (m_ThreadSave.isRunning())
        WaitForJob(m_ThreadSave, 100, 0);
    if (SelectionFrameShown) {
        ClearSelection();
        RedrawPageObjects(true);
        SelectionFrameShown = false;
    }
    // From here on page changes no longer extend the visit log.
    m_bRecording = false;
    if (m_rec_type == 2)
        m_bScreenRecording = false;
    // The shown page's file is written only when the page is left; the job
    // reads every visited page from its file.
    SaveCurrentNoteImage(false);
    FinishPageImages();

    m_savedViewImage = m_viewImage;
    m_savedBackgroundImage = m_backgroundImage;
    m_savedNote = m_curr_note;
    m_savedZoom = m_zoom;
    m_savedHScroll = ui->horizontalScrollBar->value();
    m_savedVScroll = ui->verticalScrollBar->value();

    m_pdf_ok = true;
    m_pdf_error.clear();
    m_contentsSaveFailure.clear();
    m_saved_name.clear();
    m_saved_folder.clear();
    m_saved_path.clear();
    m_rec_saved_name.clear();
    m_rec_saved_folder.clear();
    m_rec_saved_path.clear();
    m_outputFolder.clear();
    m_outputFileName.clear();
    m_outputPath.clear();

    storage::ContentsSaveInput input = TakeContentsInput();
    // A chosen target serves one recording only.
    m_iic_SaveAs_PathName.clear();
    m_iic_SaveAs_FileName.clear();
    m_iic_SaveAs_Folder.clear();

    if (m_progressDlg) {
        m_progressDlg->SetText(QStringLiteral("Save Recoding Data"));
        m_progressDlg->SetValue(0);
        m_progressDlg->SetMaximum(input.visits.size());
        m_progressDlg->show();
    }
    StartSnapshotJob(m_ThreadSave, [this, input = std::move(input)](const JobSnapshot& snapshot) {
        ContentsSaveThreadEntry(this, snapshot, input);
    });
}

void Dialog::ContentsSaveThreadEntry(Dialog* owner, const JobSnapshot& snapshot,
                                     const storage::ContentsSaveInput& input)
{
    owner->SaveContents(snapshot, input);
}

void Dialog::SaveContents(const JobSnapshot& snapshot, storage::ContentsSaveInput input)
{
    input.notes = snapshot.notes;
    for (int k = 0; k < kPointerSlotCount; ++k) {
        const PointerSlotState& slot = snapshot.board.slot[k];
        input.tables[k] = {slot.records.masters(), slot.records.details(), slot.erasePoints, slot.modifyPoints,
                           slot.allPoints};
    }
    const storage::ContentsSaveResult result = storage::SaveContentsPackage(
        input, m_pdfExporter, [this](const QString& text, int value) { emit SetProgress(text, value); });

    m_pdf_ok = result.pdfOk;
    m_pdf_error = result.pdfError;
    m_contentsSaveFailure = result.failure;
    m_saved_name = result.savedName;
    m_saved_folder = result.savedFolder;
    m_saved_path = result.savedPath;
    m_rec_saved_name = result.recSavedName;
    m_rec_saved_folder = result.recSavedFolder;
    m_rec_saved_path = result.recSavedPath;
    const bool screen = input.recordType == 2;
    // Only a written package (or a moved video) is offered to open.
    if (screen ? result.failure.isEmpty() : result.packageWritten) {
        m_outputFolder = screen ? m_rec_saved_folder : m_saved_folder;
        m_outputFileName = screen ? m_rec_saved_name : m_saved_name;
        m_outputPath = screen ? m_rec_saved_path : m_saved_path;
    }

    // The view buttons are widgets: they are hidden on the GUI thread.
    QMetaObject::invokeMethod(
        this,
        [this]() {
            if (!m_openOutput)
                return;
            ui->viewbtn->hide();
            ui->viewlocationbtn->hide();
            ui->viewlocationsubbtn->hide();
        },
        Qt::QueuedConnection);
}
