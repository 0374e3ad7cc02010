// The primary monitor in its current mode. The exe's manifest declares it
// DPI-aware, so on a display scaled to 150 % these are the real pixels.
#include "platform/ScreenResolution.h"

#include <windows.h>

int ScreenResolution::getScreenWidth()
{
    const int width = GetSystemMetrics(SM_CXSCREEN);
    return width > 0 ? width : fallbackWidth;
}

int ScreenResolution::getScreenHeight()
{
    const int height = GetSystemMetrics(SM_CYSCREEN);
    return height > 0 ? height : fallbackHeight;
}
