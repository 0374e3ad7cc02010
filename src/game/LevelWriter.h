#pragma once

#include <string>
#include <vector>

#include "game/Plane.h"

// Turns planes back into the text of a levels file, which LevelLoader reads
// into the same planes value for value: every screen written (empty ones
// too), every block with all sixteen keys, each key in the fewest digits
// that read back to the same float. A note per plane rides along as an
// attribute of the plane's element, which the loader hands back untouched.
// Writing cannot fail; a plane whose screen is missing writes that screen
// empty.
class LevelWriter {
public:
    LevelWriter() = delete;

    // The name of the plane element's attribute that carries its note.
    static const char* const noteAttribute;

    // notes[i] belongs to planes[i]; a missing or empty note is not written.
    static std::string write(const std::vector<Plane>& planes,
                             const std::vector<std::string>& notes = {});
    // The text of one float that the loader's reading (a double, then a
    // float) turns back into exactly that float.
    static std::string floatText(float value);
};
