#include "shell/PausedPicture.h"

#include "game/LogicalScreen.h"
#include "VellumDrawingLib/Drawer.h"
#include "VellumDrawingLib/PixelRows.h"

#include <cstddef>
#include <memory>

namespace {

const float logicalWidth = LogicalScreen::width;
const float logicalHeight = LogicalScreen::height;
// Dark enough to tell the game is stopped, light enough to see where it stopped.
const unsigned char veilAlpha = 120;
const float wordSize = 64.0f;
const char word[] = "PAUSED";

} // namespace

void PausedPicture::keep(Drawer& drawer, int windowWidth, int windowHeight)
{
    drop(drawer);
    const std::unique_ptr<unsigned char[]> screen(drawer.getScreenPixels());
    const int width = drawer.getActualWidth();
    const int height = drawer.getActualHeight();
    if (!screen || width <= 0 || height <= 0 || width > windowWidth || height > windowHeight)
        return;
    // The window's rows come bottom first and may hold bars beside or
    // above and below the centred drawing area; the image wants its top row
    // first and the area alone.
    const int left = (windowWidth - width) / 2;
    const int bottom = (windowHeight - height) / 2;
    auto pixels = std::make_unique<unsigned char[]>(static_cast<std::size_t>(width) * height * 4);
    for (int row = 0; row < height; ++row) {
        const unsigned char* source =
            screen.get() +
            (static_cast<std::size_t>(bottom + height - 1 - row) * windowWidth + left) * 3;
        PixelRows::rgbToRgba(source, pixels.get() + static_cast<std::size_t>(row) * width * 4,
                             width);
    }
    image = drawer.loadImage(pixels.release(), static_cast<unsigned int>(width),
                             static_cast<unsigned int>(height));
    scaleX = logicalWidth / static_cast<float>(width);
    scaleY = logicalHeight / static_cast<float>(height);
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
