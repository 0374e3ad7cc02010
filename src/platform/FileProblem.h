#pragma once

#include <cstdint>
#include <string>

// The words FilePath's problems are told in, which follow the path in a
// message ("levels.xml is a folder, not a file"); one place for them, so
// that every system's file calls report the same thing the same way.
class FileProblem {
public:
    FileProblem() = delete;

    // kind is what stands there: "a folder", "a device", "a pipe", ...
    static std::string notAFile(const std::string& kind, bool throughLink);
    static std::string tooLarge(std::uintmax_t size, std::uintmax_t maxBytes);
    // "cannot be read: " and the system's reason.
    static std::string because(const std::string& what, const std::string& reason);
};
