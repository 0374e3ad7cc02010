#pragma once

#include <SDL.h>

// The mouse as a pointer on the logical drawing area: SDL's window pixels
// taken through the letterbox the display fitted the area into. A press or
// a move on the bars lands on the nearest edge of the area; events that are
// not the mouse's give Kind::None.
class PointerInput {
public:
    // The window and the part of it the logical area fills, in pixels, as
    // the display reports them now (the area is centred in the window).
    struct Fit {
        int windowWidth = 0, windowHeight = 0;
        int fittedWidth = 0, fittedHeight = 0;
        int logicalWidth = 0, logicalHeight = 0;
    };
    enum class Kind { None, Move, Press, Release };
    struct Pointer {
        Kind kind = Kind::None;
        int x = 0, y = 0;  // logical
        int button = 0;    // SDL's button number for a press or a release
    };

    static Pointer translate(const SDL_Event& event, const Fit& fit);
    // Window pixels to logical units.
    static void toLogical(int px, int py, const Fit& fit, int& x, int& y);
};
