// Font files: the bytes become a font file in the font folder of a scratch
// home, which OpenGLFont finds, renders into its atlas at two sizes and draws
// a line from, on a real window (scripts/fuzz.sh runs this target on a
// virtual display of its own). A font that loads must hold a glyph record
// for every character of its table.

#include "FuzzSupport.h"

#include "VellumDrawingLib/OpenGLDrawer.h"
#include "VellumDrawingLib/OpenGLFont.h"

#include <GL/glew.h>

#include <cstdlib>
#include <memory>

namespace {

std::unique_ptr<OpenGLDrawer> drawer;
std::string fontFile;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fontFile = fuzz::scratchFile("HOME", ".fonts", "fuzz.ttf");
    drawer = std::make_unique<OpenGLDrawer>(1024, 768);
    if (!drawer->initialise(320, 240, false, 0))
        std::abort();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::writeFile(fontFile, data, size);
    for (const float pixels : {11.0f, 48.0f}) {
        OpenGLFont font("fuzz.ttf", pixels);
        if (!font.loaded)
            continue;
        if (font.glyphs.size() != static_cast<size_t>(OpenGLFont::charactersSize))
            std::abort();
        font.draw("Brick Voyager: 0123 (x+y)=z!?", 4.0f, 4.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f, 1.0f);
        glFinish();
        // Textures live as long as the context; this one is done with.
        glDeleteTextures(1, &font.texture);
    }
    return 0;
}
