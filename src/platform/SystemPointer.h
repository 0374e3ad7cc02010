#pragma once

#include <SDL.h>

// The system's mouse pointer over the game's window. Play shows none. Where
// the game draws a pointer of its own (the editor), the mouse must still
// give the positions the desktop's pointer has, so that the drawn one
// follows the hand and reaches every edge, in full screen as in a window.
// Nothing fails loudly: a pointer image SDL refuses leaves the pointer hidden.
class SystemPointer {
public:
    // Hides the pointer; to be made once the window is open.
    SystemPointer();
    // Gives back the system's own pointer image; to go before SDL quits.
    ~SystemPointer();
    SystemPointer(const SystemPointer&) = delete;
    SystemPointer& operator=(const SystemPointer&) = delete;

    // True: desktop positions with nothing shown; false: hidden, as in play.
    // Cheap when nothing changes, so it may be told every frame.
    void followHand(bool follow);

private:
    bool following = false;
    // The clear image and SDL's own, where the pointer is shown to follow
    // (the browser's SDL needs neither).
    [[maybe_unused]] SDL_Cursor* blank = nullptr;
    [[maybe_unused]] SDL_Cursor* own = nullptr;
};
