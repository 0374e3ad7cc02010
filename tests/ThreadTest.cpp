#include "platform/Thread.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_thread.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class CountingThread : public Thread {
public:
    explicit CountingThread(bool result = true, int workMs = 0) : result(result), workMs(workMs) {}
    ~CountingThread() override { waitForThread(); }

    bool run() override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(workMs));
        runs.fetch_add(1);
        finished.store(true);
        return result;
    }

    std::atomic<int> runs{0};
    std::atomic<bool> finished{false};

private:
    const bool result;
    const int workMs;
};

} // namespace

TEST(ThreadTest, SecondStartOnTheSameObjectStartsNothing)
{
    CountingThread thread(true, 50);
    thread.startThread(&thread);
    thread.startThread(&thread);
    thread.startThread(&thread);
    while (!thread.finished.load())
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    // Give a wrongly started second thread time to be counted.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(thread.runs.load(), 1);
}

TEST(ThreadTest, DestructionWaitsUntilRunReturns)
{
    std::atomic<bool> runReturned{false};
    class SlowThread : public Thread {
    public:
        explicit SlowThread(std::atomic<bool>& returned) : returned(returned) {}
        ~SlowThread() override { waitForThread(); }
        bool run() override
        {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            returned.store(true);
            return true;
        }

    private:
        std::atomic<bool>& returned;
    };
    {
        SlowThread thread(runReturned);
        thread.startThread(&thread);
        EXPECT_FALSE(runReturned.load());
    }
    EXPECT_TRUE(runReturned.load());
}

TEST(ThreadTest, ThreadMethodTurnsRunsResultIntoExitStatus)
{
    CountingThread yes(true), no(false);
    EXPECT_EQ(Thread::threadMethod(&yes), 1);
    EXPECT_EQ(Thread::threadMethod(&no), 0);

    // The same through SDL, whose exit status is collected here by hand.
    CountingThread target(true);
    SDL_Thread* raw = SDL_CreateThread(&Thread::threadMethod, &target);
    ASSERT_NE(raw, nullptr);
    int status = -1;
    SDL_WaitThread(raw, &status);
    EXPECT_EQ(status, 1);
}
