#include "platform/FilePath.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>

TEST(FilePathTest, NamesAndExtensionsFollowTheLastPointAndSlashAndAFolderHasNoExtension)
{
    const std::array<std::string, 5> cases[] = {
        // path, parent, name, name with extension, extension
        {"/a/b.c/file.tar.gz", "/a/b.c", "file.tar", "file.tar.gz", "gz"},
        // The last point of the whole path lies in a folder's name.
        {"/a/b.c/notes", "/a/b.c", "notes", "notes", "c/notes"},
        // No slash: the parent is the path; no point: the extension is the whole path.
        {"plain", "plain", "plain", "plain", "plain"},
    };
    for (const auto& c : cases) {
        const FilePath path(c[0]);
        EXPECT_EQ((std::array<std::string, 5>{c[0], path.getParent().path, path.getName(), path.getNameWithExtension(),
                                              path.getExtension()}), c);
    }
    TempDir dir;
    EXPECT_EQ(FilePath(dir.path()).getChild("x.d").getChild("y").path, dir.path() + "/x.d/y");
    std::filesystem::create_directory(dir.path() + "/x.d");
    EXPECT_EQ(FilePath(dir.path() + "/x.d").getExtension(), "");
}

TEST(FilePathTest, ChildrenAreListedInByteOrderWithHiddenEntries)
{
    TempDir dir;
    for (const char* name : {"b", "A", ".hidden", "a"})
        dir.write(name, "");
    const FilePath folder(dir.path());
    ASSERT_EQ(folder.getNumChildren(), 4);
    for (const auto& [index, name] : {std::pair{0, "/.hidden"}, {1, "/A"}, {2, "/a"}, {3, "/b"}, {4, ""}, {-1, ""}})
        EXPECT_EQ(folder.getChild(index).path, *name ? dir.path() + name : "") << index;
    EXPECT_EQ(FilePath(dir.path() + "/a").getNumChildren(), 0);
    EXPECT_EQ(FilePath().getNumChildren(), 0);
}

TEST(FilePathTest, ConventionalFoldersFollowTheEnvironmentAndTheExecutable)
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

// Each name would run a command if it ever reached a shell; the command would
// leave a marker file in the working folder. The copy must land under exactly
// the name given, and nothing else may run.
TEST(FilePathTest, CopyToCopiesTheBytesReportsFailureAndNeverLetsAShellInterpretAPath)
{
    TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    FilePath source(dir.write("source.bin", std::string("a\0b\nc", 5)));
    EXPECT_TRUE(source.copyTo("copy.bin"));
    EXPECT_EQ(readFile("copy.bin"), std::string("a\0b\nc", 5));
    EXPECT_FALSE(FilePath("missing").copyTo("never"));
    EXPECT_FALSE(FilePath("never").exists());
    EXPECT_FALSE(FilePath().copyTo("nothing"));
    EXPECT_FALSE(source.copyTo("no/such/folder/copy"));

    int index = 0;
    for (const std::string name : {"with blank", "quote'in\"side", "semi;touch marker", "$(touch marker)",
                                   "`touch marker`", "pipe|touch marker", "amp&&touch marker", "star*",
                                   "new\nline", "-r"}) {
        // Sources carry the awkward names too: both paths must pass untouched.
        FilePath awkward(dir.write("src " + name, "payload:" + name));
        EXPECT_TRUE(awkward.copyTo(index++ % 2 == 0 ? dir.path() + "/" + name : name)) << name;
        EXPECT_EQ(readFile(name), "payload:" + name);
        EXPECT_FALSE(FilePath("marker").exists()) << "a shell ran part of: " << name;
    }
    // A leading "-" stays a path and never becomes an option of the copy.
    dir.write("-v", "dash");
    EXPECT_TRUE(FilePath("-v").copyTo("--target-directory=x"));
    EXPECT_EQ(readFile("--target-directory=x"), "dash");
    std::filesystem::current_path(previous);
}
