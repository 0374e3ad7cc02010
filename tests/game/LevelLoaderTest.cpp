#include <gtest/gtest.h>
#include <tinyxml.h>

#include "CoutCapture.h"
#include "FatalError.h"
#include "game/BlockTypes.h"
#include "game/LevelLoader.h"
#include "game/XmlShape.h"
#include "TestSupport.h"

#include <tuple>

namespace {

std::string levelsFile(const std::string& planes)
{
    return "<?xml version=\"1.0\" ?>\n<BrickVoyager>\n" + planes + "</BrickVoyager>\n";
}

std::string repeat(const std::string& part, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += part;
    return text;
}

// The planes read from a file of the given content, and what the loader printed.
struct Loaded {
    std::unique_ptr<LevelLoader> loader;
    std::vector<std::string> lines;
    const std::vector<Plane>& planes() const { return loader->planes; }
    const Level& screen(int plane, int screen) const { return *planes().at(plane).levels[screen]; }
    // The screen's blocks (x, y, type), door and start as text.
    std::string text(int plane, int screen) const
    {
        const Level& s = this->screen(plane, screen);
        std::string words;
        for (const Block& b : s.blocks)
            words += "block " + std::to_string(b.x) + " " + std::to_string(b.y) + " " + std::to_string(b.type) + ", ";
        if (s.door)
            words += "door " + std::to_string(s.door->left) + " " + std::to_string(s.door->top) + ", ";
        return words + "start " + std::to_string(s.playerX) + " " + std::to_string(s.playerY);
    }
};

Loaded load(const std::string& content)
{
    TempDir dir;
    CoutCapture out;
    auto loader = std::make_unique<LevelLoader>(dir.write("levels.xml", content));
    return {std::move(loader), out.lines()};
}

}  // namespace

TEST(LevelLoaderTest, ReadsBlocksDoorsAndStartsIntoFourScreensPerPlane)
{
    const Loaded l = load(levelsFile(
        "<!-- a plane? -->text<Plane><Screen><Block x=\"10\" y=\"20\" type=\"2\" s0=\"1\"/>"
        "<Door x=\"5\" y=\"6\"/><Player x=\"7\" y=\"8\"/></Screen>"
        "<!-- no -->words<Screen><Thing/><Player x=\"1\" y=\"2\"/><Block x=\"0\" y=\"0\" type=\"1\"/></Screen>"
        "<Screen><Block x=\"65636\" y=\"-65537\" type=\"3\"/><Door x=\"65636\" y=\"32768\"/></Screen></Plane><Plane/>"));
    ASSERT_EQ(l.planes().size(), 2u);
    EXPECT_EQ(l.text(0, 0), "block 10 20 2, door 5 6, start 7 8");
    EXPECT_EQ(l.text(0, 1), "block 0 0 1, start 1 2");
    EXPECT_EQ(l.text(0, 2), "block 100 -1 3, door 100 -32768, start 0 0") << "coordinates keep their low sixteen bits";
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_EQ(l.text(1, screen), "start 0 0");
    EXPECT_EQ(l.screen(0, 0).blocks[0].width, BlockTypes::width16Of(2));
    EXPECT_EQ(l.screen(0, 0).hulls.size(), 1u);
    EXPECT_TRUE(l.lines.empty());
}

TEST(LevelLoaderTest, UnknownTypesAndMissingCoordinatesAreReportedOnceEach)
{
    const Loaded l = load(levelsFile(
        "<Plane><Screen><Block y=\"5\"/><Block x=\"1\" y=\"2\" type=\"1\"/><Door x=\"30\"/><Player/></Screen>"
        "</Plane><Plane><Screen/><Screen/><Screen><Block x=\"1\" y=\"1\" type=\"4\" s0=\"3\"/>"
        "<Block x=\"2\" y=\"2\" type=\"0\"/></Screen></Plane>"));
    EXPECT_EQ(l.text(0, 0), "block 0 5 0, block 1 2 1, door 30 0, start 0 0");
    EXPECT_EQ(l.text(1, 2), "block 2 2 0, start 0 0");
    EXPECT_EQ(l.screen(1, 2).blocks[0].scale, 3.0f) << "the skipped block's keys still carry over";
    EXPECT_EQ(l.lines, (std::vector<std::string>{
                           "LevelLoader: Block 0 on plane 0, screen 0 lacks 'x', 'type'; counting it as 0.",
                           "LevelLoader: Door on plane 0, screen 0 lacks 'y'; counting it as 0.",
                           "LevelLoader: Player on plane 0, screen 0 lacks 'x', 'y'; counting it as 0.",
                           "LevelLoader: Skipping Block 0 on plane 1, screen 2: unknown type 4 (types are 0 to 3)."}));
}

TEST(LevelLoaderTest, MissingScaleKeysRepeatTheLastKeyReadEvenAcrossBlocks)
{
    const Loaded l = load(levelsFile("<Plane><Screen>"
                                     "<Block x=\"0\" y=\"0\" type=\"0\" s3=\"3\"/>"
                                     "<Block x=\"0\" y=\"0\" type=\"0\" s0=\"0.5\"/>"
                                     "<Block x=\"0\" y=\"0\" type=\"0\" s0=\"1\" s3=\"2\" s7=\"oops\"/>"
                                     "<Block x=\"0\" y=\"0\" type=\"0\"/></Screen></Plane>"));
    const std::vector<Block>& blocks = l.screen(0, 0).blocks;
    const int keys[] = {0, 2, 3, 7, 15};
    const float expected[4][5] = {{1, 1, 3, 3, 3}, {0.5f, 0.5f, 0.5f, 0.5f, 0.5f}, {1, 1, 2, 2, 2}, {2, 2, 2, 2, 2}};
    for (int b = 0; b < 4; ++b)
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(blocks.at(b).scaleKeys[keys[i]], expected[b][i]) << "block " << b << ", key " << keys[i];
    EXPECT_EQ(blocks[1].scale, 0.5f);
}

TEST(LevelLoaderTest, PlanesScreensAndBlocksPastTheirBoundsAreSkippedWithOneLineEach)
{
    std::string crowded = "<Screen>";
    for (int i = 0; i < LevelLoader::maxBlocksPerScreen + 3; ++i)
        crowded += "<Block x=\"" + std::to_string(i) + "\" y=\"500\" type=\"1\"/>";
    crowded += "</Screen>";
    std::string sixScreens;
    for (int i = 0; i < 6; ++i)
        sixScreens += "<Screen><Player x=\"" + std::to_string(i) + "\" y=\"0\"/></Screen>";
    const Loaded l = load(levelsFile("<Plane><Screen/>" + crowded + "</Plane><Plane>" + sixScreens + "</Plane>" +
                                     repeat("<Plane/>", LevelLoader::maxPlanes + 2)));
    EXPECT_EQ(l.planes().size(), static_cast<std::size_t>(LevelLoader::maxPlanes));
    const std::vector<Block>& kept = l.screen(0, 1).blocks;
    ASSERT_EQ(kept.size(), static_cast<std::size_t>(LevelLoader::maxBlocksPerScreen));
    EXPECT_EQ(kept.back().x, LevelLoader::maxBlocksPerScreen - 1);
    EXPECT_EQ(l.screen(1, 3).playerX, 3);
    ASSERT_EQ(l.lines.size(), 3u);
    const char* const skipped[] = {"Blocks on plane 0, screen 1", "Screens", "Planes"};
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(l.lines[i].find(skipped[i]), std::string::npos) << l.lines[i];
}

// The parser would recurse once per level, compare every attribute with
// every other and search the whole rest of the text for each ';': a file
// past a shape bound is refused before the parser sees any of it.
TEST(LevelLoaderTest, FileThatCannotBeLoadedIsRefusedInOneLineSayingWhy)
{
    TempDir dir;
    const std::string path = dir.path() + "/levels.xml";
    std::string manyAttributes = "<Block";
    for (int i = 0; i <= LevelLoader::shapeLimits.attributes; ++i)
        manyAttributes += " a" + std::to_string(i) + "=\"1\"";
    const std::pair<std::string, std::string> cases[] = {
        // The parser's own words.
        {"<BrickVoyager><Plane></BrickVoyager>", "Error reading end tag."},
        {repeat("<a>", 500000), "deeper than"},
        {levelsFile("<Plane><Screen>" + manyAttributes + "/></Screen></Plane>"), "attributes"},
        {levelsFile(repeat("<Plane/>", LevelLoader::shapeLimits.elements)), "elements"},
        {levelsFile("<Plane a=\"" + repeat("&#", 400000) + "\"/>"), "character reference"},
    };
    for (const auto& [content, words] : cases) {
        SCOPED_TRACE(words);
        dir.write("levels.xml", content);
        CoutCapture out;
        try {
            LevelLoader loader(path);
            ADD_FAILURE() << "loaded";
        } catch (const FatalError& error) {
            EXPECT_NE(error.message.find(words), std::string::npos) << error.message;
        }
        EXPECT_EQ(out.lines(), std::vector<std::string>{"LevelLoader: Could not load " + path + " levels file"});
    }
}

TEST(LevelLoaderTest, FileWithoutPlanesLoadsNoneSayingWhy)
{
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"<?xml version=\"1.0\" ?>\n<Levels><Plane/></Levels>\n",
         {"LevelLoader: Root element is Levels", "             Should be 'BrickVoyager'"}},
        {"<?xml version=\"1.0\" ?>\n<!-- nothing here -->\n", {"LevelLoader: Could not find 'BrickVoyager' root element."}},
        {levelsFile(""), {}},
    };
    for (const auto& [content, lines] : cases) {
        const Loaded l = load(content);
        EXPECT_TRUE(l.planes().empty());
        EXPECT_EQ(l.lines, lines);
    }
}

// Each text hides markup where a plain scan would find some, or shows it
// where a plain scan would not: the walk ahead of the parser must see it
// the parser's way, or the bounds above would miss what the parser builds.
TEST(LevelLoaderTest, ShapeMeasuredAheadIsTheShapeTheParserBuilds)
{
    const struct {
        const char* name;
        std::string text;
        int deepest, elements, mostAttributes;
    } cases[] = {
        {"plain", "<a><b/><c d='1' e=\"2\"/></a>", 2, 3, 2},
        {"end tags in values", "<a x=\"/>\" y='</a>'><b/></a>", 2, 2, 2},
        {"markup in comments and CDATA", "<a><!-- <b><b> --><![CDATA[<c><c>]]></a>", 1, 1, 0},
        {"quoted '>' in the declaration", "<?xml version=\"1>0\"?><a><b/></a>", 2, 2, 0},
        {"declaration-like instruction", "<?xmlish <b ?><a/>", 1, 1, 0},
        // A document type ends at its first '>', and the parser stops at the
        // ']' that follows: no element at all.
        {"document type", "<!DOCTYPE a [<!ENTITY e \"<b>\">]><a/>", 0, 0, 0},
        {"unquoted values", "<a x=1 y=2/><b z=3>t</b>", 1, 2, 2},
        {"names beyond ASCII", "<\xc3\xa9\x6c><\xe2\x82\xac/></\xc3\xa9\x6c>", 2, 2, 0},
        // Only as UTF-8 does the byte before the quote swallow it.
        {"legacy lead byte", "<a b=\"\xe0\"><c/>\"/>", 2, 2, 1},
        {"UTF-8 lead byte", "\xef\xbb\xbf<a b=\"\xe0\"><c/>\"/>", 1, 1, 1},
        {"broken at the end", "<a><b x=\"1\"", 2, 2, 0},
        {"wrong end tag", "<a><b></a><c/>", 2, 2, 0},
        {"text after the root", "<a/> tail <b/>", 1, 1, 0},
        {"white space to the end", "<a> \t", 1, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string text = c.text + std::string(8, '\0');
        const XmlShape measured = XmlShape::measure(text.c_str(), {1000, 100000, 1000});
        TiXmlDocument document;
        document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
        const XmlShape built = XmlShape::of(document);
        EXPECT_EQ(measured.excess, "");
        for (const XmlShape& shape : {measured, built})
            EXPECT_EQ(std::tie(shape.deepest, shape.elements, shape.mostAttributes),
                      std::tie(c.deepest, c.elements, c.mostAttributes));
    }
}
