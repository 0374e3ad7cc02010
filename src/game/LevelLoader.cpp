#include "game/LevelLoader.h"

#include <iostream>
#include <tinyxml.h>

#include "FatalError.h"
#include "game/LevelWriter.h"
#include "game/XmlShape.h"
#include "platform/FilePath.h"
#include "platform/FileProblem.h"

namespace {

constexpr int maxScreens = Plane::screenCount;

// The file as the parser's own loader would hand it over: line ends made
// "\n". The zeros behind the end keep the parser's reads inside the text,
// where it steps over a broken multi-byte character at the very end.
std::string parserText(const std::string& bytes)
{
    std::string text;
    text.reserve(bytes.size() + 8);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r') {
            text += bytes[i];
            continue;
        }
        text += '\n';
        if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
    }
    text.append(8, '\0');
    return text;
}

// Where the element is, for messages: "plane 1, screen 2".
std::string placeOf(int plane, int screen)
{
    return "plane " + std::to_string(plane) + ", screen " + std::to_string(screen);
}

// Reads integer attributes into 16-bit or 32-bit fields; a missing one counts
// as 0 and is collected so that the element's flaws make one line. A value
// that is not a number is left at 0 without a word, as TinyXML leaves it.
class AttributeReader {
public:
    explicit AttributeReader(const TiXmlElement& element) : element(element) {}

    int readInt(const char* name)
    {
        int value = 0;
        if (element.QueryIntAttribute(name, &value) == TIXML_NO_ATTRIBUTE) {
            missing += missing.empty() ? "" : ", ";
            missing += std::string("'") + name + "'";
        }
        return value;
    }
    short readShort(const char* name) { return static_cast<short>(readInt(name)); }

    // One line naming what was missing, when anything was.
    void report(const std::string& what, int plane, int screen) const
    {
        if (!missing.empty())
            std::cout << "LevelLoader: " << what << " on " << placeOf(plane, screen) << " lacks "
                      << missing << "; counting it as 0." << std::endl;
    }

private:
    const TiXmlElement& element;
    std::string missing;
};

}  // namespace

LevelLoader::LevelLoader() : LevelLoader(getPath()) {}

LevelLoader::LevelLoader(const std::string& path) : path(path)
{
    load();
}

LevelLoader::LevelLoader(const Text& text) : path(text.name), fromText(true)
{
    if (text.bytes.size() > maxFileBytes)
        refuse("", FileProblem::tooLarge(text.bytes.size(), maxFileBytes));
    build(parserText(text.bytes));
}

std::string LevelLoader::getPath()
{
    const FilePath resources = FilePath::getDataFilesDir();
    return resources.path.empty() ? std::string() : resources.getChild("levels.xml").path;
}

std::vector<std::unique_ptr<Level>> LevelLoader::takeLevels()
{
    return std::move(ownedLevels);
}

void LevelLoader::refuse(const std::string& fileMessage, const std::string& problem) const
{
    if (fromText)
        throw FatalError(problem);
    std::cout << "LevelLoader: Could not load " << path << " levels file" << std::endl;
    throw FatalError(fileMessage);
}

void LevelLoader::load()
{
    std::string bytes, problem;
    const FilePath file(path);
    if (!file.readWhole(maxFileBytes, bytes, problem)) {
        // A missing file keeps the parser's own words for it.
        refuse(file.isAbsent() ? "Failed to open file" : "LevelLoader: " + path + " " + problem + ".",
               problem);
    }
    std::string text = parserText(bytes);
    bytes = std::string();
    build(std::move(text));
}

void LevelLoader::build(std::string text)
{
    const XmlShape shape = XmlShape::measure(text.c_str(), shapeLimits);
    if (!shape.excess.empty())
        refuse("LevelLoader: " + path + " " + shape.excess + ".", shape.excess);
    TiXmlDocument document(path.c_str());
    document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    text = std::string();
    if (document.Error())
        refuse(document.ErrorDesc(), std::string("cannot be read as XML (") + document.ErrorDesc() + ")");

    const TiXmlElement* root = document.FirstChildElement();
    if (root == nullptr) {
        if (fromText)
            refuse("", "holds no 'BrickVoyager' root element");
        std::cout << "LevelLoader: Could not find 'BrickVoyager' root element." << std::endl;
        return;
    }
    if (std::string(root->Value()) != "BrickVoyager") {
        if (fromText)
            refuse("", std::string("has the root element '") + root->Value() + "', not 'BrickVoyager'");
        std::cout << "LevelLoader: Root element is " << root->Value() << std::endl
                  << "             Should be 'BrickVoyager'" << std::endl;
        return;
    }

    // Key 15 of the previous Block in the file: where a Block without s0
    // starts. Before the first Block it is the default scale.
    float carriedKey = 1.0f;
    int planeIndex = 0;
    for (const TiXmlElement* planeElement = root->FirstChildElement(); planeElement != nullptr;
         planeElement = planeElement->NextSiblingElement(), ++planeIndex) {
        if (planeIndex == maxPlanes) {
            std::cout << "LevelLoader: More than " << maxPlanes
                      << " Planes is unacceptable, skipping extra Planes." << std::endl;
            break;
        }
        Plane plane;
        for (Level*& screen : plane.levels) {
            ownedLevels.push_back(std::make_unique<Level>());
            screen = ownedLevels.back().get();
        }

        int count = 0;
        for (const TiXmlElement* screenElement = planeElement->FirstChildElement();
             screenElement != nullptr; screenElement = screenElement->NextSiblingElement()) {
            if (++count > maxScreens) {
                std::cout << "LevelLoader: More than 4 Screens per Plane is unacceptable, "
                             "skipping extra Screens."
                          << std::endl;
                break;
            }
            const int screenIndex = count - 1;
            Level& screen = *plane.levels[screenIndex];

            int blockNumber = 0;
            for (const TiXmlElement* blockElement = screenElement->FirstChildElement("Block");
                 blockElement != nullptr;
                 blockElement = blockElement->NextSiblingElement("Block"), ++blockNumber) {
                if (blockNumber == maxBlocksPerScreen) {
                    std::cout << "LevelLoader: More than " << maxBlocksPerScreen << " Blocks on "
                              << placeOf(planeIndex, screenIndex)
                              << " is unacceptable, skipping extra Blocks." << std::endl;
                    break;
                }
                Block block;
                AttributeReader reader(*blockElement);
                block.x = reader.readShort("x");
                block.y = reader.readShort("y");
                block.type = reader.readInt("type");
                reader.report("Block " + std::to_string(blockNumber), planeIndex, screenIndex);
                for (int k = 0; k < Block::keyCount; ++k) {
                    double value = 0.0;
                    const std::string name = "s" + std::to_string(k);
                    if (blockElement->QueryDoubleAttribute(name.c_str(), &value) == TIXML_SUCCESS)
                        carriedKey = static_cast<float>(value);
                    block.scaleKeys[k] = carriedKey;
                }
                block.scale = block.scaleKeys[0];
                if (!BlockTypes::isKnown(block.type)) {
                    std::cout << "LevelLoader: Skipping Block " << blockNumber << " on "
                              << placeOf(planeIndex, screenIndex) << ": unknown type "
                              << block.type << " (types are 0 to 3)." << std::endl;
                    continue;
                }
                block.setSizeFromType();
                screen.addBlock(block);
            }

            if (const TiXmlElement* door = screenElement->FirstChildElement("Door")) {
                AttributeReader reader(*door);
                const short x = reader.readShort("x");
                const short y = reader.readShort("y");
                reader.report("Door", planeIndex, screenIndex);
                screen.setDoor(x, y);
            }
            if (const TiXmlElement* start = screenElement->FirstChildElement("Player")) {
                AttributeReader reader(*start);
                const short x = reader.readShort("x");
                const short y = reader.readShort("y");
                reader.report("Player", planeIndex, screenIndex);
                screen.setPlayerPos(x, y);
            }
        }
        planes.push_back(plane);
        const char* note = planeElement->Attribute(LevelWriter::noteAttribute);
        notes.push_back(note ? note : "");
    }
}
