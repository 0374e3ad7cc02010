#pragma once

// The route finder's search, shared, header-only, by the route finder tool
// and the tests: a breadth-first search over the keys of each frame that
// plays the real game from its current state until a goal is met.
// It plays as a player does: it jumps only where the figure stands (unless
// midAir) and keeps the figure on the screen (unless offScreen).
// States alike in screen, position, jump and breathing phase (in steps of
// half a key, 25 frames) are merged: the first one the search reaches stands
// for the others, so a route that needs a rarer state can be missed.
// Standing still on a breathing screen is never merged away: it is waiting.

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iostream>
#include <string>
#include <unordered_set>
#include <vector>

#include "game/GamePlay.h"
#include "game/LogicalScreen.h"
#include "VellumDrawingLib/NullDrawer.h"
#include "Walkthrough.h"

namespace RouteSearch {

constexpr std::size_t maxBlocks = 24;

// Everything of the game that the rules read, for the current plane.
struct Snapshot {
    Player player;
    int currentScreen = 0;
    bool showTitle = true;
    float phases[Plane::screenCount] = {};
    float scales[Plane::screenCount][maxBlocks] = {};
};

inline Snapshot take(GamePlay& game)
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

inline void restore(GamePlay& game, const Snapshot& s)
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

struct Options {
    // The rules' other jumps too: feet level with any top, also in the air.
    bool midAir = false;
    // Staying beyond a side edge while a screen change cools down, from
    // where a fall enters the other row off the screen.
    bool offScreen = false;
    // No jumps at all: what a plane is without them.
    bool noJumps = false;
    // Rows that do not close into rings: leaving the left screen of a row
    // through its left edge, or the right one through its right edge, is
    // not taken.
    bool noWrap = false;
    int maxFrames = 6000;
    std::size_t cap = 6000;  // most states kept per frame
    std::ostream* progress = nullptr;
};

inline bool isOffScreen(const Player& p) { return p.x < -Player::width || p.x > 1024; }

inline bool jumpWouldStart(GamePlay& game, const Options& options)
{
    if (options.noJumps || (!options.midAir && !game.player.grounded))
        return false;
    const short feet = static_cast<short>(game.player.y + Player::height);
    for (const CollisionHull& hull : game.currentLevel().getHulls())
        if (hull.top - 4 < feet && feet < hull.top + 4)
            return true;
    return false;
}

inline bool inFrontOfDoor(GamePlay& game)
{
    const Level& level = game.currentLevel();
    if (!level.door)
        return false;
    const CollisionHull& d = *level.door;
    const Player& p = game.player;
    return static_cast<short>(p.x + 8) >= d.left - 16 && static_cast<short>(p.x + 14) <= d.right + 16 &&
           static_cast<short>(p.y + 8) >= d.top - 16 && static_cast<short>(p.y + 52) <= d.bottom + 16;
}

inline void frame(GamePlay& game, Held held, bool up)
{
    static NullDrawer drawer(LogicalScreen::width, LogicalScreen::height);
    game.leftHeld = held == LeftKey;
    game.rightHeld = held == RightKey;
    if (up)
        Walkthrough::sendKey(game, SDLK_UP, true);
    game.draw(&drawer);
}

inline std::uint64_t keyOf(GamePlay& game)
{
    const Player& p = game.player;
    std::uint64_t k = static_cast<std::uint16_t>(p.x);
    k = k * 65536 + static_cast<std::uint16_t>(p.y);
    k = k * 4 + static_cast<std::uint64_t>(game.currentScreen);
    // At the top of a jump's arc the height stays for three ticks, which
    // must not be taken for one state.
    const int tick = static_cast<int>(p.jumpAngle / 0.075f + 0.5f);
    k = k * 8 + (!p.jumping ? 0 : tick >= 19 && tick <= 23 ? tick - 18 : 6);
    k = k * 2 + (p.lastY < p.y ? 1 : 0);
    k = k * 2 + (p.screenChangeCooldown > 0 ? 1 : 0);
    k = k * 32 + static_cast<std::uint64_t>(game.currentLevel().animPhase * 2.0f) % 32;
    return k;
}

inline bool breathes(const Level& level)
{
    return std::any_of(level.blocks.begin(), level.blocks.end(), [](const Block& block) {
        return std::any_of(std::begin(block.scaleKeys), std::end(block.scaleKeys),
                           [&](float key) { return key != block.scaleKeys[0]; });
    });
}

// Everything the rest of a plane depends on, at the end of a frame: two
// states with the same fingerprint and the same keys from here on play
// alike. The screens that are not on display restart their breathing when
// entered, so only the current one counts, and its phase only if it breathes.
inline std::string fingerprint(GamePlay& game)
{
    const Player& p = game.player;
    const Level& level = game.currentLevel();
    std::string f;
    const auto put = [&f](const auto& value) {
        f.append(reinterpret_cast<const char*>(&value), sizeof value);
    };
    put(game.currentPlane);
    put(game.currentScreen);
    put(p.x);
    put(p.y);
    put(p.lastX);
    put(p.lastY);
    put(p.grounded);
    put(p.fallSpeed);
    put(p.jumping);
    put(p.jumping ? p.jumpAngle : 0.0f);
    put(p.jumping ? p.jumpBaseY : short(0));
    put(p.screenChangeCooldown);
    for (const Block& block : level.blocks)
        put(block.scale);
    put(breathes(level) ? level.animPhase : 0.0f);
    return f;
}

struct Node {
    int parent;
    unsigned char action;
};

// Frames of actions (indices into actions) from the current state to the
// first state that meets the goal, which the game is left in; empty, with
// the game back in its first state, when none was found within maxFrames.
inline std::vector<unsigned char> search(GamePlay& game, const Options& options,
                                         const std::function<bool(GamePlay&)>& goal)
{
    const Snapshot root = take(game);
    std::vector<std::vector<Node>> layers;
    std::vector<Snapshot> frontier{root};
    layers.push_back({Node{-1, 0}});
    std::unordered_set<std::uint64_t> seen;
    for (int depth = 0; depth < options.maxFrames && !frontier.empty(); ++depth) {
        std::vector<Snapshot> next;
        std::vector<Node> nodes;
        for (std::size_t i = 0; i < frontier.size(); ++i) {
            for (unsigned char a = 0; a < std::size(actions); ++a) {
                restore(game, frontier[i]);
                if (actions[a].up && !jumpWouldStart(game, options))
                    continue;
                frame(game, actions[a].held, actions[a].up);
                if (goal(game)) {
                    std::vector<unsigned char> path{a};
                    for (int d = depth, n = static_cast<int>(i); d > 0; --d) {
                        path.push_back(layers[d][n].action);
                        n = layers[d][n].parent;
                    }
                    std::reverse(path.begin(), path.end());
                    return path;
                }
                // Standing still where the blocks breathe is waiting for
                // them: kept frame by frame, however alike.
                const Player& before = frontier[i].player;
                const bool waits = a == 0 && game.player.grounded && before.grounded &&
                                   game.player.x == before.x && game.player.y == before.y &&
                                   breathes(game.currentLevel());
                const int from = frontier[i].currentScreen;
                const int to = game.currentScreen;
                const bool wrapped = from != to && from / 2 == to / 2 &&
                                     (to % 2 == 1 ? game.player.x > 512 : game.player.x < 512);
                if (options.noWrap && wrapped)
                    continue;
                if ((options.offScreen || !isOffScreen(game.player)) &&
                    (seen.insert(keyOf(game)).second || waits)) {
                    next.push_back(take(game));
                    nodes.push_back(Node{static_cast<int>(i), a});
                }
            }
        }
        if (next.size() > options.cap) {
            // Keep an even spread rather than the first ones found.
            std::vector<Snapshot> kept;
            std::vector<Node> keptNodes;
            for (std::size_t j = 0; j < options.cap; ++j) {
                const std::size_t pick = j * next.size() / options.cap;
                kept.push_back(std::move(next[pick]));
                keptNodes.push_back(nodes[pick]);
            }
            next = std::move(kept);
            nodes = std::move(keptNodes);
        }
        if (options.progress != nullptr && depth % 200 == 0)
            *options.progress << "RouteFinder: frame " << depth << ", " << next.size() << " states"
                              << std::endl;
        frontier = std::move(next);
        layers.push_back(std::move(nodes));
    }
    restore(game, root);
    return {};
}

}  // namespace RouteSearch
