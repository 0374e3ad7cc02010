#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "game/PlaneProof.h"
#include "game/RouteSearch.h"
#include "platform/CriticalSection.h"
#include "platform/Thread.h"

// Proves the plane being edited beside the frame: on a thread of its own
// where the system runs threads, in a slice of each frame where it does not
// (or where no thread could be started). Each prove() drops whatever was
// found for the plane before, so no answer outlives the plane it is of.
// It fails only as the search does: no route found within its limits.
class ProofRunner : private Thread {
public:
    enum class Mode { Threaded, Sliced };
    enum class State { Idle, Searching, Found, NoRoute, GaveUp };

    struct Status {
        State state = State::Idle;
        // Counts the calls of prove(): which plane this status is of.
        unsigned proofNumber = 0;
        int framesSearched = 0;  // of at most maxFrames: the progress
        int maxFrames = 0;
        // Found: the keys of each frame from the plane's start to its door.
        std::vector<RouteSearch::Action> route;
        // The place the search got furthest, so far while Searching.
        RouteSearch::Place furthest;
    };

    // Threaded where the system runs threads, else sliced.
    ProofRunner();
    explicit ProofRunner(Mode mode);
    // Tells a running search to stop and waits for it (a slice at most).
    ~ProofRunner() override;

    // Starts proving these screens, dropping the proof of the plane before.
    void prove(const PlaneProof::Screens& screens);
    // Once a frame, on the thread that calls prove(): sliced, about `slice`
    // microseconds of search; threaded, nothing.
    void update(std::uint64_t slice = sliceMicroseconds);
    Status status() const;
    Mode mode() const { return chosenMode; }

    // A slice of search per frame where there are no threads: under a third
    // of a frame at 30 frames a second, which proves the slowest shipped
    // plane on the page in about six seconds and leaves the frame the rest.
    static constexpr std::uint64_t sliceMicroseconds = 10000;

private:
    bool run() override;
    void stopSearch();
    // Hands the proof's progress or answer to status(); the proof's thread.
    void publish(RouteSearch::Status searchStatus);

    Mode chosenMode;
    // Made and destroyed by the thread of prove() while no search thread
    // runs; between, used by the search thread alone (threaded) or by
    // update() (sliced).
    std::unique_ptr<PlaneProof> proof;
    // Written by the thread of prove(), read by the search thread.
    std::atomic<bool> stopRequested{false};
    mutable CriticalSection lock;
    // Under the lock: written by prove() and publish(), read by status().
    Status published;
};
