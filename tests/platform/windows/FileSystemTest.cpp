// Paths on Windows in letters beyond ASCII, taken apart at either separator.
// What stands at a path is refused in the same words as on Linux
// (tests/platform/FilePathTest.cpp, with the device names and junctions of
// support/windows/TestPlatform.cpp).
#include "platform/FilePath.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

// A player's folder may be named in any letters; a path may be written with
// either separator.
TEST(FileSystemTest, PathsInAnyLettersAreMadeReadListedAndTakenApartAtEitherSeparator)
{
    const TempDir dir;
    const FilePath folder = FilePath(dir.path()).getChild("Spiele für alle 日本").getChild("Ünter");
    EXPECT_EQ(folder.createWithParents(), "");
    EXPECT_TRUE(folder.isDirectory());
    FilePath file = folder.getChild("Zoë 日本.conf");
    EXPECT_EQ(file.writeWhole("w 800\n"), "");
    std::string bytes, problem;
    EXPECT_TRUE(file.readWhole(100, bytes, problem)) << problem;
    EXPECT_EQ(bytes, "w 800\n");
    EXPECT_EQ(folder.getChild(0).path, file.path);
    EXPECT_TRUE(file.copyTo(folder.getChild("Kopie ß.conf").path));
    EXPECT_EQ(readFile(folder.getChild("Kopie ß.conf").path), "w 800\n");
    EXPECT_EQ(file.path, folder.path + "\\Zoë 日本.conf");
    EXPECT_EQ(FilePath("C:\\a/b\\c.d").getParent().path, "C:\\a/b");
    EXPECT_EQ(FilePath("C:\\a/b\\c.d").getName(), "c");
    EXPECT_EQ(FilePath("C:/a\\b/c.d").getNameWithExtension(), "c.d");
    EXPECT_EQ(FilePath(dir.path() + "/x/y").createWithParents(), "");
    EXPECT_TRUE(FilePath(dir.path() + "\\x\\y").isDirectory());
}
