#pragma once

// SDL events made up as SDL would queue them, and the key records the
// application hands to the game, for tests that drive a real Application.

#include <SDL.h>

#include <ostream>

struct KeyPress {
    SDLKey sym;
    bool down;
};

inline bool operator==(const KeyPress& a, const KeyPress& b)
{
    return a.sym == b.sym && a.down == b.down;
}

inline std::ostream& operator<<(std::ostream& out, const KeyPress& press)
{
    return out << (press.down ? "down " : "up ") << SDL_GetKeyName(press.sym);
}

inline KeyPress down(SDLKey sym) { return {sym, true}; }
inline KeyPress up(SDLKey sym) { return {sym, false}; }

inline SDL_Event axisEvent(Uint8 axis, Sint16 value)
{
    SDL_Event event = {};
    event.type = SDL_JOYAXISMOTION;
    event.jaxis.type = SDL_JOYAXISMOTION;
    event.jaxis.axis = axis;
    event.jaxis.value = value;
    return event;
}

inline SDL_Event hatEvent(Uint8 position)
{
    SDL_Event event = {};
    event.type = SDL_JOYHATMOTION;
    event.jhat.type = SDL_JOYHATMOTION;
    event.jhat.value = position;
    return event;
}

inline SDL_Event buttonEvent(Uint8 button, bool pressed)
{
    SDL_Event event = {};
    event.type = pressed ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP;
    event.jbutton.type = event.type;
    event.jbutton.button = button;
    event.jbutton.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    return event;
}

inline SDL_Event keyEvent(SDLKey sym, bool pressed, SDLMod mod = KMOD_NONE)
{
    SDL_Event event = {};
    event.type = pressed ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.type = event.type;
    event.key.state = pressed ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.sym = sym;
    event.key.keysym.mod = mod;
    return event;
}

// Focus or visibility gained (gain) or lost, for the SDL_APP* states given.
inline SDL_Event activeEvent(Uint8 state, bool gain)
{
    SDL_Event event = {};
    event.type = SDL_ACTIVEEVENT;
    event.active.type = SDL_ACTIVEEVENT;
    event.active.state = state;
    event.active.gain = gain ? 1 : 0;
    return event;
}
