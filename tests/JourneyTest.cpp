#include "Journey.h"

#include "../tools/walkthrough/Walkthrough.h"
#include "CoutCapture.h"
#include "GamePlay.h"
#include "MusicLevel.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

// The file as a person reads it.
std::string stateText(int plane, int music, int muted)
{
    return "PlayScaffold state 1\nplane " + std::to_string(plane) + "\nmusic " + std::to_string(music) +
           "\nmuted " + std::to_string(muted) + "\n";
}

bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

// The shipped levels, a state folder of the test's own and the journey over
// them, as the Application holds them.
class JourneyTest : public ::testing::Test {
protected:
    std::string folder() const { return state.path() + "/PlayScaffold"; }
    std::string file() const { return folder() + "/state"; }
    void writeState(const std::string& text) const
    {
        fs::create_directories(folder());
        std::ofstream(file(), std::ios::binary) << text;
    }
    // resume() with its output; the lines it printed.
    std::vector<std::string> resume()
    {
        CoutCapture out;
        journey.resume();
        return out.lines();
    }
    bool atFirstStart() const
    {
        return game.currentPlane == 0 && game.currentScreen == 0 && game.showTitle &&
               game.endFade == 1.0f;
    }

    TempDir state;
    ScopedEnv stateHere{"XDG_STATE_HOME", state.path()};
    GamePlay game;
    MusicLevel music;
    Journey journey{game, music};
};

} // namespace

TEST_F(JourneyTest, EveryDoorIsKeptAsItIsPassedAndTheLastOneEndsTheJourney)
{
    std::ifstream in(BV_TEST_DATA_DIR "/walkthrough.txt");
    Walkthrough::Script script;
    std::string error;
    ASSERT_TRUE(Walkthrough::parseScript(in, script, error)) << error;
    EXPECT_TRUE(resume().empty()) << "a first start has nothing to report";
    music.set(6, false);

    Walkthrough::NullDrawer drawer;
    std::size_t next = 0;
    int plane = 0;
    bool ended = false;
    for (int frame = 0; frame <= script.lastFrame && !ended; ++frame) {
        for (; next < script.events.size() && script.events[next].frame == frame; ++next)
            Walkthrough::sendKey(game, script.events[next].key, script.events[next].down);
        game.draw(&drawer);
        journey.afterFrame();
        if (game.currentPlane != plane) {
            plane = game.currentPlane;
            EXPECT_EQ(readFile(file()), stateText(plane, 6, 0)) << "frame " << frame;
        }
        ended = game.endFade < 1.0f;
    }
    ASSERT_TRUE(ended) << "the walkthrough did not reach the end";
    EXPECT_EQ(plane + 1, static_cast<int>(game.planes.size()));
    EXPECT_EQ(readFile(file()), stateText(0, 6, 0));
    // Written whole beside the file and renamed: nothing else is left there.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder()), fs::directory_iterator()), 1);

    GamePlay nextGame;
    MusicLevel nextMusic;
    Journey nextJourney(nextGame, nextMusic);
    nextJourney.resume();
    EXPECT_EQ(nextGame.currentPlane, 0);
    EXPECT_TRUE(nextGame.showTitle);
    EXPECT_EQ(nextMusic.getLevel(), 6);
}

TEST_F(JourneyTest, StartContinuesOnTheFirstScreenOfTheKeptPlaneWithoutTheTitle)
{
    writeState(stateText(2, 4, 1));
    const std::vector<std::string> lines = resume();
    EXPECT_EQ(lines, std::vector<std::string>{"Journey: Continuing on plane 3 of " +
                                              std::to_string(game.planes.size()) + "."});
    EXPECT_EQ(game.currentPlane, 2);
    EXPECT_EQ(game.currentScreen, 0);
    EXPECT_FALSE(game.showTitle);
    const Level& first = *game.planes[2].levels[0];
    EXPECT_EQ(game.player.x, first.playerX);
    EXPECT_EQ(game.player.y, first.playerY);
    EXPECT_EQ(music.getLevel(), 4);
    EXPECT_TRUE(music.isMuted());

    // Ending the run keeps it where it is, music included.
    CoutCapture quiet;
    journey.keep();
    EXPECT_EQ(readFile(file()), stateText(2, 4, 1));
}

TEST_F(JourneyTest, F2BeginsANewJourneyFromAnywhere)
{
    const std::vector<std::pair<const char*, std::function<void()>>> cases = {
        {"from a kept plane", [&] { writeState(stateText(3, 10, 0)); resume(); }},
        {"from the end", [&] { game.beginOnPlane(3); game.endFade = 0.4f; journey.afterFrame(); }},
        {"from the first screen", [] {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.first);
        game.beginOnPlane(0);
        c.second();
        CoutCapture out;
        EXPECT_TRUE(journey.keyDown(SDLK_F2));
        EXPECT_EQ(out.lines(), std::vector<std::string>{"Journey: A new journey begins."});
        EXPECT_TRUE(atFirstStart());
        const Level& first = *game.planes[0].levels[0];
        EXPECT_EQ(game.player.x, first.playerX);
        EXPECT_EQ(readFile(file()), stateText(0, 10, 0));
    }
    EXPECT_FALSE(journey.keyDown(SDLK_F1));
}

TEST_F(JourneyTest, RandomScreensKeepTheMusicButNeitherUseNorChangeThePlane)
{
    writeState(stateText(2, 4, 0));
    game.useRandomLevels();
    EXPECT_TRUE(resume().empty());
    EXPECT_EQ(game.currentPlane, 0);
    EXPECT_EQ(music.getLevel(), 4);

    CoutCapture out;
    EXPECT_TRUE(journey.keyDown(SDLK_F2));
    EXPECT_EQ(out.lines().size(), 1u) << out.text();
    // A door in the random mode leads on, but there is no journey to keep.
    game.beginOnPlane(1);
    journey.afterFrame();
    EXPECT_EQ(readFile(file()), stateText(2, 4, 0));
    music.keyDown(SDLK_MINUS);
    journey.keep();
    EXPECT_EQ(readFile(file()), stateText(2, 3, 0));
}

namespace {

struct BadFile {
    const char* name;
    std::function<void(const std::string& path)> make;
    const char* report;
    // Not a regular file: the save leaves it as it is.
    bool leftAlone;
};

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

} // namespace

TEST_F(JourneyTest, BadStateFilesAreReportedInOneLineAndTheJourneyStartsAnew)
{
    const int planes = static_cast<int>(game.planes.size());
    const std::vector<BadFile> cases = {
        {"garbage", [](const std::string& p) { writeText(p, std::string("\x01\xff plane 2\0\n", 12)); },
         "is damaged", false},
        {"empty", [](const std::string& p) { writeText(p, ""); }, "is empty", false},
        {"another version", [](const std::string& p) { writeText(p, "PlayScaffold state 2\nplane 1\nmusic 3\nmuted 0\n"); },
         "is damaged", false},
        {"an unknown line", [](const std::string& p) { writeText(p, stateText(1, 3, 0) + "colour 3\n"); },
         "is damaged", false},
        {"a level beyond 10", [](const std::string& p) { writeText(p, stateText(1, 11, 0)); }, "is damaged", false},
        {"a plane beyond the levels file",
         [planes](const std::string& p) { writeText(p, stateText(planes, 3, 0)); },
         "is at plane", false},
        {"too large", [](const std::string& p) { writeText(p, stateText(1, 3, 0) + std::string(5000, ' ')); },
         "more than the 4096 it may hold", false},
        {"a folder", [](const std::string& p) { fs::create_directory(p); }, "is a folder, not a file", true},
        {"a pipe", [](const std::string& p) { mkfifo(p.c_str(), 0600); }, "is a pipe, not a file", true},
        {"a link to /dev/zero", [](const std::string& p) { fs::create_symlink("/dev/zero", p); },
         "is a link to a device, not to a file", true},
        {"a dangling link", [](const std::string& p) { fs::create_symlink(p + "-gone", p); },
         "is a link to nothing", true},
    };
    for (const BadFile& c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove_all(folder());
        fs::create_directories(folder());
        c.make(file());
        GamePlay fresh;
        MusicLevel freshMusic;
        Journey freshJourney(fresh, freshMusic);
        std::vector<std::string> lines;
        {
            CoutCapture out;
            freshJourney.resume();
            lines = out.lines();
        }
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_TRUE(contains(lines[0], "JourneyFile: " + file() + " ")) << lines[0];
        EXPECT_TRUE(contains(lines[0], c.report)) << lines[0];
        EXPECT_EQ(fresh.currentPlane, 0);
        EXPECT_TRUE(fresh.showTitle);
        EXPECT_EQ(freshMusic.getLevel(), MusicLevel::loudest);

        const fs::file_status before = fs::symlink_status(file());
        CoutCapture out;
        freshJourney.keep();
        if (c.leftAlone) {
            EXPECT_EQ(out.lines().size(), 1u) << out.text();
            EXPECT_TRUE(contains(out.text(), "left as it was")) << out.text();
            EXPECT_EQ(fs::symlink_status(file()).type(), before.type());
        } else {
            EXPECT_EQ(out.text(), "");
            EXPECT_EQ(readFile(file()), stateText(0, 10, 0));
        }
    }
}

TEST_F(JourneyTest, FolderThatCannotBeMadeIsReportedOnceAndPlayGoesOn)
{
    // A file where the folder should go: no folder can be made below it.
    const std::string blocker = state.write("blocker", "a file");
    ScopedEnv below("XDG_STATE_HOME", blocker);
    GamePlay blocked;
    Journey blockedJourney(blocked, music);
    CoutCapture out;
    blockedJourney.resume();
    EXPECT_TRUE(out.text().empty()) << out.text();
    blockedJourney.keep();
    EXPECT_TRUE(blockedJourney.keyDown(SDLK_F2));
    blockedJourney.keep();
    const std::vector<std::string> lines = out.lines();
    ASSERT_EQ(lines.size(), 2u) << out.text();
    EXPECT_TRUE(contains(lines[0], "Could not create directory " + blocker + "/PlayScaffold")) << lines[0];
    EXPECT_EQ(lines[1], "Journey: A new journey begins.");
    EXPECT_EQ(readFile(blocker), "a file");
}

TEST(JourneyFileTest, StateLivesUnderAnAbsoluteStateHomeElseInTheHomeFolder)
{
    TempDir home;
    ScopedEnv homeHere("HOME", home.path());
    const std::string fallback = home.path() + "/.local/state/PlayScaffold/state";
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"/var/somewhere", "/var/somewhere/PlayScaffold/state"},
        {"relative/state", fallback},
        {"", fallback},
    };
    for (const auto& c : cases) {
        ScopedEnv stateHome("XDG_STATE_HOME", c.first);
        EXPECT_EQ(JourneyFile::defaultPath(), c.second) << c.first;
    }
    ScopedEnv unset = ScopedEnv::unset("XDG_STATE_HOME");
    EXPECT_EQ(JourneyFile::defaultPath(), fallback);
}
