#include "shell/FullScreenSwitch.h"

#include "platform/ScreenResolution.h"
#include "platform/WindowPlacement.h"
#include "VellumDrawingLib/VideoMode.h"

#include <iostream>

namespace {

bool isSwitchKey(const SDL_Event& event)
{
    if (event.type != SDL_KEYDOWN)
        return false;
    const SDL_keysym& key = event.key.keysym;
    return key.sym == SDLK_F11 ||
           ((key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT));
}

} // namespace

bool FullScreenSwitch::takes(const SDL_Event& event, VideoMode& video) const
{
    if (!isSwitchKey(event))
        return false;
    if (!video.canChangeMode()) {
        std::cout << "Full screen: left to what holds the window (the video mode stays)"
                  << std::endl;
        return true;
    }
    const bool wanted = !video.isFullScreen();
    // Asked at the switch, not at start-up: the display may have changed
    // since, and start-up opens enough connections to the X server already.
    const int fullWidth = ScreenResolution::getScreenWidth();
    const int fullHeight = ScreenResolution::getScreenHeight();
    const VideoMode::Size windowed = video.getWindowedSize(fullWidth, fullHeight);
    const int width = wanted ? fullWidth : windowed.width;
    const int height = wanted ? fullHeight : windowed.height;
    if (!video.changeVideoMode(static_cast<unsigned short>(width),
                               static_cast<unsigned short>(height), wanted)) {
        std::cout << "Full screen: could not switch " << (wanted ? "on" : "off") << " (" << width
                  << " x " << height << "): " << SDL_GetError() << std::endl;
        return true;
    }
    WindowPlacement::place(wanted, width, height, fullWidth, fullHeight);
    std::cout << "Full screen: " << (wanted ? "on" : "off") << " (" << width << " x " << height
              << ")" << std::endl;
    // Whatever shows a still picture (a pause) must draw it again.
    SDL_Event expose = {};
    expose.type = SDL_VIDEOEXPOSE;
    SDL_PushEvent(&expose);
    return true;
}
