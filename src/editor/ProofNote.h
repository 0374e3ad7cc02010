#pragma once

#include <string>

// A plane's last proof as the note the planes file keeps with the plane:
// what was found, and a hash of the plane's saved text, so that a note on a
// plane changed since (by hand, say) is not believed. A note that is not
// one of these reads as no proof; nothing fails.
class ProofNote {
public:
    static constexpr int noRoute = -1;
    static constexpr int unknown = -2;

    // Eight hexadecimal digits of the text's FNV-1a hash.
    static std::string hashOf(const std::string& planeText);
    // routeFrames: the route's length, or noRoute.
    static std::string make(const std::string& planeText, int routeFrames);
    // The route's length the note tells for this text, noRoute, or unknown
    // when the note is of another text or no proof at all.
    static int read(const std::string& note, const std::string& planeText);
};
