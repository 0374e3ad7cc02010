#pragma once

#include "shell/JourneyFile.h"

#include <SDL.h>

class GamePlay;
class MusicLevel;

// The player's journey across runs: a start continues on the first screen of
// the plane reached last time, a door passed or the end of a run keeps it,
// the last door makes the next start a new journey, and F2 begins a new one
// at once. The music level is kept alongside. In the random mode there is no
// journey: the plane in the file is neither used nor changed. A state file
// that cannot be used is reported by JourneyFile and the journey starts anew.
class Journey {
public:
    Journey(GamePlay& game, MusicLevel& music, JourneyFile file = JourneyFile());
    Journey(const Journey&) = delete;
    Journey& operator=(const Journey&) = delete;

    // Once, after the game has settled on hand-made or random screens and
    // before the first frame: puts the game and the music where they were.
    void resume();
    // After each frame: keeps a door passed, or the end begun, at once.
    void afterFrame();
    // True when the key is F2, which begins a new journey (and keeps it).
    bool keyDown(SDLKey sym);
    // When the run ends.
    void keep();

private:
    JourneyState current() const;

    GamePlay& game;
    MusicLevel& music;
    JourneyFile file;
    // The plane as last kept, and whether the last door has been passed.
    int keptPlane = 0;
    bool ended = false;
    // The plane read from the file, written back unchanged in the random mode.
    int filePlane = 0;
};
