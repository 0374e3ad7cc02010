#pragma once

#include <string>
#include <vector>

// Writes 8-bit RGBA pixels (rows top to bottom, 4 bytes a pixel) as a PNG
// file. Used by the generators that make the committed images; the output for
// the same pixels is always the same bytes, so regenerating changes nothing
// that did not change. Returns false, with nothing left behind, on failure.
bool writePng(const std::string& path, unsigned int width, unsigned int height,
              const std::vector<unsigned char>& rgba);

// A PNG of samples laid out by the caller: rows of packed samples at the
// given bit depth and colour type (0 grey, 2 RGB, 3 palette, 4 grey and
// alpha, 6 RGBA), each row without its filter byte, and a palette of RGB
// triples for type 3. Not checked against the header it writes, so that tests
// and fuzz seeds can make any layout a decoder may meet.
std::string encodePngSamples(unsigned int width, unsigned int height, int bitDepth, int colourType,
                             const std::string& rows, const std::string& palette = std::string());
