#pragma once

#include <string>
#include <vector>

// Writes 8-bit RGBA pixels (rows top to bottom, 4 bytes a pixel) as a PNG
// file. Used by the generators that make the committed images; the output for
// the same pixels is always the same bytes, so regenerating changes nothing
// that did not change. Returns false, with nothing left behind, on failure.
bool writePng(const std::string& path, unsigned int width, unsigned int height,
              const std::vector<unsigned char>& rgba);
