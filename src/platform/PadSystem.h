#pragma once

#include "platform/PadLayout.h"
#include "platform/PadMappings.h"

#include <SDL.h>

#include <string>
#include <vector>

// How this system's SDL finds gamepads and numbers their controls: which
// pads it describes by itself, which of the player's lines it honours and
// how a pad plugged in later is found. A pad that cannot be opened is
// simply not there.
class PadSystem {
public:
    PadSystem() = delete;

    // The platform field of the player's lines this system honours.
    static const char* platform();
    // Before SDL starts: hands this system's SDL what it should know
    // (the player's lines for it, the way pads are to be shown).
    static void prepare(const std::vector<PadMappings::Entry>& playerLines);
    // Once SDL has started, and before it stops: what this system's SDL
    // must keep running for the pads while the game reads them.
    static void start();
    static void stop();
    // Whether a pad plugged in after the start is found only by starting
    // the joystick subsystem again (SDL 1.2 has no hot-plug of its own).
    static bool restartFindsPads();
    // Opens the first pad, after starting the joystick subsystem again when
    // restart: null when there is none, else its name and, when this system
    // knows the pad, its layout (raw when it does not).
    static SDL_Joystick* openFirst(bool restart, std::string& name, PadLayout& layout);
};
