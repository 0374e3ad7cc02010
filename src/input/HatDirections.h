#pragma once

#include <SDL.h>

#include <utility>
#include <vector>

// A gamepad's direction pad reported as a hat: each of its eight positions
// holds one arrow, or two on the diagonals, as the stick's sides do. Only
// the arrows that change are pressed or released.
class HatDirections {
public:
    // The arrow presses (true) and releases (false) that take the pad from
    // its last position to this one (SDL_HAT_* bits), releases first.
    std::vector<std::pair<SDLKey, bool>> moved(Uint8 position);
    // Forgets what was held, as after every arrow was released elsewhere.
    void reset() { held = SDL_HAT_CENTERED; }
    // The arrows held, as SDL_HAT_* bits.
    Uint8 position() const { return held; }
    // An arrow's SDL_HAT_* bit; 0 for any other key.
    static Uint8 bit(SDLKey arrow);

private:
    Uint8 held = SDL_HAT_CENTERED;
};
