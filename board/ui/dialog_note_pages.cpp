// The note pages: creating, showing, deleting and labelling pages, the blank
// board, and the page-wide object lists.
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScopedValueRollback>
#include <QScreen>

#include "app/tool_commands.h"
#include "app/ui/dialog.h"
#include "app/utilities.h"
#include "board/note_pages.h"
#include "board/time_stamps.h"
#include "tools/ui/tooldlg_compass.h"
#include "tools/ui/tooldlg_protractor.h"
#include "tools/ui/tooldlg_ruler.h"
#include "ui_dialog.h"

QString Dialog::MakeTimeStampId()
{
    return ::MakeTimeStampId();
}

QString Dialog::MakeFileTimeStamp()
{
    return ::MakeFileTimeStamp();
}

// The page is as large as the board widget; before the window has a size of
// its own the primary screen stands for it.
void Dialog::UpdateViewSize()
{
    QSize view = size();
    if (view.isEmpty()) {
        if (const QScreen* screen = QGuiApplication::primaryScreen())
            view = screen->geometry().size();
    }
    m_view_width = view.width();
    m_view_height = view.height();
    if (m_contentArea.isEmpty())
        m_contentArea = QRect(0, 0, m_view_width, m_view_height);
    m_paintRect = QRect(0, 0, m_view_width, m_view_height);
}

void Dialog::CreateNotePage(int type, QString name, QString path, bool page_option)
{
    SelectionEditMode = 0;
    SelectionHandle = 0;
    LockX = false;
    LockY = false;
    m_undo.Clear();
    UpdatePrevNextButtons();

    if (m_bRecording) {
        ShiftNoteIndexes();
        m_rec_note_index.append(m_note_idx + 1);
        ::AppendViewRecord(m_board.slot[0], ekNoteChange, RecordingElapsedMs(), m_zoom, 0, 0,
                           m_curr_note.create_data);
    }

    SelectionFrameShown = false;
    ClearSelection();
    NoteObjectKeys.clear();
    SaveCurrentNoteImage(true);

    m_curr_note.name = name;
    m_curr_note.create_data = MakeTimeStampId();
    if (m_bRecording) {
        m_rec_note_names.append(name);
        m_rec_note_stamps.append(m_curr_note.create_data);
        m_rec_note_times.append(QString::number(RecordingElapsedMs(), 'g', -1));
    }
    m_curr_note.type = type;
    m_curr_note.path = PageSourcePath(type, name, path, m_paperFolder);
    m_curr_note.extra.clear();
    m_curr_note.page_option = page_option;

    SetInitImage(m_curr_note.path, type, false);

    // The file holds the new page's own background from the moment the page
    // exists (not the page that was left).
    m_curr_note.imagePath = PageImagePath(m_workFolder, m_curr_note.create_data);
    WriteNotePageImage(m_backgroundImage, m_curr_note.imagePath);

    m_note_idx = std::min(std::max(m_note_idx + 1, 0), int(m_note_list.size()));
    m_curr_note.width = m_widPage;
    m_curr_note.height = m_hgtPage;
    m_note_list.insert(m_note_idx, m_curr_note);
    m_note_cnt = m_note_list.size();
    // A new page is part of what the next save writes.
    m_boardModified = true;
    SetNoteNaviEnable();

    ShowEmptyPage();
    ReleaseIdlePictures();

    qDebug().noquote() << QStringLiteral("create note: %1 %2").arg(m_contentArea.width()).arg(m_contentArea.height());
    update();
    SetPageLabelGeometry(false, 0, 0);
    UpdatePageLabel(false, 0, 1);
    SetFreePenMode(true);
}

// The one blank white page every reset ends on, appended to the note list.
void Dialog::MakeBlankPage()
{
    if (m_view_width <= 0 || m_view_height <= 0)
        UpdateViewSize();
    m_curr_note = NoteInfo();
    m_curr_note.name = QLatin1String(kWhiteBoardName);
    m_curr_note.create_data = MakeTimeStampId();
    m_curr_note.path = QLatin1String(kWhiteBoardName);
    m_curr_note.type = kBoardPage;
    m_curr_note.page_option = false;
    SetInitImage(m_curr_note.path, kBoardPage, false);
    m_curr_note.imagePath = PageImagePath(m_workFolder, m_curr_note.create_data);
    WriteNotePageImage(m_backgroundImage, m_curr_note.imagePath);
    m_curr_note.width = m_view_width;
    m_curr_note.height = m_view_height;
    m_note_list.append(m_curr_note);
}

void Dialog::ResetBoard(bool full)
{
    for (QWidget* instrument : std::initializer_list<QWidget*>{m_ruler, m_protractor, m_compass}) {
        if (instrument)
            instrument->hide();
    }
    ConnectPageView();
    UpdateViewSize();
    HidePagePanels();
    if (full) {
        StopPageBacklog();
        m_board.Init();
        for (PointerSlotState& s : m_board.slot)
            s.highlight = false;
        m_rec_distinct_stamps.clear();
        m_toGroupRecords.clear();
        SelectionEditMode = 0;
        SelectionHandle = 0;
        LockX = false;
        LockY = false;
        m_undo.Clear();
        UpdatePrevNextButtons();

        m_mouseSlot = 0;
        m_strokeCounterA = 0;
        m_strokeCounterB = 0;
        m_boardModified = false;
        m_multiPointer = false;
        SelectionFrameShown = false;
        m_note_list.clear();
        NoteObjectKeys.clear();
        m_select_id_str.clear();
        m_rec_note_names.clear();
        m_rec_note_stamps.clear();
        m_rec_note_times.clear();
        m_rec_note_index.clear();
        if (m_collUserLevel == 3)
            Coll_Send_ImgPath(0, QString(), 1);

        CaptureRects.clear();
        // The pictures of the last lesson (inserted, captured) are not part
        // of the next one; the board's records that pointed at them are gone.
        m_mediaFiles.clear();
        // A contents save stages the package, recording included, in the
        // work folder: it ends before the folder is emptied.
        if (m_ThreadSave.isRunning())
            WaitForJob(m_ThreadSave, 100, 0);
        // The work folder is emptied, not removed: it is the folder every
        // page image of the new board goes to.
        if (!m_workFolder.isEmpty() && !RemoveFolderRecursive(m_workFolder, m_workFolder))
            qDebug().noquote() << QStringLiteral("exe : work folder not fully emptied: %1").arg(m_workFolder);
        ResetToolbarForNewBoard();

        // Back to 100 %.
        const QScopedValueRollback<bool> settingView(m_settingView, true);
        m_zoom = 1.0;
        ui->horizontalScrollBar->setValue(0);
        ui->verticalScrollBar->setValue(0);
        ui->horizontalScrollBar->hide();
        ui->verticalScrollBar->hide();
    }

    m_currentProjectPath.clear();
    m_contentsName.clear();
    m_recordFilePath.clear();
    m_recordAudioPath.clear();
    SetDisplayData(-1);
    if (m_collUserLevel != 0)
        SetDisplayData(10);

    // A partial reset (a peer's, or a load that left no page) keeps the pages
    // there are and adds the blank page after them.
    MakeBlankPage();

    ShowEmptyPage();
    m_savedNote = m_curr_note;
    m_savedZoom = 1.0;
    m_savedHScroll = 0;
    m_savedVScroll = 0;
    // A zoom under way goes on from the new page.
    if (m_zoom != 1.0)
        m_zoomBaseImage = m_backgroundImage;
    ReleaseIdlePictures();

    // The blank page is the current one: the index points at it, or the page
    // shown would be saved over the first of the pages kept.
    m_note_idx = m_note_list.size() - 1;
    m_note_cnt = m_note_list.size();
    m_import_first_idx = 0;
    UpdatePageLabel(false, m_note_idx, m_note_cnt);
    SetFreePenMode(false);
    update();
    SetNoteNaviEnable();
}

void Dialog::DeleteNote(QString stamp)
{
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        PointerSlotState& s = m_board.slot[slot];
        for (const EventMaster& em : s.records.masters()) {
            if (em.NoteName != stamp)
                continue;
            EventDetail* ed = s.records.findDetail(em.EventID);
            if (!ed || ed->Deleted)
                continue;
            if (m_bRecording) {
                ErasePoint ep;
                ep.EventID = em.EventID;
                ep.MediaPos = RecordingElapsedMs();
                ep.EraseKind = 2;
                ep.BoundRF = ed->BoundRF;
                ep.Angle = ed->Angle;
                ep.GroupIndex = -1;
                ep.GroupTotal = -1;
                ep.GroupRect = QRect(-1, -1, -1, -1);
                s.erasePoints.append(ep);
            }
            ed->PageDeleted = 1;
            ed->Deleted = 1;
        }
    }
    m_boardModified = true;
    qDebug().noquote() << QStringLiteral("DeleteNote : note_name = %1, m_curr_note.name = %2, "
                                         "m_curr_note.create_data = %3")
                              .arg(stamp, m_curr_note.name, m_curr_note.create_data);

    QStringList stamps;
    for (const NoteInfo& note : qAsConst(m_note_list))
        stamps << note.create_data;
    const PageAfterDelete after = SettleAfterDelete(stamps, m_note_idx, m_note_cnt, m_curr_note.create_data, stamp);
    m_note_idx = after.index;
    if (after.needBlankPage) {
        // The board always has a page: the last one gone, a blank one takes
        // its place.
        MakeBlankPage();
        m_note_idx = 0;
        m_note_cnt = m_note_list.size();
        NoteChangeWorker();
        return;
    }
    m_note_cnt = m_note_list.size();
    if (after.showPage) {
        NoteChangeWorker();
        return;
    }
    SetNoteNaviEnable();
    UpdatePageLabel(false, 0, 1);
}

void Dialog::UpdatePageLabel(bool redraw, int peer_index, int peer_count)
{
    if (redraw)
        RedrawPageObjects(true);
    ui->notelistLabel->setText(PageLabelText(m_collUserLevel, m_note_idx, m_note_cnt, peer_index, peer_count));
}

void Dialog::DrawRecTime()
{
    const qint64 elapsed = m_rec_time.isValid() ? m_rec_time.elapsed() : 0;
    ui->rectimeLabel->setText(RecordClockText(elapsed));
}

void Dialog::SelectAllOnNote()
{
    NoteObjectKeys.clear();
    for (int slot = 0; slot < kPointerSlotCount; ++slot) {
        const SlotRecords& records = m_board.slot[slot].records;
        for (const EventMaster& em : records.masters()) {
            if (em.NoteName != m_curr_note.create_data)
                continue;
            const EventDetail* ed = records.findDetail(em.EventID);
            if (ed && !ed->Deleted)
                NoteObjectKeys.append(MakeObjectKey(slot, em.EventID));
        }
    }
}

int Dialog::CompareKeyLists(QString stamp)
{
    return DistinctPagePosition(m_rec_note_stamps, m_rec_note_index.size(), &m_rec_distinct_stamps, stamp);
}

void Dialog::ResetSelection()
{
    ClearSelection();
    SelectionFrameShown = false;
    NoteObjectKeys.clear();
}

void Dialog::InsertClipArtImage(QString path)
{
    qDebug().noquote() << QStringLiteral("exe : InsertClipArtImage %1").arg(path);
    if (m_collUserLevel == 0 || m_collUserLevel == 3) {
        for (int slot = 0; slot < kMouseOverflowSlot; ++slot)
            m_board.slot[slot].event_kind = ekImage;
    } else {
        m_board.slot[kMouseOverflowSlot].event_kind = ekImage;
    }
    InsertImageObject(path, 1, QString());
    UpdatePageLabel(false, 0, 1);
    setCursor(Qt::ArrowCursor);
    ui->drawbtn->setChecked(false);
    ui->erasebtn->setChecked(false);
    ui->objectbtn->setChecked(false);
    ui->zoombtn->setChecked(false);
    ui->objectbtn->setChecked(true);
}

bool Dialog::ScaleImageToView(float scale)
{
    const double w = double(m_view_width) * scale;
    const double h = double(m_view_height) * scale;
    // Past these sizes an image cannot be made at all; asking would only
    // fail deep inside the image code.
    if (w < 1.0 || h < 1.0 || w > 32767.0 || h > 32767.0 || w * h * 4.0 > 2147483647.0)
        return false;
    const QImage scaled = m_viewImage.scaled(int(w), int(h), Qt::KeepAspectRatio, Qt::FastTransformation);
    return !scaled.isNull() && scaled.width() > 0 && scaled.height() > 0;
}

void Dialog::SaveCurrentNoteImage(bool redraw)
{
    if (SelectionFrameShown) {
        ClearSelection();
        SelectionFrameShown = false;
    }
    if (redraw)
        RedrawPageObjects(true);
    for (int i = 0; i < m_note_list.size(); ++i) {
        if (m_note_list[i].create_data == m_curr_note.create_data) {
            qDebug().noquote() << QStringLiteral("m_note_idx %1 m_curr_image %2 x %3")
                                      .arg(i).arg(m_viewImage.width()).arg(m_viewImage.height());
            WriteNotePageImage(m_viewImage, m_note_list[i].imagePath);
            m_note_idx = i;
            return;
        }
    }
    m_note_idx = 0;
}

// A picture kept for a step that is not under way holds a whole page: the
// page a zoom starts from is taken again when a zoom starts at 100 %, and the
// view saved for a contents save is taken when that save starts.
void Dialog::ReleaseIdlePictures()
{
    if (m_zoom == 1.0)
        m_zoomBaseImage = QImage();
    if (!m_ThreadSave.isRunning()) {
        m_savedViewImage = QImage();
        m_savedBackgroundImage = QImage();
    }
}

void Dialog::NoteChangeWorker()
{
    if (m_note_list.isEmpty())
        MakeBlankPage();
    m_note_idx = std::min(std::max(m_note_idx, 0), int(m_note_list.size()) - 1);

    SelectionEditMode = 0;
    SelectionHandle = 0;
    LockX = false;
    LockY = false;
    m_undo.Clear();
    UpdatePrevNextButtons();

    if (m_bRecording) {
        m_rec_note_index.append(m_note_idx);
        ::AppendViewRecord(m_board.slot[0], ekNoteChange, RecordingElapsedMs(), m_zoom, 0, 0,
                           m_curr_note.create_data);
    }

    SelectionFrameShown = false;
    ClearSelection();
    NoteObjectKeys.clear();
    SetNoteNaviEnable();
    m_curr_note = m_note_list.at(m_note_idx);
    if (m_bRecording) {
        m_rec_note_names.append(m_curr_note.name);
        m_rec_note_stamps.append(m_curr_note.create_data);
        m_rec_note_times.append(QString::number(RecordingElapsedMs(), 'g', -1));
    }
    SetInitImage(m_curr_note.path, m_curr_note.type, false);
    RedrawPageObjects(true);
    ReleaseIdlePictures();

    qDebug().noquote() << QStringLiteral("change note : %1 %2").arg(m_contentArea.width()).arg(m_contentArea.height());
    update();
    SetPageLabelGeometry(false, 0, 0);
    m_note_cnt = m_note_list.size();
    UpdatePageLabel(false, 0, 1);
    SetFreePenMode(false);

    if (m_collUserLevel == 3)
        PushCurrentPage();
}

// The host hands the page now shown to every peer: its kind or its source
// file, then the records and the order to redraw.
void Dialog::PushCurrentPage()
{
    Coll_Send_Resolution(0, QString());
    if (m_curr_note.type == kBoardPage) {
        Coll_Send_NoteBtn(0, QString(), NoteKeyForPageName(m_curr_note.name));
        Coll_Send_NoteData(0, QString(), 1);
    } else {
        Coll_Send_NoteData(0, QString(), 0);
        Coll_Send_Doc(0, QString(), 0, QString(), QString());
        Coll_Send_NoteData(0, QString(), 1);
    }
    Coll_Send_ImgFile(0, QString());
    Coll_Send_NoteIdx(0, QString());
    Coll_Send_StrokeData(0, QString(), 3);
    Coll_Send_DataInfo(0, QString(), 3);
    Coll_Send_Redraw(0, QString(), 3);
}

void Dialog::ChangeNote(QString stamp)
{
    // The view returns to 100 % before the page changes.
    ClickZoomBtn(QStringLiteral("ekZoomFix1"), false);
    SaveCurrentNoteImage(true);
    for (int i = 0; i < m_note_list.size(); ++i) {
        if (m_note_list.at(i).create_data == stamp) {
            m_note_idx = i;
            NoteChangeWorker();
            return;
        }
    }
}

// A clip-art picture becomes the background of the current page; the page
// keeps its stamp and its objects, which are painted back on top.
void Dialog::BackGroundClipArtImage(QString path)
{
    m_curr_note.path = path;
    m_curr_note.type = kPicturePage;
    m_curr_note.name = QStringLiteral("ClipartImage");
    SetInitImage(path, kPicturePage, false);
    m_viewImage = m_backgroundImage;
    m_backupImage = m_backgroundImage;
    update();
    ClearSelection();
    RedrawPageObjects(true);
    WriteNotePageImage(m_viewImage, m_curr_note.imagePath);
    for (NoteInfo& note : m_note_list) {
        if (note.create_data == m_curr_note.create_data) {
            note = m_curr_note;
            break;
        }
    }
    if (m_collUserLevel == 3) {
        Coll_Send_NoteData(0, QString(), 0);
        Coll_Send_Doc(0, QString(), 0, QString(), QString());
        Coll_Send_NoteData(0, QString(), 1);
        Coll_Send_NoteIdx(0, QString());
        Coll_Send_StrokeData(0, QString(), 3);
        Coll_Send_DataInfo(0, QString(), 3);
        Coll_Send_Redraw(0, QString(), 3);
    }
}

void Dialog::ShiftNoteIndexes()
{
    ShiftIndexesAbove(&m_rec_note_index, m_note_idx);
}
