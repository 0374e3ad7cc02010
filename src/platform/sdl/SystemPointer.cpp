// SDL 1.2 gives a hidden pointer over a grabbed window relative motion, and
// a full-screen window is always grabbed: the positions then add up the
// mouse's counts from wherever the pointer was hidden (under X the raw
// counts, without the desktop's acceleration), and moves that are not a
// device's counts (the X test tools') never arrive. A pointer that is shown
// keeps the desktop's positions, so one whose image is all clear is shown.
#include "platform/SystemPointer.h"

namespace {

// SDL 1.2 cursors are whole bytes wide.
const int blankSize = 8;

} // namespace

SystemPointer::SystemPointer()
{
    SDL_ShowCursor(SDL_DISABLE);
}

SystemPointer::~SystemPointer()
{
    if (!blank)
        return;
    SDL_SetCursor(own);
    SDL_FreeCursor(blank);
}

void SystemPointer::followHand(bool follow)
{
    if (follow == following)
        return;
    following = follow;
    if (!follow) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    if (!blank) {
        Uint8 clear[blankSize * blankSize / 8] = {};
        own = SDL_GetCursor();
        blank = SDL_CreateCursor(clear, clear, blankSize, blankSize, 0, 0);
        if (!blank)
            return;
    }
    SDL_SetCursor(blank);
    SDL_ShowCursor(SDL_ENABLE);
}
