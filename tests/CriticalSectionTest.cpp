#include "platform/CriticalSection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

TEST(CriticalSectionTest, SecondThreadWaitsForTheHoldersUnlock)
{
    CriticalSection section;
    ASSERT_TRUE(section.lock());
    std::atomic<bool> taken{false};
    std::thread other([&] {
        const bool locked = section.lock();
        taken.store(true);
        if (locked)
            section.unlock();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_FALSE(taken.load()) << "the second thread got in while the lock was held";
    section.unlock();
    other.join();
    EXPECT_TRUE(taken.load());
    EXPECT_TRUE(section.lock()) << "and let go again";
    section.unlock();
}

TEST(CriticalSectionTest, ScopedLockExcludesConcurrentIncrementsAndReleasesOnEveryPath)
{
    CriticalSection section;
    long counter = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < 20000; ++i) {
                CriticalSection::ScopedLock lock(section);
                ASSERT_TRUE(lock.isHeld());
                // A read-modify-write split in two, so that a lock letting two
                // threads in at once would lose increments.
                const long seen = counter;
                counter = seen + 1;
                if (i % 2)
                    continue;  // leaves the scope early
            }
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(counter, 80000);
}
