#include "VellumDrawingLib/EmbeddedImage.h"

#include "VellumDrawingLib/ImageLoader.h"

namespace {

ImageData decode(const unsigned char* png, unsigned int size)
{
    return ImageLoader().loadImage(reinterpret_cast<const char*>(png), size);
}

} // namespace

unsigned int EmbeddedImage::load(Drawer& drawer, const unsigned char* png, unsigned int size)
{
    ImageData image = decode(png, size);
    return drawer.loadImage(image.pixels.release(), static_cast<unsigned int>(image.width),
                            static_cast<unsigned int>(image.height));
}

void EmbeddedImage::loadGlyph(Drawer& drawer, Drawer::Glyph glyph, const unsigned char* png,
                              unsigned int size)
{
    ImageData image = decode(png, size);
    drawer.loadGlyph(glyph, image.pixels.release(), static_cast<unsigned int>(image.width));
}
