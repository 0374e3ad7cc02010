#include "platform/FilePath.h"

#include "FatalError.h"
#include "game/LevelLoader.h"
#include "platform/PathSeparators.h"
#include "TestPlatform.h"
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

// Whatever a crashed editor, a bad download or a curious player may leave
// where the game expects a file is refused in the same words on every
// system, without blocking, and nothing is written over, through or beside
// it; the levels file refuses what is no file at all in its own words.
TEST(FilePathTest, EntryThatIsNoReadableFileIsRefusedInTheSameWordsEverywhereAndNeverWrittenOver)
{
    const TempDir dir;
    for (const NoFileEntry& entry : entriesThatAreNoFile(100)) {
        SCOPED_TRACE(entry.name);
        const FilePath file = FilePath(dir.path()).getChild(entry.name);
        // Wine's file system makes no junctions; every other entry must stand.
        if (!entry.make(file.path)) {
            EXPECT_TRUE(TestPlatform::isWine()) << "could not make one";
            continue;
        }
        const std::vector<std::string> before = snapshot(dir.path());
        EXPECT_EQ(file.readProblem(100), entry.readProblem);
        std::string bytes, problem;
        EXPECT_FALSE(file.readWhole(100, bytes, problem));
        EXPECT_EQ(problem, entry.readProblem);
        EXPECT_EQ(file.isAbsent(), entry.name == "missing");
        if (!entry.writeProblem.empty()) {
            EXPECT_EQ(file.writeWhole("new"), entry.writeProblem);
            try {
                LevelLoader loader(file.path);
                ADD_FAILURE() << "gave levels";
            } catch (const FatalError& error) {
                EXPECT_EQ(error.message, "LevelLoader: " + file.path + " " + entry.readProblem + ".");
            }
        }
        EXPECT_EQ(snapshot(dir.path()), before);
    }
    // Only a device's whole name counts: these are ordinary files.
    for (const std::string name : {"console.txt", "null", "com10"})
        EXPECT_EQ(FilePath(dir.write(name, "plain")).readProblem(100), "") << name;
}

// The new file is written beside the old one and then replaces it in one
// step: a write that fails (the old file held open, as an editor or a
// scanner may hold it on Windows; the disk full) leaves the old file and
// nothing beside it.
TEST(FilePathTest, WholeWritesReplaceInOneStepOrLeaveTheOldFileAlone)
{
    const TempDir dir;
    const FilePath file = FilePath(dir.path()).getChild("settings.conf");
    EXPECT_EQ(file.writeWhole("first\n"), "");
    EXPECT_EQ(file.writeWhole("second\n"), "");
    EXPECT_EQ(readFile(file.path), "second\n");
    {
        const auto failing = TestPlatform::failWritesTo(file.path);
        EXPECT_EQ(file.writeWhole("third, and longer than any write may be\n").rfind("cannot be written: ", 0), 0u);
    }
    EXPECT_EQ(readFile(file.path), "second\n");
    EXPECT_EQ(snapshot(dir.path()).size(), 1u);
}

TEST(FilePathTest, MovesAFileOrAFolderToAFreeNameAndNeverOverAnything)
{
    const TempDir dir;
    const FilePath root(dir.path());
    const FilePath file(dir.write("planes.xml", "damaged"));
    const FilePath kept = root.getChild("kept.xml");
    EXPECT_EQ(file.moveTo(kept), "");
    EXPECT_TRUE(file.isAbsent());
    EXPECT_EQ(readFile(kept.path), "damaged");

    // Whatever stands at the new name, a file or an empty folder, stays.
    const FilePath folder = root.getChild("folder");
    ASSERT_TRUE(folder.createAsDirectory());
    const FilePath emptyFolder = root.getChild("empty");
    ASSERT_TRUE(emptyFolder.createAsDirectory());
    for (const FilePath& taken : {kept, emptyFolder}) {
        const std::vector<std::string> before = snapshot(dir.path());
        EXPECT_NE(folder.moveTo(taken), "") << taken.path;
        EXPECT_EQ(snapshot(dir.path()), before);
    }
    EXPECT_EQ(folder.moveTo(root.getChild("moved")), "");
    EXPECT_TRUE(root.getChild("moved").isDirectory());
    EXPECT_NE(root.getChild("nothing").moveTo(root.getChild("other")), "");
}
