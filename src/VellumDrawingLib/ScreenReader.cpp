#include "VellumDrawingLib/ScreenReader.h"

#include "VellumDrawingLib/DriverAbilities.h"
#include "VellumDrawingLib/FrameCompositor.h"
#include "VellumDrawingLib/OpenGLWindow.h"
#include "VellumDrawingLib/PixelRows.h"

#include <GL/glew.h>

#include <cstring>
#include <memory>

ScreenReader::ScreenReader(FrameCompositor& frame, const OpenGLWindow& window,
                           const DriverAbilities& driver)
    : frame(frame), window(window), driver(driver)
{
}

unsigned char* ScreenReader::screenPixels()
{
    const int width = window.getScreenWidth(), height = window.getScreenHeight();
    const std::size_t bytes = static_cast<std::size_t>(width) * height * 3;
    std::unique_ptr<unsigned char[]> pixels(new unsigned char[bytes]);
    frame.finishFrame();
    std::memset(pixels.get(), 0, bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    if (driver.readsRgb()) {
        glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.get());
    } else {
        const std::size_t count = static_cast<std::size_t>(width) * height;
        const std::unique_ptr<unsigned char[]> rgba(new unsigned char[count * 4]());
        glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.get());
        PixelRows::rgbaToRgb(rgba.get(), pixels.get(), static_cast<int>(count));
    }
    window.swap();
    return pixels.release();
}

ImageData ScreenReader::fittedPicture()
{
    const std::unique_ptr<unsigned char[]> screen(screenPixels());
    const OpenGLWindow::Area area = window.getFitted();
    ImageData picture;
    if (area.w <= 0 || area.h <= 0)
        return picture;
    const std::size_t windowWidth = static_cast<std::size_t>(window.getScreenWidth());
    picture.pixels.reset(new unsigned char[static_cast<std::size_t>(area.w) * area.h * 4]);
    // The window's rows come bottom first, with the bars beside or above and
    // below the area.
    for (int row = 0; row < area.h; ++row) {
        const std::size_t windowRow = static_cast<std::size_t>(area.y + area.h - 1 - row);
        PixelRows::rgbToRgba(screen.get() + (windowRow * windowWidth + area.x) * 3,
                             picture.pixels.get() + static_cast<std::size_t>(row) * area.w * 4,
                             area.w);
    }
    picture.width = area.w;
    picture.height = area.h;
    return picture;
}
