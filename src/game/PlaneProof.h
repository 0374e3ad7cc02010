#pragma once

#include <array>
#include <memory>
#include <vector>

#include "game/GamePlay.h"
#include "game/Level.h"
#include "game/Plane.h"
#include "game/RouteSearch.h"

// The proof that one plane, given as its four screens, can be finished: the
// route search from the plane's start, as a door enters it, to the figure in
// front of its door. It owns copies of the screens and a game of its own and
// touches nothing outside itself, so it may run on any one thread. It fails
// only as the search does: by finding no route (see RouteSearch).
class PlaneProof {
public:
    using Screens = std::array<Level, Plane::screenCount>;

    // What an editor's proof is allowed: routes up to 2000 frames (over a
    // minute of play, twice the longest shipped plane's), 3000 states a
    // frame (fewer lose the last shipped plane's route). A proof that runs
    // to these limits holds about 65 MB at its peak, let go when it ends.
    static RouteSearch::Options defaultOptions();

    explicit PlaneProof(const Screens& screens, const RouteSearch::Options& options = defaultOptions());
    PlaneProof(const PlaneProof&) = delete;
    PlaneProof& operator=(const PlaneProof&) = delete;

    // Copies of the screens of one of a game's planes.
    static Screens screensOf(const GamePlay& game, int plane);
    // A game of the screens alone, at the plane's start: the figure on
    // screen 0's start, every screen's breathing at phase 0. What the proof
    // plays; a ghost replays the route in it, RouteSearch::press with the
    // frame's keys before each frame.
    static std::unique_ptr<GamePlay> gameAtStart(const Screens& screens);

    // About `frames` frames of play more (a few thousand take a millisecond).
    RouteSearch::Status advance(long frames) { return search.advance(frames); }
    RouteSearch::Status status() const { return search.status(); }
    // Found: the keys of each frame from the start to the door.
    std::vector<RouteSearch::Action> route() const;
    int framesSearched() const { return search.framesSearched(); }
    RouteSearch::Place furthest() const { return search.furthest(); }

private:
    std::unique_ptr<GamePlay> game;
    RouteSearch search;
};
