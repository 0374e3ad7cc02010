#pragma once

#include "VellumDrawingLib/Drawer.h"
#include "VellumDrawingLib/TextureStore.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

class FrameCompositor;
class OpenGLFont;

// Text: the bitmap font's glyph textures (opaque white placeholders until
// the pictures come, which are padded to a power-of-two square where they
// are not one) and the fonts loaded from files, font id n being fonts[n - 1].
// A glyph given no pixels keeps the texture it had; a font that does not
// load gets no id (0) and its text falls back to the bitmap glyphs.
class TextWriter {
public:
    using Glyphs = std::array<TextureStore::Image, Drawer::GlyphCount>;
    using Fonts = std::vector<std::unique_ptr<OpenGLFont>>;

    // The holder's fields, which the writer fills and reads.
    TextWriter(Glyphs& glyphs, int& glyphPadding, Fonts& fonts, const bool& texInterp,
               FrameCompositor& frame);
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    // Puts a 16 x 16 opaque white placeholder into every glyph slot.
    void initFonts();
    // Takes over a square RGBA array of side size.
    void loadGlyph(Drawer::Glyph glyph, unsigned char* pixels, unsigned int size);
    // Each glyph a size x size square; a character without one advances all
    // the same.
    void drawText(const std::string& text, float x, float y, float size, float r, float g,
                  float b, float a);
    // Returns a font id from 1, or 0 when the font did not load.
    unsigned int loadFont(const std::string& name, float size);
    // font: an id loadFont handed out, checked by the caller.
    void drawFontText(const std::string& text, unsigned int font, float x, float y, float p,
                      float scale, float r, float g, float b, float a);

private:
    Glyphs& glyphs;
    int& glyphPadding;
    Fonts& fonts;
    const bool& texInterp;
    FrameCompositor& frame;
};
