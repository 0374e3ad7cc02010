#include "shell/ConfigLoader.h"
#include "CoutCapture.h"
#include "shell/StartupSettings.h"
#include "TestPlatform.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

namespace {

using Words = std::vector<std::string>;
using Lines = std::vector<std::string>;

// Settles words against a settings file of the given content and a display of
// 1440 x 900 that counts how often it is asked. The default file differs from
// every command-line default, so that any leak of it into command-line mode
// shows.
class StartupSettingsTest : public ::testing::Test {
protected:
    TempDir dir;
    ScopedEnv configHome{TestPlatform::settingsVariable(), dir.path()};
    int displayQueries = 0;
    Lines printed;

    StartupSettings settle(const Words& words, const std::string& file = "w 800\nh 600\na 4\nf 0\nns 1\nnm 1\naa JACK\nr 1\n")
    {
        dir.write("PlayScaffold/PlayScaffold.conf", file);
        const ConfigLoader config = [] {
            const CoutCapture quiet;
            return ConfigLoader();
        }();
        const StartupSettings::Display display{[this] { ++displayQueries; return 1440; },
                                               [this] { ++displayQueries; return 900; }};
        const CoutCapture out;
        const StartupSettings settings = StartupSettings::settle(words, config, display);
        printed = out.lines();
        return settings;
    }

    // The lines printed after the "Command line:" echo of the words.
    Lines decisions(const Words& words) const
    {
        EXPECT_GE(printed.size(), 1 + words.size());
        return Lines(printed.begin() + std::min(printed.size(), 1 + words.size()), printed.end());
    }
};

const std::string wide = "Using default width = 1440";
const std::string high = "Using default height = 900";

} // namespace

TEST_F(StartupSettingsTest, NoWordsTakesTheFileWithoutAskingTheDisplayButForSidesOutOfRange)
{
    StartupSettings s = settle({}, "w 0\nh 600\na 1\nf 0\nns 1\nnm 1\naa JACK\nr 1\n");
    EXPECT_EQ(printed, (Lines{"Command line:", "Loading from config file."}));
    EXPECT_EQ(std::tie(s.width, s.height, s.antialias, s.fullscreen, s.noSound, s.noMusic, s.audioApi, s.randomLevelsCalls),
              std::make_tuple(0, 600, 1, false, true, true, std::string("JACK"), 1));
    EXPECT_EQ(displayQueries, 0);
    for (const char* level : {"0", "-3", "x"})
        EXPECT_EQ(settle({}, std::string("a ") + level + "\n").antialias, 0) << "no floor for the file's " << level;

    s = settle({}, "w -5\nh 65536\n");
    EXPECT_EQ(s.width, 1440);
    EXPECT_EQ(s.height, 900);
    EXPECT_EQ(decisions({"config"}), (Lines{"Width -5 is out of range (0 to 65535), using the display's width = 1440",
                                          "Height 65536 is out of range (0 to 65535), using the display's height = 900"}));
}

// Any word, even an unknown one, keeps the file out of play: the file
// differs from every default the cases below expect.
TEST_F(StartupSettingsTest, WidthHeightAndAntialiasOptions)
{
    const struct {
        Words words;
        int width, height, antialias;
        Lines messages;
    } cases[] = {
        {{"--height", "600", "--width", "800"}, 800, 600, 0, {}},
        {{"-w", "0", "-h"}, 1440, 900, 0, {wide, high}},
        {{"-w", " 800abc", "-h", "+600"}, 800, 600, 0, {}},
        {{"--Width", "800", "-h", "600"}, 1440, 600, 0, {wide}},
        {{"-w", "640", "-w", "wide", "-h", "600", "-w"}, 640, 600, 0, {}},
        {{"-w", "99999999999", "-h", "600"}, 1440, 600, 0, {wide}},
        {{"-w", "65535", "-h", "1"}, 65535, 1, 0, {}},
        // A value that is itself an option is also taken as that option.
        {{"-w", "-win", "-h", "600"}, 1440, 600, 0, {wide}},
        // Antialiasing has a floor of two, reported after the default sizes.
        {{"-a", "-w"}, 1440, 900, 2, {wide, high, "Using 2x antialiasing."}},
        {{"-w", "8", "-h", "6", "-a", "1", "--antialias", "many"}, 8, 6, 2, {"Using 2x antialiasing."}},
        {{"-w", "8", "-h", "6", "--antialias", "6"}, 8, 6, 6, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.words));
        const StartupSettings settings = settle(c.words);
        EXPECT_EQ(settings.width, c.width);
        EXPECT_EQ(settings.height, c.height);
        EXPECT_EQ(settings.antialias, c.antialias);
        EXPECT_EQ(decisions(c.words), c.messages);
    }
}

// Switches are matched whole and case-sensitively; the audio API takes the
// next word unchanged, even when that word is an option too.
TEST_F(StartupSettingsTest, SwitchesAndTheAudioApi)
{
    const struct {
        Words words;
        bool fullscreen, noSound, noMusic;
        int randomLevelsCalls;
        std::string audioApi;
    } cases[] = {
        {{"--windowed", "--nosound", "--nomusic", "-r", "--random"}, false, true, true, 2, ""},
        {{"-win", "-ns", "-nm", "--audio-api", "Core Audio "}, false, true, true, 0, "Core Audio "},
        {{"--Windowed", "-NS", "--nomusic=1", "-winx", "-R", "-help", "--HELP", "--help=1", "-aa"}, true, false, false, 0, ""},
        {{"-aa", "ALSA", "-aa", "-ns"}, true, true, false, 0, "-ns"},
    };
    for (const auto& c : cases) {
        const StartupSettings s = settle(c.words);
        EXPECT_EQ(std::tie(s.fullscreen, s.noSound, s.noMusic, s.randomLevelsCalls, s.audioApi),
                  std::tie(c.fullscreen, c.noSound, c.noMusic, c.randomLevelsCalls, c.audioApi))
            << ::testing::PrintToString(c.words);
    }
}
