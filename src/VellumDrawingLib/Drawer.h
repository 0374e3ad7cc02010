#pragma once

#include <string>

// The one drawing interface that the shell and the game draw through.
// Coordinates are logical: a fixed area (1024 x 768 in this game) with its
// origin at the top-left and y growing downwards, fitted into whatever window
// the implementation has. Image, line, polygon and text colours are floats
// 0..1; filled rectangles and gradients take bytes 0..255. All calls belong to
// the thread that owns the display.
class Drawer {
public:
    // The bitmap font's glyphs; values index the implementation's glyph table.
    enum Glyph {
        GlyphA, GlyphB, GlyphC, GlyphD, GlyphE, GlyphF, GlyphG, GlyphH, GlyphI,
        GlyphJ, GlyphK, GlyphL, GlyphM, GlyphN, GlyphO, GlyphP, GlyphQ, GlyphR,
        GlyphS, GlyphT, GlyphU, GlyphV, GlyphW, GlyphX, GlyphY, GlyphZ,
        Glyph0, Glyph1, Glyph2, Glyph3, Glyph4, Glyph5, Glyph6, Glyph7, Glyph8, Glyph9,
        GlyphPeriod, GlyphComma, GlyphPlus, GlyphMinus, GlyphExclaim, GlyphQuestion,
        GlyphColon,
        GlyphCount
    };

    virtual ~Drawer() {}

    // Opens the display; true when the video mode was set.
    virtual bool initialise(unsigned short width, unsigned short height, bool fullscreen,
                            int antialias) = 0;
    // Re-applies the display set-up to a context that already exists.
    virtual void initialiseLight(unsigned short width, unsigned short height) = 0;
    // Takes over an RGBA array of width x height pixels; returns its image id,
    // 0 when there are no pixels.
    virtual unsigned int loadImage(unsigned char* pixels, unsigned int width,
                                   unsigned int height) = 0;
    virtual void releaseImage(unsigned int id) = 0;
    // count (x, y) pairs; returns the polygon's index, from 0.
    virtual unsigned int loadPoly(float* points, int count) = 0;
    // Returns the program handle, 0 where shaders are not supported.
    virtual unsigned int loadShader(const std::string& vertexFile, const std::string& fragmentFile);
    // Returns a font id from 1, or 0 when the font did not load.
    virtual unsigned int loadFont(const std::string& name, float size) = 0;
    virtual void beginDrawing() = 0;
    // Completes the frame's drawing without presenting it, so that a later
    // endDrawing only presents; endDrawing does this itself when it was not
    // called.
    virtual void finishDrawing() {}
    // Presents the frame.
    virtual void endDrawing() = 0;
    // The window's pixels as RGB, bottom row first; the caller owns the array.
    virtual unsigned char* getScreenPixels() = 0;
    virtual void useShader(unsigned int program);
    // The image laid over the next image and polygon draws of this frame only.
    virtual void useSecondImage(unsigned int id);
    // Top-left at (x, y); a negative scaleX mirrors the image to the left of x.
    virtual void drawImage(unsigned int id, float x, float y, float scaleX, float scaleY, float r,
                           float g, float b, float a) = 0;
    // angle in degrees, clockwise on the screen, about (pivotX, pivotY).
    virtual void drawImageRot(unsigned int id, float x, float y, float angle, float pivotX,
                              float pivotY, float scaleX, float scaleY) = 0;
    virtual void drawPoly(unsigned int poly, unsigned int image, float x, float y, float scaleX,
                          float scaleY, float r, float g, float b, float a) = 0;
    // Bitmap text, each glyph a size x size square.
    virtual void drawText(const std::string& text, float x, float y, float size, float r, float g,
                          float b, float a) = 0;
    // Text in a loaded font; font 0 is the bitmap glyphs at size scale x 32.
    virtual void drawText(const std::string& text, unsigned int font, float x, float y, float p,
                          float scale, float r, float g, float b, float a) = 0;
    virtual void drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                          float a) = 0;
    virtual void fillRect(float x, float y, float w, float h, unsigned char r, unsigned char g,
                          unsigned char b, unsigned char a) = 0;
    // From the first colour at the top edge to the second at the bottom edge.
    virtual void fillGradient(float x, float y, float w, float h, unsigned char r1,
                              unsigned char g1, unsigned char b1, unsigned char a1,
                              unsigned char r2, unsigned char g2, unsigned char b2,
                              unsigned char a2) = 0;
    // Draws into the window part that the logical rectangle covers, with its
    // own logical coordinates running from (0, 0) to (w, h).
    virtual void setViewport(short x, short y, short w, short h) = 0;
    virtual void resetViewport() = 0;
    // The size of the fitted drawing area in window pixels.
    virtual short getActualWidth() const = 0;
    virtual short getActualHeight() const = 0;
    // Takes over a square RGBA array of side size.
    virtual void loadGlyph(Glyph glyph, unsigned char* pixels, unsigned int size) = 0;
};
