// Areas cut out of a frozen screen: each dragged rectangle is confirmed, and
// the last answer turns them all into image objects on the note's own page.
#include "app/ui/dialog.h"
#include "app/ui/message_box.h"
#include "board/event_kind.h"
#include "board/time_stamps.h"
#include "storage/note_export.h"

#include <QDebug>

void Dialog::UseSelectToolAfterImage()
{
    if (m_collUserLevel == 0 || m_collUserLevel == 3) {
        for (int i = 0; i < kMouseOverflowSlot; ++i)
            m_board.slot[i].event_kind = ekSelect;
    } else {
        m_board.slot[kMouseOverflowSlot].event_kind = ekSelect;
    }
}

void Dialog::EndScreenCapture()
{
    CaptureRects.clear();
    setCursor(m_config.cursor ? m_cursorPen : m_cursorBlank);
    HideCaptureOverlays();
}

void Dialog::InsertCaptureImage(int slot)
{
    if (!IsValidPointerSlot(slot))
        return;
    PointerSlotState& s = m_board.slot[slot];
    const QRect dragged =
        QRect(ToDocument(s.anchor).toPoint(), ToDocument(s.current).toPoint()).normalized();
    const QMessageBox::StandardButton answer =
        ui::ShowMessageBox(QMessageBox::Question, this, QStringLiteral("Confirm"), m_lang.messages.value(135 - 100),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);

    if (answer == QMessageBox::Yes) {
        // One more area may follow; the frozen screen is shown clean again.
        CaptureRects.append(dragged);
        ShowEmptyPage();
        return;
    }

    if (answer == QMessageBox::No) {
        CaptureRects.append(dragged);
        const QImage frozen = m_backgroundImage.copy();
        SetInitImage(m_curr_note.path, m_curr_note.type, false);
        const QString stamp = MakeTimeStampId();
        const int W = width();
        const int H = height();
        for (int k = 0; k < CaptureRects.size(); ++k) {
            const QRect area = CaptureRects[k].intersected(frozen.rect());
            const QString name = QStringLiteral("Obj_image_%1").arg(k) + stamp;
            const QString path = QStringLiteral("%1%2.png").arg(m_workFolder, name);
            if (area.isEmpty() || !storage::WriteNoteImage(frozen.copy(area), path, QStringLiteral(".png"))) {
                qDebug().noquote() << QStringLiteral("exe : captured area %1 not saved: %2").arg(k).arg(path);
                continue;
            }
            m_mediaFiles.append(path);
            const int w = area.width();
            const int h = area.height();
            s.anchor = QPoint(W / 2 - w / 2, H / 2 - h / 2);
            s.current = QPoint(W / 2 + w / 2, H / 2 + h / 2);
            CreateObjectEvent(slot, m_mediaFiles.size() - 1);
            if (m_collUserLevel == 3)
                Coll_Send_Doc(0, QString(), 3, path, name);
        }
        // The note's page comes back with every object, the new areas among
        // them, painted once.
        RedrawPageObjects(true);
        UseSelectToolAfterImage();
        EndScreenCapture();
        SelectObjectAtPoint(s.anchor.x(), s.anchor.y(), s.current.x(), s.current.y(), false);
        ShowHostUserList();
        ShowWindowModeInstruments();
        return;
    }

    // Cancelled: the page is as it was before the screen was frozen.
    UseSelectToolAfterImage();
    CaptureRects.clear();
    SetInitImage(m_curr_note.path, m_curr_note.type, false);
    RedrawPageObjects(true);
    m_backupImage = m_viewImage.copy();
    EndScreenCapture();
    update();
    ShowHostUserList();
    ShowWindowModeInstruments();
}
