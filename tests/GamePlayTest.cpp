#include <gtest/gtest.h>

#include <memory>

#include "../tools/walkthrough/Walkthrough.h"
#include "GamePlay.h"
#include "GamePlayTestSupport.h"

namespace {

// A type-0 block whose hull is left+0..left+374 wide, top+0..top+463 high
// at scale 1.
std::string blockWithHull(int left, int top, const std::string& keys = "s0=\"1\"")
{
    return "<Block type=\"0\" x=\"" + std::to_string(left - 12) + "\" y=\"" +
           std::to_string(top - 12) + "\" " + keys + "/>";
}

void place(GamePlay& game, short x, short y)
{
    game.player.x = game.player.lastX = x;
    game.player.y = game.player.lastY = y;
}

void frame(GamePlay& game)
{
    Walkthrough::NullDrawer drawer;
    game.draw(&drawer);
}

void press(GamePlay& game, SDLKey key) { Walkthrough::sendKey(game, key, true); }

}  // namespace

TEST(GamePlayTest, ScreenChangesFollowTheTwoByTwoMap)
{
    struct Case {
        int from;
        GamePlay::LevelDir dir;
        int to;
    };
    const Case cases[] = {
        {0, GamePlay::Down, 2}, {1, GamePlay::Down, 3}, {2, GamePlay::Down, 0},
        {3, GamePlay::Down, 1}, {0, GamePlay::Left, 1}, {0, GamePlay::Right, 1},
        {1, GamePlay::Left, 0}, {1, GamePlay::Right, 0}, {2, GamePlay::Right, 3},
        {3, GamePlay::Left, 2},
    };
    for (const Case& c : cases) {
        auto game = gameOf("<Plane/>");
        game->currentScreen = c.from;
        game->planes[0].levels[c.to]->animPhase = 5.0f;
        game->newLevel(c.dir);
        EXPECT_EQ(game->currentScreen, c.to) << c.from << " " << c.dir;
        EXPECT_EQ(game->currentLevel().animPhase, 0.0f);
        EXPECT_FALSE(game->showTitle);
    }
}

TEST(GamePlayTest, FigureStartsOnTheFirstScreensStartWithTheTitleShown)
{
    auto game = gameOf("<Plane><Screen><Player x=\"123\" y=\"45\"/></Screen></Plane>");
    EXPECT_EQ(game->player.x, 123);
    EXPECT_EQ(game->player.y, 45);
    EXPECT_TRUE(game->showTitle);
    EXPECT_EQ(game->endFade, 1.0f);
    EXPECT_EQ(game->player.gamePlay, game.get());
}

TEST(GamePlayTest, ArrowHeldInTheFirstFrameWalksFromTheStartNotFromTheTop)
{
    // A door above the start: reaching its height would be a free passage.
    auto game = gameOf("<Plane><Screen>" + blockWithHull(0, 600) +
                       "<Door x=\"200\" y=\"100\"/><Player x=\"100\" y=\"540\"/></Screen></Plane>");
    press(*game, SDLK_RIGHT);
    press(*game, SDLK_DOWN);
    frame(*game);
    EXPECT_EQ(game->player.x, 104);
    EXPECT_EQ(game->player.y, 540);
    EXPECT_TRUE(game->player.grounded);
    EXPECT_EQ(game->endFade, 1.0f);
}

TEST(GamePlayTest, ArrowHeldThroughADoorKeepsTheFigureAtTheNewStart)
{
    auto game = gameOf("<Plane><Screen><Door x=\"500\" y=\"100\"/></Screen></Plane>"
                       "<Plane><Screen>" + blockWithHull(0, 600) +
                       "<Player x=\"40\" y=\"540\"/></Screen></Plane>");
    place(*game, 500, 100);
    press(*game, SDLK_DOWN);
    press(*game, SDLK_LEFT);
    frame(*game);
    ASSERT_EQ(game->currentPlane, 1);
    EXPECT_EQ(game->player.x, 36);
    EXPECT_EQ(game->player.y, 540);
    EXPECT_TRUE(game->player.grounded);
}

TEST(GamePlayTest, WalkingOffTheRightEdgeEntersTheOtherScreenOfTheRowFromTheLeft)
{
    auto game = gameOf("<Plane/>");
    game->currentScreen = 2;
    place(*game, 1022, 300);
    press(*game, SDLK_RIGHT);
    frame(*game);
    EXPECT_EQ(game->currentScreen, 3);
    EXPECT_EQ(game->player.x, -22);
    EXPECT_EQ(game->player.screenChangeCooldown, 29);  // one tick later in the frame
}

TEST(GamePlayTest, FallingOffTheLowerRowEntersTheUpperRowFromAbove)
{
    auto game = gameOf("<Plane/>");
    game->currentScreen = 2;
    place(*game, 500, 760);
    game->player.fallSpeed = 9.0f;
    frame(*game);
    EXPECT_EQ(game->currentScreen, 0);
    EXPECT_EQ(game->player.y, -118);
    EXPECT_EQ(game->player.x, 500);
}

TEST(GamePlayTest, JumpNeedsFeetWithinThreeUnitsOfAnyHullTop)
{
    struct Case {
        int feetBelowTop;
        bool jumps;
    };
    const Case cases[] = {{-4, false}, {-3, true}, {0, true}, {3, true}, {4, false}};
    for (const Case& c : cases) {
        // The hull lies far to the right of the figure: only its top counts.
        auto game = gameOf("<Plane><Screen>" + blockWithHull(600, 400) + "</Screen></Plane>");
        place(*game, 10, static_cast<short>(400 + c.feetBelowTop - 60));
        press(*game, SDLK_UP);
        EXPECT_EQ(game->player.jumping, c.jumps) << c.feetBelowTop;
    }
}

TEST(GamePlayTest, SidewaysMoveIsBlockedByASolidHullInTheWay)
{
    struct Case {
        int hullLeft;
        short expectedX;
    };
    const Case cases[] = {{125, 100}, {126, 104}};
    for (const Case& c : cases) {
        auto game = gameOf("<Plane><Screen>" + blockWithHull(c.hullLeft, 250) + "</Screen></Plane>");
        place(*game, 100, 300);
        press(*game, SDLK_RIGHT);
        frame(*game);
        EXPECT_EQ(game->player.x, c.expectedX) << c.hullLeft;
    }
}

TEST(GamePlayTest, BothArrowsHeldKeepXButTakeLastFramesHeight)
{
    auto game = gameOf("<Plane/>");
    place(*game, 300, 200);
    game->player.y = 150;
    press(*game, SDLK_LEFT);
    press(*game, SDLK_RIGHT);
    frame(*game);
    EXPECT_EQ(game->player.x, 300);
    EXPECT_EQ(game->player.y, 201);  // back to 200, then one frame of falling
}

TEST(GamePlayTest, FallingFigureLandsOnTheTopEdgeAndStandsThere)
{
    auto game = gameOf("<Plane><Screen>" + blockWithHull(200, 400) + "</Screen></Plane>");
    place(*game, 300, 330);
    game->player.fallSpeed = 9.0f;
    frame(*game);  // feet 390 -> 399
    frame(*game);  // feet 399 -> 408: gravity comes after the landing test
    EXPECT_FALSE(game->player.grounded);
    EXPECT_EQ(game->player.y, 348);
    frame(*game);  // the feet are past the top, the head was above it
    EXPECT_TRUE(game->player.grounded);
    EXPECT_EQ(game->player.y, 340);
    EXPECT_EQ(game->player.fallSpeed, 4.0f);
    frame(*game);
    EXPECT_TRUE(game->player.grounded);
    EXPECT_EQ(game->player.y, 340);
}

TEST(GamePlayTest, ShrunkenBlockNeitherHoldsNorBlocks)
{
    auto game = gameOf("<Plane><Screen>" + blockWithHull(200, 400, "s0=\"0\"") + "</Screen></Plane>");
    place(*game, 300, 339);
    press(*game, SDLK_RIGHT);
    for (int i = 0; i < 3; ++i)
        frame(*game);
    EXPECT_FALSE(game->player.grounded);
    EXPECT_GT(game->player.y, 339);
    EXPECT_EQ(game->player.x, 312);
}

TEST(GamePlayTest, WalkingThroughTheDoorEntersTheNextPlaneAtItsStart)
{
    const std::string planes =
        "<Plane><Screen><Door x=\"500\" y=\"300\"/></Screen></Plane>"
        "<Plane><Screen><Player x=\"40\" y=\"50\"/></Screen></Plane>";
    struct Case {
        short x;
        bool enters;
    };
    // The figure's inner box must lie within the door grown by 16.
    const Case cases[] = {{476, true}, {475, false}, {560, true}, {561, false}};
    for (const Case& c : cases) {
        auto game = gameOf(planes);
        place(*game, c.x, 300);
        game->player.jump();
        press(*game, SDLK_DOWN);
        frame(*game);
        EXPECT_EQ(game->currentPlane, c.enters ? 1 : 0) << c.x;
        if (c.enters) {
            EXPECT_EQ(game->currentScreen, 0);
            EXPECT_EQ(game->player.x, 40);
            EXPECT_FALSE(game->player.jumping);
        }
    }
}

TEST(GamePlayTest, LastDoorStartsTheEndAndHoldingDownKeepsItThere)
{
    auto game = gameOf("<Plane><Screen><Door x=\"500\" y=\"300\"/></Screen></Plane>");
    place(*game, 500, 300);
    frame(*game);
    EXPECT_EQ(game->endFade, 1.0f);
    // Set by the update, then lowered once by the painting of the frame.
    const float begun = 0.999f - 0.005f;
    press(*game, SDLK_DOWN);
    frame(*game);
    EXPECT_EQ(game->endFade, begun);
    EXPECT_EQ(game->currentPlane, 0);
    game->endFade = 0.5f;
    game->player.y = 300;
    frame(*game);
    EXPECT_EQ(game->endFade, begun);
}

TEST(GamePlayTest, HoldingDownOnAStartInFrontOfTheNextDoorMovesOnAgain)
{
    const std::string door = "<Door x=\"100\" y=\"100\"/><Player x=\"100\" y=\"100\"/>";
    auto game = gameOf("<Plane><Screen>" + door + "</Screen></Plane><Plane><Screen>" + door +
                       "</Screen></Plane><Plane><Screen/></Plane>");
    place(*game, 100, 100);
    press(*game, SDLK_DOWN);
    frame(*game);
    EXPECT_EQ(game->currentPlane, 1);
    frame(*game);
    EXPECT_EQ(game->currentPlane, 2);
}

TEST(GamePlayTest, NoiseFollowsItsSeed)
{
    auto game = gameOf("<Plane/>");
    game->randomSeed = 0;
    EXPECT_DOUBLE_EQ(game->noise(), -0.2263730512931943);
    EXPECT_EQ(game->randomSeed, 1);
    game->randomSeed = 41;
    EXPECT_DOUBLE_EQ(game->noise(), -0.47373589035123587);
    game->randomSeed = 2147483647;  // wraps instead of overflowing
    const double value = game->noise();
    EXPECT_EQ(game->randomSeed, -2147483647 - 1);
    EXPECT_GT(value, -1.0);
    EXPECT_LE(value, 1.0);
}

TEST(GamePlayTest, RandomModeRefillsTheFirstScreenOnEveryExit)
{
    const std::string planes = "<Plane><Screen><Block x=\"1\" y=\"2\" type=\"0\"/>"
                               "<Door x=\"7\" y=\"8\"/></Screen></Plane><Plane/>";
    auto game = gameOf(planes);
    auto twin = gameOf(planes);
    game->randomSeed = twin->randomSeed = 1234;
    game->useRandomLevels();
    twin->useRandomLevels();
    EXPECT_FALSE(game->showTitle);
    EXPECT_EQ(game->currentScreen, 0);
    for (int exit = 0; exit < 20; ++exit) {
        const Level& screen = *game->planes[0].levels[0];
        ASSERT_GE(screen.blocks.size(), 4u);
        ASSERT_LE(screen.blocks.size(), 8u);
        ASSERT_EQ(screen.hulls.size(), screen.blocks.size());
        EXPECT_EQ(screen.door->left, 7);
        for (std::size_t i = 0; i < screen.blocks.size(); ++i) {
            const Block& block = screen.blocks[i];
            const Block& same = twin->planes[0].levels[0]->blocks.at(i);
            EXPECT_EQ(block.x, same.x);
            EXPECT_EQ(block.scaleKeys[15], same.scaleKeys[15]);
            EXPECT_GE(block.x, 0);
            EXPECT_LT(block.x, 768);
            EXPECT_LT(block.y, 512);
            ASSERT_TRUE(BlockTypes::isKnown(block.type));
            EXPECT_EQ(block.width, BlockTypes::blockW16[block.type]);
            EXPECT_EQ(block.scale, block.scaleKeys[0]);
            EXPECT_LE(block.scaleKeys[0], 1.5f);
        }
        game->newLevel(GamePlay::Down);
        twin->newLevel(GamePlay::Down);
    }
    EXPECT_EQ(game->currentScreen, 0);
}

TEST(GamePlayTest, RandomModeOnALaterPlaneRefillsTheFirstPlaneAndStaysOnTheSameScreen)
{
    auto game = gameOf("<Plane><Screen><Door x=\"0\" y=\"0\"/></Screen></Plane>"
                       "<Plane><Screen><Player x=\"500\" y=\"300\"/></Screen></Plane>");
    game->useRandomLevels();
    place(*game, 0, 0);
    press(*game, SDLK_DOWN);
    frame(*game);
    ASSERT_EQ(game->currentPlane, 1);
    game->currentScreen = 3;
    game->player.screenChangeCooldown = 0;
    game->player.setPosition(1025, 300);
    EXPECT_EQ(game->player.x, -22);
    EXPECT_EQ(game->currentScreen, 3);
    EXPECT_EQ(game->currentPlane, 1);
    EXPECT_GE(game->planes[0].levels[0]->blocks.size(), 4u);
    EXPECT_TRUE(game->planes[1].levels[3]->blocks.empty());
}
