#include "Application.h"

#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "FatalError.h"
#include "SdlEventSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

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

TEST_F(ApplicationTest, EscapeEndsTheLoopAfterTheKeysQueuedBehindIt)
{
    const short startX = app->game.player.x;
    dispatch({});
    for (SDL_Event event : {keyEvent(SDLK_ESCAPE, true), keyEvent(SDLK_RIGHT, true),
                            keyEvent(SDLK_ESCAPE, false)})
        ASSERT_EQ(SDL_PushEvent(&event), 0);

    app->eventLoop();

    EXPECT_TRUE(app->quitRequested);
    EXPECT_EQ(presses, (std::vector<KeyPress>{down(SDLK_RIGHT), up(SDLK_ESCAPE)}));
    EXPECT_TRUE(app->game.rightHeld);
    // No frame was drawn: the held arrow has not moved the figure.
    EXPECT_EQ(app->game.player.x, startX);
}

TEST_F(ApplicationTest, QuitEventEndsTheLoopAndMouseInputChangesNothing)
{
    SDL_Event motion = {};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.type = SDL_MOUSEMOTION;
    motion.motion.x = 100;
    motion.motion.y = 100;
    SDL_Event click = {};
    click.type = SDL_MOUSEBUTTONDOWN;
    click.button.type = SDL_MOUSEBUTTONDOWN;
    click.button.button = SDL_BUTTON_LEFT;
    dispatch({motion, click});
    EXPECT_TRUE(presses.empty());
    EXPECT_FALSE(app->quitRequested);

    SDL_Event quit = {};
    quit.type = SDL_QUIT;
    ASSERT_EQ(SDL_PushEvent(&quit), 0);
    app->eventLoop();
    EXPECT_TRUE(app->quitRequested);
}

TEST_F(ApplicationTest, StartUpSettlesTheWindowAndCaption)
{
    EXPECT_EQ(app->width, 320);
    EXPECT_EQ(app->height, 240);
    EXPECT_TRUE(app->noSound);
    EXPECT_FALSE(app->audioDevice.isStarted());
    const SDL_Surface* screen = SDL_GetVideoSurface();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(screen->w, 320);
    EXPECT_EQ(screen->h, 240);
    char* title = nullptr;
    SDL_WM_GetCaption(&title, nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_STREQ(title, "Brick Voyager");
}

TEST_F(ApplicationTest, AudioBlocksStartClearedAndCarryMusicUnlessSwitchedOff)
{
    const int frames = 4096;
    std::vector<float> block(2 * frames);

    app->noMusic = true;
    const int position = app->music.getPlayPosition();
    for (int call = 0; call < 3; ++call) {
        std::fill(block.begin(), block.end(), 7.0f);
        app->getAudio(nullptr, block.data(), frames);
        for (int i = 0; i < 2 * frames; ++i)
            ASSERT_EQ(block[i], 0.0f) << "sample " << i;
    }
    EXPECT_EQ(app->music.getPlayPosition(), position) << "music advanced while switched off";

    app->noMusic = false;
    float loudest = 0.0f;
    for (int call = 0; call < 20; ++call) {
        std::fill(block.begin(), block.end(), 7.0f);
        app->getAudio(nullptr, block.data(), frames);
        for (float sample : block) {
            // Music at half amplitude, faded in: never near the 7 left behind.
            ASSERT_LE(std::fabs(sample), 0.5f);
            loudest = std::max(loudest, std::fabs(sample));
        }
    }
    EXPECT_NE(app->music.getPlayPosition(), position);
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

namespace {

// A clock that only moves when it is waited on or told that work took time;
// a wait may end early by shortfall milliseconds, as a sleep may be cut short.
struct FakeClock {
    Uint32 now = 0;
    Uint32 shortfall = 0;
    std::vector<Uint32> delays;

    Application::Clock clock()
    {
        return Application::Clock{[this] { return now; },
                                  [this](Uint32 ms) {
                                      delays.push_back(ms);
                                      now += ms > shortfall ? ms - shortfall : 1;
                                  }};
    }
};

struct PaceCase {
    const char* name;
    Uint32 last;
    Uint32 now;
    Uint32 shortfall;
    std::vector<Uint32> delays;
    Uint32 returned;
};

} // namespace

TEST(ApplicationPacingTest, FrameWaitsOutTheRestOfThirtyMillisecondsAndTakesTheTickAfter)
{
    const std::vector<PaceCase> cases = {
        {"early frame waits the rest", 1000, 1010, 0, {20}, 1030},
        {"frame right after the last waits the whole", 1000, 1000, 0, {30}, 1030},
        {"frame of exactly 30 ms is not delayed", 1000, 1030, 0, {}, 1030},
        {"long frame is not delayed", 1000, 1075, 0, {}, 1075},
        {"first frame counts from SDL's start", 0, 12, 0, {18}, 30},
        {"across the wrap of the tick count", 0xFFFFFFF0u, 4, 0, {10}, 14},
        {"a wait cut short is topped up", 1000, 1010, 3, {20, 3, 2, 1}, 1030},
    };
    for (const PaceCase& c : cases) {
        SCOPED_TRACE(c.name);
        FakeClock fake;
        fake.now = c.now;
        fake.shortfall = c.shortfall;
        EXPECT_EQ(Application::paceFrame(c.last, fake.clock()), c.returned);
        EXPECT_EQ(fake.delays, c.delays);
    }
}

TEST(ApplicationPacingTest, FramesAreThirtyMillisecondsApartWhateverTheirWork)
{
    FakeClock fake;
    fake.now = 500;
    const Application::Clock clock = fake.clock();
    Uint32 last = 0;
    Uint32 previousFrame = 0;
    // Work per frame in ms, light and heavy mixed.
    const Uint32 work[] = {1, 5, 29, 30, 31, 45, 0, 12, 2, 60, 3, 3};
    Uint32 firstFrame = 0;
    int frame = 0;
    for (const Uint32 ms : work) {
        const std::size_t delaysBefore = fake.delays.size();
        last = Application::paceFrame(last, clock);
        if (frame == 0) {
            firstFrame = last;
        } else {
            EXPECT_EQ(last - previousFrame, std::max<Uint32>(30, work[frame - 1]))
                << "frame " << frame;
            if (work[frame - 1] >= 30) {
                EXPECT_EQ(fake.delays.size(), delaysBefore) << "frame " << frame << " was delayed";
            }
        }
        previousFrame = last;
        fake.now += ms;
        ++frame;
    }
    // Twelve frames of light work take eleven full periods, never half of them.
    EXPECT_GE(last - firstFrame, 11u * 30u);
}
