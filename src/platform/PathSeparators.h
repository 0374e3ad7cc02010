#pragma once

// The characters that end a component of a path on this system, and the one
// a path is built with, so that paths the game prints look as the system's
// own do. Text only: nothing is asked of the file system.
class PathSeparators {
public:
    PathSeparators() = delete;

    // Every character that separates components.
    static const char* all();
    // The one written between components.
    static char preferred();
};
