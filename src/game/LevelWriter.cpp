#include "game/LevelWriter.h"

#include <cstdio>
#include <cstdlib>
#include <tinyxml.h>

#include "game/Level.h"

const char* const LevelWriter::noteAttribute = "proof";

namespace {

void setShort(TiXmlElement& element, const char* name, short value)
{
    element.SetAttribute(name, static_cast<int>(value));
}

TiXmlElement screenElement(const Level* screen, bool firstOfPlane)
{
    TiXmlElement element("Screen");
    if (screen == nullptr)
        return element;
    for (const Block& block : screen->blocks) {
        TiXmlElement b("Block");
        setShort(b, "x", block.x);
        setShort(b, "y", block.y);
        // Any type, known or not: the loader decides what it makes of it.
        b.SetAttribute("type", block.type);
        // All sixteen, so that no key depends on the block before it.
        for (int k = 0; k < Block::keyCount; ++k)
            b.SetAttribute(("s" + std::to_string(k)).c_str(),
                           LevelWriter::floatText(block.scaleKeys[k]).c_str());
        element.InsertEndChild(b);
    }
    if (screen->door) {
        // The loader rebuilds the door's rectangle from its corner.
        TiXmlElement door("Door");
        setShort(door, "x", screen->door->left);
        setShort(door, "y", screen->door->top);
        element.InsertEndChild(door);
    }
    // The other screens' starts do nothing in play but are kept, so they
    // are written only when there is one to keep.
    if (firstOfPlane || screen->playerX != 0 || screen->playerY != 0) {
        TiXmlElement start("Player");
        setShort(start, "x", screen->playerX);
        setShort(start, "y", screen->playerY);
        element.InsertEndChild(start);
    }
    return element;
}

}  // namespace

std::string LevelWriter::floatText(float value)
{
    // Nine significant digits always come back, but the loader's detour
    // through a double can round a tie the other way, so each precision is
    // read back the loader's way; the shortest that holds is written.
    char text[64];
    for (int digits = 6; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, static_cast<double>(value));
        double read = 0.0;
        if (std::sscanf(text, "%lf", &read) == 1 && static_cast<float>(read) == value)
            return text;
    }
    return text;  // a NaN, which never equals itself: its text is "nan"
}

std::string LevelWriter::write(const std::vector<Plane>& planes, const std::vector<std::string>& notes)
{
    TiXmlDocument document;
    document.InsertEndChild(TiXmlDeclaration("1.0", "", ""));
    TiXmlElement root("BrickVoyager");
    for (std::size_t p = 0; p < planes.size(); ++p) {
        TiXmlElement plane("Plane");
        if (p < notes.size() && !notes[p].empty())
            plane.SetAttribute(noteAttribute, notes[p].c_str());
        for (int s = 0; s < Plane::screenCount; ++s)
            plane.InsertEndChild(screenElement(planes[p].levels[s], s == 0));
        root.InsertEndChild(plane);
    }
    document.InsertEndChild(root);
    TiXmlPrinter printer;
    printer.SetIndent("  ");
    document.Accept(&printer);
    return printer.Str();
}
