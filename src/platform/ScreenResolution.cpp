#include "platform/ScreenResolution.h"

#include <X11/Xlib.h>

namespace {

const int fallbackWidth = 1024;
const int fallbackHeight = 768;

// Asks the X server named by DISPLAY for its default screen; the connection is
// closed again at once so that nothing is held open before SDL starts.
bool queryDefaultScreen(int& width, int& height)
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    const int screen = DefaultScreen(display);
    width = DisplayWidth(display, screen);
    height = DisplayHeight(display, screen);
    XCloseDisplay(display);
    return true;
}

} // namespace

int ScreenResolution::getScreenWidth()
{
    int width = 0, height = 0;
    return queryDefaultScreen(width, height) ? width : fallbackWidth;
}

int ScreenResolution::getScreenHeight()
{
    int width = 0, height = 0;
    return queryDefaultScreen(width, height) ? height : fallbackHeight;
}
