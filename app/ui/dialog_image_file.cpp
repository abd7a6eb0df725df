// A picture from a file, as its own page or as an object on this page; and
// the upload login the upload dialog leaves behind when it closes.
#include "app/ui/dialog.h"
#include "app/ui/message_box.h"
#include "board/note_pages.h"
#include "panels/ui/configdlg.h"
#include "ui_dialog.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>

namespace {

// A page keeps its picture for the whole session, so each chosen file gets a
// copy of its own: a second picture of the same name must not be answered
// with the first one's copy.
QString UnusedCopyPath(const QString& folder, const QString& stamp, const QString& fileName)
{
    const QString base = QStringLiteral("%1%2_%3").arg(folder, stamp, fileName);
    QString candidate = base;
    for (int n = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n) {
        if (n > 1000)
            return QString();
        candidate = QStringLiteral("%1%2_%3_%4").arg(folder, stamp).arg(n).arg(fileName);
    }
    return candidate;
}

}  // namespace

void Dialog::LoadImageFile()
{
    const QString title = m_lang.hint.value(957 - 900);
    const QString path = ui::GetOpenFileName(m_configDlg, title, m_lastImagePath,
                                             QStringLiteral("Images (*.gif *.png *.bmp *.xpm *.jpg)"));
    if (path.isEmpty())
        return;
    m_lastImagePath = path;
    const QMessageBox::StandardButton answer =
        ui::ShowMessageBox(QMessageBox::Question, m_configDlg, title, m_lang.messages.value(152 - 100),
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    PlaceImageFile(path, answer);
}

void Dialog::PlaceImageFile(const QString& path, QMessageBox::StandardButton answer)
{
    const QString fileName = QFileInfo(path).fileName();
    if (answer == QMessageBox::Yes) {
        const QString copy = UnusedCopyPath(m_workFolder, MakeTimeStampId(), fileName);
        if (copy.isEmpty() || !QFile::copy(path, copy)) {
            qDebug().noquote() << QStringLiteral("exe : could not copy %1 into the work folder").arg(path);
            ui::WarningBox(this, m_lang.hint.value(957 - 900),
                           QStringLiteral("The picture could not be copied:\n%1").arg(path));
            return;
        }
        CreateNotePage(kPicturePage, fileName, copy, false);
        if (m_collUserLevel == 3) {
            Coll_Send_NoteData(0, QString(), 0);
            Coll_Send_Doc(0, QString(), 0, QString(), QString());
            Coll_Send_NoteData(0, QString(), 1);
            Coll_Send_NoteIdx(0, QString());
        }
    } else if (answer == QMessageBox::No) {
        if (m_collUserLevel == 0 || m_collUserLevel == 3) {
            for (PointerSlotState& slot : m_board.slot)
                slot.event_kind = ekImage;
        } else {
            m_board.slot[kMouseOverflowSlot].event_kind = ekImage;
        }
        InsertImageObject(path, true, QString());
        setCursor(m_cursorPointingHand);
    }
}

void Dialog::StrovaSaveInfo(QString id, int saveId)
{
    m_config.SaveID = saveId;
    m_config.ID = saveId != 0 ? id : QString();
    SaveConfigData();
}
