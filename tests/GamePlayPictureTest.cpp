#include "DrawingTestSupport.h"
#include "GamePlay.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The shipped first screen as the window shows it once the game has come out
// of black: a wide block under the figure's start at (100, 452), a second
// block from (536, 420), the title above. Painted once, in a real window on
// the virtual display, for all the tests here.
class GamePlayPictureTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        drawer = openDrawerWindow(1024, 768).release();
        if (drawer == nullptr)
            return;
        testing::internal::CaptureStdout();
        game = new GamePlay();
        testing::internal::GetCapturedStdout();
        game->randomSeed = 1;
        for (int frame = 0; frame < 205; ++frame) {
            drawer->beginDrawing();
            game->draw(drawer);
            if (frame < 204)
                drawer->endDrawing();
        }
        picture = new Screen(*drawer, 1024, 768);
        if (const char* keep = std::getenv("BV_KEEP_PICTURES"))
            picture->save(std::string(keep) + "/first-screen.png", 0, 0, 1024, 768);
    }

    static void TearDownTestSuite()
    {
        delete picture;
        delete game;
        delete drawer;
        picture = nullptr;
        game = nullptr;
        drawer = nullptr;
        SDL_Quit();
    }

    void SetUp() override { ASSERT_NE(picture, nullptr) << "no window on the virtual display"; }

    static OpenGLDrawer* drawer;
    static GamePlay* game;
    static Screen* picture;
};

OpenGLDrawer* GamePlayPictureTest::drawer = nullptr;
GamePlay* GamePlayPictureTest::game = nullptr;
Screen* GamePlayPictureTest::picture = nullptr;

}  // namespace

TEST_F(GamePlayPictureTest, OpenGroundIsPaleGreenOnceTheFadeInIsOver)
{
    EXPECT_EQ(game->fadeIn, 1.0f);
    expectPixels(*picture, {{400, 300, 192, 255, 192}, {512, 384, 192, 255, 192}}, 6);
}

namespace {

int inkIn(const Screen& picture, int x0, int y0, int x1, int y1)
{
    int ink = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb c = picture.at(x, y);
            ink += c.r < 60 && c.g < 60 && c.b < 60 ? 1 : 0;
        }
    return ink;
}

}  // namespace

TEST_F(GamePlayPictureTest, FigureStandsDarkAtItsStartAndNowhereBeside)
{
    ASSERT_EQ(game->player.x, 100);
    ASSERT_EQ(game->player.y, 452);
    // A slim figure, but a figure: a good part of its box is ink.
    EXPECT_GT(inkIn(*picture, 100, 452, 122, 512), 22 * 60 / 8);
    EXPECT_EQ(inkIn(*picture, 80, 440, 100, 520), 0);
    EXPECT_EQ(inkIn(*picture, 122, 440, 142, 520), 0);
    EXPECT_EQ(inkIn(*picture, 100, 420, 122, 452), 0);
}

// The vignette darkens the picture evenly with the distance from the centre,
// so each block pixel is weighed against open ground mirrored about the
// middle row: partly transparent white lifts red and blue towards green.
TEST_F(GamePlayPictureTest, BlockIsAWhiteVeilOverTheGround)
{
    for (const int x : {300, 480}) {
        for (const int y : {560, 600}) {
            const Rgb block = picture->at(x, y);
            const Rgb ground = picture->at(x, 768 - y);
            EXPECT_TRUE(near(ground, ground.r, ground.r * 255 / 192, ground.r, 6)) << ground;
            EXPECT_GT(block.r - ground.r, 20) << x << ", " << y << ": " << block << " " << ground;
            EXPECT_GT(block.b - ground.b, 20) << x << ", " << y << ": " << block << " " << ground;
            EXPECT_NEAR(block.g, ground.g, 6);
        }
    }
}
