#include "editor/ProofNote.h"

#include <cstdint>
#include <cstdio>
#include <sstream>

std::string ProofNote::hashOf(const std::string& planeText)
{
    std::uint32_t hash = 2166136261u;
    for (const unsigned char c : planeText) {
        hash ^= c;
        hash *= 16777619u;
    }
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned int>(hash));
    return digits;
}

std::string ProofNote::make(const std::string& planeText, int routeFrames)
{
    return "proven " + hashOf(planeText) + " " +
           (routeFrames >= 0 ? "route " + std::to_string(routeFrames) : std::string("none"));
}

int ProofNote::read(const std::string& note, const std::string& planeText)
{
    std::istringstream words(note);
    std::string proven, hash, found, rest;
    int frames = -1;
    if (!(words >> proven >> hash >> found) || proven != "proven" || hash != hashOf(planeText))
        return unknown;
    if (found == "none" && !(words >> rest))
        return noRoute;
    if (found == "route" && (words >> frames) && frames >= 0 && !(words >> rest))
        return frames;
    return unknown;
}
