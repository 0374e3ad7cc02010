#include "platform/CriticalSection.h"
#include "platform/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

// Counts its runs, each once it is let go and a fifth of a second's work
// after that: held until then, none can be counted early, however the
// threads are scheduled.
struct CountingThread : Thread {
    ~CountingThread() override
    {
        letGo = true;
        waitForThread();
    }
    bool run() override
    {
        while (!letGo)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return ++runs > 0;
    }
    static inline std::atomic<int> runs{0};
    static inline std::atomic<bool> letGo{false};
};

} // namespace

TEST(ThreadTest, SecondStartStartsNothingAndDestructionWaitsUntilRunReturns)
{
    CountingThread::runs = 0;
    CountingThread::letGo = false;
    {
        CountingThread thread;
        for (int i = 0; i < 3; ++i)
            thread.startThread(&thread);
        EXPECT_EQ(CountingThread::runs.load(), 0);
    }
    EXPECT_EQ(CountingThread::runs.load(), 1);
    // Time for a wrongly started second thread to be counted.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(CountingThread::runs.load(), 1);
}

// A second thread waits while the first holds the lock, and gets it once the
// holder's scope ends; its own scope lets go again.
TEST(CriticalSectionTest, SecondThreadWaitsUntilTheHoldersScopeEnds)
{
    CriticalSection section;
    std::atomic<bool> taken{false};
    std::thread other;
    {
        CriticalSection::ScopedLock lock(section);
        ASSERT_TRUE(lock.isHeld());
        other = std::thread([&] { taken.store(CriticalSection::ScopedLock(section).isHeld()); });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(taken.load()) << "the second thread got in while the lock was held";
    }
    other.join();
    EXPECT_TRUE(taken.load());
    ASSERT_TRUE(section.lock());
    section.unlock();
}
