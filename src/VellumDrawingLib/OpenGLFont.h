#pragma once

#include "platform/FilePath.h"

#include <string>
#include <vector>

struct SDL_Surface;

// Text in a TrueType font file: the 78 characters of `characters` are
// rendered once, white, into one square power-of-two atlas texture and drawn
// from it tinted by the text colour. A font that is not found, or a file that
// is not a font, is reported in one line and stays unloaded (`loaded` false).
class OpenGLFont {
public:
    // Where one character lies in the atlas and how far it moves the pen, all
    // in atlas pixels. A character without ink (the blank) has width 0.
    struct Glyph {
        float u = 0.0f;
        float v = 0.0f;
        float width = 0.0f;
        // From the pen to the left edge of the glyph's cell; negative for
        // glyphs that reach back under the previous character.
        float offset = 0.0f;
        float advance = 0.0f;
    };

    // The largest font collections of a whole script run to some tens of
    // megabytes; a font file past this is passed over.
    static constexpr std::uintmax_t maxFileBytes = 32 * 1024 * 1024;

    // Looks the file up with getFontPath and renders `size` pixels to the em.
    OpenGLFont(const std::string& name, float size);
    // The atlas texture ends with the GL context, as every texture of the drawer does.
    ~OpenGLFont() = default;
    OpenGLFont(const OpenGLFont&) = delete;
    OpenGLFont& operator=(const OpenGLFont&) = delete;

    // Left to right with the top of the line at (x, y); p is extra spacing
    // between characters in atlas pixels, scale the drawing size of one atlas
    // pixel. Characters outside the table advance like a blank and draw nothing.
    void draw(const std::string& text, float x, float y, float p, float scale, float r, float g,
              float b, float a) const;

    // The font file with that file name: the user's font folders, then the
    // system's, then the game's own "fonts" folder, each searched through its
    // subfolders in sorted order. An entry of that name that is no readable
    // regular file of at most 32 MB is passed over with one line. The empty
    // path when there is none, or when name is not a plain file name.
    static FilePath getFontPath(const std::string& name);

    // Copies a 32-bit glyph surface into the atlas pixels (4 bytes a pixel,
    // rows of textureSize pixels), its top row going to atlas row
    // row + rowOffset - 1 and its left column to `column`. Whatever would fall
    // outside the atlas is left out.
    void copyGlyph(unsigned char* pixels, SDL_Surface* glyph, int column, int row,
                   int rowOffset) const;

    // One atlas cell, glyphHeight + 2 pixels tall, from (u, v) and `width`
    // pixels wide, as a quad at (x, y) with each atlas pixel `scale` units.
    void drawGlyph(float u, float v, float width, float scale, float x, float y, float r,
                   float g, float b, float a) const;

    // The smallest power of two not below n; 1 for 0, and 0 above 2^31,
    // where no unsigned power of two is large enough.
    static unsigned int powerOfTwo(unsigned int n);

    // The characters a font covers, in atlas order, with no terminating zero.
    static const char characters[78];
    static const int charactersSize = 78;

    unsigned int texture = 0;
    std::vector<Glyph> glyphs;
    int textureSize = 0;
    float glyphHeight = 0.0f;
    bool loaded = false;

private:
    void load(const FilePath& file, int pixelSize);
    // The glyph record of a character, or null for one outside the table.
    const Glyph* find(char c) const;

    // Atlas rows in every cell above the top of the line: the cell's margin
    // and whatever some glyph reaches above the ascent.
    float cellTop = 1.0f;
};
