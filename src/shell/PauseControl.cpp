#include "shell/PauseControl.h"

#include "input/FocusEvents.h"
#include "platform/SteadyClock.h"

namespace {

bool isArrow(SDLKey key)
{
    return key == SDLK_UP || key == SDLK_DOWN || key == SDLK_LEFT || key == SDLK_RIGHT;
}

const Uint8 focusStates = SDL_APPINPUTFOCUS | SDL_APPACTIVE;

} // namespace

PauseControl::PauseControl(std::function<void()> releaseKeys, const PadLayout& pad)
    : releaseKeys(std::move(releaseKeys)), pad(pad)
{
}

bool PauseControl::passes(const SDL_Event& event, Drawer& drawer)
{
    switch (event.type) {
    case SDL_KEYDOWN:
        if (event.key.keysym.sym == SDLK_p) {
            toggle(drawer);
            return false;
        }
        if (cause == Cause::Focus && isArrow(event.key.keysym.sym))
            resume(drawer);
        return true;
    case SDL_JOYBUTTONDOWN:
        if (event.jbutton.button == pad.start)
            toggle(drawer);
        return true;
    case SDL_ACTIVEEVENT:
        if (!(event.active.state & focusStates))
            return true;
        if (event.active.gain) {
            redraw = true;
        } else {
            if (!isPaused())
                pause(Cause::Focus);
            releaseKeys();
        }
        return false;
    case SDL_VIDEOEXPOSE:
        redraw = true;
        return false;
    default: {
        SDL_Event active;
        return FocusEvents::asActiveEvent(event, active) ? passes(active, drawer) : true;
    }
    }
}

bool PauseControl::holdsBack(SDLKey key) const
{
    return isPaused() && isArrow(key);
}

void PauseControl::pausedPass(Drawer& drawer, VideoMode& video)
{
    if (pictureDue) {
        picture.keep(drawer, video);
        pictureDue = false;
        redraw = true;
    }
    if (redraw) {
        picture.show(drawer);
        redraw = false;
    }
    // The platform's sleep, which returns at once where the host calls the
    // loop at its own pace (a browser) and must not be held up.
    SteadyClock::sleepMicroseconds(napMilliseconds * 1000);
}

void PauseControl::toggle(Drawer& drawer)
{
    if (isPaused())
        resume(drawer);
    else
        pause(Cause::Player);
}

void PauseControl::pause(Cause why)
{
    cause = why;
    pictureDue = true;
}

void PauseControl::resume(Drawer& drawer)
{
    cause = Cause::None;
    pictureDue = false;
    picture.drop(drawer);
}
