#include "VellumDrawingLib/TextureStore.h"

#include <GL/glew.h>

#include <cstring>

TextureStore::TextureStore(std::map<unsigned int, Image>& images, unsigned int& nextImageId,
                           const bool& texInterp)
    : images(images), nextImageId(nextImageId), texInterp(texInterp)
{
}

unsigned int TextureStore::load(unsigned char* pixels, unsigned int width, unsigned int height)
{
    std::unique_ptr<unsigned char[]> owned(pixels);
    if (!owned)
        return 0;
    Image image{0, static_cast<unsigned short>(width), static_cast<unsigned short>(height), 1.0f,
                1.0f};
    image.linear = texInterp;
    unsigned int paddedWidth = width, paddedHeight = height;
    if (!isPowerOfTwo(width) || !isPowerOfTwo(height)) {
        paddedWidth = powerOfTwo(width);
        paddedHeight = powerOfTwo(height);
        if (paddedWidth == 0 || paddedHeight == 0)
            return 0;
        std::unique_ptr<unsigned char[]> padded =
            padRows(owned.get(), width, height, paddedWidth, paddedHeight);
        const std::size_t rowBytes = static_cast<std::size_t>(paddedWidth) * 4;
        // Rows below the picture repeat its last row, for the same reason.
        for (unsigned int r = height; r < paddedHeight; ++r)
            std::memcpy(padded.get() + r * rowBytes, padded.get() + (height - 1) * rowBytes,
                        rowBytes);
        image.maxU = static_cast<float>(width) / paddedWidth;
        image.maxV = static_cast<float>(height) / paddedHeight;
        owned = std::move(padded);
    }
    image.texture = makeTexture(owned.get(), paddedWidth, paddedHeight, texInterp);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);

    unsigned int id = nextImageId;
    while (images.count(id))
        ++id;
    nextImageId = id;
    images[id] = image;
    return id;
}

void TextureStore::release(unsigned int id)
{
    const auto it = images.find(id);
    if (it == images.end())
        return;
    glDeleteTextures(1, &it->second.texture);
    images.erase(it);
}

const TextureStore::Image* TextureStore::lookUp(unsigned int id) const
{
    const auto it = images.find(id);
    return it == images.end() ? nullptr : &it->second;
}

unsigned int TextureStore::makeTexture(const unsigned char* pixels, unsigned int width,
                                       unsigned int height, bool linear)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    return texture;
}

std::unique_ptr<unsigned char[]> TextureStore::padRows(const unsigned char* pixels,
                                                       unsigned int width, unsigned int height,
                                                       unsigned int paddedWidth,
                                                       unsigned int paddedHeight)
{
    const std::size_t rowBytes = static_cast<std::size_t>(paddedWidth) * 4;
    std::unique_ptr<unsigned char[]> padded(new unsigned char[rowBytes * paddedHeight]());
    for (unsigned int r = 0; r < height; ++r) {
        const unsigned char* source = pixels + static_cast<std::size_t>(r) * width * 4;
        unsigned char* target = padded.get() + r * rowBytes;
        std::memcpy(target, source, static_cast<std::size_t>(width) * 4);
        std::memset(target + width * 4, source[width * 4 - 1], rowBytes - width * 4);
    }
    return padded;
}

bool TextureStore::isPowerOfTwo(unsigned int n)
{
    return n != 0 && powerOfTwo(n) == n;
}

unsigned int TextureStore::powerOfTwo(unsigned int n)
{
    // Doubling past 2^31 would wrap to 0 and loop for ever.
    if (n > 0x80000000u)
        return 0;
    unsigned int p = 1;
    while (p < n)
        p *= 2;
    return p;
}
