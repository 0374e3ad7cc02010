#pragma once

// Puts the game's window where a window manager puts it after a change of
// video mode: a full-screen window at the display's top-left corner, a
// window centred on the display. Where a window manager runs it does the
// same; on a bare X server nothing else would, and a window grown to the
// display's size would hang off its edge. Does nothing without a window.
class WindowPlacement {
public:
    WindowPlacement() = delete;

    static void place(bool fullscreen, int width, int height, int displayWidth,
                      int displayHeight);
};
