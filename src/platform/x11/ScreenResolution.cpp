#include "platform/ScreenResolution.h"

#include "platform/Environment.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

namespace {

// A busy X server now and then refuses a connection with EAGAIN when several
// arrive in quick succession; a moment later it accepts again.
Display* openDisplay()
{
    const int attempts = Environment::isSet("DISPLAY") ? 4 : 1;
    for (int attempt = 1;; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        if (attempt == attempts)
            return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * attempt));
    }
}

// Asks the X server named by DISPLAY for its default screen; the connection is
// closed again at once so that nothing is held open before SDL starts.
bool queryDefaultScreen(int& width, int& height)
{
    Display* display = openDisplay();
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
