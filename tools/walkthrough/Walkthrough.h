#pragma once

// Input scripts for the game, and playing them through the real GamePlay.
// Shared, header-only, by the walkthrough player, the route finder and the
// walkthrough test. A malformed script is refused with the line number and
// what is wrong; playing never fails.
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
#include <sstream>
#include <string>
#include <vector>

#include "GamePlay.h"
#include "VellumDrawingLib/Drawer.h"

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

inline const char* keyName(SDLKey key)
{
    switch (key) {
    case SDLK_LEFT: return "left";
    case SDLK_RIGHT: return "right";
    case SDLK_UP: return "up";
    case SDLK_DOWN: return "down";
    default: return "?";
    }
}

inline bool keyFromName(const std::string& name, SDLKey& key)
{
    for (SDLKey candidate : {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN}) {
        if (name == keyName(candidate)) {
            key = candidate;
            return true;
        }
    }
    return false;
}

// Reads a script; false with a message naming the line when it is malformed.
inline bool parseScript(std::istream& in, Script& script, std::string& error)
{
    script = Script();
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line)) {
        ++lineNumber;
        const std::size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        std::istringstream words(line);
        std::string word;
        if (!(words >> word))
            continue;
        const auto fail = [&](const std::string& what) {
            error = "line " + std::to_string(lineNumber) + ": " + what;
            return false;
        };
        std::size_t used = 0;
        int frame = -1;
        try {
            frame = std::stoi(word, &used);
        } catch (const std::exception&) {
            used = 0;
        }
        if (used != word.size() || frame < 0)
            return fail("expected a frame number, found '" + word + "'");
        if (frame < script.lastFrame)
            return fail("frame " + word + " comes before an earlier line's frame");
        script.lastFrame = frame;
        while (words >> word) {
            Event event;
            event.frame = frame;
            if (word.size() < 2 || (word[0] != '+' && word[0] != '-'))
                return fail("expected +key or -key, found '" + word + "'");
            event.down = word[0] == '+';
            if (!keyFromName(word.substr(1), event.key))
                return fail("unknown key '" + word.substr(1) + "' (left, right, up, down)");
            script.events.push_back(event);
        }
    }
    return true;
}

// Writes events in the script format, one line per frame.
inline void writeEvents(std::ostream& out, const std::vector<Event>& events, int lastFrame)
{
    for (std::size_t i = 0; i < events.size();) {
        out << events[i].frame;
        const int frame = events[i].frame;
        for (; i < events.size() && events[i].frame == frame; ++i)
            out << ' ' << (events[i].down ? '+' : '-') << keyName(events[i].key);
        out << '\n';
    }
    out << lastFrame << '\n';
}

inline void sendKey(GamePlay& game, SDLKey key, bool down)
{
    SDL_keysym record = {};
    record.sym = key;
    if (down)
        game.keyDown(record);
    else
        game.keyUp(record);
}

// A drawer without a display: it takes over what it is handed and draws
// nothing, so the game's whole frame runs as it does on screen.
class NullDrawer : public Drawer {
public:
    bool initialise(unsigned short, unsigned short, bool, int) override { return true; }
    void initialiseLight(unsigned short, unsigned short) override {}
    unsigned int loadImage(unsigned char* pixels, unsigned int, unsigned int) override
    {
        if (pixels == nullptr)
            return 0;
        delete[] pixels;
        return ++images;
    }
    void releaseImage(unsigned int) override {}
    unsigned int loadPoly(float*, int) override { return polys++; }
    unsigned int loadFont(const std::string&, float) override { return 0; }
    void beginDrawing() override {}
    void endDrawing() override {}
    unsigned char* getScreenPixels() override { return nullptr; }
    void drawImage(unsigned int, float, float, float, float, float, float, float, float) override {}
    void drawImageRot(unsigned int, float, float, float, float, float, float, float) override {}
    void drawPoly(unsigned int, unsigned int, float, float, float, float, float, float, float,
                  float) override
    {
    }
    void drawText(const std::string&, float, float, float, float, float, float, float) override {}
    void drawText(const std::string&, unsigned int, float, float, float, float, float, float,
                  float, float) override
    {
    }
    void drawLine(float, float, float, float, float, float, float, float) override {}
    void fillRect(float, float, float, float, unsigned char, unsigned char, unsigned char,
                  unsigned char) override
    {
    }
    void fillGradient(float, float, float, float, unsigned char, unsigned char, unsigned char,
                      unsigned char, unsigned char, unsigned char, unsigned char,
                      unsigned char) override
    {
    }
    void setViewport(short, short, short, short) override {}
    void resetViewport() override {}
    short getActualWidth() const override { return 1024; }
    short getActualHeight() const override { return 768; }
    void loadGlyph(Glyph, unsigned char* pixels, unsigned int) override { delete[] pixels; }

private:
    unsigned int images = 0;
    unsigned int polys = 0;
};

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
inline Report play(GamePlay& game, const Script& script, std::ostream* trace = nullptr)
{
    NullDrawer drawer;
    Report report;
    report.planeEntered.push_back(0);
    report.screensSeen.push_back(1u);
    std::size_t next = 0;
    for (int frame = 0; frame <= script.lastFrame; ++frame) {
        for (; next < script.events.size() && script.events[next].frame == frame; ++next)
            sendKey(game, script.events[next].key, script.events[next].down);
        const int screenBefore = game.currentScreen;
        const int planeBefore = game.currentPlane;
        const bool groundedBefore = game.player.grounded;
        game.draw(&drawer);
        // A jump shows as an arc one tick old.
        const bool jumped = game.player.jumping && game.player.jumpAngle < 0.1f;
        const bool landed = game.player.grounded && !groundedBefore;
        if (trace != nullptr && (game.currentScreen != screenBefore ||
                                 game.currentPlane != planeBefore || jumped || landed)) {
            *trace << "frame " << frame << ": plane " << game.currentPlane << ", screen "
                   << game.currentScreen << ", figure at " << game.player.x << ", "
                   << game.player.y << (jumped ? ", jumps" : "") << (landed ? ", lands" : "")
                   << '\n';
        }
        while (static_cast<int>(report.planeEntered.size()) <= game.currentPlane) {
            report.planeEntered.push_back(frame);
            report.screensSeen.push_back(0);
        }
        report.screensSeen[game.currentPlane] |= 1u << game.currentScreen;
        if (report.endBegins < 0 && game.endFade < 1.0f)
            report.endBegins = frame;
        if (report.grey < 0 && game.endFade <= 0.0f)
            report.grey = frame;
        report.frames = frame + 1;
    }
    return report;
}

}  // namespace Walkthrough
