// The browser's SDL gives the page's own positions whatever the pointer
// shows, and hiding the pointer in full screen would lock it to the canvas
// instead: the pointer is hidden once and left so.
#include "platform/SystemPointer.h"

SystemPointer::SystemPointer()
{
    SDL_ShowCursor(SDL_DISABLE);
}

SystemPointer::~SystemPointer() = default;

void SystemPointer::followHand(bool follow)
{
    following = follow;
}
