// Draws the bitmap font: 42 glyphs of 64 x 64 RGBA, white, the letter in the
// alpha channel, as if written with a round pen by a slightly unsteady hand.
// Each glyph is a few pen strokes; the wobble comes from a fixed seed, so the
// same program always writes the same files. Also writes the 8 x 8 line image
// whose alpha profile gives drawn lines their soft edges.
//
//   BrickVoyagerGlyphs OUTPUT_DIR   writes OUTPUT_DIR/fonts/font*.png and OUTPUT_DIR/line.png
//
// Exits with status 1, naming the file, when a glyph touches its outer rows or
// columns or a file cannot be written.

#include "PngWriter.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int side = 64;
constexpr double pi = 3.14159265358979323846;

struct Point {
    double x;
    double y;
};

using Stroke = std::vector<Point>;

struct Glyph {
    std::string name;
    std::vector<Stroke> strokes;
};

// Glyph coordinates: x 0..1 across the letter, y 0..1 from cap line to base
// line. They map onto pixels 12..52 and 8..56, which leaves room for the pen.
constexpr double left = 12.0, width = 40.0, top = 8.0, height = 48.0;

Point toPixels(Point p)
{
    return {left + p.x * width, top + p.y * height};
}

// Points along an ellipse from angle a0 to a1 in degrees; with y downwards,
// growing angles run clockwise on the screen (0 = right, 90 = bottom).
Stroke arc(double cx, double cy, double rx, double ry, double a0, double a1)
{
    Stroke points;
    const int steps = std::max(4, static_cast<int>(std::fabs(a1 - a0) / 8.0));
    for (int i = 0; i <= steps; ++i) {
        const double t = (a0 + (a1 - a0) * i / steps) * pi / 180.0;
        points.push_back({cx + rx * std::cos(t), cy + ry * std::sin(t)});
    }
    return points;
}

Stroke join(Stroke a, const Stroke& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A pen pressed down and turned once: round, a little bigger than a stroke.
Stroke dot(double x, double y)
{
    return arc(x, y, 0.045, 0.035, 0, 360);
}

std::vector<Glyph> glyphs()
{
    const Stroke bowlP = join(join({{0, 1}, {0, 0}, {0.5, 0}}, arc(0.5, 0.27, 0.47, 0.27, -90, 90)),
                              {{0, 0.54}});
    const Stroke questionHook = join(arc(0.5, 0.26, 0.4, 0.26, -165, 70), {{0.5, 0.6}, {0.5, 0.7}});
    return {
        {"a", {{{0, 1}, {0.5, 0}, {1, 1}}, {{0.2, 0.64}, {0.8, 0.64}}}},
        {"b", {{{0, 0}, {0, 1}},
               join(join({{0, 0}, {0.55, 0}}, arc(0.55, 0.24, 0.38, 0.24, -90, 90)), {{0, 0.48}}),
               join(join({{0, 0.48}, {0.6, 0.48}}, arc(0.6, 0.74, 0.4, 0.26, -90, 90)), {{0, 1}})}},
        {"c", {arc(0.55, 0.5, 0.5, 0.5, -40, -320)}},
        {"d", {{{0, 0}, {0, 1}},
               join(join({{0, 0}, {0.4, 0}}, arc(0.4, 0.5, 0.6, 0.5, -90, 90)), {{0, 1}})}},
        {"e", {{{1, 0}, {0, 0}, {0, 1}, {1, 1}}, {{0, 0.5}, {0.75, 0.5}}}},
        {"f", {{{1, 0}, {0, 0}, {0, 1}}, {{0, 0.5}, {0.75, 0.5}}}},
        {"g", {join(arc(0.5, 0.5, 0.5, 0.5, -40, -360), {{1, 0.95}}), {{0.55, 0.55}, {1, 0.55}}}},
        {"h", {{{0, 0}, {0, 1}}, {{1, 0}, {1, 1}}, {{0, 0.5}, {1, 0.5}}}},
        {"i", {{{0.5, 0}, {0.5, 1}}, {{0.2, 0}, {0.8, 0}}, {{0.2, 1}, {0.8, 1}}}},
        {"j", {{{0.35, 0}, {1, 0}}, join({{0.85, 0}, {0.85, 0.7}}, arc(0.45, 0.7, 0.4, 0.3, 0, 180))}},
        {"k", {{{0, 0}, {0, 1}}, {{1, 0}, {0, 0.62}}, {{0.32, 0.42}, {1, 1}}}},
        {"l", {{{0, 0}, {0, 1}, {0.95, 1}}}},
        {"m", {{{0, 1}, {0, 0}, {0.5, 0.62}, {1, 0}, {1, 1}}}},
        {"n", {{{0, 1}, {0, 0}, {1, 1}, {1, 0}}}},
        {"o", {arc(0.5, 0.5, 0.5, 0.5, 0, 360)}},
        {"p", {bowlP}},
        {"q", {arc(0.5, 0.48, 0.5, 0.48, 0, 360), {{0.6, 0.72}, {1.02, 1.02}}}},
        {"r", {bowlP, {{0.42, 0.54}, {1, 1}}}},
        {"s", {join(arc(0.5, 0.26, 0.45, 0.26, -15, -270), arc(0.5, 0.76, 0.5, 0.24, -90, 165))}},
        {"t", {{{0, 0}, {1, 0}}, {{0.5, 0}, {0.5, 1}}}},
        {"u", {join(join({{0, 0}, {0, 0.62}}, arc(0.5, 0.62, 0.5, 0.38, 180, 0)), {{1, 0}})}},
        {"v", {{{0, 0}, {0.5, 1}, {1, 0}}}},
        {"w", {{{0, 0}, {0.22, 1}, {0.5, 0.35}, {0.78, 1}, {1, 0}}}},
        {"x", {{{0, 0}, {1, 1}}, {{1, 0}, {0, 1}}}},
        {"y", {{{0, 0}, {0.5, 0.5}, {1, 0}}, {{0.5, 0.5}, {0.5, 1}}}},
        {"z", {{{0, 0}, {1, 0}, {0, 1}, {1, 1}}}},
        {"0", {arc(0.5, 0.5, 0.42, 0.5, 0, 360), {{0.3, 0.72}, {0.7, 0.28}}}},
        {"1", {{{0.22, 0.22}, {0.55, 0}, {0.55, 1}}, {{0.22, 1}, {0.88, 1}}}},
        {"2", {join(arc(0.5, 0.3, 0.42, 0.3, -165, 25), {{0.05, 1}, {1, 1}})}},
        {"3", {join(arc(0.5, 0.26, 0.4, 0.26, -155, 90), arc(0.5, 0.75, 0.46, 0.25, -90, 155))}},
        {"4", {{{0.72, 1}, {0.72, 0}, {0, 0.7}, {1, 0.7}}}},
        {"5", {join({{0.9, 0}, {0.16, 0}, {0.11, 0.52}}, arc(0.5, 0.68, 0.45, 0.32, -150, 150))}},
        {"6", {arc(0.5, 0.7, 0.42, 0.3, 0, 360), arc(0.6, 0.7, 0.52, 0.7, -75, -180)}},
        {"7", {{{0, 0}, {1, 0}, {0.35, 1}}}},
        {"8", {arc(0.5, 0.24, 0.36, 0.24, 0, 360), arc(0.5, 0.73, 0.43, 0.27, 0, 360)}},
        {"9", {arc(0.5, 0.3, 0.42, 0.3, 0, 360), arc(0.4, 0.3, 0.52, 0.7, 0, 105)}},
        {"period", {dot(0.5, 0.94)}},
        {"comma", {dot(0.55, 0.86), {{0.56, 0.88}, {0.4, 1.06}}}},
        {"plus", {{{0.5, 0.25}, {0.5, 0.85}}, {{0.18, 0.55}, {0.82, 0.55}}}},
        {"minus", {{{0.18, 0.55}, {0.82, 0.55}}}},
        {"exclaim", {{{0.5, 0}, {0.5, 0.68}}, dot(0.5, 0.94)}},
        {"question", {questionHook, dot(0.5, 0.94)}},
    };
}

// A small fixed-seed generator, so that every run draws the same wobble.
class Random {
public:
    explicit Random(std::uint32_t seed) : state(seed * 2654435761u + 1u) {}
    double next()
    {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return (state & 0xffffff) / double(0x1000000);
    }

private:
    std::uint32_t state;
};

struct PenPoint {
    double x;
    double y;
    double radius;
};

// Resamples a stroke every pixel and lets the hand drift: a slow sideways
// wander and a pen that presses a little harder or softer along the way.
std::vector<PenPoint> wobble(const Stroke& stroke, Random& random)
{
    std::vector<PenPoint> pen;
    double phase[6];
    for (double& p : phase)
        p = random.next() * 2 * pi;
    const double drift = 0.8 + 0.4 * random.next();
    double travelled = 0;
    for (std::size_t i = 0; i + 1 < stroke.size(); ++i) {
        const Point a = toPixels(stroke[i]);
        const Point b = toPixels(stroke[i + 1]);
        const double length = std::hypot(b.x - a.x, b.y - a.y);
        const int steps = std::max(1, static_cast<int>(length));
        for (int s = 0; s <= steps; ++s) {
            const double t = double(s) / steps;
            const double d = travelled + t * length;
            pen.push_back({a.x + (b.x - a.x) * t + drift * std::sin(d / 9.0 + phase[0]) +
                               0.3 * std::sin(d / 3.7 + phase[1]),
                           a.y + (b.y - a.y) * t + drift * std::sin(d / 8.0 + phase[2]) +
                               0.3 * std::sin(d / 4.1 + phase[3]),
                           3.3 + 0.45 * std::sin(d / 11.0 + phase[4]) +
                               0.15 * std::sin(d / 2.9 + phase[5])});
        }
        travelled += length;
    }
    return pen;
}

// How much of the pixel at (px, py) the pen covers, 0..1, from 4 x 4 samples.
double coverage(const std::vector<std::vector<PenPoint>>& strokes, int px, int py)
{
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
            const double x = px + (sx + 0.5) / 4.0, y = py + (sy + 0.5) / 4.0;
            bool hit = false;
            for (const auto& pen : strokes) {
                for (const PenPoint& p : pen)
                    if ((x - p.x) * (x - p.x) + (y - p.y) * (y - p.y) <= p.radius * p.radius) {
                        hit = true;
                        break;
                    }
                if (hit)
                    break;
            }
            inside += hit;
        }
    return inside / 16.0;
}

bool writeGlyph(const std::string& path, const Glyph& glyph, std::uint32_t seed)
{
    Random random(seed);
    std::vector<std::vector<PenPoint>> strokes;
    for (const Stroke& stroke : glyph.strokes)
        strokes.push_back(wobble(stroke, random));
    std::vector<unsigned char> rgba(side * side * 4, 255);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const unsigned char alpha =
                static_cast<unsigned char>(std::lround(coverage(strokes, x, y) * 255.0));
            rgba[(y * side + x) * 4 + 3] = alpha;
            const bool edge = x == 0 || y == 0 || x == side - 1 || y == side - 1;
            if (edge && alpha != 0) {
                std::cout << "BrickVoyagerGlyphs: " << path << " touches the outer rows or columns\n";
                return false;
            }
        }
    return writePng(path, side, side, rgba);
}

// White, with the alpha profile across the columns that soft lines take.
bool writeLineImage(const std::string& path)
{
    const unsigned char profile[8] = {2, 33, 192, 255, 255, 192, 33, 2};
    std::vector<unsigned char> rgba(8 * 8 * 4, 255);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            rgba[(y * 8 + x) * 4 + 3] = profile[x];
    return writePng(path, 8, 8, rgba);
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cout << "usage: BrickVoyagerGlyphs OUTPUT_DIR\n";
        return 1;
    }
    const std::string out = argv[1];
    mkdir((out + "/fonts").c_str(), 0775);
    std::uint32_t seed = 1;
    for (const Glyph& glyph : glyphs()) {
        const std::string path = out + "/fonts/font" + glyph.name + ".png";
        if (!writeGlyph(path, glyph, seed++)) {
            std::cout << "BrickVoyagerGlyphs: could not write " << path << "\n";
            return 1;
        }
    }
    if (!writeLineImage(out + "/line.png")) {
        std::cout << "BrickVoyagerGlyphs: could not write " << out << "/line.png\n";
        return 1;
    }
    std::cout << "BrickVoyagerGlyphs: wrote 42 glyphs and the line image to " << out << "\n";
    return 0;
}
