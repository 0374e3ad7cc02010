#include "Application.h"

#include <gtest/gtest.h>

#include <chrono>

// The loop's own clock counts in microseconds; a slip of its units would let
// frames come a thousand times too close or too far apart.
TEST(ApplicationClockTest, MicrosecondClockPacesFramesThirtyMillisecondsApart)
{
    const Application::Clock clock = Application::microsecondClock();
    const auto started = std::chrono::steady_clock::now();
    const Uint32 first = clock.ticks();
    const Uint32 next = Application::paceFrame(first, clock);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_GE(next - first, 30000u);
    EXPECT_GE(waited, std::chrono::milliseconds(30));
    EXPECT_LT(waited, std::chrono::seconds(2));
}
