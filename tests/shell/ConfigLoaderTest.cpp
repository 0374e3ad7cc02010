#include "shell/ConfigLoader.h"
#include "CoutCapture.h"
#include "platform/FilePath.h"
#include "platform/ScreenResolution.h"
#include "TestPlatform.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// What a ConfigLoader holds, in the file's order of keys.
std::string settingsOf(const ConfigLoader& c)
{
    return std::to_string(c.width) + " " + std::to_string(c.height) + " " + std::to_string(c.antialias) + " " +
           std::to_string(c.fullscreen) + " " + std::to_string(c.noSound) + " " + std::to_string(c.noMusic) +
           " '" + c.audioApi + "' " + std::to_string(c.randomLevels);
}

// Without a display to ask, the size written on a first start is the fixed
// fallback (a busy virtual display may refuse a connection, and the test
// could not tell which answer the file got). Windows always answers, with
// the test command's virtual display.
std::string width() { return std::to_string(ScreenResolution::getScreenWidth()); }
std::string height() { return std::to_string(ScreenResolution::getScreenHeight()); }
// What a file that cannot be read leaves: the built-in values.
std::string builtIn() { return "1024 768 0 1 0 0 'CoreAudio' 0"; }
// What a first start writes and then reads back.
std::string firstStart() { return width() + " " + height() + " 0 1 0 0 'CoreAudio' 0"; }
std::string defaultFile() { return "w " + width() + "\nh " + height() + "\na 0\nf 1\nns 0\nnm 0\naa CoreAudio\nr 0\n"; }

// Each test gets its own settings root; HOME points elsewhere so that a
// fallback to it would show.
class ConfigLoaderTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedEnv noDisplay{"DISPLAY", nullptr};
    ScopedEnv home{"HOME", dir.path() + "/home"};
    ScopedEnv configHome{TestPlatform::settingsVariable(), dir.path() + "/config"};

    std::string folder() const { return FilePath(dir.path() + "/config").getChild("PlayScaffold").path; }
    std::string file() const { return FilePath(folder()).getChild("PlayScaffold.conf").path; }

    void writeSettings(const std::string& content) const
    {
        dir.write("config/PlayScaffold/PlayScaffold.conf", content);
    }
};

} // namespace

TEST_F(ConfigLoaderTest, FirstStartCreatesFoldersWritesDefaultsReadsThemBackAndNeverRewrites)
{
    {
        CoutCapture out;
        EXPECT_EQ(settingsOf(ConfigLoader()), firstStart());
        EXPECT_EQ(out.lines(), (Lines{"Created directory " + folder(), "width = " + width(), "height = " + height(), "fullscreen = 1"}));
    }
    EXPECT_EQ(readFile(file()), defaultFile());
    writeSettings("aa JACK\n");
    CoutCapture quietNow;
    const ConfigLoader again;
    EXPECT_EQ(quietNow.text(), "") << "the folder stands: no word of it";
    EXPECT_EQ(readFile(file()), "aa JACK\n");
    again.createFile();
    EXPECT_EQ(readFile(file()), defaultFile());
}

TEST_F(ConfigLoaderTest, FolderThatCannotBeMadeLeavesTheBuiltInValues)
{
    const std::string blocker = dir.write("plain-file", "not a folder");
    const ScopedEnv configHomeIsAFile(TestPlatform::settingsVariable(), blocker);
    CoutCapture out;
    EXPECT_EQ(settingsOf(ConfigLoader()), builtIn());
    const FilePath folder = FilePath(blocker).getChild("PlayScaffold");
    EXPECT_EQ(out.lines(), (Lines{"Could not create directory " + folder.path,
                                  "Could not create " + folder.getChild("PlayScaffold.conf").path}));
}

// A write that fails leaves the old file and no half-written one beside it.
TEST_F(ConfigLoaderTest, SettingsAreWrittenWholeOrNotAtAll)
{
    writeSettings("w 640\n");
    CoutCapture out;
    {
        const auto failing = TestPlatform::failWritesTo(file());
        ConfigLoader().createFile();
    }
    EXPECT_EQ(out.lines().back(), "Could not create " + file());
    EXPECT_EQ(readFile(file()), "w 640\n");
    EXPECT_EQ(snapshot(folder()).size(), 1u);
}

TEST_F(ConfigLoaderTest, LineSetsWhatItsKeySaysAndEchoesWidthHeightFullscreen)
{
    const struct {
        std::string content, settings;
        Lines echo;
    } cases[] = {
        {"w=800px\nh -20\n", "800 -20 0 1 0 0 'CoreAudio' 0", {"width = 800", "height = -20"}},
        {"w 99999999999\n", builtIn(), {"width = 1024"}},
        {"f 2\nr 3\nns1\nnx 1\n", builtIn(), {"fullscreen = 1"}},
        {"aa\n", "1024 768 0 1 0 0 '' 0", {}},
        {"a\na four\n# w 5\n5 w 6\n\n \n", builtIn(), {}},
        {"w 640\nh 480", "640 480 0 1 0 0 'CoreAudio' 0", {"width = 640", "height = 480"}},
        {"w 800\r\naa JACK\r\n", "800 768 0 1 0 0 'JACK' 0", {"width = 800"}},
        {"r 1\nnm 1\nf 0\nh 600\nw 800\naa ALSA\na 2\nns 1\n", "800 600 2 0 1 1 'ALSA' 1",
         {"fullscreen = 0", "height = 600", "width = 800"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.content);
        writeSettings(c.content);
        CoutCapture out;
        EXPECT_EQ(settingsOf(ConfigLoader()), c.settings);
        EXPECT_EQ(out.lines(), c.echo);
    }
}

TEST_F(ConfigLoaderTest, OverlongLineIsCutAndItsRestNeverBecomesAnotherLine)
{
    const std::string cut(ConfigLoader::maxLineLength - 3, 'x');
    const std::string fits(ConfigLoader::maxLineLength - 3, 'z');
    // The part past the limit looks like a width line; it must not count.
    writeSettings("aa " + cut + "w 5\n" + "h 480\n" + "aa " + fits + "\n");
    CoutCapture out;
    const ConfigLoader config;
    EXPECT_EQ(config.audioApi, fits);
    EXPECT_EQ(config.width, 1024);
    EXPECT_EQ(out.lines(), Lines{"height = 480"});

    writeSettings("h 480\naa " + std::string(ConfigLoader::maxFileBytes - 10, 'y'));
    const ConfigLoader last;
    EXPECT_EQ(last.height, 480);
    EXPECT_EQ(last.audioApi, std::string(ConfigLoader::maxLineLength - 3, 'y'));
}
