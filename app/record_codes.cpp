#include "app/record_codes.h"

#include "board/event_kind.h"

int EventKindFromInt(int value)
{
    if (value >= 0 && value <= ekLastKind)
        return value;
    return ekFree;
}

int MouseActionFromInt(int value)
{
    return (value >= 1 && value <= 3) ? value : 0;
}
