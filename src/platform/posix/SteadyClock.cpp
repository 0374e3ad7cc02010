#include "platform/SteadyClock.h"

#include <chrono>
#include <thread>

std::uint64_t SteadyClock::microseconds()
{
    return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::microseconds>(
                                          std::chrono::steady_clock::now().time_since_epoch())
                                          .count());
}

void SteadyClock::sleepMicroseconds(std::uint32_t duration)
{
    std::this_thread::sleep_for(std::chrono::microseconds(duration));
}
