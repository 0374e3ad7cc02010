#include "CoutCapture.h"
#include "shell/LaunchArguments.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;
namespace fs = std::filesystem;

// Puts the working directory back after each test.
class LaunchArgumentsTest : public ::testing::Test {
protected:
    fs::path startDirectory = fs::current_path();

    ~LaunchArgumentsTest() override { fs::current_path(startDirectory); }

    static Words handedOn(LaunchArguments& arguments)
    {
        EXPECT_EQ(arguments.argv()[arguments.argc()], nullptr);
        return Words(arguments.argv(), arguments.argv() + arguments.argc());
    }
};

} // namespace

// A first word starting with "-psn" is the platform's launch: the other words
// are dropped and the working directory becomes the application's folder. A
// start from a shell keeps every word and its directory.
TEST_F(LaunchArgumentsTest, OnlyAPlatformLaunchDropsTheWordsAndEntersTheApplicationsFolder)
{
    TempDir folder;
    const std::pair<Words, bool> cases[] = {
        {{"BrickVoyager"}, false}, {{"BrickVoyager", "-w", "800", "-psn_0_1"}, false},
        {{"BrickVoyager", "psn", "-win"}, false}, {{"BrickVoyager", ""}, false},
        {{"BrickVoyager", "-psn_0_4711", "-w", "800"}, true}, {{"BrickVoyager", "-psn"}, true},
    };
    for (const auto& [words, platform] : cases) {
        SCOPED_TRACE(::testing::PrintToString(words));
        fs::current_path(startDirectory);
        LaunchArguments arguments(words);
        EXPECT_EQ(arguments.platformLaunch(), platform);
        EXPECT_EQ(handedOn(arguments), platform ? Words{"BrickVoyager"} : words);
        CoutCapture out;
        EXPECT_TRUE(arguments.setupWorkingDirectory(folder.path()));
        EXPECT_EQ(fs::current_path(), platform ? fs::canonical(folder.path()) : startDirectory);
        EXPECT_EQ(out.text(), "");
    }
    EXPECT_TRUE(LaunchArguments({"BrickVoyager", "-psn_0_1"}).setupWorkingDirectory());
    EXPECT_EQ(fs::current_path(), fs::canonical(BV_BINARY_DIR).parent_path()) << "the folder above the executable's";
}

TEST_F(LaunchArgumentsTest, FolderThatCannotBeEnteredIsReportedAndTheStartGoesOn)
{
    TempDir dir;
    // The reason is the system's own ("No such file or directory" on Linux).
    const std::pair<std::string, std::string> cases[] = {
        {dir.path() + "/missing", "SDLMain: Could not change the working directory to " + dir.path() + "/missing: "},
        {"", "SDLMain: Could not find the application's folder; staying in the working directory."},
    };
    for (const auto& [folder, message] : cases) {
        LaunchArguments arguments({"BrickVoyager", "-psn_0_1"});
        CoutCapture out;
        EXPECT_FALSE(arguments.setupWorkingDirectory(folder));
        ASSERT_EQ(out.lines().size(), 1u) << out.text();
        const std::string line = out.lines()[0];
        EXPECT_EQ(line.rfind(message, 0), 0u) << line;
        EXPECT_EQ(line.size() > message.size(), !folder.empty()) << line;
        EXPECT_EQ(fs::current_path(), startDirectory);
    }
}
