// Windows' own folders: the settings and the player's planes roam
// (%APPDATA%), the journey stays on the machine (%LOCALAPPDATA%), each
// named by its variable when that is an absolute path and asked of the
// shell otherwise; the program's folder is the exe's, its resources beside it.
#include "platform/KnownFolders.h"

#include "shell/JourneyFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

TEST(KnownFoldersTest, PlayersFoldersFollowAnAbsoluteVariableElseTheShellsKnownFolder)
{
    const FilePath roaming = KnownFolders::user(KnownFolders::Kind::Settings);
    const FilePath local = KnownFolders::user(KnownFolders::Kind::State);
    ASSERT_TRUE(roaming.isDirectory()) << roaming.path;
    ASSERT_TRUE(local.isDirectory()) << local.path;
    EXPECT_NE(roaming.path, local.path);
    EXPECT_EQ(KnownFolders::user(KnownFolders::Kind::Data).path, roaming.path);
    EXPECT_EQ(JourneyFile::defaultPath(), local.path + "\\PlayScaffold\\state");

    for (const char* moved : {"D:\\Games\\Roaming", "\\\\server\\share\\roaming", "C:/forward/slashes"}) {
        const ScopedEnv appData("APPDATA", moved);
        EXPECT_EQ(KnownFolders::user(KnownFolders::Kind::Settings).path, moved);
        EXPECT_EQ(KnownFolders::user(KnownFolders::Kind::Data).path, moved);
    }
    // A relative or empty value would depend on where the game was started.
    for (const char* ignored : {"relative\\roaming", "C:relative", "", static_cast<const char*>(nullptr)}) {
        const ScopedEnv appData("APPDATA", ignored), localAppData("LOCALAPPDATA", ignored);
        EXPECT_EQ(KnownFolders::user(KnownFolders::Kind::Settings).path, roaming.path) << (ignored ? ignored : "unset");
        EXPECT_EQ(KnownFolders::user(KnownFolders::Kind::State).path, local.path) << (ignored ? ignored : "unset");
    }
    const ScopedEnv noProfile("USERPROFILE", nullptr);
    EXPECT_TRUE(KnownFolders::home().isDirectory()) << "the shell still knows the profile";
}

TEST(KnownFoldersTest, ProgramsFolderHoldsTheExeAndItsResourcesAndTheSystemsFontsComeLast)
{
    const FilePath program = KnownFolders::program();
    EXPECT_TRUE(program.getChild("BrickVoyagerTests.exe").isFile()) << program.path;
    EXPECT_EQ(FilePath::getDataFilesDir().path, program.path + "\\Contents\\Resources");
    EXPECT_TRUE(FilePath::getDataFilesDir().getChild("levels.xml").isFile());
    const std::vector<FilePath> fonts = KnownFolders::fonts();
    ASSERT_EQ(fonts.size(), 2u);
    EXPECT_EQ(fonts[0].path, KnownFolders::user(KnownFolders::Kind::State).path + "\\Microsoft\\Windows\\Fonts");
    EXPECT_TRUE(fonts[1].isDirectory()) << fonts[1].path;
}
