#include "Journey.h"

#include "CoutCapture.h"
#include "GamePlay.h"
#include "MusicLevel.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

// The file as a person reads it.
std::string stateText(int plane, int music, int muted)
{
    return "PlayScaffold state 1\nplane " + std::to_string(plane) + "\nmusic " + std::to_string(music) +
           "\nmuted " + std::to_string(muted) + "\n";
}

// The shipped levels, a state folder of the test's own and the journey over
// them, as the Application holds them.
class JourneyTest : public ::testing::Test {
protected:
    std::string file() const { return state.path() + "/PlayScaffold/state"; }
    void writeState(const std::string& text) const
    {
        std::filesystem::create_directories(state.path() + "/PlayScaffold");
        state.write("PlayScaffold/state", text);
    }
    // resume() with its output; the lines it printed.
    std::vector<std::string> resume()
    {
        CoutCapture out;
        journey.resume();
        return out.lines();
    }

    TempDir state;
    ScopedEnv stateHere{"XDG_STATE_HOME", state.path()};
    GamePlay game;
    MusicLevel music;
    Journey journey{game, music};
};

} // namespace

TEST_F(JourneyTest, EachPlaneReachedIsKeptAndPassingTheLastDoorBeginsTheNextStartAnew)
{
    EXPECT_TRUE(resume().empty()) << "a first start has nothing to report";
    music.set(6, false);
    for (int plane = 1; plane < static_cast<int>(game.planes.size()); ++plane) {
        game.beginOnPlane(plane);
        journey.afterFrame();
        EXPECT_EQ(readFile(file()), stateText(plane, 6, 0));
    }
    game.endFade = 0.5f;
    journey.afterFrame();
    EXPECT_EQ(readFile(file()), stateText(0, 6, 0));

    GamePlay nextGame;
    MusicLevel nextMusic;
    Journey(nextGame, nextMusic).resume();
    EXPECT_EQ(nextGame.currentPlane, 0);
    EXPECT_TRUE(nextGame.showTitle);
    EXPECT_EQ(nextMusic.getLevel(), 6);
}

TEST_F(JourneyTest, StartContinuesOnTheFirstScreenOfTheKeptPlaneWithoutTheTitle)
{
    writeState(stateText(2, 4, 1));
    EXPECT_EQ(resume(), std::vector<std::string>{"Journey: Continuing on plane 3 of " +
                                                 std::to_string(game.planes.size()) + "."});
    EXPECT_EQ(game.currentPlane, 2);
    EXPECT_EQ(game.currentScreen, 0);
    EXPECT_FALSE(game.showTitle);
    EXPECT_EQ(game.player.x, game.planes[2].levels[0]->playerX);
    EXPECT_EQ(game.player.y, game.planes[2].levels[0]->playerY);
    EXPECT_EQ(music.getLevel(), 4);
    EXPECT_TRUE(music.isMuted());

    // Ending the run keeps it where it is, music included.
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
        EXPECT_TRUE(game.currentPlane == 0 && game.currentScreen == 0 && game.showTitle && game.endFade == 1.0f);
        EXPECT_EQ(game.player.x, game.planes[0].levels[0]->playerX);
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

// What stands at the path but is no regular file is refused by FilePath's
// checks (FileEntryKindsTest); here, what a regular file may hold.
TEST_F(JourneyTest, BadStateFileIsReportedInOneLineAndTheJourneyStartsAnew)
{
    const int planes = static_cast<int>(game.planes.size());
    const std::pair<std::string, std::string> cases[] = {
        {std::string("\x01\xff plane 2\0\n", 12), "is damaged"},
        {"", "is empty"},
        {"PlayScaffold state 2\nplane 1\nmusic 3\nmuted 0\n", "is damaged"},
        {stateText(1, 3, 0) + "colour 3\n", "is damaged"},
        {stateText(1, 11, 0), "is damaged"},
        {stateText(planes, 3, 0), "is at plane " + std::to_string(planes + 1)},
    };
    for (const auto& [content, report] : cases) {
        SCOPED_TRACE(content);
        writeState(content);
        const std::vector<std::string> lines = resume();
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("JourneyFile: " + file() + " " + report, 0), 0u) << lines[0];
        EXPECT_TRUE(game.currentPlane == 0 && game.showTitle);
        EXPECT_EQ(music.getLevel(), MusicLevel::loudest);
        CoutCapture quiet;
        journey.keep();
        EXPECT_EQ(readFile(file()), stateText(0, 10, 0));
    }
}

TEST_F(JourneyTest, FolderThatCannotBeMadeIsReportedOnceAndPlayGoesOn)
{
    // A file where the folder should go: no folder can be made below it.
    const std::string blocker = state.write("blocker", "a file");
    ScopedEnv below("XDG_STATE_HOME", blocker);
    Journey blockedJourney(game, music);
    CoutCapture out;
    blockedJourney.resume();
    blockedJourney.keep();
    EXPECT_TRUE(blockedJourney.keyDown(SDLK_F2));
    blockedJourney.keep();
    const std::vector<std::string> lines = out.lines();
    ASSERT_EQ(lines.size(), 2u) << out.text();
    EXPECT_EQ(lines[0].rfind("JourneyFile: Could not create directory " + blocker + "/PlayScaffold", 0), 0u) << lines[0];
    EXPECT_EQ(lines[1], "Journey: A new journey begins.");
    EXPECT_EQ(readFile(blocker), "a file");
}

TEST(JourneyFileTest, StateLivesUnderAnAbsoluteStateHomeElseInTheHomeFolder)
{
    TempDir home;
    ScopedEnv homeHere("HOME", home.path());
    const std::string fallback = home.path() + "/.local/state/PlayScaffold/state";
    const std::pair<const char*, std::string> cases[] = {
        {"/var/somewhere", "/var/somewhere/PlayScaffold/state"}, {"relative/state", fallback}, {"", fallback}, {nullptr, fallback}};
    for (const auto& [stateHome, path] : cases) {
        ScopedEnv env = stateHome ? ScopedEnv("XDG_STATE_HOME", stateHome) : ScopedEnv::unset("XDG_STATE_HOME");
        EXPECT_EQ(JourneyFile::defaultPath(), path) << (stateHome ? stateHome : "unset");
    }
}
