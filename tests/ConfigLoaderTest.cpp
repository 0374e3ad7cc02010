#include "ConfigLoader.h"
#include "CoutCapture.h"
#include "TestSupport.h"
#include "platform/ScreenResolution.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

// What a ConfigLoader holds, with the built-in values as defaults.
struct Settings {
    int width = 1024;
    int height = 768;
    int antialias = 0;
    bool fullscreen = true;
    bool noSound = false;
    bool noMusic = false;
    std::string audioApi = "CoreAudio";
    bool randomLevels = false;
};

void expectSettings(const ConfigLoader& config, const Settings& expected)
{
    EXPECT_EQ(config.width, expected.width);
    EXPECT_EQ(config.height, expected.height);
    EXPECT_EQ(config.antialias, expected.antialias);
    EXPECT_EQ(config.fullscreen, expected.fullscreen);
    EXPECT_EQ(config.noSound, expected.noSound);
    EXPECT_EQ(config.noMusic, expected.noMusic);
    EXPECT_EQ(config.audioApi, expected.audioApi);
    EXPECT_EQ(config.randomLevels, expected.randomLevels);
}

std::string defaultFile()
{
    return "w " + std::to_string(ScreenResolution::getScreenWidth()) + "\nh " +
           std::to_string(ScreenResolution::getScreenHeight()) +
           "\na 0\nf 1\nns 0\nnm 0\naa CoreAudio\nr 0\n";
}

// Each test gets its own settings root; HOME points elsewhere so that a
// fallback to it would show. Without a display to ask, the size written on a
// first start is the fixed fallback: the virtual display now and then refuses
// a connection, and the test could not tell which answer the file got.
class ConfigLoaderTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedEnv noDisplay = ScopedEnv::unset("DISPLAY");
    ScopedEnv home{"HOME", dir.path() + "/home"};
    ScopedEnv configHome{"XDG_CONFIG_HOME", dir.path() + "/config"};

    std::string folder() const { return dir.path() + "/config/PlayScaffold"; }
    std::string file() const { return folder() + "/PlayScaffold.conf"; }

    void writeSettings(const std::string& content) const
    {
        ASSERT_EQ(mkdir((dir.path() + "/config").c_str(), 0755), 0);
        ASSERT_EQ(mkdir(folder().c_str(), 0755), 0);
        dir.write("config/PlayScaffold/PlayScaffold.conf", content);
    }
};

} // namespace

TEST_F(ConfigLoaderTest, FirstStartCreatesFoldersWritesDefaultsAndReadsThemBack)
{
    const ScopedEnv deeper("XDG_CONFIG_HOME", dir.path() + "/a/b");
    const std::string created = dir.path() + "/a/b/PlayScaffold";
    CoutCapture out;
    const ConfigLoader config;

    const int screenWidth = ScreenResolution::getScreenWidth();
    const int screenHeight = ScreenResolution::getScreenHeight();
    EXPECT_EQ(out.lines(), (std::vector<std::string>{"Created directory " + created,
                                                     "width = " + std::to_string(screenWidth),
                                                     "height = " + std::to_string(screenHeight),
                                                     "fullscreen = 1"}));
    EXPECT_EQ(readFile(created + "/PlayScaffold.conf"), defaultFile());
    Settings expected;
    expected.width = screenWidth;
    expected.height = screenHeight;
    expectSettings(config, expected);
}

TEST_F(ConfigLoaderTest, FolderPresentFileAbsentWritesTheFileWithoutAWordAboutIt)
{
    ASSERT_EQ(mkdir((dir.path() + "/config").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(folder().c_str(), 0755), 0);
    CoutCapture out;
    const ConfigLoader config;

    ASSERT_EQ(out.lines().size(), 3u);
    EXPECT_EQ(out.lines()[0].rfind("width = ", 0), 0u);
    EXPECT_EQ(readFile(file()), defaultFile());
}

TEST_F(ConfigLoaderTest, ExistingFileIsNeverRewritten)
{
    writeSettings("aa JACK\n");
    CoutCapture out;
    const ConfigLoader config;
    EXPECT_EQ(readFile(file()), "aa JACK\n");
}

TEST_F(ConfigLoaderTest, FolderFallsBackToHomeConfigWhenConfigHomeIsUnsetEmptyOrRelative)
{
    const std::string expected = dir.path() + "/home/.config/PlayScaffold";
    for (const char* configHomeValue : {static_cast<const char*>(nullptr), "", "relative/config"}) {
        SCOPED_TRACE(configHomeValue ? configHomeValue : "unset");
        std::filesystem::remove_all(dir.path() + "/home");
        ScopedEnv configHomeGone = configHomeValue ? ScopedEnv("XDG_CONFIG_HOME", configHomeValue)
                                                   : ScopedEnv::unset("XDG_CONFIG_HOME");
        CoutCapture out;
        EXPECT_EQ(getFilePath(), expected);
        EXPECT_EQ(out.lines(), std::vector<std::string>{"Created directory " + expected});
        EXPECT_TRUE(std::filesystem::is_directory(expected));
    }
}

TEST_F(ConfigLoaderTest, ExistingFolderIsReturnedQuietly)
{
    {
        const CoutCapture quiet;
        getFilePath();
    }
    CoutCapture out;
    EXPECT_EQ(getFilePath(), folder());
    EXPECT_EQ(out.text(), "");
}

TEST_F(ConfigLoaderTest, FolderThatCannotBeMadeLeavesBuiltInValuesWithOneMessageEach)
{
    const std::string blocker = dir.write("plain-file", "not a folder");
    const ScopedEnv configHomeIsAFile("XDG_CONFIG_HOME", blocker);
    CoutCapture out;
    const ConfigLoader config;

    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{"Could not create directory " + blocker + "/PlayScaffold",
                                        "Could not create " + blocker + "/PlayScaffold/PlayScaffold.conf"}));
    expectSettings(config, Settings());
}

TEST_F(ConfigLoaderTest, SettingsFileThatIsAFolderLeavesBuiltInValues)
{
    ASSERT_EQ(mkdir((dir.path() + "/config").c_str(), 0755), 0);
    ASSERT_EQ(mkdir(folder().c_str(), 0755), 0);
    ASSERT_EQ(mkdir(file().c_str(), 0755), 0);
    CoutCapture out;
    const ConfigLoader config;
    expectSettings(config, Settings());
}

TEST_F(ConfigLoaderTest, CreateFileReplacesWhateverIsThere)
{
    writeSettings("w 1\nh 2\n");
    CoutCapture out;
    const ConfigLoader config;
    config.createFile();
    EXPECT_EQ(readFile(file()), defaultFile());
}

namespace {

struct LineCase {
    const char* name;
    std::string content;
    std::function<void(Settings&)> change;
    std::vector<std::string> echo;
};

const std::vector<LineCase> lineCases = {
    {"OnlyAudioApiLine", "aa JACK\n", [](Settings& s) { s.audioApi = "JACK"; }, {}},
    {"WidthSpelledOut", "width 800\n", [](Settings&) {}, {"width = 1024"}},
    {"AnySeparator", "w=800\n", [](Settings& s) { s.width = 800; }, {"width = 800"}},
    {"HeightAndSign", "h -20\n", [](Settings& s) { s.height = -20; }, {"height = -20"}},
    {"DigitsThenLetters", "w 800px\n", [](Settings& s) { s.width = 800; }, {"width = 800"}},
    {"WidthTooLargeForInt", "w 99999999999\n", [](Settings&) {}, {"width = 1024"}},
    {"FullscreenTwoIsNoFlag", "f 2\n", [](Settings&) {}, {"fullscreen = 1"}},
    {"FullscreenOff", "f 0\n", [](Settings& s) { s.fullscreen = false; }, {"fullscreen = 0"}},
    {"AudioApiKeepsLeadingSpace", "aa  JACK\n", [](Settings& s) { s.audioApi = " JACK"; }, {}},
    {"AudioApiWithoutValueIsEmpty", "aa\n", [](Settings& s) { s.audioApi = ""; }, {}},
    {"Antialias", "a 4\n", [](Settings& s) { s.antialias = 4; }, {}},
    {"AntialiasWithoutValue", "a\n", [](Settings&) {}, {}},
    {"AntialiasNotANumber", "a four\n", [](Settings&) {}, {}},
    {"NoSound", "ns 1\n", [](Settings& s) { s.noSound = true; }, {}},
    {"NoSoundValueNeedsFourthCharacter", "ns1\n", [](Settings&) {}, {}},
    {"NoMusic", "nm 1\n", [](Settings& s) { s.noMusic = true; }, {}},
    {"UnknownNKey", "nx 1\n", [](Settings&) {}, {}},
    {"RandomOn", "r 1\n", [](Settings& s) { s.randomLevels = true; }, {}},
    {"RandomThreeIsNoFlag", "r 3\n", [](Settings&) {}, {}},
    {"CommentsDigitsAndEmptyLines", "# w 5\n5 w 6\n\n \n", [](Settings&) {}, {}},
    {"LastLineWithoutNewline", "w 640\nh 480", [](Settings& s) { s.width = 640; s.height = 480; },
     {"width = 640", "height = 480"}},
    {"SecondWidthWins", "w 640\nw 800\n", [](Settings& s) { s.width = 800; },
     {"width = 640", "width = 800"}},
    {"WindowsLineEnds", "w 800\r\naa JACK\r\n",
     [](Settings& s) { s.width = 800; s.audioApi = "JACK"; }, {"width = 800"}},
    {"KeysInAnyOrder", "r 1\nnm 1\nf 0\nh 600\nw 800\naa ALSA\na 2\nns 1\n",
     [](Settings& s) {
         s = Settings{800, 600, 2, false, true, true, "ALSA", true};
     },
     {"fullscreen = 0", "height = 600", "width = 800"}},
};

class ConfigLoaderLineTest : public ConfigLoaderTest, public ::testing::WithParamInterface<LineCase> {};

} // namespace

TEST_P(ConfigLoaderLineTest, LineSetsWhatItsKeySaysAndEchoesWidthHeightFullscreen)
{
    const LineCase& line = GetParam();
    writeSettings(line.content);
    CoutCapture out;
    const ConfigLoader config;

    Settings expected;
    line.change(expected);
    expectSettings(config, expected);
    EXPECT_EQ(out.lines(), line.echo);
}

INSTANTIATE_TEST_SUITE_P(Keys, ConfigLoaderLineTest, ::testing::ValuesIn(lineCases),
                         [](const ::testing::TestParamInfo<LineCase>& info) {
                             return std::string(info.param.name);
                         });

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
    EXPECT_EQ(config.height, 480);
    EXPECT_EQ(out.lines(), std::vector<std::string>{"height = 480"});
}

TEST_F(ConfigLoaderTest, OverlongLastLineWithoutNewlineEndsTheReading)
{
    writeSettings("h 480\naa " + std::string(ConfigLoader::maxFileBytes - 10, 'y'));
    CoutCapture out;
    const ConfigLoader config;

    EXPECT_EQ(config.height, 480);
    EXPECT_EQ(config.audioApi, std::string(ConfigLoader::maxLineLength - 3, 'y'));
}
