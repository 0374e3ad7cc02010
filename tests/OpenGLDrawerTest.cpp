#include "DrawingTestSupport.h"
#include "TestSupport.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

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

TEST_F(OpenGLDrawerTest, SetViewportDrawsTheWholeLogicalAreaIntoTheTopLeftQuarter)
{
    drawer->setViewport(0, 0, 512, 384);
    drawer->fillRect(0, 0, 512, 384, 255, 0, 0, 255);
    expectPixels(screen(), {{1, 1, 255, 0, 0}, {510, 382, 255, 0, 0}, {514, 10, 0, 0, 0},
                            {10, 386, 0, 0, 0}, {1000, 700, 0, 0, 0}});
}

// Each row is padded with its last byte, and the last row repeats below.
TEST_F(OpenGLDrawerTest, ImagesArePaddedToPowersOfTwoByRepeatingTheirEdges)
{
    for (const auto& [width, height, maxU, maxV] : {std::tuple{22u, 60u, 0.6875f, 0.9375f},
                                                   {1024u, 768u, 1.0f, 0.75f}, {64u, 64u, 1.0f, 1.0f}}) {
        const unsigned int id = drawer->loadImage(solidPixels(width, height, 9, 9, 9, 255), width, height);
        const OpenGLDrawer::Image& image = drawer->getImages().at(id);
        EXPECT_EQ(image.width, width);
        EXPECT_FLOAT_EQ(image.maxU, maxU) << width << " x " << height;
        EXPECT_FLOAT_EQ(image.maxV, maxV) << width << " x " << height;
        drawer->releaseImage(id);
    }
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

TEST_F(OpenGLDrawerTest, ImagesAreMirroredTintedTurnedAboutThePivotAndScaledFromTheCorner)
{
    drawer->setTexInterp(false);
    const unsigned int across = drawer->loadImage(twoColourPixels(64, 32, true), 64, 32);
    const unsigned int down = drawer->loadImage(twoColourPixels(64, 64, false), 64, 64);
    drawer->drawImage(across, 100, 100, 1, 1, 1, 1, 1, 1);
    drawer->drawImage(across, 164, 200, -1, 1, 1, 1, 1, 1);
    drawer->drawImage(across, 300, 100, 1, 1, 1, 1, 1, 0.5f);
    drawer->drawImageRot(down, 200, 400, 90, 32, 32, 1, 1);
    drawer->drawImageRot(down, 400, 400, 0, 32, 32, 2, 2);
    const Screen s = screen();
    expectPixels(s, {{110, 116, 255, 0, 0}, {150, 116, 0, 0, 255}, {110, 216, 0, 0, 255},
                     {150, 216, 255, 0, 0}, {310, 116, 128, 0, 0}, {250, 432, 255, 0, 0},
                     {214, 432, 0, 0, 255}, {464, 410, 255, 0, 0}, {464, 520, 0, 0, 255}});
    EXPECT_FALSE(s.anyLit(90, 200, 100, 232));
    EXPECT_FALSE(s.anyLit(164, 200, 174, 232));
    EXPECT_FALSE(s.anyLit(530, 400, 540, 528));
    EXPECT_FALSE(s.anyLit(400, 530, 528, 540));
    drawer->releaseImage(across);
    drawer->releaseImage(down);
}

TEST(OpenGLDrawerDeathTest, DrawingAnUnknownImageAbortsWithTheFailedCheck)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    const char* message = "src/VellumDrawingLib/OpenGLDrawer\\.cpp:[0-9]+: failed assertion `it != images\\.end\\(\\)'";
    OpenGLDrawer drawer(1024, 768);
    EXPECT_DEATH(drawer.drawImage(42, 0, 0, 1, 1, 1, 1, 1, 1), message);
    EXPECT_DEATH(drawer.drawImageRot(42, 0, 0, 0, 0, 0, 1, 1), message);
}

TEST_F(OpenGLDrawerTest, FillsCoverOrBlendAndGradientsRunFromTopToBottomColour)
{
    drawer->fillRect(0, 0, 1024, 768, 192, 255, 192, 255);
    drawer->fillRect(600, 400, 200, 200, 0, 0, 0, 128);
    drawer->fillGradient(0, 0, 100, 768, 255, 255, 255, 255, 0, 0, 0, 255);
    const Screen s = screen();
    expectPixels(s, {{100, 0, 192, 255, 192}, {1023, 767, 192, 255, 192}, {50, 0, 255, 255, 255}, {50, 767, 0, 0, 0}});
    expectPixels(s, {{700, 500, 96, 127, 96}, {50, 384, 127, 127, 127}}, 2);
}

TEST_F(OpenGLDrawerTest, LinesAreEightUnitsThickWithTheSoftProfileAcross)
{
    const int profile[] = {0, 2, 33, 192, 255, 255, 192, 33, 2, 0};
    drawer->drawLine(100, 200, 400, 200, 1, 1, 1, 1);
    drawer->drawLine(600, 100, 600, 400, 1, 1, 1, 1);
    drawer->drawLine(800, 600, 800, 600, 1, 1, 1, 1);
    const Screen s = screen();
    for (int i = 0; i < 10; ++i) {
        EXPECT_NEAR(s.at(250, 195 + i).g, profile[i], 3) << "horizontal, row " << 195 + i;
        EXPECT_NEAR(s.at(595 + i, 250).g, profile[i], 3) << "vertical, column " << 595 + i;
    }
    expectBands(s, 190, 210, {{95, 100, false}, {100, 101, true}, {399, 400, true}, {400, 405, false}});
    EXPECT_FALSE(s.anyLit(590, 95, 610, 100));
    EXPECT_FALSE(s.anyLit(780, 580, 820, 620)) << "a line whose ends coincide draws nothing";
}

TEST_F(OpenGLDrawerTest, PolygonsStretchTheirTextureOverTheBoundingBoxAndSkipUnknownIds)
{
    float square[] = {0, 0, 100, 0, 100, 100, 0, 100};
    float triangle[] = {10, 0, 0, 5, 5, 10};
    const unsigned int poly = drawer->loadPoly(square, 4);
    const OpenGLDrawer::Polygon& t = drawer->getPolygons()[drawer->loadPoly(triangle, 3)];
    ASSERT_EQ(t.count, 4);
    EXPECT_FLOAT_EQ(t.xs[0], 5);
    const float us[] = {0.5f, 1, 0, 0.5f}, vs[] = {0.5f, 0, 0.5f, 1};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::make_pair(t.us[i], t.vs[i]), std::make_pair(us[i], vs[i])) << i;

    drawer->setTexInterp(false);
    const unsigned int id = drawer->loadImage(twoColourPixels(64, 64, true), 64, 64);
    drawer->drawPoly(poly, id, 300, 300, 1, 1, 1, 1, 1, 1);
    drawer->drawPoly(poly + 2, id, 600, 300, 1, 1, 1, 1, 1, 1);
    drawer->drawPoly(poly, 9999, 800, 300, 1, 1, 1, 1, 1, 1);
    const Screen s = screen();
    expectPixels(s, {{302, 302, 255, 0, 0}, {302, 397, 255, 0, 0}, {397, 350, 0, 0, 255}});
    EXPECT_FALSE(s.anyLit(290, 290, 299, 410));
    EXPECT_FALSE(s.anyLit(401, 290, 1000, 410));
    drawer->releaseImage(id);
}

TEST_F(OpenGLDrawerTest, ShaderMixesTheSecondImageInForOneFrameOnlyAndEchoesItsSources)
{
    testing::internal::CaptureStdout();
    // The uniforms found are those of the program loaded last.
    const unsigned int fragmentOnly = drawer->loadShader("", BV_TEST_DATA_DIR "/shaders/mix.frag");
    const unsigned int program = drawer->loadShader(BV_TEST_DATA_DIR "/shaders/mix.vert", BV_TEST_DATA_DIR "/shaders/mix.frag");
    const std::string log = testing::internal::GetCapturedStdout();
    ASSERT_NE(program, 0u);
    EXPECT_NE(fragmentOnly, 0u);
    EXPECT_NE(log.find("OpenGLDrawer Shader InfoLog:\n----------------------------\n"), std::string::npos) << log;
    EXPECT_NE(log.find("mix.frag:\n"), std::string::npos) << log;
    EXPECT_NE(log.find("uniform sampler2D second;"), std::string::npos) << log;
    EXPECT_EQ(log.find("ftransform"), log.rfind("ftransform")) << "the vertex file is echoed once";
    EXPECT_EQ(drawer->loadShaderFile(BV_TEST_DATA_DIR "/shaders/missing.vert"), "");

    const unsigned int red = drawer->loadImage(solidPixels(64, 64, 255, 0, 0, 255), 64, 64);
    const unsigned int blue = drawer->loadImage(solidPixels(64, 64, 0, 0, 255, 255), 64, 64);
    drawer->useShader(program);
    drawer->useSecondImage(blue);
    drawer->drawImage(red, 100, 100, 1, 1, 1, 1, 1, 1);
    EXPECT_TRUE(near(screen().at(132, 132), 128, 0, 128)) << screen().at(132, 132);
    drawer->endDrawing();
    drawer->beginDrawing();
    drawer->drawImage(red, 100, 100, 1, 1, 1, 1, 1, 1);
    EXPECT_TRUE(near(screen().at(132, 132), 128, 0, 0)) << screen().at(132, 132);
    drawer->useShader(0);
    drawer->releaseImage(red);
    drawer->releaseImage(blue);
}

// Characters without a glyph still advance; the colon, which has no image,
// is a solid square; white placeholders stand in after initialiseLight.
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
    EXPECT_EQ(drawer->getGlyph(Drawer::GlyphA).width, 16);
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
    EXPECT_EQ(padded.getGlyphPadding(), 16);
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
