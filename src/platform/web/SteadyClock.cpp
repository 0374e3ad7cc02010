// The page: the browser's monotonic clock. The browser calls the game once
// per animation frame and nothing on its one thread may block it, so a sleep
// returns at once and the entry function waits by not playing a frame before
// its time. A build that keeps the desktop's loop under Asyncify
// (BV_WEB_ASYNCIFY) sleeps by handing the page back to the browser instead.
#include "platform/SteadyClock.h"

#include <emscripten.h>

std::uint64_t SteadyClock::microseconds()
{
    return static_cast<std::uint64_t>(emscripten_get_now() * 1000.0);
}

void SteadyClock::sleepMicroseconds(std::uint32_t duration)
{
#ifdef BV_WEB_ASYNCIFY
    emscripten_sleep((duration + 999) / 1000);
#else
    static_cast<void>(duration);
#endif
}
