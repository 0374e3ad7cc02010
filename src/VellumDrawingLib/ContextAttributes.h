#pragma once

#include <SDL.h>

#include <vector>

// What the window asks SDL for before it makes the OpenGL context, chosen
// with the build as the decoder is: sdlwindow/ for a window on a desktop,
// canvas/ for a browser's canvas. The window asks for each in turn; one SDL
// refuses is reported with its failure line and set-up carries on with what
// SDL grants.
class ContextAttributes {
public:
    ContextAttributes() = delete;

    struct Request {
        SDL_GLattr attribute;
        int value;
        const char* failure;
    };

    // The display's current format has 16 bits a pixel.
    static bool displayIs16Bit();
    // In the order they are asked for; antialias is the multisample level,
    // 0 for none.
    static std::vector<Request> wanted(bool sixteenBit, int antialias);
};
