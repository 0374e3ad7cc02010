#include "GameProcess.h"

#include "../../tools/walkthrough/Walkthrough.h"
#include "GamePlay.h"
#include "Journey.h"
#include "MusicLevel.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

using namespace e2e;

namespace {

struct Colour {
    int r, g, b;
};

// The share of the picture within a few levels of the colour.
double shareOf(const Picture& picture, Colour colour)
{
    long near = 0;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = picture.at(x, y);
            near += std::abs(p[0] - colour.r) <= 6 && std::abs(p[1] - colour.g) <= 6 &&
                    std::abs(p[2] - colour.b) <= 6;
        }
    return picture.width == 0 ? 0.0 : double(near) / (double(picture.width) * picture.height);
}

// Screenshots until a tenth of the picture shows the colour (the fade-in
// from black is over), for up to 40 s; the last share seen.
double waitForColour(const GameProcess& game, const std::string& path, Colour colour)
{
    double share = 0.0;
    for (int tries = 0; tries < 40 && share < 0.1; ++tries) {
        sleepMs(1000);
        share = shareOf(game.screenshot(path), colour);
    }
    return share;
}

std::string stateText(int plane, int music)
{
    return "PlayScaffold state 1\nplane " + std::to_string(plane) + "\nmusic " + std::to_string(music) +
           "\nmuted 0\n";
}

const std::vector<std::string> windowed = {"--windowed", "-w", "480", "-h", "360", "--nosound"};
// Empty, so the file goes to its place in the home folder.
const std::vector<std::pair<std::string, std::string>> noStateHome = {{"XDG_STATE_HOME", ""}};

} // namespace

// Two starts of the game in one home folder, the first door passed in
// between by the real game rules on the same state file.
TEST(JourneyEndToEndTest, SecondStartContinuesOnThePlaneReachedBefore)
{
    TempDir home;
    const std::string stateFile = home.path() + "/.local/state/PlayScaffold/state";
    {
        GameProcess game(home.path(), windowed, noStateHome);
        ASSERT_TRUE(game.startWithWindow());
        sleepMs(1000);
        game.focus();
        game.key("key", "minus minus KP_Subtract");
        game.key("key", "Escape");
        EXPECT_EQ(game.wait(), 0) << game.output();
        EXPECT_NE(game.output().find("Music: 7 of 10\n"), std::string::npos) << game.output();
        EXPECT_EQ(readFile(stateFile), stateText(0, 7));
    }

    int planes = 0;
    {
        ScopedEnv homeHere("HOME", home.path());
        ScopedEnv stateHome("XDG_STATE_HOME", "");
        std::ifstream in(BV_TEST_DATA_DIR "/walkthrough.txt");
        Walkthrough::Script script;
        std::string error;
        ASSERT_TRUE(Walkthrough::parseScript(in, script, error)) << error;
        GamePlay game;
        MusicLevel music;
        Journey journey(game, music);
        journey.resume();
        Walkthrough::NullDrawer drawer;
        std::size_t next = 0;
        for (int frame = 0; frame <= script.lastFrame && game.currentPlane == 0; ++frame) {
            for (; next < script.events.size() && script.events[next].frame == frame; ++next)
                Walkthrough::sendKey(game, script.events[next].key, script.events[next].down);
            game.draw(&drawer);
            journey.afterFrame();
        }
        ASSERT_EQ(game.currentPlane, 1);
        EXPECT_EQ(readFile(stateFile), stateText(1, 7));
        planes = static_cast<int>(game.planes.size());
    }

    // The second plane lies under a grey veil of a share 1 / planes.
    const double veil = double(static_cast<int>(255.0f / static_cast<float>(planes))) / 255.0;
    const auto veiled = [veil](int c) { return static_cast<int>(std::lround(c * (1.0 - veil) + 128 * veil)); };
    const Colour secondGround{veiled(192), veiled(255), veiled(192)};
    GameProcess game(home.path(), windowed, noStateHome);
    ASSERT_TRUE(game.startWithWindow());
    EXPECT_GT(waitForColour(game, home.path() + "/second.png", secondGround), 0.1)
        << "no ground under the second plane's veil in " << home.path() << "/second.png";
    game.focus();
    game.key("key", "Escape");
    EXPECT_EQ(game.wait(), 0) << game.output();
    EXPECT_NE(game.output().find("Journey: Continuing on plane 2 of " + std::to_string(planes) + ".\n"),
              std::string::npos)
        << game.output();
    EXPECT_EQ(readFile(stateFile), stateText(1, 7));
}
