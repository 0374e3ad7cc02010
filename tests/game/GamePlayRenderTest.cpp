#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "GamePlayTestSupport.h"

// What the frames hold over time, which the reference pictures of single
// frames cannot show: the loading, the poses, the shimmer, the fades.

namespace {

template <typename... Args>
std::string line(const char* name, Args... args)
{
    std::ostringstream out;
    out << name;
    ((out << ' ' << args), ...);
    return out.str();
}

// The image ids the game is handed below: the place of the load in its frame.
enum Id : unsigned {
    Focalfade1 = 1, Focalfade3, Rect1a, Rect1b, Rect2a, Rect2b, Rect3a, Rect3b, Rect4a, Rect4b,
    Door, Title, Stepinside, Guystand1, Guystand2, Guywalk1, Guywalk2, Guywalk3
};

std::string image(unsigned id, float x, float y, float scaleX = 1) { return line("drawImage", id, x, y, scaleX, 1); }

std::string drawOf(unsigned id) { return "drawImage " + std::to_string(id) + ' '; }

// A figure standing at (100, 452) on a wide block, with a door.
const std::string firstPlane = "<Plane><Screen><Block x=\"-100\" y=\"500\" type=\"2\" s0=\"1\"/>"
                               "<Door x=\"600\" y=\"440\"/><Player x=\"100\" y=\"452\"/></Screen></Plane>";

// A game drawn into a drawer that draws nothing and writes each image and
// fill down as a line: "drawImage 14 100 452 1 1" (id, place, scale),
// "fillRect 0 0 0 255" (colour).
struct Game : NullDrawer {
    explicit Game(const std::string& planes)
        : NullDrawer(LogicalScreen::width, LogicalScreen::height), game(gameOf(planes))
    {
    }

    unsigned int loadImage(unsigned char* pixels, unsigned int, unsigned int) override
    {
        delete[] pixels;
        calls.push_back("loadImage");
        const auto loaded = static_cast<unsigned int>(std::count(calls.begin(), calls.end(), "loadImage"));
        return refusedLoads > 0 && refusedLoads-- ? 0 : loaded;
    }
    void drawImage(unsigned int id, float x, float y, float sx, float sy, float, float, float, float) override
    {
        calls.push_back(line("drawImage", id, x, y, sx, sy));
    }
    void fillRect(float, float, float, float, unsigned char r, unsigned char g, unsigned char b, unsigned char a) override
    {
        calls.push_back(line("fillRect", int(r), int(g), int(b), int(a)));
    }

    // The calls of one frame that start with prefix ("" for all).
    std::vector<std::string> frame(const std::string& prefix = "")
    {
        calls.clear();
        game->draw(this);
        std::vector<std::string> found;
        std::copy_if(calls.begin(), calls.end(), std::back_inserter(found),
                     [&](const std::string& call) { return call.compare(0, prefix.size(), prefix) == 0; });
        return found;
    }

    std::unique_ptr<GamePlay> game;
    std::vector<std::string> calls;
    int refusedLoads = 0;  // so many loads from now on answer 0
};

int alphaOf(const std::string& fillCall) { return std::stoi(fillCall.substr(fillCall.rfind(' ') + 1)); }

}  // namespace

// Over one walk cycle every pose shows; facing left mirrors the figure about
// its middle.
TEST(GamePlayRenderTest, FigureWalksThroughTheCycleWhenMovingAndIsMirroredFacingLeft)
{
    Game g(firstPlane);
    g.frame();
    place(*g.game, 300, 452);
    g.game->rightHeld = true;
    std::set<unsigned> poses;
    for (int f = 0; f < 37; ++f)
        for (const std::string& call : g.frame("drawImage"))
            for (const unsigned pose : {Guystand1, Guywalk1, Guywalk2, Guywalk3})
                if (call.rfind(drawOf(pose), 0) == 0)
                    poses.insert(pose);
    EXPECT_EQ(poses, (std::set<unsigned>{Guystand1, Guywalk1, Guywalk2, Guywalk3}));
    g.game->rightHeld = false;
    g.game->walkFrame = 0;
    place(*g.game, 100, 452);
    press(*g.game, SDLK_LEFT);
    EXPECT_EQ(g.frame(drawOf(Guywalk1)), std::vector<std::string>{image(Guywalk1, 96 + 22, 452, -1)});
}

// The images load at the first frame; one the drawer refuses is never drawn
// (an id of 0 would make a drawer abort) but asked for again at the next
// frame, and then none again. Over the twelve-frame cycle the figure
// breathes (and keeps its walk frame), the blocks shimmer between their
// variants (types 0 to 3; one of an unknown type never shows) and the
// vignette on top alternates every three frames.
TEST(GamePlayRenderTest, ImagesLoadOnceAndTheFigureBlocksAndVignetteFollowTheCycle)
{
    Game g("<Plane><Screen><Block x=\"300\" y=\"0\" type=\"0\" s0=\"1\"/><Block x=\"300\" y=\"0\" type=\"1\" s0=\"1\"/>"
           "<Block x=\"-100\" y=\"500\" type=\"2\" s0=\"1\"/><Block x=\"300\" y=\"0\" type=\"3\" s0=\"1\"/>"
           "<Player x=\"100\" y=\"452\"/></Screen></Plane>");
    Block unknown;
    unknown.type = 7;
    g.game->currentLevel().addBlock(unknown);
    g.game->showTitle = false;
    g.game->walkFrame = 9;
    g.refusedLoads = 2;
    for (int frame = 0; frame < 14; ++frame) {
        const std::vector<std::string> calls = g.frame("drawImage");
        EXPECT_EQ(std::count(g.calls.begin(), g.calls.end(), "loadImage"), frame < 2 ? 18 : 0) << frame;
        if (frame == 0) {
            EXPECT_EQ(calls.size(), 5u) << "the vignette's two images were refused";
            continue;
        }
        const unsigned b = frame % 12 > 5 ? 1 : 0;
        ASSERT_EQ(calls.size(), 6u) << "figure, four blocks, vignette";
        EXPECT_EQ(calls[0], image(Guystand1 + b, 100, 452)) << frame;
        for (unsigned type = 0; type < 4; ++type)
            EXPECT_EQ(calls[1 + type].rfind(drawOf(Rect1a + 2 * type + b), 0), 0u) << calls[1 + type];
        EXPECT_EQ(calls.back(), image(frame % 6 > 2 ? Focalfade3 : Focalfade1, 0, 0)) << frame;
    }
    EXPECT_EQ(g.game->walkFrame, 9);
}

// The black veil thins frame by frame for 200 frames; through the last door
// (the arrow released after one frame) the grey one thickens from nothing,
// by at most two levels a frame, and stays.
TEST(GamePlayRenderTest, BlackFadesOutOverEachPlanesStartAndGreyFadesInAfterTheLastDoor)
{
    Game g(firstPlane);
    std::vector<int> black, grey;
    while (g.game->fadeIn < 1.0f && black.size() < 300)
        black.push_back(alphaOf(g.frame("fillRect").back()));
    place(*g.game, 600, 452);
    press(*g.game, SDLK_DOWN);
    do {
        grey.push_back(alphaOf(g.frame("fillRect")[1]));
        press(*g.game, SDLK_DOWN, false);
    } while (g.game->endFade > 0.0f && grey.size() < 400);
    EXPECT_TRUE(std::is_sorted(black.rbegin(), black.rend()));
    EXPECT_EQ(std::adjacent_find(grey.begin(), grey.end(), [](int a, int b) { return b < a || b > a + 2; }), grey.end());
    EXPECT_NEAR(black.size(), 201, 2);
    EXPECT_EQ(grey.front(), 0);
    EXPECT_EQ(g.frame("fillRect")[1], "fillRect 128 128 128 255");
}
