#include "GameProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace e2e;

namespace {

bool contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The mean column of the figure's dark pixels within the rows it stands in
// (its green channel is far below anything the ground, the white blocks or
// the vignette give); -1 when none is there.
double figureColumn(const Picture& picture, int top, int bottom)
{
    long sum = 0, count = 0;
    for (int y = top; y < bottom && y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.at(x, y)[1] < 70) {
                sum += x;
                ++count;
            }
    return count < 20 ? -1.0 : double(sum) / count;
}

// The game ended by itself with status 0 (the loop ended and the destructor
// ran, rather than death by a signal) and took its window along.
void expectCleanEnd(GameProcess& game)
{
    EXPECT_EQ(game.wait(), 0) << game.output();
    EXPECT_NE(game.x("xdotool search --name '^Brick Voyager$'").status, 0);
    EXPECT_FALSE(contains(game.output(), "Error")) << game.output();
}

} // namespace

// A word on the command line would keep the file out of play, so the first
// start runs on the settings it has just written: full screen at the
// display's size, which the private server makes 1280 x 1024.
TEST(GameEndToEndTest, FirstStartWritesTheSettingsFileAndEchoesItAndEscapeEndsTheGame)
{
    TempDir home;
    GameProcess game(home.path(), {});
    ASSERT_TRUE(game.startWithWindow());
    sleepMs(500);
    game.focus();
    game.key("key", "Escape");
    expectCleanEnd(game);
    EXPECT_EQ(readFile(home.path() + "/.config/PlayScaffold/PlayScaffold.conf"),
              "w 1280\nh 1024\na 0\nf 1\nns 0\nnm 0\naa CoreAudio\nr 0\n");
    EXPECT_TRUE(contains(game.output(), "Created directory " + home.path() + "/.config/PlayScaffold\n"
                                        "width = 1280\nheight = 1024\nfullscreen = 1\n"
                                        "Command line:\nLoading from config file.\n"))
        << game.output();
}

// SDL turns an interrupt (Ctrl+C) or a terminate signal into a quit event
// while its video runs; the game adds no handler of its own.
TEST(GameEndToEndTest, WindowFadesInToTheGroundTheRightArrowWalksAndAnInterruptEndsTheGame)
{
    TempDir home;
    GameProcess game(home.path(), {"--windowed", "-w", "800", "-h", "600", "--nosound"});
    ASSERT_TRUE(game.startWithWindow());
    EXPECT_TRUE(contains(game.x("xdotool getwindowgeometry " + game.window).output, "Geometry: 800x600"));
    const Picture early = game.screenshot(home.path() + "/early.png");
    ASSERT_EQ(early.width, 800);
    // 200 frames of 30 ms fade the picture in from black; a busy machine
    // draws fewer frames a second, so the test waits for the end of it.
    Picture faded;
    for (int tries = 0; tries < 80; ++tries) {
        sleepMs(500);
        faded = game.screenshot(home.path() + "/faded.png");
        if (faded.width == 800 && isGround(faded.at(400, 240)))
            break;
    }
    ASSERT_EQ(faded.width, 800);
    ASSERT_TRUE(isGround(faded.at(400, 240))) << "no ground in " << home.path() << "/faded.png";
    EXPECT_LT(early.at(400, 240)[1], faded.at(400, 240)[1]) << "no fade-in";

    // The figure stands on the first screen's long block, its feet at 512 of
    // 768 logical units: rows 353 to 400 of the 600.
    const double startColumn = figureColumn(faded, 340, 405);
    ASSERT_GE(startColumn, 0.0) << "no figure in " << home.path() << "/faded.png";
    game.focus();
    game.key("keydown", "Right");
    // About 33 frames of 4 units, 0.78 pixels each, in a second; the block
    // ahead is far. A busy machine draws fewer frames, so it may take longer.
    double walked = 0.0;
    for (int tries = 0; tries < 20 && walked <= 30.0; ++tries) {
        sleepMs(500);
        walked = figureColumn(game.screenshot(home.path() + "/walking.png"), 340, 405) - startColumn;
    }
    game.key("keyup", "Right");
    EXPECT_GT(walked, 30.0) << home.path() << "/walking.png";
    game.signal(SIGINT);
    expectCleanEnd(game);
}

// SDL starts before the help is printed, so the help needs a display; a
// display that refused the connection gets one more try.
TEST(GameEndToEndTest, HelpEndsWithStatusZeroAndFailuresToStartWithStatusOne)
{
    TempDir home;
    CommandResult help;
    for (int attempt = 0; attempt < 2; ++attempt) {
        PrivateDisplay display;
        help = runCommand("env -u XDG_CONFIG_HOME HOME='" + home.path() + "' DISPLAY=" + display.name +
                          " SDL_VIDEODRIVER=x11 '" BV_GAME_PATH "' -w 800 --help 2>&1");
        if (!contains(help.output, "Could not initialise SDL"))
            break;
    }
    EXPECT_EQ(help.status, 0) << help.output;
    EXPECT_TRUE(contains(help.output, "Command line:\n-w\n800\n--help\n\nBrick Voyager\n\nUsage:\n")) << help.output;
    EXPECT_FALSE(contains(help.output, "OpenGLDrawer")) << "a window was opened: " << help.output;

    const CommandResult noDriver = runCommand("env -u XDG_CONFIG_HOME HOME='" + home.path() +
                                              "' SDL_VIDEODRIVER=no-such-driver '" BV_GAME_PATH "' --windowed 2>&1");
    EXPECT_EQ(noDriver.status, 1) << noDriver.output;
    EXPECT_TRUE(contains(noDriver.output, "Could not initialise SDL: ")) << noDriver.output;

    // A levels file with no plane, beside a copy of the game.
    TempDir bundle;
    std::filesystem::copy_file(BV_GAME_PATH, bundle.path() + "/BrickVoyager");
    std::filesystem::create_directories(bundle.path() + "/Contents/Resources/sounds");
    bundle.write("Contents/Resources/levels.xml", "<?xml version=\"1.0\" ?>\n<BrickVoyager>\n</BrickVoyager>\n");
    const CommandResult noPlane = runCommand("env -u XDG_CONFIG_HOME HOME='" + home.path() + "' '" + bundle.path() +
                                             "/BrickVoyager' --windowed 2>&1");
    EXPECT_EQ(noPlane.status, 1) << noPlane.output;
    EXPECT_TRUE(contains(noPlane.output, "LevelLoader: ")) << noPlane.output;
    EXPECT_FALSE(contains(noPlane.output, "Command line:")) << "got past the levels: " << noPlane.output;
}
