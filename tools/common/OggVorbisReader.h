#pragma once

#include <string>
#include <vector>

// The first logical stream of an Ogg Vorbis file decoded straight through,
// as the game's music should sound before its fade and level: channel 0 on
// the left, channel 1 (or channel 0 again for mono) on the right. Used by the
// tests and tools that compare what was played with what the file holds.
struct DecodedMusic {
    std::vector<float> left;
    std::vector<float> right;
    int channels = 0;
    long rate = 0;
    long frames() const { return static_cast<long>(left.size()); }
};

// False, with music left empty, when the file cannot be opened as Ogg Vorbis.
bool readFirstStream(const std::string& path, DecodedMusic& music);
