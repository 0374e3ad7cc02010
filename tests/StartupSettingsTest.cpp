#include "ConfigLoader.h"
#include "CoutCapture.h"
#include "FatalError.h"
#include "StartupSettings.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using Words = std::vector<std::string>;
using Lines = std::vector<std::string>;

const int displayWidth = 1440;
const int displayHeight = 900;

// A settings file whose every value differs from what the command line gives
// by default, so that any leak of it into command-line mode shows.
const char* const distinctiveSettings = "w 800\nh 600\na 4\nf 0\nns 1\nnm 1\naa JACK\nr 1\n";

// Settles words against a settings file of the given content and a display of
// 1440 x 900 that counts how often it is asked.
class StartupSettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedEnv home{"HOME", dir.path()};
    ScopedEnv configHome{"XDG_CONFIG_HOME", dir.path()};
    int displayQueries = 0;
    Lines printed;

    StartupSettings settle(const Words& words, const std::string& settingsFile = distinctiveSettings)
    {
        mkdir((dir.path() + "/PlayScaffold").c_str(), 0755);
        dir.write("PlayScaffold/PlayScaffold.conf", settingsFile);
        std::unique_ptr<ConfigLoader> config;
        {
            const CoutCapture quiet;
            config = std::make_unique<ConfigLoader>();
        }
        const StartupSettings::Display display{[this] { ++displayQueries; return displayWidth; },
                                               [this] { ++displayQueries; return displayHeight; }};
        CoutCapture out;
        try {
            const StartupSettings settings = StartupSettings::settle(words, *config, display);
            printed = out.lines();
            return settings;
        } catch (...) {
            printed = out.lines();
            throw;
        }
    }

    // The lines printed after the "Command line:" echo of the words.
    Lines decisions(const Words& words) const
    {
        const std::size_t echoed = 1 + words.size();
        EXPECT_GE(printed.size(), echoed);
        if (printed.size() < echoed)
            return printed;
        return Lines(printed.begin() + static_cast<std::ptrdiff_t>(echoed), printed.end());
    }
};

} // namespace

// --- Where the settings come from ---

TEST_F(StartupSettingsTest, NoWordsTakesEverySettingFromTheFileWithoutAskingTheDisplay)
{
    const StartupSettings settings = settle({}, "w 0\nh 600\na 1\nf 0\nns 1\nnm 1\naa JACK\nr 1\n");

    EXPECT_EQ(printed, (Lines{"Command line:", "Loading from config file."}));
    EXPECT_EQ(settings.width, 0);
    EXPECT_EQ(settings.height, 600);
    EXPECT_EQ(settings.antialias, 1);
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_TRUE(settings.noSound);
    EXPECT_TRUE(settings.noMusic);
    EXPECT_EQ(settings.audioApi, "JACK");
    EXPECT_EQ(settings.randomLevelsCalls, 1);
    EXPECT_EQ(displayQueries, 0);
}

TEST_F(StartupSettingsTest, FileAntialiasBelowOneIsOffWithoutTheCommandLineFloor)
{
    for (const char* level : {"0", "-3", "x"}) {
        SCOPED_TRACE(level);
        const StartupSettings settings = settle({}, std::string("a ") + level + "\n");
        EXPECT_EQ(settings.antialias, 0);
        EXPECT_EQ(printed, (Lines{"Command line:", "Loading from config file."}));
    }
}

TEST_F(StartupSettingsTest, FileSidesOutsideAWindowsRangeAreReplacedByTheDisplays)
{
    const StartupSettings settings = settle({}, "w -5\nh 70000\n");
    EXPECT_EQ(settings.width, displayWidth);
    EXPECT_EQ(settings.height, displayHeight);
    EXPECT_EQ(printed,
              (Lines{"Command line:", "Loading from config file.",
                     "Width -5 is out of range (0 to 65535), using the display's width = 1440",
                     "Height 70000 is out of range (0 to 65535), using the display's height = 900"}));
}

TEST_F(StartupSettingsTest, AnyWordIgnoresTheFileAndStartsFromTheCommandLineDefaults)
{
    const StartupSettings settings = settle({"hello"});

    EXPECT_EQ(printed, (Lines{"Command line:", "hello", "Using default width = 1440",
                              "Using default height = 900"}));
    EXPECT_EQ(settings.width, displayWidth);
    EXPECT_EQ(settings.height, displayHeight);
    EXPECT_EQ(settings.antialias, 0);
    EXPECT_TRUE(settings.fullscreen);
    EXPECT_FALSE(settings.noSound);
    EXPECT_FALSE(settings.noMusic);
    EXPECT_EQ(settings.audioApi, "");
    EXPECT_EQ(settings.randomLevelsCalls, 0);
}

// --- Width and height ---

namespace {

struct SideCase {
    Words words;
    int width;
    int height;
    Lines messages;
};

const Lines bothDefaults = {"Using default width = 1440", "Using default height = 900"};

} // namespace

TEST_F(StartupSettingsTest, WidthAndHeightOptions)
{
    const std::vector<SideCase> cases = {
        {{"-w", "800", "-h", "600"}, 800, 600, {}},
        {{"--width", "800", "--height", "600"}, 800, 600, {}},
        {{"-h", "600", "-w", "800"}, 800, 600, {}},
        {{"-w"}, 1440, 900, bothDefaults},
        {{"-h"}, 1440, 900, bothDefaults},
        {{"-w", "0", "-h", "0"}, 1440, 900, bothDefaults},
        {{"-w", "800abc", "-h", "600"}, 800, 600, {}},
        {{"-w", " 800", "-h", "+600"}, 800, 600, {}},
        {{"--Width", "800", "-h", "600"}, 1440, 600, {"Using default width = 1440"}},
        {{"-w", "640", "-w", "800", "-h", "600"}, 800, 600, {}},
        {{"-w", "640", "-w", "wide", "-h", "600"}, 640, 600, {}},
        {{"-w", "99999999999", "-h", "600"}, 1440, 600, {"Using default width = 1440"}},
        {{"-w", "65535", "-h", "1"}, 65535, 1, {}},
        {{"-w", "-5", "-h", "65536"}, 1440, 900,
         {"Width -5 is out of range (0 to 65535), using the display's width = 1440",
          "Height 65536 is out of range (0 to 65535), using the display's height = 900"}},
    };
    for (const SideCase& sides : cases) {
        SCOPED_TRACE(::testing::PrintToString(sides.words));
        const StartupSettings settings = settle(sides.words);
        EXPECT_EQ(settings.width, sides.width);
        EXPECT_EQ(settings.height, sides.height);
        EXPECT_EQ(decisions(sides.words), sides.messages);
    }
}

TEST_F(StartupSettingsTest, WidthValueThatIsAnOptionIsAlsoTakenAsThatOption)
{
    const Words words = {"-w", "-win", "-h", "600"};
    const StartupSettings settings = settle(words);
    EXPECT_EQ(settings.width, displayWidth);
    EXPECT_FALSE(settings.fullscreen);
    EXPECT_EQ(decisions(words), Lines{"Using default width = 1440"});
}

// --- Antialiasing ---

TEST_F(StartupSettingsTest, AntialiasOptionHasAFloorOfTwo)
{
    const Lines floor = {"Using 2x antialiasing."};
    const std::vector<std::pair<Words, std::pair<int, Lines>>> cases = {
        {{"-a"}, {2, floor}},
        {{"-a", "0"}, {2, floor}},
        {{"-a", "1"}, {2, floor}},
        {{"-a", "-3"}, {2, floor}},
        {{"-a", "many"}, {2, floor}},
        {{"-a", "1", "--antialias", "0"}, {2, floor}},
        {{"-a", "4"}, {4, {}}},
        {{"--antialias", "6"}, {6, {}}},
        {{"-a", "8"}, {8, {}}},
        {{"-win"}, {0, {}}},
    };
    for (const auto& [options, expected] : cases) {
        Words words = {"-w", "800", "-h", "600"};
        words.insert(words.end(), options.begin(), options.end());
        SCOPED_TRACE(::testing::PrintToString(words));
        const StartupSettings settings = settle(words);
        EXPECT_EQ(settings.antialias, expected.first);
        EXPECT_EQ(decisions(words), expected.second);
    }
}

TEST_F(StartupSettingsTest, DefaultSizesAreReportedBeforeTheAntialiasingFloor)
{
    const Words words = {"-a", "-w"};
    settle(words);
    EXPECT_EQ(decisions(words), (Lines{"Using default width = 1440", "Using default height = 900",
                                       "Using 2x antialiasing."}));
}

// --- Switches ---

TEST_F(StartupSettingsTest, SwitchesInLongAndShortForm)
{
    for (const bool longForm : {false, true}) {
        SCOPED_TRACE(longForm ? "long" : "short");
        const Words words = longForm ? Words{"--windowed", "--nosound", "--nomusic"}
                                     : Words{"-win", "-ns", "-nm"};
        const StartupSettings settings = settle(words);
        EXPECT_FALSE(settings.fullscreen);
        EXPECT_TRUE(settings.noSound);
        EXPECT_TRUE(settings.noMusic);
    }
}

TEST_F(StartupSettingsTest, SwitchesAreMatchedWholeAndCaseSensitively)
{
    const StartupSettings settings = settle({"--Windowed", "-NS", "--nomusic=1", "-winx"});
    EXPECT_TRUE(settings.fullscreen);
    EXPECT_FALSE(settings.noSound);
    EXPECT_FALSE(settings.noMusic);
}

TEST_F(StartupSettingsTest, RandomLevelsAreAskedForOncePerOccurrence)
{
    EXPECT_EQ(settle({"-r", "--random"}).randomLevelsCalls, 2);
    EXPECT_EQ(settle({"-r"}).randomLevelsCalls, 1);
    EXPECT_EQ(settle({"-R"}).randomLevelsCalls, 0);
}

// --- Audio API ---

TEST_F(StartupSettingsTest, AudioApiTakesTheNextWordUnchanged)
{
    EXPECT_EQ(settle({"-aa", "JACK"}).audioApi, "JACK");
    EXPECT_EQ(settle({"--audio-api", "Core Audio "}).audioApi, "Core Audio ");
    EXPECT_EQ(settle({"-aa", "ALSA", "-aa", "JACK"}).audioApi, "JACK");
    EXPECT_EQ(settle({"-aa"}).audioApi, "");
}

TEST_F(StartupSettingsTest, AudioApiValueThatIsAnOptionCountsAsBoth)
{
    const StartupSettings settings = settle({"-aa", "-ns"});
    EXPECT_EQ(settings.audioApi, "-ns");
    EXPECT_TRUE(settings.noSound);
}

// --- Help ---

TEST_F(StartupSettingsTest, HelpPrintsTheTextAndStopsWithStatusZero)
{
    const Words words = {"-w", "800", "--help", "-h"};
    try {
        settle(words);
        FAIL() << "--help must stop the start-up";
    } catch (const FatalError& stop) {
        EXPECT_EQ(stop.message, "\n");
        EXPECT_EQ(stop.exitStatus, 0);
    }
    const Lines help = {
        "",
        "Brick Voyager",
        "",
        "Usage:",
        "BrickVoyager -w [width] -h [height] -a [val] -win -ns -nm -aa -r",
        "",
        "Flags:",
        "--width [val] | -w [val]:\tSet the width of the window.",
        "--height [val] | -h [val]:\tSet the height of the window.",
        "--antialias [val] | -a [val]:\tSets the antialiasing level (2, 4, or 6).",
        "--windowed | -win:\t\tSets whether to start the game in a window rather than fullscreen.",
        "--nosound | -ns:\t\tSwitches off the sound output.",
        "--nomusic | -nm:\t\tSwitches off the background music.",
        "--audio-api [name] | -aa [name]:\t\tSets the audio API to use.  Can be DirectSound, ASIO, MME, "
        "ALSA, JACK, OSS, CoreAudio.",
        "--random | -r:\t\t\tGenerates levels randomly.  No end.",
        "--help:\t\t\t\tDisplay this help.",
    };
    EXPECT_EQ(decisions(words), help);
    EXPECT_EQ(displayQueries, 0);
}

TEST_F(StartupSettingsTest, HelpIsOnlyTheWholeLongWord)
{
    for (const char* word : {"-help", "--HELP", "--help=1"}) {
        SCOPED_TRACE(word);
        EXPECT_NO_THROW(settle({word}));
    }
}
