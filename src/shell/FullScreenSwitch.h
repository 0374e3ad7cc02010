#pragma once

#include <SDL.h>

class VideoMode;

// Alt+Enter and F11 switch, while playing, between full screen at the
// display's size and a window of the size the game started with (1024 x 768
// when that would fill the display), as the video mode answers. The drawer
// keeps everything it holds and the game goes on from the same frame; the
// settings file is not touched. Each switch is reported in one line; a
// refused mode is reported and the drawer falls back to the one it had.
// Where the video mode cannot change (a browser's canvas), the key is taken
// and the mode left alone: what holds the window (the page) switches it.
class FullScreenSwitch {
public:
    // Switches when the event is Alt+Enter or F11 pressed and tells whether
    // it was.
    bool takes(const SDL_Event& event, VideoMode& video) const;
};
