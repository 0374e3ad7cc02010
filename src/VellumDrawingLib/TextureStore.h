#pragma once

#include <map>
#include <memory>

// The drawer's images as GL textures under the ids it hands out. It takes
// over the caller's RGBA arrays; a picture whose sides are not powers of two
// is padded to them, its edges repeated so that filtering pulls in no black.
// An id is the lowest free one from nextImageId up; no pixels, or a side too
// large to pad, give no image (id 0).
class TextureStore {
public:
    // One texture. width and height are the picture's own; maxU and maxV are
    // where its right and bottom edges lie in a texture padded to powers of two.
    struct Image {
        unsigned int texture = 0;
        unsigned short width = 0;
        unsigned short height = 0;
        float maxU = 1.0f;
        float maxV = 1.0f;
        // Made with linear filtering, and switched to nearest for now.
        bool linear = true;
        bool sampledNearest = false;
    };

    // The holder's fields, which the store fills and reads.
    TextureStore(std::map<unsigned int, Image>& images, unsigned int& nextImageId,
                 const bool& texInterp);
    TextureStore(const TextureStore&) = delete;
    TextureStore& operator=(const TextureStore&) = delete;

    unsigned int load(unsigned char* pixels, unsigned int width, unsigned int height);
    // Deletes the texture; an id not held is ignored.
    void release(unsigned int id);
    // The image with that id, or null.
    const Image* lookUp(unsigned int id) const;

    // A texture of width x height RGBA pixels, left bound; linear or nearest
    // filtering.
    static unsigned int makeTexture(const unsigned char* pixels, unsigned int width,
                                    unsigned int height, bool linear);
    // A copy paddedWidth x paddedHeight whose rows' remaining bytes repeat
    // their last byte; the rows below the picture are left 0.
    static std::unique_ptr<unsigned char[]> padRows(const unsigned char* pixels,
                                                    unsigned int width, unsigned int height,
                                                    unsigned int paddedWidth,
                                                    unsigned int paddedHeight);
    // n is a power of two (0 is not).
    static bool isPowerOfTwo(unsigned int n);
    // The smallest power of two not below n; 1 for 0, and 0 above 2^31,
    // where there is none.
    static unsigned int powerOfTwo(unsigned int n);

private:
    std::map<unsigned int, Image>& images;
    unsigned int& nextImageId;
    const bool& texInterp;
};
