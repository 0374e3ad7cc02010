#include "GameProcess.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

using namespace e2e;
namespace fs = std::filesystem;

namespace {

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The mean column of the figure's dark pixels within the rows it stands in
// (its green channel is far below anything the ground, the white blocks or
// the vignette give); -1 when none is there.
double figureColumn(const Picture& picture, int top, int bottom)
{
    long sum = 0;
    long count = 0;
    for (int y = top; y < bottom && y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            if (picture.at(x, y)[1] < 70) {
                sum += x;
                ++count;
            }
    return count < 20 ? -1.0 : double(sum) / count;
}

// A fresh home for each test: the game writes its settings file there.
class GameEndToEndTest : public ::testing::Test {
protected:
    std::string settingsFile() const { return home.path() + "/.config/PlayScaffold/PlayScaffold.conf"; }
    TempDir home;
};

} // namespace

TEST_F(GameEndToEndTest, FirstStartWritesTheSettingsFileAndEchoesIt)
{
    // A word on the command line would keep the file out of play, so the
    // first start runs on the settings it has just written: full screen at
    // the display's size, which the private server makes 1280 x 1024.
    GameProcess game(home.path(), {});
    ASSERT_TRUE(game.startWithWindow());
    sleepMs(500);
    game.focus();
    game.key("key", "Escape");
    EXPECT_EQ(game.wait(), 0) << game.output();

    EXPECT_EQ(readFile(settingsFile()), "w 1280\nh 1024\na 0\nf 1\nns 0\nnm 0\naa CoreAudio\nr 0\n");
    const std::string output = game.output();
    const std::string echo = "Created directory " + home.path() + "/.config/PlayScaffold\n"
                             "width = 1280\nheight = 1024\nfullscreen = 1\n"
                             "Command line:\nLoading from config file.\n";
    EXPECT_TRUE(contains(output, echo)) << output;
}

TEST_F(GameEndToEndTest, WindowShowsThePaleGreenGroundAfterTheFadeIn)
{
    GameProcess game(home.path(), {"--windowed", "-w", "800", "-h", "600", "--nosound"});
    ASSERT_TRUE(game.startWithWindow());
    const std::string geometry = game.x("xdotool getwindowgeometry " + game.window).output;
    EXPECT_TRUE(contains(geometry, "Geometry: 800x600")) << geometry;

    const Picture early = game.screenshot(home.path() + "/early.png");
    ASSERT_EQ(early.width, 800);
    ASSERT_EQ(early.height, 600);
    // 200 frames of 30 ms fade the picture in from black; a busy machine
    // draws fewer frames a second, so the test waits for the end of it.
    const Picture picture = waitForGround(game, home.path() + "/ground.png");
    ASSERT_EQ(picture.width, 800);
    const unsigned char* middle = picture.at(400, 240);
    EXPECT_TRUE(isGround(middle)) << "middle pixel (" << int(middle[0]) << ", " << int(middle[1])
                                  << ", " << int(middle[2]) << ")";
    EXPECT_LT(early.at(400, 240)[1], middle[1]) << "no fade-in";
    EXPECT_GT(groundShare(picture), 0.1);
    game.focus();
    game.key("key", "Escape");
    EXPECT_EQ(game.wait(), 0) << game.output();
}

TEST_F(GameEndToEndTest, HoldingTheRightArrowWalksTheFigureRight)
{
    GameProcess game(home.path(), {"--windowed", "-w", "800", "-h", "600", "--nosound"});
    ASSERT_TRUE(game.startWithWindow());
    waitForGround(game, home.path() + "/faded.png");
    // The figure stands on the first screen's long block, its feet at 512 of
    // 768 logical units: rows 353 to 400 of the 600.
    const int top = 340;
    const int bottom = 405;
    const Picture before = game.screenshot(home.path() + "/before.png");
    ASSERT_GT(groundShare(before), 0.1) << "the ground is not showing yet";
    const double startColumn = figureColumn(before, top, bottom);
    ASSERT_GE(startColumn, 0.0) << "no figure in " << home.path() << "/before.png";

    game.focus();
    game.key("keydown", "Right");
    sleepMs(1000);
    const Picture walking = game.screenshot(home.path() + "/walking.png");
    game.key("keyup", "Right");
    const double walkedColumn = figureColumn(walking, top, bottom);
    // About 33 frames of 4 units, 0.78 pixels each; the block ahead is far.
    EXPECT_GT(walkedColumn - startColumn, 30.0) << "from " << startColumn << " to " << walkedColumn;

    game.key("key", "Escape");
    EXPECT_EQ(game.wait(), 0) << game.output();
}

TEST_F(GameEndToEndTest, EscapeAndTerminateBothEndTheGameInOrder)
{
    for (const bool terminate : {false, true}) {
        SCOPED_TRACE(terminate ? "SIGTERM" : "Escape");
        TempDir ownHome;
        GameProcess game(ownHome.path(), {"--windowed", "-w", "640", "-h", "480", "--nosound"});
        ASSERT_TRUE(game.startWithWindow());
        sleepMs(1000);
        if (terminate) {
            game.signal(SIGTERM);
        } else {
            game.focus();
            game.key("key", "Escape");
        }
        // Exit status 0 (not death by the signal) means the loop ended and the
        // destructor ran; the window is gone with it.
        EXPECT_EQ(game.wait(), 0) << game.output();
        EXPECT_NE(game.x("xdotool search --name '^Brick Voyager$'").status, 0);
        EXPECT_FALSE(contains(game.output(), "Error")) << game.output();
    }
}

TEST_F(GameEndToEndTest, HelpPrintsTheOptionsAndOpensNoWindow)
{
    // SDL starts before the help is printed; a display that refused the
    // connection gets one more try.
    std::unique_ptr<GameProcess> game;
    std::vector<std::unique_ptr<PrivateDisplay>> displays;
    std::vector<std::unique_ptr<TempDir>> homes;
    for (int attempt = 0; attempt < 2; ++attempt) {
        displays.push_back(std::make_unique<PrivateDisplay>());
        ASSERT_FALSE(displays.back()->name.empty());
        homes.push_back(std::make_unique<TempDir>());
        game = std::make_unique<GameProcess>(homes.back()->path(),
                                             std::vector<std::string>{"-w", "800", "--help"});
        game->start(displays.back()->name);
        game->wait();
        if (!contains(game->output(), "Could not initialise SDL"))
            break;
    }
    EXPECT_EQ(game->wait(), 0);
    const std::string output = game->output();
    EXPECT_TRUE(contains(output, "Command line:\n-w\n800\n--help\n\nBrick Voyager\n\nUsage:\n"
                                 "BrickVoyager -w [width] -h [height] -a [val] -win -ns -nm -aa -r\n"))
        << output;
    EXPECT_TRUE(contains(output, "--help:\t\t\t\tDisplay this help.\n\n\n")) << output;
    EXPECT_FALSE(contains(output, "OpenGLDrawer")) << output;
    EXPECT_NE(game->x("xdotool search --name '^Brick Voyager$'").status, 0);
}

TEST_F(GameEndToEndTest, FailuresToStartEndWithStatusOne)
{
    // SDL with a video driver that does not exist.
    {
        GameProcess game(home.path(), {"--windowed"}, {{"SDL_VIDEODRIVER", "no-such-driver"}});
        game.start(":0");
        EXPECT_EQ(game.wait(), 1) << game.output();
        EXPECT_TRUE(contains(game.output(), "Could not initialise SDL: ")) << game.output();
    }
    // A levels file with no plane, beside a copy of the game.
    {
        TempDir bundle;
        fs::copy_file(BV_GAME_PATH, bundle.path() + "/BrickVoyager");
        fs::create_directories(bundle.path() + "/Contents/Resources/sounds");
        bundle.write("Contents/Resources/levels.xml", "<?xml version=\"1.0\" ?>\n<BrickVoyager>\n</BrickVoyager>\n");
        const CommandResult result =
            runCommand("env -u XDG_CONFIG_HOME HOME='" + home.path() + "' '" + bundle.path() + "/BrickVoyager' --windowed 2>&1");
        EXPECT_EQ(result.status, 1) << result.output;
        EXPECT_TRUE(contains(result.output, "LevelLoader: ")) << result.output;
        EXPECT_FALSE(contains(result.output, "Command line:")) << "got past the levels: " << result.output;
    }
}
