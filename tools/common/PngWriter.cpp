#include "PngWriter.h"

#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstdio>
#include <fstream>

namespace {

void putBigEndian(std::vector<unsigned char>& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<unsigned char>(value >> shift));
}

void putChunk(std::vector<unsigned char>& out, const char type[4],
              const std::vector<unsigned char>& data)
{
    putBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
    putBigEndian(out, static_cast<std::uint32_t>(crc));
}

int paeth(int a, int b, int c)
{
    const int p = a + b - c;
    const int pa = std::abs(p - a);
    const int pb = std::abs(p - b);
    const int pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return a;
    return pb <= pc ? b : c;
}

// Each row gets the PNG filter (none, sub, up, average, paeth) whose output
// has the smallest sum of magnitudes, the usual guess at what deflates best:
// smooth gradients then become long runs of small numbers.
std::vector<unsigned char> filterRows(unsigned int width, unsigned int height,
                                      const std::vector<unsigned char>& rgba)
{
    const std::size_t stride = std::size_t(width) * 4;
    const std::vector<unsigned char> zeros(stride, 0);
    std::vector<unsigned char> raw;
    raw.reserve((stride + 1) * height);
    std::vector<unsigned char> candidate(stride);
    std::vector<unsigned char> best(stride);
    for (unsigned int y = 0; y < height; ++y) {
        const unsigned char* row = rgba.data() + y * stride;
        const unsigned char* up = y > 0 ? row - stride : zeros.data();
        long bestCost = -1;
        unsigned char bestType = 0;
        for (unsigned char type = 0; type < 5; ++type) {
            long cost = 0;
            for (std::size_t i = 0; i < stride; ++i) {
                const int a = i >= 4 ? row[i - 4] : 0;
                const int b = up[i];
                const int c = i >= 4 ? up[i - 4] : 0;
                int predicted = 0;
                switch (type) {
                case 1: predicted = a; break;
                case 2: predicted = b; break;
                case 3: predicted = (a + b) / 2; break;
                case 4: predicted = paeth(a, b, c); break;
                default: break;
                }
                candidate[i] = static_cast<unsigned char>(row[i] - predicted);
                cost += std::abs(static_cast<signed char>(candidate[i]));
            }
            if (bestCost < 0 || cost < bestCost) {
                bestCost = cost;
                bestType = type;
                best.swap(candidate);
            }
        }
        raw.push_back(bestType);
        raw.insert(raw.end(), best.begin(), best.end());
    }
    return raw;
}

} // namespace

bool writePng(const std::string& path, unsigned int width, unsigned int height,
              const std::vector<unsigned char>& rgba)
{
    if (width == 0 || height == 0 || rgba.size() != std::size_t(width) * height * 4)
        return false;

    const std::vector<unsigned char> raw = filterRows(width, height, rgba);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return false;
    packed.resize(packedSize);

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, adaptive filtering, no interlace
    putChunk(file, "IHDR", header);
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});

    const std::string temporary = path + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary);
        out.write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    return std::rename(temporary.c_str(), path.c_str()) == 0;
}

std::string encodePngSamples(unsigned int width, unsigned int height, int bitDepth, int colourType,
                             const std::string& rows, const std::string& palette)
{
    const std::size_t rowBytes = height > 0 ? rows.size() / height : 0;
    std::vector<unsigned char> raw;
    for (unsigned int y = 0; y < height; ++y) {
        raw.push_back(0);
        raw.insert(raw.end(), rows.begin() + y * rowBytes, rows.begin() + (y + 1) * rowBytes);
    }
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<unsigned char> packed(packedSize);
    compress(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()));
    packed.resize(packedSize);

    std::vector<unsigned char> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    std::vector<unsigned char> header;
    putBigEndian(header, width);
    putBigEndian(header, height);
    header.insert(header.end(), {static_cast<unsigned char>(bitDepth),
                                 static_cast<unsigned char>(colourType), 0, 0, 0});
    putChunk(file, "IHDR", header);
    if (colourType == 3)
        putChunk(file, "PLTE", std::vector<unsigned char>(palette.begin(), palette.end()));
    putChunk(file, "IDAT", packed);
    putChunk(file, "IEND", {});
    return std::string(file.begin(), file.end());
}
