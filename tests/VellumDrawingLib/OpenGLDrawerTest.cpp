#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "TestSupport.h"
#include "VellumDrawingLib/EmbeddedImage.h"
#include "VellumDrawingLib/GlyphImages.h"
#include "VellumDrawingLib/OpenGLFont.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

// What the game's pictures do not reach: the drawer's other shapes, its ids,
// its padding, its text, and its checks. Font files are tested with the
// font machinery that reads them (sdlttf/, nofonts/).

namespace {

// Left half red, right half blue (or, turned, top half red, bottom blue).
unsigned char* twoColourPixels(unsigned int width, unsigned int height, bool splitAcross)
{
    unsigned char* pixels = solidPixels(width, height, 255, 0, 0, 255);
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x)
            if (splitAcross ? x >= width / 2 : y >= height / 2) {
                pixels[(y * width + x) * 4] = 0;
                pixels[(y * width + x) * 4 + 2] = 255;
            }
    return pixels;
}

} // namespace

using OpenGLDrawerTest = DrawerWindowTest;

// Each row is padded with its last byte, and the last row repeats below, so
// that filtering at the edge pulls in no black.
TEST_F(OpenGLDrawerTest, ImagesArePaddedToPowersOfTwoByRepeatingTheirEdges)
{
    unsigned char* source = new unsigned char[22 * 60 * 4];
    for (int i = 0; i < 22 * 60 * 4; ++i)
        source[i] = static_cast<unsigned char>(i * 7 + i / 88);
    const std::vector<unsigned char> expected(source, source + 22 * 60 * 4);
    const unsigned int id = drawer->loadImage(source, 22, 60);
    const std::vector<unsigned char> texture = std::get<4>(readTexture(drawer->getImages().at(id).texture));
    ASSERT_EQ(texture.size(), 32u * 64 * 4);
    for (int y = 0; y < 64; ++y)
        for (int i = 0; i < 128; ++i)
            ASSERT_EQ(texture[y * 128 + i], expected[std::min(y, 59) * 88 + std::min(i, 87)]) << "row " << y << " byte " << i;
    drawer->releaseImage(id);
}

// An untinted image over the whole area takes a veil held under it into its
// own pass through the texture combiners. A driver without them (OpenGL ES,
// a browser's WebGL) gets the veil in a pass of its own first, and reads the
// window back as RGBA: the same sum, the same picture. Quadrants of the image
// have alpha 0, 96, 200 and 255.
TEST_F(OpenGLDrawerTest, AnImageOverAVeilComesOutTheSameWithOrWithoutTextureCombiners)
{
    const int alphas[] = {0, 96, 200, 255};
    unsigned char* pixels = new unsigned char[1024 * 768 * 4];
    for (int y = 0; y < 768; ++y)
        for (int x = 0; x < 1024; ++x) {
            unsigned char* p = pixels + (y * 1024 + x) * 4;
            p[0] = 250, p[1] = 220, p[2] = 20;
            p[3] = static_cast<unsigned char>(alphas[(y >= 384) * 2 + (x >= 512)]);
        }
    const unsigned int image = drawer->loadImage(pixels, 1024, 768);
    const unsigned int mark = drawer->loadImage(solidPixels(8, 8, 0, 0, 0, 255), 8, 8);
    const auto paint = [&] {
        drawer->beginDrawing();
        drawer->fillRect(0, 0, 1024, 768, 40, 160, 90, 255);
        drawer->drawImage(mark, 0, 0, 1, 1, 1, 1, 1, 1);  // puts the ground down
        drawer->fillRect(0, 0, 1024, 768, 200, 30, 120, 110);
        drawer->drawImage(image, 0, 0, 1, 1, 1, 1, 1, 1);
        return Screen(*drawer, 1024, 768);
    };
    const Screen combined = paint();
    drawer->getDriver().readVersion("OpenGL ES 2.0 (WebGL 1.0 (OpenGL ES 2.0 Chromium))");
    const Screen twoPasses = paint();
    drawer->getDriver().read();
    drawer->releaseImage(image);
    drawer->releaseImage(mark);
    for (int quadrant = 0; quadrant < 4; ++quadrant) {
        const double a = alphas[quadrant] / 255.0, veil = 110 / 255.0;
        const auto mix = [&](int picture, int over, int ground) {
            return static_cast<int>(picture * a + (over * veil + ground * (1 - veil)) * (1 - a) + 0.5);
        };
        const int x = quadrant % 2 ? 768 : 256, y = quadrant / 2 ? 576 : 192;
        for (const Screen* screen : {&combined, &twoPasses})
            EXPECT_TRUE(near(screen->at(x, y), mix(250, 200, 40), mix(220, 30, 160), mix(20, 120, 90)))
                << "alpha " << alphas[quadrant] << (screen == &combined ? ", one pass: " : ", two passes: ")
                << screen->at(x, y);
    }
}

// The checks are on in every build type.
TEST(OpenGLDrawerDeathTest, AnUnknownImageOrFontAbortsWithTheFailedCheck)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    // In the regular expressions both systems' GoogleTest read.
    const char* message = "src/VellumDrawingLib/OpenGLDrawer\\.cpp:.*: failed assertion `it != images\\.end\\(\\)'";
    OpenGLDrawer drawer(1024, 768);
    EXPECT_DEATH(drawer.drawImage(42, 0, 0, 1, 1, 1, 1, 1, 1), message);
    EXPECT_DEATH(drawer.drawImageRot(42, 0, 0, 0, 0, 0, 1, 1), message);
    EXPECT_DEATH(drawer.drawText("A", 1u, 0, 0, 0, 1, 1, 1, 1, 1),
                 "OpenGLDrawer\\.cpp:.*: failed assertion `font <= fonts\\.size\\(\\)'");
}

// Each shape lands in its box, with nothing in a margin around it, and the
// colour at one point shows it drawn the way asked.
TEST_F(OpenGLDrawerTest, EveryShapeDrawsInItsBoxTheWayItIsAsked)
{
    drawer->setTexInterp(false);
    const unsigned int across = drawer->loadImage(twoColourPixels(64, 32, true), 64, 32);
    const unsigned int square = drawer->loadImage(twoColourPixels(64, 64, true), 64, 64);
    const unsigned int down = drawer->loadImage(twoColourPixels(64, 64, false), 64, 64);
    const unsigned int red = drawer->loadImage(solidPixels(64, 64, 255, 0, 0, 255), 64, 64);
    const unsigned int blue = drawer->loadImage(solidPixels(64, 64, 0, 0, 255, 255), 64, 64);
    float corners[] = {0, 0, 100, 0, 100, 100, 0, 100};
    const unsigned int poly = drawer->loadPoly(corners, 4);
    const CoutCapture quiet;  // the shader sources are echoed, with the compiler's log
    // A stage without a file is left empty; the uniforms found are those of
    // the program loaded last.
    EXPECT_NE(drawer->loadShader("", BV_TEST_DATA_DIR "/shaders/mix.frag"), 0u);
    const unsigned int program = drawer->loadShader(BV_TEST_DATA_DIR "/shaders/mix.vert", BV_TEST_DATA_DIR "/shaders/mix.frag");
    ASSERT_NE(program, 0u);
    EXPECT_EQ(drawer->loadShaderFile(BV_TEST_DATA_DIR "/shaders/missing.vert"), "");

    drawer->drawImage(across, 164, 100, -1, 1, 1, 1, 1, 1);
    drawer->drawImage(across, 200, 100, 1, 1, 1, 1, 1, 0.5f);
    drawer->drawImageRot(down, 300, 100, 90, 32, 32, 1, 1);
    drawer->drawImageRot(down, 400, 100, 0, 32, 32, 2, 2);
    drawer->fillGradient(600, 100, 50, 100, 255, 255, 255, 255, 0, 0, 0, 255);
    drawer->drawPoly(poly, square, 700, 100, 1, 1, 1, 1, 1, 1);
    drawer->fillRect(850, 100, 100, 100, 192, 255, 192, 255);
    drawer->fillRect(850, 100, 100, 100, 0, 0, 0, 128);
    drawer->drawLine(100, 300, 400, 300, 1, 1, 1, 1);
    drawer->drawLine(500, 300, 500, 300, 1, 1, 1, 1);
    drawer->drawPoly(poly + 1, square, 600, 300, 1, 1, 1, 1, 1, 1);
    drawer->drawPoly(poly, 9999, 700, 300, 1, 1, 1, 1, 1, 1);
    drawer->setViewport(850, 300, 100, 100);
    drawer->fillRect(0, 0, 100, 100, 255, 0, 0, 255);
    drawer->resetViewport();
    drawer->useShader(program);
    drawer->useSecondImage(blue);
    drawer->drawImage(red, 100, 500, 1, 1, 1, 1, 1, 1);
    const struct {
        const char* name;
        int x0, y0, x1, y1;
        ExpectedPixel probe;
    } cases[] = {
        {"mirrored", 100, 100, 164, 132, {110, 116, 0, 0, 255}},
        {"tinted", 200, 100, 264, 132, {210, 116, 128, 0, 0}},
        {"turned about the pivot", 300, 100, 364, 164, {350, 132, 255, 0, 0}},
        {"scaled from the corner", 400, 100, 528, 228, {464, 220, 0, 0, 255}},
        {"gradient", 600, 100, 650, 200, {625, 150, 126, 126, 126}},
        {"polygon stretching its texture", 700, 100, 800, 200, {797, 150, 0, 0, 255}},
        {"blended fill", 850, 100, 950, 200, {900, 150, 96, 127, 96}},
        {"line of the soft profile", 100, 296, 400, 304, {250, 298, 192, 192, 192}},
        {"line whose ends coincide", 500, 300, 500, 300, {500, 300, 0, 0, 0}},
        {"unknown polygon", 600, 300, 600, 300, {602, 302, 0, 0, 0}},
        {"polygon of an unknown image", 700, 300, 700, 300, {702, 302, 0, 0, 0}},
        {"viewport", 850, 300, 950, 400, {947, 397, 255, 0, 0}},
        {"second image mixed in", 100, 500, 164, 564, {132, 532, 128, 0, 128}},
    };
    const Screen s = screen();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        expectPixels(s, {c.probe});
        const int m = 6;
        EXPECT_FALSE(s.anyLit(c.x0 - m, c.y0 - m, c.x1 + m, c.y0) || s.anyLit(c.x0 - m, c.y1, c.x1 + m, c.y1 + m) ||
                     s.anyLit(c.x0 - m, c.y0, c.x0, c.y1) || s.anyLit(c.x1, c.y0, c.x1 + m, c.y1));
    }
    // The second image is for one frame only.
    drawer->endDrawing();
    drawer->beginDrawing();
    drawer->drawImage(red, 100, 500, 1, 1, 1, 1, 1, 1);
    EXPECT_TRUE(near(screen().at(132, 532), 128, 0, 0)) << screen().at(132, 532);
    for (const unsigned int id : {across, square, down, red, blue})
        drawer->releaseImage(id);
}

// Characters without a glyph still advance; the colon, which has no image,
// is a solid square; lower case draws as upper; font 0, the fallback, is the
// bitmap font at 32 units a scale, without spacing; a glyph given no pixels
// is kept, one of no power-of-two size padded; white placeholders stand in
// after initialiseLight.
TEST_F(OpenGLDrawerTest, BitmapTextAdvancesBySizeWhetherOrNotACharacterHasAGlyph)
{
    for (const GlyphImage& image : glyphImages())
        EmbeddedImage::loadGlyph(*drawer, image.glyph, image.png, image.size);
    const unsigned int textureA = drawer->getGlyph(Drawer::GlyphA).texture;
    drawer->loadGlyph(Drawer::GlyphA, nullptr, 40);
    EXPECT_EQ(drawer->getGlyph(Drawer::GlyphA).texture, textureA);
    OpenGLDrawer padded(1024, 768);  // a padding, once set, stays with its drawer
    padded.loadGlyph(Drawer::GlyphA, solidPixels(48, 48, 1, 1, 1, 1), 48);
    EXPECT_EQ(padded.getGlyphPadding(), 16);
    drawer->drawText("A B", 100, 100, 32, 1, 1, 1, 1);
    drawer->drawText("AbC", 100, 200, 32, 1, 1, 1, 1);
    drawer->drawText("ABC", 0u, 100, 300, 7.0f, 1.0f, 1, 1, 1, 1);
    drawer->drawText("#@_\xC8" "A", 100, 400, 32, 1, 1, 1, 1);
    drawer->drawText("1:2", 100, 500, 32, 1, 0, 0, 1);
    drawer->drawText(".,+-!?", 300, 500, 32, 1, 1, 1, 1);
    const Screen s = screen();
    for (int cell = 0; cell < 6; ++cell)
        EXPECT_TRUE(s.anyLit(300 + 32 * cell, 500, 332 + 32 * cell, 532)) << "punctuation " << cell;
    for (const auto& [x0, x1, inked] : {std::tuple{60, 100, false}, {100, 132, true}, {132, 164, false}, {164, 196, true}, {196, 300, false}})
        EXPECT_EQ(s.anyLit(x0, 100, x1, 132), inked) << "columns " << x0 << " to " << x1;
    expectSameStrips(s, 100, 196, 200, 300, 32);
    EXPECT_FALSE(s.anyLit(100, 400, 228, 432));
    EXPECT_TRUE(s.anyLit(228, 400, 260, 432));
    for (int y = 502; y < 530; y += 3)
        for (int x = 134; x < 162; x += 3)
            ASSERT_TRUE(near(s.at(x, y), 255, 0, 0)) << x << ", " << y << ": " << s.at(x, y);

    drawer->initialiseLight(1024, 768);
    drawer->drawText("A", 600, 100, 32, 0, 1, 0, 1);
    expectPixels(screen(), {{601, 101, 0, 255, 0}, {630, 130, 0, 255, 0}});
}

// The font's and the drawer's answers are one and the same.
TEST(OpenGLFontPieceTest, PowerOfTwoIsTheSmallestNotBelowAndZeroAboveTheLargest)
{
    for (const auto& [n, expected] : {std::pair{0u, 1u}, {3u, 4u}, {1024u, 1024u}, {0x80000000u, 0x80000000u}, {0x80000001u, 0u}}) {
        EXPECT_EQ(OpenGLFont::powerOfTwo(n), expected) << n;
        EXPECT_EQ(OpenGLDrawer::powerOfTwo(n), expected) << n;
    }
}

TEST(OpenGLFontPieceTest, CopyGlyphPlacesRowsAtTheOffsetReadsThePitchAndClipsAtTheEdge)
{
    // A 3 x 2 glyph whose rows lie 16 bytes apart; byte k of pixel (x, y) is
    // 100 + 10 * y + 4 * x + k, and the padding after each row is 0xEE.
    std::vector<unsigned char> source(16 * 2, 0xEE);
    for (int y = 0; y < 2; ++y)
        for (int i = 0; i < 12; ++i)
            source[y * 16 + i] = static_cast<unsigned char>(100 + 10 * y + i);
    SDL_Surface* glyph = SDL_CreateRGBSurfaceFrom(source.data(), 3, 2, 32, 16, 0x00FF0000, 0x0000FF00, 0x000000FF, 0xFF000000);
    ASSERT_NE(glyph, nullptr);
    OpenGLFont font("unused.ttf", 10);
    font.textureSize = 8;
    for (const auto& [column, row, rowOffset] : {std::tuple{2, 3, 2}, {6, 6, 2}, {-1, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << column << ", " << row << ", " << rowOffset);
        std::vector<unsigned char> atlas(8 * 8 * 4, 0);
        font.copyGlyph(atlas.data(), glyph, column, row, rowOffset);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                for (int k = 0; k < 4; ++k) {
                    const int gx = x - column, gy = y - (row + rowOffset - 1);
                    const bool inside = gx >= 0 && gx < 3 && gy >= 0 && gy < 2;
                    ASSERT_EQ(atlas[(y * 8 + x) * 4 + k], inside ? 100 + 10 * gy + 4 * gx + k : 0) << x << ", " << y;
                }
    }
    SDL_FreeSurface(glyph);
}

// One window for the program, resized by each case. The full-screen switch
// sets a new video mode on the same drawer, back and forth: a window of the
// logical proportions after a wider one has no bars, and a window wider than
// the logical area is drawn through the off-screen picture again after the
// switch. Then a new drawer in the same window each time: the shared line
// image must come back with each.
TEST(OpenGLDrawerFitTest, LogicalAreaKeepsItsProportionsInEveryWindow)
{
    const struct {
        unsigned short width, height;
        bool newDrawer;
        short actualWidth, actualHeight;
        float viewportX, viewportY;
    } cases[] = {
        {1920, 1080, true, 1440, 1080, 240.0f, 0.0f},   {1024, 768, false, 1024, 768, 0.0f, 0.0f},
        {1920, 1080, false, 1440, 1080, 240.0f, 0.0f},  {1280, 800, true, 1066, 800, 106.6667f, 0.0f},
        {1024, 1024, true, 1024, 768, 0.0f, 128.0f},
    };
    std::unique_ptr<OpenGLDrawer> drawer;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        if (!drawer) {
            drawer = openDrawerWindow(c.width, c.height);
            ASSERT_NE(drawer, nullptr) << "no window on the virtual display";
        } else {
            if (c.newDrawer)
                drawer = std::make_unique<OpenGLDrawer>(1024, 768);
            ASSERT_TRUE(drawer->initialise(c.width, c.height, false, 0));
        }
        EXPECT_EQ(drawer->getActualWidth(), c.actualWidth);
        EXPECT_EQ(drawer->getActualHeight(), c.actualHeight);
        EXPECT_NEAR(drawer->getViewportX(), c.viewportX, 0.01);
        EXPECT_NEAR(drawer->getViewportY(), c.viewportY, 0.01);

        drawer->beginDrawing();
        drawer->fillRect(0, 0, 1024, 768, 0, 255, 0, 255);
        drawer->fillRect(0, 0, 1024, 768, 255, 0, 0, 128);
        drawer->fillRect(1000, 740, 24, 28, 0, 0, 255, 255);
        drawer->drawLine(0, 384, 1024, 384, 1, 0, 0, 1);
        const Screen screen(*drawer, c.width, c.height);
        const int left = static_cast<int>(c.viewportX), right = left + c.actualWidth;
        const int bottom = c.height - static_cast<int>(c.viewportY), top = bottom - c.actualHeight;
        expectPixels(screen, {{left + 2, top + 2, 128, 127, 0}, {right - 3, bottom - 3, 0, 0, 255}});
        EXPECT_TRUE(near(screen.at(c.width / 2, (top + bottom) / 2), 255, 0, 0, 40)) << "no line";
        if (left > 0)
            expectPixels(screen, {{left - 3, c.height / 2, 0, 0, 0}, {right + 2, c.height / 2, 0, 0, 0}});
        if (top > 0)
            expectPixels(screen, {{c.width / 2, top - 3, 0, 0, 0}, {c.width / 2, bottom + 2, 0, 0, 0}});
    }
    drawer.reset();
    SDL_Quit();
}
