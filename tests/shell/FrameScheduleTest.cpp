#include "shell/FrameSchedule.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

namespace {

const double stepMs = 30.0;
const double minuteMs = 60000.0;

// One frame of the host: when it ran, in milliseconds, and how many game
// frames the schedule played in it.
struct HostFrame {
    double atMs;
    int frames;
};

// A simulated minute of a display of hz frames a second whose callbacks run
// up to a millisecond late, read on a clock that counts whole units
// (unitsPerMs to the millisecond). From host frame stallFrame on, every
// frame comes stallMs later: a stall, or a tab hidden for that long.
std::vector<HostFrame> minuteOf(double hz, int unitsPerMs, int stallFrame = -1, double stallMs = 0.0)
{
    FrameSchedule schedule(static_cast<std::uint64_t>(stepMs * unitsPerMs));
    std::mt19937 random(static_cast<unsigned>(hz * unitsPerMs));
    std::uniform_real_distribution<double> late(0.0, 1.0);
    std::vector<HostFrame> played;
    // The clock's own count has started long before the page.
    const double startMs = 123456.789;
    for (int frame = 0;; ++frame) {
        const double atMs = frame * 1000.0 / hz + late(random) + (frame >= stallFrame && stallFrame >= 0 ? stallMs : 0.0);
        if (atMs >= minuteMs)
            return played;
        const auto now = static_cast<std::uint64_t>(std::floor((startMs + atMs) * unitsPerMs));
        played.push_back({atMs, schedule.framesDue(now)});
    }
}

int totalFrames(const std::vector<HostFrame>& played)
{
    int total = 0;
    for (const HostFrame& frame : played)
        total += frame.frames;
    return total;
}

int mostInOneHostFrame(const std::vector<HostFrame>& played)
{
    int most = 0;
    for (const HostFrame& frame : played)
        most = std::max(most, frame.frames);
    return most;
}

} // namespace

// On every display rate, read in microseconds or in whole milliseconds, the
// game gets one frame for every 30 ms, each in the host frame nearest its
// turn: never two in one host frame, never further from the last than a
// host frame (and the clock's jitter) off 30 ms.
TEST(FrameScheduleTest, PlaysOneFrameEveryThirtyMillisecondsOnAnyDisplay)
{
    for (const double hz : {60.0, 75.0, 120.0, 144.0}) {
        for (const int unitsPerMs : {1000, 1}) {
            SCOPED_TRACE(std::to_string(hz) + " Hz, " + std::to_string(unitsPerMs) + " units a millisecond");
            const std::vector<HostFrame> played = minuteOf(hz, unitsPerMs);
            EXPECT_NEAR(totalFrames(played) / (minuteMs / 1000.0), 1000.0 / stepMs, 0.05) << "frames a second";
            EXPECT_EQ(mostInOneHostFrame(played), 1);
            const double slackMs = 1000.0 / hz + 1.0 + 2.0 / unitsPerMs;
            double lastMs = -1.0;
            for (const HostFrame& frame : played) {
                if (frame.frames == 0)
                    continue;
                if (lastMs >= 0.0) {
                    ASSERT_NEAR(frame.atMs - lastMs, stepMs, slackMs) << "at " << frame.atMs << " ms";
                }
                lastMs = frame.atMs;
            }
        }
    }
}

// A host frame that comes late by a few frames' worth has the frames it
// missed played two at a time until the game is back on its pace; one that
// comes after seconds (a hidden tab) plays one, and the pace starts again
// from there without a burst.
TEST(FrameScheduleTest, CatchesUpAfterAStallButNotAfterAGap)
{
    const struct {
        const char* name;
        double stallMs;
        int mostInOneHostFrame;
        double framesLost;
    } cases[] = {
        {"a stall of 70 ms", 70.0, 2, 0.0},
        {"a tab hidden for 5 s", 5000.0, 1, 5000.0 / stepMs},
    };
    for (const double hz : {60.0, 144.0}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(std::string(c.name) + " at " + std::to_string(hz) + " Hz");
            const std::vector<HostFrame> played = minuteOf(hz, 1000, static_cast<int>(hz * 20), c.stallMs);
            EXPECT_EQ(mostInOneHostFrame(played), c.mostInOneHostFrame);
            EXPECT_NEAR(totalFrames(played), minuteMs / stepMs - c.framesLost, 2.0);
        }
    }
}
