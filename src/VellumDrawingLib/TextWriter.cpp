#include "VellumDrawingLib/TextWriter.h"

#include "VellumDrawingLib/FrameCompositor.h"
#include "VellumDrawingLib/OpenGLFont.h"

#include <GL/glew.h>

namespace {

// The glyph that draws a character, or GlyphCount for none.
Drawer::Glyph glyphFor(signed char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<Drawer::Glyph>(Drawer::GlyphA + (c - 'A'));
    if (c >= 'a' && c <= 'z')
        return static_cast<Drawer::Glyph>(Drawer::GlyphA + (c - 'a'));
    if (c >= '0' && c <= '9')
        return static_cast<Drawer::Glyph>(Drawer::Glyph0 + (c - '0'));
    switch (c) {
    case '.': return Drawer::GlyphPeriod;
    case ',': return Drawer::GlyphComma;
    case '+': return Drawer::GlyphPlus;
    case '-': return Drawer::GlyphMinus;
    case '!': return Drawer::GlyphExclaim;
    case '?': return Drawer::GlyphQuestion;
    case ':': return Drawer::GlyphColon;
    default: return Drawer::GlyphCount;
    }
}

} // namespace

TextWriter::TextWriter(Glyphs& glyphs, int& glyphPadding, Fonts& fonts, const bool& texInterp,
                       FrameCompositor& frame)
    : glyphs(glyphs), glyphPadding(glyphPadding), fonts(fonts), texInterp(texInterp), frame(frame)
{
}

void TextWriter::initFonts()
{
    const std::vector<unsigned char> white(16 * 16 * 4, 255);
    for (TextureStore::Image& glyph : glyphs) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     white.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glBindTexture(GL_TEXTURE_2D, 0);
        glyph = TextureStore::Image{texture, 16, 16, 1.0f, 1.0f};
    }
}

void TextWriter::loadGlyph(Drawer::Glyph glyph, unsigned char* pixels, unsigned int size)
{
    std::unique_ptr<unsigned char[]> owned(pixels);
    if (!owned || static_cast<unsigned int>(glyph) >= Drawer::GlyphCount)
        return;
    unsigned int side = size;
    if (!TextureStore::isPowerOfTwo(size)) {
        side = TextureStore::powerOfTwo(size);
        glyphPadding = static_cast<int>(side - size);
        owned = TextureStore::padRows(owned.get(), size, size, side, side);
    }
    const unsigned int texture = TextureStore::makeTexture(owned.get(), side, side, texInterp);
    glDeleteTextures(1, &glyphs[glyph].texture);
    glyphs[glyph] = TextureStore::Image{texture, static_cast<unsigned short>(side),
                                        static_cast<unsigned short>(side), 1.0f, 1.0f};
}

void TextWriter::drawText(const std::string& text, float x, float y, float size, float r,
                          float g, float b, float a)
{
    frame.flush();
    const float scale = size / static_cast<float>(glyphs[Drawer::GlyphA].width);
    const int kerning = static_cast<int>(glyphPadding * scale);
    const float advance = size - kerning;
    float pen = x;
    for (const char c : text) {
        const Drawer::Glyph glyph = glyphFor(static_cast<signed char>(c));
        if (glyph != Drawer::GlyphCount) {
            glBindTexture(GL_TEXTURE_2D, glyphs[glyph].texture);
            glColor4f(r, g, b, a);
            glBegin(GL_QUADS);
            glTexCoord2f(0.0f, 0.0f);
            glVertex2f(pen, y);
            glTexCoord2f(1.0f, 0.0f);
            glVertex2f(pen + size, y);
            glTexCoord2f(1.0f, 1.0f);
            glVertex2f(pen + size, y + size);
            glTexCoord2f(0.0f, 1.0f);
            glVertex2f(pen, y + size);
            glEnd();
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
        pen += advance;
    }
}

unsigned int TextWriter::loadFont(const std::string& name, float size)
{
    auto font = std::make_unique<OpenGLFont>(name, size);
    if (!font->loaded)
        return 0;
    fonts.push_back(std::move(font));
    return static_cast<unsigned int>(fonts.size());
}

void TextWriter::drawFontText(const std::string& text, unsigned int font, float x, float y,
                              float p, float scale, float r, float g, float b, float a)
{
    frame.flush();
    fonts[font - 1]->draw(text, x, y, p, scale, r, g, b, a);
}
