#include "platform/Thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class CountingThread : public Thread {
public:
    CountingThread(std::atomic<int>& runs, bool result, int workMs) : runs(runs), result(result), workMs(workMs) {}
    ~CountingThread() override { waitForThread(); }

    bool run() override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(workMs));
        runs.fetch_add(1);
        return result;
    }

private:
    std::atomic<int>& runs;
    const bool result;
    const int workMs;
};

} // namespace

TEST(ThreadTest, SecondStartStartsNothingAndDestructionWaitsUntilRunReturns)
{
    std::atomic<int> runs{0};
    {
        CountingThread thread(runs, true, 200);
        for (int i = 0; i < 3; ++i)
            thread.startThread(&thread);
        EXPECT_EQ(runs.load(), 0);
    }
    EXPECT_EQ(runs.load(), 1);
    // Time for a wrongly started second thread to be counted.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(runs.load(), 1);
}
