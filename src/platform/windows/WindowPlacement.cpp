// Windows puts a full-screen window at the display's corner itself, and SDL
// centres a window when SDL_VIDEO_CENTERED is set (the drawer sets it): there
// is nothing left to place.
#include "platform/WindowPlacement.h"

void WindowPlacement::place(bool, int, int, int, int) {}
