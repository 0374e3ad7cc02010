#include "shell/PausedPicture.h"

#include "game/LogicalScreen.h"
#include "VellumDrawingLib/Drawer.h"
#include "VellumDrawingLib/VideoMode.h"

namespace {

const float logicalWidth = LogicalScreen::width;
const float logicalHeight = LogicalScreen::height;
// Dark enough to tell the game is stopped, light enough to see where it stopped.
const unsigned char veilAlpha = 120;
const float wordSize = 64.0f;
const char word[] = "PAUSED";

} // namespace

void PausedPicture::keep(Drawer& drawer, VideoMode& video)
{
    drop(drawer);
    ImageData picture = video.readFittedPicture();
    if (!picture.pixels)
        return;
    image = drawer.loadImage(picture.pixels.release(), static_cast<unsigned int>(picture.width),
                             static_cast<unsigned int>(picture.height));
    scaleX = logicalWidth / static_cast<float>(picture.width);
    scaleY = logicalHeight / static_cast<float>(picture.height);
}

void PausedPicture::show(Drawer& drawer) const
{
    drawer.beginDrawing();
    if (image != 0)
        drawer.drawImage(image, 0.0f, 0.0f, scaleX, scaleY, 1.0f, 1.0f, 1.0f, 1.0f);
    drawer.fillRect(0.0f, 0.0f, logicalWidth, logicalHeight, 0, 0, 0, veilAlpha);
    const float wordWidth = wordSize * (sizeof word - 1);
    drawer.drawText(word, (logicalWidth - wordWidth) / 2.0f, (logicalHeight - wordSize) / 2.0f,
                    wordSize, 1.0f, 1.0f, 1.0f, 1.0f);
    drawer.endDrawing();
}

void PausedPicture::drop(Drawer& drawer)
{
    if (image != 0)
        drawer.releaseImage(image);
    image = 0;
}
