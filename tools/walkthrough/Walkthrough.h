#pragma once

// Input scripts for the game, and playing them through the real GamePlay.
// A small library shared by the walkthrough player, the route finder, the
// preview, the frame benchmark and the game's tests. A malformed script is
// refused with the line number and what is wrong; playing never fails.
//
// Script format (plain text, one line per frame that has key events):
//   # a comment; blank lines are ignored
//   <frame> <event> <event> ...
// Frames count from 0, and a line's events happen just before that frame's
// update, in the order written. An event is "+" (key goes down) or "-" (key
// goes up) followed by one of: left, right, up, down. A line with a frame and
// no events only marks how far to play: the run ends after the highest frame
// named in the script. Frames must not decrease from line to line.

#include <SDL.h>

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "game/GamePlay.h"

namespace Walkthrough {

struct Event {
    int frame = 0;
    bool down = true;
    SDLKey key = SDLK_UNKNOWN;
};

struct Script {
    std::vector<Event> events;
    int lastFrame = -1;  // the run draws frames 0 .. lastFrame
};

const char* keyName(SDLKey key);

bool keyFromName(const std::string& name, SDLKey& key);

// Reads a script; false with a message naming the line when it is malformed.
bool parseScript(std::istream& in, Script& script, std::string& error);

// Writes events in the script format, one line per frame.
void writeEvents(std::ostream& out, const std::vector<Event>& events, int lastFrame);

void sendKey(GamePlay& game, SDLKey key, bool down);

struct Report {
    std::vector<int> planeEntered;  // frame at which plane i became current
    std::vector<unsigned> screensSeen;  // per plane, bit i: screen i was shown
    int endBegins = -1;             // first frame after which endFade < 1
    int grey = -1;                  // first frame after which endFade <= 0
    int frames = 0;                 // frames drawn
};

// Plays the script; the report's frames are those after whose draw the
// change was first seen. With a trace stream, every screen change and every
// jump is written there with the frame and the figure's position.
Report play(GamePlay& game, const Script& script, std::ostream* trace = nullptr);

}  // namespace Walkthrough
