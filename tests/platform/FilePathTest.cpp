#include "platform/FilePath.h"
#include "platform/PathSeparators.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

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
    const std::string separator(1, PathSeparators::preferred());
    EXPECT_EQ(FilePath(dir.path()).getChild("x.d").getChild("y").path, dir.path() + separator + "x.d" + separator + "y");
    std::filesystem::create_directory(dir.path() + "/x.d");
    EXPECT_EQ(FilePath(dir.path() + "/x.d").getExtension(), "");
}

TEST(FilePathTest, ChildrenAreListedInByteOrderWithHiddenEntries)
{
    TempDir dir;
    // Names that differ by more than case, which Windows does not tell apart.
    for (const char* name : {"b", "B2", ".hidden", "a"})
        dir.write(name, "");
    const FilePath folder(dir.path());
    ASSERT_EQ(folder.getNumChildren(), 4);
    for (const auto& [index, name] : {std::pair{0, ".hidden"}, {1, "B2"}, {2, "a"}, {3, "b"}, {4, ""}, {-1, ""}})
        EXPECT_EQ(folder.getChild(index).path, *name ? folder.getChild(name).path : "") << index;
    EXPECT_EQ(FilePath(dir.path() + "/a").getNumChildren(), 0);
    EXPECT_EQ(FilePath().getNumChildren(), 0);
}
