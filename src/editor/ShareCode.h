#pragma once

#include <string>

#include "editor/PlaneList.h"

// One plane as a short text fit for a web address's fragment, and back: the
// levels text an exported file holds, compressed, with its length and a
// checksum, in the letters of URL-safe Base64 ("A-Z a-z 0-9 - _"). A code
// that is damaged, claims a text too large or holds no plane decodes to no
// plane and one "ShareCode: " line; nothing else fails.
class ShareCode {
public:
    // A plane's text is a few kilobytes; this bounds what a code may claim
    // before a byte of it is unpacked.
    static constexpr std::size_t maxTextBytes = 256 * 1024;

    static std::string encode(const Plane& plane, const std::string& note = "");
    // The one plane the code carries; none when it cannot be read.
    static PlaneList decode(const std::string& code);

    // The text inside a code; false and the problem in words that follow
    // "the code" ("is damaged (its checksum does not match)").
    static bool unpack(const std::string& code, std::string& text, std::string& problem);
    static std::string pack(const std::string& text);
};
