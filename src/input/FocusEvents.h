#pragma once

#include <SDL.h>

// The window's keyboard focus and visibility as SDL 1.2's active event,
// whichever way the build's SDL tells them, so that the pause knows one kind
// of event. SDL 1.2 on a desktop sends active events itself (sdl/); a
// browser's SDL sends window events for the page's focus and the tab's
// visibility (browser/).
class FocusEvents {
public:
    FocusEvents() = delete;

    // True when event tells of focus or visibility in another form than
    // SDL_ACTIVEEVENT, and then active holds it as one.
    static bool asActiveEvent(const SDL_Event& event, SDL_Event& active);
};
