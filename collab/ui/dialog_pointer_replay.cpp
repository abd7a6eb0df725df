// Strokes from a one-line pointer record "action,x,y" (1 press, 2 move,
// 3 release), drawn in pointer slot 2 like any local input. Nothing in the
// program sends such records; an outside source reaches the slot by name.
#include "app/ui/dialog.h"

#include <QStringList>

void Dialog::Rx_data_processing(QString record)
{
    const QStringList fields = record.split(QLatin1Char(','));
    if (fields.size() != 3)
        return;
    const int action = fields.at(0).toInt(nullptr, 10);
    const int x = fields.at(1).toInt(nullptr, 10);
    const int y = fields.at(2).toInt(nullptr, 10);
    // Only a board that draws for itself takes them: alone or hosting.
    if (m_collUserLevel != 0 && m_collUserLevel != 3)
        return;
    constexpr int kSlot = 2;
    switch (action) {
    case 1:
        PointerPress(kSlot, x, y, true, false);
        break;
    case 2:
        PointerMove(kSlot, x, y, true, false);
        break;
    case 3:
        PointerRelease(kSlot, x, y, true, false);
        break;
    default:
        break;
    }
}

void Dialog::Process_Rx() {}
