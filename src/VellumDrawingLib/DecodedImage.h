#pragma once

#include "VellumDrawingLib/ImageData.h"

// What every PNG decoder behind ImageLoader shares: the decoded rows as
// ImageData, and the rule on depth and its lines. Only 4 bytes a pixel
// (red, green, blue, alpha) and 3 (red, green, blue, made opaque) are taken;
// any other depth is refused with "ImageLoader: Image not 32bits.".
class DecodedImage {
public:
    DecodedImage() = delete;

    // rows: height rows of width pixels, each pitch bytes after the one
    // before (decoders pad rows). A 24-bit picture decoded from memory, as
    // the embedded ones are, is announced in one line when announce24Bit.
    static ImageData take(const unsigned char* rows, int width, int height, int bytesPerPixel,
                          int pitch, bool announce24Bit);
};
