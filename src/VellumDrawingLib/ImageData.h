#pragma once

#include <memory>

// A decoded picture: width x height pixels of 4 bytes (red, green, blue,
// alpha), rows top to bottom with no gaps. Null pixels and 0 x 0 when
// decoding failed. Hand the pixels to a drawer with pixels.release().
struct ImageData {
    std::unique_ptr<unsigned char[]> pixels;
    int width = 0;
    int height = 0;
};
