#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "TestSupport.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// What the game's pictures do not reach: the drawer's other shapes, its ids,
// its padding, its bitmap text and its checks.

namespace {

class OpenGLDrawerTest : public DrawingWindowTest {};

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

// Each row is padded with its last byte, and the last row repeats below, so
// that filtering at the edge pulls in no black.
TEST_F(OpenGLDrawerTest, ImagesArePaddedToPowersOfTwoByRepeatingTheirEdges)
{
    unsigned char* source = new unsigned char[22 * 60 * 4];
    for (int i = 0; i < 22 * 60 * 4; ++i)
        source[i] = static_cast<unsigned char>(i * 7 + i / 88);
    const std::vector<unsigned char> expected(source, source + 22 * 60 * 4);
    const unsigned int id = drawer->loadImage(source, 22, 60);
    std::vector<unsigned char> texture(32 * 64 * 4);
    glBindTexture(GL_TEXTURE_2D, drawer->getImages().at(id).texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texture.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    for (int y = 0; y < 64; ++y)
        for (int i = 0; i < 128; ++i)
            ASSERT_EQ(texture[y * 128 + i], expected[std::min(y, 59) * 88 + std::min(i, 87)])
                << "row " << y << " byte " << i;
    drawer->releaseImage(id);
}

TEST_F(OpenGLDrawerTest, IdsCountUpAndOnlyTheLatestReleasedIdComesBack)
{
    OpenGLDrawer fresh(1024, 768);
    EXPECT_EQ(fresh.loadImage(nullptr, 4, 4), 0u);
    EXPECT_EQ(fresh.loadImage(solidPixels(4, 4, 1, 2, 3, 4), 4, 4), 1u);
    EXPECT_EQ(fresh.loadImage(solidPixels(4, 4, 1, 2, 3, 4), 4, 4), 2u);
    fresh.releaseImage(1);
    EXPECT_EQ(fresh.loadImage(solidPixels(4, 4, 1, 2, 3, 4), 4, 4), 3u);
    fresh.releaseImage(3);
    fresh.releaseImage(77);
    EXPECT_EQ(fresh.loadImage(solidPixels(4, 4, 1, 2, 3, 4), 4, 4), 3u);
    EXPECT_EQ(fresh.getImages().size(), 2u);
    fresh.releaseImage(2);
    fresh.releaseImage(3);
}

// The checks are on in every build type.
TEST(OpenGLDrawerDeathTest, AnUnknownImageOrFontAbortsWithTheFailedCheck)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    const char* message = "src/VellumDrawingLib/OpenGLDrawer\\.cpp:[0-9]+: failed assertion `it != images\\.end\\(\\)'";
    OpenGLDrawer drawer(1024, 768);
    EXPECT_DEATH(drawer.drawImage(42, 0, 0, 1, 1, 1, 1, 1, 1), message);
    EXPECT_DEATH(drawer.drawImageRot(42, 0, 0, 0, 0, 0, 1, 1), message);
    EXPECT_DEATH(drawer.drawText("A", 1u, 0, 0, 0, 1, 1, 1, 1, 1),
                 "OpenGLDrawer\\.cpp:[0-9]+: failed assertion `font <= fonts\\.size\\(\\)'");
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
    const CoutCapture quiet;  // the shader sources are echoed
    const unsigned int program = drawer->loadShader(BV_TEST_DATA_DIR "/shaders/mix.vert", BV_TEST_DATA_DIR "/shaders/mix.frag");
    ASSERT_NE(program, 0u);

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
    drawer->useShader(0);
    for (const unsigned int id : {across, square, down, red, blue})
        drawer->releaseImage(id);
}

// Characters without a glyph still advance; the colon, which has no image,
// is a solid square; lower case draws as upper; white placeholders stand in
// after initialiseLight.
TEST_F(OpenGLDrawerTest, TextAdvancesBySizeWhetherOrNotACharacterHasAGlyph)
{
    loadEmbeddedGlyphs(*drawer);
    drawer->drawText("A B", 100, 100, 32, 1, 1, 1, 1);
    drawer->drawText("AbC", 100, 200, 32, 1, 1, 1, 1);
    drawer->drawText("ABC", 100, 300, 32, 1, 1, 1, 1);
    drawer->drawText("#@_\xC8" "A", 100, 400, 32, 1, 1, 1, 1);
    drawer->drawText("1:2", 100, 500, 32, 1, 0, 0, 1);
    drawer->drawText(".,+-!?", 300, 500, 32, 1, 1, 1, 1);
    const Screen s = screen();
    for (int cell = 0; cell < 6; ++cell)
        EXPECT_TRUE(s.anyLit(300 + 32 * cell, 500, 332 + 32 * cell, 532)) << "punctuation " << cell;
    expectBands(s, 100, 132, {{60, 100, false}, {100, 132, true}, {132, 164, false}, {164, 196, true}, {196, 300, false}});
    expectSameStrips(s, 100, 196, 200, 300, 32);
    expectBands(s, 400, 432, {{100, 228, false}, {228, 260, true}});
    for (int y = 502; y < 530; y += 3)
        for (int x = 134; x < 162; x += 3)
            ASSERT_TRUE(near(s.at(x, y), 255, 0, 0)) << x << ", " << y << ": " << s.at(x, y);

    drawer->initialiseLight(1024, 768);
    drawer->drawText("A", 600, 100, 32, 0, 1, 0, 1);
    expectPixels(screen(), {{601, 101, 0, 255, 0}, {630, 130, 0, 255, 0}});
}

TEST_F(OpenGLDrawerTest, PaddedGlyphsAdvanceByTheirUnpaddedWidthAndNullPixelsChangeNothing)
{
    OpenGLDrawer padded(1024, 768);
    padded.initFonts();
    for (int g = 0; g < Drawer::GlyphCount; ++g) {
        // Transparent but for a mark in the first four columns.
        unsigned char* pixels = solidPixels(48, 48, 255, 255, 255, 0);
        for (int y = 0; y < 48; ++y)
            for (int x = 0; x < 4; ++x)
                pixels[(y * 48 + x) * 4 + 3] = 255;
        padded.loadGlyph(static_cast<Drawer::Glyph>(g), pixels, 48);
    }
    const unsigned int textureA = padded.getGlyph(Drawer::GlyphA).texture;
    padded.loadGlyph(Drawer::GlyphA, nullptr, 40);
    EXPECT_EQ(padded.getGlyphPadding(), 16);
    EXPECT_EQ(padded.getGlyph(Drawer::GlyphA).texture, textureA);

    padded.drawText("AB", 100, 100, 64, 1, 1, 1, 1);
    padded.drawText("AB", 100, 300, 32, 1, 1, 1, 1);
    const Screen s = screen();
    expectBands(s, 100, 148, {{100, 104, true}, {106, 146, false}, {148, 152, true}, {154, 200, false}});
    expectBands(s, 300, 324, {{100, 102, true}, {104, 123, false}, {124, 126, true}, {128, 160, false}});
}
