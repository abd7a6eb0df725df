// The selection of the main window: which objects are picked, and their flags.
#include "app/ui/dialog.h"

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
