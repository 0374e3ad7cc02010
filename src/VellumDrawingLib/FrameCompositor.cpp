#include "VellumDrawingLib/FrameCompositor.h"

#include "platform/Environment.h"

#include <GL/glew.h>


namespace {

void clearTo(float r, float g, float b, GLbitfield extra = 0)
{
    glClearColor(r, g, b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | extra);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
}

void clearRectangle(int x, int y, int w, int h)
{
    if (w <= 0 || h <= 0)
        return;
    glScissor(x, y, w, h);
    glClear(GL_COLOR_BUFFER_BIT);
}

} // namespace

bool FrameCompositor::plainDrawingAsked()
{
    return Environment::isOn("BV_PLAIN_DRAWING");
}

FrameCompositor::FrameCompositor(const OpenGLWindow& window, const DriverAbilities& driver,
                                 int logicalWidth, int logicalHeight)
    : window(window), driver(driver), logicalWidth(logicalWidth), logicalHeight(logicalHeight),
      offscreen(logicalWidth, logicalHeight), plain(plainDrawingAsked())
{
}

FrameCompositor::Area FrameCompositor::beginFrame()
{
    finished = false;
    // Drawing at the logical size pays only where the window shows more pixels.
    const bool wanted = !plain && window.getFitted().w > logicalWidth;
    offscreenNow = wanted && offscreen.bind();
    if (!offscreenNow)
        offscreen.unbind();
    const Area area = drawingArea();
    glViewport(area.x, area.y, area.w, area.h);
    // Cleared at once rather than held: another drawer on the same context
    // may draw before this one does anything more.
    fills.take();
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    return area;
}

FrameCompositor::Area FrameCompositor::drawingArea() const
{
    if (offscreenNow)
        return Area{0, 0, logicalWidth, logicalHeight};
    return window.getFitted();
}

bool FrameCompositor::absorbFill(unsigned char r, unsigned char g, unsigned char b,
                                 unsigned char a)
{
    if (plain || finished)
        return false;
    fills.add(r, g, b, a);
    return true;
}

void FrameCompositor::flush()
{
    const FillComposer::Layer layer = fills.take();
    if (layer.kind == FillComposer::Layer::Clear) {
        clearArea(layer.r, layer.g, layer.b);
    } else if (layer.kind == FillComposer::Layer::Blend) {
        // Untextured: with texturing on, a unit without a texture samples
        // nothing in desktop OpenGL but black in WebGL.
        glDisable(GL_TEXTURE_2D);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glColor4f(layer.r, layer.g, layer.b, layer.a);
        glBegin(GL_QUADS);
        glVertex2f(0.0f, 0.0f);
        glVertex2f(static_cast<float>(logicalWidth), 0.0f);
        glVertex2f(static_cast<float>(logicalWidth), static_cast<float>(logicalHeight));
        glVertex2f(0.0f, static_cast<float>(logicalHeight));
        glEnd();
        glEnable(GL_TEXTURE_2D);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
}

FillComposer::Layer FrameCompositor::takeVeil()
{
    if (fills.held().kind == FillComposer::Layer::Blend && driver.combinesTextures())
        return fills.take();
    flush();
    return FillComposer::Layer{};
}

void FrameCompositor::drawImageOverVeil(const FillComposer::Layer& veil,
                                        const std::function<void()>& drawQuad)
{
    // Colour: image x image alpha + veil x (1 - image alpha); alpha: image
    // alpha + veil alpha x (1 - image alpha); the veil's colour is already
    // premultiplied, so the sum is added to what lies below, kept as much as
    // neither covers.
    const GLfloat opaque[4] = {0.0f, 0.0f, 0.0f, 1.0f};
    glTexEnvfv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_COLOR, opaque);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB, GL_INTERPOLATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_RGB, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_RGB, GL_SRC_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_RGB, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_ALPHA, GL_INTERPOLATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE0_ALPHA, GL_CONSTANT);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND0_ALPHA, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE1_ALPHA, GL_PRIMARY_COLOR);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND1_ALPHA, GL_SRC_ALPHA);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_ALPHA, GL_TEXTURE);
    glTexEnvi(GL_TEXTURE_ENV, GL_OPERAND2_ALPHA, GL_SRC_ALPHA);
    glColor4f(veil.r, veil.g, veil.b, veil.a);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    drawQuad();
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}

void FrameCompositor::clearArea(float r, float g, float b)
{
    const Area area = drawingArea();
    const bool bars = !offscreenNow && (area.x > 0 || area.y > 0 ||
                                        area.w < window.getScreenWidth() ||
                                        area.h < window.getScreenHeight());
    if (!bars && !offscreenNow) {
        clearTo(r, g, b, GL_DEPTH_BUFFER_BIT);
        return;
    }
    if (bars)
        clearTo(0.0f, 0.0f, 0.0f, GL_DEPTH_BUFFER_BIT);
    if (bars && r == 0.0f && g == 0.0f && b == 0.0f)
        return;
    glEnable(GL_SCISSOR_TEST);
    glScissor(area.x, area.y, area.w, area.h);
    clearTo(r, g, b);
    glDisable(GL_SCISSOR_TEST);
}

void FrameCompositor::finishFrame()
{
    if (finished)
        return;
    flush();
    finished = true;
    if (offscreenNow) {
        offscreenNow = false;
        offscreen.unbind();
        const Area fitted = window.getFitted();
        const int windowWidth = window.getScreenWidth(), windowHeight = window.getScreenHeight();
        // The bars beside the fitted area, black.
        glEnable(GL_SCISSOR_TEST);
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        clearRectangle(0, 0, fitted.x, windowHeight);
        clearRectangle(fitted.x + fitted.w, 0, windowWidth - fitted.x - fitted.w, windowHeight);
        clearRectangle(fitted.x, 0, fitted.w, fitted.y);
        clearRectangle(fitted.x, fitted.y + fitted.h, fitted.w, windowHeight - fitted.y - fitted.h);
        glDisable(GL_SCISSOR_TEST);
        offscreen.present(fitted.x, fitted.y, fitted.w, fitted.h);
    }
    glFinish();
}

bool FrameCompositor::drawsOneToOne() const
{
    const Area area = drawingArea();
    return !plain && area.w == logicalWidth && area.h == logicalHeight;
}

void FrameCompositor::adoptContext()
{
    offscreenNow = false;
    finished = true;
    fills.take();
    offscreen.adoptContext();
}
