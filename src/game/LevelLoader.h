#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "game/Level.h"
#include "game/Plane.h"
#include "game/XmlShape.h"

// Reads the levels file once, at construction, into planes of four screens.
// An unloadable or unparsable file, or one past the bounds on its size and
// shape, prints a "LevelLoader: " line and throws FatalError with the
// parser's description or the problem; every other flaw (wrong root, extra
// planes, screens or blocks, missing attributes, unknown block types) is
// printed and loading carries on, possibly with zero planes.
// A levels text held in memory (the player's planes, a shared plane) goes
// through the same bounds and rules, but whatever makes it no levels text at
// all, a wrong or missing root included, is thrown without a line, for its
// caller to tell in its own.
class LevelLoader {
public:
    // The shipped world is a few kilobytes with a handful of blocks a screen.
    // These bounds lie far above anything made by hand and far below what
    // would stall the start or a frame. Planes and blocks past theirs are
    // skipped; a file past the others is refused.
    static constexpr std::uintmax_t maxFileBytes = 2 * 1024 * 1024;
    static constexpr int maxPlanes = 64;
    static constexpr int maxBlocksPerScreen = 64;
    // Root, plane, screen and block make four levels; the element count
    // leaves room for every plane, screen and block with doors and starts.
    static constexpr XmlShape::Limits shapeLimits = {16, 32768, 32};

    // A levels text and the name that stands for it in messages.
    struct Text {
        std::string name;
        std::string bytes;
    };

    // Reads getPath().
    LevelLoader();
    explicit LevelLoader(const std::string& path);
    // The FatalError's message is what follows the name in a line: "is not
    // XML (Error parsing Element.)", "holds more than 32768 elements", ...
    explicit LevelLoader(const Text& text);
    LevelLoader(const LevelLoader&) = delete;
    LevelLoader& operator=(const LevelLoader&) = delete;

    // <folder of the running executable>/Contents/Resources/levels.xml, or ""
    // when that folder cannot be found.
    static std::string getPath();

    // Hands the screens of all planes over; the planes' references stay valid
    // for as long as the new owner keeps them. Screens not taken over are
    // destroyed with the loader.
    std::vector<std::unique_ptr<Level>> takeLevels();

    std::string path;  // the file that was read, or the text's name
    std::vector<Plane> planes;
    // One per plane: the note its element carries (LevelWriter), or "".
    std::vector<std::string> notes;

private:
    void load();
    // Throws, printing the "Could not load" line first for a file.
    [[noreturn]] void refuse(const std::string& fileMessage, const std::string& problem) const;
    void build(std::string text);

    bool fromText = false;

    std::vector<std::unique_ptr<Level>> ownedLevels;
};
