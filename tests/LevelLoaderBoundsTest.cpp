// The bounds of the levels file: what the walk ahead of the parser finds is
// what the parser then builds, however odd the text, and a file past a bound
// is refused, or its excess skipped, in one line.

#include "CoutCapture.h"
#include "FatalError.h"
#include "LevelLoader.h"
#include "TestSupport.h"
#include "XmlShape.h"

#include <gtest/gtest.h>
#include <tinyxml.h>

#include <string>
#include <vector>

namespace {

const XmlShape::Limits roomy = {1000, 100000, 1000};

std::string repeat(const std::string& part, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i)
        text += part;
    return text;
}

std::string levelsFile(const std::string& planes)
{
    return "<?xml version=\"1.0\" ?>\n<BrickVoyager>\n" + planes + "</BrickVoyager>\n";
}

std::string block(int x)
{
    return "<Block x=\"" + std::to_string(x) + "\" y=\"500\" type=\"1\" s0=\"1\"/>";
}

} // namespace

// Each text hides markup where a plain scan would find some, or shows it
// where a plain scan would not: the walk must see it the parser's way.
TEST(LevelLoaderBoundsTest, ShapeMeasuredAheadIsTheShapeTheParserBuilds)
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
        const XmlShape measured = XmlShape::measure(text.c_str(), roomy);
        TiXmlDocument document;
        document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
        const XmlShape built = XmlShape::of(document);
        EXPECT_EQ(measured.excess, "");
        EXPECT_EQ(measured.deepest, c.deepest);
        EXPECT_EQ(measured.elements, c.elements);
        EXPECT_EQ(measured.mostAttributes, c.mostAttributes);
        EXPECT_EQ(built.deepest, c.deepest);
        EXPECT_EQ(built.elements, c.elements);
        EXPECT_EQ(built.mostAttributes, c.mostAttributes);
    }
}

// The parser would recurse once per level, compare every attribute with
// every other and search the whole rest of the text for each ';': such a
// file is refused before it sees any of it.
TEST(LevelLoaderBoundsTest, FilePastAShapeBoundIsRefusedInOneLine)
{
    const XmlShape::Limits& limits = LevelLoader::shapeLimits;
    std::string manyAttributes = "<Block";
    for (int i = 0; i <= limits.attributes; ++i)
        manyAttributes += " a" + std::to_string(i) + "=\"1\"";
    const struct {
        std::string content;
        std::string excess;
    } cases[] = {
        {repeat("<a>", 500000), "nests elements deeper than " + std::to_string(limits.depth) + " levels"},
        {levelsFile("<Plane><Screen>" + manyAttributes + "/></Screen></Plane>"),
         "has an element with more than " + std::to_string(limits.attributes) + " attributes"},
        {levelsFile(repeat("<Plane/>", limits.elements)),
         "holds more than " + std::to_string(limits.elements) + " elements"},
        {levelsFile("<Plane a=\"" + repeat("&#", 400000) + "\"/>"),
         "holds a character reference (\"&#\") without its ';'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.excess);
        TempDir dir;
        const std::string path = dir.write("levels.xml", c.content);
        CoutCapture out;
        try {
            LevelLoader loader(path);
            ADD_FAILURE() << "loaded";
        } catch (const FatalError& error) {
            EXPECT_EQ(error.message, "LevelLoader: " + path + " " + c.excess + ".");
        }
        EXPECT_EQ(out.lines(), std::vector<std::string>{"LevelLoader: Could not load " + path + " levels file"});
    }
}

TEST(LevelLoaderBoundsTest, PlanesAndBlocksPastTheirBoundsAreSkippedWithOneLineEach)
{
    std::string screen = "<Screen>";
    for (int i = 0; i < LevelLoader::maxBlocksPerScreen + 3; ++i)
        screen += block(i);
    screen += "</Screen>";
    const std::string content =
        levelsFile("<Plane><Screen/>" + screen + "</Plane>" + repeat("<Plane/>", LevelLoader::maxPlanes + 2));
    TempDir dir;
    const std::string path = dir.write("levels.xml", content);
    CoutCapture out;
    LevelLoader loader(path);
    EXPECT_EQ(loader.planes.size(), static_cast<std::size_t>(LevelLoader::maxPlanes));
    const Level& crowded = *loader.planes[0].levels[1];
    ASSERT_EQ(crowded.blocks.size(), static_cast<std::size_t>(LevelLoader::maxBlocksPerScreen));
    EXPECT_EQ(crowded.blocks.back().x, LevelLoader::maxBlocksPerScreen - 1);
    EXPECT_EQ(out.lines(),
              (std::vector<std::string>{
                  "LevelLoader: More than " + std::to_string(LevelLoader::maxBlocksPerScreen) +
                      " Blocks on plane 0, screen 1 is unacceptable, skipping extra Blocks.",
                  "LevelLoader: More than " + std::to_string(LevelLoader::maxPlanes) +
                      " Planes is unacceptable, skipping extra Planes."}));
}
