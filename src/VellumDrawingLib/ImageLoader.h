#pragma once

#include "VellumDrawingLib/ImageData.h"

#include <string>

// Decodes PNG files and PNG bytes held in memory into RGBA pixel arrays.
// Only 32-bit and 24-bit pictures are taken (24-bit ones get opaque alpha);
// anything else, or data that does not decode, gives empty ImageData.
class ImageLoader {
public:
    ImageData loadImage(const std::string& path) const;
    ImageData loadImage(const char* data, unsigned int size) const;
};
