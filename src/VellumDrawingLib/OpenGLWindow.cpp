#include "VellumDrawingLib/OpenGLWindow.h"

#include "VellumDrawingLib/ContextAttributes.h"
#include "VellumDrawingLib/FrameCompositor.h"
#include "platform/Environment.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <SDL.h>

#include <iostream>

namespace {

void requestAttribute(SDL_GLattr attribute, int value, const char* failure)
{
    if (SDL_GL_SetAttribute(attribute, value) < 0)
        std::cout << "OpenGLDrawer: " << failure << std::endl;
}

} // namespace

void OpenGLWindow::prepareVideo()
{
    // The compatibility layer that provides SDL 1.2 draws an OpenGL window
    // into a framebuffer of its own and copies it onto the window at every
    // swap, so that it can scale a mode the display lacks. This drawer fits
    // the logical picture into whatever window it gets, so the copy is a
    // whole extra pass over the window each frame: under a software
    // renderer, more than two thirds of a bare frame. The plain way keeps
    // it, for comparison, and so does a player's own choice.
    if (FrameCompositor::plainDrawingAsked())
        return;
    Environment::setDefault("SDL12COMPAT_OPENGL_SCALING", "0");
}

bool OpenGLWindow::is16Bit()
{
    return ContextAttributes::displayIs16Bit();
}

OpenGLWindow::OpenGLWindow(short logicalWidth, short logicalHeight)
    : logicalWidth(logicalWidth), logicalHeight(logicalHeight), screenWidth(logicalWidth),
      screenHeight(logicalHeight), actualWidth(logicalWidth), actualHeight(logicalHeight),
      viewportRequest{0, 0, logicalWidth, logicalHeight}
{
}

bool OpenGLWindow::open(unsigned short width, unsigned short height, bool fullscreen,
                        int antialias)
{
    setSize(width, height);
    windowedWidth = screenWidth;
    windowedHeight = screenHeight;
    this->fullscreen = fullscreen;
    const bool sixteenBit = is16Bit();
    std::cout << "OpenGLDrawer: Display is " << (sixteenBit ? "16bit." : "32bit.") << std::endl;
    for (const ContextAttributes::Request& request : ContextAttributes::wanted(sixteenBit, antialias))
        requestAttribute(request.attribute, request.value, request.failure);
    return setVideoMode(width, height, fullscreen);
}

bool OpenGLWindow::setVideoMode(unsigned short width, unsigned short height, bool fullscreen)
{
    Uint32 flags = SDL_OPENGL;
    if (fullscreen)
        flags |= SDL_FULLSCREEN;
    else
        Environment::set("SDL_VIDEO_CENTERED", "1");
    return SDL_SetVideoMode(width, height, 0, flags) != nullptr;
}

OpenGLWindow::Change OpenGLWindow::change(unsigned short width, unsigned short height,
                                          bool fullscreen)
{
    const SDL_Surface* previous = SDL_GetVideoSurface();
    const bool wasFullscreen = previous && (previous->flags & SDL_FULLSCREEN);
    if (setVideoMode(width, height, fullscreen)) {
        setSize(width, height);
        this->fullscreen = fullscreen;
        return Change::Made;
    }
    const bool kept = setVideoMode(static_cast<unsigned short>(screenWidth),
                                   static_cast<unsigned short>(screenHeight), wasFullscreen);
    return kept ? Change::Kept : Change::Lost;
}

VideoMode::Size OpenGLWindow::getWindowedSize(int displayWidth, int displayHeight) const
{
    // A window as large as the display is full screen in all but name, and
    // one of no size is what a settings file of zeros asks for.
    const bool fillsDisplay = windowedWidth >= displayWidth && windowedHeight >= displayHeight;
    if (windowedWidth > 0 && windowedHeight > 0 && !fillsDisplay)
        return VideoMode::Size{windowedWidth, windowedHeight};
    return VideoMode::Size{logicalWidth, logicalHeight};
}

void OpenGLWindow::setSize(unsigned short width, unsigned short height)
{
    screenWidth = static_cast<short>(width);
    screenHeight = static_cast<short>(height);
}

void OpenGLWindow::settle()
{
    glViewport(0, 0, static_cast<unsigned short>(screenWidth),
               static_cast<unsigned short>(screenHeight));
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    refit();
}

void OpenGLWindow::refit()
{
    fit();
    setUpProjectionAndState();
}

void OpenGLWindow::fit()
{
    const unsigned short width = static_cast<unsigned short>(screenWidth);
    const unsigned short height = static_cast<unsigned short>(screenHeight);
    const float logicalRatio = static_cast<float>(logicalHeight) / logicalWidth;
    const float windowRatio = static_cast<float>(height) / width;
    const float w = width, h = height;
    // A window of the logical proportions after one of others has no bars.
    if (logicalRatio == windowRatio) {
        actualWidth = w;
        actualHeight = h;
        viewportX = 0.0f;
        viewportY = 0.0f;
    } else if (logicalRatio > windowRatio) {
        actualWidth = static_cast<float>(logicalWidth) / logicalHeight * h;
        actualHeight = h;
        viewportY = 0.0f;
        viewportX = (w - actualWidth) * 0.5f;
    } else {
        actualWidth = w;
        actualHeight = logicalRatio * w;
        viewportX = 0.0f;
        viewportY = (h - actualHeight) * 0.5f;
    }
    const Area fitted = getFitted();
    glViewport(fitted.x, fitted.y, fitted.w, fitted.h);
}

void OpenGLWindow::setUpProjectionAndState() const
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, logicalWidth, logicalHeight, 0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();

    glShadeModel(GL_SMOOTH);
    glClearDepth(1.0);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glEnable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
}

void OpenGLWindow::swap() const
{
    SDL_GL_SwapBuffers();
}

OpenGLWindow::Area OpenGLWindow::getFitted() const
{
    return Area{static_cast<int>(viewportX), static_cast<int>(viewportY),
                static_cast<int>(actualWidth), static_cast<int>(actualHeight)};
}

void OpenGLWindow::setViewport(short x, short y, short w, short h, const Area& target)
{
    viewportRequest[0] = x;
    viewportRequest[1] = y;
    viewportRequest[2] = w;
    viewportRequest[3] = h;
    wholeViewport = false;
    applyViewport(target);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, w, h, 0);
    glMatrixMode(GL_MODELVIEW);
}

void OpenGLWindow::applyViewport(const Area& target) const
{
    const float areaWidth = static_cast<float>(target.w), areaHeight = static_cast<float>(target.h);
    const float logicalW = logicalWidth, logicalH = logicalHeight;
    const short x = viewportRequest[0], y = viewportRequest[1];
    const short w = viewportRequest[2], h = viewportRequest[3];
    const short vh = static_cast<short>(h / logicalH * areaHeight);
    const short vw = static_cast<short>(w * (1.0f / logicalW) * areaWidth);
    const int vy = static_cast<int>(static_cast<float>(target.y) + areaHeight -
                                    static_cast<short>(y / logicalH * areaHeight) - vh);
    const int vx =
        static_cast<int>(static_cast<short>(x * (1.0f / logicalW) * areaWidth) + target.x);
    glViewport(vx, vy, vw, vh);
}

void OpenGLWindow::resetViewport(const Area& target)
{
    wholeViewport = true;
    glViewport(target.x, target.y, target.w, target.h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, logicalWidth, logicalHeight, 0);
    glMatrixMode(GL_MODELVIEW);
}
