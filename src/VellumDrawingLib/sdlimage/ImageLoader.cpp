#include "VellumDrawingLib/ImageLoader.h"

#include "VellumDrawingLib/DecodedImage.h"

#include <SDL_image.h>

namespace {

// Takes the surface over and frees it.
ImageData fromSurface(SDL_Surface* surface, bool announce24Bit)
{
    if (!surface)
        return ImageData();
    SDL_LockSurface(surface);
    ImageData image = DecodedImage::toRgba(static_cast<const unsigned char*>(surface->pixels),
                                           surface->w, surface->h, surface->pitch,
                                           surface->format->BytesPerPixel, announce24Bit);
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
