#include <gtest/gtest.h>

#include <algorithm>

#include "GamePlay.h"
#include "GamePlayTestSupport.h"
#include "Player.h"

TEST(PlayerTest, LeavingAnEdgeChangesScreenOnlyWhenTheCooldownIsOver)
{
    const struct {
        short x;
        int cooldown;
        short expectedX;
        int expectedScreen;
        int expectedCooldown;
    } cases[] = {
        {1025, 0, -22, 1, 30}, {1024, 0, 1024, 0, 0}, {-23, 0, 1024, 1, 30},
        {-22, 0, -22, 0, 0},   {1030, 5, 1030, 0, 5}, {-40, 1, -40, 0, 1},
    };
    for (const auto& c : cases) {
        auto game = gameOf("<Plane/>");
        game->player.screenChangeCooldown = c.cooldown;
        game->player.setPosition(c.x, 300);
        SCOPED_TRACE("x " + std::to_string(c.x) + " cooldown " + std::to_string(c.cooldown));
        EXPECT_EQ(game->player.x, c.expectedX);
        EXPECT_EQ(game->currentScreen, c.expectedScreen);
        EXPECT_EQ(game->player.screenChangeCooldown, c.expectedCooldown);
    }
    // The cooldown counts down once per tick: 0 -> 1 -> 0 after thirty.
    auto game = gameOf("<Plane/>");
    game->player.setPosition(1025, 0);
    for (int i = 0; i < 30; ++i)
        game->player.tick();
    game->player.setPosition(-23, 0);
    EXPECT_EQ(game->player.x, 1024);
    EXPECT_EQ(game->currentScreen, 0);
}

// The arc is worked out in 16 bits from a single-precision sine, with truncation.
TEST(PlayerTest, JumpArcRisesAtMostHundredFortyNineAndEndsOnTickFortyTwo)
{
    auto game = gameOf("<Plane/>");
    Player& player = game->player;
    player.setPosition(100, 500);
    player.jump();
    EXPECT_FALSE(player.grounded);
    short highest = 500;
    for (int tick = 1; tick <= 41; ++tick) {
        player.tick();
        ASSERT_TRUE(player.jumping) << tick;
        EXPECT_TRUE(tick != 1 || player.y == 489) << player.y;  // trunc(150 sin 0.075) = 11
        highest = std::min(highest, player.y);
    }
    EXPECT_EQ(highest, 351);
    EXPECT_EQ(player.y, 491);  // tick 41: trunc(150 sin 3.075) = 9
    player.tick();
    EXPECT_FALSE(player.jumping);
    EXPECT_EQ(player.y, 491);
}

TEST(PlayerTest, GravityGrowsByATenthUpToJustOverTenAndWrapsTheBottomToTheTop)
{
    auto game = gameOf("<Plane/>");
    Player& player = game->player;
    player.setPosition(0, 100);
    player.fallSpeed = 9.95f;
    player.applyGravity();
    EXPECT_EQ(player.y, 109);
    EXPECT_NEAR(player.fallSpeed, 10.05f, 1e-5f);
    player.applyGravity();
    EXPECT_EQ(player.y, 119);
    EXPECT_NEAR(player.fallSpeed, 10.05f, 1e-5f);

    player.setPosition(0, 765);
    player.fallSpeed = 4.0f;
    player.applyGravity();
    EXPECT_EQ(player.y, -118);
    EXPECT_EQ(game->currentScreen, 2);
    player.y = 765;
    player.applyGravity();  // 769 while the cooldown runs: back on top, same screen
    EXPECT_EQ(player.y, -118);
    EXPECT_EQ(game->currentScreen, 2);
}

TEST(PlayerTest, LandingSetsFallSpeedToFourOnlyOnTheFirstGroundedFrame)
{
    auto game = gameOf("<Plane/>");
    Player& player = game->player;
    player.fallSpeed = 7.0f;
    player.setGrounded(true);
    EXPECT_EQ(player.fallSpeed, 4.0f);
    player.fallSpeed = 6.0f;
    player.setGrounded(true);
    EXPECT_EQ(player.fallSpeed, 6.0f);
}
