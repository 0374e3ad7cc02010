// PNGs decoded by stb_image, where SDL_image would decode through something
// that changes the pixels (a browser's 2-D canvas premultiplies alpha, so
// translucent pixels come back altered).
#include "VellumDrawingLib/ImageLoader.h"

#include "VellumDrawingLib/DecodedImage.h"

#include <stb_image.h>

#include <climits>
#include <memory>

namespace {

struct StbFree {
    void operator()(unsigned char* pixels) const { stbi_image_free(pixels); }
};
using StbPixels = std::unique_ptr<unsigned char, StbFree>;

ImageData fromStb(StbPixels pixels, int width, int height, int channels, bool announce24Bit)
{
    if (!pixels)
        return ImageData();
    return DecodedImage::toRgba(pixels.get(), width, height, width * channels, channels,
                                announce24Bit);
}

} // namespace

ImageData ImageLoader::loadImage(const std::string& path) const
{
    int width = 0, height = 0, channels = 0;
    StbPixels pixels(stbi_load(path.c_str(), &width, &height, &channels, 0));
    return fromStb(std::move(pixels), width, height, channels, false);
}

ImageData ImageLoader::loadImage(const char* data, unsigned int size) const
{
    if (size > INT_MAX)
        return ImageData();
    int width = 0, height = 0, channels = 0;
    StbPixels pixels(stbi_load_from_memory(reinterpret_cast<const unsigned char*>(data),
                                           static_cast<int>(size), &width, &height, &channels,
                                           0));
    return fromStb(std::move(pixels), width, height, channels, true);
}
