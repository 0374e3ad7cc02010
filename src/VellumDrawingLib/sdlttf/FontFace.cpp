#include "VellumDrawingLib/FontFace.h"

#include <SDL.h>
#include <SDL_ttf.h>

struct FontFace::Handle {
    TTF_Font* font = nullptr;
};

FontFace::FontFace(const std::string& bytes, int pixelSize) : handle(new Handle)
{
    // An empty file gets no stream, and SDL_ttf would not look before using it.
    SDL_RWops* source = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    handle->font = source ? TTF_OpenFontRW(source, 1, pixelSize) : nullptr;
    if (!handle->font)
        why = TTF_GetError();
}

FontFace::~FontFace()
{
    if (handle->font)
        TTF_CloseFont(handle->font);
}

bool FontFace::isOpen() const
{
    return handle->font != nullptr;
}

int FontFace::height() const
{
    return TTF_FontHeight(handle->font);
}

int FontFace::ascent() const
{
    return TTF_FontAscent(handle->font);
}

bool FontFace::metrics(unsigned char c, Metrics& m) const
{
    return TTF_GlyphMetrics(handle->font, c, &m.minX, &m.maxX, &m.minY, &m.maxY, &m.advance) == 0;
}

SDL_Surface* FontFace::render(unsigned char c) const
{
    // White, so that the text colour tints the glyphs as it does the bitmap ones.
    const SDL_Color white = {255, 255, 255, 0};
    return TTF_RenderGlyph_Blended(handle->font, c, white);
}
