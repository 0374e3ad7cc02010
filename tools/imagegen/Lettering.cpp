#include "Lettering.h"

#include "Noise.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

struct Point {
    double x;
    double y;
};

using Stroke = std::vector<Point>;

struct Glyph {
    double advance = 0.0;
    std::vector<Stroke> strokes;
};

// Lowercase letters are one unit tall; capitals and ascenders reach about 1.6,
// descenders about -0.6. y grows upwards here.
constexpr double capHeight = 1.55;
constexpr double ascender = 1.6;
constexpr double descender = -0.6;
constexpr double letterGap = 0.13;

Stroke arc(double cx, double cy, double rx, double ry, double fromTurns, double toTurns)
{
    Stroke points;
    const int steps = std::max(3, int(std::fabs(toTurns - fromTurns) * 16.0 + 0.5));
    for (int i = 0; i <= steps; ++i) {
        const double t = fromTurns + (toTurns - fromTurns) * i / steps;
        points.push_back({cx + rx * cosTurns(t), cy + ry * sinTurns(t)});
    }
    return points;
}

Stroke join(Stroke a, const Stroke& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Glyph glyphFor(char c)
{
    // The round body shared by a, d, g: open at the right, where the stem is.
    const Stroke bowl = arc(0.42, 0.49, 0.36, 0.47, 0.06, 0.98);
    switch (c) {
    case ' ':
        return {0.45, {}};
    case 'B':
        return {1.0,
                {{{0.12, capHeight}, {0.10, 0.75}, {0.12, 0.0}},
                 {{0.10, capHeight}, {0.50, 1.56}, {0.74, 1.40}, {0.74, 1.04}, {0.48, 0.86}, {0.14, 0.84}},
                 {{0.16, 0.86}, {0.58, 0.86}, {0.86, 0.64}, {0.84, 0.20}, {0.56, 0.01}, {0.10, 0.02}}}};
    case 'V':
        return {1.05,
                {{{0.0, 1.56}, {0.26, 0.78}, {0.50, 0.0}},
                 {{0.50, 0.0}, {0.76, 0.80}, {1.04, 1.58}}}};
    case 'a':
        return {0.92, {bowl, {{0.80, 0.96}, {0.79, 0.40}, {0.82, 0.06}, {0.92, 0.0}}}};
    case 'c':
        return {0.8, {arc(0.42, 0.49, 0.38, 0.48, 0.10, 0.88)}};
    case 'd':
        return {0.92, {bowl, {{0.80, ascender}, {0.79, 0.60}, {0.82, 0.06}, {0.92, 0.0}}}};
    case 'e':
        return {0.86, {join({{0.06, 0.50}, {0.44, 0.52}}, arc(0.43, 0.49, 0.38, 0.48, 0.0, 0.87))}};
    case 'g':
        return {0.92, {bowl, join({{0.80, 0.96}, {0.80, 0.30}}, arc(0.46, -0.26, 0.34, 0.30, 0.0, -0.45))}};
    case 'i':
        return {0.36, {{{0.15, 0.96}, {0.14, 0.45}, {0.16, 0.0}}, {{0.13, 1.34}, {0.17, 1.40}}}};
    case 'k':
        return {0.82,
                {{{0.12, ascender}, {0.10, 0.80}, {0.12, 0.0}},
                 {{0.70, 0.98}, {0.40, 0.68}, {0.13, 0.42}},
                 {{0.32, 0.58}, {0.55, 0.28}, {0.78, 0.0}}}};
    case 'n':
        return {0.9,
                {{{0.12, 0.98}, {0.11, 0.50}, {0.12, 0.0}},
                 {{0.12, 0.62}, {0.30, 0.90}, {0.52, 0.98}, {0.72, 0.86}, {0.78, 0.58}, {0.78, 0.0}}}};
    case 'o':
        return {0.9, {arc(0.44, 0.49, 0.40, 0.48, 0.30, 1.36)}};
    case 'p':
        return {0.92,
                {{{0.12, 0.98}, {0.11, 0.20}, {0.12, descender}},
                 arc(0.48, 0.49, 0.36, 0.47, 0.55, 1.48)}};
    case 'r':
        return {0.68,
                {{{0.12, 0.98}, {0.11, 0.50}, {0.12, 0.0}},
                 {{0.12, 0.60}, {0.28, 0.88}, {0.48, 0.98}, {0.66, 0.90}}}};
    case 's':
        return {0.76,
                {{{0.68, 0.86}, {0.48, 0.98}, {0.22, 0.94}, {0.10, 0.74}, {0.26, 0.55},
                  {0.52, 0.45}, {0.68, 0.27}, {0.60, 0.07}, {0.34, 0.0}, {0.06, 0.12}}}};
    case 't':
        return {0.66,
                {{{0.30, 1.40}, {0.29, 0.60}, {0.30, 0.15}, {0.42, 0.0}, {0.62, 0.06}},
                 {{0.02, 0.93}, {0.34, 0.95}, {0.64, 0.96}}}};
    case 'y':
        return {0.86,
                {{{0.04, 0.98}, {0.24, 0.50}, {0.46, 0.04}},
                 {{0.84, 0.98}, {0.60, 0.40}, {0.40, -0.28}, {0.22, -0.56}, {0.02, -0.50}}}};
    default:
        throw std::invalid_argument(std::string("Lettering: no strokes for '") + c + "'");
    }
}

// Catmull-Rom through the points (ends repeated), finely sampled.
Stroke smoothPath(const Stroke& points)
{
    if (points.size() < 2)
        return points;
    Stroke path;
    const int n = int(points.size());
    for (int i = 0; i + 1 < n; ++i) {
        const Point& p0 = points[std::max(i - 1, 0)];
        const Point& p1 = points[i];
        const Point& p2 = points[i + 1];
        const Point& p3 = points[std::min(i + 2, n - 1)];
        for (int s = 0; s < 32; ++s) {
            const double t = s / 32.0;
            const double t2 = t * t;
            const double t3 = t2 * t;
            auto blend = [&](double a, double b, double c, double d) {
                return 0.5 * (2 * b + (-a + c) * t + (2 * a - 5 * b + 4 * c - d) * t2 +
                              (-a + 3 * b - 3 * c + d) * t3);
            };
            path.push_back({blend(p0.x, p1.x, p2.x, p3.x), blend(p0.y, p1.y, p2.y, p3.y)});
        }
    }
    path.push_back(points.back());
    return path;
}

double clamp01(double v)
{
    return v < 0.0 ? 0.0 : (v > 1.0 ? 1.0 : v);
}

class Brush {
public:
    Brush(std::vector<float>& cover, int width, int height)
        : cover(cover), width(width), height(height) {}

    // A round dab with a soft edge one pixel wide; overlapping dabs keep the
    // stronger ink, so a stroke has no darker seams where it crosses itself.
    void dab(double cx, double cy, double r)
    {
        const int x0 = std::max(0, int(std::floor(cx - r - 1)));
        const int x1 = std::min(width - 1, int(std::ceil(cx + r + 1)));
        const int y0 = std::max(0, int(std::floor(cy - r - 1)));
        const int y1 = std::min(height - 1, int(std::ceil(cy + r + 1)));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                const double dx = x + 0.5 - cx;
                const double dy = y + 0.5 - cy;
                const float c = float(clamp01(r - std::sqrt(dx * dx + dy * dy) + 0.5));
                float& target = cover[std::size_t(y) * width + x];
                target = std::max(target, c);
            }
    }

private:
    std::vector<float>& cover;
    const int width;
    const int height;
};

} // namespace

Lettering::Lettering(std::uint32_t seed) : seed(seed) {}

std::vector<float> Lettering::render(const std::string& text, int width, int height,
                                     double xHeight, double brushRadius) const
{
    std::vector<Glyph> glyphs;
    double total = 0.0;
    for (char c : text) {
        glyphs.push_back(glyphFor(c));
        total += glyphs.back().advance;
    }
    total += letterGap * double(glyphs.size() > 0 ? glyphs.size() - 1 : 0);

    const Noise hand(seed);
    const Noise wobble(seed + 1);
    const Noise ink(seed + 2);
    std::vector<float> cover(std::size_t(width) * height, 0.0f);
    Brush brush(cover, width, height);

    // The words sit centred: the middle of ascender to descender on the middle row.
    double penX = (width - total * xHeight) / 2.0;
    const double baseline = height / 2.0 + (ascender + descender) / 2.0 * xHeight;
    int strokeIndex = 0;
    for (std::size_t g = 0; g < glyphs.size(); ++g) {
        const Glyph& glyph = glyphs[g];
        // Each letter a little turned, grown or dropped, as by hand.
        const double turn = 0.011 * hand.hash(int(g), 0);
        const double grow = 1.0 + 0.035 * hand.hash(int(g), 1);
        const double drop = 0.05 * hand.hash(int(g), 2) * xHeight;
        const double shift = 0.025 * hand.hash(int(g), 3) * xHeight;
        const double c = cosTurns(turn);
        const double s = sinTurns(turn);
        const double pivot = glyph.advance / 2.0;
        for (const Stroke& stroke : glyph.strokes) {
            ++strokeIndex;
            Stroke pixels;
            for (const Point& p : stroke) {
                const double gx = (p.x - pivot) * grow;
                const double gy = p.y * grow;
                const double rx = gx * c - gy * s + pivot;
                const double ry = gx * s + gy * c;
                pixels.push_back({penX + shift + rx * xHeight, baseline + drop - ry * xHeight});
            }
            const Stroke path = smoothPath(pixels);
            std::vector<double> along(path.size(), 0.0);
            for (std::size_t i = 1; i < path.size(); ++i)
                along[i] = along[i - 1] + std::hypot(path[i].x - path[i - 1].x, path[i].y - path[i - 1].y);
            const double length = along.back();

            std::size_t segment = 0;
            const double step = 0.3;
            for (double d = 0.0; d <= length; d += step) {
                while (segment + 2 < path.size() && along[segment + 1] < d)
                    ++segment;
                const Point& a = path[segment];
                const Point& b = path[segment + 1];
                const double span = std::max(1e-9, along[segment + 1] - along[segment]);
                const double t = clamp01((d - along[segment]) / span);
                const double tx = (b.x - a.x) / span;
                const double ty = (b.y - a.y) / span;
                const double sway = 0.03 * xHeight * wobble.fractal(d / (0.7 * xHeight), strokeIndex * 7.3, 3);
                const double x = a.x + (b.x - a.x) * t - ty * sway;
                const double y = a.y + (b.y - a.y) * t + tx * sway;
                const double u = length > 0.0 ? d / length : 0.5;
                const double pressure = (0.55 + 0.45 * clamp01(u / 0.14)) * (0.7 + 0.3 * clamp01((1.0 - u) / 0.18));
                const double downward = 0.8 + 0.3 * clamp01(ty);
                const double grain = 1.0 + 0.07 * wobble.fractal(d / 6.0, strokeIndex * 3.1 + 50.0, 2);
                brush.dab(x, y, brushRadius * pressure * downward * grain);
            }
        }
        penX += (glyph.advance + letterGap) * xHeight;
    }

    // Ink lies a little unevenly, never so thin that a letter breaks.
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            float& v = cover[std::size_t(y) * width + x];
            v *= float(0.93 + 0.07 * ink.fractal(x / 9.0, y / 9.0, 2));
        }
    return cover;
}
