#pragma once

// Owns SDL_ttf's start and stop for the whole process: started on first use,
// stopped at exit. A failed start is reported once; fonts then do not load
// and text falls back to the bitmap glyphs.
class TTFSingleton {
public:
    // The one instance; safe against concurrent first calls.
    static TTFSingleton* getInstance();

    // SDL_ttf is running and fonts may be opened.
    bool isStarted() const;

    TTFSingleton(const TTFSingleton&) = delete;
    TTFSingleton& operator=(const TTFSingleton&) = delete;

private:
    TTFSingleton();
    ~TTFSingleton();
};
