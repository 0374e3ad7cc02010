#include "VellumDrawingLib/OpenGLDrawer.h"

#include "VellumDrawingLib/EmbeddedImage.h"
#include "VellumDrawingLib/TTFSingleton.h"

#include <GL/glew.h>
#include <LineImage.h>

#include <cstdio>
#include <cstdlib>
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

} // namespace

const unsigned char* OpenGLDrawer::line_png = LineImage::line_png;
unsigned int OpenGLDrawer::lineImage = 0;

void OpenGLDrawer::prepareVideo()
{
    OpenGLWindow::prepareVideo();
}

OpenGLDrawer::OpenGLDrawer(short width, short height)
    : logicalWidth(width), logicalHeight(height),
      linePngSize(static_cast<int>(LineImage::line_png_size)), window(width, height),
      frame(window, driver, width, height),
      shapes(polygons, secondImage, textures, shaders, frame, window, width, height)
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
    const bool modeSet = window.open(width, height, fullscreen, antialias);

    const GLenum glewStatus = glewInit();
    if (glewStatus != GLEW_OK)
        std::cout << "GLEW error: " << glewGetErrorString(glewStatus) << std::endl;
    else
        std::cout << "Using GLEW version: " << glewGetString(GLEW_VERSION) << std::endl;
    driver.read();
    frame.adoptContext();

    initFonts();
    window.settle();
    loadLineImageOnce();
    return modeSet;
}

void OpenGLDrawer::initialiseLight(unsigned short width, unsigned short height)
{
    window.setSize(width, height);
    driver.read();
    frame.adoptContext();
    initFonts();
    window.refit();
    loadLineImageOnce();
}

bool OpenGLDrawer::changeVideoMode(unsigned short width, unsigned short height, bool fullscreen)
{
    if (!canChangeMode())
        return false;
    contextObjects.copyOut(contextTextures());
    const OpenGLWindow::Change change = window.change(width, height, fullscreen);
    if (change == OpenGLWindow::Change::Lost)
        return false;
    // A new context has not had its entry points looked up.
    if (!contextObjects.contextKept())
        glewInit();
    window.settle();
    remakeContextObjects();
    return change == OpenGLWindow::Change::Made;
}

bool OpenGLDrawer::canChangeMode() const
{
    // The mode's call may replace the context, and every texture with it.
    return driver.copiesTexturesOut();
}

bool OpenGLDrawer::isFullScreen() const
{
    return window.isFullScreen();
}

int OpenGLDrawer::getWindowWidth() const
{
    return window.getScreenWidth();
}

int OpenGLDrawer::getWindowHeight() const
{
    return window.getScreenHeight();
}

VideoMode::Size OpenGLDrawer::getWindowedSize(int displayWidth, int displayHeight) const
{
    return window.getWindowedSize(displayWidth, displayHeight);
}

ImageData OpenGLDrawer::readFittedPicture()
{
    return reader.fittedPicture();
}

void OpenGLDrawer::remakeContextObjects()
{
    // The off-screen picture is made again when next needed; in a kept
    // context the one there is still good and is adopted.
    frame.adoptContext();
    contextObjects.copyBack();
    shaders.useAgain();
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

void OpenGLDrawer::loadLineImageOnce()
{
    if (lineImage != 0)
        return;
    lineImage = EmbeddedImage::load(*this, line_png, static_cast<unsigned int>(linePngSize));
    holdsLineImage = lineImage != 0;
}

void OpenGLDrawer::initFonts()
{
    textWriter.initFonts();
}

bool OpenGLDrawer::is16Bit()
{
    return OpenGLWindow::is16Bit();
}

void OpenGLDrawer::beginDrawing()
{
    frame.beginFrame();
    if (!window.drawsWholeArea())
        window.applyViewport(frame.drawingArea());
    glLoadIdentity();
}

void OpenGLDrawer::finishDrawing()
{
    frame.finishFrame();
}

void OpenGLDrawer::endDrawing()
{
    frame.finishFrame();
    window.swap();
    secondImage = 0;
}

unsigned char* OpenGLDrawer::getScreenPixels()
{
    return reader.screenPixels();
}

void OpenGLDrawer::setViewport(short x, short y, short w, short h)
{
    frame.flush();
    window.setViewport(x, y, w, h, frame.drawingArea());
}

void OpenGLDrawer::resetViewport()
{
    frame.flush();
    window.resetViewport(frame.drawingArea());
}

short OpenGLDrawer::getActualWidth() const
{
    return window.getActualWidth();
}

short OpenGLDrawer::getActualHeight() const
{
    return window.getActualHeight();
}

void OpenGLDrawer::setTexInterp(bool interpolate)
{
    texInterp = interpolate;
}

bool OpenGLDrawer::isPowerOfTwo(unsigned int n)
{
    return TextureStore::isPowerOfTwo(n);
}

unsigned int OpenGLDrawer::powerOfTwo(unsigned int n)
{
    return TextureStore::powerOfTwo(n);
}

unsigned int OpenGLDrawer::loadImage(unsigned char* pixels, unsigned int width,
                                     unsigned int height)
{
    return textures.load(pixels, width, height);
}

void OpenGLDrawer::releaseImage(unsigned int id)
{
    textures.release(id);
}

OpenGLDrawer::Image& OpenGLDrawer::findImage(unsigned int id)
{
    const auto it = images.find(id);
    DRAWER_CHECK(it != images.end());
    return it->second;
}

void OpenGLDrawer::drawImage(unsigned int id, float x, float y, float scaleX, float scaleY,
                             float r, float g, float b, float a)
{
    shapes.drawImage(findImage(id), x, y, scaleX, scaleY, r, g, b, a);
}

void OpenGLDrawer::drawImageRot(unsigned int id, float x, float y, float angle, float pivotX,
                                float pivotY, float scaleX, float scaleY)
{
    shapes.drawImageRot(findImage(id), x, y, angle, pivotX, pivotY, scaleX, scaleY);
}

void OpenGLDrawer::fillRect(float x, float y, float w, float h, unsigned char r,
                            unsigned char g, unsigned char b, unsigned char a)
{
    shapes.fillRect(x, y, w, h, r, g, b, a);
}

void OpenGLDrawer::fillGradient(float x, float y, float w, float h, unsigned char r1,
                                unsigned char g1, unsigned char b1, unsigned char a1,
                                unsigned char r2, unsigned char g2, unsigned char b2,
                                unsigned char a2)
{
    shapes.fillGradient(x, y, w, h, r1, g1, b1, a1, r2, g2, b2, a2);
}

void OpenGLDrawer::drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                            float a)
{
    shapes.drawLine(x1, y1, x2, y2, r, g, b, a, lineImage);
}

unsigned int OpenGLDrawer::loadPoly(float* points, int count)
{
    return shapes.loadPoly(points, count);
}

void OpenGLDrawer::drawPoly(unsigned int poly, unsigned int image, float x, float y,
                            float scaleX, float scaleY, float r, float g, float b, float a)
{
    shapes.drawPoly(poly, image, x, y, scaleX, scaleY, r, g, b, a);
}

unsigned int OpenGLDrawer::loadShader(const std::string& vertexFile,
                                      const std::string& fragmentFile)
{
    return shaders.load(vertexFile, fragmentFile);
}

std::string OpenGLDrawer::loadShaderFile(const std::string& path)
{
    return ShaderPrograms::loadFile(path);
}

void OpenGLDrawer::printInfoLog(unsigned int object)
{
    ShaderPrograms::printInfoLog(object);
}

void OpenGLDrawer::useShader(unsigned int program)
{
    frame.flush();
    shaders.use(program);
}

void OpenGLDrawer::useSecondImage(unsigned int id)
{
    secondImage = id;
}

unsigned int OpenGLDrawer::loadFont(const std::string& name, float size)
{
    return textWriter.loadFont(name, size);
}

void OpenGLDrawer::loadGlyph(Glyph glyph, unsigned char* pixels, unsigned int size)
{
    textWriter.loadGlyph(glyph, pixels, size);
}

void OpenGLDrawer::drawText(const std::string& text, float x, float y, float size, float r,
                            float g, float b, float a)
{
    textWriter.drawText(text, x, y, size, r, g, b, a);
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
    textWriter.drawFontText(text, font, x, y, p, scale, r, g, b, a);
}
