// Stand-ins for main-window methods that the page code hands over to (the
// toolbar, the floating panels, selection and image objects, collaboration).
// Each does the least the pages rely on, or notes that it was asked; the
// subsystem that owns it replaces its body here with the real one.
#include <QDebug>

#include "app/ui/dialog.h"
#include "board/note_pages.h"
#include "ui_dialog.h"

namespace {

void NotYet(const char* name)
{
    qDebug().noquote() << QStringLiteral("exe : %1 is not available yet").arg(QLatin1String(name));
}

}  // namespace

void Dialog::SetFreePenMode(int) { NotYet("SetFreePenMode"); }
void Dialog::ClearSubBtn() { m_subButtonRowOpen = false; }
void Dialog::SetPageLabelGeometry(int, int, int) { NotYet("SetPageLabelGeometry"); }
void Dialog::SetPageNaviEnable(int, int) { NotYet("SetPageNaviEnable"); }
void Dialog::InsertImageObject(QString, int, QString) { NotYet("InsertImageObject"); }
void Dialog::SetDisplayData(int) { NotYet("SetDisplayData"); }
void Dialog::Coll_Send_ImgPath(int, QString, int) { NotYet("Coll_Send_ImgPath"); }
void Dialog::HidePagePanels() { NotYet("HidePagePanels"); }
void Dialog::ResetToolbarForNewBoard() { NotYet("ResetToolbarForNewBoard"); }

void Dialog::ClearSelection()
{
    for (const QString& key : qAsConst(m_select_id_str)) {
        int slot = 0;
        int id = 0;
        if (!ParseObjectKey(key, &slot, &id))
            continue;
        if (EventDetail* ed = m_board.slot[slot].records.findDetail(quint16(id)))
            ed->Selected = 0;
    }
    m_select_id_str.clear();
    m_selectionRect = QRect(0, 0, 0, 0);
}

void Dialog::SetNoteNaviEnable()
{
    m_note_cnt = m_note_list.size();
    ui->prebtn->setEnabled(m_note_idx > 0);
    ui->postbtn->setEnabled(m_note_idx + 1 < m_note_cnt);
}

void Dialog::ShiftNoteIndexes()
{
    ShiftIndexesAbove(&m_rec_note_index, m_note_idx);
}
