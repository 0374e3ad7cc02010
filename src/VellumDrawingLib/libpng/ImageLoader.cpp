// PNGs decoded with libpng itself, where SDL_image is not to be had. The
// transformations are the ones SDL_image asks libpng for, so that every file
// gives the same depth, the same pixels and the same lines as it does
// through sdlimage/: 16-bit channels cut to 8, small depths unpacked, grey
// with alpha made colour, a palette with translucent entries expanded to
// RGBA (and any other palette or grey left at its depth, which is refused).
// A file that does not decode is libpng's error on standard error and empty
// ImageData, as SDL_image's is.
#include "VellumDrawingLib/ImageLoader.h"

#include "VellumDrawingLib/DecodedImage.h"

#include <SDL.h>
#include <png.h>

#include <csetjmp>
#include <new>
#include <vector>

namespace {

struct Decoded {
    std::vector<unsigned char> pixels;
    std::vector<png_bytep> rows;
    int width = 0;
    int height = 0;
    int channels = 0;
    std::size_t pitch = 0;
};

void readFromStream(png_structp png, png_bytep out, png_size_t length)
{
    SDL_RWops* stream = static_cast<SDL_RWops*>(png_get_io_ptr(png));
    if (SDL_RWread(stream, out, 1, static_cast<int>(length)) != static_cast<int>(length))
        png_error(png, "Read error");
}

// A palette whose transparency is one fully transparent entry keeps its
// depth (SDL_image gives it a colour key); any other transparency is expanded.
bool paletteNeedsAlpha(png_structp png, png_infop info)
{
    png_bytep alphas = nullptr;
    int count = 0;
    png_get_tRNS(png, info, &alphas, &count, nullptr);
    int transparent = -1;
    for (int i = 0; i < count; ++i) {
        if (alphas[i] == 255)
            continue;
        if (alphas[i] != 0 || transparent >= 0)
            return true;
        transparent = i;
    }
    return false;
}

// libpng reports a broken file by jumping back to the setjmp below; nothing
// in this frame has a destructor, and what it fills lives in the caller.
bool decodeRows(png_structp png, png_infop info, Decoded& out)
{
    if (setjmp(png_jmpbuf(png)))
        return false;
    png_read_info(png, info);
    const int colourType = png_get_color_type(png, info);
    png_set_strip_16(png);
    png_set_packing(png);
    if (colourType == PNG_COLOR_TYPE_GRAY)
        png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_PALETTE && png_get_valid(png, info, PNG_INFO_tRNS) &&
        paletteNeedsAlpha(png, info))
        png_set_expand(png);
    if (colourType == PNG_COLOR_TYPE_GRAY_ALPHA)
        png_set_gray_to_rgb(png);
    png_read_update_info(png, info);
    out.width = static_cast<int>(png_get_image_width(png, info));
    out.height = static_cast<int>(png_get_image_height(png, info));
    out.channels = png_get_channels(png, info);
    out.pitch = png_get_rowbytes(png, info);
    try {
        out.pixels.resize(out.pitch * static_cast<std::size_t>(out.height));
        out.rows.resize(static_cast<std::size_t>(out.height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    for (int y = 0; y < out.height; ++y)
        out.rows[static_cast<std::size_t>(y)] = out.pixels.data() + out.pitch * static_cast<std::size_t>(y);
    png_read_image(png, out.rows.data());
    png_read_end(png, info);
    return true;
}

// Takes the stream over and closes it. What is no PNG at all is refused
// before libpng sees it, without a word, as SDL_image refuses it.
ImageData decode(SDL_RWops* stream, bool announce24Bit)
{
    if (!stream)
        return ImageData();
    png_byte signature[8] = {};
    const bool isPng = SDL_RWread(stream, signature, 1, sizeof signature) == sizeof signature &&
                       png_sig_cmp(signature, 0, sizeof signature) == 0;
    Decoded decoded;
    png_structp png = isPng ? png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr) : nullptr;
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool decodedWhole = false;
    if (info) {
        png_set_read_fn(png, stream, &readFromStream);
        png_set_sig_bytes(png, sizeof signature);
        decodedWhole = decodeRows(png, info, decoded);
    }
    png_destroy_read_struct(png ? &png : nullptr, info ? &info : nullptr, nullptr);
    SDL_RWclose(stream);
    if (!decodedWhole)
        return ImageData();
    return DecodedImage::toRgba(decoded.pixels.data(), decoded.width, decoded.height,
                                static_cast<int>(decoded.pitch), decoded.channels, announce24Bit);
}

} // namespace

// SDL reads a file's name as UTF-8 on every system.
ImageData ImageLoader::loadImage(const std::string& path) const
{
    return decode(SDL_RWFromFile(path.c_str(), "rb"), false);
}

ImageData ImageLoader::loadImage(const char* data, unsigned int size) const
{
    return decode(SDL_RWFromConstMem(data, static_cast<int>(size)), true);
}
