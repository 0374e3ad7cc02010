#pragma once

#include "platform/FilePath.h"
#include "platform/PadLayout.h"

#include <cstdint>
#include <string>
#include <vector>

// Gamepad layouts in SDL's community format, one pad a line: a GUID of 32
// hex digits, the pad's name, then fields such as a:b0, dpup:h0.1 or
// leftx:a0, and platform:Linux. Only what the game uses is kept from a line;
// a line that cannot be read is told on standard output ("Gamepad: <file>
// line 3: ...") and passed over, and a file that cannot be read is told once.
class PadMappings {
public:
    // SDL's own database is a few hundred kilobytes; a player's file is far
    // smaller.
    static const std::uintmax_t maxBytes = 1024 * 1024;

    struct Entry {
        std::string line;
        std::string name;
        std::string platform;
        PadLayout layout;
    };

    // One line; false and why (in words that follow "line N: ") when it
    // cannot be read.
    static bool parse(const std::string& line, Entry& entry, std::string& problem);
    // The lines of file that name platform; none when the file is missing.
    static std::vector<Entry> read(const FilePath& file, const std::string& platform);
    // The entry whose name is name (letter case aside), or null.
    static const Entry* named(const std::vector<Entry>& entries, const std::string& name);
};
