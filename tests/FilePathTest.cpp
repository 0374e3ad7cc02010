#include "platform/FilePath.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

TEST(FilePathTest, EmptyPathNeitherExistsNorIsAnything)
{
    const FilePath empty;
    EXPECT_FALSE(empty.exists());
    EXPECT_FALSE(empty.isFile());
    EXPECT_FALSE(empty.isDirectory());
    EXPECT_FALSE(empty.createAsDirectory());
    EXPECT_EQ(empty.getNumChildren(), 0);
    EXPECT_EQ(empty.getChild(0).path, "");
    EXPECT_EQ(empty.getExtension(), "");
}

TEST(FilePathTest, FilesAndFoldersAreToldApart)
{
    TempDir dir;
    const FilePath file(dir.write("notes.txt", "x"));
    const FilePath folder(dir.path());
    const FilePath missing(dir.path() + "/missing");

    EXPECT_TRUE(file.exists());
    EXPECT_TRUE(file.isFile());
    EXPECT_FALSE(file.isDirectory());
    EXPECT_TRUE(folder.exists());
    EXPECT_FALSE(folder.isFile());
    EXPECT_TRUE(folder.isDirectory());
    EXPECT_FALSE(missing.exists());
    EXPECT_FALSE(missing.isFile());
    EXPECT_FALSE(missing.isDirectory());
}

TEST(FilePathTest, CreateAsDirectoryNeedsTheParentAndRefusesAnExistingFolder)
{
    TempDir dir;
    const FilePath fresh(dir.path() + "/fresh");
    EXPECT_TRUE(fresh.createAsDirectory());
    EXPECT_TRUE(fresh.isDirectory());
    struct stat info;
    ASSERT_EQ(stat(fresh.path.c_str(), &info), 0);
    const mode_t mask = umask(0);
    umask(mask);
    EXPECT_EQ(info.st_mode & 0777, 0775u & ~mask);

    EXPECT_FALSE(fresh.createAsDirectory());
    EXPECT_FALSE(FilePath(dir.path() + "/no/parent").createAsDirectory());
}

TEST(FilePathTest, ParentIsTheTextBeforeTheLastSlash)
{
    const struct {
        const char* path;
        const char* parent;
    } cases[] = {
        {"file", "file"},      {"/file", ""},       {"/a/b/", "/a/b"},
        {"/a/b.c/file.tar.gz", "/a/b.c"}, {"a/b", "a"}, {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FilePath(c.path).getParent().path, c.parent) << "parent of '" << c.path << "'";
}

TEST(FilePathTest, ChildByNameAlwaysAddsOneSlash)
{
    EXPECT_EQ(FilePath().getChild("x").path, "/x");
    EXPECT_EQ(FilePath("dir/").getChild("x").path, "dir//x");
    EXPECT_EQ(FilePath("/a").getChild("b").getChild("c").path, "/a/b/c");
}

TEST(FilePathTest, NamesAndExtensionsFollowTheLastPointAndSlash)
{
    TempDir dir;
    const struct {
        std::string path;
        const char* name;
        const char* nameWithExtension;
        const char* extension;
    } cases[] = {
        {"/a/b.c/file.tar.gz", "file.tar", "file.tar.gz", "gz"},
        // The last point of the whole path lies in a folder's name.
        {"/a/b.c/notes", "notes", "notes", "c/notes"},
        // No point at all: the extension is the whole path.
        {"plain", "plain", "plain", "plain"},
        {".profile", "", ".profile", "profile"},
        {"/a/b/", "", "", "/a/b/"},
    };
    for (const auto& c : cases) {
        const FilePath path(c.path);
        EXPECT_EQ(path.getName(), c.name) << c.path;
        EXPECT_EQ(path.getNameWithExtension(), c.nameWithExtension) << c.path;
        EXPECT_EQ(path.getExtension(), c.extension) << c.path;
    }

    const FilePath folder(dir.path() + "/archive.d");
    ASSERT_TRUE(folder.createAsDirectory());
    EXPECT_EQ(folder.getExtension(), "") << "a folder has no extension, whatever its name";
    EXPECT_EQ(folder.getName(), "archive");
}

TEST(FilePathTest, ChildrenAreListedInByteOrderWithHiddenEntries)
{
    TempDir dir;
    dir.write("b", "");
    dir.write("A", "");
    dir.write("a", "");
    const FilePath folder(dir.path());
    EXPECT_EQ(folder.getNumChildren(), 3);
    EXPECT_EQ(folder.getChild(0).path, dir.path() + "/A");
    EXPECT_EQ(folder.getChild(1).path, dir.path() + "/a");
    EXPECT_EQ(folder.getChild(2).path, dir.path() + "/b");
    EXPECT_EQ(folder.getChild(3).path, "");
    EXPECT_EQ(folder.getChild(-1).path, "");

    dir.write(".hidden", "");
    EXPECT_EQ(folder.getNumChildren(), 4);
    EXPECT_EQ(folder.getChild(0).path, dir.path() + "/.hidden");

    const FilePath file(dir.path() + "/a");
    EXPECT_EQ(file.getNumChildren(), 0);
    EXPECT_EQ(file.getChild(0).path, "");
}

TEST(FilePathTest, ConventionalFoldersFollowTheEnvironment)
{
    {
        ScopedEnv home("HOME", "/home/player");
        ScopedEnv data("XDG_DATA_HOME", "/data/home");
        EXPECT_EQ(FilePath::getHomeDir().path, "/home/player");
        EXPECT_EQ(FilePath::getAppDataPath().path, "/data/home");
        const auto fonts = FilePath::getFontsDirs();
        ASSERT_EQ(fonts.size(), 4u);
        EXPECT_EQ(fonts[0].path, "/home/player/.local/share/fonts");
        EXPECT_EQ(fonts[1].path, "/home/player/.fonts");
        EXPECT_EQ(fonts[2].path, "/usr/local/share/fonts");
        EXPECT_EQ(fonts[3].path, "/usr/share/fonts");
    }
    {
        ScopedEnv home("HOME", "/home/player");
        ScopedEnv data = ScopedEnv::unset("XDG_DATA_HOME");
        EXPECT_EQ(FilePath::getAppDataPath().path, "/home/player/.local/share");
    }
    {
        ScopedEnv home = ScopedEnv::unset("HOME");
        ScopedEnv data = ScopedEnv::unset("XDG_DATA_HOME");
        EXPECT_EQ(FilePath::getAppDataPath().path, "~/.local/share");
        // The password database still knows where home is.
        EXPECT_FALSE(FilePath::getHomeDir().path.empty());
        EXPECT_TRUE(FilePath::getHomeDir().isDirectory());
    }
}

TEST(FilePathTest, ExecutableFoldersStandForTheBundle)
{
    char buffer[4096] = {};
    ASSERT_GT(readlink("/proc/self/exe", buffer, sizeof buffer - 1), 0);
    const FilePath exe(buffer);
    EXPECT_EQ(FilePath::getDataFilesDir().path, exe.getParent().path + "/Contents/Resources");
    EXPECT_EQ(FilePath::getCurrentExecutableDir().path, exe.getParent().getParent().path);
}

TEST(FilePathTest, CopyToCopiesTheBytesAndReportsFailure)
{
    TempDir dir;
    FilePath source(dir.write("source.bin", std::string("a\0b\nc", 5)));
    EXPECT_TRUE(source.copyTo(dir.path() + "/copy.bin"));
    EXPECT_EQ(readFile(dir.path() + "/copy.bin"), std::string("a\0b\nc", 5));

    FilePath missing(dir.path() + "/missing");
    EXPECT_FALSE(missing.copyTo(dir.path() + "/never"));
    EXPECT_FALSE(FilePath(dir.path() + "/never").exists());

    FilePath empty;
    EXPECT_FALSE(empty.copyTo(dir.path() + "/nothing"));
    EXPECT_FALSE(source.copyTo(dir.path() + "/no/such/folder/copy"));
}

// Each name would run a command if it ever reached a shell; the command would
// leave a marker file in the working folder. The copy must land under exactly
// the name given, and nothing else may run.
TEST(FilePathTest, CopyToNeverLetsAShellInterpretAPath)
{
    TempDir dir;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const FilePath marker(dir.path() + "/marker");
    const std::string names[] = {
        "with blank",   "quote'in\"side", "semi;touch marker", "$(touch marker)",
        "`touch marker`", "pipe|touch marker", "amp&&touch marker", "star*",
        "new\nline",     "-r",
    };
    int index = 0;
    for (const std::string& name : names) {
        const std::string payload = "payload:" + name;
        // Sources carry the awkward names too: both paths must pass untouched.
        FilePath source(dir.write("src " + name, payload));
        const std::string target = (index++ % 2 == 0) ? dir.path() + "/" + name : name;
        EXPECT_TRUE(source.copyTo(target)) << name;
        EXPECT_EQ(readFile(dir.path() + "/" + name), payload) << name;
        EXPECT_FALSE(marker.exists()) << "a shell ran part of: " << name;
    }

    // A leading "-" stays a path and never becomes an option of the copy.
    dir.write("-v", "dash");
    FilePath dashed("-v");
    EXPECT_TRUE(dashed.copyTo("--target-directory=x"));
    EXPECT_EQ(readFile(dir.path() + "/--target-directory=x"), "dash");

    std::filesystem::current_path(previous);
}
