// A browser's canvas: always 32 bits a pixel (the browser's SDL leaves the
// display's format unset), no alpha channel, since the page would show
// through wherever blending left the alpha below one, and no swap interval:
// the browser presents the canvas at its own frames.
#include "VellumDrawingLib/ContextAttributes.h"

bool ContextAttributes::displayIs16Bit()
{
    return false;
}

std::vector<ContextAttributes::Request> ContextAttributes::wanted(bool, int antialias)
{
    std::vector<Request> requests = {
        {SDL_GL_RED_SIZE, 8, "Could not set red pixel size to 8..."},
        {SDL_GL_GREEN_SIZE, 8, "Could not set green pixel size to 8..."},
        {SDL_GL_BLUE_SIZE, 8, "Could not set blue pixel size to 8..."},
        {SDL_GL_ALPHA_SIZE, 0, "Could not do without an alpha channel..."},
        {SDL_GL_DEPTH_SIZE, 16, "Could not set depth size to 16..."},
        {SDL_GL_DOUBLEBUFFER, 1, "Could not set double buffering..."}};
    if (antialias > 0) {
        requests.push_back({SDL_GL_MULTISAMPLEBUFFERS, 1, "Could not set multi sample buffers..."});
        requests.push_back(
            {SDL_GL_MULTISAMPLESAMPLES, antialias, "Could not set multi sample samples..."});
    }
    return requests;
}
