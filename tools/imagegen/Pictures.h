#pragma once

#include "Canvas.h"

#include <cstdint>
#include <string>

// The game's still pictures, each made from a seed so that a second variant
// of the same picture can differ from the first only where it should.
namespace Pictures {

// Black, clear in the middle, darkening smoothly to about alpha 128 at the
// middle of each edge (more in the corners). Frames differ by a little.
Canvas vignette(int width, int height, int frame);

// A white slab, mostly but never wholly opaque, with rough, brushed edges
// whose rim holds a little more white and a faint grey line just outside, like
// paint drying at the edge of a wash. Variants share the body and differ in the
// fine roughness of the edge.
Canvas block(int width, int height, std::uint32_t seed, int variant);

// A dark, nearly opaque panel with vertical brush marks and rough edges.
Canvas door(int width, int height);

// Black hand lettering on a transparent ground.
Canvas words(const std::string& text, int width, int height, double xHeight,
             double brushRadius, std::uint32_t seed);

} // namespace Pictures
