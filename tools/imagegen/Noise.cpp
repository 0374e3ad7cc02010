#include "Noise.h"

#include <cmath>

namespace {

std::uint32_t mix(std::uint32_t x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

double smooth(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

} // namespace

Noise::Noise(std::uint32_t seed) : seed(mix(seed + 0x9e3779b9U)) {}

double Noise::hash(int x, int y) const
{
    const std::uint32_t h = mix(seed ^ mix(static_cast<std::uint32_t>(x) * 0x8da6b343U ^
                                           mix(static_cast<std::uint32_t>(y) * 0xd8163841U)));
    return double(h) / 2147483647.5 - 1.0;
}

double Noise::value(double x, double y) const
{
    const double fx = std::floor(x);
    const double fy = std::floor(y);
    const int ix = static_cast<int>(fx);
    const int iy = static_cast<int>(fy);
    const double tx = smooth(x - fx);
    const double ty = smooth(y - fy);
    const double a = hash(ix, iy);
    const double b = hash(ix + 1, iy);
    const double c = hash(ix, iy + 1);
    const double d = hash(ix + 1, iy + 1);
    return a + (b - a) * tx + (c - a) * ty + (a - b - c + d) * tx * ty;
}

double Noise::fractal(double x, double y, int octaves) const
{
    double sum = 0.0;
    double amplitude = 1.0;
    double norm = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * value(x, y);
        norm += amplitude;
        amplitude *= 0.5;
        // Shifted so that the octaves' lattices never line up at the origin.
        x = x * 2.0 + 17.31;
        y = y * 2.0 + 5.77;
    }
    return sum / norm;
}

double sinTurns(double turns)
{
    double t = turns - std::floor(turns + 0.5); // [-0.5, 0.5)
    if (t > 0.25)
        t = 0.5 - t;
    else if (t < -0.25)
        t = -0.5 - t;
    const double x = t * 6.283185307179586;
    const double x2 = x * x;
    double term = x;
    double sum = x;
    for (int n = 1; n <= 7; ++n) {
        term *= -x2 / double((2 * n) * (2 * n + 1));
        sum += term;
    }
    return sum;
}

double cosTurns(double turns)
{
    return sinTurns(turns + 0.25);
}
