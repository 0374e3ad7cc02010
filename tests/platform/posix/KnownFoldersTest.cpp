#include "platform/FilePath.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

TEST(KnownFoldersTest, ConventionalFoldersFollowTheEnvironmentAndTheExecutable)
{
    {
        ScopedEnv home("HOME", "/home/player");
        ScopedEnv data("XDG_DATA_HOME", "/data/home");
        EXPECT_EQ(FilePath::getAppDataPath().path, "/data/home");
        ScopedEnv noData("XDG_DATA_HOME", nullptr);
        EXPECT_EQ(FilePath::getAppDataPath().path, "/home/player/.local/share");
        ScopedEnv relativeData("XDG_DATA_HOME", "relative/data");
        EXPECT_EQ(FilePath::getAppDataPath().path, "/home/player/.local/share") << "as the settings and journey";
    }
    ScopedEnv home("HOME", nullptr);
    EXPECT_TRUE(FilePath::getHomeDir().isDirectory()) << "the password database still knows where home is";
    char buffer[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", buffer, sizeof buffer - 1), 0);
    const FilePath exe(buffer);
    EXPECT_EQ(FilePath::getDataFilesDir().path, exe.getParent().path + "/Contents/Resources");
    EXPECT_EQ(FilePath::getCurrentExecutableDir().path, exe.getParent().getParent().path);
}
