#include "Canvas.h"

#include <cmath>

Canvas::Canvas(int width, int height, float r, float g, float b)
    : width(width), height(height), pixels(std::size_t(width) * height * 4)
{
    for (std::size_t i = 0; i < pixels.size(); i += 4) {
        pixels[i] = r;
        pixels[i + 1] = g;
        pixels[i + 2] = b;
        pixels[i + 3] = 0.0f;
    }
}

void Canvas::set(int x, int y, float r, float g, float b, float a)
{
    float* p = &pixels[(std::size_t(y) * width + x) * 4];
    p[0] = r;
    p[1] = g;
    p[2] = b;
    p[3] = a;
}

void Canvas::setAlpha(int x, int y, float a)
{
    pixels[(std::size_t(y) * width + x) * 4 + 3] = a;
}

float Canvas::alpha(int x, int y) const
{
    return pixels[(std::size_t(y) * width + x) * 4 + 3];
}

std::vector<unsigned char> Canvas::bytes() const
{
    std::vector<unsigned char> out(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        const float v = pixels[i] < 0.0f ? 0.0f : (pixels[i] > 1.0f ? 1.0f : pixels[i]);
        out[i] = static_cast<unsigned char>(std::lround(v * 255.0f));
    }
    return out;
}
