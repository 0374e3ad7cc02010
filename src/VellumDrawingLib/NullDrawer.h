#pragma once

#include "VellumDrawingLib/Drawer.h"

// A drawer without a display, for running a game's whole frame where no
// window can open (tools that play levels, tests of the rules). It takes
// over the pixel arrays it is handed and frees them at once, hands out image
// ids as a real drawer would, and draws nothing. It cannot fail.
class NullDrawer : public Drawer {
public:
    // The logical area its drawing area reports, as if fitted one to one.
    NullDrawer(short logicalWidth, short logicalHeight);

    bool initialise(unsigned short, unsigned short, bool, int) override { return true; }
    void initialiseLight(unsigned short, unsigned short) override {}
    unsigned int loadImage(unsigned char* pixels, unsigned int, unsigned int) override;
    void releaseImage(unsigned int) override {}
    unsigned int loadPoly(float*, int) override { return polys++; }
    unsigned int loadFont(const std::string&, float) override { return 0; }
    void beginDrawing() override {}
    void endDrawing() override {}
    unsigned char* getScreenPixels() override { return nullptr; }
    void drawImage(unsigned int, float, float, float, float, float, float, float, float) override {}
    void drawImageRot(unsigned int, float, float, float, float, float, float, float) override {}
    void drawPoly(unsigned int, unsigned int, float, float, float, float, float, float, float,
                  float) override
    {
    }
    void drawText(const std::string&, float, float, float, float, float, float, float) override {}
    void drawText(const std::string&, unsigned int, float, float, float, float, float, float,
                  float, float) override
    {
    }
    void drawLine(float, float, float, float, float, float, float, float) override {}
    void fillRect(float, float, float, float, unsigned char, unsigned char, unsigned char,
                  unsigned char) override
    {
    }
    void fillGradient(float, float, float, float, unsigned char, unsigned char, unsigned char,
                      unsigned char, unsigned char, unsigned char, unsigned char,
                      unsigned char) override
    {
    }
    void setViewport(short, short, short, short) override {}
    void resetViewport() override {}
    short getActualWidth() const override { return logicalWidth; }
    short getActualHeight() const override { return logicalHeight; }
    void loadGlyph(Glyph, unsigned char* pixels, unsigned int) override { delete[] pixels; }

private:
    short logicalWidth;
    short logicalHeight;
    unsigned int images = 0;
    unsigned int polys = 0;
};
