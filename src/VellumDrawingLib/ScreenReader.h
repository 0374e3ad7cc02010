#pragma once

#include "VellumDrawingLib/ImageData.h"

class DriverAbilities;
class FrameCompositor;
class OpenGLWindow;

// Reads the window's picture back, the one place that asks the GL for the
// pixels on the screen. The frame is finished before the read and the
// buffers swapped after it, as a presented frame would be; what the back
// buffer holds after a swap is undefined, so the read comes first.
class ScreenReader {
public:
    ScreenReader(FrameCompositor& frame, const OpenGLWindow& window, const DriverAbilities& driver);
    ScreenReader(const ScreenReader&) = delete;
    ScreenReader& operator=(const ScreenReader&) = delete;

    // The whole window as RGB, bottom row first, rows packed tightly; the
    // caller owns the array.
    unsigned char* screenPixels();
    // The window's fitted area alone, RGBA with opaque alpha, top row first;
    // empty when the area has no pixels.
    ImageData fittedPicture();

private:
    FrameCompositor& frame;
    const OpenGLWindow& window;
    const DriverAbilities& driver;
};
