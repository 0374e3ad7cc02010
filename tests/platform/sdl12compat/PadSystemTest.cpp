#include "shell/Application.h"

#include "CoutCapture.h"
#include "FatalError.h"
#include "TestPlatform.h"
#include "TestSupport.h"
#include "VirtualPad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <regex>

namespace {

using KeyPress = std::pair<SDLKey, bool>;

// The button a mapping line gives a control ("a", "start"), -1 when none.
int buttonOf(const std::string& line, const std::string& control)
{
    std::smatch found;
    return std::regex_search(line, found, std::regex("," + control + ":b([0-9]+)")) ? std::stoi(found[1]) : -1;
}

struct PadCase {
    VirtualPad::Shape shape;
    // A real pad's GUID on Linux, whose line in SDL 2's database the
    // virtual pad is given; empty for a pad nobody knows.
    const char* realGuid;
};

// The game on a virtual display, started as a player starts it, with its
// own settings folder: pads made in SDL 2 after the start reach it through
// sdl12-compat, and its key presses are recorded as the game gets them.
class PadSystemTest : public ::testing::TestWithParam<PadCase> {
protected:
    // Learns the virtual pad's GUID (SDL 2 gives a virtual pad one of its
    // own, which no line of its database names) and writes the database's
    // line for the real pad under that GUID into the player's file, as a
    // player adds a pad; then starts the game.
    void start(const PadCase& pad)
    {
        std::string playerFile = "# made by the test\n";
        ASSERT_EQ(SDL_Init(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
        {
            VirtualPad probe(pad.shape);
            std::string line = *pad.realGuid ? VirtualPad::databaseLine(pad.realGuid) : "";
            if (*pad.realGuid) {
                ASSERT_NE(line, "") << "SDL 2's database has no line for " << pad.realGuid;
                databaseName = line.substr(33, line.find(',', 33) - 33);
                playerFile += line.replace(0, 32, probe.guid()) + "\n";
                dbLine = line;
            }
        }
        SDL_Quit();
        settings.write("PlayScaffold/gamecontrollerdb.txt", playerFile);
        // The virtual display now and then refuses a connection: one more try then.
        for (int attempt = 0; attempt < 2 && !app; ++attempt) {
            CoutCapture quiet;
            try {
                app = std::make_unique<Application>(std::vector<std::string>{"--windowed", "-w", "640", "-h", "480", "--nosound"});
            } catch (const FatalError&) {
            }
        }
        ASSERT_TRUE(app) << "no window could be opened";
        TestPlatform::keepGlDriverLoaded();
        // Not the game's own name: ApplicationTest, beside this one, finds
        // its window by that.
        SDL_WM_SetCaption("Brick Voyager's pads", nullptr);
        app->loadGlyphs();
        SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
        app->keyWatcher = [this](const SDL_keysym& key, bool isDown) { presses.push_back({key.sym, isDown}); };
    }

    // Runs passes until the game has a pad (or has none) or a search and a
    // quiet look have passed, and returns what the game printed.
    std::string passUntilPad(bool present)
    {
        CoutCapture lines;
        for (int pass = 0; pass < Gamepads::searchFrames + Gamepads::quietFrames + 4; ++pass) {
            EXPECT_TRUE(app->runPass());
            if ((app->pads.pad != nullptr) == present)
                break;
        }
        return lines.text();
    }
    void passes(int count)
    {
        for (int pass = 0; pass < count; ++pass)
            EXPECT_TRUE(app->runPass());
    }
    bool pressed(KeyPress press) { return std::find(presses.begin(), presses.end(), press) != presses.end(); }

    TempDir settings;
    ScopedEnv settingsHere{TestPlatform::settingsVariable(), settings.path()};
    ScopedEnv stateHere{TestPlatform::stateVariable(), settings.path()};
    ScopedEnv modeOfItsOwn{"SDL12COMPAT_USE_GAME_CONTROLLERS", nullptr};
    ScopedEnv layoutsOfItsOwn{"SDL_GAMECONTROLLERCONFIG", nullptr};
    // Windows of tests running beside this one take the shared display's
    // focus, and SDL 2 drops a pad's presses while its window has none.
    ScopedEnv focusOrNot{"SDL_JOYSTICK_ALLOW_BACKGROUND_EVENTS", "1"};
    std::unique_ptr<Application> app;
    std::vector<KeyPress> presses;
    std::string databaseName, dbLine;
};

TEST_P(PadSystemTest, PadPluggedInAfterTheStartJumpsPausesWalksAsItsLayoutSaysAndComesBackWhenPluggedInAgain)
{
    const PadCase& pad = GetParam();
    ASSERT_NO_FATAL_FAILURE(start(pad));
    auto plugged = std::make_unique<VirtualPad>(pad.shape);
    const std::string told = passUntilPad(true);
    ASSERT_NE(app->pads.pad, nullptr) << "the pad was not taken up";
    const bool known = *pad.realGuid;
    EXPECT_NE(told.find(known ? "Gamepad: " + databaseName + " (standard layout)\n"
                              : "Gamepad: " + std::string(pad.shape.name) + " (raw)\n"),
              std::string::npos)
        << told;

    // Held past a quiet look for the pad: the hold sends no events.
    plugged->hat(SDL_HAT_RIGHT);
    passes(Gamepads::quietFrames + 2);
    EXPECT_TRUE(app->game.rightHeld);
    plugged->hat(SDL_HAT_CENTERED);
    passes(2);
    EXPECT_TRUE(pressed({SDLK_RIGHT, true}) && pressed({SDLK_RIGHT, false})) << "the D-pad does not walk";

    // The bottom face button and Start where the database puts them; a raw
    // pad's first button stays the key Z and its tenth (absent here) pauses.
    const int a = known ? buttonOf(dbLine, "a") : 0;
    plugged->button(a, true);
    passes(2);
    plugged->button(a, false);
    passes(2);
    EXPECT_EQ(pressed({SDLK_UP, true}), known);
    EXPECT_EQ(pressed({SDLK_z, true}), !known);
    const int startButton = known ? buttonOf(dbLine, "start") : -1;
    for (const bool paused : {true, false}) {
        if (!known)
            break;
        plugged->button(startButton, true);
        passes(2);
        plugged->button(startButton, false);
        passes(2);
        EXPECT_EQ(app->pause.isPaused(), paused);
    }

    // Unplugged, it goes; plugged in again, it is taken up again.
    plugged.reset();
    passUntilPad(false);
    EXPECT_EQ(app->pads.pad, nullptr) << "the pad unplugged was kept";
    plugged = std::make_unique<VirtualPad>(pad.shape);
    EXPECT_NE(passUntilPad(true).find("Gamepad: "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Pads, PadSystemTest,
    ::testing::Values(PadCase{{"Xbox 360 Controller", 0x045e, 0x028e, 11, 6, 1}, "030000005e0400008e02000010010000"},
                      PadCase{{"Wireless Controller", 0x054c, 0x09cc, 14, 6, 1}, "030000004c050000cc09000011010000"},
                      PadCase{{"Homemade pad", 0x1209, 0x0001, 4, 2, 1}, ""}));

} // namespace
