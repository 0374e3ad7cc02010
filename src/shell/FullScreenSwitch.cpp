#include "shell/FullScreenSwitch.h"

#include "game/LogicalScreen.h"
#include "platform/ScreenResolution.h"
#include "platform/WindowPlacement.h"
#include "VellumDrawingLib/OpenGLDrawer.h"

#include <iostream>

namespace {

const int fallbackWidth = LogicalScreen::width;
const int fallbackHeight = LogicalScreen::height;

bool isSwitchKey(const SDL_Event& event)
{
    if (event.type != SDL_KEYDOWN)
        return false;
    const SDL_keysym& key = event.key.keysym;
    return key.sym == SDLK_F11 ||
           ((key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER) && (key.mod & KMOD_ALT));
}

} // namespace

FullScreenSwitch::FullScreenSwitch(int width, int height, bool fullscreen)
    : settledWidth(width), settledHeight(height), fullscreen(fullscreen)
{
}

// Asked at the switch, not at start-up: the display may have changed since,
// and start-up opens enough connections to the X server already.
void FullScreenSwitch::sizes(int& fullWidth, int& fullHeight, int& windowWidth,
                             int& windowHeight) const
{
    fullWidth = ScreenResolution::getScreenWidth();
    fullHeight = ScreenResolution::getScreenHeight();
    // A window as large as the display is full screen in all but name, and
    // one of no size is what a settings file of zeros asks for.
    const bool fillsDisplay = settledWidth >= fullWidth && settledHeight >= fullHeight;
    const bool usable = settledWidth > 0 && settledHeight > 0 && !fillsDisplay;
    windowWidth = usable ? settledWidth : fallbackWidth;
    windowHeight = usable ? settledHeight : fallbackHeight;
}

bool FullScreenSwitch::takes(const SDL_Event& event, Drawer& drawer, int& width, int& height)
{
    if (!isSwitchKey(event))
        return false;
    auto* display = dynamic_cast<OpenGLDrawer*>(&drawer);
    if (!display)
        return true;
    const bool wanted = !fullscreen;
    int fullWidth = 0, fullHeight = 0, windowWidth = 0, windowHeight = 0;
    sizes(fullWidth, fullHeight, windowWidth, windowHeight);
    const int newWidth = wanted ? fullWidth : windowWidth;
    const int newHeight = wanted ? fullHeight : windowHeight;
    if (!display->changeVideoMode(static_cast<unsigned short>(newWidth),
                                  static_cast<unsigned short>(newHeight), wanted)) {
        std::cout << "Full screen: could not switch " << (wanted ? "on" : "off") << " ("
                  << newWidth << " x " << newHeight << "): " << SDL_GetError() << std::endl;
        return true;
    }
    fullscreen = wanted;
    width = newWidth;
    height = newHeight;
    WindowPlacement::place(fullscreen, width, height, fullWidth, fullHeight);
    std::cout << "Full screen: " << (fullscreen ? "on" : "off") << " (" << width << " x "
              << height << ")" << std::endl;
    // Whatever shows a still picture (a pause) must draw it again.
    SDL_Event expose = {};
    expose.type = SDL_VIDEOEXPOSE;
    SDL_PushEvent(&expose);
    return true;
}
