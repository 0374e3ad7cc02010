#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Hand-lettered words. Each letter is a few pen strokes through control
// points, in units of the lowercase letters' height; a stroke is drawn as a
// round brush that wobbles a little, presses harder in its middle and on its
// way down, and thins where it starts and lifts. Every letter sits a little
// askew, as a hand would set it. A letter without strokes here throws
// std::invalid_argument.
class Lettering {
public:
    explicit Lettering(std::uint32_t seed);

    // Ink coverage 0..1 (width * height, rows top to bottom) of the text set
    // centred in the box, its lowercase letters xHeight pixels tall.
    std::vector<float> render(const std::string& text, int width, int height,
                              double xHeight, double brushRadius) const;

private:
    std::uint32_t seed;
};
