#pragma once

#include "VellumDrawingLib/VideoMode.h"

// The SDL window with its OpenGL context and video mode, and the one owner
// of the window's size and of the letterbox: where the logical area sits in
// the window, fitted with its proportions kept, and which logical rectangle
// drawing is mapped to. A refused GL attribute is reported and set-up
// carries on with what SDL grants; a refused video mode is told to the
// caller, and a refused change asks for the mode before it again.
class OpenGLWindow {
public:
    // A rectangle in pixels, x from the left and y from the bottom.
    struct Area {
        int x = 0, y = 0, w = 0, h = 0;
    };

    // What a change of video mode came to: the mode asked for, the one
    // before it again, or no mode at all.
    enum class Change { Made, Kept, Lost };

    // Settles what SDL's video reads as it starts: to be called before
    // SDL_Init starts the video.
    static void prepareVideo();
    // The display's current format has 16 bits a pixel.
    static bool is16Bit();

    OpenGLWindow(short logicalWidth, short logicalHeight);

    // Requests the context's attributes and sets the video mode; the size
    // is the window's from now on, and the windowed size to come back to.
    // False when SDL refused the mode.
    bool open(unsigned short width, unsigned short height, bool fullscreen, int antialias);
    // Sets another mode (the GL objects are the caller's to keep).
    Change change(unsigned short width, unsigned short height, bool fullscreen);
    // The window has this size now, in a context that already exists.
    void setSize(unsigned short width, unsigned short height);
    // A new window or mode: cleared black, then refitted.
    void settle();
    // Fits the logical area into the window, sets the viewport to it, the
    // projection with y downwards and the fixed blending and texturing state.
    void refit();
    void swap() const;

    // Window pixels, bars included.
    int getScreenWidth() const { return screenWidth; }
    int getScreenHeight() const { return screenHeight; }
    bool isFullScreen() const { return fullscreen; }
    // See VideoMode.
    VideoMode::Size getWindowedSize(int displayWidth, int displayHeight) const;
    // The part of the window the logical area fills, in whole pixels.
    Area getFitted() const;
    float getViewportX() const { return viewportX; }
    float getViewportY() const { return viewportY; }
    short getActualWidth() const { return static_cast<short>(actualWidth); }
    short getActualHeight() const { return static_cast<short>(actualHeight); }

    // Draws into the part of target (the logical area in the current target's
    // pixels) that the logical rectangle covers, with coordinates running
    // from (0, 0) to (w, h) there.
    void setViewport(short x, short y, short w, short h, const Area& target);
    // Sets the GL viewport for the rectangle last asked for.
    void applyViewport(const Area& target) const;
    // The whole logical area again.
    void resetViewport(const Area& target);
    // No rectangle of the logical area is asked for: drawing covers all of it.
    bool drawsWholeArea() const { return wholeViewport; }

private:
    // A window (centred) or full screen with an OpenGL context; false when refused.
    static bool setVideoMode(unsigned short width, unsigned short height, bool fullscreen);
    void fit();
    void setUpProjectionAndState() const;

    short logicalWidth;
    short logicalHeight;
    short screenWidth;
    short screenHeight;
    float viewportX = 0.0f;
    float viewportY = 0.0f;
    float actualWidth;
    float actualHeight;
    bool fullscreen = false;
    // The size the display was opened with.
    short windowedWidth = 0;
    short windowedHeight = 0;
    // The logical rectangle setViewport last asked for; whole is resetViewport's.
    short viewportRequest[4];
    bool wholeViewport = true;
};
