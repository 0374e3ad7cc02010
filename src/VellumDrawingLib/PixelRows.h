#pragma once

// Row copies between the pixel layouts that decoding and read-back meet.
// The caller sizes both rows; nothing is checked.
class PixelRows {
public:
    // width pixels of 3 bytes (red, green, blue) to 4 bytes, alpha opaque.
    static void rgbToRgba(const unsigned char* rgb, unsigned char* rgba, int width);
    // width pixels of 4 bytes to 3, alpha dropped.
    static void rgbaToRgb(const unsigned char* rgba, unsigned char* rgb, int width);
};
