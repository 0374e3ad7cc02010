// The page: the display is the canvas the page laid out for the game, at the
// drawing size its markup gives it; the browser scales that picture into the
// window (or the screen) itself.
#include "platform/ScreenResolution.h"

#include <emscripten/html5.h>

namespace {

bool canvasSize(int& width, int& height)
{
    return emscripten_get_canvas_element_size("#canvas", &width, &height) ==
               EMSCRIPTEN_RESULT_SUCCESS &&
           width > 0 && height > 0;
}

} // namespace

int ScreenResolution::getScreenWidth()
{
    int width = 0, height = 0;
    return canvasSize(width, height) ? width : fallbackWidth;
}

int ScreenResolution::getScreenHeight()
{
    int width = 0, height = 0;
    return canvasSize(width, height) ? height : fallbackHeight;
}
