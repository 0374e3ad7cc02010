#include "VellumDrawingLib/ImageLoader.h"

#include "VellumDrawingLib/PixelRows.h"

#include <SDL_image.h>

#include <cstring>
#include <iostream>

namespace {

// Takes the surface over and frees it. Rows are read with the surface's own
// pitch: decoders pad rows (a 24-bit row of odd width is not a multiple of 4).
ImageData fromSurface(SDL_Surface* surface, bool announce24Bit)
{
    ImageData image;
    if (!surface)
        return image;
    SDL_LockSurface(surface);
    const int bytesPerPixel = surface->format->BytesPerPixel;
    if (bytesPerPixel == 4 || bytesPerPixel == 3) {
        if (bytesPerPixel == 3 && announce24Bit)
            std::cout << "ImageLoader: Image 24bit.  Assuming 24bit RGB format." << std::endl;
        const int width = surface->w, height = surface->h;
        image.pixels.reset(new unsigned char[static_cast<std::size_t>(width) * height * 4]);
        for (int y = 0; y < height; ++y) {
            const unsigned char* source =
                static_cast<const unsigned char*>(surface->pixels) + y * surface->pitch;
            unsigned char* target = image.pixels.get() + static_cast<std::size_t>(y) * width * 4;
            if (bytesPerPixel == 4)
                std::memcpy(target, source, static_cast<std::size_t>(width) * 4);
            else
                PixelRows::rgbToRgba(source, target, width);
        }
        image.width = width;
        image.height = height;
    } else {
        std::cout << "ImageLoader: Image not 32bits." << std::endl;
    }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    return image;
}

} // namespace

ImageData ImageLoader::loadImage(const std::string& path) const
{
    return fromSurface(IMG_Load(path.c_str()), false);
}

ImageData ImageLoader::loadImage(const char* data, unsigned int size) const
{
    SDL_RWops* stream = SDL_RWFromConstMem(data, static_cast<int>(size));
    if (!stream)
        return ImageData();
    return fromSurface(IMG_Load_RW(stream, 1), true);
}
