// Whatever a crashed editor, a bad download or a curious player may leave
// where the game expects a file. FilePath's checks are proven once against
// every kind of entry; then each reader is shown to go through them: it
// refuses in one line naming the path and what is wrong, without blocking,
// writes over nothing, and the game goes on as it does without the file. An
// alarm ends any case that would hang.

#include "audio/BackgroundMusic.h"
#include "AudioTestSupport.h"
#include "CoutCapture.h"
#include "FatalError.h"
#include "game/LevelLoader.h"
#include "platform/FilePath.h"
#include "shell/ConfigLoader.h"
#include "shell/JourneyFile.h"
#include "TestSupport.h"
#include "VellumDrawingLib/OpenGLFont.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

enum class Kind { Folder, LinkToDevice, Pipe, Socket, LinkToNothing, LinkLoop, LinkToFolder, Oversized };

const char* const kindNames[] = {"folder",          "link to /dev/zero", "pipe",     "socket",
                                 "link to nothing", "link loop",         "link to a folder", "oversized file"};

// Puts an entry of that kind at path and answers what a reader should say
// is wrong with it; bound is the reader's limit on the file's size.
std::string makeEntry(Kind kind, const std::string& path, std::uintmax_t bound)
{
    switch (kind) {
    case Kind::Folder:
        EXPECT_EQ(mkdir(path.c_str(), 0755), 0);
        return "is a folder, not a file";
    case Kind::LinkToDevice:
        EXPECT_EQ(symlink("/dev/zero", path.c_str()), 0);
        return "is a link to a device, not to a file";
    case Kind::Pipe:
    case Kind::Socket:
        // Nobody ever writes to the pipe: an open that waited for a writer would hang.
        EXPECT_EQ(mknod(path.c_str(), (kind == Kind::Pipe ? S_IFIFO : S_IFSOCK) | 0644, 0), 0);
        return kind == Kind::Pipe ? "is a pipe, not a file" : "is a socket, not a file";
    case Kind::LinkToNothing:
        EXPECT_EQ(symlink((path + ".gone").c_str(), path.c_str()), 0);
        return "is a link to nothing";
    case Kind::LinkLoop:
        EXPECT_EQ(symlink((path + ".other").c_str(), path.c_str()), 0);
        EXPECT_EQ(symlink(path.c_str(), (path + ".other").c_str()), 0);
        return "is a link that leads round in a circle";
    case Kind::LinkToFolder:
        EXPECT_EQ(mkdir((path + ".d").c_str(), 0755), 0);
        EXPECT_EQ(symlink((path + ".d").c_str(), path.c_str()), 0);
        return "is a link to a folder, not to a file";
    case Kind::Oversized:
        // Sparse: the size is there without the bytes.
        EXPECT_EQ(std::fclose(std::fopen(path.c_str(), "w")), 0);
        EXPECT_EQ(truncate(path.c_str(), static_cast<off_t>(bound + 1)), 0);
        return "is " + std::to_string(bound + 1) + " bytes, more than the " + std::to_string(bound) +
               " it may hold";
    }
    return "";
}

// Every entry below a folder as lstat sees it, to show that nothing was
// written over, through or beside what stood there.
Lines snapshot(const std::string& folder)
{
    Lines found;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        struct stat info;
        EXPECT_EQ(lstat(entry.path().c_str(), &info), 0);
        found.push_back(entry.path().string() + " " + std::to_string(info.st_mode) + " " +
                        std::to_string(info.st_size));
    }
    std::sort(found.begin(), found.end());
    return found;
}

// A case that blocks is ended by the alarm's default action, failing the
// test program instead of hanging it.
class FileEntryKindsTest : public ::testing::Test {
protected:
    void SetUp() override { alarm(60); }
    void TearDown() override { alarm(0); }
};

} // namespace

TEST_F(FileEntryKindsTest, EntryThatIsNoReadableFileIsRefusedWithoutBlockingAndNeverWrittenOver)
{
    const std::uintmax_t bound = 100;
    for (int k = 0; k <= static_cast<int>(Kind::Oversized); ++k) {
        SCOPED_TRACE(kindNames[k]);
        TempDir dir;
        const FilePath file(dir.path() + "/entry");
        const std::string expected = makeEntry(static_cast<Kind>(k), file.path, bound);
        const Lines before = snapshot(dir.path());
        EXPECT_EQ(file.readProblem(bound), expected);
        std::string bytes, problem;
        EXPECT_FALSE(file.readWhole(bound, bytes, problem));
        EXPECT_EQ(problem, expected);
        EXPECT_FALSE(file.isAbsent());
        if (static_cast<Kind>(k) != Kind::Oversized) {
            EXPECT_NE(file.writeWhole("new"), "");
        }
        EXPECT_EQ(snapshot(dir.path()), before);
    }
}

// The folder, since a reader that measured it as a file once asked for an
// absurd amount of memory; the pipe, which blocks a reader that opens it
// plainly; the link to nothing, which no reader may take for a missing file
// and write through; the oversized file, against each reader's own bound.
TEST_F(FileEntryKindsTest, EachReaderRefusesWhatFilePathRefusesInOneLineAndGoesOnWithoutIt)
{
    const ScopedEnv noDisplay("DISPLAY", nullptr);
    const struct {
        const char *name, *before, *after;
        std::uintmax_t bound;
        // Reads path, and writes it where the reader would.
        std::function<void(const std::string& path)> use;
    } readers[] = {
        {"levels.xml", "LevelLoader: ", ".", LevelLoader::maxFileBytes,
         [](const std::string& path) {
             try {
                 LevelLoader loader(path);
             } catch (const FatalError& error) {
                 std::cout << error.message << std::endl;
             }
         }},
        {"PlayScaffold/PlayScaffold.conf", "ConfigLoader: ", "; using the built-in settings.",
         ConfigLoader::maxFileBytes, [](const std::string&) { ConfigLoader().createFile(); }},
        {"music.ogg", "BackgroundMusic: ", "; playing no music.", BackgroundMusic::maxFileBytes,
         [](const std::string& path) { std::make_unique<BackgroundMusic>(path); }},
        // The search goes on to the next copy.
        {".fonts/Shape.ttf", "OpenGLFont: ", "; passing it over.", OpenGLFont::maxFileBytes,
         [](const std::string& path) {
             EXPECT_EQ(OpenGLFont::getFontPath("Shape.ttf").path, FilePath(path).getParent().path + "/b/Shape.ttf");
         }},
        {"state", "JourneyFile: ", "; it is ignored.", JourneyFile::maxBytes, [](const std::string& path) {
             JourneyFile file(path);
             JourneyState state;
             EXPECT_FALSE(file.load(state));
             file.save(state);
         }},
    };
    for (const auto& reader : readers) {
        for (const Kind kind : {Kind::Folder, Kind::Pipe, Kind::LinkToNothing, Kind::Oversized}) {
            // A folder of the font's name is searched through like any folder.
            if (kind == Kind::Folder && reader.bound == OpenGLFont::maxFileBytes)
                continue;
            SCOPED_TRACE(std::string(reader.name) + ", " + kindNames[static_cast<int>(kind)]);
            TempDir dir;
            const ScopedEnv home("HOME", dir.path()), configHome("XDG_CONFIG_HOME", dir.path());
            std::filesystem::create_directories(dir.path() + "/PlayScaffold");
            std::filesystem::create_directories(dir.path() + "/.fonts/b");
            dir.write(".fonts/b/Shape.ttf", "a font");
            const std::string path = dir.path() + "/" + reader.name;
            const std::string problem = makeEntry(kind, path, reader.bound);
            const Lines before = snapshot(dir.path());
            CoutCapture out;
            reader.use(path);
            const Lines said = out.lines();
            EXPECT_NE(std::find(said.begin(), said.end(), reader.before + path + " " + problem + reader.after),
                      said.end()) << out.text();
            // Only a regular file may be written over.
            if (kind != Kind::Oversized) {
                EXPECT_EQ(snapshot(dir.path()), before);
            }
        }
    }
}

// Each name would run a command if it ever reached a shell; the command would
// leave a marker file in the working folder. The copy must land under exactly
// the name given, and nothing else may run.
TEST(FileSystemTest, CopyToCopiesTheBytesReportsFailureAndNeverLetsAShellInterpretAPath)
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
