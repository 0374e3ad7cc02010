#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "TestSupport.h"
#include "VellumDrawingLib/OpenGLFont.h"
#include "VellumDrawingLib/OpenGLDrawer.h"

#include <GL/glew.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Debian's copy, opened directly as the measure of what the drawn text should cover.
const char* const systemSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class OpenGLFontTest : public DrawingWindowTest {};

// The smallest rectangle holding every lit pixel of the search area.
struct InkBox {
    int left = 1 << 20;
    int top = 1 << 20;
    int right = -1;
    int bottom = -1;
    int width() const { return right - left + 1; }
};

InkBox inkBox(const Screen& screen, int x0, int y0, int x1, int y1)
{
    InkBox box;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const Rgb c = screen.at(x, y);
            if (c.r > 40 || c.g > 40 || c.b > 40) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
        }
    return box;
}

std::vector<unsigned char> atlasBytes(const OpenGLFont& font)
{
    std::vector<unsigned char> bytes(static_cast<std::size_t>(font.textureSize) *
                                     font.textureSize * 4);
    glBindTexture(GL_TEXTURE_2D, font.texture);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return bytes;
}

} // namespace

// --- loading ---------------------------------------------------------------

TEST_F(OpenGLFontTest, FontsFoundGetIdsFromOneInTheOrderTheyLoad)
{
    TempDir home;
    const ScopedEnv env("HOME", home.path());
    OpenGLDrawer fresh(1024, 768);
    EXPECT_EQ(fresh.loadFont("DejaVuSans.ttf", 32), 1u);
    EXPECT_EQ(fresh.loadFont("NoSuchFont.ttf", 32), 0u);
    EXPECT_EQ(fresh.loadFont("DejaVuSerif.ttf", 20), 2u);
    ASSERT_EQ(fresh.getFonts().size(), 2u);
    EXPECT_TRUE(fresh.getFonts()[0]->loaded);
}

TEST_F(OpenGLFontTest, FontsThatDoNotLoadGiveIdZeroAndOneLineNamingThem)
{
    TempDir home;
    const ScopedEnv env("HOME", home.path());
    mkdir((home.path() + "/.fonts").c_str(), 0775);
    home.write(".fonts/NotAFont.ttf", "These are words, not outlines.\n");
    mkdir((home.path() + "/.fonts/Folder.ttf").c_str(), 0775);

    const std::size_t fontsBefore = drawer->getFonts().size();
    struct Case {
        std::string name;
        float size;
    };
    for (const Case& c : {Case{"NoSuchFont.ttf", 32}, Case{"NotAFont.ttf", 32},
                          Case{"Folder.ttf", 32}, Case{"DejaVuSans", 32},
                          Case{"dejavu/DejaVuSans.ttf", 32}, Case{"DejaVuSans.ttf", 0},
                          Case{"DejaVuSans.ttf", -12}, Case{"DejaVuSans.ttf", 3000},
                          Case{"DejaVuSans.ttf", 2e9f}}) {
        SCOPED_TRACE(c.name + " at " + std::to_string(c.size));
        CoutCapture output;
        EXPECT_EQ(drawer->loadFont(c.name, c.size), 0u);
        const std::vector<std::string> lines = output.lines();
        ASSERT_EQ(lines.size(), 1u) << output.text();
        EXPECT_EQ(lines[0].rfind("OpenGLFont: ", 0), 0u) << lines[0];
        EXPECT_NE(lines[0].find(c.name), std::string::npos) << lines[0];
    }
    EXPECT_EQ(drawer->getFonts().size(), fontsBefore);
}

TEST_F(OpenGLFontTest, AtlasIsAPowerOfTwoHoldingEveryCharacterInItsOwnCell)
{
    for (const float size : {12.0f, 32.0f, 90.0f}) {
        SCOPED_TRACE(size);
        const OpenGLFont font("DejaVuSans.ttf", size);
        ASSERT_TRUE(font.loaded);
        ASSERT_NE(font.texture, 0u);
        EXPECT_EQ(OpenGLFont::powerOfTwo(font.textureSize),
                  static_cast<unsigned int>(font.textureSize));
        ASSERT_EQ(font.glyphs.size(), 78u);
        EXPECT_GE(font.glyphHeight, size);

        const std::vector<unsigned char> atlas = atlasBytes(font);
        const int side = font.textureSize;
        const int cellHeight = static_cast<int>(font.glyphHeight) + 2;
        std::vector<int> owner(static_cast<std::size_t>(side) * side, -1);
        for (int i = 0; i < OpenGLFont::charactersSize; ++i) {
            const char c = OpenGLFont::characters[i];
            const OpenGLFont::Glyph& glyph = font.glyphs[i];
            SCOPED_TRACE(std::string("character '") + c + "'");
            EXPECT_GT(glyph.advance, 0.0f);
            if (c == ' ') {
                EXPECT_EQ(glyph.width, 0.0f);
                continue;
            }
            const int u = static_cast<int>(glyph.u), v = static_cast<int>(glyph.v);
            const int w = static_cast<int>(glyph.width);
            ASSERT_GT(w, 2);
            ASSERT_LE(u + w, side);
            ASSERT_LE(v + cellHeight, side);
            int inked = 0;
            for (int y = v; y < v + cellHeight; ++y)
                for (int x = u; x < u + w; ++x) {
                    int& cellOwner = owner[static_cast<std::size_t>(y) * side + x];
                    ASSERT_EQ(cellOwner, -1) << "cells overlap at " << x << ", " << y;
                    cellOwner = i;
                    const unsigned char* p = atlas.data() + (static_cast<std::size_t>(y) * side + x) * 4;
                    const bool margin = x == u || x == u + w - 1 || y == v || y == v + cellHeight - 1;
                    if (margin) {
                        ASSERT_EQ(p[3], 0) << "margin inked at " << x << ", " << y;
                    }
                    if (p[3] > 128) {
                        ++inked;
                        ASSERT_EQ(p[0] & p[1] & p[2], 255);
                    }
                }
            EXPECT_GT(inked, 0);
        }
    }
}

// --- drawing ---------------------------------------------------------------

TEST_F(OpenGLFontTest, DrawnWordCoversTheFontsOwnMeasureAndNothingElse)
{
    const unsigned int id = drawer->loadFont("DejaVuSans.ttf", 32);
    ASSERT_NE(id, 0u);
    drawer->drawText("Voyager", id, 200, 300, 0, 1, 1, 0, 0, 1);

    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0);
    GLfloat colour[4] = {};
    glGetFloatv(GL_CURRENT_COLOR, colour);
    EXPECT_EQ(std::vector<float>(colour, colour + 4), std::vector<float>({1, 1, 1, 1}));

    TTF_Font* measure = TTF_OpenFont(systemSans, 32);
    ASSERT_NE(measure, nullptr);
    int width = 0, height = 0, minX, maxX, minY, maxY, advance;
    TTF_SizeText(measure, "Voyager", &width, &height);
    const int ascent = TTF_FontAscent(measure);
    TTF_GlyphMetrics(measure, 'V', &minX, &maxX, &minY, &maxY, &advance);
    const int capitalTop = 300 + ascent - maxY;
    TTF_GlyphMetrics(measure, 'y', &minX, &maxX, &minY, &maxY, &advance);
    const int descenderBottom = 300 + ascent - minY;
    TTF_CloseFont(measure);

    const Screen s = screen();
    const InkBox box = inkBox(s, 100, 200, 600, 450);
    EXPECT_NEAR(box.left, 200, 2);
    EXPECT_NEAR(box.right, 200 + width, 3);
    EXPECT_NEAR(box.top, capitalTop, 1);
    EXPECT_NEAR(box.bottom, descenderBottom, 1);
    int reddest = 0, greenest = 0;
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x) {
            reddest = std::max(reddest, s.at(x, y).r);
            greenest = std::max(greenest, std::max(s.at(x, y).g, s.at(x, y).b));
        }
    EXPECT_GE(reddest, 250);
    EXPECT_LE(greenest, 3);
    EXPECT_FALSE(s.anyLit(0, 0, 1024, 200));
    EXPECT_FALSE(s.anyLit(0, 450, 1024, 768));
    mkdir(BV_BINARY_DIR "/artefacts", 0775);
    EXPECT_TRUE(s.save(BV_BINARY_DIR "/artefacts/font-word.png", 150, 250, 350, 120));
}

TEST_F(OpenGLFontTest, SpacingAddsAtlasPixelsBetweenCharactersAndScaleStretchesEverything)
{
    const unsigned int id = drawer->loadFont("DejaVuSans.ttf", 32);
    ASSERT_NE(id, 0u);
    struct Case {
        float p;
        float scale;
        int y;
    };
    const std::vector<Case> cases = {{0, 1, 50}, {20, 1, 150}, {0, 2, 250}, {10, 2, 400},
                                     {0, 0.5f, 550}};
    for (const Case& c : cases)
        drawer->drawText("III", id, 100, c.y, c.p, c.scale, 1, 1, 1, 1);
    const Screen s = screen();
    std::vector<int> widths;
    for (const Case& c : cases)
        widths.push_back(inkBox(s, 0, c.y - 10, 1024, c.y + 100).width());
    EXPECT_NEAR(widths[1] - widths[0], 2 * 20, 1);
    EXPECT_NEAR(widths[2], 2 * widths[0], 3);
    EXPECT_NEAR(widths[3] - widths[2], 2 * 10 * 2, 2);
    EXPECT_NEAR(widths[4], widths[0] / 2, 2);
}

TEST_F(OpenGLFontTest, CharactersOutsideTheTableAdvanceLikeABlank)
{
    const unsigned int id = drawer->loadFont("DejaVuSans.ttf", 32);
    ASSERT_NE(id, 0u);
    drawer->drawText("A B", id, 100, 100, 0, 1, 1, 1, 1, 1);
    drawer->drawText("A#B", id, 100, 200, 0, 1, 1, 1, 1, 1);
    drawer->drawText("A\xC8" "B", id, 100, 300, 0, 1, 1, 1, 1, 1);
    const Screen s = screen();
    expectSameStrips(s, 90, 260, 100, 200, 40);
    expectSameStrips(s, 90, 260, 100, 300, 40);
}

TEST_F(OpenGLFontTest, FontZeroIsTheBitmapFontAtThirtyTwoUnitsAScale)
{
    TempDir home;
    const ScopedEnv env("HOME", home.path());
    OpenGLDrawer fresh(1024, 768);
    EXPECT_EQ(fresh.loadFont("NoSuchFont.ttf", 12), 0u);
    loadEmbeddedGlyphs(*drawer);
    drawer->drawText("HI 5", 0u, 100, 100, 7.0f, 1.0f, 1, 1, 1, 1);
    drawer->drawText("HI 5", 100, 200, 32, 1, 1, 1, 1);
    drawer->drawText("HI 5", 0u, 100, 300, 0.0f, 0.5f, 1, 1, 1, 1);
    drawer->drawText("HI 5", 100, 400, 16, 1, 1, 1, 1);
    const Screen s = screen();
    EXPECT_TRUE(s.anyLit(100, 100, 164, 132));
    expectSameStrips(s, 96, 240, 100, 200, 32);
    expectSameStrips(s, 96, 240, 300, 400, 16);
}

TEST(OpenGLFontDeathTest, DrawingWithAFontIdNeverHandedOutAbortsWithTheFailedCheck)
{
    testing::FLAGS_gtest_death_test_style = "threadsafe";
    OpenGLDrawer drawer(1024, 768);
    EXPECT_DEATH(drawer.drawText("A", 1u, 0, 0, 0, 1, 1, 1, 1, 1),
                 "OpenGLDrawer\\.cpp:[0-9]+: failed assertion `font <= fonts\\.size\\(\\)'");
}

// --- atlas pieces and the search ---------------------------------------------

// The font's and the drawer's answers are one and the same.
TEST(OpenGLFontPieceTest, PowerOfTwoIsTheSmallestNotBelow)
{
    struct Case {
        unsigned int n, expected;
    };
    for (const Case& c : {Case{0, 1}, Case{1, 1}, Case{2, 2}, Case{3, 4}, Case{1000, 1024},
                          Case{1024, 1024}, Case{0x80000000u, 0x80000000u},
                          Case{0x80000001u, 0}})
    {
        EXPECT_EQ(OpenGLFont::powerOfTwo(c.n), c.expected) << c.n;
        EXPECT_EQ(OpenGLDrawer::powerOfTwo(c.n), c.expected) << c.n;
    }
}

TEST(OpenGLFontPieceTest, CopyGlyphPlacesRowsAtTheOffsetReadsThePitchAndClipsAtTheEdge)
{
    // A 3 x 2 glyph whose rows lie 16 bytes apart; byte k of pixel (x, y) is
    // 100 + 10 * y + 4 * x + k, and the padding after each row is 0xEE.
    std::vector<unsigned char> source(16 * 2, 0xEE);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            for (int k = 0; k < 4; ++k)
                source[y * 16 + x * 4 + k] = static_cast<unsigned char>(100 + 10 * y + 4 * x + k);
    SDL_Surface* glyph = SDL_CreateRGBSurfaceFrom(source.data(), 3, 2, 32, 16, 0x00FF0000,
                                                  0x0000FF00, 0x000000FF, 0xFF000000);
    ASSERT_NE(glyph, nullptr);

    OpenGLFont font("unused.ttf", 10);
    font.textureSize = 8;
    struct Case {
        int column, row, rowOffset;
    };
    for (const Case& c : {Case{2, 3, 2}, Case{6, 6, 2}, Case{-1, 0, 0}}) {
        SCOPED_TRACE(testing::Message() << c.column << ", " << c.row << ", " << c.rowOffset);
        std::vector<unsigned char> atlas(8 * 8 * 4, 0);
        font.copyGlyph(atlas.data(), glyph, c.column, c.row, c.rowOffset);
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                for (int k = 0; k < 4; ++k) {
                    const int gx = x - c.column, gy = y - (c.row + c.rowOffset - 1);
                    const bool inside = gx >= 0 && gx < 3 && gy >= 0 && gy < 2;
                    const int expected = inside ? 100 + 10 * gy + 4 * gx + k : 0;
                    ASSERT_EQ(atlas[(y * 8 + x) * 4 + k], expected) << x << ", " << y << ", " << k;
                }
    }
    SDL_FreeSurface(glyph);
}

TEST(OpenGLFontPieceTest, SearchPrefersTheUsersFoldersThenTheSystemsThenTheGamesOwn)
{
    TempDir home;
    const ScopedEnv env("HOME", home.path());
    const std::string local = home.path() + "/.local/share/fonts";
    const std::string dot = home.path() + "/.fonts";
    for (const std::string& folder : {home.path() + "/.local", home.path() + "/.local/share",
                                      local, local + "/b", local + "/a", local + "/a/deep",
                                      dot, dot + "/Folder.ttf", dot + "/zz"})
        ASSERT_EQ(mkdir(folder.c_str(), 0775), 0) << folder;
    // A link back up must not send the search round for ever.
    ASSERT_EQ(symlink(dot.c_str(), (dot + "/loop").c_str()), 0);

    EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, systemSans);

    home.write(".fonts/zz/DejaVuSans.ttf", "user's copy");
    EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, dot + "/zz/DejaVuSans.ttf");
    home.write(".fonts/DejaVuSans.ttf", "user's copy");
    EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, dot + "/DejaVuSans.ttf");
    home.write(".local/share/fonts/b/DejaVuSans.ttf", "newer copy");
    EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, local + "/b/DejaVuSans.ttf");
    // A copy higher up a tree wins; on one level, the first in sorted order.
    home.write(".local/share/fonts/a/deep/DejaVuSans.ttf", "deeper copy");
    EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, local + "/b/DejaVuSans.ttf");
    home.write(".local/share/fonts/a/DejaVuSans.ttf", "first copy");
    EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, local + "/a/DejaVuSans.ttf");

    for (const char* name : {"Folder.ttf", "Absent.ttf", "", ".", "..",
                                    "deep/DejaVuSans.ttf", "DejaVuSans"})
        EXPECT_EQ(OpenGLFont::getFontPath(name).path, "") << name;

    // The game's own folder beside the executable is searched last.
    const FilePath gameFonts = FilePath::getDataFilesDir().getChild("fonts");
    const bool made = gameFonts.createAsDirectory();
    const std::string own = "OnlyInTheGame-" + std::to_string(getpid()) + ".ttf";
    const FilePath ownFile = gameFonts.getChild(own);
    { std::ofstream(ownFile.path) << "game's copy"; }
    EXPECT_EQ(OpenGLFont::getFontPath(own).path, ownFile.path);
    home.write(".fonts/" + own, "user's copy");
    EXPECT_EQ(OpenGLFont::getFontPath(own).path, dot + "/" + own);
    std::remove(ownFile.path.c_str());
    if (made)
        rmdir(gameFonts.path.c_str());
}
