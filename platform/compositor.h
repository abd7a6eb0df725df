#pragma once

#include <QColor>

// Whether windows can let the board show through them.
//
// Without a compositing manager an X server shows a translucent pixel of an
// ARGB window with its colour multiplied by its alpha, so a faint body
// becomes a black slab. Windows that rely on translucency ask here and paint
// an opaque body instead.
namespace platform {

// True when a compositing manager runs for the default screen (someone owns
// the selection "_NET_WM_CM_S<screen>"). Asked afresh at every call. Other
// window systems than X11 always composite, so there the answer is true.
bool CompositorRunning();

// The opaque colour `colour` shows on a white page.
QColor OpaqueOnWhite(const QColor& colour);

}  // namespace platform
