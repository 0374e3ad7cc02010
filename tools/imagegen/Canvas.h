#pragma once

#include <vector>

// A picture being made: straight (not premultiplied) RGBA in floats 0..1, so
// that coverage and colour can be worked out separately and rounded once at
// the end. Out-of-range values are clamped when the bytes are taken.
class Canvas {
public:
    // Every pixel starts with the given colour at alpha 0: a transparent pixel
    // keeps the picture's colour so that smooth scaling never darkens an edge.
    Canvas(int width, int height, float r, float g, float b);

    void set(int x, int y, float r, float g, float b, float a);
    void setAlpha(int x, int y, float a);
    float alpha(int x, int y) const;

    // 8-bit RGBA, rows top to bottom.
    std::vector<unsigned char> bytes() const;

    const int width;
    const int height;

private:
    std::vector<float> pixels;
};
