// SDL 1.2 on a desktop tells focus and minimising as active events already.
#include "input/FocusEvents.h"

bool FocusEvents::asActiveEvent(const SDL_Event&, SDL_Event&)
{
    return false;
}
