#pragma once

#include "VellumDrawingLib/Drawer.h"

// PNG bytes compiled into the program, decoded by ImageLoader and handed to
// a drawer in one step. A PNG that does not decode reaches the drawer as no
// pixels: no image (id 0), or the glyph's placeholder left as it was.
class EmbeddedImage {
public:
    // size: the PNG's exact length in bytes. Returns the drawer's image id.
    static unsigned int load(Drawer& drawer, const unsigned char* png, unsigned int size);
    // The picture becomes the glyph, its width taken for the square's side.
    static void loadGlyph(Drawer& drawer, Drawer::Glyph glyph, const unsigned char* png,
                          unsigned int size);
};
