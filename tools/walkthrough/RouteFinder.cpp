// Finds a route through a levels file and writes it as a walkthrough script.
//   BrickVoyagerRouteFinder [--mid-air] [--off-screen] LEVELS_FILE SCRIPT_OUT
//                           [MAX_FRAMES_PER_PLANE [CAP]]
// Plane by plane, a breadth-first search over the keys of each frame plays
// the real game from the plane's start until the figure stands in front of
// the plane's door; the route found is the fewest frames the search saw.
// It plays as a player would: it jumps only from where the figure stands and
// keeps the figure on the screen. --mid-air also tries the jumps the rules
// allow in the air (feet level with any top), --off-screen the walks beyond a
// side edge while a screen change cools down: shortcuts to look for when
// checking that a plane cannot be cut short.
// States alike in screen, position, jump and breathing phase are merged, so a
// route that needs a rarer state may be missed: the tool then says on which
// plane it gave up. Exits 0 when a whole route was written.
#include <algorithm>
#include <fstream>
#include <iostream>
#include <unordered_set>

#include "FatalError.h"
#include "Walkthrough.h"

namespace {

constexpr std::size_t maxBlocks = 24;

// Everything of the game that the rules read, for the current plane.
struct Snapshot {
    Player player;
    int currentScreen = 0;
    bool showTitle = true;
    float phases[Plane::screenCount] = {};
    float scales[Plane::screenCount][maxBlocks] = {};
};

Snapshot take(GamePlay& game)
{
    Snapshot s;
    s.player = game.player;
    s.currentScreen = game.currentScreen;
    s.showTitle = game.showTitle;
    for (int i = 0; i < Plane::screenCount; ++i) {
        const Level& level = *game.planes[game.currentPlane].levels[i];
        s.phases[i] = level.animPhase;
        for (std::size_t b = 0; b < level.blocks.size() && b < maxBlocks; ++b)
            s.scales[i][b] = level.blocks[b].scale;
    }
    return s;
}

void restore(GamePlay& game, const Snapshot& s)
{
    game.player = s.player;
    game.currentScreen = s.currentScreen;
    game.showTitle = s.showTitle;
    for (int i = 0; i < Plane::screenCount; ++i) {
        Level& level = *game.planes[game.currentPlane].levels[i];
        level.animPhase = s.phases[i];
        for (std::size_t b = 0; b < level.blocks.size() && b < maxBlocks; ++b)
            level.blocks[b].scale = s.scales[i][b];
    }
}

// Held keys of one frame and whether the up arrow is pressed before it.
enum Held { None = 0, LeftKey = 1, RightKey = 2 };
struct Action {
    Held held;
    bool up;
};
constexpr Action actions[] = {{None, false}, {LeftKey, false}, {RightKey, false},
                              {None, true},  {LeftKey, true},  {RightKey, true}};

// Jumps a player would make: from a block's top, unless midAirJumps allows
// the rules' other jumps too (feet level with any top, also in the air).
bool midAirJumps = false;
// Whether the figure may stay beyond a side edge while a screen change cools
// down (from where a fall enters the other row off the screen).
bool offScreen = false;

bool isOffScreen(const Player& p) { return p.x < -Player::width || p.x > 1024; }

bool jumpWouldStart(GamePlay& game)
{
    if (!midAirJumps && !game.player.grounded)
        return false;
    const short feet = static_cast<short>(game.player.y + Player::height);
    for (const CollisionHull& hull : game.currentLevel().getHulls())
        if (hull.top - 4 < feet && feet < hull.top + 4)
            return true;
    return false;
}

bool inFrontOfDoor(GamePlay& game)
{
    const Level& level = game.currentLevel();
    if (!level.door)
        return false;
    const CollisionHull& d = *level.door;
    const Player& p = game.player;
    return static_cast<short>(p.x + 8) >= d.left - 16 && static_cast<short>(p.x + 14) <= d.right + 16 &&
           static_cast<short>(p.y + 8) >= d.top - 16 && static_cast<short>(p.y + 52) <= d.bottom + 16;
}

Walkthrough::NullDrawer drawer;

void frame(GamePlay& game, Held held, bool up)
{
    game.leftHeld = held == LeftKey;
    game.rightHeld = held == RightKey;
    if (up)
        Walkthrough::sendKey(game, SDLK_UP, true);
    game.draw(&drawer);
}

// States alike in these are merged: the first one the search reaches stands
// for the others. The breathing of the screen on display counts in steps of
// half a key (25 frames), so that waiting for a block still makes progress.
std::uint64_t keyOf(GamePlay& game)
{
    const Player& p = game.player;
    std::uint64_t k = static_cast<std::uint16_t>(p.x);
    k = k * 65536 + static_cast<std::uint16_t>(p.y);
    k = k * 4 + static_cast<std::uint64_t>(game.currentScreen);
    k = k * 2 + (p.jumping ? 1 : 0);
    k = k * 2 + (p.lastY < p.y ? 1 : 0);
    k = k * 2 + (p.screenChangeCooldown > 0 ? 1 : 0);
    k = k * 32 + static_cast<std::uint64_t>(game.currentLevel().animPhase * 2.0f) % 32;
    return k;
}

struct Node {
    int parent;
    unsigned char action;
};

// Frames of actions from the current state to a state in front of the door,
// or empty when none was found within maxFrames.
std::vector<unsigned char> search(GamePlay& game, int maxFrames, std::size_t cap)
{
    const Snapshot root = take(game);
    std::vector<std::vector<Node>> layers;
    std::vector<Snapshot> frontier{root};
    layers.push_back({Node{-1, 0}});
    std::unordered_set<std::uint64_t> seen;
    for (int depth = 0; depth < maxFrames && !frontier.empty(); ++depth) {
        std::vector<Snapshot> next;
        std::vector<Node> nodes;
        for (std::size_t i = 0; i < frontier.size(); ++i) {
            for (unsigned char a = 0; a < std::size(actions); ++a) {
                restore(game, frontier[i]);
                if (actions[a].up && !jumpWouldStart(game))
                    continue;
                frame(game, actions[a].held, actions[a].up);
                if (inFrontOfDoor(game)) {
                    std::vector<unsigned char> path{a};
                    for (int d = depth, n = static_cast<int>(i); d > 0; --d) {
                        path.push_back(layers[d][n].action);
                        n = layers[d][n].parent;
                    }
                    std::reverse(path.begin(), path.end());
                    restore(game, frontier[i]);
                    frame(game, actions[a].held, actions[a].up);
                    return path;
                }
                if ((offScreen || !isOffScreen(game.player)) && seen.insert(keyOf(game)).second) {
                    next.push_back(take(game));
                    nodes.push_back(Node{static_cast<int>(i), a});
                }
            }
        }
        if (next.size() > cap) {
            // Keep an even spread rather than the first ones found.
            std::vector<Snapshot> kept;
            std::vector<Node> keptNodes;
            for (std::size_t j = 0; j < cap; ++j) {
                const std::size_t pick = j * next.size() / cap;
                kept.push_back(std::move(next[pick]));
                keptNodes.push_back(nodes[pick]);
            }
            next = std::move(kept);
            nodes = std::move(keptNodes);
        }
        if (depth % 200 == 0)
            std::cout << "RouteFinder: frame " << depth << ", " << next.size() << " states" << std::endl;
        frontier = std::move(next);
        layers.push_back(std::move(nodes));
    }
    restore(game, root);
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    for (; argc > 1 && std::string(argv[1]).rfind("--", 0) == 0; --argc, ++argv) {
        const std::string option = argv[1];
        if (option == "--mid-air") {
            midAirJumps = true;
        } else if (option == "--off-screen") {
            offScreen = true;
        } else {
            std::cout << "RouteFinder: unknown option " << option << std::endl;
            return 2;
        }
    }
    if (argc < 3 || argc > 5) {
        std::cout << "usage: BrickVoyagerRouteFinder [--mid-air] [--off-screen] LEVELS_FILE SCRIPT_OUT [MAX_FRAMES_PER_PLANE [CAP]]"
                  << std::endl;
        return 2;
    }
    const int maxFrames = argc >= 4 ? std::atoi(argv[3]) : 6000;
    const std::size_t cap = argc >= 5 ? static_cast<std::size_t>(std::atoi(argv[4])) : 6000;
    try {
        GamePlay game(argv[1]);
        std::vector<Walkthrough::Event> events;
        Held held = None;
        int frameNumber = 0;
        const auto emit = [&](SDLKey key, bool down) {
            events.push_back(Walkthrough::Event{frameNumber, down, key});
        };
        const auto setHeld = [&](Held wanted) {
            if (held == wanted)
                return;
            if (held == LeftKey)
                emit(SDLK_LEFT, false);
            if (held == RightKey)
                emit(SDLK_RIGHT, false);
            if (wanted == LeftKey)
                emit(SDLK_LEFT, true);
            if (wanted == RightKey)
                emit(SDLK_RIGHT, true);
            held = wanted;
        };
        for (std::size_t plane = 0; plane < game.planes.size(); ++plane) {
            std::cout << "RouteFinder: plane " << plane << " from frame " << frameNumber << std::endl;
            const std::vector<unsigned char> path = search(game, maxFrames, cap);
            if (path.empty()) {
                std::cout << "RouteFinder: no route found through plane " << plane << std::endl;
                return 1;
            }
            for (unsigned char a : path) {
                setHeld(actions[a].held);
                if (actions[a].up) {
                    emit(SDLK_UP, true);
                    emit(SDLK_UP, false);
                }
                ++frameNumber;
            }
            // In front of the door: step inside, then let go.
            setHeld(None);
            emit(SDLK_DOWN, true);
            game.downHeld = true;
            frame(game, None, false);
            ++frameNumber;
            emit(SDLK_DOWN, false);
            game.downHeld = false;
            frame(game, None, false);
            ++frameNumber;
            std::cout << "RouteFinder: plane " << plane << " done in " << path.size() << " frames"
                      << std::endl;
        }
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
