#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "BlockTypes.h"
#include "Level.h"

namespace {

Block blockOf(int type, short x, short y, float scale)
{
    Block block;
    block.type = type;
    block.x = x;
    block.y = y;
    block.setSizeFromType();
    block.scale = scale;
    return block;
}

CollisionHull hullOf(const Block& block)
{
    Level level;
    level.addBlock(block);
    return level.getHulls().at(0);
}

}  // namespace

TEST(LevelTest, HullsAreInsetByTwelveOrAQuarterOfTheScaledSize)
{
    struct Case {
        int type;
        short x, y;
        float scale;
        short left, right, top, bottom;
    };
    const Case cases[] = {
        {0, 100, 200, 1.0f, 112, 486, 212, 675},
        // 39.8 x 48.7 scaled: insets 9 and 12, a 21 x 24 hull about the centre.
        {0, 100, 200, 0.1f, 288, 309, 431, 455},
        {2, 0, 0, 1.0f, 12, 734, 12, 244},
        {1, 300, 0, 0.5f, 359, 430, 200, 552},
        // Shrunk to nothing, or turned inside out: degenerate.
        {0, 100, 200, 0.0f, 299, 299, 443, 443},
        {3, 0, 0, -0.5f, 320, 320, 302, 302},
    };
    for (const Case& c : cases) {
        const CollisionHull hull = hullOf(blockOf(c.type, c.x, c.y, c.scale));
        SCOPED_TRACE("type " + std::to_string(c.type) + " scale " + std::to_string(c.scale));
        EXPECT_EQ(hull.left, c.left);
        EXPECT_EQ(hull.right, c.right);
        EXPECT_EQ(hull.top, c.top);
        EXPECT_EQ(hull.bottom, c.bottom);
        EXPECT_EQ(hull.right - hull.left == 0 || hull.bottom - hull.top == 0, hull.isDegenerate());
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
    const short positions[] = {0, -1, 32767, -32768};
    for (int type = 0; type < 4; ++type)
        for (const float scale : scales)
            for (const short position : positions) {
                SCOPED_TRACE("type " + std::to_string(type) + " scale " + std::to_string(scale) +
                             " at " + std::to_string(position));
                const CollisionHull hull = hullOf(blockOf(type, position, position, scale));
                EXPECT_LE(hull.left, hull.right);
                EXPECT_LE(hull.top, hull.bottom);
            }
}

TEST(LevelTest, BlockOfUnknownTypeHasNoSizeAndADegenerateHull)
{
    const Block block = blockOf(7, 300, 100, 1.0f);
    EXPECT_EQ(block.width, 0);
    EXPECT_EQ(block.height, 0);
    EXPECT_TRUE(hullOf(block).isDegenerate());
}

TEST(LevelTest, FloatAndShortSizeTablesAgree)
{
    const short expected[4][2] = {{398, 487}, {190, 752}, {746, 256}, {512, 483}};
    for (int type = 0; type < BlockTypes::count; ++type) {
        EXPECT_EQ(BlockTypes::blockW16[type], expected[type][0]);
        EXPECT_EQ(BlockTypes::blockH16[type], expected[type][1]);
        EXPECT_EQ(BlockTypes::blockW[type], static_cast<float>(expected[type][0]));
        EXPECT_EQ(BlockTypes::blockH[type], static_cast<float>(expected[type][1]));
    }
}

TEST(LevelTest, TickInterpolatesBetweenKeysAndWrapsTheLastIntoTheFirst)
{
    Level level;
    Block block = blockOf(0, 0, 0, 1.0f);
    for (int k = 0; k < Block::keyCount; ++k)
        block.scaleKeys[k] = 0.1f * static_cast<float>(k + 1);
    level.addBlock(block);

    level.animPhase = 15.5f;
    level.tick();
    EXPECT_NEAR(level.blocks[0].scale, (1.6f + 0.1f) / 2.0f, 1e-5f);
    EXPECT_NEAR(level.animPhase, 15.52f, 1e-5f);

    level.animPhase = 2.25f;
    level.tick();
    EXPECT_NEAR(level.blocks[0].scale, 0.75f * 0.3f + 0.25f * 0.4f, 1e-5f);

    level.animPhase = 15.99f;
    level.tick();
    EXPECT_NEAR(level.animPhase, 0.01f, 1e-4f);
}

TEST(LevelTest, FirstTickAfterResetSetsKeyZeroAndFiftyTicksMakeAKey)
{
    Level level;
    Block block = blockOf(2, 0, 0, 1.0f);
    block.scaleKeys[0] = 0.5f;
    block.scaleKeys[1] = 1.5f;
    level.addBlock(block);
    level.animPhase = 9.3f;
    level.reset();
    EXPECT_EQ(level.blocks[0].scale, 1.0f);  // not recomputed until the next tick
    level.tick();
    EXPECT_EQ(level.blocks[0].scale, 0.5f);
    for (int i = 1; i < 50; ++i)
        level.tick();
    EXPECT_NEAR(level.animPhase, 1.0f, 1e-3f);
}

TEST(LevelTest, EmptyScreenHasNoHullsAndOnlyAdvancesItsPhase)
{
    Level level;
    EXPECT_TRUE(level.getHulls().empty());
    level.tick();
    EXPECT_NEAR(level.animPhase, 0.02f, 1e-7f);
}

TEST(LevelTest, ClearingBlocksKeepsDoorStartAndPhase)
{
    Level level;
    level.addBlock(blockOf(1, 5, 5, 1.0f));
    level.setDoor(10, 20);
    level.setDoor(40, 50);
    level.setPlayerPos(7, 8);
    level.animPhase = 3.0f;
    level.clearBlocks();
    EXPECT_TRUE(level.blocks.empty());
    EXPECT_TRUE(level.hulls.empty());
    ASSERT_TRUE(level.door.has_value());
    EXPECT_EQ(level.door->left, 40);
    EXPECT_EQ(level.door->right, 98);
    EXPECT_EQ(level.door->top, 50);
    EXPECT_EQ(level.door->bottom, 122);
    EXPECT_EQ(level.playerX, 7);
    EXPECT_EQ(level.playerY, 8);
    EXPECT_EQ(level.animPhase, 3.0f);
}
