#pragma once

#include <memory>
#include <string>

struct SDL_Surface;

// A font file opened at one pixel size, as the atlas of an OpenGLFont needs
// it: the line's height and ascent, each character's box and advance, and a
// character drawn white into a 32-bit surface (bytes blue, green, red, alpha
// in memory). The font machinery behind it is chosen with the build; a file
// that does not open leaves the face closed with the machinery's reason.
class FontFace {
public:
    // A character's ink box against the pen and the baseline (y up), and how
    // far it moves the pen, in pixels.
    struct Metrics {
        int minX = 0, maxX = 0;
        int minY = 0, maxY = 0;
        int advance = 0;
    };

    // bytes is the whole file; the face reads from it for as long as it lives.
    FontFace(const std::string& bytes, int pixelSize);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    bool isOpen() const;
    // Why the file did not open.
    const std::string& problem() const { return why; }
    int height() const;
    int ascent() const;
    // False when the font has no glyph for c.
    bool metrics(unsigned char c, Metrics& metrics) const;
    // The caller owns the surface; null when c cannot be drawn.
    SDL_Surface* render(unsigned char c) const;

private:
    struct Handle;
    std::unique_ptr<Handle> handle;
    std::string why;
};
