#pragma once

#include "VellumDrawingLib/TextureStore.h"

#include <memory>
#include <vector>

class FrameCompositor;
class OpenGLWindow;
class ShaderPrograms;

// Draws the shapes: images (straight, mirrored, turned, with a second image
// laid over), polygons as textured fans, soft lines and filled rectangles and
// gradients, in logical coordinates. It hands FrameCompositor what its cheap
// paths may take (fills over the whole area, an image over a veil) and
// samples the nearest texel where that gives the linear picture. A polygon
// or image it does not hold draws nothing; the caller checks the ids that
// must exist.
class ShapePainter {
public:
    // A polygon as a fan about its centre: element 0 is the centre, the rest
    // the given points; us and vs stretch a texture once over its bounding box.
    struct Polygon {
        std::unique_ptr<float[]> xs;
        std::unique_ptr<float[]> ys;
        std::unique_ptr<float[]> us;
        std::unique_ptr<float[]> vs;
        int count = 0;
    };

    // polygons and secondImage are the holder's fields; the painter fills
    // the one and reads the other.
    ShapePainter(std::vector<Polygon>& polygons, const unsigned int& secondImage,
                 const TextureStore& textures, const ShaderPrograms& shaders,
                 FrameCompositor& frame, const OpenGLWindow& window, short logicalWidth,
                 short logicalHeight);
    ShapePainter(const ShapePainter&) = delete;
    ShapePainter& operator=(const ShapePainter&) = delete;

    void drawImage(TextureStore::Image& image, float x, float y, float scaleX, float scaleY,
                   float r, float g, float b, float a);
    void drawImageRot(const TextureStore::Image& image, float x, float y, float angle,
                      float pivotX, float pivotY, float scaleX, float scaleY);
    void fillRect(float x, float y, float w, float h, unsigned char r, unsigned char g,
                  unsigned char b, unsigned char a);
    void fillGradient(float x, float y, float w, float h, unsigned char r1, unsigned char g1,
                      unsigned char b1, unsigned char a1, unsigned char r2, unsigned char g2,
                      unsigned char b2, unsigned char a2);
    // A line 8 units thick with the soft profile of lineImage across it.
    void drawLine(float x1, float y1, float x2, float y2, float r, float g, float b, float a,
                  unsigned int lineImage);
    // count (x, y) pairs; returns the polygon's index, from 0.
    unsigned int loadPoly(const float* points, int count);
    void drawPoly(unsigned int poly, unsigned int image, float x, float y, float scaleX,
                  float scaleY, float r, float g, float b, float a);

private:
    // Binds the second image to texture unit 1 if one is chosen for this frame.
    void bindSecondImage() const;
    static void unbindTextures();

    std::vector<Polygon>& polygons;
    const unsigned int& secondImage;
    const TextureStore& textures;
    const ShaderPrograms& shaders;
    FrameCompositor& frame;
    const OpenGLWindow& window;
    short logicalWidth;
    short logicalHeight;
};
