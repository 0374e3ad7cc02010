#include <gtest/gtest.h>

#include "game/KeySet.h"

// Keys that agree in most of their bits, as the route search's states do
// (the same place on another screen or phase), must each stay apart: every
// key is new once, then known, whichever of its bits tell it apart. The
// runs share no key.
TEST(KeySetTest, EveryKeyBelowTheBoundIsNewOnceThenKnown)
{
    const std::uint64_t top = std::uint64_t{1} << KeySet::keyBits;
    const struct {
        const char* name;
        std::uint64_t first, step;
    } runs[] = {
        {"consecutive", 0, 1},
        {"apart in the high bits only", 300007, std::uint64_t{1} << 31},
        {"apart in the top bits only", 123456789, std::uint64_t{1} << 40},
        {"near the bound", top - 300001, 1},
        {"spread", 1000007, 0x2540be3ffull},
    };
    KeySet set;
    std::size_t inserted = 0;
    for (const auto& run : runs) {
        std::uint64_t key = run.first;
        for (int i = 0; i < 300000 && key < top; ++i, key += run.step, ++inserted)
            ASSERT_TRUE(set.insert(key)) << run.name << ", key " << key;
        key = run.first;
        for (int i = 0; i < 300000 && key < top; ++i, key += run.step)
            ASSERT_FALSE(set.insert(key)) << run.name << ", key " << key;
        ASSERT_EQ(set.size(), inserted) << run.name;
    }
    EXPECT_EQ(inserted, 609968u);
}
