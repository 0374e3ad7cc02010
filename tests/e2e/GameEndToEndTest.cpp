#include "GameProcess.h"

#include "game/LevelLoader.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace e2e;

namespace {

// The built game copied beside resources of its own, which it finds beside
// its executable.
std::string installWithLevels(const std::string& folder, const std::string& levels)
{
    namespace fs = std::filesystem;
    const std::string resources = folder + "/Contents/Resources";
    fs::create_directories(resources + "/sounds");
    std::ofstream(resources + "/levels.xml") << levels;
    fs::create_symlink(fs::path(BV_GAME_PATH).parent_path() / "Contents/Resources/sounds/music.ogg",
                       resources + "/sounds/music.ogg");
    fs::copy_file(BV_GAME_PATH, folder + "/BrickVoyager");
    chmod((folder + "/BrickVoyager").c_str(), 0755);
    return folder + "/BrickVoyager";
}

// Every plane and block the bounds allow, each block with half its keys,
// just inside the bound on the file's size.
std::string largestWorld()
{
    std::string text = "<?xml version=\"1.0\" ?>\n<BrickVoyager>\n";
    int n = 0;
    for (int plane = 0; plane < LevelLoader::maxPlanes; ++plane) {
        text += "<Plane>\n";
        for (int screen = 0; screen < Plane::screenCount; ++screen) {
            text += "<Screen>\n";
            for (int block = 0; block < LevelLoader::maxBlocksPerScreen; ++block, ++n)
                text += "<Block x=\"" + std::to_string(n * 37 % 1300 - 300) + "\" y=\"" +
                        std::to_string(n * 53 % 600 + 150) + "\" type=\"" + std::to_string(n % 4) +
                        "\" s0=\"1\" s1=\"1.1\" s2=\"0.9\" s3=\"1.2\" s4=\"0.8\" s5=\"1.3\" s6=\"1.1\" s7=\"0.95\"/>\n";
            text += "<Door x=\"500\" y=\"600\"/><Player x=\"100\" y=\"100\"/></Screen>\n";
        }
        text += "</Plane>\n";
    }
    return text + "</BrickVoyager>\n";
}

} // namespace

// Before SDL runs, the signal's own default ends the process; once it runs,
// SDL turns the signal into a quit event, which the game ends normally on.
// The largest levels file the bounds allow keeps the game loading longest.
TEST(GameEndToEndTest, InterruptAndTerminateEndTheGameWhileItStarts)
{
    TempDir dir;
    const std::string levels = largestWorld();
    ASSERT_LE(levels.size(), LevelLoader::maxFileBytes);
    const std::string program = installWithLevels(dir.path() + "/game", levels);
    // After 0 ms the file is still being read; later the window opens.
    const std::pair<int, int> cases[] = {{SIGINT, 0}, {SIGTERM, 0}, {SIGINT, 400}, {SIGTERM, 1200}};
    for (const auto& [signal, afterMs] : cases) {
        SCOPED_TRACE(std::string(strsignal(signal)) + " after " + std::to_string(afterMs) + " ms");
        // The virtual display now and then refuses a connection: a start
        // that got no window is tried once more.
        for (int attempt = 0; attempt < 2; ++attempt) {
            const std::string home = dir.path() + "/home-" + std::to_string(signal) + "-" +
                                     std::to_string(afterMs) + "-" + std::to_string(attempt);
            std::filesystem::create_directories(home);
            GameProcess game(home, {"--windowed", "--width", "640", "--height", "480", "--nosound"});
            game.program = program;
            ASSERT_TRUE(game.start());
            sleepMs(afterMs);
            game.signal(signal);
            const int status = game.wait();
            if (status == 1 && contains(game.output(), "Could not open a window"))
                continue;
            EXPECT_TRUE(status == 0 || status == -2 - signal) << status << "\n" << game.output();
            break;
        }
    }
}

// A failure to start ends with status 1 and a line saying why; the levels
// are read before anything else.
TEST(GameEndToEndTest, FailuresToStartEndWithStatusOne)
{
    TempDir home;
    const CommandResult noDriver = runCommand("env -u XDG_CONFIG_HOME HOME='" + home.path() +
                                              "' SDL_VIDEODRIVER=no-such-driver '" BV_GAME_PATH "' --windowed 2>&1");
    EXPECT_EQ(noDriver.status, 1) << noDriver.output;
    EXPECT_TRUE(contains(noDriver.output, "Could not initialise SDL: ")) << noDriver.output;
    const std::string program =
        installWithLevels(home.path() + "/game", "<?xml version=\"1.0\" ?>\n<BrickVoyager>\n</BrickVoyager>\n");
    const CommandResult noPlane =
        runCommand("env -u XDG_CONFIG_HOME HOME='" + home.path() + "' '" + program + "' --windowed 2>&1");
    EXPECT_EQ(noPlane.status, 1) << noPlane.output;
    EXPECT_TRUE(contains(noPlane.output, "LevelLoader: ")) << noPlane.output;
    EXPECT_FALSE(contains(noPlane.output, "Command line:")) << "got past the levels: " << noPlane.output;
}
