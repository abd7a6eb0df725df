#pragma once

#include <QPointF>
#include <array>

#include "board/board_records.h"

// One pointer slot as seen by the touch handler: which touch owns it.
struct TouchSlot {
    QPointF first;
    QPointF current;
    bool used = false;
    int touchId = -1;
};

// Maps active touch ids to pointer slots 0..9 so that ten fingers draw at
// once; slot 10 is the shared overflow slot and is never claimed.
class TouchSlotTable
{
public:
    static constexpr int kClaimableSlots = 10;

    // Lowest free slot 0..9, now owned by touchId; -1 when all ten are used.
    int Claim(int touchId);

    // Frees a slot; the current point is kept. Indexes outside 0..10 are ignored.
    void Release(int index);
    void ReleaseAll();

    // Slot 0..9 owned by touchId, searched from 0; -1 when none.
    int SlotOfTouch(int touchId) const;

    TouchSlot& operator[](int index) { return m_slots[index]; }
    const TouchSlot& operator[](int index) const { return m_slots[index]; }

private:
    std::array<TouchSlot, kPointerSlotCount> m_slots;
};
