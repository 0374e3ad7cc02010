// Whatever a crashed editor, a bad download or a curious player may leave
// where the game expects a file. FilePath's checks are proven against every
// kind of entry in tests/platform/FilePathTest.cpp; here each reader is shown
// to go through them: it refuses in one line naming the path and what is
// wrong, without blocking, writes over nothing, and the game goes on as it
// does without the file. An alarm ends any case that would hang.

#include "audio/BackgroundMusic.h"
#include "CoutCapture.h"
#include "FatalError.h"
#include "game/LevelLoader.h"
#include "platform/FilePath.h"
#include "shell/ConfigLoader.h"
#include "shell/JourneyFile.h"
#include "TestSupport.h"
#include "VellumDrawingLib/OpenGLFont.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

// A case that blocks is ended by the alarm's default action, failing the
// test program instead of hanging it.
class FileEntryKindsTest : public ::testing::Test {
protected:
    void SetUp() override { alarm(60); }
    void TearDown() override { alarm(0); }
};

} // namespace

// Every kind, among them the folder, since a reader that measured it as a
// file once asked for an absurd amount of memory; the pipe, which blocks a
// reader that opens it plainly; the link to nothing, which no reader may take
// for a missing file and write through; the oversized file, against each
// reader's own bound.
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
        for (const NoFileEntry& entry : entriesThatAreNoFile(reader.bound)) {
            // A folder of the font's name, or a link to one, is searched through like any folder.
            if (entry.name == "missing" ||
                (reader.bound == OpenGLFont::maxFileBytes && entry.readProblem.find("folder") != std::string::npos))
                continue;
            SCOPED_TRACE(std::string(reader.name) + ", " + entry.name);
            TempDir dir;
            const ScopedEnv home("HOME", dir.path()), configHome("XDG_CONFIG_HOME", dir.path());
            std::filesystem::create_directories(dir.path() + "/PlayScaffold");
            dir.write(".fonts/b/Shape.ttf", "a font");
            const std::string path = dir.path() + "/" + reader.name;
            ASSERT_TRUE(entry.make(path));
            const std::vector<std::string> before = snapshot(dir.path());
            CoutCapture out;
            reader.use(path);
            const std::vector<std::string> said = out.lines();
            EXPECT_NE(std::find(said.begin(), said.end(), reader.before + path + " " + entry.readProblem + reader.after),
                      said.end()) << out.text();
            // Only a regular file may be written over.
            if (!entry.writeProblem.empty()) {
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
