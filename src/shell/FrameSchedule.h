#pragma once

#include <cstdint>

// When a host that calls the game at frames of its own (a browser's
// animation frames, at whatever rate its display runs) plays the game's
// frames: one for every step of time that has passed, each in the host
// frame nearest its turn, so that the game keeps its pace on any display.
// It never fails; a host that falls too far behind (a hidden tab, a long
// stall) has the missed frames dropped rather than played in a burst.
class FrameSchedule {
public:
    // However far behind, no more frames than this in one host frame.
    static const int maxFramesPerCall = 2;
    // Further behind than this many steps, the schedule starts again.
    static const int catchUpSteps = 3;

    // step: the time between frames, in the host clock's units.
    explicit FrameSchedule(std::uint64_t step) : step(step) {}

    // How many frames to play in the host frame that runs at now (0, 1, or
    // 2 when the host fell behind). now never goes back; the first call
    // plays one frame.
    int framesDue(std::uint64_t now);

private:
    const std::uint64_t step;
    // When the next frame is due: always a whole number of steps after the
    // last restart, so that early and late frames even out.
    std::uint64_t next = 0;
    std::uint64_t lastCall = 0;
    bool started = false;
};
