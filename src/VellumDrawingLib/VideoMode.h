#pragma once

#include "VellumDrawingLib/ImageData.h"

// What the shell asks of the display beyond drawing: the video mode (full
// screen or a window, and the window's size) and the picture the player sees.
// The drawer behind it owns the window's size and the letterbox, so the
// shell keeps no copy. A refused change leaves the mode before it in place.
class VideoMode {
public:
    struct Size {
        int width = 0, height = 0;
    };

    virtual ~VideoMode() = default;

    // Replaces the mode by a window (centred) or full screen of that size in
    // pixels, keeping every image, glyph, font, polygon and shader under the
    // ids the callers hold. False when the mode was refused; the previous
    // mode is then asked for again.
    virtual bool changeVideoMode(unsigned short width, unsigned short height,
                                 bool fullscreen) = 0;
    // False where the mode cannot change without losing what the display
    // holds; changeVideoMode then refuses, and whatever holds the display
    // (a browser's page) sizes it instead.
    virtual bool canChangeMode() const = 0;
    virtual bool isFullScreen() const = 0;
    // The window's size in pixels, bars included.
    virtual int getWindowWidth() const = 0;
    virtual int getWindowHeight() const = 0;
    // The window to come back to from full screen on a display of that size
    // in pixels: the size the display was opened with, or the logical size
    // where that is 0 or would fill the display.
    virtual Size getWindowedSize(int displayWidth, int displayHeight) const = 0;
    // The part of the window the logical area fills, as the player sees it
    // now: RGBA with opaque alpha, top row first, getActualWidth() x
    // getActualHeight() pixels. The frame is finished and presented first.
    virtual ImageData readFittedPicture() = 0;
};
