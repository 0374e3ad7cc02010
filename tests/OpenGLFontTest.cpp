#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "TestSupport.h"
#include "VellumDrawingLib/OpenGLDrawer.h"
#include "VellumDrawingLib/OpenGLFont.h"

#include <GL/glew.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Debian's copy, opened directly as the measure of what the drawn text should cover.
const char* const systemSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class OpenGLFontTest : public DrawingWindowTest {};

// The smallest rectangle holding every lit pixel of the search area.
struct InkBox {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
    int width() const { return right - left + 1; }
};

InkBox inkBox(const Screen& screen, int x0, int y0, int x1, int y1)
{
    InkBox box;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (screen.anyLit(x, y, x + 1, y + 1)) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
            }
    return box;
}

} // namespace

// A font too large for one atlas is refused from its metrics.
TEST_F(OpenGLFontTest, FontsGetIdsFromOneAndThoseThatDoNotLoadGetZeroAndOneLineNamingThem)
{
    TempDir home;
    const ScopedEnv env("HOME", home.path());
    std::filesystem::create_directories(home.path() + "/.fonts/Folder.ttf");
    home.write(".fonts/NotAFont.ttf", "These are words, not outlines.\n");
    OpenGLDrawer fresh(1024, 768);
    EXPECT_EQ(fresh.loadFont("DejaVuSans.ttf", 32), 1u);
    for (const auto& [name, size] : {std::pair<std::string, float>{"NoSuchFont.ttf", 32}, {"NotAFont.ttf", 32},
                                     {"Folder.ttf", 32}, {"DejaVuSans.ttf", 0}, {"DejaVuSans.ttf", -12},
                                     {"DejaVuSans.ttf", 3000}, {"DejaVuSans.ttf", 2e9f}}) {
        SCOPED_TRACE(name + " at " + std::to_string(size));
        CoutCapture output;
        EXPECT_EQ(fresh.loadFont(name, size), 0u);
        ASSERT_EQ(output.lines().size(), 1u) << output.text();
        EXPECT_EQ(output.lines()[0].rfind("OpenGLFont: ", 0), 0u) << output.text();
        EXPECT_NE(output.text().find(name), std::string::npos) << output.text();
    }
    EXPECT_EQ(fresh.loadFont("DejaVuSerif.ttf", 20), 2u);
}

// The word covers what SDL_ttf itself measures, in its colour and nothing
// else; spacing is in atlas pixels, so it grows with the scale too; a
// character outside the table advances like a blank.
TEST_F(OpenGLFontTest, DrawnTextCoversTheFontsOwnMeasureAndSpacingAndScaleStretchIt)
{
    const unsigned int id = drawer->loadFont("DejaVuSans.ttf", 32);
    ASSERT_NE(id, 0u);
    drawer->drawText("Voyager", id, 200, 300, 0, 1, 1, 0, 0, 1);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0) << "the atlas is unbound after drawing";

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

    Screen s = screen();
    const InkBox box = inkBox(s, 100, 200, 600, 450);
    EXPECT_NEAR(box.left, 200, 2);
    EXPECT_NEAR(box.right, 200 + width, 3);
    EXPECT_NEAR(box.top, capitalTop, 1);
    EXPECT_NEAR(box.bottom, descenderBottom, 1);
    EXPECT_FALSE(s.anyLit(0, 0, 1024, 200));
    EXPECT_FALSE(s.anyLit(0, 450, 1024, 768));
    int red = 0, other = 0;
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x)
            red = std::max(red, s.at(x, y).r), other = std::max({other, s.at(x, y).g, s.at(x, y).b});
    EXPECT_GE(red, 250);
    EXPECT_LE(other, 3) << "red text";

    drawer->beginDrawing();
    const float cases[][3] = {{0, 1, 50}, {20, 1, 150}, {0, 2, 250}, {10, 2, 400}};
    for (const auto& c : cases)
        drawer->drawText("III", id, 100, c[2], c[0], c[1], 1, 1, 1, 1);
    drawer->drawText("A B", id, 500, 550, 0, 1, 1, 1, 1, 1);
    drawer->drawText("A#B", id, 500, 650, 0, 1, 1, 1, 1, 1);
    s = screen();
    std::vector<int> widths;
    for (const auto& c : cases)
        widths.push_back(inkBox(s, 0, int(c[2]) - 10, 1024, int(c[2]) + 100).width());
    EXPECT_NEAR(widths[1] - widths[0], 2 * 20, 1);
    EXPECT_NEAR(widths[2], 2 * widths[0], 3);
    EXPECT_NEAR(widths[3] - widths[2], 2 * 10 * 2, 2);
    expectSameStrips(s, 490, 660, 550, 650, 40);
}

// The game's fallback: font 0 is the bitmap font at 32 units a scale.
TEST_F(OpenGLFontTest, FontZeroIsTheBitmapFontAtThirtyTwoUnitsAScale)
{
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

// The font's and the drawer's answers are one and the same.
TEST(OpenGLFontPieceTest, PowerOfTwoIsTheSmallestNotBelowAndZeroAboveTheLargest)
{
    for (const auto& [n, expected] : {std::pair{0u, 1u}, {3u, 4u}, {1024u, 1024u},
                                      {0x80000000u, 0x80000000u}, {0x80000001u, 0u}}) {
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
    SDL_Surface* glyph = SDL_CreateRGBSurfaceFrom(source.data(), 3, 2, 32, 16, 0x00FF0000, 0x0000FF00,
                                                  0x000000FF, 0xFF000000);
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

TEST(OpenGLFontPieceTest, SearchPrefersTheUsersFoldersThenTheSystemsThenTheGamesOwn)
{
    TempDir home;
    const ScopedEnv env("HOME", home.path());
    const std::string local = home.path() + "/.local/share/fonts/", dot = home.path() + "/.fonts/";
    for (const std::string& folder : {local + "b", local + "a/deep", dot + "zz"})
        std::filesystem::create_directories(folder);
    // A link back up must not send the search round for ever.
    ASSERT_EQ(symlink(dot.c_str(), (dot + "loop").c_str()), 0);
    EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, systemSans);
    // Each copy added in turn, and which one is found then: a copy higher up
    // a tree wins; on one level, the first in sorted order.
    const std::pair<std::string, std::string> copies[] = {
        {dot + "zz/", dot + "zz/"}, {dot, dot}, {local + "b/", local + "b/"}, {local + "a/deep/", local + "b/"},
        {local + "a/", local + "a/"}};
    for (const auto& [copy, winner] : copies) {
        std::ofstream(copy + "DejaVuSans.ttf") << "a copy";
        EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, winner + "DejaVuSans.ttf") << copy;
    }
    for (const char* name : {"", ".", "..", "deep/DejaVuSans.ttf"})
        EXPECT_EQ(OpenGLFont::getFontPath(name).path, "") << name;

    // The game's own folder beside the executable is searched last.
    const FilePath gameFonts = FilePath::getDataFilesDir().getChild("fonts");
    const bool made = gameFonts.createAsDirectory();
    const std::string own = "OnlyInTheGame-" + std::to_string(getpid()) + ".ttf";
    std::ofstream(gameFonts.getChild(own).path) << "game's copy";
    EXPECT_EQ(OpenGLFont::getFontPath(own).path, gameFonts.getChild(own).path);
    home.write(".fonts/" + own, "user's copy");
    EXPECT_EQ(OpenGLFont::getFontPath(own).path, dot + own);
    std::remove(gameFonts.getChild(own).path.c_str());
    if (made)
        rmdir(gameFonts.path.c_str());
}
