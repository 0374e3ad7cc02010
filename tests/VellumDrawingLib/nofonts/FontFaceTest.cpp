// A build without font machinery (the Windows one) reads no font files.
#include "CoutCapture.h"
#include "VellumDrawingLib/OpenGLDrawer.h"

#include <gtest/gtest.h>

#include <string>

// Every font asked for, there or not, is refused in one line that says why,
// and gets id 0: its text is drawn with the bitmap glyphs, as a font that
// is not found is.
TEST(FontFaceTest, NoFontFileIsReadAndOneLineSaysTheBitmapGlyphsStandIn)
{
    OpenGLDrawer drawer(1024, 768);
    for (const std::string name : {"DejaVuSans.ttf", "NoSuchFont.ttf"}) {
        CoutCapture out;
        EXPECT_EQ(drawer.loadFont(name, 32), 0u);
        EXPECT_EQ(out.text(), "OpenGLFont: Could not load font " + name +
                                  ": this build reads no font files; the bitmap glyphs stand in.\n");
    }
}
