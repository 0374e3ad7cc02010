#include "GameProcess.h"

#include "editor/EditorModel.h"
#include "game/Player.h"

#include <gtest/gtest.h>

#include <fstream>
#include <random>

using namespace e2e;

namespace {

// The private server's screen, 1280 x 1024: the game's window (or full
// screen, the settings' default) fills it, the logical area 1280 x 960
// pixels and 32 down.
constexpr double pixelsPerUnit = 1280.0 / 1024.0;
constexpr int barHeight = 32;

int pixelX(int logicalX) { return static_cast<int>(logicalX * pixelsPerUnit); }
int pixelY(int logicalY) { return static_cast<int>(logicalY * pixelsPerUnit) + barHeight; }

std::string planesPath(const std::string& home) { return home + "/.local/share/PlayScaffold/planes.xml"; }

// Polls for up to timeoutMs; true once the condition holds.
template <typename Condition>
bool waitFor(Condition condition, int timeoutMs = 30000)
{
    for (int waited = 0; waited < timeoutMs; waited += 200) {
        if (condition())
            return true;
        sleepMs(200);
    }
    return condition();
}

// The mean column of the figure's dark pixels in the rows it stands in, or
// -1 when none are seen, or far more than the figure has (a picture not
// drawn yet, black).
double figureColumn(const ImageData& picture, int top, int bottom)
{
    long sum = 0, count = 0;
    for (int y = std::max(0, top); y < std::min(picture.height, bottom); ++y)
        for (int x = 0; x < picture.width; ++x) {
            const unsigned char* p = picture.pixels.get() + 4 * (y * picture.width + x);
            if (p[0] + p[1] + p[2] < 150) {
                sum += x;
                ++count;
            }
        }
    const long figure = static_cast<long>(Player::width * Player::height * pixelsPerUnit * pixelsPerUnit);
    return count < 20 || count > figure ? -1.0 : double(sum) / double(count);
}

}  // namespace

// Edits made in full screen with the mouse and the keys are in the planes
// file after the game has ended, open again as they were left in a window,
// and Enter plays them.
TEST(EditorEndToEndTest, EditsAreKeptAndPlayedAtOnce)
{
    TempDir home;
    const std::string path = planesPath(home.path());
    std::vector<EditorModel::Screens> shipped = EditorModel::screensOf(readFile(BV_SOURCE_DIR "/resources/levels.xml"));
    const Block taken = shipped[0][0].blocks[1];
    {
        GameProcess game(home.path(), {});
        ASSERT_TRUE(game.startWithWindow());
        sleepMs(1000);
        game.press("e");
        ASSERT_TRUE(waitFor([&] { return !readFile(path).empty(); })) << game.output();
        // A drag of the first screen's second block, 100 units left and 40 up.
        const int fromX = pixelX(taken.x + 150), fromY = pixelY(taken.y + 60);
        const int toX = pixelX(taken.x + 50), toY = pixelY(taken.y + 20);
        game.drag(fromX, fromY, toX, toY);
        game.press("n t d e");
        game.press("Escape");
        game.expectCleanEnd();
    }
    std::vector<EditorModel::Screens> kept = EditorModel::screensOf(readFile(path));
    ASSERT_EQ(kept.size(), 1u);
    const Level& first = kept[0][0];
    ASSERT_EQ(first.blocks.size(), shipped[0][0].blocks.size() + 1);
    // Pixels to units and back lose at most a unit each way.
    EXPECT_NEAR(first.blocks[1].x, taken.x - 100, 1);
    EXPECT_NEAR(first.blocks[1].y, taken.y - 40, 1);
    // The new block takes the dragged one's type, and T the next.
    EXPECT_EQ(first.blocks.back().type, (taken.type + 1) % BlockTypes::count);
    // Made centred where each press leaves the pointer, 20 pixels into the
    // top bar: the area's left, on its top edge (T keeps the corner).
    Block centred;
    centred.type = taken.type;
    centred.setSizeFromType();
    EXPECT_NEAR(first.blocks.back().x, 16 - centred.width / 2, 1);
    EXPECT_NEAR(first.blocks.back().y, -centred.height / 2, 1);
    EXPECT_TRUE(first.door.has_value());
    const std::string left = EditorModel(kept, 0, 0).text();

    GameProcess game(home.path(), {"-win"});
    ASSERT_TRUE(game.startWithWindow());
    sleepMs(1000);
    // The keys queue in order: the editor is open when Enter comes.
    game.press("e Return");
    // Held right, the figure walks along its first block.
    const int top = pixelY(first.playerY) - 10, bottom = pixelY(first.playerY + Player::height) + 10;
    double before = -1.0;
    ASSERT_TRUE(waitFor([&] {
        before = figureColumn(game.screenshot(home.path() + "/start.png"), top, bottom);
        return before >= 0.0;
    })) << "no figure in " << home.path() << "/start.png";
    game.x("xdotool keydown Right");
    double after = before;
    EXPECT_TRUE(waitFor([&] {
        after = figureColumn(game.screenshot(home.path() + "/walked.png"), top, bottom);
        return after > before + pixelX(100);
    })) << before << " to " << after << " in " << home.path() << "/walked.png";
    game.x("xdotool keyup Right");
    game.press("e e Escape");
    game.expectCleanEnd();
    EXPECT_EQ(EditorModel(EditorModel::screensOf(readFile(path)), 0, 0).text(), left);
}

// A planes file of random bytes is reported in one line and kept aside
// untouched; the editor starts anew and writes a file of its own.
TEST(EditorEndToEndTest, UnreadablePlanesFileIsKeptAside)
{
    TempDir home;
    std::string noise(4096, '\0');
    std::mt19937 random(27);
    for (char& c : noise)
        c = static_cast<char>(random());
    const std::string path = home.write(".local/share/PlayScaffold/planes.xml", noise);
    GameProcess game(home.path(), {"-win"});
    ASSERT_TRUE(game.startWithWindow());
    sleepMs(1000);
    game.press("e");
    ASSERT_TRUE(waitFor([&] { return contains(game.output(), "PlanesFile: "); })) << game.output();
    game.press("n e Escape");
    // The line names the parser's "Error", which a clean end would refuse.
    EXPECT_EQ(game.wait(), 0) << game.output();
    EXPECT_EQ(EditorModel::screensOf(readFile(path)).size(), 1u);
    int keptAside = 0;
    for (const std::string& seen : snapshot(home.path() + "/.local/share/PlayScaffold")) {
        const std::string name = seen.substr(0, seen.find(' '));
        keptAside += contains(name, "planes.unreadable-") && readFile(name) == noise;
    }
    EXPECT_EQ(keptAside, 1) << game.output();
}
