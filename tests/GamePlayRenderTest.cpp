#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "../tools/walkthrough/Walkthrough.h"
#include "GamePlay.h"
#include "GamePlayTestSupport.h"

namespace {

// A drawer that draws nothing and writes every call down, arguments and all,
// as one line of text: "drawImage 14 100 452 1 1 1 1 1 1".
class RecordingDrawer : public Walkthrough::NullDrawer {
public:
    unsigned int loadImage(unsigned char* pixels, unsigned int width, unsigned int height) override
    {
        const std::unique_ptr<unsigned char[]> taken(pixels);
        record("loadImage", {static_cast<float>(width), static_cast<float>(height)});
        ++loads;
        if (pixels == nullptr || refusedLoads > 0) {
            refusedLoads -= refusedLoads > 0 ? 1 : 0;
            return 0;
        }
        return ++lastId;
    }
    void drawImage(unsigned int id, float x, float y, float scaleX, float scaleY, float r, float g,
                   float b, float a) override
    {
        record("drawImage", {static_cast<float>(id), x, y, scaleX, scaleY, r, g, b, a});
    }
    void fillRect(float x, float y, float w, float h, unsigned char r, unsigned char g,
                  unsigned char b, unsigned char a) override
    {
        record("fillRect", {x, y, w, h, float(r), float(g), float(b), float(a)});
    }
    void drawImageRot(unsigned int id, float, float, float, float, float, float, float) override
    {
        record("drawImageRot", {static_cast<float>(id)});
    }
    void drawLine(float, float, float, float, float, float, float, float) override
    {
        record("drawLine", {});
    }

    std::vector<std::string> calls;
    int loads = 0;
    int refusedLoads = 0;  // so many loads from now on answer 0
    unsigned int lastId = 0;

private:
    void record(const std::string& name, std::initializer_list<float> args)
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
    line << "drawImage " << id << ' ' << x << ' ' << y << ' ' << scaleX << ' ' << scaleY
         << " 1 1 1 1";
    return line.str();
}

std::string fill(int r, int g, int b, int a)
{
    return "fillRect 0 0 1024 768 " + std::to_string(r) + ' ' + std::to_string(g) + ' ' +
           std::to_string(b) + ' ' + std::to_string(a);
}

// A figure standing at (100, 452) on a wide type-2 block, with a door.
const std::string firstScreen = "<Screen><Block x=\"-100\" y=\"500\" type=\"2\" s0=\"1\"/>"
                                "<Door x=\"600\" y=\"440\"/><Player x=\"100\" y=\"452\"/></Screen>";

// One frame; returns its calls.
std::vector<std::string> frame(GamePlay& game, RecordingDrawer& drawer)
{
    drawer.calls.clear();
    game.draw(&drawer);
    return drawer.calls;
}

// The calls of a frame that draw the given image.
std::vector<std::string> drawsOf(const std::vector<std::string>& calls, unsigned id)
{
    std::vector<std::string> found;
    const std::string prefix = "drawImage " + std::to_string(id) + ' ';
    for (const std::string& call : calls)
        if (call.compare(0, prefix.size(), prefix) == 0)
            found.push_back(call);
    return found;
}

std::vector<std::string> fillsOf(const std::vector<std::string>& calls)
{
    std::vector<std::string> found;
    for (const std::string& call : calls)
        if (call.compare(0, 8, "fillRect") == 0)
            found.push_back(call);
    return found;
}

void press(GamePlay& game, SDLKey key, bool down = true) { Walkthrough::sendKey(game, key, down); }

}  // namespace

TEST(GamePlayRenderTest, FirstFrameLoadsTheEighteenImagesInOrderThenPaintsEveryLayer)
{
    auto game = gameOf("<Plane>" + firstScreen + "</Plane>");
    game->randomSeed = 7;
    RecordingDrawer drawer;
    const std::vector<std::string> calls = frame(*game, drawer);

    const std::vector<std::string> loads = {
        "loadImage 1024 768", "loadImage 1024 768", "loadImage 398 487", "loadImage 398 487",
        "loadImage 190 752",  "loadImage 190 752",  "loadImage 746 256", "loadImage 744 256",
        "loadImage 512 483",  "loadImage 512 483",  "loadImage 58 72",   "loadImage 1024 170",
        "loadImage 562 154",  "loadImage 22 60",    "loadImage 22 60",   "loadImage 22 60",
        "loadImage 22 60",    "loadImage 22 60"};
    ASSERT_GE(calls.size(), loads.size());
    EXPECT_EQ(std::vector<std::string>(calls.begin(), calls.begin() + 18), loads);
    EXPECT_EQ(game->focalfade1, Focalfade1);
    EXPECT_EQ(game->title, Title);
    EXPECT_EQ(game->guywalk3, Guywalk3);

    // The title's shake comes from the same generator, two values after seed 7.
    game->randomSeed = 7;
    const float jx = static_cast<float>(static_cast<int>(game->unitNoise() * 4.0f - 2.0f));
    const float jy = static_cast<float>(static_cast<int>(game->unitNoise() * 4.0f - 2.0f));
    const std::vector<std::string> painted = {
        fill(192, 255, 192, 255),
        image(Door, 600, 440),
        image(Guystand1, 100, 452),
        image(Rect3a, -100, 500),
        image(Title, 255 + jx, 92 + jy, 0.5f, 0.5f),
        fill(0, 0, 0, 255),
        image(Focalfade1, 0, 0),
    };
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 18, calls.end()), painted);
    EXPECT_EQ(game->animFrame, 1);

    EXPECT_EQ(drawsOf(frame(*game, drawer), Rect3a).size(), 1u);
    EXPECT_EQ(drawer.loads, 18) << "the images load once";
}

TEST(GamePlayRenderTest, VignetteRefusedByTheDrawerIsLoadedAgainOnTheNextFrame)
{
    auto game = gameOf("<Plane>" + firstScreen + "</Plane>");
    RecordingDrawer drawer;
    drawer.refusedLoads = 1;
    const std::vector<std::string> first = frame(*game, drawer);
    EXPECT_EQ(drawer.loads, 18);
    EXPECT_EQ(game->focalfade1, 0u);
    // Nothing is drawn with the refused image; the rest of the frame is.
    EXPECT_TRUE(drawsOf(first, 0).empty());
    EXPECT_EQ(first.front().compare(0, 9, "loadImage"), 0);
    EXPECT_EQ(drawsOf(first, Rect3a - 1), std::vector<std::string>{image(Rect3a - 1, -100, 500)})
        << "ids shift by one after the refusal";

    frame(*game, drawer);
    EXPECT_EQ(drawer.loads, 36);
    EXPECT_NE(game->focalfade1, 0u);
    frame(*game, drawer);
    EXPECT_EQ(drawer.loads, 36);
}

TEST(GamePlayRenderTest, WalkingFigureRunsThroughTheWalkCycleAndWraps)
{
    auto game = gameOf("<Plane>" + firstScreen + "</Plane>");
    RecordingDrawer drawer;
    frame(*game, drawer);  // loads the images
    struct Case {
        int walkFrame;
        unsigned image;
    };
    const Case cases[] = {{0, Guywalk1},   {5, Guywalk1},   {6, Guywalk2},   {11, Guywalk2},
                          {12, Guystand1}, {17, Guystand1}, {18, Guywalk1},  {23, Guywalk1},
                          {24, Guywalk3},  {29, Guywalk3},  {30, Guystand1}, {36, Guystand1}};
    for (const Case& c : cases) {
        game->leftHeld = false;
        game->rightHeld = false;
        game->player.jumping = false;
        // Held arrows walk, and so does a jump with no arrow held.
        for (int how = 0; how < 2; ++how) {
            game->rightHeld = how == 0;
            game->player.jumping = how == 1;
            game->walkFrame = c.walkFrame;
            game->player.x = game->player.lastX = 300;
            game->player.y = game->player.lastY = game->player.jumpBaseY = 452;
            game->player.jumpAngle = 0.0f;
            const std::vector<std::string> calls = frame(*game, drawer);
            EXPECT_EQ(drawsOf(calls, c.image).size(), 1u) << c.walkFrame << " " << how;
            EXPECT_EQ(game->walkFrame, (c.walkFrame + 1) % 37);
        }
    }
}

TEST(GamePlayRenderTest, StandingFigureBreathesWithTheAnimationAndKeepsItsWalkFrame)
{
    auto game = gameOf("<Plane>" + firstScreen + "</Plane>");
    RecordingDrawer drawer;
    game->walkFrame = 9;
    for (int animFrame = 0; animFrame < 12; ++animFrame) {
        const std::vector<std::string> calls = frame(*game, drawer);
        const unsigned expected = animFrame > 5 ? Guystand2 : Guystand1;
        EXPECT_EQ(drawsOf(calls, expected), std::vector<std::string>{image(expected, 100, 452)})
            << animFrame;
    }
    EXPECT_EQ(game->walkFrame, 9);
    EXPECT_EQ(game->animFrame, 0) << "the animation wraps after eleven";
}

TEST(GamePlayRenderTest, FigureFacingLeftIsMirroredWithinItsOwnBox)
{
    auto game = gameOf("<Plane>" + firstScreen + "</Plane>");
    RecordingDrawer drawer;
    press(*game, SDLK_LEFT);
    const std::vector<std::string> left = frame(*game, drawer);
    EXPECT_EQ(drawsOf(left, Guywalk1), std::vector<std::string>{image(Guywalk1, 96 + 22, 452, -1, 1)});
    press(*game, SDLK_LEFT, false);
    press(*game, SDLK_RIGHT);
    const std::vector<std::string> right = frame(*game, drawer);
    EXPECT_EQ(drawsOf(right, Guywalk1), std::vector<std::string>{image(Guywalk1, 100, 452)});
}

TEST(GamePlayRenderTest, BlocksSwellAboutTheirCentresAndShimmerBetweenVariants)
{
    // Types 0 to 3 at scale 0.5, and one of an unknown type that never shows.
    std::string blocks;
    for (int type : {0, 1, 2, 3})
        blocks += "<Block x=\"300\" y=\"0\" type=\"" + std::to_string(type) + "\" s0=\"0.5\"/>";
    auto game = gameOf("<Plane><Screen>" + blocks + "<Player x=\"0\" y=\"-300\"/></Screen></Plane>");
    Block unknown;
    unknown.type = 7;
    unknown.x = 300;
    game->currentLevel().addBlock(unknown);
    RecordingDrawer drawer;
    frame(*game, drawer);
    struct Case {
        int animFrame;
        unsigned images[4];
    };
    const Case cases[] = {{0, {Rect1a, Rect2a, Rect3a, Rect4a}},
                          {5, {Rect1a, Rect2a, Rect3a, Rect4a}},
                          {6, {Rect1b, Rect2b, Rect3b, Rect4b}},
                          {11, {Rect1b, Rect2b, Rect3b, Rect4b}}};
    for (const Case& c : cases) {
        game->animFrame = c.animFrame;
        const std::vector<std::string> calls = frame(*game, drawer);
        // Sizes 398 x 487, 190 x 752, 746 x 256, 512 x 483: half of each is
        // taken off, half of that on each side.
        const std::vector<std::string> expected = {
            image(c.images[0], 399.5f, 121.75f, 0.5f, 0.5f),
            image(c.images[1], 347.5f, 188, 0.5f, 0.5f),
            image(c.images[2], 486.5f, 64, 0.5f, 0.5f),
            image(c.images[3], 428, 120.75f, 0.5f, 0.5f),
        };
        const std::vector<std::string> drawn(calls.begin() + 2, calls.begin() + 6);
        EXPECT_EQ(drawn, expected) << c.animFrame;
        EXPECT_EQ(calls[6].compare(0, 8, "drawImag"), 0) << "the title comes next";
        EXPECT_EQ(drawsOf(calls, Title).size(), 1u);
    }
}

TEST(GamePlayRenderTest, TitleAndHintShakeByAUnitWithTheNoise)
{
    auto game = gameOf("<Plane>" + firstScreen + "<Screen/><Screen/><Screen/></Plane>");
    RecordingDrawer drawer;
    game->randomSeed = 12345;
    frame(*game, drawer);
    int seen[3] = {0, 0, 0};
    for (int i = 0; i < 60; ++i) {
        const int seed = game->randomSeed;
        const std::vector<std::string> calls = frame(*game, drawer);
        EXPECT_EQ(game->randomSeed, seed + 2) << "two noise values for the title";
        const std::vector<std::string> titles = drawsOf(calls, Title);
        ASSERT_EQ(titles.size(), 1u);
        std::istringstream words(titles[0]);
        std::string name;
        unsigned id = 0;
        float x = 0, y = 0;
        words >> name >> id >> x >> y;
        ASSERT_TRUE(x >= 254 && x <= 256 && y >= 91 && y <= 93) << titles[0];
        ++seen[static_cast<int>(x) - 254];
    }
    EXPECT_GT(seen[0], 0);
    EXPECT_GT(seen[1], 0);
    EXPECT_GT(seen[2], 0);

    // The hint, on screen 3 only, draws two more values after the title's.
    game->currentScreen = 3;
    game->randomSeed = 1000;
    const std::vector<std::string> calls = frame(*game, drawer);
    game->randomSeed = 1002;
    const float jx = static_cast<float>(static_cast<int>(game->unitNoise() * 4.0f - 2.0f));
    const float jy = static_cast<float>(static_cast<int>(game->unitNoise() * 4.0f - 2.0f));
    EXPECT_EQ(drawsOf(calls, Stepinside),
              std::vector<std::string>{image(Stepinside, 440 + jx, 113 + jy, 0.5f, 0.5f)});
}

TEST(GamePlayRenderTest, HintShowsOnlyOnTheFourthScreenOfTheFirstPlane)
{
    const std::string plane = "<Plane>" + firstScreen + "<Screen/><Screen/><Screen/></Plane>";
    auto game = gameOf(plane + plane);
    RecordingDrawer drawer;
    game->showTitle = false;
    for (int p = 0; p < 2; ++p)
        for (int s = 0; s < 4; ++s) {
            game->currentPlane = p;
            game->currentScreen = s;
            game->player.x = game->player.lastX = 500;
            game->player.y = game->player.lastY = 300;
            const int seed = game->randomSeed;
            const std::vector<std::string> calls = frame(*game, drawer);
            const bool hint = p == 0 && s == 3;
            EXPECT_EQ(drawsOf(calls, Stepinside).size(), hint ? 1u : 0u) << p << " " << s;
            EXPECT_EQ(game->randomSeed, seed + (hint ? 2 : 0));
            EXPECT_TRUE(drawsOf(calls, Title).empty());
        }
}

TEST(GamePlayRenderTest, EachPlaneGreysALittleMore)
{
    const std::string plane = "<Plane>" + firstScreen + "</Plane>";
    auto game = gameOf(plane + plane + plane + plane);
    RecordingDrawer drawer;
    game->fadeIn = 1.0f;
    const int alphas[] = {-1, 63, 127, 191};
    for (int p = 0; p < 4; ++p) {
        game->currentPlane = p;
        std::vector<std::string> expected = {fill(192, 255, 192, 255)};
        if (alphas[p] >= 0)
            expected.push_back(fill(128, 128, 128, alphas[p]));
        expected.push_back(fill(0, 0, 0, 0));
        EXPECT_EQ(fillsOf(frame(*game, drawer)), expected) << "plane " << p;
    }
}

TEST(GamePlayRenderTest, LastDoorFadesToGreyAndStaysGrey)
{
    auto game = gameOf("<Plane>" + firstScreen + "</Plane>");
    RecordingDrawer drawer;
    game->fadeIn = 1.0f;
    EXPECT_EQ(fillsOf(frame(*game, drawer)).size(), 2u) << "no end veil before the door";

    // Through the door with the down arrow, released after one frame.
    game->player.x = game->player.lastX = 600;
    game->player.y = game->player.lastY = 452;
    press(*game, SDLK_DOWN);
    frame(*game, drawer);
    press(*game, SDLK_DOWN, false);
    EXPECT_EQ(fillsOf(drawer.calls)[1], fill(128, 128, 128, 0));

    int last = 0;
    int frames = 1;
    while (game->endFade > 0.0f && frames < 400) {
        const std::vector<std::string> fills = fillsOf(frame(*game, drawer));
        ASSERT_EQ(fills.size(), 3u);
        const int alpha = std::stoi(fills[1].substr(fills[1].rfind(' ') + 1));
        EXPECT_GE(alpha, last);
        EXPECT_LE(alpha - last, 2);
        last = alpha;
        ++frames;
    }
    EXPECT_NEAR(frames, 200, 2);
    EXPECT_GE(last, 253);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(fillsOf(frame(*game, drawer))[1], fill(128, 128, 128, 255));
}

TEST(GamePlayRenderTest, GameEmergesFromBlackOverTwoHundredFrames)
{
    auto game = gameOf("<Plane>" + firstScreen + "</Plane>");
    RecordingDrawer drawer;
    EXPECT_EQ(fillsOf(frame(*game, drawer)).back(), fill(0, 0, 0, 255));
    int frames = 1;
    int last = 255;
    for (; frames < 300 && last > 0; ++frames) {
        const std::string black = fillsOf(frame(*game, drawer)).back();
        const int alpha = std::stoi(black.substr(black.rfind(' ') + 1));
        EXPECT_LE(alpha, last);
        last = alpha;
    }
    EXPECT_NEAR(frames, 201, 2);
    EXPECT_EQ(fillsOf(frame(*game, drawer)).back(), fill(0, 0, 0, 0)) << "drawn, clear, for good";
    EXPECT_EQ(game->fadeIn, 1.0f);
}

TEST(GamePlayRenderTest, VignetteAlternatesEveryThreeFramesOnTop)
{
    auto game = gameOf("<Plane>" + firstScreen + "</Plane>");
    RecordingDrawer drawer;
    const unsigned expected[] = {Focalfade1, Focalfade1, Focalfade1, Focalfade3, Focalfade3,
                                 Focalfade3, Focalfade1, Focalfade1, Focalfade1, Focalfade3,
                                 Focalfade3, Focalfade3, Focalfade1};
    for (unsigned id : expected) {
        const std::vector<std::string> calls = frame(*game, drawer);
        EXPECT_EQ(calls.back(), image(id, 0, 0));
    }
}

TEST(GamePlayRenderTest, FrameThatChangesScreenDrawsTheOldBlocksAndTheNewDoor)
{
    auto game = gameOf("<Plane><Screen><Block x=\"10\" y=\"600\" type=\"1\" s0=\"1\"/></Screen>"
                       "<Screen><Block x=\"20\" y=\"620\" type=\"3\" s0=\"1\"/>"
                       "<Door x=\"30\" y=\"40\"/></Screen></Plane>"
                       "<Plane><Screen><Block x=\"50\" y=\"660\" type=\"0\" s0=\"1\"/>"
                       "<Door x=\"70\" y=\"80\"/><Player x=\"200\" y=\"100\"/></Screen></Plane>");
    RecordingDrawer drawer;
    game->showTitle = false;
    game->player.x = game->player.lastX = 1022;
    game->player.y = game->player.lastY = 100;
    press(*game, SDLK_RIGHT);
    std::vector<std::string> calls = frame(*game, drawer);
    ASSERT_EQ(game->currentScreen, 1);
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 19, calls.begin() + 22),
              (std::vector<std::string>{image(Door, 30, 40), image(Guywalk1, -22, 101),
                                        image(Rect2a, 10, 600)}));

    // Through the door into the next plane.
    press(*game, SDLK_RIGHT, false);
    game->player.x = game->player.lastX = 30;
    game->player.y = game->player.lastY = 40;
    press(*game, SDLK_DOWN);
    calls = frame(*game, drawer);
    ASSERT_EQ(game->currentPlane, 1);
    EXPECT_EQ(std::vector<std::string>(calls.begin() + 1, calls.begin() + 4),
              (std::vector<std::string>{image(Door, 70, 80), image(Guystand1, 200, 101),
                                        image(Rect4a, 20, 620)}));
}
