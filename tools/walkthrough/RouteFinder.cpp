// Finds a route through a levels file and writes it as a walkthrough script.
//   BrickVoyagerRouteFinder [OPTIONS] LEVELS_FILE SCRIPT_OUT
//                           [MAX_FRAMES_PER_PLANE [CAP]]
// Plane by plane, the game's route search (src/game/RouteSearch.h) plays the real game from the
// plane's start until the figure stands in front of the plane's door; the
// route found is the fewest frames the search saw. Options:
//   --mid-air, --off-screen  the shortcuts the rules allow beyond what a
//                            player does (see RouteSearch::Options)
//   --no-jumps               never jump
//   --no-wrap                never leave a row's left screen through its
//                            left edge or its right screen through its right
//   --trace                  tell the screen changes, jumps and landings of
//                            each plane's route
//   --after SCRIPT FRAME     play SCRIPT up to FRAME, then search from there
//                            to the door of the plane it has reached
//   --plane N                search plane N only (the figure is taken
//                            through the earlier doors); no script is written
//   --freeze P.S.B           block B of screen S of plane P keeps its key 0
//   --remove P.S.B           block B of screen S of plane P is gone
//   --add P.S.X.Y.T          screen S of plane P gets a still block of type T
//                            at (X, Y)
// The last four make variants of a plane without the idea it teaches: the
// search should then fail on it. Exits 0 when a route was found through
// every plane searched, 1 when not, 2 on bad input.
#include <fstream>
#include <iostream>
#include <sstream>

#include "FatalError.h"
#include "game/BlockTypes.h"
#include "game/RouteSearch.h"
#include "Walkthrough.h"

namespace {

using Held = RouteSearch::Held;

struct Change {
    std::string kind;
    std::vector<int> numbers;  // plane, screen, then the rest
};

bool parseChange(const std::string& kind, const std::string& text, std::size_t count,
                 std::vector<Change>& changes)
{
    Change change{kind, {}};
    std::istringstream in(text);
    std::string number;
    while (std::getline(in, number, '.')) {
        try {
            change.numbers.push_back(std::stoi(number));
        } catch (const std::exception&) {
            return false;
        }
    }
    if (change.numbers.size() != count)
        return false;
    changes.push_back(change);
    return true;
}

bool apply(GamePlay& game, const Change& change)
{
    const std::vector<int>& n = change.numbers;
    if (n[0] < 0 || n[0] >= static_cast<int>(game.planes.size()) || n[1] < 0 ||
        n[1] >= Plane::screenCount)
        return false;
    Level& level = *game.planes[n[0]].levels[n[1]];
    if (change.kind == "--add") {
        Block block;
        block.x = static_cast<short>(n[2]);
        block.y = static_cast<short>(n[3]);
        block.type = n[4];
        block.width = BlockTypes::width16Of(n[4]);
        block.height = BlockTypes::height16Of(n[4]);
        level.addBlock(block);
        return n[4] >= 0 && n[4] < 4;
    }
    if (n[2] < 0 || n[2] >= static_cast<int>(level.blocks.size()))
        return false;
    Block& block = level.blocks[n[2]];
    const float key = change.kind == "--remove" ? 0.0f : block.scaleKeys[0];
    std::fill(std::begin(block.scaleKeys), std::end(block.scaleKeys), key);
    block.scale = key;
    return true;
}

// Through the door in two frames: the down arrow for one, then let go.
void stepThroughDoor(GamePlay& game)
{
    game.downHeld = true;
    RouteSearch::play(game, {RouteSearch::None, false});
    game.downHeld = false;
    RouteSearch::play(game, {RouteSearch::None, false});
}

// Puts the figure in front of the current plane's door, wherever it is.
void placeAtDoor(GamePlay& game)
{
    for (int screen = 0; screen < Plane::screenCount; ++screen) {
        const Level& level = *game.planes[game.currentPlane].levels[screen];
        if (level.door) {
            game.currentScreen = screen;
            game.player.x = game.player.lastX = static_cast<short>(level.door->left + 18);
            game.player.y = game.player.lastY = static_cast<short>(level.door->top + 4);
            return;
        }
    }
}

// Plays the route found once more from the plane's start, telling where the
// figure changes screens, jumps and lands.
void traceRoute(GamePlay& game, const RouteSearch::Snapshot& start,
                const std::vector<unsigned char>& path)
{
    const RouteSearch::Snapshot end = RouteSearch::take(game);
    RouteSearch::restore(game, start);
    for (std::size_t i = 0; i < path.size(); ++i) {
        const int screen = game.currentScreen;
        const bool grounded = game.player.grounded;
        const RouteSearch::Action action = RouteSearch::actions[path[i]];
        RouteSearch::play(game, action);
        if (screen != game.currentScreen || action.up || (game.player.grounded && !grounded))
            std::cout << "  frame " << i << ": screen " << game.currentScreen << ", figure at "
                      << game.player.x << ", " << game.player.y << (action.up ? ", jumps" : "")
                      << (game.player.grounded && !grounded ? ", lands" : "") << std::endl;
    }
    RouteSearch::restore(game, end);
}

}  // namespace

int main(int argc, char** argv)
{
    RouteSearch::Options options;
    options.progress = &std::cout;
    std::vector<Change> changes;
    int only = -1;
    bool trace = false;
    std::string afterScript;
    int afterFrame = -1;
    for (; argc > 1 && std::string(argv[1]).rfind("--", 0) == 0; --argc, ++argv) {
        const std::string option = argv[1];
        const std::string value = argc > 2 ? argv[2] : "";
        bool good = true;
        if (option == "--mid-air") {
            options.midAir = true;
        } else if (option == "--off-screen") {
            options.offScreen = true;
        } else if (option == "--after" && argc > 3) {
            afterScript = argv[2];
            afterFrame = std::atoi(argv[3]);
            argc -= 2, argv += 2;
        } else if (option == "--trace") {
            trace = true;
        } else if (option == "--no-jumps") {
            options.noJumps = true;
        } else if (option == "--no-wrap") {
            options.noWrap = true;
        } else if (option == "--plane" && !value.empty()) {
            only = std::atoi(value.c_str());
            --argc, ++argv;
        } else if ((option == "--freeze" || option == "--remove") && !value.empty()) {
            good = parseChange(option, value, 3, changes);
            --argc, ++argv;
        } else if (option == "--add" && !value.empty()) {
            good = parseChange(option, value, 5, changes);
            --argc, ++argv;
        } else {
            good = false;
        }
        if (!good) {
            std::cout << "RouteFinder: bad option " << option << " " << value << std::endl;
            return 2;
        }
    }
    if (argc < 3 || argc > 5) {
        std::cout << "usage: BrickVoyagerRouteFinder [--mid-air] [--off-screen] [--no-jumps] [--no-wrap] "
                     "[--trace] [--after SCRIPT FRAME] [--plane N] [--freeze P.S.B] [--remove P.S.B] [--add P.S.X.Y.T] "
                     "LEVELS_FILE SCRIPT_OUT [MAX_FRAMES_PER_PLANE [CAP]]"
                  << std::endl;
        return 2;
    }
    options.maxFrames = argc >= 4 ? std::atoi(argv[3]) : 6000;
    options.cap = argc >= 5 ? static_cast<std::size_t>(std::atoi(argv[4])) : 6000;
    try {
        GamePlay game(argv[1]);
        for (const Change& change : changes) {
            if (!apply(game, change)) {
                std::cout << "RouteFinder: no such block or plane for " << change.kind << std::endl;
                return 2;
            }
        }
        std::vector<Walkthrough::Event> events;
        Held held = RouteSearch::None;
        int frameNumber = 0;
        const auto emit = [&](SDLKey key, bool down) {
            events.push_back(Walkthrough::Event{frameNumber, down, key});
        };
        const auto setHeld = [&](Held wanted) {
            if (held == wanted)
                return;
            if (held == RouteSearch::LeftKey)
                emit(SDLK_LEFT, false);
            if (held == RouteSearch::RightKey)
                emit(SDLK_RIGHT, false);
            if (wanted == RouteSearch::LeftKey)
                emit(SDLK_LEFT, true);
            if (wanted == RouteSearch::RightKey)
                emit(SDLK_RIGHT, true);
            held = wanted;
        };
        if (!afterScript.empty()) {
            // A near miss to look into: the script played up to a frame, and
            // the search from there to the door of the plane it is in.
            std::ifstream in(afterScript);
            Walkthrough::Script script;
            std::string error;
            if (!in || !Walkthrough::parseScript(in, script, error)) {
                std::cout << "RouteFinder: bad script " << afterScript << " " << error << std::endl;
                return 2;
            }
            script.lastFrame = afterFrame;
            Walkthrough::play(game, script);
            const RouteSearch::Snapshot start = RouteSearch::take(game);
            const std::vector<unsigned char> path =
                RouteSearch(game, options, RouteSearch::inFrontOfDoor).finish();
            std::cout << "RouteFinder: from frame " << afterFrame << " of " << afterScript
                      << " in plane " << game.currentPlane << ": "
                      << (path.empty() ? "no route found" : std::to_string(path.size()) + " frames to the door")
                      << std::endl;
            if (trace && !path.empty())
                traceRoute(game, start, path);
            return path.empty() ? 1 : 0;
        }
        const int planes = static_cast<int>(game.planes.size());
        for (int plane = 0; plane < planes; ++plane) {
            if (only >= 0 && plane != only) {
                if (plane > only)
                    break;
                placeAtDoor(game);
                stepThroughDoor(game);
                continue;
            }
            std::cout << "RouteFinder: plane " << plane << " from frame " << frameNumber << std::endl;
            const RouteSearch::Snapshot start = RouteSearch::take(game);
            const std::vector<unsigned char> path =
                RouteSearch(game, options, RouteSearch::inFrontOfDoor).finish();
            if (path.empty()) {
                std::cout << "RouteFinder: no route found through plane " << plane << std::endl;
                return 1;
            }
            if (trace)
                traceRoute(game, start, path);
            for (unsigned char a : path) {
                setHeld(RouteSearch::actions[a].held);
                if (RouteSearch::actions[a].up) {
                    emit(SDLK_UP, true);
                    emit(SDLK_UP, false);
                }
                ++frameNumber;
            }
            // In front of the door: step inside, then let go.
            setHeld(RouteSearch::None);
            emit(SDLK_DOWN, true);
            ++frameNumber;
            emit(SDLK_DOWN, false);
            stepThroughDoor(game);
            ++frameNumber;
            std::cout << "RouteFinder: plane " << plane << " done in " << path.size() << " frames"
                      << std::endl;
        }
        if (only >= 0)
            return 0;
        std::ofstream out(argv[2]);
        out << "# Brick Voyager walkthrough of the shipped levels, written by\n"
               "# BrickVoyagerRouteFinder (tools/walkthrough/README.md).\n"
               "# Each line: a frame number (from 0), then key events before that frame's\n"
               "# update: +key goes down, -key goes up; keys are left, right, up, down.\n"
               "# A line with a frame alone marks the last frame to play.\n";
        Walkthrough::writeEvents(out, events, frameNumber + 5);
        return 0;
    } catch (const FatalError& error) {
        error.display();
        return 2;
    }
}
