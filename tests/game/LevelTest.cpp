#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <tuple>

#include "game/BlockTypes.h"
#include "game/Level.h"

namespace {

// The hull of a block of that type, place and scale, from a screen holding only it.
CollisionHull hullOf(int type, short x, short y, float scale)
{
    Block block;
    block.type = type;
    block.x = x;
    block.y = y;
    block.setSizeFromType();
    block.scale = scale;
    Level level;
    level.addBlock(block);
    return level.getHulls().at(0);
}

}  // namespace

TEST(LevelTest, HullsAreInsetByTwelveOrAQuarterOfTheScaledSize)
{
    const struct {
        int type;
        short x, y;
        float scale;
        short left, right, top, bottom;
    } cases[] = {
        {0, 100, 200, 1.0f, 112, 486, 212, 675},
        // 39.8 x 48.7 scaled: insets 9 and 12, a 21 x 24 hull about the centre.
        {0, 100, 200, 0.1f, 288, 309, 431, 455},
        {2, 0, 0, 1.0f, 12, 734, 12, 244},
        {1, 300, 0, 0.5f, 359, 430, 200, 552},
        // Shrunk to nothing, turned inside out, or of no known type: degenerate.
        {0, 100, 200, 0.0f, 299, 299, 443, 443},
        {3, 0, 0, -0.5f, 320, 320, 302, 302},
        {7, 300, 100, 1.0f, 300, 300, 100, 100},
    };
    for (const auto& c : cases) {
        const CollisionHull hull = hullOf(c.type, c.x, c.y, c.scale);
        EXPECT_EQ(std::tie(hull.left, hull.right, hull.top, hull.bottom), std::tie(c.left, c.right, c.top, c.bottom))
            << "type " << c.type << " scale " << c.scale;
        EXPECT_EQ(hull.right == hull.left || hull.bottom == hull.top, hull.isDegenerate());
    }
}

// A levels file may hold any scale key at all; whatever hull comes of it must
// be computed without overflow (the sanitized build aborts on one) and still
// be a rectangle that is not inside out.
TEST(LevelTest, AbsurdScalesFromALevelsFileGiveUprightHullsWithoutOverflow)
{
    const float scales[] = {1e30f, -1e30f, 5e29f, 2.2e7f, -2.2e7f, 1e9f,
                            std::numeric_limits<float>::infinity(),
                            -std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()};
    for (int type = 0; type < 4; ++type)
        for (const float scale : scales)
            for (const short position : {0, -1, 32767, -32768}) {
                const CollisionHull hull = hullOf(type, position, position, scale);
                EXPECT_TRUE(hull.left <= hull.right && hull.top <= hull.bottom)
                    << "type " << type << " scale " << scale << " at " << position;
            }
}

TEST(LevelTest, TickInterpolatesBetweenKeysFromKeyZeroAfterAResetAndWrapsTheLastIntoTheFirst)
{
    Level level;
    Block block;
    for (int k = 0; k < Block::keyCount; ++k)
        block.scaleKeys[k] = 0.1f * static_cast<float>(k + 1);
    level.addBlock(block);
    level.animPhase = 9.3f;
    level.reset();
    EXPECT_EQ(level.blocks[0].scale, 1.0f);  // not recomputed until the next tick
    level.tick();
    EXPECT_EQ(level.blocks[0].scale, 0.1f);
    for (int i = 1; i < 50; ++i)
        level.tick();
    EXPECT_NEAR(level.animPhase, 1.0f, 1e-3f) << "fifty ticks make a key";

    level.animPhase = 2.25f;
    level.tick();
    EXPECT_NEAR(level.blocks[0].scale, 0.75f * 0.3f + 0.25f * 0.4f, 1e-5f);
    level.animPhase = 15.5f;
    level.tick();
    EXPECT_NEAR(level.blocks[0].scale, (1.6f + 0.1f) / 2.0f, 1e-5f);
    level.animPhase = 15.99f;
    level.tick();
    EXPECT_NEAR(level.animPhase, 0.01f, 1e-4f);
}

// A screen asked for its hulls, then changed as the rules and the editor
// change one (a block moved, retyped, breathing, a block added), answers
// with the hulls of its blocks as they are now, never the ones made before.
TEST(LevelTest, HullsFollowTheirBlocksAfterEveryChange)
{
    const struct {
        const char* change;
        void (*apply)(Level&);
    } changes[] = {
        {"moved", [](Level& l) { l.blocks[1].x = static_cast<short>(l.blocks[1].x + 8); }},
        {"lowered", [](Level& l) { l.blocks[0].y = static_cast<short>(l.blocks[0].y + 1); }},
        {"retyped", [](Level& l) { l.blocks[1].type = 3; }},
        {"breathed", [](Level& l) { l.blocks[0].scale = 0.25f; }},
        {"added", [](Level& l) {
             Block block = l.blocks[0];
             block.x = 600;
             l.addBlock(block);
         }},
    };
    for (const auto& c : changes) {
        Level level;
        for (int type : {0, 2}) {
            Block block;
            block.type = type;
            block.x = static_cast<short>(100 * type);
            block.setSizeFromType();
            level.addBlock(block);
        }
        level.getHulls();
        c.apply(level);
        const std::vector<CollisionHull> hulls = level.getHulls();
        ASSERT_EQ(hulls.size(), level.blocks.size()) << c.change;
        for (std::size_t i = 0; i < hulls.size(); ++i) {
            const Block& b = level.blocks[i];
            const CollisionHull expected = hullOf(b.type, b.x, b.y, b.scale);
            EXPECT_EQ(std::tie(hulls[i].left, hulls[i].right, hulls[i].top, hulls[i].bottom),
                      std::tie(expected.left, expected.right, expected.top, expected.bottom))
                << c.change << ", block " << i;
        }
    }
}
