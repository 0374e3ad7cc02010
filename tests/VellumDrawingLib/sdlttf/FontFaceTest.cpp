// Font files read through SDL_ttf: ids handed out and refused, the text as
// SDL_ttf itself measures it, and where the files are looked for.
#include "CoutCapture.h"
#include "DrawingTestSupport.h"
#include "TestSupport.h"
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

namespace {

// The smallest rectangle holding every lit pixel of the search area.
struct InkBox {
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;
};

InkBox inkBox(const Screen& screen, int x0, int y0, int x1, int y1)
{
    InkBox box;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (screen.anyLit(x, y, x + 1, y + 1))
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x), std::max(box.bottom, y)};
    return box;
}

class FontFaceTest : public DrawerWindowTest {
};

} // namespace

// A font too large for one atlas is refused from its metrics.
TEST_F(FontFaceTest, FontsGetIdsFromOneAndThoseThatDoNotLoadGetZeroAndOneLineNamingThem)
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
        EXPECT_TRUE(output.lines().size() == 1 && output.text().rfind("OpenGLFont: ", 0) == 0 &&
                    output.text().find(name) != std::string::npos) << output.text();
    }
    EXPECT_EQ(fresh.loadFont("DejaVuSerif.ttf", 20), 2u);
}

// The word covers what SDL_ttf itself measures from Debian's copy of the
// font, in its colour and nothing else; scale stretches everything, and
// spacing, in atlas pixels, grows with it; a character outside the table
// advances like a blank.
TEST_F(FontFaceTest, FontTextCoversTheFontsOwnMeasureAndSpacingAndScaleStretchIt)
{
    const unsigned int id = drawer->loadFont("DejaVuSans.ttf", 32);
    drawer->drawText("Voyager", id, 200, 300, 0, 1, 1, 0, 0, 1);
    GLint bound = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    EXPECT_EQ(bound, 0) << "the atlas is unbound after drawing";
    TTF_Font* measure = TTF_OpenFont("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 32);
    ASSERT_NE(measure, nullptr);
    int width = 0, height = 0, unused, capitalRise, descent;
    TTF_SizeText(measure, "Voyager", &width, &height);
    TTF_GlyphMetrics(measure, 'V', &unused, &unused, &unused, &capitalRise, &unused);
    TTF_GlyphMetrics(measure, 'y', &unused, &unused, &descent, &unused, &unused);
    const int ascent = TTF_FontAscent(measure);
    TTF_CloseFont(measure);

    Screen s = screen();
    const InkBox box = inkBox(s, 100, 200, 600, 450);
    EXPECT_NEAR(box.left, 200, 2);
    EXPECT_NEAR(box.right, 200 + width, 3);
    EXPECT_NEAR(box.top, 300 + ascent - capitalRise, 1);
    EXPECT_NEAR(box.bottom, 300 + ascent - descent, 1);
    EXPECT_FALSE(s.anyLit(0, 0, 1024, 200) || s.anyLit(0, 450, 1024, 768));
    Rgb most{0, 0, 0};
    for (int y = box.top; y <= box.bottom; ++y)
        for (int x = box.left; x <= box.right; ++x)
            most = {std::max(most.r, s.at(x, y).r), std::max({most.g, s.at(x, y).g, s.at(x, y).b}), 0};
    EXPECT_TRUE(near(most, 255, 0, 0, 5)) << "red text, brightest " << most;

    drawer->beginDrawing();
    drawer->drawText("III", id, 100, 50, 0, 1, 1, 1, 1, 1);
    drawer->drawText("III", id, 100, 150, 10, 2, 1, 1, 1, 1);
    drawer->drawText("A B", id, 500, 550, 0, 1, 1, 1, 1, 1);
    drawer->drawText("A#B", id, 500, 650, 0, 1, 1, 1, 1, 1);
    s = screen();
    const InkBox plain = inkBox(s, 0, 40, 480, 140), spaced = inkBox(s, 0, 140, 480, 300);
    EXPECT_NEAR(spaced.right - spaced.left, 2 * (plain.right - plain.left) + 2 * 10 * 2, 4);
    expectSameStrips(s, 490, 660, 550, 650, 40);
}

TEST(FontSearchTest, SearchPrefersTheUsersFoldersThenTheSystemsThenTheGamesOwn)
{
    TempDir home;
    const ScopedEnv env("HOME", home.path());
    const std::string local = home.path() + "/.local/share/fonts/", dot = home.path() + "/.fonts/";
    for (const std::string& folder : {local + "b", local + "a/deep", dot + "zz"})
        std::filesystem::create_directories(folder);
    // A link back up must not send the search round for ever.
    ASSERT_EQ(symlink(dot.c_str(), (dot + "loop").c_str()), 0);
    EXPECT_EQ(OpenGLFont::getFontPath("DejaVuSans.ttf").path, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
    // Each copy added in turn, and which one is found then: a copy higher up
    // a tree wins; on one level, the first in sorted order.
    const std::pair<std::string, std::string> copies[] = {
        {dot + "zz/", dot + "zz/"}, {dot, dot}, {local + "b/", local + "b/"}, {local + "a/deep/", local + "b/"}, {local + "a/", local + "a/"}};
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
