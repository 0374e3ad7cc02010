#pragma once

class Drawer;
class VideoMode;

// The last played picture, kept while the game is paused and shown under a
// soft dark veil with the word PAUSED in the bitmap font. It is read back
// once, when the pause begins; showing it again is one textured quad, so a
// paused game redraws cheaply whenever the window needs it.
class PausedPicture {
public:
    // Keeps the picture the player sees (the fitted area, without the bars)
    // as an image of the drawer. Replaces a picture kept before.
    void keep(Drawer& drawer, VideoMode& video);
    // One whole frame: the kept picture fitted to the drawing area, the veil
    // and the word. Draws the veil and the word alone when nothing is kept.
    void show(Drawer& drawer) const;
    // Gives the kept image back to the drawer.
    void drop(Drawer& drawer);

private:
    unsigned int image = 0;
    float scaleX = 1.0f;
    float scaleY = 1.0f;
};
