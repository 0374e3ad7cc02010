#include "Application.h"

#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "FatalError.h"
#include "SdlEventSupport.h"
#include "TestSupport.h"
#include "platform/ScreenResolution.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// The world's state that moves from frame to frame even when nobody plays.
struct World {
    short x;
    short y;
    float breathing;
    int animFrame;

    explicit World(GamePlay& game)
        : x(game.player.x), y(game.player.y), breathing(game.currentLevel().animPhase),
          animFrame(game.animFrame)
    {
    }
    bool operator==(const World& o) const
    {
        return x == o.x && y == o.y && breathing == o.breathing && animFrame == o.animFrame;
    }
    bool operator!=(const World& o) const { return !(*this == o); }
};

std::ostream& operator<<(std::ostream& out, const World& w)
{
    return out << "figure " << w.x << ", " << w.y << " breathing " << w.breathing << " frame "
               << w.animFrame;
}

// A whole Application in a 640 x 480 window, without sound output, with a
// settings folder of its own, as a player runs it: events are queued as SDL
// would queue them and the loop's own passes take them.
class ApplicationComfortsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int attempt = 0; attempt < 2 && !app; ++attempt) {
            try {
                CoutCapture quiet;
                app = std::make_unique<Application>(
                    std::vector<std::string>{"--windowed", "-w", "640", "-h", "480", "--nosound"});
            } catch (const FatalError& error) {
                std::cout << "ApplicationComfortsTest: start failed: " << error.message << std::endl;
            }
        }
        ASSERT_TRUE(app) << "no window could be opened";
        keepGlDriverLoaded();
        app->loadGlyphs();
        // Past the fade-in from black, so that the picture shows what it holds.
        app->game.fadeIn = 1.0f;
        // Windows of tests running beside this one take the focus of the
        // shared display; the cases hand their own focus events over instead.
        SDL_EventState(SDL_ACTIVEEVENT, SDL_IGNORE);
        app->keyWatcher = [this](const SDL_keysym& key, bool isDown) {
            presses.push_back({key.sym, isDown});
        };
    }

    void TearDown() override { app.reset(); }

    // Queued as SDL would queue them, but focus events, which the queue
    // ignores here, go straight to the application.
    void push(const std::vector<SDL_Event>& events)
    {
        for (SDL_Event event : events) {
            if (event.type == SDL_ACTIVEEVENT)
                app->handleEvent(event);
            else
                ASSERT_EQ(SDL_PushEvent(&event), 0) << SDL_GetError();
        }
    }

    void passes(int count)
    {
        for (int pass = 0; pass < count; ++pass)
            ASSERT_TRUE(app->runPass());
    }

    OpenGLDrawer& drawer() { return static_cast<OpenGLDrawer&>(*app->drawer); }
    Screen screen() { return Screen(drawer(), app->width, app->height); }

    // Where a logical point lies in the window, counted from the top-left.
    std::pair<int, int> windowPoint(float x, float y)
    {
        const int w = drawer().getActualWidth(), h = drawer().getActualHeight();
        return {(app->width - w) / 2 + static_cast<int>(x * w / 1024.0f),
                (app->height - h) / 2 + static_cast<int>(y * h / 768.0f)};
    }

    Rgb at(const Screen& s, float x, float y)
    {
        const auto [wx, wy] = windowPoint(x, y);
        return s.at(wx, wy);
    }

    TempDir settings;
    ScopedEnv settingsHere{"XDG_CONFIG_HOME", settings.path()};
    std::unique_ptr<Application> app;
    std::vector<KeyPress> presses;
};

bool close(const Rgb& a, const Rgb& b, int tolerance)
{
    return near(a, b.r, b.g, b.b, tolerance);
}

// The figure's middle, the middle of the first block and a spot of ground
// beside the figure, in logical coordinates.
struct Landmarks {
    float figureX, figureY, blockX, blockY, groundX, groundY;

    explicit Landmarks(GamePlay& game)
    {
        figureX = game.player.x + Player::width / 2.0f;
        figureY = game.player.y + Player::height / 2.0f;
        const Block& block = game.currentLevel().blocks.at(0);
        blockX = block.x + block.width / 2.0f;
        blockY = block.y + block.height / 2.0f;
        groundX = figureX + 60.0f;
        groundY = figureY - 40.0f;
    }
};

} // namespace

TEST_F(ApplicationComfortsTest, FullScreenSwitchesEachWayKeepThePictureAndEveryImage)
{
    const std::string settingsPath = settings.path() + "/PlayScaffold/PlayScaffold.conf";
    ASSERT_TRUE(std::filesystem::exists(settingsPath));
    const std::string settingsBefore = readFile(settingsPath);
    const auto settingsTime = std::filesystem::last_write_time(settingsPath);
    const int displayWidth = ScreenResolution::getScreenWidth();
    const int displayHeight = ScreenResolution::getScreenHeight();

    struct Switch {
        const char* name;
        SDL_Event key;
        bool fullscreen;
        int width;
        int height;
    };
    const std::vector<Switch> switches = {
        {"Alt+Enter on", keyEvent(SDLK_RETURN, true, KMOD_LALT), true, displayWidth, displayHeight},
        {"Alt+Enter off", keyEvent(SDLK_RETURN, true, KMOD_RALT), false, 640, 480},
        {"F11 on", keyEvent(SDLK_F11, true), true, displayWidth, displayHeight},
        {"F11 off", keyEvent(SDLK_F11, true), false, 640, 480},
    };

    // The blocks and the figure breathe in a 12-frame cycle: pictures a
    // whole cycle apart match.
    passes(24);
    for (const Switch& s : switches) {
        SCOPED_TRACE(s.name);
        const Landmarks marks(app->game);
        const Screen before = screen();
        const Rgb figure = at(before, marks.figureX, marks.figureY);
        const Rgb block = at(before, marks.blockX, marks.blockY);
        const Rgb ground = at(before, marks.groundX, marks.groundY);
        // Pale green, though the vignette may shade it.
        ASSERT_TRUE(ground.g > 150 && ground.g > ground.r + 30 && ground.r == ground.b) << ground;
        ASSERT_FALSE(close(figure, ground, 40)) << figure;
        ASSERT_FALSE(close(block, ground, 15)) << block;
        std::map<unsigned int, unsigned short> widthsBefore;
        for (const auto& [id, image] : drawer().getImages())
            widthsBefore[id] = image.width;

        CoutCapture output;
        push({s.key});
        passes(12);

        EXPECT_EQ(output.lines(), std::vector<std::string>{
                                      std::string("Full screen: ") + (s.fullscreen ? "on" : "off") +
                                      " (" + std::to_string(s.width) + " x " +
                                      std::to_string(s.height) + ")"});
        const SDL_Surface* surface = SDL_GetVideoSurface();
        ASSERT_NE(surface, nullptr);
        EXPECT_EQ(surface->w, s.width);
        EXPECT_EQ(surface->h, s.height);
        EXPECT_EQ((surface->flags & SDL_FULLSCREEN) != 0, s.fullscreen);
        EXPECT_EQ(app->width, s.width);
        EXPECT_EQ(app->height, s.height);

        std::map<unsigned int, unsigned short> widthsAfter;
        for (const auto& [id, image] : drawer().getImages()) {
            widthsAfter[id] = image.width;
            EXPECT_TRUE(glIsTexture(image.texture)) << "image " << id;
        }
        EXPECT_EQ(widthsAfter, widthsBefore);
        EXPECT_TRUE(glIsTexture(drawer().getGlyph(Drawer::GlyphP).texture));

        const Screen after = screen();
        const Landmarks moved(app->game);
        EXPECT_TRUE(close(at(after, moved.figureX, moved.figureY), figure, 30)) << "figure";
        EXPECT_TRUE(close(at(after, marks.blockX, marks.blockY), block, 30)) << "block";
        EXPECT_TRUE(close(at(after, marks.groundX, marks.groundY), ground, 12)) << "ground";
    }
    EXPECT_EQ(readFile(settingsPath), settingsBefore);
    EXPECT_EQ(std::filesystem::last_write_time(settingsPath), settingsTime);
}

TEST_F(ApplicationComfortsTest, PauseStopsTheWorldUnderAVeilUntilItsOwnResume)
{
    struct PauseCase {
        const char* name;
        SDL_Event pause;
        // Changes nothing while paused.
        SDL_Event ignored;
        SDL_Event resume;
        PauseControl::Cause cause;
    };
    const std::vector<PauseCase> cases = {
        {"P, then P", keyEvent(SDLK_p, true), activeEvent(SDL_APPINPUTFOCUS, true),
         keyEvent(SDLK_p, true), PauseControl::Cause::Player},
        {"Start button, then Start", buttonEvent(9, true), keyEvent(SDLK_RIGHT, true),
         buttonEvent(9, true), PauseControl::Cause::Player},
        {"focus lost, then an arrow", activeEvent(SDL_APPINPUTFOCUS, false),
         activeEvent(SDL_APPINPUTFOCUS, true), keyEvent(SDLK_LEFT, true),
         PauseControl::Cause::Focus},
        {"minimised, then P", activeEvent(SDL_APPACTIVE, false),
         activeEvent(SDL_APPACTIVE | SDL_APPINPUTFOCUS, true), keyEvent(SDLK_p, true),
         PauseControl::Cause::Focus},
    };
    passes(3);
    for (const PauseCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Landmarks marks(app->game);
        const Rgb lit = at(screen(), marks.groundX, marks.groundY);
        push({c.pause});
        passes(1);
        ASSERT_EQ(app->pause.getCause(), c.cause);
        const World stopped(app->game);
        push({c.ignored});
        passes(30);
        EXPECT_EQ(World(app->game), stopped);
        EXPECT_TRUE(app->pause.isPaused());

        // The veil darkens the ground; the word stands out white in the middle.
        const Screen veiled = screen();
        const Rgb dimmed = at(veiled, marks.groundX, marks.groundY);
        EXPECT_TRUE(near(dimmed, lit.r * 135 / 255, lit.g * 135 / 255, lit.b * 135 / 255, 4))
            << dimmed << " from " << lit;
        const auto [left, top] = windowPoint(320.0f, 352.0f);
        const auto [right, bottom] = windowPoint(704.0f, 416.0f);
        EXPECT_TRUE(veiled.anyLit(left, top, right, bottom, 200)) << "no word";
        EXPECT_FALSE(veiled.anyLit(0, top, left - 4, bottom, 200)) << "white left of the word";

        push({c.resume});
        passes(2);
        EXPECT_FALSE(app->pause.isPaused());
        EXPECT_NE(World(app->game), stopped);
        push({keyEvent(SDLK_RIGHT, false), keyEvent(SDLK_LEFT, false)});
    }
}

TEST_F(ApplicationComfortsTest, StartButtonStillReachesTheGameAsC)
{
    push({buttonEvent(9, true), buttonEvent(9, false), buttonEvent(9, true)});
    passes(1);
    EXPECT_EQ(presses, (std::vector<KeyPress>{down(SDLK_c), up(SDLK_c), down(SDLK_c)}));
    EXPECT_FALSE(app->pause.isPaused());
}

TEST_F(ApplicationComfortsTest, LosingTheFocusReleasesHeldKeysSoTheFigureStaysPut)
{
    push({keyEvent(SDLK_RIGHT, true), axisEvent(0, -32768), hatEvent(SDL_HAT_DOWN)});
    passes(1);
    ASSERT_TRUE(app->game.leftHeld || app->game.rightHeld);
    presses.clear();

    push({activeEvent(SDL_APPINPUTFOCUS, false)});
    passes(1);
    EXPECT_FALSE(app->game.leftHeld);
    EXPECT_FALSE(app->game.rightHeld);
    EXPECT_FALSE(app->game.downHeld);
    EXPECT_EQ(presses, (std::vector<KeyPress>{up(SDLK_LEFT), up(SDLK_RIGHT), up(SDLK_DOWN)}));
    EXPECT_FALSE(app->stickLeftHeld);

    push({keyEvent(SDLK_p, true)});
    passes(1);
    ASSERT_FALSE(app->pause.isPaused());
    const short x = app->game.player.x;
    passes(30);
    EXPECT_EQ(app->game.player.x, x);
}

TEST_F(ApplicationComfortsTest, HatPositionsHoldTheirArrowsAsTheStickDoes)
{
    struct HatCase {
        const char* name;
        std::vector<Uint8> positions;
        std::vector<KeyPress> expected;
    };
    const std::vector<HatCase> cases = {
        {"up", {SDL_HAT_UP}, {down(SDLK_UP)}},
        {"right", {SDL_HAT_RIGHT}, {down(SDLK_RIGHT)}},
        {"down", {SDL_HAT_DOWN}, {down(SDLK_DOWN)}},
        {"left", {SDL_HAT_LEFT}, {down(SDLK_LEFT)}},
        {"right up", {SDL_HAT_RIGHTUP}, {down(SDLK_UP), down(SDLK_RIGHT)}},
        {"right down", {SDL_HAT_RIGHTDOWN}, {down(SDLK_RIGHT), down(SDLK_DOWN)}},
        {"left down", {SDL_HAT_LEFTDOWN}, {down(SDLK_DOWN), down(SDLK_LEFT)}},
        {"left up", {SDL_HAT_LEFTUP}, {down(SDLK_UP), down(SDLK_LEFT)}},
        {"rolling from right up to right down keeps right",
         {SDL_HAT_RIGHTUP, SDL_HAT_RIGHTDOWN},
         {down(SDLK_UP), down(SDLK_RIGHT), up(SDLK_UP), down(SDLK_DOWN)}},
        {"left straight to right", {SDL_HAT_LEFT, SDL_HAT_RIGHT},
         {down(SDLK_LEFT), up(SDLK_LEFT), down(SDLK_RIGHT)}},
    };
    for (const HatCase& c : cases) {
        SCOPED_TRACE(c.name);
        presses.clear();
        for (Uint8 position : c.positions)
            app->handleEvent(hatEvent(position));
        EXPECT_EQ(presses, c.expected);
        EXPECT_EQ(app->game.rightHeld, (c.positions.back() & SDL_HAT_RIGHT) != 0);
        EXPECT_EQ(app->game.leftHeld, (c.positions.back() & SDL_HAT_LEFT) != 0);
        EXPECT_EQ(app->game.downHeld, (c.positions.back() & SDL_HAT_DOWN) != 0);

        // Centred again, every arrow the pad held is released.
        const std::size_t held = presses.size();
        app->handleEvent(hatEvent(SDL_HAT_CENTERED));
        for (std::size_t i = held; i < presses.size(); ++i)
            EXPECT_FALSE(presses[i].down);
        EXPECT_FALSE(app->game.rightHeld || app->game.leftHeld || app->game.downHeld);
    }
}
