#include "shell/FrameSchedule.h"

#include <algorithm>

int FrameSchedule::framesDue(std::uint64_t now)
{
    // Half the host's last interval: a frame due within it is nearer this
    // host frame than the next one. Never more than half a step, so that a
    // slow host frame does not pull the next frame far forward.
    std::uint64_t interval = step;
    if (!started || now > next + catchUpSteps * step) {
        started = true;
        next = now;
    } else {
        interval = now > lastCall ? now - lastCall : 0;
    }
    lastCall = now;
    const std::uint64_t tolerance = std::min(interval, step) / 2;
    int frames = 0;
    while (frames < maxFramesPerCall && now + tolerance >= next) {
        ++frames;
        next += step;
    }
    return frames;
}
