#include "PngWriter.h"
#include "TestSupport.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <fstream>
#include <vector>

namespace {

// Rows meant to suit each of the writer's row filters in turn: flat, ramps
// along and across, and noise, with colour under transparent pixels.
std::vector<unsigned char> testPattern(unsigned int width, unsigned int height)
{
    std::vector<unsigned char> rgba(std::size_t(width) * height * 4);
    unsigned int state = 12345;
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x) {
            unsigned char* p = &rgba[(std::size_t(y) * width + x) * 4];
            state = state * 1103515245u + 12345u;
            switch (y % 4) {
            case 0: p[0] = 10; p[1] = 200; p[2] = 30; p[3] = 0; break;
            case 1: p[0] = (unsigned char)(x * 7); p[1] = (unsigned char)(x * 3); p[2] = 90; p[3] = (unsigned char)(x * 11); break;
            case 2: p[0] = (unsigned char)(y * 9); p[1] = (unsigned char)(y * 5 + x); p[2] = (unsigned char)(255 - y); p[3] = 255; break;
            default:
                for (int i = 0; i < 4; ++i)
                    p[i] = (unsigned char)(state >> (8 * i));
            }
        }
    return rgba;
}

} // namespace

TEST(PngWriterTest, WrittenPixelsDecodeByteForByte)
{
    const TempDir dir;
    const unsigned int width = 37;
    const unsigned int height = 23;
    const std::vector<unsigned char> rgba = testPattern(width, height);
    const std::string path = dir.path() + "/pattern.png";
    ASSERT_TRUE(writePng(path, width, height, rgba));

    SDL_Surface* surface = IMG_Load(path.c_str());
    ASSERT_NE(surface, nullptr) << IMG_GetError();
    ASSERT_EQ(surface->w, int(width));
    ASSERT_EQ(surface->h, int(height));
    ASSERT_EQ(surface->format->BitsPerPixel, 32);
    SDL_LockSurface(surface);
    int mismatches = 0;
    for (unsigned int y = 0; y < height; ++y)
        for (unsigned int x = 0; x < width; ++x) {
            const Uint32 pixel = *reinterpret_cast<const Uint32*>(
                static_cast<const unsigned char*>(surface->pixels) + y * surface->pitch + x * 4);
            unsigned char got[4];
            SDL_GetRGBA(pixel, surface->format, &got[0], &got[1], &got[2], &got[3]);
            const unsigned char* want = &rgba[(std::size_t(y) * width + x) * 4];
            for (int i = 0; i < 4; ++i)
                mismatches += got[i] != want[i];
        }
    SDL_UnlockSurface(surface);
    SDL_FreeSurface(surface);
    EXPECT_EQ(mismatches, 0);
}

TEST(PngWriterTest, SamePixelsGiveTheSameFile)
{
    const TempDir dir;
    const std::vector<unsigned char> rgba = testPattern(16, 16);
    ASSERT_TRUE(writePng(dir.path() + "/one.png", 16, 16, rgba));
    ASSERT_TRUE(writePng(dir.path() + "/two.png", 16, 16, rgba));
    EXPECT_EQ(readFile(dir.path() + "/one.png"), readFile(dir.path() + "/two.png"));
}

TEST(PngWriterTest, RefusesBadInputAndLeavesNothingBehind)
{
    const TempDir dir;
    const std::string path = dir.path() + "/bad.png";
    const struct {
        unsigned int width;
        unsigned int height;
        std::size_t bytes;
    } cases[] = {{0, 4, 0}, {4, 0, 0}, {4, 4, 63}, {4, 4, 65}};
    for (const auto& c : cases) {
        EXPECT_FALSE(writePng(path, c.width, c.height, std::vector<unsigned char>(c.bytes, 7)));
        EXPECT_FALSE(std::ifstream(path).good());
        EXPECT_FALSE(std::ifstream(path + ".tmp").good());
    }
    EXPECT_FALSE(writePng(dir.path() + "/no/such/folder.png", 1, 1, {1, 2, 3, 4}));
}
