#include "platform/compositor.h"

#include <QByteArray>
#include <QGuiApplication>

// Xlib defines macros (None, Bool, Status ...) that clash with Qt's names:
// it comes after every Qt header.
#include <X11/Xlib.h>

namespace platform {

bool CompositorRunning()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const QByteArray selection = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    const Atom atom = XInternAtom(display, selection.constData(), False);
    const bool running = XGetSelectionOwner(display, atom) != 0;
    XCloseDisplay(display);
    return running;
}

QColor OpaqueOnWhite(const QColor& colour)
{
    const qreal a = colour.alphaF();
    auto channel = [a](int c) { return qRound(c * a + 255 * (1 - a)); };
    return QColor(channel(colour.red()), channel(colour.green()), channel(colour.blue()));
}

}  // namespace platform
