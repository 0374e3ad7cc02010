#pragma once

#include "VellumDrawingLib/Drawer.h"

#include <array>

// The embedded glyph PNGs, paired with the glyph each one draws, in glyph
// order. The colon has no picture and keeps the drawer's placeholder square.
struct GlyphImage {
    Drawer::Glyph glyph;
    const unsigned char* png;
    unsigned int size;
};

constexpr int glyphImageCount = 42;

const std::array<GlyphImage, glyphImageCount>& glyphImages();
