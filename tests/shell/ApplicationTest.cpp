#include "shell/Application.h"

#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "FatalError.h"
#include "platform/FilePath.h"
#include "platform/SteadyClock.h"
#include "TestPlatform.h"
#include "TestSupport.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <tuple>

namespace {

// A key record handed to the game: the key and whether it went down.
using KeyPress = std::pair<SDLKey, bool>;
KeyPress down(SDLKey sym) { return {sym, true}; }
KeyPress up(SDLKey sym) { return {sym, false}; }

// An event with one of its parts filled in, as SDL would queue it.
template <typename Part>
SDL_Event with(Part SDL_Event::*member, const Part& part)
{
    SDL_Event e = {};
    e.*member = part;
    return e;
}
SDL_Event axisEvent(Uint8 axis, Sint16 value) { return with(&SDL_Event::jaxis, {SDL_JOYAXISMOTION, 0, axis, value}); }
SDL_Event hatEvent(Uint8 position) { return with(&SDL_Event::jhat, {SDL_JOYHATMOTION, 0, 0, position}); }
SDL_Event buttonEvent(Uint8 button, bool pressed)
{
    return with(&SDL_Event::jbutton, {Uint8(pressed ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP), 0, button, pressed});
}
SDL_Event keyEvent(SDLKey sym, bool pressed, SDLMod mod = KMOD_NONE)
{
    return with(&SDL_Event::key, {Uint8(pressed ? SDL_KEYDOWN : SDL_KEYUP), 0, pressed, {0, sym, mod, 0}});
}
// Focus or visibility gained or lost, for the SDL_APP* states given.
SDL_Event activeEvent(Uint8 state, bool gain) { return with(&SDL_Event::active, {SDL_ACTIVEEVENT, gain, state}); }

// Starts an Application as the entry function does and ends the process as
// it would, its lines sent to standard error where the death test reads them.
void startAndExit(const std::vector<std::string>& words)
{
    std::cout.rdbuf(std::cerr.rdbuf());
    try {
        Application app(words);
    } catch (const FatalError& error) {
        error.display();
        std::exit(error.exitStatus);
    }
    std::exit(2);
}

// A whole Application in a 640 x 480 window, without sound output (so that
// the tests alone call getAudio), with settings and state folders of its own,
// as a player runs it: events are queued as SDL would queue them and the
// loop's own passes take them. The virtual display now and then refuses a
// connection: one more try then.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int attempt = 0; attempt < 2 && !app; ++attempt) {
            try {
                CoutCapture quiet;
                app = std::make_unique<Application>(
                    std::vector<std::string>{"--windowed", "-w", "640", "-h", "480", "--nosound"});
            } catch (const FatalError& error) {
                std::cout << "ApplicationTest: start failed: " << error.message << std::endl;
            }
        }
        ASSERT_TRUE(app) << "no window could be opened";
        TestPlatform::keepGlDriverLoaded();
        app->loadGlyphs();
        // Past the fade-in from black, so that the picture shows what it holds.
        app->game.fadeIn = 1.0f;
        // Windows of tests running beside this one take the focus of the
        // shared display; the cases hand their own focus events over instead.
        SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
        app->keyWatcher = [this](const SDL_keysym& key, bool isDown) { presses.push_back({key.sym, isDown}); };
    }

    // Queued as SDL would queue them, but focus events, which the queue
    // ignores here, go straight to the application.
    void push(const std::vector<SDL_Event>& events)
    {
        for (SDL_Event e : events) {
            if (e.type == SDL_ACTIVEEVENT)
                app->handleEvent(e);
            else
                ASSERT_EQ(SDL_PushEvent(&e), 0) << SDL_GetError();
        }
    }

    void passes(int count)
    {
        for (int pass = 0; pass < count; ++pass)
            ASSERT_TRUE(app->runPass());
    }

    OpenGLDrawer& drawer() { return static_cast<OpenGLDrawer&>(*app->drawer); }
    Screen screen() { return Screen(drawer(), app->videoMode->getWindowWidth(), app->videoMode->getWindowHeight()); }

    // Where a logical point lies in the window, counted from the top-left.
    std::pair<int, int> windowPoint(float x, float y)
    {
        const int w = drawer().getActualWidth(), h = drawer().getActualHeight();
        return {(app->videoMode->getWindowWidth() - w) / 2 + static_cast<int>(x * w / 1024.0f),
                (app->videoMode->getWindowHeight() - h) / 2 + static_cast<int>(y * h / 768.0f)};
    }
    std::vector<Rgb> colours(const Screen& s, const std::vector<std::pair<float, float>>& points)
    {
        std::vector<Rgb> seen;
        for (const auto& [x, y] : points) {
            const auto [wx, wy] = windowPoint(x, y);
            seen.push_back(s.at(wx, wy));
        }
        return seen;
    }
    // The figure's middle, the middle of the first block and a spot of
    // ground beside the figure, in logical coordinates.
    std::vector<std::pair<float, float>> landmarks()
    {
        const float x = app->game.player.x + Player::width / 2.0f, y = app->game.player.y + Player::height / 2.0f;
        const Block& block = app->game.currentLevel().blocks.at(0);
        return {{x, y}, {block.x + block.width / 2.0f, block.y + block.height / 2.0f}, {x + 60.0f, y - 40.0f}};
    }

    TempDir settings;
    ScopedEnv settingsHere{TestPlatform::settingsVariable(), settings.path()};
    ScopedEnv stateHere{TestPlatform::stateVariable(), settings.path()};
    ScopedEnv dataHere{TestPlatform::dataVariable(), settings.path()};
    std::unique_ptr<Application> app;
    std::vector<KeyPress> presses;
};

} // namespace

// The stick's dead zone is a quarter of the range, so that a worn stick
// resting off centre does not walk the figure; crossing sides releases the
// first arrow. The hat's diagonals hold two arrows, and only the arrows that
// change are pressed or released. Buttons 0 and 1 are Z and X, any other C;
// Start (9) also pauses and resumes.
TEST_F(ApplicationTest, GamepadReachesTheGameAsArrowsAndZXC)
{
    const std::vector<std::tuple<const char*, std::vector<SDL_Event>, std::vector<KeyPress>>> cases = {
        {"-8192 and 8192 are centred: both arrows released, held or not", {axisEvent(0, -8192), axisEvent(1, 8192)},
         {up(SDLK_RIGHT), up(SDLK_LEFT), up(SDLK_DOWN), up(SDLK_UP)}},
        {"-8193 and 8193 are pushed, crossing sides in one event",
         {axisEvent(0, -8193), axisEvent(0, 8193), axisEvent(1, 8193), axisEvent(1, -8193)},
         {down(SDLK_LEFT), up(SDLK_LEFT), down(SDLK_RIGHT), down(SDLK_DOWN), up(SDLK_DOWN), down(SDLK_UP)}},
        {"other axes are ignored", {axisEvent(2, 32767), axisEvent(3, -32768)}, {}},
        {"hat right down", {hatEvent(SDL_HAT_RIGHTDOWN)}, {down(SDLK_RIGHT), down(SDLK_DOWN)}},
        {"hat left up, then centred", {hatEvent(SDL_HAT_LEFTUP), hatEvent(SDL_HAT_CENTERED)},
         {down(SDLK_UP), down(SDLK_LEFT), up(SDLK_UP), up(SDLK_LEFT)}},
        {"hat rolling from right up to right down keeps right",
         {hatEvent(SDL_HAT_RIGHTUP), hatEvent(SDL_HAT_RIGHTDOWN)},
         {down(SDLK_UP), down(SDLK_RIGHT), up(SDLK_UP), down(SDLK_DOWN)}},
        {"hat left down straight to right", {hatEvent(SDL_HAT_LEFTDOWN), hatEvent(SDL_HAT_RIGHT)},
         {down(SDLK_DOWN), down(SDLK_LEFT), up(SDLK_DOWN), up(SDLK_LEFT), down(SDLK_RIGHT)}},
        {"buttons 0, 1, 2 and 7, and Start twice",
         {buttonEvent(0, true), buttonEvent(1, true), buttonEvent(2, true), buttonEvent(7, true), buttonEvent(7, false),
          buttonEvent(0, false), buttonEvent(9, true), buttonEvent(9, false), buttonEvent(9, true)},
         {down(SDLK_z), down(SDLK_x), down(SDLK_c), down(SDLK_c), up(SDLK_c), up(SDLK_z), down(SDLK_c), up(SDLK_c),
          down(SDLK_c)}},
    };
    for (const auto& [name, events, expected] : cases) {
        SCOPED_TRACE(name);
        for (const SDL_Event& centre : {axisEvent(0, 0), axisEvent(1, 0), hatEvent(SDL_HAT_CENTERED)})
            app->handleEvent(centre);
        presses.clear();
        push(events);
        app->drainEvents();
        EXPECT_EQ(presses, expected);
        EXPECT_FALSE(app->pause.isPaused());
    }
}

// Escape ends the loop once the events queued behind it are taken.
TEST_F(ApplicationTest, EscapeEndsTheLoopAfterTheKeysQueuedBehindIt)
{
    const short startX = app->game.player.x;
    push({keyEvent(SDLK_ESCAPE, true), keyEvent(SDLK_RIGHT, true), keyEvent(SDLK_ESCAPE, false)});
    app->eventLoop();
    EXPECT_TRUE(app->quitRequested);
    EXPECT_EQ(presses, (std::vector<KeyPress>{down(SDLK_RIGHT), up(SDLK_ESCAPE)}));
    EXPECT_TRUE(app->game.rightHeld);
    EXPECT_EQ(app->game.player.x, startX) << "no frame was drawn";
}

// E opens the editor, which then takes the keys and the frames: the game
// stands still under it and the arrows move the editor's pointer. E goes
// back to the game as it was; the mouse there changes nothing.
TEST_F(ApplicationTest, EditorTakesTheKeysAndTheFramesUntilLeft)
{
    passes(2);
    const Rgb inGame = colours(screen(), {{512.0f, 760.0f}})[0];
    const short x = app->game.player.x;
    push({keyEvent(SDLK_e, true), keyEvent(SDLK_e, false), keyEvent(SDLK_RIGHT, true)});
    passes(4);
    ASSERT_TRUE(app->editor.isOpen());
    EXPECT_EQ(app->game.player.x, x);
    EXPECT_FALSE(app->game.rightHeld);
    const short pointerX = app->editor.model->pointerX;
    push({keyEvent(SDLK_RIGHT, false), keyEvent(SDLK_RIGHT, true)});
    passes(1);
    EXPECT_EQ(app->editor.model->pointerX, pointerX + EditorModel::step);
    // The status line darkens the bottom of the picture.
    const Rgb inEditor = colours(screen(), {{512.0f, 760.0f}})[0];
    EXPECT_LT(inEditor.r + inEditor.g + inEditor.b, (inGame.r + inGame.g + inGame.b) / 2) << inEditor << inGame;

    push({keyEvent(SDLK_ESCAPE, true), keyEvent(SDLK_ESCAPE, false)});
    passes(1);
    EXPECT_FALSE(app->editor.isOpen());
    EXPECT_FALSE(app->quitRequested);
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 10;
    SDL_Event click = {};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    push({motion, click});
    passes(1);
    EXPECT_EQ(app->editor.model->pointerX, pointerX + EditorModel::step);
    EXPECT_EQ(presses, (std::vector<KeyPress>{up(SDLK_ESCAPE)}));
}

// The audio callback's output: cleared, then the music unless it is off, at
// the player's level. M is the shell's key, not the game's.
TEST_F(ApplicationTest, AudioBlocksStartClearedAndCarryTheMusicUntilMuted)
{
    EXPECT_FALSE(app->audioDevice.isStarted()) << "--nosound";
    const int frames = 4096;
    std::vector<float> block(2 * frames);
    const int position = app->music.getPlayPosition();
    float loudest = 0.0f;
    for (int call = 0; call < 23; ++call) {
        app->noMusic = call < 3;
        std::fill(block.begin(), block.end(), 7.0f);
        app->getAudio(nullptr, block.data(), frames);
        for (float sample : block) {
            ASSERT_TRUE(app->noMusic ? sample == 0.0f : std::fabs(sample) <= 0.5f)
                << sample << ": music at half amplitude, never the 7 left behind";
            loudest = std::max(loudest, std::fabs(sample));
        }
        EXPECT_TRUE(call != 2 || app->music.getPlayPosition() == position) << "music advanced while switched off";
    }
    EXPECT_GT(loudest, 0.0f) << "the music added nothing";

    CoutCapture out;
    push({keyEvent(SDLK_m, true), keyEvent(SDLK_m, false)});
    app->drainEvents();
    EXPECT_EQ(out.text(), "Music: muted\n");
    EXPECT_EQ(presses, std::vector<KeyPress>{up(SDLK_m)}) << "the key went down to the game";
    app->getAudio(nullptr, block.data(), frames); // the glide down
    app->getAudio(nullptr, block.data(), frames);
    EXPECT_TRUE(std::all_of(block.begin(), block.end(), [](float s) { return s == 0.0f; })) << "not muted";
}

// Every image and glyph is made again after the video mode changes, the
// window stands where a window manager would put it, and the settings file
// is never touched by a switch.
TEST_F(ApplicationTest, FullScreenSwitchesEachWayKeepThePictureEveryImageAndTheWindowsPlace)
{
    const std::string settingsPath = FilePath(settings.path()).getChild("PlayScaffold").getChild("PlayScaffold.conf").path;
    const std::string settingsBefore = readFile(settingsPath);
    const auto settingsTime = std::filesystem::last_write_time(settingsPath);
    // Full screen is the virtual display's size.
    const std::vector<std::tuple<const char*, SDL_Event, bool, int, int>> switches = {
        {"Alt+Enter on", keyEvent(SDLK_RETURN, true, KMOD_RALT), true, 1280, 1024},
        {"F11 off", keyEvent(SDLK_F11, true), false, 640, 480},
    };
    // The blocks and the figure breathe in a 12-frame cycle: pictures a
    // whole cycle apart match.
    passes(24);
    for (const auto& [name, key, fullscreen, width, height] : switches) {
        SCOPED_TRACE(name);
        // The figure's middle, the middle of a block and the ground beside.
        const auto marks = landmarks();
        const std::vector<Rgb> before = colours(screen(), marks);
        // Pale green ground, though the vignette may shade it.
        const Rgb ground = before[2];
        ASSERT_TRUE(ground.g > 150 && ground.g > ground.r + 30 && ground.r == ground.b) << ground;
        ASSERT_FALSE(near(before[0], ground, 40)) << "figure " << before[0];
        ASSERT_FALSE(near(before[1], ground, 15)) << "block " << before[1];
        const std::size_t images = drawer().getImages().size();

        CoutCapture output;
        push({key});
        passes(12);

        EXPECT_EQ(output.text(), std::string("Full screen: ") + (fullscreen ? "on" : "off") + " (" +
                                     std::to_string(width) + " x " + std::to_string(height) + ")\n");
        // Without a window manager the game puts its window at the corner in
        // full screen, in the middle of the display as a window (asked of X;
        // Windows places a window itself).
        if (!TestPlatform::isWindows()) {
            const std::string place = runCommand("xdotool search --name '^Brick Voyager$' getwindowgeometry 2>&1").output;
            EXPECT_NE(place.find(fullscreen ? "Position: 0,0 " : "Position: 320,272 "), std::string::npos) << place;
        }
        const SDL_Surface* surface = SDL_GetVideoSurface();
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(std::make_tuple(surface->w, surface->h, (surface->flags & SDL_FULLSCREEN) != 0),
                  std::make_tuple(width, height, fullscreen));
        EXPECT_EQ(std::make_pair(app->videoMode->getWindowWidth(), app->videoMode->getWindowHeight()), std::make_pair(width, height));
        EXPECT_EQ(drawer().getImages().size(), images);
        for (const auto& [id, image] : drawer().getImages())
            EXPECT_TRUE(glIsTexture(image.texture)) << "image " << id;
        EXPECT_TRUE(glIsTexture(drawer().getGlyph(Drawer::GlyphP).texture));
        const std::vector<Rgb> after = colours(screen(), marks);
        for (std::size_t i = 0; i < marks.size(); ++i)
            EXPECT_TRUE(near(after[i], before[i], i == 2 ? 12 : 30)) << "figure, block, ground: " << i;
    }
    EXPECT_EQ(readFile(settingsPath), settingsBefore);
    EXPECT_EQ(std::filesystem::last_write_time(settingsPath), settingsTime);
}

// While paused no frame goes through the game; a focus pause also ends on an
// arrow, but not on getting the focus back. Resumed, the game advances one
// step a pass, whatever time went by.
TEST_F(ApplicationTest, PauseStopsTheWorldUnderAVeilUntilItsOwnResume)
{
    const std::vector<std::tuple<const char*, SDL_Event, SDL_Event, SDL_Event, PauseControl::Cause>> cases = {
        {"P, then P", keyEvent(SDLK_p, true), activeEvent(SDL_APPINPUTFOCUS, true), keyEvent(SDLK_p, true),
         PauseControl::Cause::Player},
        {"Start button, then Start", buttonEvent(9, true), keyEvent(SDLK_RIGHT, true), buttonEvent(9, true),
         PauseControl::Cause::Player},
        {"focus lost, then an arrow", activeEvent(SDL_APPINPUTFOCUS, false), activeEvent(SDL_APPINPUTFOCUS, true),
         keyEvent(SDLK_LEFT, true), PauseControl::Cause::Focus},
        {"minimised, then P", activeEvent(SDL_APPACTIVE, false), activeEvent(SDL_APPACTIVE | SDL_APPINPUTFOCUS, true),
         keyEvent(SDLK_p, true), PauseControl::Cause::Focus},
    };
    for (const auto& [name, pause, ignored, resume, cause] : cases) {
        SCOPED_TRACE(name);
        push({keyEvent(SDLK_RIGHT, true), axisEvent(0, -32768), hatEvent(SDL_HAT_DOWN)});
        passes(3);
        const auto ground = landmarks()[2];
        const Rgb lit = colours(screen(), {ground})[0];
        push({pause});
        passes(1);
        ASSERT_EQ(app->pause.getCause(), cause);
        // Keys held when the focus goes are released, so that the figure
        // does not walk on by itself once play resumes.
        const bool held = app->game.leftHeld || app->game.rightHeld || app->game.downHeld;
        EXPECT_EQ(held, cause == PauseControl::Cause::Player);
        // What moves from frame to frame even when nobody plays.
        const auto world = [this] {
            return std::make_tuple(app->game.player.x, app->game.player.y, app->game.currentLevel().animPhase,
                                   app->game.animFrame);
        };
        const auto stopped = world();
        push({ignored});
        passes(30);
        EXPECT_EQ(world(), stopped);
        EXPECT_TRUE(app->pause.isPaused());

        // The veil darkens the ground; the word stands out white in the middle.
        const Screen veiled = screen();
        const Rgb dimmed = colours(veiled, {ground})[0];
        EXPECT_TRUE(near(dimmed, lit.r * 135 / 255, lit.g * 135 / 255, lit.b * 135 / 255, 4))
            << dimmed << " from " << lit;
        const auto [left, top] = windowPoint(320.0f, 352.0f);
        const auto [right, bottom] = windowPoint(704.0f, 416.0f);
        EXPECT_TRUE(veiled.anyLit(left, top, right, bottom, 200)) << "no word";
        EXPECT_FALSE(veiled.anyLit(0, top, left - 4, bottom, 200)) << "white left of the word";

        push({resume});
        passes(2);
        EXPECT_FALSE(app->pause.isPaused());
        EXPECT_EQ(app->game.animFrame, (std::get<3>(stopped) + 2) % 12) << "one step a frame";
        push({keyEvent(SDLK_RIGHT, false), keyEvent(SDLK_LEFT, false), axisEvent(0, 0), hatEvent(SDL_HAT_CENTERED)});
    }
}

// The tick is read after the wait, so frames are never closer than 30 ms.
// A clock that only moves when it is waited on; a wait may end early by
// shortfall units, as a sleep may be cut short.
TEST(ApplicationPacingTest, FrameWaitsOutTheRestOfThirtyMillisecondsAndTakesTheTickAfter)
{
    const struct {
        const char* name;
        Uint32 last, now, shortfall;
        std::vector<Uint32> delays;
        Uint32 returned;
    } cases[] = {
        {"early frame waits the rest", 1000, 1010, 0, {20}, 1030},
        {"frame of exactly 30 ms is not delayed", 1000, 1030, 0, {}, 1030},
        {"across the wrap of the tick count", 0xFFFFFFF0u, 4, 0, {10}, 14},
        {"a wait cut short is topped up", 1000, 1010, 3, {20, 3, 2, 1}, 1030},
    };
    for (const auto& c : cases) {
        Uint32 now = c.now;
        std::vector<Uint32> delays;
        const Application::Clock clock{[&] { return now; }, [&](Uint32 ms) {
                                           delays.push_back(ms);
                                           now += ms > c.shortfall ? ms - c.shortfall : 1;
                                       }};
        EXPECT_EQ(Application::paceFrame(c.last, clock), c.returned) << c.name;
        EXPECT_EQ(delays, c.delays) << c.name;
    }

    // The loop's own clock counts in microseconds; a slip of its units
    // would let frames come a thousand times too close or too far apart.
    // Timed on the steady clock it counts, whose whole microseconds both
    // readings share, so that no rounding between two clocks can show.
    const Application::Clock clock = Application::microsecondClock();
    const std::uint64_t started = SteadyClock::microseconds();
    const Uint32 first = clock.ticks();
    EXPECT_GE(Application::paceFrame(first, clock) - first, 30000u);
    const std::uint64_t waited = SteadyClock::microseconds() - started;
    EXPECT_GE(waited, 30000u);
    EXPECT_LT(waited, 10000000u) << "a busy machine may hold a sleep up, but not for seconds";
}

// Where SDL cannot start (no display, as over SSH), "--help" among the words
// still gives the help and status 0, after the words as always; any other
// words give the failure and status 1. Each start is a process of its own, in
// which SDL has not started before: a failed start leaves SDL in a state in
// which the next one would pass.
TEST(ApplicationStartTest, HelpNeedsNoDisplayButEveryOtherStartDoes)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ScopedEnv noDriver("SDL_VIDEODRIVER", "no-such-driver");
    const ScopedEnv noDisplay("DISPLAY", nullptr);
    EXPECT_EXIT(startAndExit({"-w", "800", "--help"}), testing::ExitedWithCode(0), "--help\n+Brick Voyager\n+Usage:");
    EXPECT_EXIT(startAndExit({"--windowed"}), testing::ExitedWithCode(1), "Could not initialise SDL: ");
    EXPECT_EXIT(startAndExit({"-help"}), testing::ExitedWithCode(1), "Could not initialise SDL: ");
}

// The tests' own starts are retried in the same process when the virtual
// display refuses one: the start after a failed one must run whole, its
// timer and joysticks (the pads' events) with it.
void failThenStartAndExit()
{
    {
        const ScopedEnv noDriver("SDL_VIDEODRIVER", "no-such-driver");
        try {
            Application failed({"--windowed", "--nosound"});
        } catch (const FatalError&) {
        }
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        try {
            Application app({"--windowed", "-w", "640", "-h", "480", "--nosound"});
            const Uint32 parts = SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK;
            std::exit(SDL_WasInit(parts) == parts ? 0 : 3);
        } catch (const FatalError&) {
        }
    }
    std::exit(4);
}

TEST(ApplicationStartTest, StartAfterAFailedOneRunsWhole)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(failThenStartAndExit(), testing::ExitedWithCode(0), "");
}
