#pragma once

#include <string>
#include <vector>

// All screens of a world on one picture: each plane as its 2 x 2 arrangement
// of screens at a quarter of their size, planes side by side in rows. A
// screen that was never added stays the sheet's dark background.
class ContactSheet {
public:
    static constexpr int screenWidth = 1024;
    static constexpr int screenHeight = 768;
    static constexpr int shrink = 4;
    static constexpr int planesPerRow = 3;

    explicit ContactSheet(int planeCount);

    // rgba: a whole screen of width x height pixels, 4 bytes a pixel, top row
    // first; shrunk to the same thumbnail size whatever its own.
    void add(int plane, int screen, const std::vector<unsigned char>& rgba,
             int width = screenWidth, int height = screenHeight);
    bool write(const std::string& path) const;

private:
    int sheetWidth;
    int sheetHeight;
    std::vector<unsigned char> pixels;
};
