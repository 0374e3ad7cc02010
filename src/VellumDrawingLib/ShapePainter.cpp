#include "VellumDrawingLib/ShapePainter.h"

#include "VellumDrawingLib/FrameCompositor.h"
#include "VellumDrawingLib/OpenGLWindow.h"
#include "VellumDrawingLib/ShaderPrograms.h"

#include <GL/glew.h>

#include <cmath>

namespace {

// An image's quad: its corners in logical units and where its picture ends
// in the texture.
struct ImageQuad {
    float left, top, right, bottom, maxU, maxV;
};

// Both texture units get the image's coordinates, for a second image laid
// over it.
void drawImageQuad(const ImageQuad& q)
{
    const auto corner = [](float u, float v, float px, float py) {
        glMultiTexCoord2fARB(GL_TEXTURE0_ARB, u, v);
        glMultiTexCoord2fARB(GL_TEXTURE1_ARB, u, v);
        glVertex2f(px, py);
    };
    glBegin(GL_QUADS);
    corner(0.0f, 0.0f, q.left, q.top);
    corner(q.maxU, 0.0f, q.right, q.top);
    corner(q.maxU, q.maxV, q.right, q.bottom);
    corner(0.0f, q.maxV, q.left, q.bottom);
    glEnd();
}

} // namespace

ShapePainter::ShapePainter(std::vector<Polygon>& polygons, const unsigned int& secondImage,
                           const TextureStore& textures, const ShaderPrograms& shaders,
                           FrameCompositor& frame, const OpenGLWindow& window,
                           short logicalWidth, short logicalHeight)
    : polygons(polygons), secondImage(secondImage), textures(textures), shaders(shaders),
      frame(frame), window(window), logicalWidth(logicalWidth), logicalHeight(logicalHeight)
{
}

void ShapePainter::bindSecondImage() const
{
    const TextureStore::Image* second = secondImage == 0 ? nullptr : textures.lookUp(secondImage);
    if (!second)
        return;
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, second->texture);
    shaders.pointSecondAtUnit1();
}

void ShapePainter::unbindTextures()
{
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void ShapePainter::drawImage(TextureStore::Image& image, float x, float y, float scaleX,
                             float scaleY, float r, float g, float b, float a)
{
    const bool plainState = window.drawsWholeArea() && !shaders.inUse() && secondImage == 0;
    // An untinted image over the whole area takes the veils held under it
    // into its own single pass.
    const bool overWholeArea = plainState && r == 1.0f && g == 1.0f && b == 1.0f && a == 1.0f &&
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
    const bool onTexelCentres = frame.drawsOneToOne() && plainState &&
                                std::fabs(scaleX) == 1.0f && scaleY == 1.0f &&
                                x == std::floor(x) && y == std::floor(y);
    if (image.linear && image.sampledNearest != onTexelCentres) {
        const GLint filter = onTexelCentres ? GL_NEAREST : GL_LINEAR;
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
        image.sampledNearest = onTexelCentres;
    }
    shaders.pointBaseAtUnit0();
    bindSecondImage();

    const ImageQuad quad{x, y, x + image.width * scaleX, y + image.height * scaleY, image.maxU,
                         image.maxV};
    glColor4f(r, g, b, a);
    if (veil.kind == FillComposer::Layer::Blend)
        FrameCompositor::drawImageOverVeil(veil, [&quad] { drawImageQuad(quad); });
    else
        drawImageQuad(quad);
    unbindTextures();
}

void ShapePainter::drawImageRot(const TextureStore::Image& image, float x, float y, float angle,
                                float pivotX, float pivotY, float scaleX, float scaleY)
{
    frame.flush();
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

void ShapePainter::fillRect(float x, float y, float w, float h, unsigned char r,
                            unsigned char g, unsigned char b, unsigned char a)
{
    // With blending always on, a clear fill changes no pixel.
    if (a == 0 && !frame.isPlain())
        return;
    const bool whole = window.drawsWholeArea() && !shaders.inUse() && x <= 0.0f && y <= 0.0f &&
                       x + w >= logicalWidth && y + h >= logicalHeight;
    if (whole && frame.absorbFill(r, g, b, a))
        return;
    frame.flush();
    // Untextured: with texturing on, a unit without a texture samples
    // nothing in desktop OpenGL but black in WebGL.
    glDisable(GL_TEXTURE_2D);
    glColor4ub(r, g, b, a);
    glBegin(GL_QUADS);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void ShapePainter::fillGradient(float x, float y, float w, float h, unsigned char r1,
                                unsigned char g1, unsigned char b1, unsigned char a1,
                                unsigned char r2, unsigned char g2, unsigned char b2,
                                unsigned char a2)
{
    frame.flush();
    glDisable(GL_TEXTURE_2D);
    glBegin(GL_QUADS);
    glColor4ub(r1, g1, b1, a1);
    glVertex2f(x, y);
    glVertex2f(x + w, y);
    glColor4ub(r2, g2, b2, a2);
    glVertex2f(x + w, y + h);
    glVertex2f(x, y + h);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

void ShapePainter::drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                            float a, unsigned int lineImage)
{
    frame.flush();
    const float dx = x2 - x1, dy = y2 - y1;
    const float length = std::sqrt(dx * dx + dy * dy);
    const TextureStore::Image* line = textures.lookUp(lineImage);
    // Coinciding ends have no direction to be thick across.
    if (length == 0.0f || !line)
        return;
    const float nx = -dy / length * 4.0f, ny = dx / length * 4.0f;

    glBindTexture(GL_TEXTURE_2D, line->texture);
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

unsigned int ShapePainter::loadPoly(const float* points, int count)
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

void ShapePainter::drawPoly(unsigned int poly, unsigned int image, float x, float y,
                            float scaleX, float scaleY, float r, float g, float b, float a)
{
    frame.flush();
    const TextureStore::Image* texture = textures.lookUp(image);
    if (!texture || poly >= polygons.size())
        return;
    const Polygon& polygon = polygons[poly];

    glActiveTextureARB(GL_TEXTURE0_ARB);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture->texture);
    shaders.pointBaseAtUnit0();
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
