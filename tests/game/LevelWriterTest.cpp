#include <gtest/gtest.h>

#include "CoutCapture.h"
#include "FatalError.h"
#include "game/LevelLoader.h"
#include "game/LevelWriter.h"
#include "TestSupport.h"

#include <cfloat>
#include <cstring>
#include <limits>

namespace {

// Every field the loader sets and the game reads, block by block.
void expectSameScreens(const Level& a, const Level& b, const std::string& where)
{
    ASSERT_EQ(a.blocks.size(), b.blocks.size()) << where;
    for (std::size_t i = 0; i < a.blocks.size(); ++i) {
        const Block& x = a.blocks[i];
        const Block& y = b.blocks[i];
        const std::string at = where + " block " + std::to_string(i);
        EXPECT_EQ(x.x, y.x) << at;
        EXPECT_EQ(x.y, y.y) << at;
        EXPECT_EQ(x.type, y.type) << at;
        EXPECT_EQ(x.width, y.width) << at;
        EXPECT_EQ(x.height, y.height) << at;
        // Bit for bit: a float that reads back merely close is a fault.
        EXPECT_EQ(0, std::memcmp(&x.scale, &y.scale, sizeof x.scale)) << at;
        EXPECT_EQ(0, std::memcmp(x.scaleKeys, y.scaleKeys, sizeof x.scaleKeys)) << at;
    }
    ASSERT_EQ(a.door.has_value(), b.door.has_value()) << where;
    if (a.door) {
        EXPECT_EQ(a.door->left, b.door->left) << where;
        EXPECT_EQ(a.door->top, b.door->top) << where;
        EXPECT_EQ(a.door->right, b.door->right) << where;
        EXPECT_EQ(a.door->bottom, b.door->bottom) << where;
    }
    EXPECT_EQ(a.playerX, b.playerX) << where;
    EXPECT_EQ(a.playerY, b.playerY) << where;
}

void expectSamePlanes(const LevelLoader& a, const LevelLoader& b)
{
    ASSERT_EQ(a.planes.size(), b.planes.size());
    for (std::size_t p = 0; p < a.planes.size(); ++p)
        for (int s = 0; s < Plane::screenCount; ++s)
            expectSameScreens(*a.planes[p].levels[s], *b.planes[p].levels[s],
                              "plane " + std::to_string(p) + " screen " + std::to_string(s));
}

std::string nested(int depth)
{
    std::string text;
    for (int i = 0; i < depth; ++i)
        text += "<a>";
    for (int i = 0; i < depth; ++i)
        text += "</a>";
    return text;
}

} // namespace

TEST(LevelWriterTest, ShippedPlanesReadBackValueForValue)
{
    const LevelLoader shipped(std::string(BV_SOURCE_DIR) + "/resources/levels.xml");
    ASSERT_EQ(shipped.planes.size(), 10u);
    const std::string text = LevelWriter::write(shipped.planes);
    const LevelLoader again(LevelLoader::Text{"written", text});
    expectSamePlanes(shipped, again);
    // Written once more, the text is the same: nothing drifts.
    EXPECT_EQ(LevelWriter::write(again.planes), text);
}

TEST(LevelWriterTest, OddValuesAndNotesReadBackAsTheyWere)
{
    Level screens[4];
    const short extremes[][2] = {{-32768, 32767}, {-1, 0}, {32767, -32768}};
    const float keys[] = {0.0f, -0.0f, 1e-45f, FLT_MIN, FLT_MAX, -FLT_MAX, 0.1f, 1.0f / 3.0f,
                          16777217.0f, 0.7f, 1.4f, 123456.789f, -2.5f, 1e30f, 3e-39f, 0.99999994f};
    for (const auto& at : extremes) {
        Block block;
        block.x = at[0];
        block.y = at[1];
        block.type = 3;
        std::copy(std::begin(keys), std::end(keys), block.scaleKeys);
        block.scale = block.scaleKeys[0];
        block.setSizeFromType();
        screens[0].addBlock(block);
    }
    screens[0].setDoor(-32768, 32767);
    screens[0].setPlayerPos(-5, -32768);
    // Screen 1 stays empty; screen 2 keeps a start that play never uses.
    screens[2].setPlayerPos(7, 9);
    Block unknown;
    unknown.type = 9;
    screens[3].addBlock(unknown);
    const Plane plane{{&screens[0], &screens[1], &screens[2], &screens[3]}};

    const std::string note = "route 412 frames <&\"'>";
    const std::string text = LevelWriter::write({plane, plane}, {note});
    CoutCapture out;
    const LevelLoader loaded(LevelLoader::Text{"odd", text});
    ASSERT_EQ(loaded.planes.size(), 2u);
    EXPECT_EQ(loaded.notes, (std::vector<std::string>{note, ""}));
    for (int s = 0; s < 3; ++s)
        expectSameScreens(screens[s], *loaded.planes[0].levels[s], "screen " + std::to_string(s));
    // A type the game does not know is written as it is, and the loader
    // then passes it over as it passes over any such block.
    EXPECT_NE(text.find("type=\"9\""), std::string::npos);
    EXPECT_TRUE(loaded.planes[0].levels[3]->blocks.empty());
    EXPECT_NE(out.text().find("unknown type 9"), std::string::npos);
}

TEST(LevelWriterTest, TextThatIsNoLevelsTextIsThrownWithoutALine)
{
    const struct {
        std::string text;
        const char* words;
    } cases[] = {
        {"", "cannot be read as XML"},
        {"<BrickVoyager><Plane>", "cannot be read as XML"},
        {"<!-- nothing -->", "holds no 'BrickVoyager' root element"},
        {"<html/>", "has the root element 'html', not 'BrickVoyager'"},
        {std::string(LevelLoader::maxFileBytes + 1, ' '), "more than the"},
        {nested(17), "nests elements deeper than 16 levels"},
        {"<BrickVoyager>" + nested(3) + "</BrickVoyager>", ""},
    };
    for (const auto& c : cases) {
        CoutCapture out;
        try {
            const LevelLoader loaded(LevelLoader::Text{"t", c.text});
            EXPECT_STREQ(c.words, "") << c.text.substr(0, 40);
        } catch (const FatalError& error) {
            EXPECT_NE(std::string(error.message).find(c.words), std::string::npos) << error.message;
            EXPECT_NE(std::string(c.words), "");
        }
        EXPECT_EQ(out.text(), "");
    }
}
