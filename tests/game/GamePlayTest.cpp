#include <gtest/gtest.h>

#include <climits>
#include <set>
#include <tuple>
#include <vector>

#include "FatalError.h"
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

std::tuple<int, int, bool> where(const GamePlay& game) { return {game.player.x, game.player.y, game.player.grounded}; }

}  // namespace

// The figure's last position is its start, at construction and through a
// door: an arrow held in the first frame must not compare against 0, 0. The
// door opens to the figure's inner box within the door grown by 16.
TEST(GamePlayTest, ArrowHeldInTheFirstFrameOrThroughADoorWalksFromTheStart)
{
    // A door above the start: reaching its height would be a free passage.
    auto game = gameOf(screenOf(blockWithHull(0, 600) + "<Door x=\"200\" y=\"100\"/><Player x=\"100\" y=\"540\"/>"));
    press(*game, SDLK_RIGHT);
    press(*game, SDLK_DOWN);
    playFrame(*game);
    EXPECT_EQ(where(*game), std::make_tuple(104, 540, true));

    for (const auto& [x, enters] : {std::pair<short, bool>{476, true}, {475, false}, {560, true}, {561, false}}) {
        game = gameOf("<Plane><Screen><Door x=\"500\" y=\"100\"/></Screen></Plane>" +
                      screenOf(blockWithHull(0, 600) + "<Player x=\"40\" y=\"540\"/>"));
        place(*game, x, 100);
        game->player.jump();
        press(*game, SDLK_DOWN);
        press(*game, SDLK_LEFT);
        playFrame(*game);
        EXPECT_EQ(game->currentPlane, enters ? 1 : 0) << x;
        EXPECT_TRUE(!enters || (where(*game) == std::make_tuple(36, 540, true) && !game->player.jumping)) << x;
    }
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
    // A step into a hull is not taken, and neither is one with both arrows held.
    const struct {
        int hullLeft;
        std::vector<SDLKey> keys;
        short x;
    } walks[] = {{125, {SDLK_RIGHT}, 100}, {126, {SDLK_RIGHT}, 104}, {600, {SDLK_LEFT, SDLK_RIGHT}, 100}};
    for (const auto& walk : walks) {
        auto game = gameOf(screenOf(blockWithHull(walk.hullLeft, 250)));
        place(*game, 100, 300);
        for (SDLKey key : walk.keys)
            press(*game, key);
        playFrame(*game);
        EXPECT_EQ(game->player.x, walk.x) << walk.hullLeft;
    }
}

TEST(GamePlayTest, FallingFigureLandsOnTheTopEdgeButAShrunkenBlockNeitherHoldsNorBlocks)
{
    auto game = gameOf(screenOf(blockWithHull(200, 400)));
    place(*game, 300, 330);
    game->player.fallSpeed = 9.0f;
    playFrame(*game);  // feet 390 -> 399
    playFrame(*game);  // feet 399 -> 408: gravity comes after the landing test
    EXPECT_EQ(where(*game), std::make_tuple(300, 348, false));
    for (int i = 0; i < 2; ++i) {  // the feet are past the top, the head was above it
        playFrame(*game);
        EXPECT_EQ(where(*game), std::make_tuple(300, 340, true));
        EXPECT_EQ(game->player.fallSpeed, 4.0f);
    }

    game = gameOf(screenOf(blockWithHull(200, 400, "s0=\"0\"")));
    place(*game, 300, 339);
    press(*game, SDLK_RIGHT);
    for (int i = 0; i < 3; ++i)
        playFrame(*game);
    EXPECT_EQ(game->player.x, 312);
    EXPECT_TRUE(!game->player.grounded && game->player.y > 339) << game->player.y;
}

// A start in front of the next door moves on again while down is held; the
// last door begins the end.
TEST(GamePlayTest, DownHeldGoesOnThroughTheNextDoorAndTheLastDoorBeginsTheEnd)
{
    const std::string door = "<Door x=\"100\" y=\"100\"/><Player x=\"100\" y=\"100\"/>";
    auto game = gameOf(screenOf(door) + screenOf(door));
    press(*game, SDLK_DOWN);
    playFrame(*game);
    EXPECT_EQ(game->currentPlane, 1);
    EXPECT_EQ(game->endFade, 1.0f);
    playFrame(*game);
    EXPECT_LT(game->endFade, 1.0f);
}

// Random mode draws 4 to 8 blocks of known types for the first plane's first
// screen at every exit, the same from the same seed, and keeps its door; the
// noise wraps instead of overflowing.
TEST(GamePlayTest, RandomModeRefillsTheFirstPlanesFirstScreenOnEveryExitFromTheSeed)
{
    const std::string plane = screenOf("<Block x=\"1\" y=\"2\" type=\"0\"/><Door x=\"0\" y=\"0\"/>");
    auto game = gameOf(plane), twin = gameOf(plane);
    game->randomSeed = twin->randomSeed = 1234;
    game->useRandomLevels();
    twin->useRandomLevels();
    std::set<std::size_t> counts;
    for (int exit = 0; exit < 20; ++exit) {
        const Level& screen = *game->planes[0].levels[0];
        counts.insert(screen.blocks.size());
        EXPECT_EQ(screen.door->left, 0);
        for (std::size_t i = 0; i < screen.blocks.size(); ++i) {
            EXPECT_EQ(screen.blocks[i].x, twin->planes[0].levels[0]->blocks.at(i).x);
            EXPECT_TRUE(BlockTypes::isKnown(screen.blocks[i].type));
        }
        game->newLevel(exit % 2 ? GamePlay::Down : GamePlay::Left);
        twin->newLevel(exit % 2 ? GamePlay::Down : GamePlay::Left);
    }
    EXPECT_EQ(game->currentScreen, 0);
    EXPECT_TRUE(counts.size() > 1 && *counts.begin() >= 4 && *counts.rbegin() <= 8);
    game->randomSeed = INT_MAX;
    const double value = game->noise();
    EXPECT_EQ(game->randomSeed, INT_MIN);
    EXPECT_TRUE(value > -1.0 && value <= 1.0);
}

// Screens handed over play four to a plane, the figure on the first one's
// start; a set that makes no whole plane is refused.
TEST(GamePlayTest, ScreensGivenPlayFourToAPlaneAndAnIncompleteSetIsRefused)
{
    for (std::size_t count : {0u, 3u, 4u, 8u, 9u}) {
        std::vector<std::unique_ptr<Level>> screens;
        for (std::size_t i = 0; i < count; ++i) {
            screens.push_back(std::make_unique<Level>());
            screens.back()->setPlayerPos(static_cast<short>(10 + i), 20);
        }
        if (count % Plane::screenCount != 0 || count == 0) {
            EXPECT_THROW(GamePlay{std::move(screens)}, FatalError) << count;
            continue;
        }
        const Level* first = screens[0].get();
        const Level* last = screens.back().get();
        GamePlay game(std::move(screens));
        EXPECT_EQ(game.planes.size(), count / Plane::screenCount);
        EXPECT_EQ(game.planes.back().levels[Plane::screenCount - 1], last);
        EXPECT_EQ(&game.currentLevel(), first);
        EXPECT_EQ(std::make_pair(game.player.x, game.player.y), std::make_pair(short(10), short(20)));
    }
}
