#include "VellumDrawingLib/PixelRows.h"

void PixelRows::rgbToRgba(const unsigned char* rgb, unsigned char* rgba, int width)
{
    for (int x = 0; x < width; ++x) {
        rgba[x * 4] = rgb[x * 3];
        rgba[x * 4 + 1] = rgb[x * 3 + 1];
        rgba[x * 4 + 2] = rgb[x * 3 + 2];
        rgba[x * 4 + 3] = 255;
    }
}

void PixelRows::rgbaToRgb(const unsigned char* rgba, unsigned char* rgb, int width)
{
    for (int x = 0; x < width; ++x) {
        rgb[x * 3] = rgba[x * 4];
        rgb[x * 3 + 1] = rgba[x * 4 + 1];
        rgb[x * 3 + 2] = rgba[x * 4 + 2];
    }
}
