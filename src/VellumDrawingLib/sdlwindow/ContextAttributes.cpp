// A window on a desktop: the display's own depth, an alpha channel, and
// swaps that wait for the display's refresh.
#include "VellumDrawingLib/ContextAttributes.h"

bool ContextAttributes::displayIs16Bit()
{
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    return info && info->vfmt && info->vfmt->BitsPerPixel == 16;
}

std::vector<ContextAttributes::Request> ContextAttributes::wanted(bool sixteenBit, int antialias)
{
    std::vector<Request> requests;
    if (sixteenBit)
        requests = {{SDL_GL_RED_SIZE, 5, "Could not set red pixel size to 5..."},
                    {SDL_GL_GREEN_SIZE, 5, "Could not set green pixel size to 5..."},
                    {SDL_GL_BLUE_SIZE, 5, "Could not set blue pixel size to 5..."}};
    else
        requests = {{SDL_GL_RED_SIZE, 8, "Could not set red pixel size to 8..."},
                    {SDL_GL_GREEN_SIZE, 8, "Could not set green pixel size to 8..."},
                    {SDL_GL_BLUE_SIZE, 8, "Could not set blue pixel size to 8..."},
                    {SDL_GL_ALPHA_SIZE, 8, "Could not set alpha pixel size to 8..."}};
    requests.push_back({SDL_GL_DEPTH_SIZE, 16, "Could not set depth size to 16..."});
    requests.push_back({SDL_GL_DOUBLEBUFFER, 1, "Could not set double buffering..."});
    requests.push_back({SDL_GL_SWAP_CONTROL, 1, "Could not set vertical sync..."});
    if (antialias > 0) {
        requests.push_back({SDL_GL_MULTISAMPLEBUFFERS, 1, "Could not set multi sample buffers..."});
        requests.push_back(
            {SDL_GL_MULTISAMPLESAMPLES, antialias, "Could not set multi sample samples..."});
    }
    return requests;
}
