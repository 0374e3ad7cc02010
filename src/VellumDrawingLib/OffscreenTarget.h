#pragma once

// An off-screen picture of the logical size (a framebuffer object with a
// texture), drawn into instead of a window larger than the logical area and
// put onto the window once a frame, scaled, so that the cost of a frame
// follows the logical picture rather than the display. Made on first use;
// where the driver has no framebuffer objects (or completing one fails) it
// reports that it cannot be used and the owner draws straight to the window.
// Its GL objects are not deleted when it goes: the context they belong to may
// already have gone with the window (release deletes them while it lives).
class OffscreenTarget {
public:
    OffscreenTarget(int width, int height) : width(width), height(height) {}
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    // Makes it the drawing target, making it first if need be; false (and
    // the window stays the target) when it cannot be made.
    bool bind();
    // Makes the window the drawing target again, if this was it.
    void unbind();
    // Draws the picture, scaled with linear filtering, over the window part
    // (x, y from the bottom-left, w, h in window pixels); the window must be
    // the target and the projection is left as it was.
    void present(int x, int y, int w, int h);
    // Drops the names of the GL objects without deleting them, for a context
    // that has been replaced: the next bind makes them afresh.
    void forgetContextObjects();
    // After the video mode was set again: keeps the objects if the current
    // context still knows them, forgets them otherwise.
    void adoptContext();
    // Deletes the GL objects in the current context.
    void release();

private:
    bool make();

    int width;
    int height;
    unsigned int framebuffer = 0;
    unsigned int texture = 0;
    // The window's own framebuffer, as bound when this one was: not always 0,
    // since a compatibility layer may draw the window through one of its own.
    int windowFramebuffer = 0;
    bool bound = false;
    // Where the picture's right and top edges lie in the power-of-two texture.
    float maxU = 1.0f;
    float maxV = 1.0f;
    // Making failed in this context; not tried again until it is forgotten.
    bool failed = false;
};
