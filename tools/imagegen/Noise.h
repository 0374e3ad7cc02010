#pragma once

#include <cstdint>

// Smooth value noise from a fixed seed, the one source of irregularity in the
// generated pictures: the same seed gives the same numbers on every run, so the
// committed images come out byte for byte the same. Integer hashing and plain
// arithmetic only, so nothing hangs on the maths library's rounding.
class Noise {
public:
    explicit Noise(std::uint32_t seed);

    // One value per lattice point, in [-1, 1].
    double hash(int x, int y) const;
    // Interpolated between lattice points (one unit apart), in [-1, 1].
    double value(double x, double y) const;
    // Octaves of value noise, each twice as fine and half as strong, in [-1, 1].
    double fractal(double x, double y, int octaves) const;

private:
    std::uint32_t seed;
};

// Sine and cosine of an angle given in turns (1 turn = 360 degrees), by series:
// exact enough for drawing and the same on every machine.
double sinTurns(double turns);
double cosTurns(double turns);
