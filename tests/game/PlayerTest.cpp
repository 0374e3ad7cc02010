#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "game/GamePlay.h"
#include "game/Player.h"
#include "GamePlayTestSupport.h"

// Past a side edge the figure comes in at the other one on the other screen
// of the row, which starts its breathing anew, unless a change is still
// cooling down (thirty ticks).
TEST(PlayerTest, LeavingAnEdgeChangesScreenOnlyWhenTheCooldownIsOver)
{
    const struct {
        short x;
        int cooldown, ticks;
        short expectedX;
        int expectedScreen;
    } cases[] = {
        {1025, 0, 0, -22, 1}, {1024, 0, 0, 1024, 0}, {-23, 0, 0, 1024, 1}, {-22, 0, 0, -22, 0},
        {1030, 30, 29, 1030, 0}, {-40, 30, 30, 1024, 1},
    };
    for (const auto& c : cases) {
        auto game = gameOf("<Plane/>");
        game->planes[0].levels[1]->animPhase = 5.0f;
        game->player.screenChangeCooldown = c.cooldown;
        for (int i = 0; i < c.ticks; ++i)
            game->player.tick();
        game->player.setPosition(c.x, 300);
        // The title goes with the first screen change.
        EXPECT_EQ(std::make_tuple(game->player.x, game->currentScreen, game->player.screenChangeCooldown,
                                  game->showTitle, game->planes[0].levels[1]->animPhase),
                  std::make_tuple(c.expectedX, c.expectedScreen, c.expectedScreen ? 30 : c.cooldown - c.ticks,
                                  c.expectedScreen == 0, c.expectedScreen ? 0.0f : 5.0f))
            << "x " << c.x << " after " << c.ticks << " ticks";
    }
}

// The arc is worked out in 16 bits from a single-precision sine, with
// truncation: at its top trunc(150 sin 1.575) = 149 above the start, and on
// the last tick in the air, the 41st, trunc(150 sin 3.075) = 9.
TEST(PlayerTest, JumpArcRisesAtMostHundredFortyNineAndEndsOnTickFortyTwo)
{
    auto game = gameOf("<Plane/>");
    Player& player = game->player;
    player.setPosition(100, 500);
    player.jump();
    short highest = 500;
    for (int tick = 1; tick <= 41; ++tick) {
        player.tick();
        ASSERT_TRUE(player.jumping) << tick;
        highest = std::min(highest, player.y);
    }
    EXPECT_EQ(highest, 351);
    player.tick();
    EXPECT_FALSE(player.jumping);
    EXPECT_EQ(player.y, 491);
}

// Below the bottom edge the figure comes back above the top, on the screen
// below unless a change is cooling down.
TEST(PlayerTest, GravityGrowsByATenthUpToJustOverTenAndWrapsTheBottomToTheTop)
{
    auto game = gameOf("<Plane/>");
    Player& player = game->player;
    player.setPosition(0, 100);
    player.fallSpeed = 9.95f;
    for (short y : {109, 119}) {
        player.applyGravity();
        EXPECT_EQ(player.y, y);
        EXPECT_NEAR(player.fallSpeed, 10.05f, 1e-5f);
    }
    player.setPosition(0, 765);
    player.fallSpeed = 4.0f;
    for (int fall = 0; fall < 2; ++fall) {
        player.applyGravity();
        EXPECT_EQ(player.y, -118);
        EXPECT_EQ(game->currentScreen, 2);
        player.y = 765;
    }
}
