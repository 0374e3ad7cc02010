#include "Pictures.h"

#include "Lettering.h"
#include "Noise.h"

#include <algorithm>
#include <cmath>

namespace {

double clamp01(double v)
{
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

// How the edge of a hand-painted rectangle wanders: slow swells plus a fine
// roughness, per side. `inset` is where the edge lies on average.
struct RoughEdges {
    const Noise& slow;
    const Noise& fine;
    double inset;
    double slowAmount;
    double slowLength;
    double fineAmount;
    double fineLength;

    double offset(int side, double along) const
    {
        return inset + slowAmount * slow.fractal(along / slowLength, side * 11.1, 3) +
               fineAmount * fine.fractal(along / fineLength, side * 7.3, 2);
    }

    // Distance in pixels inside the shape (negative outside), corners rounded.
    double inside(double x, double y, double width, double height, double cornerRadius) const
    {
        const double dx = std::min(x - offset(0, y), width - offset(1, y) - x);
        const double dy = std::min(y - offset(2, x), height - offset(3, x) - y);
        if (dx < cornerRadius && dy < cornerRadius) {
            const double ex = cornerRadius - dx;
            const double ey = cornerRadius - dy;
            return cornerRadius - std::sqrt(ex * ex + ey * ey);
        }
        return std::min(dx, dy);
    }
};

} // namespace

namespace Pictures {

Canvas vignette(int width, int height, int frame)
{
    const Noise cloud(4100 + std::uint32_t(frame));
    const double clearTo = frame == 0 ? 0.42 : 0.45;
    Canvas canvas(width, height, 0.0f, 0.0f, 0.0f);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double nx = (x + 0.5 - width / 2.0) / (width / 2.0);
            const double ny = (y + 0.5 - height / 2.0) / (height / 2.0);
            const double d = std::sqrt(nx * nx + ny * ny);
            const double t = clamp01((d - clearTo) / (1.0 - clearTo));
            double shade = t * t * (1.6 - 0.6 * t); // eases in, reaches 1 at the edge
            if (d > 1.0)
                shade += 0.55 * (d - 1.0); // corners a little deeper still
            shade *= 1.0 + 0.07 * cloud.fractal(x / 260.0, y / 260.0, 3);
            canvas.setAlpha(x, y, float(std::min(shade * 128.0, 200.0) / 255.0));
        }
    return canvas;
}

Canvas block(int width, int height, std::uint32_t seed, int variant)
{
    const Noise slow(seed);
    const Noise fine(seed + 100 + std::uint32_t(variant));
    const Noise body(seed + 7);
    const Noise dry(seed + 200 + std::uint32_t(variant));
    const RoughEdges edges{slow, fine, 7.5, 3.2, 70.0, 1.4, 6.5};
    // A thin grey line just outside the edge, as if the wash had pooled a
    // little darker where it dried: it keeps the outline readable when the
    // whole picture lies under a grey veil. Softly peaked, never quite dark.
    const double lineGrey = 0.32;
    const double lineStrength = 0.42;
    const double lineCentre = -1.4;
    const double lineHalfWidth = 2.2;
    Canvas canvas(width, height, 1.0f, 1.0f, 1.0f);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double d = edges.inside(x + 0.5, y + 0.5, width, height, 9.0);
            const double t = (d - lineCentre) / lineHalfWidth;
            const double line = std::fabs(t) < 1.0
                                    ? lineStrength * (1.0 - t * t) * (1.0 - t * t) *
                                          (0.8 + 0.2 * slow.fractal(x / 9.0 + 60.0, y / 9.0, 2))
                                    : 0.0;
            const double cover = clamp01(d / 1.3 + 0.5);
            if (cover <= 0.0 && line <= 0.0)
                continue;
            const double inner = std::max(d, 0.0);
            const double rim = 0.15 / (1.0 + (inner / 2.6) * (inner / 2.6));
            // A wash laid with a broad brush: slow clouds and faint horizontal sweeps.
            const double wash = 0.83 + 0.07 * body.fractal(x / 150.0, y / 150.0, 3) +
                                0.045 * body.fractal(x / 380.0 + 40.0, y / 7.0, 2);
            // Near the edge the brush skipped a little here and there.
            const double skip = clamp01((dry.fractal(x / 3.5, y / 3.5, 2) - 0.3) * 3.0) *
                                clamp01(1.0 - inner / 6.0) * 0.45;
            const double white = cover * std::min(wash + rim, 1.0) * (1.0 - skip);
            // The white lies over the line: straight colour of one over the other.
            const double alpha = white + line * (1.0 - white);
            const double shade = alpha >= 0.5 / 255.0 ? (white + line * (1.0 - white) * lineGrey) / alpha : 1.0;
            canvas.set(x, y, float(shade), float(shade), float(shade), float(alpha));
        }
    return canvas;
}

Canvas door(int width, int height)
{
    const Noise slow(5100);
    const Noise fine(5101);
    const Noise marks(5102);
    const RoughEdges edges{slow, fine, 2.2, 0.8, 18.0, 0.5, 3.5};
    const float base[3] = {40 / 255.0f, 36 / 255.0f, 50 / 255.0f};
    Canvas canvas(width, height, base[0], base[1], base[2]);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const double d = edges.inside(x + 0.5, y + 0.5, width, height, 3.0);
            const double cover = clamp01(d / 1.2 + 0.5);
            const float light = float(0.045 * marks.fractal(x / 2.5, y / 30.0, 2) +
                                      0.02 * marks.fractal(x / 20.0 + 9.0, y / 20.0, 2));
            const double opacity = 0.955 + 0.035 * marks.fractal(x / 6.0 + 30.0, y / 6.0, 2);
            canvas.set(x, y, base[0] + light, base[1] + light, base[2] + light, float(cover * opacity));
        }
    return canvas;
}

Canvas words(const std::string& text, int width, int height, double xHeight,
             double brushRadius, std::uint32_t seed)
{
    const std::vector<float> ink = Lettering(seed).render(text, width, height, xHeight, brushRadius);
    Canvas canvas(width, height, 0.0f, 0.0f, 0.0f);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            canvas.setAlpha(x, y, ink[std::size_t(y) * width + x]);
    return canvas;
}

} // namespace Pictures
