#include "VellumDrawingLib/TTFSingleton.h"

// This build reads no font files: text in a font id is drawn with the bitmap
// glyphs, as for a font that was not found.
TTFSingleton* TTFSingleton::getInstance()
{
    static TTFSingleton instance;
    return &instance;
}

TTFSingleton::TTFSingleton() = default;
TTFSingleton::~TTFSingleton() = default;

bool TTFSingleton::isStarted() const
{
    return false;
}

std::string TTFSingleton::problem() const
{
    return "this build reads no font files; the bitmap glyphs stand in";
}
