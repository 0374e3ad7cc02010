#include "ContactSheet.h"

#include <algorithm>

#include "PngWriter.h"

namespace {
constexpr int margin = 24;     // around the sheet and between planes
constexpr int seam = 4;        // between the screens of one plane
constexpr unsigned char background = 48;
constexpr int thumbWidth = ContactSheet::screenWidth / ContactSheet::shrink;
constexpr int thumbHeight = ContactSheet::screenHeight / ContactSheet::shrink;
constexpr int planeWidth = 2 * thumbWidth + seam;
constexpr int planeHeight = 2 * thumbHeight + seam;
}  // namespace

ContactSheet::ContactSheet(int planeCount)
{
    const int count = std::max(planeCount, 1);
    const int columns = std::min(count, planesPerRow);
    const int rows = (count + planesPerRow - 1) / planesPerRow;
    sheetWidth = margin + columns * (planeWidth + margin);
    sheetHeight = margin + rows * (planeHeight + margin);
    pixels.assign(std::size_t(sheetWidth) * sheetHeight * 4, background);
    for (std::size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 255;
}

// Each thumbnail pixel is the mean of the screen pixels it stands for, so
// thin rough edges soften rather than flicker away.
void ContactSheet::add(int plane, int screen, const std::vector<unsigned char>& rgba, int width,
                       int height)
{
    const int left = margin + (plane % planesPerRow) * (planeWidth + margin) +
                     (screen % 2) * (thumbWidth + seam);
    const int top = margin + (plane / planesPerRow) * (planeHeight + margin) +
                    (screen / 2) * (thumbHeight + seam);
    if (left + thumbWidth > sheetWidth || top + thumbHeight > sheetHeight || width < thumbWidth ||
        height < thumbHeight || rgba.size() < std::size_t(width) * height * 4)
        return;
    for (int ty = 0; ty < thumbHeight; ++ty)
        for (int tx = 0; tx < thumbWidth; ++tx) {
            const int x0 = tx * width / thumbWidth, x1 = (tx + 1) * width / thumbWidth;
            const int y0 = ty * height / thumbHeight, y1 = (ty + 1) * height / thumbHeight;
            for (int channel = 0; channel < 4; ++channel) {
                int sum = 0;
                for (int y = y0; y < y1; ++y)
                    for (int x = x0; x < x1; ++x)
                        sum += rgba[(std::size_t(y) * width + x) * 4 + channel];
                pixels[(std::size_t(top + ty) * sheetWidth + left + tx) * 4 + channel] =
                    static_cast<unsigned char>(sum / ((x1 - x0) * (y1 - y0)));
            }
        }
}

bool ContactSheet::write(const std::string& path) const
{
    return writePng(path, sheetWidth, sheetHeight, pixels);
}
