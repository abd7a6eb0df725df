// A new lecture: the board starts over on one white page, after asking
// whether unsaved work should be saved first.
#include "app/ui/dialog.h"
#include "app/ui/message_box.h"

void Dialog::OptNewLecture()
{
    if (m_boardModified) {
        const QMessageBox::StandardButton answer = ui::ShowMessageBox(
            QMessageBox::Question, this, QStringLiteral("Confirm"), m_lang.messages.value(103 - 100),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes);
        if (answer == QMessageBox::Cancel)
            return;
        if (answer == QMessageBox::Yes) {
            // The board is emptied once the save has finished.
            m_afterProjectSave = 3;
            OptProjectSave(false);
            return;
        }
    }
    ResetBoard(true);
    m_paintRect = QRect(0, 0, m_view_width, m_view_height);
}
