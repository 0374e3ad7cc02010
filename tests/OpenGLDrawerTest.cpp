#include "DrawingTestSupport.h"
#include "TestSupport.h"
#include "VellumDrawingLib/GlyphImages.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <GL/glew.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

namespace {

class OpenGLDrawerTest : public DrawingWindowTest {};

std::vector<unsigned char> textureBytes(unsigned int texture, int width, int height)
{
    std::vector<unsigned char> bytes(static_cast<std::size_t>(width) * height * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return bytes;
}

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

// --- display ---------------------------------------------------------------

TEST_F(OpenGLDrawerTest, SetViewportDrawsTheWholeLogicalAreaIntoTheTopLeftQuarter)
{
    drawer->setViewport(0, 0, 512, 384);
    drawer->fillRect(0, 0, 512, 384, 255, 0, 0, 255);
    const Screen s = screen();
    expectPixels(s, {{1, 1, 255, 0, 0}, {510, 382, 255, 0, 0}, {514, 10, 0, 0, 0},
                     {10, 386, 0, 0, 0}, {1000, 700, 0, 0, 0}});
}

TEST_F(OpenGLDrawerTest, InitialiseLightPutsBackWhitePlaceholderGlyphs)
{
    loadEmbeddedGlyphs(*drawer);
    drawer->initialiseLight(1024, 768);
    for (int g = 0; g < Drawer::GlyphCount; ++g) {
        EXPECT_EQ(drawer->getGlyph(static_cast<Drawer::Glyph>(g)).width, 16) << "glyph " << g;
        EXPECT_EQ(drawer->getGlyph(static_cast<Drawer::Glyph>(g)).height, 16) << "glyph " << g;
    }
    drawer->drawText("A", 100, 100, 32, 0, 1, 0, 1);
    const Screen s = screen();
    expectPixels(s, {{101, 101, 0, 255, 0}, {130, 130, 0, 255, 0}});
}

// --- images ----------------------------------------------------------------

TEST_F(OpenGLDrawerTest, ImagesArePaddedToPowersOfTwo)
{
    struct Case {
        unsigned int width, height;
        float maxU, maxV;
    };
    for (const Case& c : {Case{22, 60, 0.6875f, 0.9375f}, Case{1024, 768, 1.0f, 0.75f},
                          Case{64, 64, 1.0f, 1.0f}}) {
        const unsigned int id = drawer->loadImage(solidPixels(c.width, c.height, 9, 9, 9, 255),
                                                  c.width, c.height);
        const OpenGLDrawer::Image& image = drawer->getImages().at(id);
        EXPECT_EQ(image.width, c.width);
        EXPECT_EQ(image.height, c.height);
        EXPECT_FLOAT_EQ(image.maxU, c.maxU) << c.width << " x " << c.height;
        EXPECT_FLOAT_EQ(image.maxV, c.maxV) << c.width << " x " << c.height;
        drawer->releaseImage(id);
    }
}

TEST_F(OpenGLDrawerTest, PaddingRepeatsEachRowsLastByteAndTheLastRow)
{
    std::unique_ptr<unsigned char[]> source(new unsigned char[22 * 60 * 4]);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 22; ++x) {
            unsigned char* p = source.get() + (y * 22 + x) * 4;
            p[0] = static_cast<unsigned char>(x * 10);
            p[1] = static_cast<unsigned char>(y * 4);
            p[2] = 7;
            p[3] = static_cast<unsigned char>(x * 11 + y);
        }
    std::vector<unsigned char> expected(source.get(), source.get() + 22 * 60 * 4);
    const unsigned int id = drawer->loadImage(source.release(), 22, 60);
    const std::vector<unsigned char> texture =
        textureBytes(drawer->getImages().at(id).texture, 32, 64);
    for (int y = 0; y < 64; ++y) {
        const int from = y < 60 ? y : 59;
        for (int i = 0; i < 88; ++i)
            ASSERT_EQ(texture[y * 128 + i], expected[from * 88 + i]) << "row " << y << " byte " << i;
        for (int i = 88; i < 128; ++i)
            ASSERT_EQ(texture[y * 128 + i], expected[from * 88 + 87]) << "row " << y << " byte " << i;
    }
    drawer->releaseImage(id);
}

TEST_F(OpenGLDrawerTest, IdsCountUpAndOnlyTheLatestReleasedIdComesBack)
{
    OpenGLDrawer fresh(1024, 768);
    EXPECT_EQ(fresh.loadImage(nullptr, 4, 4), 0u);
    EXPECT_EQ(fresh.getNextImageId(), 1u);
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

TEST_F(OpenGLDrawerTest, NegativeScaleMirrorsOverTheSameAreaAndTheColourTints)
{
    drawer->setTexInterp(false);
    const unsigned int id = drawer->loadImage(twoColourPixels(64, 32, true), 64, 32);
    drawer->drawImage(id, 100, 100, 1, 1, 1, 1, 1, 1);
    drawer->drawImage(id, 164, 200, -1, 1, 1, 1, 1, 1);
    drawer->drawImage(id, 300, 100, 1, 1, 1, 1, 1, 0.5f);
    const Screen s = screen();
    expectPixels(s, {{110, 116, 255, 0, 0}, {150, 116, 0, 0, 255}, {110, 216, 0, 0, 255},
                     {150, 216, 255, 0, 0}, {310, 116, 128, 0, 0}});
    EXPECT_FALSE(s.anyLit(90, 200, 100, 232));
    EXPECT_FALSE(s.anyLit(164, 200, 174, 232));
    drawer->releaseImage(id);
}

TEST_F(OpenGLDrawerTest, RotationTurnsClockwiseAboutThePivotAndScaleGrowsFromTheCorner)
{
    drawer->setTexInterp(false);
    const unsigned int id = drawer->loadImage(twoColourPixels(64, 64, false), 64, 64);
    drawer->drawImageRot(id, 200, 200, 90, 32, 32, 1, 1);
    drawer->drawImageRot(id, 400, 200, 0, 32, 32, 2, 2);
    const Screen s = screen();
    expectPixels(s, {{250, 232, 255, 0, 0}, {214, 232, 0, 0, 255}, {464, 210, 255, 0, 0},
                     {464, 320, 0, 0, 255}});
    EXPECT_FALSE(s.anyLit(530, 200, 540, 328));
    EXPECT_FALSE(s.anyLit(400, 330, 528, 340));
    drawer->releaseImage(id);
}

TEST(OpenGLDrawerDeathTest, DrawingAnUnknownImageAbortsWithTheFailedCheck)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    const char* message =
        "src/VellumDrawingLib/OpenGLDrawer\\.cpp:[0-9]+: failed assertion `it != images\\.end\\(\\)'";
    OpenGLDrawer drawer(1024, 768);
    EXPECT_DEATH(drawer.drawImage(42, 0, 0, 1, 1, 1, 1, 1, 1), message);
    EXPECT_DEATH(drawer.drawImageRot(42, 0, 0, 0, 0, 0, 1, 1), message);
}

// --- shapes, lines, polygons ------------------------------------------------

TEST_F(OpenGLDrawerTest, FillRectCoversOpaqueOrBlendsHalfOver)
{
    const unsigned int id = drawer->loadImage(solidPixels(64, 64, 255, 0, 0, 255), 64, 64);
    drawer->drawImage(id, 0, 0, 4, 4, 1, 1, 1, 1);
    drawer->fillRect(0, 0, 1024, 768, 192, 255, 192, 255);
    drawer->fillRect(600, 400, 200, 200, 0, 0, 0, 128);
    const Screen s = screen();
    expectPixels(s, {{0, 0, 192, 255, 192}, {100, 100, 192, 255, 192}, {1023, 767, 192, 255, 192}});
    expectPixels(s, {{700, 500, 96, 127, 96}}, 2);
    drawer->releaseImage(id);
}

TEST_F(OpenGLDrawerTest, GradientRunsFromTheTopColourToTheBottomColour)
{
    drawer->fillGradient(0, 0, 1024, 768, 255, 255, 255, 255, 0, 0, 0, 255);
    const Screen s = screen();
    expectPixels(s, {{500, 0, 255, 255, 255}, {500, 767, 0, 0, 0}});
    expectPixels(s, {{500, 384, 127, 127, 127}}, 2);
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
    EXPECT_FALSE(s.anyLit(95, 190, 100, 210));
    EXPECT_TRUE(s.anyLit(100, 190, 101, 210));
    EXPECT_TRUE(s.anyLit(399, 190, 400, 210));
    EXPECT_FALSE(s.anyLit(400, 190, 405, 210));
    EXPECT_FALSE(s.anyLit(590, 95, 610, 100));
    EXPECT_FALSE(s.anyLit(780, 580, 820, 620)) << "a line whose ends coincide draws nothing";
}

TEST_F(OpenGLDrawerTest, PolygonsStretchTheirTextureOverTheBoundingBox)
{
    OpenGLDrawer fresh(1024, 768);
    float square[] = {0, 0, 10, 0, 10, 10, 0, 10};
    float triangle[] = {10, 0, 0, 5, 5, 10};
    EXPECT_EQ(fresh.loadPoly(square, 4), 0u);
    EXPECT_EQ(fresh.loadPoly(triangle, 3), 1u);
    const OpenGLDrawer::Polygon& p = fresh.getPolygons()[0];
    ASSERT_EQ(p.count, 5);
    EXPECT_FLOAT_EQ(p.xs[0], 5);
    EXPECT_FLOAT_EQ(p.ys[0], 5);
    const float us[] = {0.5f, 0, 1, 1, 0}, vs[] = {0.5f, 0, 0, 1, 1};
    for (int i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(p.us[i], us[i]) << i;
        EXPECT_FLOAT_EQ(p.vs[i], vs[i]) << i;
    }
    const OpenGLDrawer::Polygon& t = fresh.getPolygons()[1];
    const float tus[] = {0.5f, 1, 0, 0.5f}, tvs[] = {0.5f, 0, 0.5f, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(t.us[i], tus[i]) << i;
        EXPECT_FLOAT_EQ(t.vs[i], tvs[i]) << i;
    }
}

TEST_F(OpenGLDrawerTest, DrawPolyFillsTheShapeAndIgnoresUnknownIndexOrImage)
{
    float square[] = {0, 0, 100, 0, 100, 100, 0, 100};
    const unsigned int poly = drawer->loadPoly(square, 4);
    const unsigned int id = drawer->loadImage(solidPixels(64, 64, 255, 0, 0, 255), 64, 64);
    drawer->drawPoly(poly, id, 300, 300, 1, 1, 1, 1, 1, 1);
    drawer->drawPoly(poly + 1, id, 600, 300, 1, 1, 1, 1, 1, 1);
    drawer->drawPoly(poly, 9999, 800, 300, 1, 1, 1, 1, 1, 1);
    const Screen s = screen();
    expectPixels(s, {{350, 350, 255, 0, 0}, {302, 397, 255, 0, 0}});
    EXPECT_FALSE(s.anyLit(290, 290, 299, 410));
    EXPECT_FALSE(s.anyLit(401, 290, 410, 410));
    EXPECT_FALSE(s.anyLit(590, 290, 1000, 410));
    drawer->releaseImage(id);
}

// --- shaders ---------------------------------------------------------------

TEST_F(OpenGLDrawerTest, ShaderMixesTheSecondImageInForOneFrameOnly)
{
    testing::internal::CaptureStdout();
    const unsigned int program = drawer->loadShader(BV_TEST_DATA_DIR "/shaders/mix.vert",
                                                    BV_TEST_DATA_DIR "/shaders/mix.frag");
    const std::string log = testing::internal::GetCapturedStdout();
    ASSERT_NE(program, 0u);
    EXPECT_NE(log.find("OpenGLDrawer Shader InfoLog:\n----------------------------\n"),
              std::string::npos) << log;
    EXPECT_NE(log.find("mix.frag:\n"), std::string::npos) << log;
    EXPECT_NE(log.find("uniform sampler2D second;"), std::string::npos) << log;

    const unsigned int red = drawer->loadImage(solidPixels(64, 64, 255, 0, 0, 255), 64, 64);
    const unsigned int blue = drawer->loadImage(solidPixels(64, 64, 0, 0, 255, 255), 64, 64);
    drawer->useShader(program);
    drawer->useSecondImage(blue);
    drawer->drawImage(red, 100, 100, 1, 1, 1, 1, 1, 1);
    const Rgb mixed = screen().at(132, 132);
    EXPECT_TRUE(near(mixed, 128, 0, 128)) << mixed;

    drawer->endDrawing();
    drawer->beginDrawing();
    drawer->drawImage(red, 100, 100, 1, 1, 1, 1, 1, 1);
    const Rgb alone = screen().at(132, 132);
    EXPECT_TRUE(near(alone, 128, 0, 0)) << alone;
    drawer->useShader(0);
    drawer->releaseImage(red);
    drawer->releaseImage(blue);
}

TEST_F(OpenGLDrawerTest, ShaderWithoutAVertexFileReadsAndEchoesNothingForIt)
{
    testing::internal::CaptureStdout();
    const unsigned int program = drawer->loadShader("", BV_TEST_DATA_DIR "/shaders/mix.frag");
    const std::string log = testing::internal::GetCapturedStdout();
    EXPECT_NE(program, 0u);
    EXPECT_EQ(log.find("ftransform"), std::string::npos) << log;
    EXPECT_NE(log.find("uniform sampler2D base;"), std::string::npos) << log;
    EXPECT_EQ(drawer->loadShaderFile(BV_TEST_DATA_DIR "/shaders/missing.vert"), "");
}

// --- text ------------------------------------------------------------------

TEST_F(OpenGLDrawerTest, EmbeddedGlyphsAreWhiteShapesWithClearBorders)
{
    const ImageLoader loader;
    for (const GlyphImage& image : glyphImages()) {
        SCOPED_TRACE(testing::Message() << "glyph " << image.glyph);
        ImageData data = loader.loadImage(reinterpret_cast<const char*>(image.png), image.size);
        ASSERT_EQ(data.width, 64);
        ASSERT_EQ(data.height, 64);
        int inked = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) {
                const unsigned char* p = data.pixels.get() + (y * 64 + x) * 4;
                ASSERT_EQ(p[0] & p[1] & p[2], 255);
                if (x == 0 || y == 0 || x == 63 || y == 63) {
                    ASSERT_EQ(p[3], 0) << x << ", " << y;
                }
                inked += p[3] > 128;
            }
        EXPECT_GT(inked, 40);
    }
}

TEST_F(OpenGLDrawerTest, TextAdvancesBySizeWhetherOrNotACharacterHasAGlyph)
{
    loadEmbeddedGlyphs(*drawer);
    drawer->drawText("A B", 100, 100, 32, 1, 1, 1, 1);
    drawer->drawText("AbC", 100, 200, 32, 1, 1, 1, 1);
    drawer->drawText("ABC", 100, 300, 32, 1, 1, 1, 1);
    drawer->drawText("#@_\xC8" "A", 100, 400, 32, 1, 1, 1, 1);
    drawer->drawText("", 100, 500, 32, 1, 1, 1, 1);
    const Screen s = screen();
    expectBands(s, 100, 132, {{60, 100, false}, {100, 132, true}, {132, 164, false},
                              {164, 196, true}, {196, 300, false}});
    expectSameStrips(s, 100, 196, 200, 300, 32);
    expectBands(s, 400, 432, {{100, 228, false}, {228, 260, true}});
    EXPECT_FALSE(s.anyLit(90, 490, 400, 540));
}

TEST_F(OpenGLDrawerTest, ColonHasNoImageAndDrawsASolidSquare)
{
    loadEmbeddedGlyphs(*drawer);
    drawer->drawText("1:2", 100, 100, 32, 1, 0, 0, 1);
    const Screen s = screen();
    for (int y = 102; y < 130; y += 3)
        for (int x = 134; x < 162; x += 3)
            ASSERT_TRUE(near(s.at(x, y), 255, 0, 0)) << x << ", " << y << ": " << s.at(x, y);
}

TEST_F(OpenGLDrawerTest, PaddedGlyphsAdvanceByTheirUnpaddedWidth)
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
    EXPECT_EQ(padded.getGlyph(Drawer::GlyphA).width, 64);
    const unsigned int textureA = padded.getGlyph(Drawer::GlyphA).texture;
    padded.loadGlyph(Drawer::GlyphA, nullptr, 40);
    EXPECT_EQ(padded.getGlyphPadding(), 16);
    EXPECT_EQ(padded.getGlyph(Drawer::GlyphA).texture, textureA);

    padded.drawText("AB", 100, 100, 64, 1, 1, 1, 1);
    padded.drawText("AB", 100, 300, 32, 1, 1, 1, 1);
    const Screen s = screen();
    expectBands(s, 100, 148, {{100, 104, true}, {106, 146, false}, {148, 152, true},
                              {154, 200, false}});
    expectBands(s, 300, 324, {{100, 102, true}, {104, 123, false}, {124, 126, true},
                              {128, 160, false}});
}

// Not a check of the pixels but a picture for people to look at: every glyph
// at 64 units, then at 32 and at 16, written to build/artefacts/glyphs.png.
TEST_F(OpenGLDrawerTest, AllGlyphsAreSavedAsAPictureAtLargeAndSmallSizes)
{
    loadEmbeddedGlyphs(*drawer);
    drawer->fillRect(0, 0, 1024, 400, 40, 44, 70, 255);
    const std::string all = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.,+-!?";
    drawer->drawText(all.substr(0, 16), 0, 0, 64, 1, 1, 1, 1);
    drawer->drawText(all.substr(16, 16), 0, 64, 64, 1, 1, 1, 1);
    drawer->drawText(all.substr(32), 0, 128, 64, 1, 1, 1, 1);
    drawer->drawText(all.substr(0, 32), 0, 200, 32, 1, 1, 1, 1);
    drawer->drawText(all.substr(32), 0, 232, 32, 1, 1, 1, 1);
    drawer->drawText(all, 0, 276, 16, 1, 1, 1, 1);
    drawer->drawText("TIME 12:30", 0, 300, 16, 1, 0.8f, 0.4f, 1);
    const Screen s = screen();
    EXPECT_TRUE(s.anyLit(0, 276, 672, 292, 200));
    mkdir(BV_BINARY_DIR "/artefacts", 0775);
    EXPECT_TRUE(s.save(BV_BINARY_DIR "/artefacts/glyphs.png", 0, 0, 1024, 324));
}
