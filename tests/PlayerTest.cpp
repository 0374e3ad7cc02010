#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "GamePlay.h"
#include "Player.h"
#include "TestSupport.h"

namespace {

// A game of one empty plane: the owner the figure reports screen changes to.
std::unique_ptr<GamePlay> emptyGame()
{
    TempDir dir;
    const std::string path = dir.write(
        "levels.xml", "<BrickVoyager><Plane><Screen/></Plane></BrickVoyager>");
    return std::make_unique<GamePlay>(path);
}

}  // namespace

TEST(PlayerTest, LeavingAnEdgeChangesScreenOnlyWhenTheCooldownIsOver)
{
    struct Case {
        short x;
        int cooldown;
        short expectedX;
        int expectedScreen;
        int expectedCooldown;
    };
    const Case cases[] = {
        {1025, 0, -22, 1, 30}, {1024, 0, 1024, 0, 0}, {-23, 0, 1024, 1, 30},
        {-22, 0, -22, 0, 0},   {1030, 5, 1030, 0, 5}, {-40, 1, -40, 0, 1},
    };
    for (const Case& c : cases) {
        auto game = emptyGame();
        Player& player = game->player;
        player.screenChangeCooldown = c.cooldown;
        player.setPosition(c.x, 300);
        SCOPED_TRACE("x " + std::to_string(c.x) + " cooldown " + std::to_string(c.cooldown));
        EXPECT_EQ(player.x, c.expectedX);
        EXPECT_EQ(player.y, 300);
        EXPECT_EQ(game->currentScreen, c.expectedScreen);
        EXPECT_EQ(player.screenChangeCooldown, c.expectedCooldown);
    }
}

TEST(PlayerTest, FacingFollowsTheMoveSinceTheLastFrame)
{
    auto game = emptyGame();
    Player& player = game->player;
    player.setLastPosition(100, 0);
    player.setPosition(99, 0);
    EXPECT_FALSE(player.facingRight);
    player.setPosition(100, 0);  // back at lastX: unchanged
    EXPECT_FALSE(player.facingRight);
    player.setPosition(101, 0);
    EXPECT_TRUE(player.facingRight);
}

TEST(PlayerTest, JumpArcRisesAtMostHundredFortyNineAndEndsOnTickFortyTwo)
{
    auto game = emptyGame();
    Player& player = game->player;
    player.setPosition(100, 500);
    player.jump();
    EXPECT_FALSE(player.grounded);
    short highest = 500;
    for (int tick = 1; tick <= 41; ++tick) {
        player.tick();
        ASSERT_TRUE(player.jumping) << tick;
        if (tick == 1) {
            EXPECT_EQ(player.y, 489);  // trunc(150 sin 0.075) = 11
        } else if (tick == 21) {
            EXPECT_EQ(player.y, 351);  // the top of the arc
        }
        highest = std::min(highest, player.y);
    }
    EXPECT_EQ(highest, 351);
    EXPECT_EQ(player.y, 491);  // tick 41: trunc(150 sin 3.075) = 9
    player.tick();
    EXPECT_FALSE(player.jumping);
    EXPECT_EQ(player.y, 491);
}

TEST(PlayerTest, GravityGrowsByATenthUpToJustOverTen)
{
    auto game = emptyGame();
    Player& player = game->player;
    player.setPosition(0, 100);
    player.fallSpeed = 9.95f;
    player.applyGravity();
    EXPECT_EQ(player.y, 109);
    EXPECT_NEAR(player.fallSpeed, 10.05f, 1e-5f);
    player.applyGravity();
    EXPECT_EQ(player.y, 119);
    EXPECT_NEAR(player.fallSpeed, 10.05f, 1e-5f);
}

TEST(PlayerTest, FallingOffTheBottomComesBackFromAboveAndChangesRowOutsideTheCooldown)
{
    auto game = emptyGame();
    Player& player = game->player;
    player.setPosition(0, 765);
    player.fallSpeed = 4.0f;
    player.applyGravity();
    EXPECT_EQ(player.y, -118);
    EXPECT_EQ(game->currentScreen, 2);
    EXPECT_EQ(player.screenChangeCooldown, 30);

    player.y = 765;
    player.applyGravity();  // 769 while the cooldown runs
    EXPECT_EQ(player.y, -118);
    EXPECT_EQ(game->currentScreen, 2);
}

TEST(PlayerTest, LandingSetsFallSpeedToFourOnlyOnTheFirstGroundedFrame)
{
    auto game = emptyGame();
    Player& player = game->player;
    player.fallSpeed = 7.0f;
    player.setGrounded(true);
    EXPECT_EQ(player.fallSpeed, 4.0f);
    player.fallSpeed = 6.0f;
    player.setGrounded(true);
    EXPECT_EQ(player.fallSpeed, 6.0f);
    player.setGrounded(false);
    EXPECT_EQ(player.fallSpeed, 6.0f);
    EXPECT_FALSE(player.grounded);
}

TEST(PlayerTest, CooldownCountsDownOncePerTick)
{
    auto game = emptyGame();
    Player& player = game->player;
    player.setPosition(1025, 0);
    for (int i = 0; i < 29; ++i)
        player.tick();
    EXPECT_EQ(player.screenChangeCooldown, 1);
    player.setPosition(-23, 0);
    EXPECT_EQ(player.x, -23);
    player.tick();
    player.setPosition(-23, 0);
    EXPECT_EQ(player.x, 1024);
    EXPECT_EQ(game->currentScreen, 0);  // 0 -> 1 -> 0
}
