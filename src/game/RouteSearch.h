#pragma once

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "game/KeySet.h"
#include "game/Plane.h"
#include "game/Player.h"

class GamePlay;

// A breadth-first search over the keys of each frame that plays the real
// rules of a game from its current state until a goal is met, in slices of
// bounded work. It plays as a player does: it jumps only where the figure
// stands (unless midAir) and keeps the figure on the screen (unless
// offScreen). It fails only by finding nothing: a route that needs a state it
// merged away (see keyOf in the source) or dropped past the cap is missed.
class RouteSearch {
public:
    enum Held : unsigned char { None = 0, LeftKey = 1, RightKey = 2 };
    // The keys of one frame: those held through it, and whether the up
    // arrow is pressed just before it.
    struct Action {
        Held held;
        bool up;
    };
    static constexpr int actionCount = 6;
    static const Action actions[actionCount];

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
        int maxFrames = 6000;    // longest route looked for
        std::size_t cap = 6000;  // most states kept per frame (below 2^29)
        // Where a line every 200 frames of the search goes, if anywhere.
        std::ostream* progress = nullptr;
    };

    enum class Status {
        Searching,
        Found,    // route() leads to the goal
        NoRoute,  // every state kept was played on: nothing left to try
        GaveUp,   // maxFrames searched without reaching the goal
    };

    // Where the figure is: screen of the plane and top-left corner.
    struct Place {
        int screen = 0;
        short x = 0;
        short y = 0;
    };

    // Everything of a game that its rules read, for its current plane.
    struct Snapshot {
        Player player;
        int currentScreen = 0;
        bool showTitle = true;
        float phases[Plane::screenCount] = {};
        std::vector<float> scales[Plane::screenCount];
    };
    static Snapshot take(GamePlay& game);
    static void restore(GamePlay& game, const Snapshot& snapshot);

    // Searches from the game's state now; the game is borrowed and played
    // on until the search ends, and is then left in the goal's state when
    // Found, back in its first state otherwise. A goal is asked after every
    // frame played.
    RouteSearch(GamePlay& game, const Options& options, std::function<bool(GamePlay&)> goal);
    RouteSearch(const RouteSearch&) = delete;
    RouteSearch& operator=(const RouteSearch&) = delete;

    // Plays at most about `frames` frames of the game (a few thousand take a
    // millisecond) and tells where the search stands; once it has ended,
    // does nothing.
    Status advance(long frames);
    // Runs to the end: the route found, or empty.
    std::vector<unsigned char> finish();

    Status status() const { return outcome; }
    // Found: per frame from the start, an index into actions; else empty.
    const std::vector<unsigned char>& route() const { return path; }
    // Frames from the start searched so far (the depth of the search).
    int framesSearched() const { return depth; }
    // The place nearest the door of the plane's door screen that the search
    // reached, or, while it reached no state on that screen, the last place
    // reached at the greatest depth. The start before any frame is played.
    Place furthest() const { return best; }

    // The goal of a proof: the figure stands where the down arrow takes it
    // through the door of its screen.
    static bool inFrontOfDoor(GamePlay& game);
    // The action's keys, given to the game before a frame's update: held
    // keys set, the up arrow pressed (a jump where the rules allow one).
    static void press(GamePlay& game, Action action);
    // One frame of the rules under the action's keys, unpainted.
    static void play(GamePlay& game, Action action);
    // Everything the rest of a plane depends on, at the end of a frame: two
    // states with the same fingerprint and the same keys from here on play
    // alike.
    static std::string fingerprint(GamePlay& game);

private:
    // A state of the search: the figure, the screen, the current screen's
    // phase and, per screen, the phase its block scales were last set at
    // (a screen keeps them while off the display); NaN: as at the start.
    struct Node {
        Player player;
        int screen;
        float phase;
        float scalePhase[Plane::screenCount];
    };

    Node nodeOf(const GamePlay& game) const;
    void put(const Node& node);
    void expand(std::size_t index, int action);
    void endFrame();
    void end(Status status);
    std::uint64_t keyOf(const Node& node) const;
    void noteReached(const Node& node);

    GamePlay& game;
    const Options options;
    const std::function<bool(GamePlay&)> goal;
    const Snapshot root;
    // Per screen of the plane: whether any of its blocks breathes.
    bool breathes[Plane::screenCount] = {};
    int doorScreen = -1;
    // The phase each screen's scales in the game were last set at.
    std::uint32_t appliedScalePhase[Plane::screenCount] = {};

    std::vector<Node> frontier;
    std::vector<Node> next;
    // Per frame, per state kept, its parent's index in the frame before
    // times 8 plus its action. A run of its own per frame, of just its size:
    // one table for all would double, and while it does, hold half as much
    // again as the search keeps.
    std::vector<std::vector<std::uint32_t>> links;
    std::vector<std::uint32_t> nextLinks;
    // The keys of every state reached.
    KeySet seen;
    std::size_t cursor = 0;  // the frontier state played on next
    int nextAction = 0;
    int depth = 0;
    Status outcome = Status::Searching;
    std::vector<unsigned char> path;
    Place best;
    bool bestOnDoorScreen = false;
    int bestDistance = 0;
};
