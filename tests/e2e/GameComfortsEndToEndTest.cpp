#include "GameProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace e2e;

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// User and system CPU time the process has used so far, in seconds.
double cpuSeconds(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The command name in parentheses may hold blanks; fields count from after it.
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int number = 3; number <= 15 && fields >> field; ++number)
        if (number == 14 || number == 15)
            ticks += std::stol(field);
    return double(ticks) / double(sysconf(_SC_CLK_TCK));
}

// The share of one core the process uses over the next seconds.
double coreShare(pid_t pid, int seconds)
{
    const double before = cpuSeconds(pid);
    sleepMs(seconds * 1000);
    return (cpuSeconds(pid) - before) / seconds;
}

class GameComfortsEndToEndTest : public ::testing::Test {
protected:
    TempDir home;
};

} // namespace

// With a JACK server the music plays on through the pause and its share
// counts too; without one the game runs silent.
TEST_F(GameComfortsEndToEndTest, PausedGameSleeps)
{
    const bool music = jackRunning();
    GameProcess game(home.path(), {"--windowed", "-w", "640", "-h", "480", "-aa", "JACK"});
    ASSERT_TRUE(game.startWithWindow());
    waitForGround(game, home.path() + "/playing.png");
    game.focus();
    const double playing = coreShare(game.pid, 3);

    game.key("key", "p");
    sleepMs(1000);
    const double paused = coreShare(game.pid, 3);
    std::cout << "GameComfortsEndToEndTest: one core's share " << (music ? "with" : "without")
              << " music: playing " << playing << ", paused " << paused << std::endl;
    EXPECT_LT(paused, 0.03);
    const Picture veiled = game.screenshot(home.path() + "/paused.png");
    ASSERT_EQ(veiled.width, 640);
    EXPECT_LT(groundShare(veiled), 0.01) << "no veil over the ground";

    game.key("key", "Escape");
    EXPECT_EQ(game.wait(), 0) << game.output();
}

TEST_F(GameComfortsEndToEndTest, F11SwitchesToTheWholeDisplayAndBack)
{
    GameProcess game(home.path(), {"--windowed", "-w", "640", "-h", "480", "--nosound"});
    ASSERT_TRUE(game.startWithWindow());
    const Picture windowed = waitForGround(game, home.path() + "/windowed.png");
    ASSERT_EQ(windowed.width, 640);
    ASSERT_EQ(windowed.height, 480);
    const double groundWindowed = groundShare(windowed);
    ASSERT_GT(groundWindowed, 0.1);

    game.focus();
    game.key("key", "F11");
    sleepMs(2000);
    const Picture full = game.screenshot(home.path() + "/full.png");
    EXPECT_EQ(full.width, 1280);
    EXPECT_EQ(full.height, 1024);
    // The same picture, letterboxed to 1280 x 960: as much ground, give or take.
    EXPECT_NEAR(groundShare(full), groundWindowed * 960.0 / 1024.0, 0.05);
    EXPECT_TRUE(contains(game.output(), "Full screen: on (1280 x 1024)\n")) << game.output();

    game.focus();
    game.key("key", "F11");
    sleepMs(2000);
    const Picture back = game.screenshot(home.path() + "/back.png");
    EXPECT_EQ(back.width, 640);
    EXPECT_EQ(back.height, 480);
    EXPECT_NEAR(groundShare(back), groundWindowed, 0.05);
    EXPECT_TRUE(contains(game.output(), "Full screen: off (640 x 480)\n")) << game.output();

    game.key("key", "Escape");
    EXPECT_EQ(game.wait(), 0) << game.output();
}
