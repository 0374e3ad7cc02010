#pragma once

#include <cstdint>

// A clock that only ever runs forward at one pace, whatever is done to the
// wall clock, and a sleep as fine as the system offers: what frames are
// paced by. Neither fails; a sleep may end a little late, or early when the
// system cuts it short.
class SteadyClock {
public:
    SteadyClock() = delete;

    // Microseconds since some fixed moment; only differences mean anything.
    static std::uint64_t microseconds();
    static void sleepMicroseconds(std::uint32_t duration);
};
