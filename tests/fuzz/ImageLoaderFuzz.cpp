// Image data held in memory, as the embedded pictures are decoded. Whatever
// ImageLoader returns must be either nothing (null pixels, 0 x 0) or a
// picture whose every byte of width x height x 4 can be read.

#include "FuzzSupport.h"

#include "VellumDrawingLib/ImageLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ImageData image = ImageLoader().loadImage(reinterpret_cast<const char*>(data),
                                                    static_cast<unsigned int>(size));
    if (!image.pixels) {
        if (image.width != 0 || image.height != 0)
            std::abort();
        return 0;
    }
    if (image.width <= 0 || image.height <= 0)
        std::abort();
    // Every byte is read, so that an array shorter than its size claims is
    // caught by the address sanitizer here and not on a drawer's upload.
    const size_t bytes = static_cast<size_t>(image.width) * image.height * 4;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum += image.pixels[i];
    volatile unsigned keep = sum;
    static_cast<void>(keep);
    return 0;
}
