#pragma once

#include <QSpinBox>

// The pair of range boxes the note export and print forms share: the first
// and the last note of a range (1-based), kept in order while either moves.
namespace noteforms {

// Mode 2: the last box shows `value` and both boxes take the range 1..value;
// mode 1: the first box shows `value`; other modes change nothing.
inline void SetRange(QSpinBox* first, QSpinBox* last, int mode, int value)
{
    if (mode == 2) {
        last->setRange(1, value);
        first->setRange(1, value);
        last->setValue(value);
    } else if (mode == 1) {
        first->setValue(value);
    }
}

inline void EnableRange(QSpinBox* first, QSpinBox* last, bool enabled)
{
    first->setEnabled(enabled);
    last->setEnabled(enabled);
}

// A first note above the last raises the last; a last below the first lowers the first.
inline void FirstMoved(QSpinBox* last, int value)
{
    if (value > last->value())
        last->setValue(value);
}

inline void LastMoved(QSpinBox* first, int value)
{
    if (value < first->value())
        first->setValue(value);
}

}  // namespace noteforms
