#include "GameProcess.h"

#include "game/GamePlay.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>

using namespace e2e;

// Two starts of the game in one home folder, the first door passed in
// between. Neither start has a word on its command line: the first writes
// the settings file and runs on it (full screen at the display's size, which
// the private server makes 1280 x 1024); the second runs on the file as
// changed by hand, a small window, and leaves it as it was.
TEST(JourneyEndToEndTest, SecondStartContinuesOnThePlaneReachedBeforeWithTheSettingsOfTheFile)
{
    TempDir home;
    const std::string stateFile = home.path() + "/.local/state/PlayScaffold/state";
    const std::string settingsFile = home.path() + "/.config/PlayScaffold/PlayScaffold.conf";
    {
        GameProcess game(home.path(), {});
        ASSERT_TRUE(game.startWithWindow());
        sleepMs(1000);
        game.press("minus minus KP_Subtract Escape");
        game.expectCleanEnd();
        EXPECT_TRUE(contains(game.output(), "Music: 7 of 10\n")) << game.output();
        EXPECT_TRUE(contains(game.output(), "fullscreen = 1\nCommand line:\nLoading from config file.\n"))
            << game.output();
        EXPECT_EQ(readFile(settingsFile), "w 1280\nh 1024\na 0\nf 1\nns 0\nnm 0\naa CoreAudio\nr 0\n");
        EXPECT_EQ(readFile(stateFile), stateText(0, 7));
    }

    // The first door passed, as the game keeps it.
    std::ofstream(stateFile) << stateText(1, 7);
    const int planes = static_cast<int>(GamePlay().planes.size());
    const std::string settings = "w 480\nh 360\na 0\nf 0\nns 1\nnm 0\naa CoreAudio\nr 0\n";
    std::ofstream(settingsFile) << settings;
    // The second plane lies under a grey veil of a share 1 / planes.
    const double veil = double(static_cast<int>(255.0f / static_cast<float>(planes))) / 255.0;
    const auto veiled = [veil](int c) { return static_cast<int>(std::lround(c * (1.0 - veil) + 128 * veil)); };
    const int ground[] = {veiled(192), veiled(255), veiled(192)};
    GameProcess game(home.path(), {});
    ASSERT_TRUE(game.startWithWindow());
    // Screenshots until a tenth of the picture shows the veiled ground (the
    // fade-in from black is over), for up to 40 s.
    double share = 0.0;
    ImageData picture;
    for (int tries = 0; tries < 40 && share < 0.1; ++tries) {
        sleepMs(1000);
        picture = game.screenshot(home.path() + "/second.png");
        const int pixels = picture.width * picture.height;
        int near = 0;
        for (const unsigned char* p = picture.pixels.get(); p < picture.pixels.get() + 4 * pixels; p += 4)
            near += std::abs(p[0] - ground[0]) <= 6 && std::abs(p[1] - ground[1]) <= 6 &&
                    std::abs(p[2] - ground[2]) <= 6;
        share = pixels == 0 ? 0.0 : double(near) / pixels;
    }
    EXPECT_GT(share, 0.1) << "no ground under the second plane's veil in " << home.path() << "/second.png";
    EXPECT_EQ(std::make_pair(picture.width, picture.height), std::make_pair(480, 360));

    // Paused, the loop sleeps rather than drawing: under 3 % of a core over
    // three seconds, within ten tries (a busy machine may take a while to
    // hand the game the key, and a loop that never sleeps never gets there).
    const auto cpuTicks = [&game] {
        return std::stol(runCommand("awk '{print $14 + $15}' /proc/" + std::to_string(game.pid) + "/stat").output);
    };
    game.press("p");
    double pausedShare = 1.0;
    for (int tries = 0; tries < 10 && pausedShare >= 0.03; ++tries) {
        const long before = cpuTicks();
        sleepMs(3000);
        pausedShare = double(cpuTicks() - before) / (3.0 * double(sysconf(_SC_CLK_TCK)));
    }
    EXPECT_LT(pausedShare, 0.03) << "share of a core";

    // An interrupt (Ctrl+C), which SDL turns into a quit event while its
    // video runs, ends the loop as Escape does: the journey is kept.
    game.signal(SIGINT);
    game.expectCleanEnd();
    EXPECT_TRUE(contains(game.output(), "width = 480\nheight = 360\nfullscreen = 0\nCommand line:\n"
                                        "Loading from config file.\nJourney: Continuing on plane 2 of " +
                                            std::to_string(planes) + ".\n"))
        << game.output();
    EXPECT_EQ(readFile(stateFile), stateText(1, 7));
    EXPECT_EQ(readFile(settingsFile), settings);
}
