#pragma once

// Integer attributes read back from stored event records pass through these
// before they enter the board records: anything unknown becomes a value the
// board can draw.

// Event kind "KD": 0 and the kinds 1..36 stay; anything else is a free-pen stroke (3).
int EventKindFromInt(int value);

// Pointer action "MA": 1, 2 and 3 stay; anything else is 0.
int MouseActionFromInt(int value);
