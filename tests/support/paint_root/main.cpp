// PaintXRoot <#rrggbb>: sets the root window's background to that colour and
// clears it. The X server then paints every uncovered part of the screen
// itself, so the colour stays after this program ends and needs no client to
// answer expose events. Exit code 0 when the colour was set.
#include <X11/Xlib.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: PaintXRoot <#rrggbb>\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    const int screen = DefaultScreen(display);
    XColor colour = {};
    if (!XParseColor(display, DefaultColormap(display, screen), argv[1], &colour)
        || !XAllocColor(display, DefaultColormap(display, screen), &colour)) {
        std::fprintf(stderr, "not a colour: %s\n", argv[1]);
        XCloseDisplay(display);
        return 2;
    }
    const Window root = RootWindow(display, screen);
    XSetWindowBackground(display, root, colour.pixel);
    XClearWindow(display, root);
    XSync(display, False);
    // Keep the colour cell once we are gone, as a desktop setter must.
    XSetCloseDownMode(display, RetainPermanent);
    XCloseDisplay(display);
    return 0;
}
