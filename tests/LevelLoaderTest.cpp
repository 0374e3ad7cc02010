#include <gtest/gtest.h>

#include "FatalError.h"
#include "GamePlay.h"
#include "LevelLoader.h"
#include "TestSupport.h"

namespace {

// A levels file with the given root content, in the loader's own vocabulary.
std::string levelsFile(const std::string& planes)
{
    return "<?xml version=\"1.0\" ?>\n<BrickVoyager>\n" + planes + "</BrickVoyager>\n";
}

struct Loaded {
    std::unique_ptr<LevelLoader> loader;
    std::string output;
};

Loaded load(const std::string& content)
{
    TempDir dir;
    const std::string path = dir.write("levels.xml", content);
    testing::internal::CaptureStdout();
    Loaded loaded;
    try {
        loaded.loader = std::make_unique<LevelLoader>(path);
    } catch (...) {
        testing::internal::GetCapturedStdout();
        throw;
    }
    loaded.output = testing::internal::GetCapturedStdout();
    return loaded;
}

int countOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

}  // namespace

TEST(LevelLoaderTest, ReadsBlocksDoorsAndStartsIntoFourScreensPerPlane)
{
    const Loaded l = load(levelsFile(
        "<Plane><Screen><Block x=\"10\" y=\"20\" type=\"2\" s0=\"1\"/>"
        "<Door x=\"5\" y=\"6\"/><Door x=\"500\" y=\"600\"/><Player x=\"7\" y=\"8\"/></Screen>"
        "<Screen><Thing/><Player x=\"1\" y=\"2\"/><Block x=\"0\" y=\"0\" type=\"1\"/></Screen>"
        "</Plane><Plane/>"));
    ASSERT_EQ(l.loader->planes.size(), 2u);
    const Level& first = *l.loader->planes[0].levels[0];
    ASSERT_EQ(first.blocks.size(), 1u);
    EXPECT_EQ(first.blocks[0].x, 10);
    EXPECT_EQ(first.blocks[0].y, 20);
    EXPECT_EQ(first.blocks[0].width, 746);
    EXPECT_EQ(first.blocks[0].height, 256);
    EXPECT_EQ(first.hulls.size(), 1u);
    ASSERT_TRUE(first.door.has_value());
    EXPECT_EQ(first.door->left, 5);
    EXPECT_EQ(first.door->top, 6);
    EXPECT_EQ(first.playerX, 7);
    const Level& second = *l.loader->planes[0].levels[1];
    EXPECT_EQ(second.playerY, 2);
    EXPECT_EQ(second.blocks.size(), 1u);
    for (int screen = 2; screen < 4; ++screen)
        EXPECT_TRUE(l.loader->planes[0].levels[screen]->blocks.empty());
    for (Level* level : l.loader->planes[1].levels) {
        ASSERT_NE(level, nullptr);
        EXPECT_TRUE(level->blocks.empty());
        EXPECT_FALSE(level->door.has_value());
    }
    EXPECT_EQ(l.output, "");
}

TEST(LevelLoaderTest, MoreThanFourScreensKeepsTheFirstFourAndSaysSoOnce)
{
    std::string screens;
    for (int i = 0; i < 6; ++i)
        screens += "<Screen><Block x=\"" + std::to_string(i) + "\" y=\"0\" type=\"0\"/></Screen>";
    const Loaded l = load(levelsFile("<Plane>" + screens + "</Plane><Plane><Screen/></Plane>"));
    ASSERT_EQ(l.loader->planes.size(), 2u);
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_EQ(l.loader->planes[0].levels[screen]->blocks.at(0).x, screen);
    EXPECT_EQ(countOf(l.output, "LevelLoader: More than 4 Screens per Plane is unacceptable, "
                                "skipping extra Screens.\n"),
              1);
}

TEST(LevelLoaderTest, MissingScaleKeysRepeatTheLastKeyReadEvenAcrossBlocks)
{
    const Loaded l = load(levelsFile(
        "<Plane><Screen>"
        "<Block x=\"0\" y=\"0\" type=\"0\" s3=\"3\"/>"
        "<Block x=\"0\" y=\"0\" type=\"0\" s0=\"0.5\"/>"
        "<Block x=\"0\" y=\"0\" type=\"0\" s0=\"1\" s3=\"2\" s7=\"oops\"/>"
        "<Block x=\"0\" y=\"0\" type=\"0\"/>"
        "</Screen></Plane>"));
    const std::vector<Block>& blocks = l.loader->planes[0].levels[0]->blocks;
    ASSERT_EQ(blocks.size(), 4u);
    const float first[16] = {1, 1, 1, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3};
    const float fourth[16] = {1, 1, 1, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2};
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(blocks[0].scaleKeys[k], first[k]) << k;
        EXPECT_EQ(blocks[1].scaleKeys[k], 0.5f) << k;
        EXPECT_EQ(blocks[2].scaleKeys[k], fourth[k]) << k;
        EXPECT_EQ(blocks[3].scaleKeys[k], 2.0f) << k;
    }
    EXPECT_EQ(blocks[1].scale, 0.5f);
    EXPECT_EQ(blocks[3].scale, 2.0f);
}

TEST(LevelLoaderTest, CoordinatesKeepTheirLowSixteenBits)
{
    const Loaded l = load(levelsFile("<Plane><Screen><Block x=\"65636\" y=\"-65537\" type=\"3\"/>"
                                     "<Door x=\"65636\" y=\"32768\"/></Screen></Plane>"));
    const Level& screen = *l.loader->planes[0].levels[0];
    EXPECT_EQ(screen.blocks.at(0).x, 100);
    EXPECT_EQ(screen.blocks.at(0).y, -1);
    EXPECT_EQ(screen.door->left, 100);
    EXPECT_EQ(screen.door->top, -32768);
}

TEST(LevelLoaderTest, CommentsAndTextAreNotPlanesOrScreens)
{
    const Loaded l = load(levelsFile("<!-- a plane? -->text\n<Plane>\n<!-- no -->words"
                                     "<Screen/><!-- x --><Screen><Block x=\"3\" y=\"0\" type=\"0\"/>"
                                     "</Screen></Plane>"));
    ASSERT_EQ(l.loader->planes.size(), 1u);
    EXPECT_EQ(l.loader->planes[0].levels[1]->blocks.at(0).x, 3);
}

TEST(LevelLoaderTest, WrongOrMissingRootGivesZeroPlanesAndSaysWhy)
{
    struct Case {
        std::string content;
        std::string output;
    };
    const Case cases[] = {
        {"<?xml version=\"1.0\" ?>\n<Levels><Plane/></Levels>\n",
         "LevelLoader: Root element is Levels\n             Should be 'BrickVoyager'\n"},
        {"<?xml version=\"1.0\" ?>\n<!-- nothing here -->\n",
         "LevelLoader: Could not find 'BrickVoyager' root element.\n"},
    };
    for (const Case& c : cases) {
        const Loaded l = load(c.content);
        EXPECT_TRUE(l.loader->planes.empty());
        EXPECT_EQ(l.output, c.output);
    }
}

TEST(LevelLoaderTest, UnloadableFileSaysWhereAndThrowsTheParsersDescription)
{
    struct Case {
        std::string content;
        std::string description;
    };
    const Case cases[] = {
        {"<BrickVoyager><Plane></BrickVoyager>", "Error reading end tag."},
        {"", "Error document empty."},
        {"<BrickVoyager><Plane a=\"1></Plane></BrickVoyager>", "Error parsing Element."},
        {"<BrickVoyager", "Failed to read Element name"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        const std::string path = dir.write("levels.xml", c.content);
        testing::internal::CaptureStdout();
        try {
            LevelLoader loader(path);
            ADD_FAILURE() << "no FatalError for " << c.content;
        } catch (const FatalError& error) {
            EXPECT_EQ(error.message, c.description);
        }
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  "LevelLoader: Could not load " + path + " levels file\n");
    }
    TempDir dir;
    testing::internal::CaptureStdout();
    try {
        LevelLoader loader(dir.path() + "/absent.xml");
        ADD_FAILURE() << "no FatalError for a missing file";
    } catch (const FatalError& error) {
        EXPECT_EQ(error.message, "Failed to open file");
    }
    testing::internal::GetCapturedStdout();
}

TEST(LevelLoaderTest, UnknownBlockTypeIsSkippedWithOneLineNamingPlaneScreenAndType)
{
    const Loaded l = load(levelsFile(
        "<Plane/><Plane><Screen/><Screen/><Screen><Block x=\"1\" y=\"1\" type=\"4\" s0=\"3\"/>"
        "<Block x=\"2\" y=\"2\" type=\"0\"/></Screen></Plane>"));
    const Level& screen = *l.loader->planes[1].levels[2];
    ASSERT_EQ(screen.blocks.size(), 1u);
    EXPECT_EQ(screen.blocks[0].x, 2);
    EXPECT_EQ(screen.blocks[0].scale, 3.0f);  // its keys still carry over
    EXPECT_EQ(l.output,
              "LevelLoader: Skipping Block 0 on plane 1, screen 2: unknown type 4 (types are 0 to 3).\n");
}

TEST(LevelLoaderTest, MissingCoordinatesCountAsZeroWithOneLinePerElement)
{
    const Loaded l = load(levelsFile("<Plane><Screen><Block y=\"5\"/><Block x=\"1\" y=\"2\" type=\"1\"/>"
                                     "<Door x=\"30\"/><Player/></Screen></Plane>"));
    const Level& screen = *l.loader->planes[0].levels[0];
    ASSERT_EQ(screen.blocks.size(), 2u);
    EXPECT_EQ(screen.blocks[0].x, 0);
    EXPECT_EQ(screen.blocks[0].y, 5);
    EXPECT_EQ(screen.blocks[0].type, 0);
    EXPECT_EQ(screen.door->left, 30);
    EXPECT_EQ(screen.door->top, 0);
    EXPECT_EQ(screen.playerX, 0);
    EXPECT_EQ(l.output,
              "LevelLoader: Block 0 on plane 0, screen 0 lacks 'x', 'type'; counting it as 0.\n"
              "LevelLoader: Door on plane 0, screen 0 lacks 'y'; counting it as 0.\n"
              "LevelLoader: Player on plane 0, screen 0 lacks 'x', 'y'; counting it as 0.\n");
}

TEST(LevelLoaderTest, GameRefusesAFileWithoutPlanes)
{
    TempDir dir;
    const std::string path = dir.write("levels.xml", levelsFile(""));
    testing::internal::CaptureStdout();
    try {
        GamePlay game(path);
        ADD_FAILURE() << "a game without planes was built";
    } catch (const FatalError& error) {
        EXPECT_NE(error.message.find("holds no plane"), std::string::npos) << error.message;
        EXPECT_NE(error.message.find(path), std::string::npos) << error.message;
    }
    testing::internal::GetCapturedStdout();
}

TEST(LevelLoaderTest, DefaultPathIsLevelsFileInTheResourcesBesideTheExecutable)
{
    EXPECT_EQ(LevelLoader::getPath(), std::string(BV_BINARY_DIR) + "/Contents/Resources/levels.xml");
}
