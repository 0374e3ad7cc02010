// A browser's SDL tells the page losing or gaining the focus, and the tab
// being hidden or shown, as window events.
#include "input/FocusEvents.h"

bool FocusEvents::asActiveEvent(const SDL_Event& event, SDL_Event& active)
{
    if (event.type != SDL_WINDOWEVENT)
        return false;
    Uint8 state = 0;
    bool gain = false;
    switch (event.window.event) {
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        state = SDL_APPINPUTFOCUS;
        gain = true;
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        state = SDL_APPINPUTFOCUS;
        break;
    case SDL_WINDOWEVENT_SHOWN:
        state = SDL_APPACTIVE;
        gain = true;
        break;
    case SDL_WINDOWEVENT_HIDDEN:
        state = SDL_APPACTIVE;
        break;
    default:
        return false;
    }
    active = SDL_Event{};
    active.type = SDL_ACTIVEEVENT;
    active.active.gain = gain ? 1 : 0;
    active.active.state = state;
    return true;
}
