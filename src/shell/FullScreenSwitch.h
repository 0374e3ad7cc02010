#pragma once

#include <SDL.h>

class Drawer;

// Alt+Enter and F11 switch, while playing, between full screen at the
// display's size and a window of the settled size (1024 x 768 when that
// would fill the display). The drawer keeps everything it holds and the
// game goes on from the same frame; the settings file is not touched. Each
// switch is reported in one line; a refused mode is reported and the drawer
// falls back to the one it had.
class FullScreenSwitch {
public:
    FullScreenSwitch() = default;
    // The size and choice the game started with.
    FullScreenSwitch(int width, int height, bool fullscreen);

    // Switches when the event is Alt+Enter or F11 pressed and tells whether
    // it was; width and height become the window's new size.
    bool takes(const SDL_Event& event, Drawer& drawer, int& width, int& height);

private:
    // The display's size, and the window's when leaving full screen.
    void sizes(int& fullWidth, int& fullHeight, int& windowWidth, int& windowHeight) const;

    int settledWidth = 0;
    int settledHeight = 0;
    bool fullscreen = false;
};
