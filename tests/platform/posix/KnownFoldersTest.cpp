#include "platform/KnownFolders.h"

#include "CoutCapture.h"
#include "shell/ConfigLoader.h"
#include "shell/JourneyFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <functional>

// The XDG rule for each of the player's folders, and where the game keeps its
// files in it: a variable naming an absolute path names the folder; a
// relative one (it would depend on where the game started), an empty one or
// none gives way to the folder under HOME.
TEST(KnownFoldersTest, PlayersFoldersFollowAnAbsoluteXdgVariableElseTheFolderUnderHome)
{
    const TempDir home;
    const ScopedEnv homeHere("HOME", home.path());
    const std::string absolute = home.path() + "/elsewhere";
    const struct {
        KnownFolders::Kind kind;
        const char *variable, *underHome;
        std::function<std::string()> kept;
        std::string below;
    } kinds[] = {
        {KnownFolders::Kind::Settings, "XDG_CONFIG_HOME", "/.config", getFilePath, "/PlayScaffold"},
        {KnownFolders::Kind::State, "XDG_STATE_HOME", "/.local/state", JourneyFile::defaultPath, "/PlayScaffold/state"},
        {KnownFolders::Kind::Data, "XDG_DATA_HOME", "/.local/share", [] { return FilePath::getAppDataPath().path; }, ""},
    };
    for (const auto& k : kinds)
        for (const char* value : {absolute.c_str(), "relative/folder", "", static_cast<const char*>(nullptr)}) {
            SCOPED_TRACE(std::string(k.variable) + " " + (value ? value : "unset"));
            const ScopedEnv variable(k.variable, value);
            const std::string folder = value == absolute.c_str() ? absolute : home.path() + k.underHome;
            const CoutCapture quiet;  // the settings' folder is made, and said so
            EXPECT_EQ(KnownFolders::user(k.kind).path, folder);
            EXPECT_EQ(k.kept(), folder + k.below);
        }
}

TEST(KnownFoldersTest, HomeAndTheExecutablesFoldersAreFoundWithoutTheEnvironment)
{
    ScopedEnv home("HOME", nullptr);
    EXPECT_TRUE(FilePath::getHomeDir().isDirectory()) << "the password database still knows where home is";
    char buffer[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", buffer, sizeof buffer - 1), 0);
    const FilePath exe(buffer);
    EXPECT_EQ(FilePath::getDataFilesDir().path, exe.getParent().path + "/Contents/Resources");
    EXPECT_EQ(FilePath::getCurrentExecutableDir().path, exe.getParent().getParent().path);
}
