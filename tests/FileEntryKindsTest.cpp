// Every file the game reads, with whatever a crashed editor, a bad download
// or a curious player may leave at its place: each is refused in one line
// naming the path and what is wrong, without blocking, and the game goes on
// as it does without the file. An alarm ends any case that would hang.

#include "AudioTestSupport.h"
#include "ConfigLoader.h"
#include "CoutCapture.h"
#include "FatalError.h"
#include "LevelLoader.h"
#include "TestSupport.h"
#include "VellumDrawingLib/OpenGLFont.h"
#include "audio/BackgroundMusic.h"
#include "platform/FilePath.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

enum class Kind { Folder, LinkToZero, LinkToRandom, Pipe, Socket, LinkToNothing, LinkLoop, LinkToFolder, Oversized };

const Kind allKinds[] = {Kind::Folder,        Kind::LinkToZero, Kind::LinkToRandom,
                         Kind::Pipe,          Kind::Socket,     Kind::LinkToNothing,
                         Kind::LinkLoop,      Kind::LinkToFolder, Kind::Oversized};

// Puts an entry of that kind at path and answers what a reader should say
// is wrong with it; bound is the reader's limit on the file's size.
std::string makeEntry(Kind kind, const std::string& path, std::uintmax_t bound)
{
    switch (kind) {
    case Kind::Folder:
        EXPECT_EQ(mkdir(path.c_str(), 0755), 0);
        return "is a folder, not a file";
    case Kind::LinkToZero:
    case Kind::LinkToRandom:
        EXPECT_EQ(symlink(kind == Kind::LinkToZero ? "/dev/zero" : "/dev/urandom", path.c_str()), 0);
        return "is a link to a device, not to a file";
    case Kind::Pipe:
        // Nobody ever writes: an open that waited for a writer would hang.
        EXPECT_EQ(mkfifo(path.c_str(), 0644), 0);
        return "is a pipe, not a file";
    case Kind::Socket: {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address = {};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        EXPECT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(fd);
        return "is a socket, not a file";
    }
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

const char* nameOf(Kind kind)
{
    static const char* const names[] = {"folder",       "link to /dev/zero", "link to /dev/urandom",
                                        "pipe",         "socket",            "link to nothing",
                                        "link loop",    "link to a folder",  "oversized file"};
    return names[static_cast<int>(kind)];
}

// What stands at a path, to see that a reader left it as it was.
std::string entryState(const std::string& path)
{
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return "nothing";
    return std::to_string(info.st_mode) + " " + std::to_string(info.st_size);
}

// A case that blocks is ended by the alarm's default action, failing the
// test program instead of hanging it.
class FileEntryKindsTest : public ::testing::Test {
protected:
    void SetUp() override { alarm(60); }
    void TearDown() override { alarm(0); }
};

} // namespace

TEST_F(FileEntryKindsTest, LevelsFileThatIsNoReadableFileEndsTheStartWithALineNamingIt)
{
    for (const Kind kind : allKinds) {
        SCOPED_TRACE(nameOf(kind));
        TempDir dir;
        const std::string path = dir.path() + "/levels.xml";
        const std::string problem = makeEntry(kind, path, LevelLoader::maxFileBytes);
        CoutCapture out;
        try {
            LevelLoader loader(path);
            ADD_FAILURE() << "loaded";
        } catch (const FatalError& error) {
            EXPECT_EQ(error.message, "LevelLoader: " + path + " " + problem + ".");
            EXPECT_EQ(error.exitStatus, 1);
        }
        EXPECT_EQ(out.lines(), std::vector<std::string>{"LevelLoader: Could not load " + path + " levels file"});
    }
}

TEST_F(FileEntryKindsTest, SettingsFileThatIsNoReadableFileLeavesBuiltInValuesAndTheEntryAsItWas)
{
    const ScopedEnv noDisplay = ScopedEnv::unset("DISPLAY");
    for (const Kind kind : allKinds) {
        SCOPED_TRACE(nameOf(kind));
        TempDir dir;
        const ScopedEnv configHome("XDG_CONFIG_HOME", dir.path());
        const std::string folder = dir.path() + "/PlayScaffold";
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        const std::string path = folder + "/PlayScaffold.conf";
        const std::string problem = makeEntry(kind, path, ConfigLoader::maxFileBytes);
        const std::string before = entryState(path);
        const auto entries = [&] {
            return std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator());
        };
        const auto entriesBefore = entries();

        CoutCapture out;
        const ConfigLoader config;
        EXPECT_EQ(out.lines(), std::vector<std::string>{"ConfigLoader: " + path + " " + problem +
                                                        "; using the built-in settings."});
        EXPECT_EQ(config.width, 1024);
        EXPECT_TRUE(config.fullscreen);
        EXPECT_EQ(config.audioApi, "CoreAudio");
        EXPECT_EQ(entryState(path), before);
        EXPECT_EQ(entries(), entriesBefore);
    }
}

TEST_F(FileEntryKindsTest, MusicFileThatIsNoReadableFileIsSaidOnceAndPlaysSilence)
{
    for (const Kind kind : allKinds) {
        SCOPED_TRACE(nameOf(kind));
        TempDir dir;
        const std::string path = dir.path() + "/music.ogg";
        const std::string problem = makeEntry(kind, path, BackgroundMusic::maxFileBytes);
        CoutCapture out;
        auto music = std::make_unique<BackgroundMusic>(path);
        EXPECT_EQ(out.lines(), std::vector<std::string>{"BackgroundMusic: " + path + " " + problem +
                                                        "; playing no music."});
        std::vector<float> block(2 * 4096, 0.25f);
        music->audioBlock(block.data(), 4096);
        EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](float v) { return v == 0.25f; }));
    }
}

// The decoder reads and keeps the headers of every chained stream on
// opening: a file chaining more than the bound is refused before it does.
TEST_F(FileEntryKindsTest, MusicChainingTooManyStreamsIsRefusedInOneLine)
{
    using namespace audiotest;
    TempDir dir;
    const int most = BackgroundMusic::maxChainedStreams;
    const std::string fits =
        writeMusic(dir.path() + "/fits.ogg", std::vector<VorbisStream>(most, glide(1500)));
    const std::string over =
        writeMusic(dir.path() + "/over.ogg", std::vector<VorbisStream>(most + 1, glide(1500)));
    const struct {
        std::string path;
        std::string line;
    } cases[] = {
        {fits, "vorbisfile: Loaded file: " + fits},
        {over, "BackgroundMusic: " + over + " chains more than " + std::to_string(most) +
                   " streams; playing no music."},
    };
    for (const auto& c : cases) {
        CoutCapture out;
        const auto music = std::make_unique<BackgroundMusic>(c.path);
        EXPECT_EQ(out.lines(), std::vector<std::string>{c.line});
    }
}

// A folder of the font's name is searched through like any folder; every
// other kind is said and passed over, and the search goes on to the next
// copy.
TEST_F(FileEntryKindsTest, FontFileThatIsNoReadableFileIsPassedOverForTheNextCopy)
{
    for (const Kind kind : allKinds) {
        if (kind == Kind::Folder || kind == Kind::LinkToFolder)
            continue;
        SCOPED_TRACE(nameOf(kind));
        TempDir home;
        const ScopedEnv env("HOME", home.path());
        ASSERT_EQ(mkdir((home.path() + "/.fonts").c_str(), 0755), 0);
        ASSERT_EQ(mkdir((home.path() + "/.fonts/b").c_str(), 0755), 0);
        const std::string path = home.path() + "/.fonts/Shape.ttf";
        const std::string problem = makeEntry(kind, path, OpenGLFont::maxFileBytes);
        const std::string copy = home.write(".fonts/b/Shape.ttf", "a font");

        CoutCapture out;
        EXPECT_EQ(OpenGLFont::getFontPath("Shape.ttf").path, copy);
        EXPECT_EQ(out.lines(), std::vector<std::string>{"OpenGLFont: " + path + " " + problem +
                                                        "; passing it over."});
    }
}

// SDL_ttf takes an empty file's missing stream without looking.
TEST_F(FileEntryKindsTest, EmptyFontFileIsSaidAndStaysUnloaded)
{
    TempDir home;
    const ScopedEnv env("HOME", home.path());
    ASSERT_EQ(mkdir((home.path() + "/.fonts").c_str(), 0755), 0);
    const std::string path = home.write(".fonts/Empty.ttf", "");
    CoutCapture out;
    const OpenGLFont font("Empty.ttf", 20.0f);
    EXPECT_FALSE(font.loaded);
    ASSERT_EQ(out.lines().size(), 1u);
    EXPECT_EQ(out.lines()[0].rfind("OpenGLFont: Could not load font " + path + ": ", 0), 0u) << out.text();
}

// The settings file is written only where there is nothing or a regular
// file, and either whole or not at all: a write cut short (here by a limit
// on file sizes) leaves the old file and no half-written one beside it.
TEST_F(FileEntryKindsTest, SettingsAreWrittenWholeOrNotAtAll)
{
    const ScopedEnv noDisplay = ScopedEnv::unset("DISPLAY");
    TempDir dir;
    const ScopedEnv configHome("XDG_CONFIG_HOME", dir.path());
    const std::string folder = dir.path() + "/PlayScaffold";
    const std::string path = folder + "/PlayScaffold.conf";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const auto names = [&] {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            found.push_back(entry.path().filename().string());
        return found;
    };

    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    {
        CoutCapture out;
        ConfigLoader().createFile();
        EXPECT_EQ(out.lines().back(), "Could not create " + path);
    }
    EXPECT_TRUE(FilePath(path).isDirectory());
    ASSERT_EQ(rmdir(path.c_str()), 0);

    const std::string old = "w 640\nh 480\n";
    dir.write("PlayScaffold/PlayScaffold.conf", old);
    rlimit before;
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &before), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::vector<std::string> lines;
    {
        CoutCapture out;
        ConfigLoader().createFile();
        lines = out.lines();
    }
    setrlimit(RLIMIT_FSIZE, &before);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(lines.back(), "Could not create " + path);
    EXPECT_EQ(readFile(path), old);
    EXPECT_EQ(names(), std::vector<std::string>{"PlayScaffold.conf"});

    {
        CoutCapture out;
        ConfigLoader().createFile();
    }
    EXPECT_NE(readFile(path), old);
    EXPECT_EQ(readFile(path).substr(readFile(path).size() - 4), "r 0\n");
    EXPECT_EQ(names(), std::vector<std::string>{"PlayScaffold.conf"});
}
