// Draws the game's desktop icon: a pale green square holding a white block
// with rough, slightly wandering edges and a tiny dark door beside it. The
// roughness comes from a fixed hash, so the same program always writes the
// same files.
//
//   BrickVoyagerIconGen OUTPUT_DIR   writes OUTPUT_DIR/icons/<size>/BrickVoyager.png
//
// Exits with status 1, naming the file, when a file cannot be written.

#include "PngWriter.h"

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace {

const unsigned int sizes[] = {48, 64, 128, 256};

struct Colour {
    unsigned char r, g, b, a;
};

const Colour ground = {205, 232, 190, 255};
const Colour groundEdge = {178, 212, 160, 255};
const Colour block = {252, 252, 248, 255};
const Colour door = {48, 52, 58, 255};

// A smooth wobble in -1..1 along an edge, the same for every size: a few
// hashed control points joined by cosine steps.
double wobble(double along, unsigned int edge)
{
    const int points = 7;
    const double position = along * points;
    const int index = static_cast<int>(std::floor(position));
    auto hashed = [edge](int i) {
        std::uint32_t h = static_cast<std::uint32_t>(i) * 2654435761u ^ (edge * 40503u + 977u);
        h ^= h >> 15;
        h *= 2246822519u;
        h ^= h >> 13;
        return (h & 0xffff) / 32767.5 - 1.0;
    };
    const double t = (1.0 - std::cos((position - index) * 3.14159265358979)) / 2.0;
    return hashed(index) * (1.0 - t) + hashed(index + 1) * t;
}

// Icon coordinates run 0..1 across and down.
bool insideBlock(double x, double y)
{
    const double roughness = 0.018;
    const double left = 0.14 + roughness * wobble(y, 1);
    const double right = 0.62 + roughness * wobble(y, 2);
    const double top = 0.36 + roughness * wobble(x, 3);
    const double bottom = 0.86 + roughness * wobble(x, 4);
    return x > left && x < right && y > top && y < bottom;
}

bool insideDoor(double x, double y)
{
    const double left = 0.71, right = 0.83, top = 0.64, bottom = 0.86;
    if (x <= left || x >= right || y >= bottom)
        return false;
    // A round top, like an arch.
    const double centreX = (left + right) / 2, radius = (right - left) / 2;
    if (y < top + radius)
        return std::hypot(x - centreX, y - (top + radius)) < radius;
    return true;
}

Colour colourAt(double x, double y, double pixel)
{
    const double border = std::max(pixel, 0.02);
    if (x < border || y < border || x > 1 - border || y > 1 - border)
        return groundEdge;
    if (insideBlock(x, y))
        return block;
    if (insideDoor(x, y))
        return door;
    return ground;
}

// Four samples a pixel keep the rough edges from stair-stepping.
std::vector<unsigned char> draw(unsigned int side)
{
    std::vector<unsigned char> rgba(side * side * 4);
    const double pixel = 1.0 / side;
    for (unsigned int row = 0; row < side; ++row) {
        for (unsigned int column = 0; column < side; ++column) {
            double sum[4] = {0, 0, 0, 0};
            for (int sample = 0; sample < 4; ++sample) {
                const double x = (column + 0.25 + 0.5 * (sample % 2)) * pixel;
                const double y = (row + 0.25 + 0.5 * (sample / 2)) * pixel;
                const Colour colour = colourAt(x, y, pixel);
                sum[0] += colour.r;
                sum[1] += colour.g;
                sum[2] += colour.b;
                sum[3] += colour.a;
            }
            unsigned char* out = &rgba[(row * side + column) * 4];
            for (int channel = 0; channel < 4; ++channel)
                out[channel] = static_cast<unsigned char>(std::lround(sum[channel] / 4));
        }
    }
    return rgba;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cout << "usage: BrickVoyagerIconGen OUTPUT_DIR" << std::endl;
        return 1;
    }
    const std::string icons = std::string(argv[1]) + "/icons";
    mkdir(icons.c_str(), 0755);
    for (const unsigned int side : sizes) {
        const std::string folder = icons + "/" + std::to_string(side) + "x" + std::to_string(side);
        mkdir(folder.c_str(), 0755);
        const std::string file = folder + "/BrickVoyager.png";
        if (!writePng(file, side, side, draw(side))) {
            std::cout << "BrickVoyagerIconGen: Could not write " << file << std::endl;
            return 1;
        }
    }
    return 0;
}
