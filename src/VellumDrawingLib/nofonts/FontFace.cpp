#include "VellumDrawingLib/FontFace.h"

#include "VellumDrawingLib/TTFSingleton.h"

// Never opens: OpenGLFont asks TTFSingleton first and reports its problem.
struct FontFace::Handle {
};

FontFace::FontFace(const std::string&, int)
    : handle(new Handle), why(TTFSingleton::getInstance()->problem())
{
}

FontFace::~FontFace() = default;

bool FontFace::isOpen() const
{
    return false;
}

int FontFace::height() const
{
    return 0;
}

int FontFace::ascent() const
{
    return 0;
}

bool FontFace::metrics(unsigned char, Metrics&) const
{
    return false;
}

SDL_Surface* FontFace::render(unsigned char) const
{
    return nullptr;
}
