#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Level.h"
#include "Plane.h"

// Reads the levels file once, at construction, into planes of four screens.
// An unloadable or unparsable file prints a "LevelLoader: " line and throws
// FatalError with the parser's description; every other flaw (wrong root,
// extra screens, missing attributes, unknown block types) is printed and
// loading carries on, possibly with zero planes.
class LevelLoader {
public:
    // Reads getPath().
    LevelLoader();
    explicit LevelLoader(const std::string& path);
    LevelLoader(const LevelLoader&) = delete;
    LevelLoader& operator=(const LevelLoader&) = delete;

    // <folder of the running executable>/Contents/Resources/levels.xml, or ""
    // when that folder cannot be found.
    static std::string getPath();

    // Hands the screens of all planes over; the planes' references stay valid
    // for as long as the new owner keeps them. Screens not taken over are
    // destroyed with the loader.
    std::vector<std::unique_ptr<Level>> takeLevels();

    std::string path;  // the file that was read
    std::vector<Plane> planes;

private:
    void load();

    std::vector<std::unique_ptr<Level>> ownedLevels;
};
