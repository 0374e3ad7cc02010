#include "input/HatDirections.h"

namespace {

struct Direction {
    Uint8 bit;
    SDLKey key;
};

const Direction directions[] = {
    {SDL_HAT_UP, SDLK_UP}, {SDL_HAT_RIGHT, SDLK_RIGHT},
    {SDL_HAT_DOWN, SDLK_DOWN}, {SDL_HAT_LEFT, SDLK_LEFT}};

} // namespace

Uint8 HatDirections::bit(SDLKey arrow)
{
    for (const Direction& d : directions)
        if (d.key == arrow)
            return d.bit;
    return 0;
}

std::vector<std::pair<SDLKey, bool>> HatDirections::moved(Uint8 position)
{
    std::vector<std::pair<SDLKey, bool>> presses;
    for (const Direction& d : directions)
        if ((held & d.bit) && !(position & d.bit))
            presses.emplace_back(d.key, false);
    for (const Direction& d : directions)
        if (!(held & d.bit) && (position & d.bit))
            presses.emplace_back(d.key, true);
    held = position;
    return presses;
}
