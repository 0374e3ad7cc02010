#include "Walkthrough.h"

#include "game/LogicalScreen.h"
#include "VellumDrawingLib/NullDrawer.h"

#include <sstream>

namespace Walkthrough {

const char* keyName(SDLKey key)
{
    switch (key) {
    case SDLK_LEFT: return "left";
    case SDLK_RIGHT: return "right";
    case SDLK_UP: return "up";
    case SDLK_DOWN: return "down";
    default: return "?";
    }
}

bool keyFromName(const std::string& name, SDLKey& key)
{
    for (SDLKey candidate : {SDLK_LEFT, SDLK_RIGHT, SDLK_UP, SDLK_DOWN}) {
        if (name == keyName(candidate)) {
            key = candidate;
            return true;
        }
    }
    return false;
}

bool parseScript(std::istream& in, Script& script, std::string& error)
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

void writeEvents(std::ostream& out, const std::vector<Event>& events, int lastFrame)
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

void sendKey(GamePlay& game, SDLKey key, bool down)
{
    SDL_keysym record = {};
    record.sym = key;
    if (down)
        game.keyDown(record);
    else
        game.keyUp(record);
}

Report play(GamePlay& game, const Script& script, std::ostream* trace)
{
    NullDrawer drawer(LogicalScreen::width, LogicalScreen::height);
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
} // namespace Walkthrough
