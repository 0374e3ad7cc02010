#include "platform/FilePath.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <string>

TEST(FilePathTest, FilesFoldersAndNothingAreToldApartAndFoldersAreMadeOnce)
{
    TempDir dir;
    const FilePath paths[] = {FilePath(), FilePath(dir.write("notes.txt", "x")), FilePath(dir.path()),
                              FilePath(dir.path() + "/missing")};
    const std::array<bool, 3> expected[] = {{false, false, false}, {true, true, false}, {true, false, true}, {false, false, false}};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ((std::array<bool, 3>{paths[i].exists(), paths[i].isFile(), paths[i].isDirectory()}), expected[i])
            << paths[i].path;
    EXPECT_FALSE(FilePath().createAsDirectory());

    const FilePath fresh(dir.path() + "/fresh");
    EXPECT_TRUE(fresh.createAsDirectory());
    struct stat info;
    ASSERT_EQ(stat(fresh.path.c_str(), &info), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0775u & ~mask);
    EXPECT_FALSE(fresh.createAsDirectory());
    EXPECT_FALSE(FilePath(dir.path() + "/no/parent").createAsDirectory());
}

TEST(FilePathTest, ParentChildNamesAndExtensionsFollowTheLastPointAndSlash)
{
    const struct {
        std::string path;
        const char *parent, *name, *nameWithExtension, *extension;
    } cases[] = {
        {"/a/b.c/file.tar.gz", "/a/b.c", "file.tar", "file.tar.gz", "gz"},
        // The last point of the whole path lies in a folder's name.
        {"/a/b.c/notes", "/a/b.c", "notes", "notes", "c/notes"},
        // No slash: the parent is the path; no point: the extension is the whole path.
        {"plain", "plain", "plain", "plain", "plain"},
        {"/a/b/", "/a/b", "", "", "/a/b/"},
    };
    for (const auto& c : cases) {
        const FilePath path(c.path);
        EXPECT_EQ((std::array<std::string, 4>{path.getParent().path, path.getName(), path.getNameWithExtension(),
                                              path.getExtension()}),
                  (std::array<std::string, 4>{c.parent, c.name, c.nameWithExtension, c.extension})) << c.path;
    }
    EXPECT_EQ(FilePath("dir/").getChild("x").getChild("y").path, "dir//x/y");
    TempDir dir;
    const FilePath folder(dir.path() + "/archive.d");
    ASSERT_TRUE(folder.createAsDirectory());
    EXPECT_EQ(folder.getExtension(), "") << "a folder has no extension, whatever its name";
}

TEST(FilePathTest, ChildrenAreListedInByteOrderWithHiddenEntries)
{
    TempDir dir;
    for (const char* name : {"b", "A", ".hidden", "a"})
        dir.write(name, "");
    const FilePath folder(dir.path());
    ASSERT_EQ(folder.getNumChildren(), 4);
    for (const auto& [index, name] : {std::pair{0, "/.hidden"}, {1, "/A"}, {2, "/a"}, {3, "/b"}})
        EXPECT_EQ(folder.getChild(index).path, dir.path() + name);
    EXPECT_EQ(folder.getChild(4).path, "");
    EXPECT_EQ(folder.getChild(-1).path, "");
    EXPECT_EQ(FilePath(dir.path() + "/a").getNumChildren(), 0);
    EXPECT_EQ(FilePath().getNumChildren(), 0);
}

TEST(FilePathTest, ConventionalFoldersFollowTheEnvironmentAndTheExecutable)
{
    {
        ScopedEnv home("HOME", "/home/player");
        ScopedEnv data("XDG_DATA_HOME", "/data/home");
        EXPECT_EQ(FilePath::getAppDataPath().path, "/data/home");
        EXPECT_EQ(FilePath::getFontsDirs().at(1).path, "/home/player/.fonts");
        ScopedEnv noData = ScopedEnv::unset("XDG_DATA_HOME");
        EXPECT_EQ(FilePath::getAppDataPath().path, "/home/player/.local/share");
    }
    {
        ScopedEnv home = ScopedEnv::unset("HOME");
        ScopedEnv data = ScopedEnv::unset("XDG_DATA_HOME");
        EXPECT_EQ(FilePath::getAppDataPath().path, "~/.local/share");
        EXPECT_TRUE(FilePath::getHomeDir().isDirectory()) << "the password database still knows where home is";
    }
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
    EXPECT_TRUE(source.copyTo(dir.path() + "/copy.bin"));
    EXPECT_EQ(readFile(dir.path() + "/copy.bin"), std::string("a\0b\nc", 5));
    EXPECT_FALSE(FilePath(dir.path() + "/missing").copyTo(dir.path() + "/never"));
    EXPECT_FALSE(FilePath(dir.path() + "/never").exists());
    EXPECT_FALSE(FilePath().copyTo(dir.path() + "/nothing"));
    EXPECT_FALSE(source.copyTo(dir.path() + "/no/such/folder/copy"));

    int index = 0;
    for (const std::string name : {"with blank", "quote'in\"side", "semi;touch marker", "$(touch marker)",
                                   "`touch marker`", "pipe|touch marker", "amp&&touch marker", "star*",
                                   "new\nline", "-r"}) {
        // Sources carry the awkward names too: both paths must pass untouched.
        FilePath awkward(dir.write("src " + name, "payload:" + name));
        EXPECT_TRUE(awkward.copyTo(index++ % 2 == 0 ? dir.path() + "/" + name : name)) << name;
        EXPECT_EQ(readFile(dir.path() + "/" + name), "payload:" + name);
        EXPECT_FALSE(FilePath(dir.path() + "/marker").exists()) << "a shell ran part of: " << name;
    }
    // A leading "-" stays a path and never becomes an option of the copy.
    dir.write("-v", "dash");
    EXPECT_TRUE(FilePath("-v").copyTo("--target-directory=x"));
    EXPECT_EQ(readFile(dir.path() + "/--target-directory=x"), "dash");
    std::filesystem::current_path(previous);
}
