#pragma once

// The update bridge ("Brivane.dll") is resolved by name at run time; the
// whiteboard and the bridge share one set of function types, so a signature
// can never drift between the caller and the library.
#include "outside/Brivane/brivane_api.h"

