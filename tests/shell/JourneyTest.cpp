#include "shell/Journey.h"

#include "audio/MusicLevel.h"
#include "CoutCapture.h"
#include "game/GamePlay.h"
#include "platform/FilePath.h"
#include "TestPlatform.h"
#include "TestSupport.h"

#include <gtest/gtest.h>


namespace {

using Lines = std::vector<std::string>;

// The file as a person reads it.
// The shipped levels, a state folder of the test's own and the journey over
// them, as the Application holds them.
class JourneyTest : public ::testing::Test {
protected:
    std::string file() const { return FilePath(state.path()).getChild("PlayScaffold").getChild("state").path; }
    // Puts text in the state file, then resumes; the lines resume() printed.
    Lines resumeFrom(const std::string& text)
    {
        state.write("PlayScaffold/state", text);
        CoutCapture out;
        journey.resume();
        return out.lines();
    }

    TempDir state;
    ScopedEnv stateHere{TestPlatform::stateVariable(), state.path()};
    GamePlay game;
    MusicLevel music;
    Journey journey{game, music};
};

} // namespace

// From a kept plane to the last door, and the start after it.
TEST_F(JourneyTest, KeptPlaneContinuesWithoutTheTitleAndEachPlaneReachedIsKeptUntilTheEnd)
{
    const int planes = static_cast<int>(game.planes.size());
    EXPECT_EQ(resumeFrom(stateText(2, 4, 1)), Lines{"Journey: Continuing on plane 3 of " + std::to_string(planes) + "."});
    EXPECT_TRUE(game.currentPlane == 2 && game.currentScreen == 0 && !game.showTitle);
    EXPECT_EQ(game.player.x, game.planes[2].levels[0]->playerX);
    EXPECT_EQ(game.player.y, game.planes[2].levels[0]->playerY);
    EXPECT_TRUE(music.getLevel() == 4 && music.isMuted());
    // Ending the run keeps it where it is, music included.
    journey.keep();
    EXPECT_EQ(readFile(file()), stateText(2, 4, 1));

    for (int plane = 3; plane < planes; ++plane) {
        game.beginOnPlane(plane);
        journey.afterFrame();
        EXPECT_EQ(readFile(file()), stateText(plane, 4, 1));
    }
    game.endFade = 0.5f;
    journey.afterFrame();
    EXPECT_EQ(readFile(file()), stateText(0, 4, 1));
    GamePlay nextGame;
    MusicLevel nextMusic;
    CoutCapture out;
    Journey(nextGame, nextMusic).resume();
    EXPECT_EQ(out.text(), "");
    EXPECT_TRUE(nextGame.currentPlane == 0 && nextGame.showTitle && nextMusic.getLevel() == 4);
}

TEST_F(JourneyTest, F2BeginsANewJourneyFromAKeptPlaneOrFromTheEnd)
{
    for (const bool fromTheEnd : {false, true}) {
        SCOPED_TRACE(fromTheEnd ? "from the end" : "from a kept plane");
        resumeFrom(stateText(3, 10, 0));
        if (fromTheEnd) {
            game.endFade = 0.4f;
            journey.afterFrame();
        }
        CoutCapture out;
        EXPECT_TRUE(journey.keyDown(SDLK_F2));
        EXPECT_EQ(out.lines(), Lines{"Journey: A new journey begins."});
        EXPECT_TRUE(game.currentPlane == 0 && game.currentScreen == 0 && game.showTitle && game.endFade == 1.0f);
        EXPECT_EQ(game.player.x, game.planes[0].levels[0]->playerX);
        EXPECT_EQ(readFile(file()), stateText(0, 10, 0));
    }
    EXPECT_FALSE(journey.keyDown(SDLK_F1));
}

TEST_F(JourneyTest, RandomScreensKeepTheMusicButNeitherUseNorChangeThePlane)
{
    game.useRandomLevels();
    EXPECT_TRUE(resumeFrom(stateText(2, 4, 0)).empty());
    EXPECT_TRUE(game.currentPlane == 0 && music.getLevel() == 4);

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
        const Lines lines = resumeFrom(content);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].rfind("JourneyFile: " + file() + " " + report, 0), 0u) << lines[0];
        EXPECT_TRUE(game.currentPlane == 0 && game.showTitle && music.getLevel() == MusicLevel::loudest);
        journey.keep();
        EXPECT_EQ(readFile(file()), stateText(0, 10, 0));
    }
}

TEST_F(JourneyTest, FolderThatCannotBeMadeIsReportedOnceAndPlayGoesOn)
{
    // A file where the folder should go: no folder can be made below it.
    const std::string blocker = state.write("blocker", "a file");
    ScopedEnv below(TestPlatform::stateVariable(), blocker);
    Journey blocked(game, music);
    CoutCapture out;
    blocked.resume();
    blocked.keep();
    EXPECT_TRUE(blocked.keyDown(SDLK_F2));
    blocked.keep();
    const Lines lines = out.lines();
    ASSERT_EQ(lines.size(), 2u) << out.text();
    EXPECT_EQ(lines[0].rfind("JourneyFile: Could not create directory " + FilePath(blocker).getChild("PlayScaffold").path, 0), 0u)
        << lines[0];
    EXPECT_EQ(lines[1], "Journey: A new journey begins.");
    EXPECT_EQ(readFile(blocker), "a file");
}
