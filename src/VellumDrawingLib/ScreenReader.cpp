#include "VellumDrawingLib/ScreenReader.h"

#include "VellumDrawingLib/FrameCompositor.h"
#include "VellumDrawingLib/OpenGLWindow.h"

#include <GL/glew.h>

#include <cstring>
#include <memory>

ScreenReader::ScreenReader(FrameCompositor& frame, const OpenGLWindow& window)
    : frame(frame), window(window)
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
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.get());
    window.swap();
    return pixels.release();
}
