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
    return "<Block type=\"0\" x=\"" + std::to_string(left - 12) + "\" y=\"" + std::to_string(top - 12) +
           "\" " + keys + "/>";
}

std::string screenOf(const std::string& content) { return "<Plane><Screen>" + content + "</Screen></Plane>"; }

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
    const struct {
        int from;
        GamePlay::LevelDir dir;
        int to;
    } cases[] = {
        {0, GamePlay::Down, 2},  {1, GamePlay::Down, 3},  {2, GamePlay::Down, 0},
        {3, GamePlay::Down, 1},  {0, GamePlay::Left, 1},  {0, GamePlay::Right, 1},
        {1, GamePlay::Left, 0},  {1, GamePlay::Right, 0}, {2, GamePlay::Right, 3},
        {3, GamePlay::Left, 2},
    };
    for (const auto& c : cases) {
        auto game = gameOf("<Plane/>");
        game->currentScreen = c.from;
        game->planes[0].levels[c.to]->animPhase = 5.0f;
        game->newLevel(c.dir);
        EXPECT_EQ(game->currentScreen, c.to) << c.from << " " << c.dir;
        EXPECT_EQ(game->currentLevel().animPhase, 0.0f);
        EXPECT_FALSE(game->showTitle);
    }
}

// The figure's last position is its start, at construction and through a
// door: an arrow held in the first frame must not compare against 0, 0.
TEST(GamePlayTest, ArrowHeldInTheFirstFrameOrThroughADoorWalksFromTheStart)
{
    // A door above the start: reaching its height would be a free passage.
    auto game = gameOf(screenOf(blockWithHull(0, 600) + "<Door x=\"200\" y=\"100\"/><Player x=\"100\" y=\"540\"/>"));
    EXPECT_TRUE(game->showTitle);
    press(*game, SDLK_RIGHT);
    press(*game, SDLK_DOWN);
    frame(*game);
    EXPECT_EQ(game->player.x, 104);
    EXPECT_EQ(game->player.y, 540);
    EXPECT_TRUE(game->player.grounded);
    EXPECT_EQ(game->endFade, 1.0f);

    game = gameOf("<Plane><Screen><Door x=\"500\" y=\"100\"/></Screen></Plane>" +
                  screenOf(blockWithHull(0, 600) + "<Player x=\"40\" y=\"540\"/>"));
    place(*game, 500, 100);
    press(*game, SDLK_DOWN);
    press(*game, SDLK_LEFT);
    frame(*game);
    ASSERT_EQ(game->currentPlane, 1);
    EXPECT_EQ(game->player.x, 36);
    EXPECT_EQ(game->player.y, 540);
    EXPECT_TRUE(game->player.grounded);
}

TEST(GamePlayTest, JumpNeedsFeetWithinThreeUnitsOfAnyHullTopAndHullsBlockSideways)
{
    for (const auto& [feetBelowTop, jumps] : {std::pair{-4, false}, {-3, true}, {0, true}, {3, true}, {4, false}}) {
        // The hull lies far to the right of the figure: only its top counts.
        auto game = gameOf(screenOf(blockWithHull(600, 400)));
        place(*game, 10, static_cast<short>(400 + feetBelowTop - 60));
        press(*game, SDLK_UP);
        EXPECT_EQ(game->player.jumping, jumps) << feetBelowTop;
    }
    for (const auto& [hullLeft, expectedX] : {std::pair{125, 100}, {126, 104}}) {
        auto game = gameOf(screenOf(blockWithHull(hullLeft, 250)));
        place(*game, 100, 300);
        press(*game, SDLK_RIGHT);
        frame(*game);
        EXPECT_EQ(game->player.x, expectedX) << hullLeft;
    }
    auto game = gameOf("<Plane/>");
    place(*game, 300, 200);
    game->player.y = 150;
    press(*game, SDLK_LEFT);
    press(*game, SDLK_RIGHT);
    frame(*game);
    EXPECT_EQ(game->player.x, 300) << "both arrows held";
    EXPECT_EQ(game->player.y, 201);  // back to last frame's 200, then one frame of falling
}

TEST(GamePlayTest, FallingFigureLandsOnTheTopEdgeButAShrunkenBlockNeitherHoldsNorBlocks)
{
    auto game = gameOf(screenOf(blockWithHull(200, 400)));
    place(*game, 300, 330);
    game->player.fallSpeed = 9.0f;
    frame(*game);  // feet 390 -> 399
    frame(*game);  // feet 399 -> 408: gravity comes after the landing test
    EXPECT_FALSE(game->player.grounded);
    EXPECT_EQ(game->player.y, 348);
    for (int i = 0; i < 2; ++i) {  // the feet are past the top, the head was above it
        frame(*game);
        EXPECT_TRUE(game->player.grounded);
        EXPECT_EQ(game->player.y, 340);
        EXPECT_EQ(game->player.fallSpeed, 4.0f);
    }

    game = gameOf(screenOf(blockWithHull(200, 400, "s0=\"0\"")));
    place(*game, 300, 339);
    press(*game, SDLK_RIGHT);
    for (int i = 0; i < 3; ++i)
        frame(*game);
    EXPECT_FALSE(game->player.grounded);
    EXPECT_GT(game->player.y, 339);
    EXPECT_EQ(game->player.x, 312);
}

TEST(GamePlayTest, DoorLeadsToTheNextPlanesStartAndTheLastDoorStartsTheEnd)
{
    // The figure's inner box must lie within the door grown by 16.
    for (const auto& [x, enters] : {std::pair<short, bool>{476, true}, {475, false}, {560, true}, {561, false}}) {
        auto game = gameOf("<Plane><Screen><Door x=\"500\" y=\"300\"/></Screen></Plane>" +
                           screenOf("<Player x=\"40\" y=\"50\"/>"));
        place(*game, x, 300);
        game->player.jump();
        press(*game, SDLK_DOWN);
        frame(*game);
        EXPECT_EQ(game->currentPlane, enters ? 1 : 0) << x;
        EXPECT_EQ(game->player.x == 40 && !game->player.jumping, enters) << x;
    }
    auto game = gameOf(screenOf("<Door x=\"500\" y=\"300\"/>"));
    place(*game, 500, 300);
    frame(*game);
    EXPECT_EQ(game->endFade, 1.0f);
    press(*game, SDLK_DOWN);
    for (int i = 0; i < 2; ++i) {  // held down, the end stays where it began
        frame(*game);
        EXPECT_EQ(game->endFade, 0.999f - 0.005f) << "set by the update, lowered once by the painting";
        game->endFade = 0.5f;
        game->player.y = 300;
    }
    // A start in front of the next door moves on again while down is held.
    const std::string door = "<Door x=\"100\" y=\"100\"/><Player x=\"100\" y=\"100\"/>";
    game = gameOf(screenOf(door) + screenOf(door) + "<Plane/>");
    place(*game, 100, 100);
    press(*game, SDLK_DOWN);
    for (int plane = 1; plane <= 2; ++plane) {
        frame(*game);
        EXPECT_EQ(game->currentPlane, plane);
    }
}

TEST(GamePlayTest, NoiseFollowsItsSeedAndWraps)
{
    auto game = gameOf("<Plane/>");
    game->randomSeed = 0;
    EXPECT_DOUBLE_EQ(game->noise(), -0.2263730512931943);
    EXPECT_EQ(game->randomSeed, 1);
    game->randomSeed = 2147483647;  // wraps instead of overflowing
    const double value = game->noise();
    EXPECT_EQ(game->randomSeed, -2147483647 - 1);
    EXPECT_GT(value, -1.0);
    EXPECT_LE(value, 1.0);
}

TEST(GamePlayTest, RandomModeRefillsTheFirstPlanesFirstScreenOnEveryExitFromTheSeed)
{
    const std::string planes = "<Plane><Screen><Block x=\"1\" y=\"2\" type=\"0\"/><Door x=\"0\" y=\"0\"/>"
                               "</Screen></Plane>" + screenOf("<Player x=\"500\" y=\"300\"/>");
    auto game = gameOf(planes), twin = gameOf(planes);
    game->randomSeed = twin->randomSeed = 1234;
    game->useRandomLevels();
    twin->useRandomLevels();
    EXPECT_FALSE(game->showTitle);
    for (int exit = 0; exit < 20; ++exit) {
        const Level& screen = *game->planes[0].levels[0];
        ASSERT_TRUE(screen.blocks.size() >= 4 && screen.blocks.size() <= 8 && screen.hulls.size() == screen.blocks.size());
        EXPECT_EQ(screen.door->left, 0);
        for (std::size_t i = 0; i < screen.blocks.size(); ++i) {
            const Block& block = screen.blocks[i];
            EXPECT_EQ(block.x, twin->planes[0].levels[0]->blocks.at(i).x);
            EXPECT_TRUE(block.x >= 0 && block.x < 768 && block.y < 512 && BlockTypes::isKnown(block.type));
            EXPECT_TRUE(block.width == BlockTypes::blockW16[block.type] && block.scale == block.scaleKeys[0] &&
                        block.scaleKeys[0] <= 1.5f);
        }
        game->newLevel(GamePlay::Down);
        twin->newLevel(GamePlay::Down);
    }
    EXPECT_EQ(game->currentScreen, 0);
    place(*game, 0, 0);
    press(*game, SDLK_DOWN);
    frame(*game);
    ASSERT_EQ(game->currentPlane, 1);
    game->currentScreen = 3;
    game->player.screenChangeCooldown = 0;
    game->player.setPosition(1025, 300);
    EXPECT_EQ(game->currentScreen, 3) << "a later plane keeps its screen";
    EXPECT_TRUE(game->planes[1].levels[3]->blocks.empty());
}
