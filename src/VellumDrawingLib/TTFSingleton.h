#pragma once

#include <string>

// Owns the font machinery's start and stop for the whole process: started on
// first use, stopped at exit. A failed start is reported once; fonts then do
// not load and text falls back to the bitmap glyphs. A build without font
// files has machinery that never starts and says so.
class TTFSingleton {
public:
    // The one instance; safe against concurrent first calls.
    static TTFSingleton* getInstance();

    // Font files may be opened.
    bool isStarted() const;
    // Why font files cannot be opened, in words that follow "Could not load
    // font NAME: "; empty when they can.
    std::string problem() const;

    TTFSingleton(const TTFSingleton&) = delete;
    TTFSingleton& operator=(const TTFSingleton&) = delete;

private:
    TTFSingleton();
    ~TTFSingleton();
};
