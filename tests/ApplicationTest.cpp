#include "Application.h"

#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "FatalError.h"
#include "SdlEventSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

// A whole Application in a small window, without sound output so that the
// tests alone call getAudio, and with a settings folder of its own. The
// virtual display now and then refuses a connection: one more try then.
class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int attempt = 0; attempt < 2 && !app; ++attempt) {
            try {
                CoutCapture quiet;
                app = std::make_unique<Application>(
                    std::vector<std::string>{"--windowed", "-w", "320", "-h", "240", "--nosound"});
            } catch (const FatalError& error) {
                std::cout << "ApplicationTest: start failed: " << error.message << std::endl;
            }
        }
        ASSERT_TRUE(app) << "no window could be opened";
        keepGlDriverLoaded();
        app->keyWatcher = [this](const SDL_keysym& key, bool isDown) {
            presses.push_back({key.sym, isDown});
        };
    }

    void TearDown() override { app.reset(); }

    // Queues the events as SDL would, then lets the application take them.
    void dispatch(const std::vector<SDL_Event>& events)
    {
        for (SDL_Event event : events)
            ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError();
        app->drainEvents();
    }

    TempDir settings;
    ScopedEnv settingsHere{"XDG_CONFIG_HOME", settings.path()};
    ScopedEnv stateHere{"XDG_STATE_HOME", settings.path()};
    std::unique_ptr<Application> app;
    std::vector<KeyPress> presses;
};

struct StickCase {
    const char* name;
    std::vector<SDL_Event> events;
    std::vector<KeyPress> expected;
};

} // namespace

TEST_F(ApplicationTest, StickMovesReachTheGameAsArrowKeys)
{
    const std::vector<StickCase> cases = {
        {"far left", {axisEvent(0, -32768)}, {down(SDLK_LEFT)}},
        {"far right", {axisEvent(0, 32767)}, {down(SDLK_RIGHT)}},
        {"left to right in one event",
         {axisEvent(0, -32768), axisEvent(0, 32767)},
         {down(SDLK_LEFT), up(SDLK_LEFT), down(SDLK_RIGHT)}},
        {"right to left in one event",
         {axisEvent(0, 20000), axisEvent(0, -20000)},
         {down(SDLK_RIGHT), up(SDLK_RIGHT), down(SDLK_LEFT)}},
        {"moving within one side presses again",
         {axisEvent(0, -9000), axisEvent(0, -30000)},
         {down(SDLK_LEFT), down(SDLK_LEFT)}},
        {"fully down to fully up in one event",
         {axisEvent(1, 32767), axisEvent(1, -32768)},
         {down(SDLK_DOWN), up(SDLK_DOWN), down(SDLK_UP)}},
        {"up to down", {axisEvent(1, -9000), axisEvent(1, 9000)},
         {down(SDLK_UP), up(SDLK_UP), down(SDLK_DOWN)}},
        {"horizontal centre releases both even when neither was held",
         {axisEvent(0, 0)}, {up(SDLK_RIGHT), up(SDLK_LEFT)}},
        {"vertical centre releases both", {axisEvent(1, 0)}, {up(SDLK_DOWN), up(SDLK_UP)}},
        {"-8192 and 8192 are centred",
         {axisEvent(0, -8192), axisEvent(0, 8192), axisEvent(1, -8192), axisEvent(1, 8192)},
         {up(SDLK_RIGHT), up(SDLK_LEFT), up(SDLK_RIGHT), up(SDLK_LEFT), up(SDLK_DOWN),
          up(SDLK_UP), up(SDLK_DOWN), up(SDLK_UP)}},
        {"-8193 and 8193 are pushed",
         {axisEvent(0, -8193), axisEvent(0, 8193), axisEvent(1, 8193), axisEvent(1, -8193)},
         {down(SDLK_LEFT), up(SDLK_LEFT), down(SDLK_RIGHT), down(SDLK_DOWN), up(SDLK_DOWN),
          down(SDLK_UP)}},
        {"other axes are ignored", {axisEvent(2, 32767), axisEvent(3, -32768)}, {}},
    };
    for (const StickCase& c : cases) {
        SCOPED_TRACE(c.name);
        app->handleEvent(axisEvent(0, 0));
        app->handleEvent(axisEvent(1, 0));
        presses.clear();
        dispatch(c.events);
        EXPECT_EQ(presses, c.expected);
    }
}

TEST_F(ApplicationTest, StickHeldToOneSideKeepsTheGamesArrowHeldUntilCentred)
{
    dispatch({axisEvent(0, -32768), axisEvent(0, 32767)});
    EXPECT_FALSE(app->game.leftHeld);
    EXPECT_TRUE(app->game.rightHeld);
    EXPECT_TRUE(app->stickRightHeld);
    EXPECT_FALSE(app->stickLeftHeld);

    dispatch({axisEvent(0, 100)});
    EXPECT_FALSE(app->game.rightHeld);
    EXPECT_FALSE(app->stickRightHeld);

    dispatch({axisEvent(1, 32767)});
    EXPECT_TRUE(app->game.downHeld);
    EXPECT_TRUE(app->stickDownHeld);
    dispatch({axisEvent(1, -1)});
    EXPECT_FALSE(app->game.downHeld);
    EXPECT_FALSE(app->stickDownHeld);
}

TEST_F(ApplicationTest, JoystickButtonsReachTheGameAsZXAndC)
{
    dispatch({buttonEvent(0, true), buttonEvent(1, true), buttonEvent(2, true),
              buttonEvent(7, true), buttonEvent(7, false), buttonEvent(2, false),
              buttonEvent(1, false), buttonEvent(0, false)});
    EXPECT_EQ(presses, (std::vector<KeyPress>{down(SDLK_z), down(SDLK_x), down(SDLK_c),
                                              down(SDLK_c), up(SDLK_c), up(SDLK_c), up(SDLK_x),
                                              up(SDLK_z)}));
}

TEST_F(ApplicationTest, EscapeEndsTheLoopAfterTheKeysQueuedBehindItAndMouseInputChangesNothing)
{
    SDL_Event click = {};
    click.type = click.button.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    dispatch({click});
    EXPECT_TRUE(presses.empty());
    EXPECT_FALSE(app->quitRequested);

    const short startX = app->game.player.x;
    for (SDL_Event event : {keyEvent(SDLK_ESCAPE, true), keyEvent(SDLK_RIGHT, true), keyEvent(SDLK_ESCAPE, false)})
        ASSERT_EQ(SDL_PushEvent(&event), 0);
    app->eventLoop();
    EXPECT_TRUE(app->quitRequested);
    EXPECT_EQ(presses, (std::vector<KeyPress>{down(SDLK_RIGHT), up(SDLK_ESCAPE)}));
    EXPECT_TRUE(app->game.rightHeld);
    EXPECT_EQ(app->game.player.x, startX) << "no frame was drawn";

    app->quitRequested = false;
    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    app->eventLoop();
    EXPECT_TRUE(app->quitRequested);
}

// The audio callback's output: cleared, then the music unless it is off.
TEST_F(ApplicationTest, AudioBlocksStartClearedAndCarryMusicUnlessSwitchedOff)
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
}

TEST_F(ApplicationTest, MusicKeysAreTheShellsAndSetTheLevelOfTheAudioBlocks)
{
    const int frames = 2048;
    std::vector<float> block(2 * frames);
    const auto loudest = [&] {
        app->getAudio(nullptr, block.data(), frames);
        float peak = 0.0f;
        for (float sample : block)
            peak = std::max(peak, std::fabs(sample));
        return peak;
    };
    // Past the first frames of the fade-in, which are silent.
    loudest();
    EXPECT_GT(loudest(), 0.0f);
    {
        CoutCapture out;
        dispatch({keyEvent(SDLK_m, true), keyEvent(SDLK_m, false)});
        EXPECT_EQ(out.text(), "Music: muted\n");
    }
    loudest();  // the glide down
    EXPECT_EQ(loudest(), 0.0f);
    EXPECT_EQ(presses, std::vector<KeyPress>{up(SDLK_m)}) << "the key went down to the game";
}

// A clock that only moves when it is waited on; a wait may end early by
// shortfall milliseconds, as a sleep may be cut short.
TEST(ApplicationPacingTest, FrameWaitsOutTheRestOfThirtyMillisecondsAndTakesTheTickAfter)
{
    const struct {
        const char* name;
        Uint32 last, now, shortfall;
        std::vector<Uint32> delays;
        Uint32 returned;
    } cases[] = {
        {"early frame waits the rest", 1000, 1010, 0, {20}, 1030},
        {"frame right after the last waits the whole", 1000, 1000, 0, {30}, 1030},
        {"frame of exactly 30 ms is not delayed", 1000, 1030, 0, {}, 1030},
        {"long frame is not delayed", 1000, 1075, 0, {}, 1075},
        {"first frame counts from SDL's start", 0, 12, 0, {18}, 30},
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
}
