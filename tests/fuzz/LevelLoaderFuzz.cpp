// Levels files: the bytes become the file that LevelLoader reads. A file it
// cannot parse or that passes a bound must end in FatalError; anything else
// must load, and every plane must hand over four screens, and every screen
// must breathe through its whole cycle of scale keys with hulls made from
// whatever they hold. Beside that, the shape measured ahead of the parser
// must never fall short of what the parser then builds from the same text:
// the loader's refusal of deep nesting and of crowded elements rests on it.

#include "FuzzSupport.h"

#include "FatalError.h"
#include "game/LevelLoader.h"
#include "game/XmlShape.h"

#include <tinyxml.h>

#include <cstdlib>
#include <vector>

namespace {

void checkShape(const uint8_t* data, size_t size)
{
    std::string text(reinterpret_cast<const char*>(data), size);
    text.append(8, '\0');
    const XmlShape measured = XmlShape::measure(text.c_str(), LevelLoader::shapeLimits);
    // Within the loader's limits the text is safe to parse here too.
    if (!measured.excess.empty())
        return;
    TiXmlDocument document;
    document.Parse(text.c_str(), nullptr, TIXML_DEFAULT_ENCODING);
    const XmlShape real = XmlShape::of(document);
    if (real.deepest > measured.deepest || real.elements > measured.elements ||
        real.mostAttributes > measured.mostAttributes)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    checkShape(data, size);
    const std::string path = fuzz::scratchFolder() + "/levels.xml";
    fuzz::writeFile(path, data, size);
    try {
        LevelLoader loader(path);
        const std::vector<std::unique_ptr<Level>> levels = loader.takeLevels();
        if (levels.size() != loader.planes.size() * Plane::screenCount)
            std::abort();
        for (const Plane& plane : loader.planes)
            for (const Level* screen : plane.levels)
                if (screen == nullptr)
                    std::abort();
        for (const std::unique_ptr<Level>& screen : levels) {
            // Half-way between each pair of keys, and on the way round from
            // the last key back to the first.
            for (int key = 0; key < Block::keyCount; ++key) {
                screen->animPhase = key + 0.5f;
                screen->tick();
                screen->getHulls();
            }
        }
    } catch (const FatalError&) {
    }
    return 0;
}
