#pragma once

#include "VellumDrawingLib/ImageData.h"

// What every decoder behind ImageLoader does with the pixels it decoded:
// 32-bit rows are taken as they are, 24-bit ones get opaque alpha (and, for
// pictures compiled into the program, one line saying so); any other depth
// is reported in one line and gives empty ImageData, as ImageLoader promises.
class DecodedImage {
public:
    DecodedImage() = delete;

    // Rows are pitch bytes apart: decoders pad them (a 24-bit row of odd
    // width is not a multiple of 4).
    static ImageData toRgba(const unsigned char* pixels, int width, int height, int pitch,
                            int bytesPerPixel, bool announce24Bit);
};
