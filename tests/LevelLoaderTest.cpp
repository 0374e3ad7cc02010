#include <gtest/gtest.h>

#include "CoutCapture.h"
#include "FatalError.h"
#include "GamePlay.h"
#include "LevelLoader.h"
#include "TestSupport.h"

namespace {

std::string levelsFile(const std::string& planes)
{
    return "<?xml version=\"1.0\" ?>\n<BrickVoyager>\n" + planes + "</BrickVoyager>\n";
}

// The planes read from a file of the given content, and what the loader printed.
struct Loaded {
    std::unique_ptr<LevelLoader> loader;
    std::string output;
    const std::vector<Plane>& planes() const { return loader->planes; }
    const Level& screen(int plane, int screen) const { return *planes().at(plane).levels[screen]; }
};

Loaded load(const std::string& content)
{
    TempDir dir;
    CoutCapture out;
    auto loader = std::make_unique<LevelLoader>(dir.write("levels.xml", content));
    return {std::move(loader), out.text()};
}

}  // namespace

TEST(LevelLoaderTest, ReadsBlocksDoorsAndStartsIntoFourScreensPerPlaneAndKeepsTheFirstFour)
{
    std::string extra;
    for (int i = 0; i < 4; ++i)
        extra += "<Screen><Block x=\"" + std::to_string(i) + "\" y=\"0\" type=\"0\"/></Screen>";
    const Loaded l = load(levelsFile(
        "<!-- a plane? -->text<Plane><Screen><Block x=\"10\" y=\"20\" type=\"2\" s0=\"1\"/>"
        "<Door x=\"5\" y=\"6\"/><Player x=\"7\" y=\"8\"/></Screen>"
        "<!-- no -->words<Screen><Thing/><Player x=\"1\" y=\"2\"/><Block x=\"0\" y=\"0\" type=\"1\"/></Screen>"
        "</Plane><Plane/><Plane>" + extra + "<Screen/><Screen/></Plane>"));
    ASSERT_EQ(l.planes().size(), 3u);
    const Level& first = l.screen(0, 0);
    ASSERT_EQ(first.blocks.size(), 1u);
    EXPECT_EQ(first.blocks[0].x, 10);
    EXPECT_EQ(first.blocks[0].y, 20);
    EXPECT_EQ(first.blocks[0].width, 746);
    EXPECT_EQ(first.hulls.size(), 1u);
    EXPECT_EQ(first.door->left, 5);
    EXPECT_EQ(first.door->top, 6);
    EXPECT_EQ(first.playerX, 7);
    EXPECT_EQ(l.screen(0, 1).playerY, 2);
    EXPECT_EQ(l.screen(0, 1).blocks.size(), 1u);
    EXPECT_TRUE(l.screen(0, 2).blocks.empty());
    for (int screen = 0; screen < 4; ++screen) {
        EXPECT_FALSE(l.screen(1, screen).door.has_value());
        EXPECT_EQ(l.screen(2, screen).blocks.at(0).x, screen);
    }
    EXPECT_EQ(l.output, "LevelLoader: More than 4 Screens per Plane is unacceptable, skipping extra Screens.\n");
}

TEST(LevelLoaderTest, MissingScaleKeysRepeatTheLastKeyReadEvenAcrossBlocks)
{
    const Loaded l = load(levelsFile("<Plane><Screen>"
                                     "<Block x=\"0\" y=\"0\" type=\"0\" s3=\"3\"/>"
                                     "<Block x=\"0\" y=\"0\" type=\"0\" s0=\"0.5\"/>"
                                     "<Block x=\"0\" y=\"0\" type=\"0\" s0=\"1\" s3=\"2\" s7=\"oops\"/>"
                                     "<Block x=\"0\" y=\"0\" type=\"0\"/></Screen></Plane>"));
    const std::vector<Block>& blocks = l.screen(0, 0).blocks;
    ASSERT_EQ(blocks.size(), 4u);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(blocks[0].scaleKeys[k], k < 3 ? 1.0f : 3.0f) << k;
        EXPECT_EQ(blocks[1].scaleKeys[k], 0.5f) << k;
        EXPECT_EQ(blocks[2].scaleKeys[k], k < 3 ? 1.0f : 2.0f) << k;
        EXPECT_EQ(blocks[3].scaleKeys[k], 2.0f) << k;
    }
    EXPECT_EQ(blocks[1].scale, 0.5f);
}

TEST(LevelLoaderTest, CoordinatesKeepTheirLowSixteenBits)
{
    const Loaded l = load(levelsFile("<Plane><Screen><Block x=\"65636\" y=\"-65537\" type=\"3\"/>"
                                     "<Door x=\"65636\" y=\"32768\"/></Screen></Plane>"));
    const Level& screen = l.screen(0, 0);
    EXPECT_EQ(screen.blocks.at(0).x, 100);
    EXPECT_EQ(screen.blocks.at(0).y, -1);
    EXPECT_EQ(screen.door->left, 100);
    EXPECT_EQ(screen.door->top, -32768);
}

TEST(LevelLoaderTest, UnknownTypesAndMissingCoordinatesAreReportedOnceEach)
{
    const Loaded l = load(levelsFile(
        "<Plane><Screen><Block y=\"5\"/><Block x=\"1\" y=\"2\" type=\"1\"/><Door x=\"30\"/><Player/></Screen>"
        "</Plane><Plane><Screen/><Screen/><Screen><Block x=\"1\" y=\"1\" type=\"4\" s0=\"3\"/>"
        "<Block x=\"2\" y=\"2\" type=\"0\"/></Screen></Plane>"));
    const Level& first = l.screen(0, 0);
    ASSERT_EQ(first.blocks.size(), 2u);
    EXPECT_EQ(first.blocks[0].x, 0);
    EXPECT_EQ(first.blocks[0].y, 5);
    EXPECT_EQ(first.blocks[0].type, 0);
    EXPECT_EQ(first.door->top, 0);
    EXPECT_EQ(first.playerX, 0);
    const Level& skipped = l.screen(1, 2);
    ASSERT_EQ(skipped.blocks.size(), 1u);
    EXPECT_EQ(skipped.blocks[0].x, 2);
    EXPECT_EQ(skipped.blocks[0].scale, 3.0f) << "the skipped block's keys still carry over";
    EXPECT_EQ(l.output, "LevelLoader: Block 0 on plane 0, screen 0 lacks 'x', 'type'; counting it as 0.\n"
                        "LevelLoader: Door on plane 0, screen 0 lacks 'y'; counting it as 0.\n"
                        "LevelLoader: Player on plane 0, screen 0 lacks 'x', 'y'; counting it as 0.\n"
                        "LevelLoader: Skipping Block 0 on plane 1, screen 2: unknown type 4 (types are 0 to 3).\n");
}

TEST(LevelLoaderTest, FilesWithoutPlanesOrThatDoNotParseAreRefusedSayingWhy)
{
    const std::pair<std::string, std::string> wrongRoots[] = {
        {"<?xml version=\"1.0\" ?>\n<Levels><Plane/></Levels>\n",
         "LevelLoader: Root element is Levels\n             Should be 'BrickVoyager'\n"},
        {"<?xml version=\"1.0\" ?>\n<!-- nothing here -->\n", "LevelLoader: Could not find 'BrickVoyager' root element.\n"},
    };
    for (const auto& [content, output] : wrongRoots) {
        const Loaded l = load(content);
        EXPECT_TRUE(l.planes().empty());
        EXPECT_EQ(l.output, output);
    }
    TempDir dir;
    const std::pair<std::string, std::string> broken[] = {
        {"<BrickVoyager><Plane></BrickVoyager>", "Error reading end tag."},
        {"", "Error document empty."},
        {"<BrickVoyager", "Failed to read Element name"},
    };
    for (const auto& [content, description] : broken) {
        const std::string path = dir.write("levels.xml", content);
        CoutCapture out;
        EXPECT_THROW(try { LevelLoader loader(path); } catch (const FatalError& error) {
            EXPECT_EQ(error.message, description);
            throw;
        }, FatalError);
        EXPECT_EQ(out.text(), "LevelLoader: Could not load " + path + " levels file\n");
    }
    const std::string path = dir.write("levels.xml", levelsFile(""));
    CoutCapture out;
    try {
        GamePlay game(path);
        ADD_FAILURE() << "a game without planes was built";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.message, "LevelLoader: The levels file " + path + " holds no plane; the game needs at least one.");
    }
    EXPECT_EQ(LevelLoader::getPath(), std::string(BV_BINARY_DIR) + "/Contents/Resources/levels.xml");
}
