#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../tools/walkthrough/Walkthrough.h"
#include "GamePlay.h"
#include "GamePlayTestSupport.h"

namespace {

// A drawer that draws nothing and writes down every image and fill, arguments
// and all, as one line of text: "drawImage 14 100 452 1 1 1 1 1 1".
class RecordingDrawer : public Walkthrough::NullDrawer {
public:
    unsigned int loadImage(unsigned char* pixels, unsigned int width, unsigned int height) override
    {
        delete[] pixels;
        record("loadImage", {float(width), float(height)});
        return refusedLoads > 0 && refusedLoads-- ? 0 : ++lastId;
    }
    void drawImage(unsigned int id, float x, float y, float sx, float sy, float r, float g, float b, float a) override
    {
        record("drawImage", {float(id), x, y, sx, sy, r, g, b, a});
    }
    void fillRect(float x, float y, float w, float h, unsigned char r, unsigned char g, unsigned char b,
                  unsigned char a) override
    {
        record("fillRect", {x, y, w, h, float(r), float(g), float(b), float(a)});
    }

    std::vector<std::string> calls;
    int refusedLoads = 0;  // so many loads from now on answer 0
    unsigned int lastId = 0;

private:
    void record(const char* name, std::initializer_list<float> args)
    {
        std::ostringstream line;
        line << name;
        for (float arg : args)
            line << ' ' << arg;
        calls.push_back(line.str());
    }
};

// The image ids a RecordingDrawer hands out, in the order the images load.
enum Id : unsigned {
    Focalfade1 = 1, Focalfade3, Rect1a, Rect1b, Rect2a, Rect2b, Rect3a, Rect3b, Rect4a, Rect4b,
    Door, Title, Stepinside, Guystand1, Guystand2, Guywalk1, Guywalk2, Guywalk3
};

std::string image(unsigned id, float x, float y, float scaleX = 1, float scaleY = 1)
{
    std::ostringstream line;
    line << "drawImage " << id << ' ' << x << ' ' << y << ' ' << scaleX << ' ' << scaleY << " 1 1 1 1";
    return line.str();
}

std::string fill(int r, int g, int b, int a)
{
    std::ostringstream line;
    line << "fillRect 0 0 1024 768 " << r << ' ' << g << ' ' << b << ' ' << a;
    return line.str();
}

std::string drawOf(unsigned id) { return "drawImage " + std::to_string(id) + ' '; }

// A figure standing at (100, 452) on a wide type-2 block, with a door.
const std::string firstScreen = "<Screen><Block x=\"-100\" y=\"500\" type=\"2\" s0=\"1\"/>"
                                "<Door x=\"600\" y=\"440\"/><Player x=\"100\" y=\"452\"/></Screen>";

struct Game {
    explicit Game(const std::string& planes) : game(gameOf(planes)) {}

    // The calls of one frame that start with prefix ("" for all).
    std::vector<std::string> frame(const std::string& prefix = "")
    {
        drawer.calls.clear();
        game->draw(&drawer);
        std::vector<std::string> found;
        std::copy_if(drawer.calls.begin(), drawer.calls.end(), std::back_inserter(found),
                     [&](const std::string& call) { return call.compare(0, prefix.size(), prefix) == 0; });
        return found;
    }

    void place(short x, short y)
    {
        game->player.x = game->player.lastX = x;
        game->player.y = game->player.lastY = game->player.jumpBaseY = y;
    }

    // What the shake of the current seed gives: two draws of the noise.
    std::string shaken(unsigned id, float x, float y)
    {
        const float jx = float(int(game->unitNoise() * 4.0f - 2.0f));
        return image(id, x + jx, y + float(int(game->unitNoise() * 4.0f - 2.0f)), 0.5f, 0.5f);
    }

    std::unique_ptr<GamePlay> game;
    RecordingDrawer drawer;
};

int alphaOf(const std::string& fillCall) { return std::stoi(fillCall.substr(fillCall.rfind(' ') + 1)); }

void press(Game& g, SDLKey key, bool down = true) { Walkthrough::sendKey(*g.game, key, down); }

}  // namespace

// The ids below follow from the order the images load in.
TEST(GamePlayRenderTest, FirstFrameLoadsTheEighteenImagesOnceThenPaintsEveryLayer)
{
    Game g("<Plane>" + firstScreen + "</Plane>");
    g.game->randomSeed = 7;
    const std::vector<std::string> calls = g.frame();
    ASSERT_EQ(calls.size(), 25u);
    EXPECT_EQ(std::count_if(calls.begin(), calls.begin() + 18, [](const std::string& c) { return c.rfind("loadImage", 0) == 0; }), 18);
    g.game->randomSeed = 7;
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 18, calls.end()),
              (std::vector<std::string>{fill(192, 255, 192, 255), image(Door, 600, 440), image(Guystand1, 100, 452),
                                        image(Rect3a, -100, 500), g.shaken(Title, 255, 92), fill(0, 0, 0, 255),
                                        image(Focalfade1, 0, 0)}));
    EXPECT_TRUE(g.frame("loadImage").empty()) << "the images load once";
}

// An id of 0 is never handed to a drawer, which would abort on it.
TEST(GamePlayRenderTest, ImageRefusedByTheDrawerIsNotDrawnAndTheImagesAreLoadedAgain)
{
    Game g("<Plane>" + firstScreen + "</Plane>");
    g.drawer.refusedLoads = 2;
    const std::vector<std::string> first = g.frame();
    EXPECT_TRUE(std::none_of(first.begin(), first.end(), [](const std::string& c) { return c.rfind(drawOf(0), 0) == 0; }));
    EXPECT_EQ(g.frame("loadImage").size(), 18u) << "loaded again on the second frame";
}

TEST(GamePlayRenderTest, FigureWalksThroughTheCycleBreathesWhenStillAndIsMirroredFacingLeft)
{
    Game g("<Plane>" + firstScreen + "</Plane>");
    g.frame();
    const std::pair<int, unsigned> walk[] = {{0, Guywalk1},  {5, Guywalk1},   {6, Guywalk2},   {11, Guywalk2},
                                             {12, Guystand1}, {17, Guystand1}, {18, Guywalk1}, {23, Guywalk1},
                                             {24, Guywalk3}, {29, Guywalk3},  {30, Guystand1}, {36, Guystand1}};
    for (const auto& [walkFrame, pose] : walk)
        for (int how = 0; how < 2; ++how) {  // a held arrow walks, and so does a jump
            g.game->rightHeld = how == 0;
            g.game->player.jumping = how == 1;
            g.game->player.jumpAngle = 0.0f;
            g.game->walkFrame = walkFrame;
            g.place(300, 452);
            EXPECT_EQ(g.frame(drawOf(pose)).size(), 1u) << walkFrame << " " << how;
            EXPECT_EQ(g.game->walkFrame, (walkFrame + 1) % 37);
        }
    g.game->rightHeld = g.game->player.jumping = false;
    g.game->walkFrame = 9;
    g.place(100, 452);
    for (int animFrame = 0; animFrame < 12; ++animFrame) {
        g.game->animFrame = animFrame;
        const unsigned pose = animFrame > 5 ? Guystand2 : Guystand1;
        EXPECT_EQ(g.frame(drawOf(pose)), std::vector<std::string>{image(pose, 100, 452)});
    }
    EXPECT_EQ(g.game->walkFrame, 9) << "standing keeps the walk frame";
    g.game->walkFrame = 0;
    press(g, SDLK_LEFT);
    EXPECT_EQ(g.frame(drawOf(Guywalk1)), std::vector<std::string>{image(Guywalk1, 96 + 22, 452, -1, 1)});
}

// Types 0 to 3 at scale 0.5, and one of an unknown type that never shows.
TEST(GamePlayRenderTest, BlocksSwellAboutTheirCentresAndShimmerBetweenVariants)
{
    std::string blocks;
    for (int type : {0, 1, 2, 3})
        blocks += "<Block x=\"300\" y=\"0\" type=\"" + std::to_string(type) + "\" s0=\"0.5\"/>";
    Game g("<Plane><Screen>" + blocks + "<Player x=\"0\" y=\"-300\"/></Screen></Plane>");
    Block unknown;
    unknown.type = 7;
    g.game->currentLevel().addBlock(unknown);
    g.frame();
    for (const int animFrame : {0, 5, 6, 11}) {
        g.game->animFrame = animFrame;
        const unsigned b = animFrame > 5 ? 1 : 0;
        const std::vector<std::string> calls = g.frame();
        // Half of each size is taken off, half of that on each side.
        EXPECT_EQ(std::vector<std::string>(calls.begin() + 2, calls.begin() + 7),
                  (std::vector<std::string>{image(Rect1a + b, 399.5f, 121.75f, 0.5f, 0.5f),
                                            image(Rect2a + b, 347.5f, 188, 0.5f, 0.5f),
                                            image(Rect3a + b, 486.5f, 64, 0.5f, 0.5f),
                                            image(Rect4a + b, 428, 120.75f, 0.5f, 0.5f), calls[6]}))
            << animFrame;
        EXPECT_EQ(calls[6].rfind(drawOf(Title), 0), 0u) << "the title comes next";
    }
}

// Two draws of the noise shake the title, and two more the hint.
TEST(GamePlayRenderTest, TitleShakesWithTheNoiseAndTheHintShowsOnlyOnTheFourthScreenOfTheFirstPlane)
{
    const std::string plane = "<Plane>" + firstScreen + "<Screen/><Screen/><Screen/></Plane>";
    Game g(plane + plane);
    g.frame();
    for (int i = 0; i < 30; ++i) {
        const int seed = g.game->randomSeed;
        const std::vector<std::string> titles = g.frame(drawOf(Title));
        g.game->randomSeed = seed;
        EXPECT_EQ(titles, std::vector<std::string>{g.shaken(Title, 255, 92)});
    }
    g.game->showTitle = false;
    for (int at = 0; at < 8; ++at) {
        g.game->currentPlane = at / 4;
        g.game->currentScreen = at % 4;
        const int seed = g.game->randomSeed;
        const std::vector<std::string> hints = g.frame(drawOf(Stepinside));
        g.game->randomSeed = seed;
        EXPECT_EQ(hints, at == 3 ? std::vector<std::string>{g.shaken(Stepinside, 440, 113)} : std::vector<std::string>{}) << at;
    }
}

TEST(GamePlayRenderTest, VeilsFadeInFromBlackGreyEachPlaneAndFadeToGreyAfterTheLastDoor)
{
    const std::string plane = "<Plane>" + firstScreen + "</Plane>";
    Game g(plane + plane + plane + plane);
    int frames = 0;
    for (int last = 256; g.game->fadeIn < 1.0f && frames < 300; ++frames) {
        const int black = alphaOf(g.frame("fillRect").back());
        EXPECT_LE(black, last);
        last = black;
    }
    EXPECT_NEAR(frames, 201, 2);
    const int greys[] = {-1, 63, 127, 191};
    for (int p = 0; p < 4; ++p) {
        g.game->currentPlane = p;
        std::vector<std::string> expected = {fill(192, 255, 192, 255), fill(128, 128, 128, greys[p]), fill(0, 0, 0, 0)};
        if (p == 0)
            expected.erase(expected.begin() + 1);
        EXPECT_EQ(g.frame("fillRect"), expected) << "plane " << p;
    }
    // Through the last door with the down arrow, released after one frame.
    g.place(600, 452);
    press(g, SDLK_DOWN);
    EXPECT_EQ(g.frame("fillRect")[2], fill(128, 128, 128, 0));
    press(g, SDLK_DOWN, false);
    int last = 0;
    for (frames = 1; g.game->endFade > 0.0f && frames < 400; ++frames) {
        const int alpha = alphaOf(g.frame("fillRect")[2]);
        EXPECT_TRUE(alpha >= last && alpha <= last + 2) << alpha << " after " << last;
        last = alpha;
    }
    EXPECT_NEAR(frames, 200, 2);
    EXPECT_EQ(g.frame("fillRect")[2], fill(128, 128, 128, 255)) << "and stays grey";
}

TEST(GamePlayRenderTest, VignetteAlternatesEveryThreeFramesOnTop)
{
    Game g("<Plane>" + firstScreen + "</Plane>");
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(g.frame().back(), image(i % 6 > 2 ? Focalfade3 : Focalfade1, 0, 0)) << i;
}

TEST(GamePlayRenderTest, FrameThatChangesScreenOrPlaneDrawsTheOldBlocksAndTheNewDoor)
{
    Game g("<Plane><Screen><Block x=\"10\" y=\"600\" type=\"1\" s0=\"1\"/></Screen>"
           "<Screen><Block x=\"20\" y=\"620\" type=\"3\" s0=\"1\"/><Door x=\"30\" y=\"40\"/></Screen></Plane>"
           "<Plane><Screen><Block x=\"50\" y=\"660\" type=\"0\" s0=\"1\"/>"
           "<Door x=\"70\" y=\"80\"/><Player x=\"200\" y=\"100\"/></Screen></Plane>");
    g.game->showTitle = false;
    g.place(1022, 100);
    press(g, SDLK_RIGHT);
    std::vector<std::string> calls = g.frame("drawImage");
    ASSERT_EQ(g.game->currentScreen, 1);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 3),
              (std::vector<std::string>{image(Door, 30, 40), image(Guywalk1, -22, 101), image(Rect2a, 10, 600)}));
    press(g, SDLK_RIGHT, false);
    g.place(30, 40);
    press(g, SDLK_DOWN);
    calls = g.frame("drawImage");
    ASSERT_EQ(g.game->currentPlane, 1);
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 3),
              (std::vector<std::string>{image(Door, 70, 80), image(Guystand1, 200, 101), image(Rect4a, 20, 620)}));
}
