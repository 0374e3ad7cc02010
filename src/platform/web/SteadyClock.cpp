// The page: the browser's monotonic clock. The browser calls the game once
// per animation frame and nothing on its one thread may block it, so a sleep
// returns at once; the entry function waits by not playing a frame before
// its time.
#include "platform/SteadyClock.h"

#include <emscripten.h>

std::uint64_t SteadyClock::microseconds()
{
    return static_cast<std::uint64_t>(emscripten_get_now() * 1000.0);
}

void SteadyClock::sleepMicroseconds(std::uint32_t) {}
