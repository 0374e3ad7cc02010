#pragma once

#include "VellumDrawingLib/DriverAbilities.h"
#include "VellumDrawingLib/FillComposer.h"
#include "VellumDrawingLib/OffscreenTarget.h"
#include "VellumDrawingLib/OpenGLWindow.h"

#include <functional>

// Decides where a frame is drawn and settles what the cheap paths hold back:
// a window larger than the logical area is drawn through an off-screen
// picture of the logical size, scaled onto the window when the frame is
// finished; whole-area fills are composed and put down only when something
// else is drawn. In plain mode (BV_PLAIN_DRAWING=1) it does neither, so every
// call is drawn the direct way, for comparison.
class FrameCompositor {
public:
    // A rectangle in pixels of the current target, y from the bottom.
    using Area = OpenGLWindow::Area;

    // The window is asked for its size and fitted area whenever they matter,
    // the driver whether it combines textures.
    FrameCompositor(const OpenGLWindow& window, const DriverAbilities& driver, int logicalWidth,
                    int logicalHeight);

    // BV_PLAIN_DRAWING is set to something other than empty or 0.
    static bool plainDrawingAsked();

    // Chooses the target for the frame, makes it current and clears it.
    // Returns the area the logical picture covers in that target.
    Area beginFrame();
    // The logical area in the current target's pixels.
    Area drawingArea() const;
    // Takes a fill that covers the whole logical area (the caller checks the
    // geometry) instead of drawing it; false in plain mode.
    bool absorbFill(unsigned char r, unsigned char g, unsigned char b, unsigned char a);
    // Puts down what is held. The projection must be the whole logical area.
    void flush();
    // For an image about to be drawn over the whole area: hands over a held
    // translucent layer (a veil) for the image's own pass to carry, or puts
    // down whatever else is held (a veil too, where the driver has no texture
    // combiners: the image over it then makes the same sum in two passes)
    // and hands over nothing.
    FillComposer::Layer takeVeil();
    // Draws such an image (drawQuad puts down its quad, with its texture
    // bound on unit 0 and the blending as drawImage leaves it) laid over the
    // veil in one pass: dst (1 - veil a) (1 - image a) + veil (1 - image a)
    // + image colour x image a, through the texture combiners.
    static void drawImageOverVeil(const FillComposer::Layer& veil,
                                  const std::function<void()>& drawQuad);
    // Flushes and, when drawing off-screen, puts the picture on the window,
    // which is the target from then on; then waits for the drawing to end.
    void finishFrame();
    // A logical unit is a pixel of the target (never in plain mode).
    bool drawsOneToOne() const;
    bool isPlain() const { return plain; }
    // For a context that has been replaced, or may have been: see OffscreenTarget.
    void adoptContext();

private:
    // Clears the logical area (and, drawing straight to a window with bars,
    // the whole window to black first) to an opaque colour.
    void clearArea(float r, float g, float b);

    const OpenGLWindow& window;
    const DriverAbilities& driver;
    int logicalWidth;
    int logicalHeight;
    FillComposer fills;
    OffscreenTarget offscreen;
    bool plain;
    bool offscreenNow = false;
    // The frame has been finished; drawing after that goes straight to the window.
    bool finished = true;
};
