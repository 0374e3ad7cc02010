#include "VellumDrawingLib/OpenGLDrawer.h"

#include "VellumDrawingLib/EmbeddedImage.h"
#include "VellumDrawingLib/TTFSingleton.h"
#include "platform/Environment.h"

#include <GL/glew.h>
#include <GL/glu.h>
#include <LineImage.h>
#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

namespace {

// Kept in every build type: drawing an id that was never loaded would
// otherwise bind whatever texture happens to be left and hide the fault.
[[noreturn]] void failedCheck(const char* file, unsigned int line, const char* expression)
{
    std::fprintf(stderr, "%s:%u: failed assertion `%s'\n", file, line, expression);
    std::fflush(stderr);
    std::abort();
}

#define DRAWER_CHECK(expression) \
    ((expression) ? static_cast<void>(0) : failedCheck(__FILE__, __LINE__, #expression))

void requestAttribute(SDL_GLattr attribute, int value, const char* failure)
{
    if (SDL_GL_SetAttribute(attribute, value) < 0)
        std::cout << "OpenGLDrawer: " << failure << std::endl;
}

// The glyph that draws a character, or GlyphCount for none.
Drawer::Glyph glyphFor(signed char c)
{
    if (c >= 'A' && c <= 'Z')
        return static_cast<Drawer::Glyph>(Drawer::GlyphA + (c - 'A'));
    if (c >= 'a' && c <= 'z')
        return static_cast<Drawer::Glyph>(Drawer::GlyphA + (c - 'a'));
    if (c >= '0' && c <= '9')
        return static_cast<Drawer::Glyph>(Drawer::Glyph0 + (c - '0'));
    switch (c) {
    case '.': return Drawer::GlyphPeriod;
    case ',': return Drawer::GlyphComma;
    case '+': return Drawer::GlyphPlus;
    case '-': return Drawer::GlyphMinus;
    case '!': return Drawer::GlyphExclaim;
    case '?': return Drawer::GlyphQuestion;
    case ':': return Drawer::GlyphColon;
    default: return Drawer::GlyphCount;
    }
}

// Widens a square-padded copy: each row's remaining bytes repeat its last
// byte, so linear filtering at the picture's edge does not pull in black.
std::unique_ptr<unsigned char[]> padRows(const unsigned char* pixels, unsigned int width,
                                         unsigned int height, unsigned int paddedWidth,
                                         unsigned int paddedHeight)
{
    const std::size_t rowBytes = static_cast<std::size_t>(paddedWidth) * 4;
    std::unique_ptr<unsigned char[]> padded(new unsigned char[rowBytes * paddedHeight]());
    for (unsigned int r = 0; r < height; ++r) {
        const unsigned char* source = pixels + static_cast<std::size_t>(r) * width * 4;
        unsigned char* target = padded.get() + r * rowBytes;
        std::memcpy(target, source, static_cast<std::size_t>(width) * 4);
        std::memset(target + width * 4, source[width * 4 - 1], rowBytes - width * 4);
    }
    return padded;
}

} // namespace

const unsigned char* OpenGLDrawer::line_png = LineImage::line_png;
unsigned int OpenGLDrawer::lineImage = 0;

void OpenGLDrawer::prepareVideo()
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

OpenGLDrawer::OpenGLDrawer(short width, short height)
    : logicalWidth(width), logicalHeight(height),
      linePngSize(static_cast<int>(LineImage::line_png_size)), frame(width, height)
{
    TTFSingleton::getInstance();
}

OpenGLDrawer::~OpenGLDrawer()
{
    // The line image dies with this drawer's map; let the next drawer load it.
    if (holdsLineImage)
        lineImage = 0;
}

bool OpenGLDrawer::initialise(unsigned short width, unsigned short height, bool fullscreen,
                              int antialias)
{
    screenWidth = static_cast<short>(width);
    screenHeight = static_cast<short>(height);

    if (is16Bit()) {
        std::cout << "OpenGLDrawer: Display is 16bit." << std::endl;
        requestAttribute(SDL_GL_RED_SIZE, 5, "Could not set red pixel size to 5...");
        requestAttribute(SDL_GL_GREEN_SIZE, 5, "Could not set green pixel size to 5...");
        requestAttribute(SDL_GL_BLUE_SIZE, 5, "Could not set blue pixel size to 5...");
    } else {
        std::cout << "OpenGLDrawer: Display is 32bit." << std::endl;
        requestAttribute(SDL_GL_RED_SIZE, 8, "Could not set red pixel size to 8...");
        requestAttribute(SDL_GL_GREEN_SIZE, 8, "Could not set green pixel size to 8...");
        requestAttribute(SDL_GL_BLUE_SIZE, 8, "Could not set blue pixel size to 8...");
        requestAttribute(SDL_GL_ALPHA_SIZE, 8, "Could not set alpha pixel size to 8...");
    }
    requestAttribute(SDL_GL_DEPTH_SIZE, 16, "Could not set depth size to 16...");
    requestAttribute(SDL_GL_DOUBLEBUFFER, 1, "Could not set double buffering...");
    requestAttribute(SDL_GL_SWAP_CONTROL, 1, "Could not set vertical sync...");
    if (antialias > 0) {
        requestAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1, "Could not set multi sample buffers...");
        requestAttribute(SDL_GL_MULTISAMPLESAMPLES, antialias,
                         "Could not set multi sample samples...");
    }

    const bool modeSet = setVideoMode(width, height, fullscreen);

    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK)
        std::cout << "GLEW error: " << glewGetErrorString(glewStatus) << std::endl;
    else
        std::cout << "Using GLEW version: " << glewGetString(GLEW_VERSION) << std::endl;
    frame.adoptContext();

    initFonts();
    settleWindow(width, height);
    loadLineImageOnce();
    return modeSet;
}

void OpenGLDrawer::settleWindow(unsigned short width, unsigned short height)
{
    glViewport(0, 0, width, height);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    fit(width, height);
    setUpProjectionAndState();
}

void OpenGLDrawer::initialiseLight(unsigned short width, unsigned short height)
{
    screenWidth = static_cast<short>(width);
    screenHeight = static_cast<short>(height);
    frame.adoptContext();
    initFonts();
    fit(width, height);
    setUpProjectionAndState();
    loadLineImageOnce();
}

bool OpenGLDrawer::setVideoMode(unsigned short width, unsigned short height, bool fullscreen)
{
    Uint32 flags = SDL_OPENGL;
    if (fullscreen)
        flags |= SDL_FULLSCREEN;
    else
        Environment::set("SDL_VIDEO_CENTERED", "1");
    return SDL_SetVideoMode(width, height, 0, flags) != nullptr;
}

bool OpenGLDrawer::changeVideoMode(unsigned short width, unsigned short height, bool fullscreen)
{
    const SDL_Surface* previous = SDL_GetVideoSurface();
    const bool wasFullscreen = previous && (previous->flags & SDL_FULLSCREEN);
    contextObjects.copyOut(contextTextures());

    const bool changed = setVideoMode(width, height, fullscreen);
    if (!changed) {
        width = static_cast<unsigned short>(screenWidth);
        height = static_cast<unsigned short>(screenHeight);
        if (!setVideoMode(width, height, wasFullscreen))
            return false;
    }
    // A new context has not had its entry points looked up.
    if (!contextObjects.contextKept())
        glewInit();

    screenWidth = static_cast<short>(width);
    screenHeight = static_cast<short>(height);
    // The fit keeps old offsets when the proportions match; a letterboxed
    // mode before must not leave its bars behind.
    viewportX = viewportY = 0.0f;
    settleWindow(width, height);
    remakeContextObjects();
    return changed;
}

void OpenGLDrawer::remakeContextObjects()
{
    // The off-screen picture is made again when next needed; in a kept
    // context the one there is still good and is adopted.
    frame.adoptContext();
    contextObjects.copyBack();
    if (activeProgram != 0)
        glUseProgramObjectARB(contextObjects.program(activeProgram));
}

std::vector<unsigned int*> OpenGLDrawer::contextTextures()
{
    std::vector<unsigned int*> names;
    for (auto& entry : images)
        names.push_back(&entry.second.texture);
    for (Image& glyph : glyphs)
        names.push_back(&glyph.texture);
    for (const std::unique_ptr<OpenGLFont>& font : fonts)
        names.push_back(&font->texture);
    return names;
}

void OpenGLDrawer::fit(unsigned short width, unsigned short height)
{
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
    glViewport(static_cast<GLint>(viewportX), static_cast<GLint>(viewportY),
               static_cast<GLsizei>(actualWidth), static_cast<GLsizei>(actualHeight));
    frame.setWindow(width, height,
                    FrameCompositor::Area{static_cast<int>(viewportX), static_cast<int>(viewportY),
                                          static_cast<int>(actualWidth),
                                          static_cast<int>(actualHeight)});
}

void OpenGLDrawer::setUpProjectionAndState()
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

void OpenGLDrawer::loadLineImageOnce()
{
    if (lineImage != 0)
        return;
    lineImage = EmbeddedImage::load(*this, line_png, static_cast<unsigned int>(linePngSize));
    holdsLineImage = lineImage != 0;
}

void OpenGLDrawer::initFonts()
{
    const std::vector<unsigned char> white(16 * 16 * 4, 255);
    for (Image& glyph : glyphs) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 16, 16, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                     white.data());
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glBindTexture(GL_TEXTURE_2D, 0);
        glyph = Image{texture, 16, 16, 1.0f, 1.0f};
    }
}

bool OpenGLDrawer::is16Bit()
{
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    return info && info->vfmt && info->vfmt->BitsPerPixel == 16;
}

void OpenGLDrawer::beginDrawing()
{
    frame.beginFrame();
    if (!wholeViewport)
        applyViewport();
    glLoadIdentity();
}

void OpenGLDrawer::finishDrawing()
{
    frame.finishFrame();
}

void OpenGLDrawer::endDrawing()
{
    frame.finishFrame();
    SDL_GL_SwapBuffers();
    secondImage = 0;
}

unsigned char* OpenGLDrawer::getScreenPixels()
{
    const std::size_t bytes = static_cast<std::size_t>(screenWidth) * screenHeight * 3;
    std::unique_ptr<unsigned char[]> pixels(new unsigned char[bytes]);
    frame.finishFrame();
    // Read before the swap: what the back buffer holds after one is undefined,
    // and only a framebuffer that SDL's compatibility layer drew through kept it.
    std::memset(pixels.get(), 0, bytes);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, screenWidth, screenHeight, GL_RGB, GL_UNSIGNED_BYTE, pixels.get());
    SDL_GL_SwapBuffers();
    return pixels.release();
}

void OpenGLDrawer::setViewport(short x, short y, short w, short h)
{
    frame.flush();
    viewportRequest[0] = x;
    viewportRequest[1] = y;
    viewportRequest[2] = w;
    viewportRequest[3] = h;
    wholeViewport = false;
    applyViewport();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, w, h, 0);
    glMatrixMode(GL_MODELVIEW);
}

void OpenGLDrawer::applyViewport()
{
    const FrameCompositor::Area area = frame.drawingArea();
    const float areaWidth = static_cast<float>(area.w), areaHeight = static_cast<float>(area.h);
    const short x = viewportRequest[0], y = viewportRequest[1];
    const short w = viewportRequest[2], h = viewportRequest[3];
    const short vh = static_cast<short>(h / 768.0f * areaHeight);
    const short vw = static_cast<short>(w * (1.0f / 1024.0f) * areaWidth);
    const int vy = static_cast<int>(static_cast<float>(area.y) + areaHeight -
                                    static_cast<short>(y / 768.0f * areaHeight) - vh);
    const int vx =
        static_cast<int>(static_cast<short>(x * (1.0f / 1024.0f) * areaWidth) + area.x);
    glViewport(vx, vy, vw, vh);
}

void OpenGLDrawer::resetViewport()
{
    frame.flush();
    wholeViewport = true;
    const FrameCompositor::Area area = frame.drawingArea();
    glViewport(area.x, area.y, area.w, area.h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluOrtho2D(0, 1024, 768, 0);
    glMatrixMode(GL_MODELVIEW);
}

short OpenGLDrawer::getActualWidth() const
{
    return static_cast<short>(actualWidth);
}

short OpenGLDrawer::getActualHeight() const
{
    return static_cast<short>(actualHeight);
}

void OpenGLDrawer::setTexInterp(bool interpolate)
{
    texInterp = interpolate;
}

bool OpenGLDrawer::isPowerOfTwo(unsigned int n)
{
    return n != 0 && powerOfTwo(n) == n;
}

unsigned int OpenGLDrawer::powerOfTwo(unsigned int n)
{
    // Doubling past 2^31 would wrap to 0 and loop for ever.
    if (n > 0x80000000u)
        return 0;
    unsigned int p = 1;
    while (p < n)
        p *= 2;
    return p;
}

unsigned int OpenGLDrawer::makeTexture(const unsigned char* pixels, unsigned int width,
                                       unsigned int height, bool linear)
{
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
    const GLint filter = linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    return texture;
}

unsigned int OpenGLDrawer::loadImage(unsigned char* pixels, unsigned int width,
                                     unsigned int height)
{
    std::unique_ptr<unsigned char[]> owned(pixels);
    if (!owned)
        return 0;
    Image image{0, static_cast<unsigned short>(width), static_cast<unsigned short>(height), 1.0f,
                1.0f};
    image.linear = texInterp;
    unsigned int paddedWidth = width, paddedHeight = height;
    if (!isPowerOfTwo(width) || !isPowerOfTwo(height)) {
        paddedWidth = powerOfTwo(width);
        paddedHeight = powerOfTwo(height);
        if (paddedWidth == 0 || paddedHeight == 0)
            return 0;
        std::unique_ptr<unsigned char[]> padded =
            padRows(owned.get(), width, height, paddedWidth, paddedHeight);
        const std::size_t rowBytes = static_cast<std::size_t>(paddedWidth) * 4;
        // Rows below the picture repeat its last row, for the same reason.
        for (unsigned int r = height; r < paddedHeight; ++r)
            std::memcpy(padded.get() + r * rowBytes, padded.get() + (height - 1) * rowBytes,
                        rowBytes);
        image.maxU = static_cast<float>(width) / paddedWidth;
        image.maxV = static_cast<float>(height) / paddedHeight;
        owned = std::move(padded);
    }
    image.texture = makeTexture(owned.get(), paddedWidth, paddedHeight, texInterp);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glBindTexture(GL_TEXTURE_2D, 0);

    unsigned int id = nextImageId;
    while (images.count(id))
        ++id;
    nextImageId = id;
    images[id] = image;
    return id;
}

void OpenGLDrawer::releaseImage(unsigned int id)
{
    const auto it = images.find(id);
    if (it == images.end())
        return;
    glDeleteTextures(1, &it->second.texture);
    images.erase(it);
}

const OpenGLDrawer::Image& OpenGLDrawer::findImage(unsigned int id) const
{
    const auto it = images.find(id);
    DRAWER_CHECK(it != images.end());
    return it->second;
}

void OpenGLDrawer::bindSecondImage()
{
    const auto second = images.find(secondImage);
    if (secondImage == 0 || second == images.end())
        return;
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, second->second.texture);
    if (activeProgram != 0)
        glUniform1iARB(secondUniform, 1);
}

void OpenGLDrawer::unbindTextures()
{
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void OpenGLDrawer::drawImage(unsigned int id, float x, float y, float scaleX, float scaleY,
                             float r, float g, float b, float a)
{
    findImage(id);
    Image& image = images[id];
    // An untinted image over the whole area takes the veils held under it
    // into its own single pass.
    const bool overWholeArea = wholeViewport && activeProgram == 0 && secondImage == 0 &&
                               r == 1.0f && g == 1.0f && b == 1.0f && a == 1.0f &&
                               scaleX > 0.0f && scaleY > 0.0f && x <= 0.0f && y <= 0.0f &&
                               x + image.width * scaleX >= logicalWidth &&
                               y + image.height * scaleY >= logicalHeight;
    const FillComposer::Layer veil = overWholeArea ? frame.takeVeil() : FillComposer::Layer{};
    if (!overWholeArea)
        frame.flush();
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, image.texture);
    // Unscaled at a whole pixel, each pixel centre falls on a texel centre,
    // where nearest sampling gives what linear gives, for less work.
    const bool onTexelCentres = frame.drawsOneToOne() && wholeViewport && secondImage == 0 &&
                                activeProgram == 0 && std::fabs(scaleX) == 1.0f &&
                                scaleY == 1.0f && x == std::floor(x) && y == std::floor(y);
    if (image.linear && image.sampledNearest != onTexelCentres) {
        const GLint filter = onTexelCentres ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        image.sampledNearest = onTexelCentres;
    }
    if (activeProgram != 0)
        glUniform1iARB(baseUniform, 0);
    bindSecondImage();

    const float right = x + image.width * scaleX, bottom = y + image.height * scaleY;
    const auto corner = [](float u, float v, float px, float py) {
        glMultiTexCoord2fARB(GL_TEXTURE0_ARB, u, v);
        glMultiTexCoord2fARB(GL_TEXTURE1_ARB, u, v);
        glVertex2f(px, py);
    };
    glColor4f(r, g, b, a);
    if (veil.kind == FillComposer::Layer::Blend)
        FrameCompositor::beginImageOverVeil(veil);
    glBegin(GL_QUADS);
    corner(0.0f, 0.0f, x, y);
    corner(image.maxU, 0.0f, right, y);
    corner(image.maxU, image.maxV, right, bottom);
    corner(0.0f, image.maxV, x, bottom);
    glEnd();
    if (veil.kind == FillComposer::Layer::Blend)
        FrameCompositor::endImageOverVeil();
    unbindTextures();
}

void OpenGLDrawer::drawImageRot(unsigned int id, float x, float y, float angle, float pivotX,
                                float pivotY, float scaleX, float scaleY)
{
    frame.flush();
    const Image& image = findImage(id);
    glPushMatrix();
    glTranslatef(x, y, 0.0f);
    glScalef(scaleX, scaleY, 1.0f);
    glTranslatef(pivotX, pivotY, 0.0f);
    glRotatef(angle, 0.0f, 0.0f, 1.0f);
    glTranslatef(-pivotX, -pivotY, 0.0f);

    glBindTexture(GL_TEXTURE_2D, image.texture);
    glColor4ub(255, 255, 255, 255);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(image.maxU, 0.0f);
    glVertex2f(image.width, 0.0f);
    glTexCoord2f(image.maxU, image.maxV);
    glVertex2f(image.width, image.height);
    glTexCoord2f(0.0f, image.maxV);
    glVertex2f(0.0f, image.height);
    glEnd();
    glBindTexture(GL_TEXTURE_2D, 0);
    glPopMatrix();
}

void OpenGLDrawer::fillRect(float x, float y, float w, float h, unsigned char r,
                            unsigned char g, unsigned char b, unsigned char a)
{
    // With blending always on, a clear fill changes no pixel.
    if (a == 0 && !frame.isPlain())
        return;
    const bool whole = wholeViewport && activeProgram == 0 && x <= 0.0f && y <= 0.0f &&
                       x + w >= logicalWidth && y + h >= logicalHeight;
    if (whole && frame.absorbFill(r, g, b, a))
        return;
    frame.flush();
    glBindTexture(GL_TEXTURE_2D, 0);
    glColor4ub(r, g, b, a);
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
}

void OpenGLDrawer::fillGradient(float x, float y, float w, float h, unsigned char r1,
                                unsigned char g1, unsigned char b1, unsigned char a1,
                                unsigned char r2, unsigned char g2, unsigned char b2,
                                unsigned char a2)
{
    frame.flush();
    glBegin(GL_QUADS);
    glColor4ub(r1, g1, b1, a1);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glColor4ub(r2, g2, b2, a2);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
}

void OpenGLDrawer::drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                            float a)
{
    frame.flush();
    const float dx = x2 - x1, dy = y2 - y1;
    const float length = std::sqrt(dx * dx + dy * dy);
    const auto line = images.find(lineImage);
    // Coinciding ends have no direction to be thick across.
    if (length == 0.0f || line == images.end())
        return;
    const float nx = -dy / length * 4.0f, ny = dx / length * 4.0f;

    glBindTexture(GL_TEXTURE_2D, line->second.texture);
    glColor4f(r, g, b, a);
    glBegin(GL_QUADS);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 0.0f, 0.0f);
    glVertex2f(x1 + nx, y1 + ny);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 0.0f, 1.0f);
    glVertex2f(x2 + nx, y2 + ny);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 1.0f, 1.0f);
    glVertex2f(x2 - nx, y2 - ny);
    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 1.0f, 0.0f);
    glVertex2f(x1 - nx, y1 - ny);
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, 0);
}

unsigned int OpenGLDrawer::loadPoly(float* points, int count)
{
    Polygon polygon;
    const int n = count;
    polygon.count = n + 1;
    polygon.xs.reset(new float[n + 1]);
    polygon.ys.reset(new float[n + 1]);
    polygon.us.reset(new float[n + 1]);
    polygon.vs.reset(new float[n + 1]);
    float sumX = 0, sumY = 0;
    float minX = 10000, minY = 10000, maxX = -10000, maxY = -10000;
    for (int i = 0; i < n; ++i) {
        const float x = points[i * 2], y = points[i * 2 + 1];
        polygon.xs[i + 1] = x;
        polygon.ys[i + 1] = y;
        sumX += x;
        sumY += y;
        minX = std::fmin(minX, x);
        maxX = std::fmax(maxX, x);
        minY = std::fmin(minY, y);
        maxY = std::fmax(maxY, y);
    }
    polygon.xs[0] = sumX / n;
    polygon.ys[0] = sumY / n;
    for (int i = 0; i <= n; ++i) {
        polygon.us[i] = (polygon.xs[i] - minX) / (maxX - minX);
        polygon.vs[i] = (polygon.ys[i] - minY) / (maxY - minY);
    }
    polygons.push_back(std::move(polygon));
    return static_cast<unsigned int>(polygons.size() - 1);
}

void OpenGLDrawer::drawPoly(unsigned int poly, unsigned int image, float x, float y,
                            float scaleX, float scaleY, float r, float g, float b, float a)
{
    frame.flush();
    const auto texture = images.find(image);
    if (texture == images.end() || poly >= polygons.size())
        return;
    const Polygon& polygon = polygons[poly];

    glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->second.texture);
    if (activeProgram != 0)
        glUniform1iARB(baseUniform, 0);
    bindSecondImage();

    glPushMatrix();
    glTranslatef(x, y, 0.0f);
    glScalef(scaleX, scaleY, 1.0f);
    glColor4f(r, g, b, a);
    const auto vertex = [&polygon](int i, float secondU, float secondV) {
        glMultiTexCoord2fARB(GL_TEXTURE0_ARB, polygon.us[i], polygon.vs[i]);
        glMultiTexCoord2fARB(GL_TEXTURE1_ARB, secondU, secondV);
        glVertex2f(polygon.xs[i], polygon.ys[i]);
    };
    glBegin(GL_TRIANGLES);
    for (int k = 1; k < polygon.count; ++k) {
        vertex(0, 0.5f, 1.0f);
        vertex(k, 0.0f, 0.0f);
        vertex(k + 1 < polygon.count ? k + 1 : 1, 1.0f, 0.0f);
    }
    glEnd();
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPopMatrix();
    unbindTextures();
}

unsigned int OpenGLDrawer::loadShader(const std::string& vertexFile,
                                      const std::string& fragmentFile)
{
    const GLhandleARB vertexShader = glCreateShaderObjectARB(GL_VERTEX_SHADER_ARB);
    const GLhandleARB fragmentShader = glCreateShaderObjectARB(GL_FRAGMENT_SHADER_ARB);
    const std::string vertexSource = loadShaderFile(vertexFile);
    const std::string fragmentSource = loadShaderFile(fragmentFile);
    const GLcharARB* vertexText = vertexSource.c_str();
    const GLcharARB* fragmentText = fragmentSource.c_str();
    glShaderSourceARB(vertexShader, 1, &vertexText, nullptr);
    glShaderSourceARB(fragmentShader, 1, &fragmentText, nullptr);
    glCompileShaderARB(vertexShader);
    glCompileShaderARB(fragmentShader);

    const GLhandleARB program = glCreateProgramObjectARB();
    glAttachObjectARB(program, vertexShader);
    glAttachObjectARB(program, fragmentShader);
    glLinkProgramARB(program);

    std::cout << "OpenGLDrawer Shader InfoLog:" << std::endl
              << "----------------------------" << std::endl
              << vertexFile << ":" << std::endl;
    printInfoLog(vertexShader);
    std::cout << fragmentFile << ":" << std::endl;
    printInfoLog(fragmentShader);

    contextObjects.keepProgram(program, vertexSource, fragmentSource);
    baseUniform = glGetUniformLocationARB(program, "base");
    secondUniform = glGetUniformLocationARB(program, "second");
    return program;
}

std::string OpenGLDrawer::loadShaderFile(const std::string& path)
{
    if (path.empty())
        return std::string();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::string();
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    file.seekg(0, std::ios::beg);
    if (size <= 0)
        return std::string();
    std::string text(static_cast<std::size_t>(size), '\0');
    file.read(&text[0], size);
    text.resize(static_cast<std::size_t>(file.gcount()));
    std::cout << text << std::endl;
    return text;
}

void OpenGLDrawer::printInfoLog(unsigned int object)
{
    GLint length = 0;
    glGetObjectParameterivARB(object, GL_OBJECT_INFO_LOG_LENGTH_ARB, &length);
    if (length <= 0)
        return;
    std::vector<GLcharARB> log(static_cast<std::size_t>(length) + 1, '\0');
    GLsizei written = 0;
    glGetInfoLogARB(object, length, &written, log.data());
    std::cout << log.data() << std::endl;
}

void OpenGLDrawer::useShader(unsigned int program)
{
    frame.flush();
    glUseProgramObjectARB(contextObjects.program(program));
    activeProgram = program;
}

void OpenGLDrawer::useSecondImage(unsigned int id)
{
    secondImage = id;
}

unsigned int OpenGLDrawer::loadFont(const std::string& name, float size)
{
    auto font = std::make_unique<OpenGLFont>(name, size);
    if (!font->loaded)
        return 0;
    fonts.push_back(std::move(font));
    return static_cast<unsigned int>(fonts.size());
}

void OpenGLDrawer::loadGlyph(Glyph glyph, unsigned char* pixels, unsigned int size)
{
    std::unique_ptr<unsigned char[]> owned(pixels);
    if (!owned || static_cast<unsigned int>(glyph) >= GlyphCount)
        return;
    unsigned int side = size;
    if (!isPowerOfTwo(size)) {
        side = powerOfTwo(size);
        glyphPadding = static_cast<int>(side - size);
        owned = padRows(owned.get(), size, size, side, side);
    }
    const unsigned int texture = makeTexture(owned.get(), side, side, texInterp);
    glDeleteTextures(1, &glyphs[glyph].texture);
    glyphs[glyph] = Image{texture, static_cast<unsigned short>(side),
                          static_cast<unsigned short>(side), 1.0f, 1.0f};
}

void OpenGLDrawer::drawText(const std::string& text, float x, float y, float size, float r,
                            float g, float b, float a)
{
    frame.flush();
    const float scale = size / static_cast<float>(glyphs[GlyphA].width);
    const int kerning = static_cast<int>(glyphPadding * scale);
    const float advance = size - kerning;
    float pen = x;
    for (const char c : text) {
        const Glyph glyph = glyphFor(static_cast<signed char>(c));
        if (glyph != GlyphCount) {
            glBindTexture(GL_TEXTURE_2D, glyphs[glyph].texture);
            glColor4f(r, g, b, a);
            glBegin(GL_QUADS);
            glTexCoord2f(0.0f, 0.0f);
            glVertex2f(pen, y);
            glTexCoord2f(1.0f, 0.0f);
            glVertex2f(pen + size, y);
            glTexCoord2f(1.0f, 1.0f);
            glVertex2f(pen + size, y + size);
            glTexCoord2f(0.0f, 1.0f);
            glVertex2f(pen, y + size);
            glEnd();
            glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
            glBindTexture(GL_TEXTURE_2D, 0);
        }
        pen += advance;
    }
}

void OpenGLDrawer::drawText(const std::string& text, unsigned int font, float x, float y, float p,
                            float scale, float r, float g, float b, float a)
{
    if (font == 0) {
        drawText(text, x, y, scale * 32.0f, r, g, b, a);
        return;
    }
    // An id that loadFont never handed out is the caller's fault, as an
    // unknown image id is; stop rather than read past the font list.
    DRAWER_CHECK(font <= fonts.size());
    frame.flush();
    fonts[font - 1]->draw(text, x, y, p, scale, r, g, b, a);
}
