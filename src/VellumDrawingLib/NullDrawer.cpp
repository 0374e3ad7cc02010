#include "VellumDrawingLib/NullDrawer.h"

NullDrawer::NullDrawer(short logicalWidth, short logicalHeight)
    : logicalWidth(logicalWidth), logicalHeight(logicalHeight)
{
}

unsigned int NullDrawer::loadImage(unsigned char* pixels, unsigned int, unsigned int)
{
    if (pixels == nullptr)
        return 0;
    delete[] pixels;
    return ++images;
}
