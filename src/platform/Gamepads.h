#pragma once

#include "platform/FilePath.h"
#include "platform/PadLayout.h"
#include "platform/PadMappings.h"

#include <SDL.h>

#include <string>
#include <vector>

// The gamepad the game reads: the first the system offers, opened at the
// start and looked for again at a low rate while none is open, and after a
// long quiet in case it was unplugged (SDL 1.2 cannot tell). Each pad taken
// up is told in one line, "Gamepad: <name> (standard layout)" or "(raw)".
// Without a pad nothing is told and the keys play alone.
class Gamepads {
public:
    // Frames between looks for a pad while none is open: about 2 s.
    static const int searchFrames = 60;
    // Frames without an event of the open pad after which it is looked for
    // again: about 3 s, one restart of the joystick subsystem (under a
    // millisecond) each time.
    static const int quietFrames = 100;

    // Reads the player's own layouts (a missing file is none) and hands
    // them to the system; before SDL starts.
    explicit Gamepads(const FilePath& playerFile);
    ~Gamepads();
    Gamepads(const Gamepads&) = delete;
    Gamepads& operator=(const Gamepads&) = delete;

    // gamecontrollerdb.txt in the settings folder, beside the settings.
    static FilePath playerFile();
    // The first pad SDL offers, opened, with its name (the subsystem
    // started again first when restart); null when there is none.
    static SDL_Joystick* openFirstPad(bool restart, std::string& name);

    // Once a frame while SDL runs: opens a pad when one is due. True when
    // the pad or its layout changed (a pad came, went or was replaced).
    bool frame();
    // An event of the open pad came: it is still there.
    void heard() { quiet = 0; }
    // Closes the pad and lets the system's SDL go; before SDL stops.
    void close();

    SDL_Joystick* pad = nullptr;
    std::string name;
    PadLayout layout;

private:
    bool open(bool restart);
    void closePad();

    std::vector<PadMappings::Entry> playerLines;
    bool started = false;
    int sinceSearch = 0;
    int quiet = 0;
};
