#include "board/touch_slots.h"

int TouchSlotTable::Claim(int touchId)
{
    for (int i = 0; i < kClaimableSlots; ++i) {
        if (!m_slots[i].used) {
            m_slots[i].used = true;
            m_slots[i].touchId = touchId;
            return i;
        }
    }
    return -1;
}

void TouchSlotTable::Release(int index)
{
    if (!IsValidPointerSlot(index))
        return;
    m_slots[index].first = QPointF(0, 0);
    m_slots[index].used = false;
    m_slots[index].touchId = -1;
}

void TouchSlotTable::ReleaseAll()
{
    for (int i = 0; i < kPointerSlotCount; ++i)
        Release(i);
}

int TouchSlotTable::SlotOfTouch(int touchId) const
{
    for (int i = 0; i < kClaimableSlots; ++i) {
        if (m_slots[i].touchId == touchId)
            return i;
    }
    return -1;
}
