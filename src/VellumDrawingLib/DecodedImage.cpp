#include "VellumDrawingLib/DecodedImage.h"

#include "VellumDrawingLib/PixelRows.h"

#include <cstring>
#include <iostream>

ImageData DecodedImage::toRgba(const unsigned char* pixels, int width, int height, int pitch,
                               int bytesPerPixel, bool announce24Bit)
{
    ImageData image;
    if (bytesPerPixel != 4 && bytesPerPixel != 3) {
        std::cout << "ImageLoader: Image not 32bits." << std::endl;
        return image;
    }
    if (bytesPerPixel == 3 && announce24Bit)
        std::cout << "ImageLoader: Image 24bit.  Assuming 24bit RGB format." << std::endl;
    image.pixels.reset(new unsigned char[static_cast<std::size_t>(width) * height * 4]);
    for (int y = 0; y < height; ++y) {
        const unsigned char* source = pixels + static_cast<std::size_t>(y) * pitch;
        unsigned char* target = image.pixels.get() + static_cast<std::size_t>(y) * width * 4;
        if (bytesPerPixel == 4)
            std::memcpy(target, source, static_cast<std::size_t>(width) * 4);
        else
            PixelRows::rgbToRgba(source, target, width);
    }
    image.width = width;
    image.height = height;
    return image;
}
