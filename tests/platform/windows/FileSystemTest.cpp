// What stands at a path on Windows, in the same words as on Linux: the names
// Windows keeps for devices in every folder, folders, files too large,
// junctions and links; whole-or-nothing writes; and paths in letters beyond
// ASCII, taken apart at either separator.
#include "platform/FilePath.h"

#include "FatalError.h"
#include "game/LevelLoader.h"
#include "platform/windows/WideText.h"
#include "TestPlatform.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winioctl.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(fs::u8path(folder)))
        names.push_back(entry.path().filename().u8string());
    return names;
}

// A junction at link to the folder target, made as mklink /j makes it;
// false where the file system takes no reparse points.
bool makeJunction(const std::string& link, const std::string& target)
{
    const std::wstring substitute = L"\\??\\" + WideText::fromUtf8(target);
    if (!CreateDirectoryW(WideText::fromUtf8(link).c_str(), nullptr))
        return false;
    const HANDLE folder = CreateFileW(WideText::fromUtf8(link).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (folder == INVALID_HANDLE_VALUE)
        return false;
    // The mount point's reparse data: its tag and size, then the substitute
    // and the (empty) print name, each closed by a null.
    const WORD nameBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
    std::vector<unsigned char> buffer(8 + 8 + nameBytes + 2 * sizeof(wchar_t));
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD dataBytes = static_cast<WORD>(buffer.size() - 8), printOffset = nameBytes + sizeof(wchar_t);
    const WORD header[] = {dataBytes, 0, 0, nameBytes, printOffset, 0};
    std::memcpy(buffer.data(), &tag, sizeof tag);
    std::memcpy(buffer.data() + 4, header, sizeof header);
    std::memcpy(buffer.data() + 16, substitute.c_str(), nameBytes);
    DWORD returned = 0;
    const bool made = DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                                      nullptr, 0, &returned, nullptr) != 0;
    CloseHandle(folder);
    if (!made)
        RemoveDirectoryW(WideText::fromUtf8(link).c_str());
    return made;
}

} // namespace

// Windows keeps CON, NUL, COM1 ... in every folder, with any extension: a
// reader that opened one would wait on a console or read nothing for ever.
// Each is refused in Linux's words, as a folder and a file too large are,
// and nothing is written over or beside it.
TEST(FileSystemTest, DevicesFoldersAndFilesTooLargeAreRefusedInLinuxsWordsAndNeverWritten)
{
    const TempDir dir;
    ASSERT_TRUE(FilePath(dir.path() + "\\folder").createAsDirectory());
    dir.write("large", std::string(101, 'x'));
    const std::pair<const char*, std::string> cases[] = {
        {"CON", "is a device, not a file"},      {"nul", "is a device, not a file"},
        {"NUL.txt", "is a device, not a file"},  {"com1", "is a device, not a file"},
        {"LPT9.log", "is a device, not a file"}, {"aux ", "is a device, not a file"},
        {"folder", "is a folder, not a file"},   {"large", "is 101 bytes, more than the 100 it may hold"},
        {"missing", "does not exist"},
    };
    for (const auto& [name, problem] : cases) {
        const FilePath entry(dir.path() + "\\" + name);
        EXPECT_EQ(entry.readProblem(100), problem) << name;
        std::string bytes, read;
        EXPECT_FALSE(entry.readWhole(100, bytes, read));
        EXPECT_EQ(read, problem) << name;
        EXPECT_EQ(entry.isAbsent(), problem == "does not exist") << name;
        if (problem.find("device") != std::string::npos || problem.find("folder") != std::string::npos) {
            EXPECT_EQ(entry.writeWhole("new"), problem) << name;
        }
    }
    EXPECT_EQ(entries(dir.path()), (std::vector<std::string>{"folder", "large"}));
    // Only the whole name counts: these are ordinary files.
    for (const std::string name : {"console.txt", "null", "com10"})
        EXPECT_EQ(FilePath(dir.write(name, "plain")).readProblem(100), "") << name;
    // The levels file refuses one in its own words, as every reader does.
    try {
        LevelLoader loader(dir.path() + "\\NUL.xml");
        ADD_FAILURE() << "a device gave levels";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.message, "LevelLoader: " + dir.path() + "\\NUL.xml is a device, not a file.");
    }
}

// A junction is followed as a link is on Linux. Wine makes none.
TEST(FileSystemTest, JunctionToAFolderIsAFollowedLink)
{
    const TempDir dir;
    const std::string target = dir.path() + "\\target", junction = dir.path() + "\\junction";
    ASSERT_TRUE(FilePath(target).createAsDirectory());
    if (!makeJunction(junction, target))
        GTEST_SKIP() << "this file system makes no junctions (Wine answers ERROR_NOT_SUPPORTED)";
    EXPECT_EQ(FilePath(junction).readProblem(100), "is a link to a folder, not to a file");
    EXPECT_EQ(FilePath(junction).writeWhole("new"), "is a link, not a file");
}

// The new file is written beside the old one and then replaces it in one
// step: a replace that cannot happen (the old file held open, as an editor
// or a scanner may hold it) leaves the old file and nothing beside it.
TEST(FileSystemTest, WholeWritesReplaceInOneStepOrLeaveTheOldFileAlone)
{
    const TempDir dir;
    const FilePath file(dir.path() + "\\settings.conf");
    EXPECT_EQ(file.writeWhole("first\n"), "");
    EXPECT_EQ(file.writeWhole("second\n"), "");
    EXPECT_EQ(readFile(file.path), "second\n");
    {
        const auto held = TestPlatform::failWritesTo(file.path);
        EXPECT_EQ(file.writeWhole("third\n").rfind("cannot be written: ", 0), 0u);
    }
    EXPECT_EQ(readFile(file.path), "second\n");
    EXPECT_EQ(entries(dir.path()), std::vector<std::string>{"settings.conf"});
}

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
