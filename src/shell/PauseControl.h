#pragma once

#include "platform/PadLayout.h"
#include "shell/PausedPicture.h"

#include <SDL.h>

#include <functional>

class Drawer;
class VideoMode;

// Stops the world while the player is away. P, or the gamepad's Start
// button (9 on a raw pad), pauses and resumes; losing the keyboard focus or being
// minimised (or, in a browser, the tab hidden) pauses, and then P or an arrow resumes, not the focus coming
// back, so a player who clicks back in is not thrown into play. While
// paused the loop shows the last picture under a veil only when the window
// needs it and otherwise sleeps; the music goes on.
class PauseControl {
public:
    enum class Cause { None, Player, Focus };

    // How long a paused pass of the loop sleeps.
    static const Uint32 napMilliseconds = 30;

    // releaseKeys: tells the game that every key it holds is up; called
    // when the focus goes, since the key-ups will go elsewhere. pad: the
    // open pad's layout, whose Start button pauses; kept by the caller.
    PauseControl(std::function<void()> releaseKeys, const PadLayout& pad);

    // Sees every event before it is dispatched; false when it was the
    // pause's alone. The Start button and a resuming arrow go on to the game.
    bool passes(const SDL_Event& event, Drawer& drawer);
    // While paused, arrow presses do not reach the game: they would move it.
    bool holdsBack(SDLKey key) const;
    bool isPaused() const { return cause != Cause::None; }
    Cause getCause() const { return cause; }
    // One pass of the loop while paused: keeps the last picture on the first
    // pass, shows it when the window needs it, then sleeps.
    void pausedPass(Drawer& drawer, VideoMode& video);

private:
    void toggle(Drawer& drawer);
    void pause(Cause why);
    void resume(Drawer& drawer);

    std::function<void()> releaseKeys;
    const PadLayout& pad;
    Cause cause = Cause::None;
    // The last played picture is still to be read back.
    bool pictureDue = false;
    bool redraw = false;
    PausedPicture picture;
};
