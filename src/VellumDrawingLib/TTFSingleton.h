#pragma once

// Stands for the process-wide font machinery, made once on first use and
// gone at exit. It holds nothing: the game has no font rasteriser, so there
// is nothing to start or to fail.
class TTFSingleton {
public:
    // The one instance; safe against concurrent first calls.
    static TTFSingleton* getInstance();

    TTFSingleton(const TTFSingleton&) = delete;
    TTFSingleton& operator=(const TTFSingleton&) = delete;

private:
    TTFSingleton() = default;
    ~TTFSingleton() = default;
};
