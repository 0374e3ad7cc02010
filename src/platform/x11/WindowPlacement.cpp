#include "platform/WindowPlacement.h"

#include <SDL.h>
#include <SDL_syswm.h>

void WindowPlacement::place(bool fullscreen, int width, int height, int displayWidth,
                            int displayHeight)
{
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWMInfo(&info) != 1 || info.subsystem != SDL_SYSWM_X11)
        return;
    const int x = fullscreen ? 0 : (displayWidth - width) / 2;
    const int y = fullscreen ? 0 : (displayHeight - height) / 2;
    const Window window = info.info.x11.wmwindow ? info.info.x11.wmwindow : info.info.x11.window;
    if (info.info.x11.lock_func)
        info.info.x11.lock_func();
    XMoveWindow(info.info.x11.display, window, x, y);
    XFlush(info.info.x11.display);
    if (info.info.x11.unlock_func)
        info.info.x11.unlock_func();
}
