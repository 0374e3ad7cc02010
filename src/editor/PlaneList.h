#pragma once

#include <memory>
#include <string>
#include <vector>

#include "game/Level.h"
#include "game/Plane.h"

// Planes that own their screens, with a note each: what the player's planes
// file, an exported file and a shared plane are read into and written from.
// Reading a text that is no levels text throws FatalError (LevelLoader's
// words, which follow the text's name in a line); nothing else fails.
class PlaneList {
public:
    // Throws FatalError as LevelLoader(LevelLoader::Text) does.
    static PlaneList read(const std::string& name, const std::string& text);
    // One plane of its own: copies of the plane's screens.
    static PlaneList of(const Plane& plane, const std::string& note = "");

    // The levels text of every plane, as LevelWriter writes it.
    std::string write() const;
    // Takes the other list's planes over, after these.
    void append(PlaneList&& other);
    std::size_t size() const { return planes.size(); }

    std::vector<Plane> planes;
    std::vector<std::string> notes;  // one per plane
    // The screens the planes refer to; moving the list keeps them in place.
    std::vector<std::unique_ptr<Level>> screens;
};
