#include "Images.h"
#include "TestSupport.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

namespace {

struct Decoded {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
    bool hasAlpha = false;
    std::vector<unsigned char> rgba;

    const unsigned char* at(int x, int y) const { return &rgba[(std::size_t(y) * width + x) * 4]; }
    int alpha(int x, int y) const { return at(x, y)[3]; }
};

Decoded decode(const unsigned char* data, unsigned int size)
{
    Decoded image;
    SDL_Surface* surface = IMG_Load_RW(SDL_RWFromConstMem(data, int(size)), 1);
    if (!surface)
        return image;
    image.width = surface->w;
    image.height = surface->h;
    image.bitsPerPixel = surface->format->BitsPerPixel;
    image.hasAlpha = surface->format->Amask != 0;
    if (image.bitsPerPixel == 32) {
        SDL_LockSurface(surface);
        image.rgba.resize(std::size_t(surface->w) * surface->h * 4);
        for (int y = 0; y < surface->h; ++y)
            for (int x = 0; x < surface->w; ++x) {
                const Uint32 pixel = *reinterpret_cast<const Uint32*>(
                    static_cast<const unsigned char*>(surface->pixels) + y * surface->pitch + x * 4);
                unsigned char* p = &image.rgba[(std::size_t(y) * surface->w + x) * 4];
                SDL_GetRGBA(pixel, surface->format, &p[0], &p[1], &p[2], &p[3]);
            }
        SDL_UnlockSurface(surface);
    }
    SDL_FreeSurface(surface);
    return image;
}

struct Entry {
    const char* name;
    const unsigned char* data;
    unsigned int size;
    int width;
    int height;
};

#define BV_IMAGE(name, w, h) {#name ".png", Images::name##_png, Images::name##_png_size, w, h}
const std::vector<Entry> allImages = {
    BV_IMAGE(focalfade1, 1024, 768), BV_IMAGE(focalfade3, 1024, 768),
    BV_IMAGE(rect1a, 398, 487),      BV_IMAGE(rect1b, 398, 487),
    BV_IMAGE(rect2a, 190, 752),      BV_IMAGE(rect2b, 190, 752),
    BV_IMAGE(rect3a, 746, 256),      BV_IMAGE(rect3b, 744, 256),
    BV_IMAGE(rect4a, 512, 483),      BV_IMAGE(rect4b, 512, 483),
    BV_IMAGE(door, 58, 72),          BV_IMAGE(brickvoyager, 1024, 170),
    BV_IMAGE(stepinside, 562, 154),  BV_IMAGE(guystand1, 22, 60),
    BV_IMAGE(guystand2, 22, 60),     BV_IMAGE(guywalk1, 22, 60),
    BV_IMAGE(guywalk2, 22, 60),      BV_IMAGE(guywalk3, 22, 60),
};
#undef BV_IMAGE

Decoded decodeNamed(const std::string& name)
{
    for (const Entry& e : allImages)
        if (name == e.name)
            return decode(e.data, e.size);
    ADD_FAILURE() << "no image " << name;
    return {};
}

// Pixels whose alpha differs by more than `threshold` over the common area.
int countDifferences(const Decoded& a, const Decoded& b, int threshold, int columns)
{
    int count = 0;
    for (int y = 0; y < std::min(a.height, b.height); ++y)
        for (int x = 0; x < columns; ++x)
            if (std::abs(a.alpha(x, y) - b.alpha(x, y)) > threshold)
                ++count;
    return count;
}

// How often a run of edge positions turns back from moving in to moving out.
int turns(const std::vector<int>& positions)
{
    int count = 0;
    int lastStep = 0;
    for (std::size_t i = 1; i < positions.size(); ++i) {
        const int step = positions[i] - positions[i - 1];
        if (step == 0)
            continue;
        count += lastStep != 0 && (step > 0) != (lastStep > 0);
        lastStep = step;
    }
    return count;
}

} // namespace

TEST(ImagesTest, EveryImageDecodesAtItsSizeAsRgba)
{
    unsigned long total = 0;
    for (const Entry& e : allImages) {
        SCOPED_TRACE(e.name);
        const Decoded image = decode(e.data, e.size);
        EXPECT_EQ(image.width, e.width);
        EXPECT_EQ(image.height, e.height);
        EXPECT_EQ(image.bitsPerPixel, 32);
        EXPECT_TRUE(image.hasAlpha);
        total += e.size;
    }
    EXPECT_LT(total, 2500000ul) << "the images together must stay small";
}

TEST(ImagesTest, VignettesAreClearInTheMiddleAndHalfDarkAtTheEdges)
{
    for (const char* name : {"focalfade1.png", "focalfade3.png"}) {
        SCOPED_TRACE(name);
        const Decoded v = decodeNamed(name);
        ASSERT_EQ(v.width, 1024);
        for (int y = 284; y < 484; ++y)
            for (int x = 412; x < 612; ++x)
                ASSERT_EQ(v.alpha(x, y), 0) << "at " << x << "," << y;
        const int edges[4][2] = {{512, 0}, {512, 767}, {0, 384}, {1023, 384}};
        for (const auto& p : edges) {
            EXPECT_GE(v.alpha(p[0], p[1]), 108) << "edge " << p[0] << "," << p[1];
            EXPECT_LE(v.alpha(p[0], p[1]), 148) << "edge " << p[0] << "," << p[1];
        }
        EXPECT_GE(v.alpha(0, 0), v.alpha(0, 384)) << "corners are no lighter than edges";
        for (std::size_t i = 0; i < v.rgba.size(); i += 4)
            ASSERT_TRUE(v.rgba[i] == 0 && v.rgba[i + 1] == 0 && v.rgba[i + 2] == 0) << "not black";
    }
    const Decoded first = decodeNamed("focalfade1.png");
    const Decoded second = decodeNamed("focalfade3.png");
    const int differing = countDifferences(first, second, 2, 1024);
    EXPECT_GT(differing, 1024 * 768 / 20) << "the two frames must flicker";
    EXPECT_EQ(countDifferences(first, second, 40, 1024), 0) << "but only slightly";
}

TEST(ImagesTest, BlocksAreMostlyOpaqueWhiteWithAFaintGreyOutline)
{
    for (const char* name : {"rect1a.png", "rect1b.png", "rect2a.png", "rect2b.png", "rect3a.png",
                             "rect3b.png", "rect4a.png", "rect4b.png"}) {
        SCOPED_TRACE(name);
        const Decoded b = decodeNamed(name);
        ASSERT_GT(b.width, 100);
        long sum = 0;
        long count = 0;
        int mostInside = 0;
        for (int y = 0; y < b.height; ++y)
            for (int x = 0; x < b.width; ++x) {
                const unsigned char* p = b.at(x, y);
                ASSERT_TRUE(p[0] == p[1] && p[1] == p[2]) << "not grey or white at " << x << "," << y;
                if (p[3] == 0) {
                    ASSERT_EQ(p[0], 255) << "a clear pixel must stay white for smooth scaling at " << x << "," << y;
                }
                if (x >= 30 && y >= 30 && x < b.width - 30 && y < b.height - 30) {
                    ASSERT_EQ(p[0], 255) << "the wash is white at " << x << "," << y;
                    sum += p[3];
                    ++count;
                    mostInside = std::max(mostInside, int(p[3]));
                    ASSERT_GT(p[3], 160) << "too thin under a grey veil at " << x << "," << y;
                }
            }
        const double meanInside = double(sum) / count;
        EXPECT_GT(meanInside, 195.0);
        EXPECT_LT(mostInside, 250) << "a block stays partly transparent";
        for (const auto& corner : {std::make_pair(0, 0), std::make_pair(b.width - 1, b.height - 1)})
            EXPECT_EQ(b.alpha(corner.first, corner.second), 0) << "corners are outside the edge";

        // Where each row's left edge and each column's top edge cross half alpha.
        std::vector<int> leftEdges;
        for (int y = 40; y < b.height - 40; ++y) {
            int x = 0;
            while (x < b.width / 2 && b.alpha(x, y) < 128)
                ++x;
            leftEdges.push_back(x);
        }
        std::vector<int> topEdges;
        for (int x = 40; x < b.width - 40; ++x) {
            int y = 0;
            while (y < b.height / 2 && b.alpha(x, y) < 128)
                ++y;
            topEdges.push_back(y);
        }
        for (const std::vector<int>* edge : {&leftEdges, &topEdges}) {
            const std::set<int> depths(edge->begin(), edge->end());
            EXPECT_GE(depths.size(), 3u) << "edge too straight";
            EXPECT_GE(turns(*edge), 6) << "edge too smooth: a hand-made edge wanders in and out";
            EXPECT_LT(*depths.rbegin(), 20) << "edge wanders too far in";
            EXPECT_GT(*depths.begin(), 0) << "edge touches the image border";
        }

        // Just outside the left edge of nearly every row lies a soft grey line:
        // visible, but never dark and never solid.
        int rowsWithLine = 0;
        for (int y = 40; y < b.height - 40; ++y) {
            const int edge = leftEdges[std::size_t(y - 40)];
            int darkest = 255;
            int strongest = 0;
            for (int x = std::max(0, edge - 5); x < edge; ++x)
                if (b.alpha(x, y) > 0) {
                    darkest = std::min(darkest, int(b.at(x, y)[0]));
                    strongest = std::max(strongest, b.alpha(x, y));
                }
            rowsWithLine += darkest < 160;
            ASSERT_GT(darkest, 60) << "outline too dark at row " << y;
            ASSERT_LT(strongest, 200) << "outline too solid at row " << y;
        }
        EXPECT_GT(rowsWithLine, (b.height - 80) * 9 / 10) << "the outline must run all along the edge";
    }
}

TEST(ImagesTest, BlockVariantsDifferSlightlyAtTheirEdges)
{
    const std::pair<const char*, const char*> pairs[] = {
        {"rect1a.png", "rect1b.png"}, {"rect2a.png", "rect2b.png"},
        {"rect3a.png", "rect3b.png"}, {"rect4a.png", "rect4b.png"}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.first);
        const Decoded a = decodeNamed(pair.first);
        const Decoded b = decodeNamed(pair.second);
        ASSERT_EQ(a.height, b.height);
        // The narrower variant's right edge lies elsewhere; compare up to it.
        const int columns = std::min(a.width, b.width) - 20;
        const int differing = countDifferences(a, b, 24, columns);
        EXPECT_GT(differing, 100) << "variants must shimmer";
        EXPECT_LT(differing, a.width * a.height / 20) << "variants must stay alike";
        int insideDifferences = 0;
        for (int y = 40; y < a.height - 40; ++y)
            for (int x = 40; x < columns - 40; ++x)
                insideDifferences += std::abs(a.alpha(x, y) - b.alpha(x, y)) > 2;
        EXPECT_EQ(insideDifferences, 0) << "the wash is shared; only the edges move";
    }
}

TEST(ImagesTest, DoorIsDarkAndNearlyOpaque)
{
    const Decoded door = decodeNamed("door.png");
    ASSERT_EQ(door.width, 58);
    long alpha = 0;
    long light = 0;
    long count = 0;
    for (int y = 5; y < door.height - 5; ++y)
        for (int x = 5; x < door.width - 5; ++x) {
            const unsigned char* p = door.at(x, y);
            alpha += p[3];
            light += (p[0] + p[1] + p[2]) / 3;
            ++count;
        }
    EXPECT_GT(alpha / count, 235);
    EXPECT_LT(alpha / count, 255) << "nearly, not wholly, opaque";
    EXPECT_LT(light / count, 70);
    EXPECT_LT(door.alpha(0, 0), 64) << "rough, rounded corners";
}

TEST(ImagesTest, FigureFramesAreSolidFacingRightWithFeetOnTheBottomRow)
{
    std::vector<Decoded> frames;
    for (const char* name : {"guystand1.png", "guystand2.png", "guywalk1.png", "guywalk2.png", "guywalk3.png"}) {
        SCOPED_TRACE(name);
        frames.push_back(decodeNamed(name));
        const Decoded& f = frames.back();
        ASSERT_EQ(f.width, 22);
        ASSERT_EQ(f.height, 60);
        int opaque = 0;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 22; ++x)
                opaque += f.alpha(x, y) == 255;
        EXPECT_GT(opaque, 200);
        int feet = 0;
        for (int x = 0; x < 22; ++x)
            feet = std::max(feet, f.alpha(x, 59));
        EXPECT_GT(feet, 100) << "feet must stand on the bottom row";
        // The nose: the head reaches further right of its middle than left.
        int left = 22;
        int right = -1;
        for (int y = 2; y < 12; ++y)
            for (int x = 0; x < 22; ++x)
                if (f.alpha(x, y) > 128) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
        EXPECT_GT(right - 11, 11 - left + 1) << "the figure faces right";
    }
    // Mirror-image strides share a silhouette; which leg is ahead shows in the ink.
    const auto differing = [](const Decoded& a, const Decoded& b, int fromRow, int toRow) {
        int count = 0;
        for (std::size_t i = std::size_t(fromRow) * 22 * 4; i < std::size_t(toRow) * 22 * 4; i += 4)
            for (int c = 0; c < 4; ++c)
                if (std::abs(a.rgba[i + c] - b.rgba[i + c]) > 32) {
                    ++count;
                    break;
                }
        return count;
    };
    EXPECT_GT(differing(frames[0], frames[1], 0, 30), 3) << "breathing shows";
    EXPECT_EQ(differing(frames[0], frames[1], 36, 60), 0) << "but the legs stay still";
    for (int i = 2; i < 5; ++i)
        for (int j = i + 1; j < 5; ++j)
            EXPECT_GT(differing(frames[i], frames[j], 0, 60), 20) << "walk frames " << i << " and " << j;
}

TEST(ImagesTest, TitleAndHintAreBlackLetteringOnTransparent)
{
    for (const char* name : {"brickvoyager.png", "stepinside.png"}) {
        SCOPED_TRACE(name);
        const Decoded w = decodeNamed(name);
        ASSERT_GT(w.width, 0);
        long inked = 0;
        int firstColumn = w.width;
        int lastColumn = -1;
        for (int y = 0; y < w.height; ++y)
            for (int x = 0; x < w.width; ++x) {
                const unsigned char* p = w.at(x, y);
                ASSERT_TRUE(p[0] == 0 && p[1] == 0 && p[2] == 0) << "not black at " << x << "," << y;
                if (p[3] > 128) {
                    ++inked;
                    firstColumn = std::min(firstColumn, x);
                    lastColumn = std::max(lastColumn, x);
                }
            }
        const double share = double(inked) / (w.width * w.height);
        EXPECT_GT(share, 0.04);
        EXPECT_LT(share, 0.35);
        EXPECT_LT(firstColumn, w.width / 6) << "the words fill the width";
        EXPECT_GT(lastColumn, w.width * 5 / 6);
        for (int x = 0; x < w.width; ++x)
            ASSERT_EQ(w.alpha(x, 0) + w.alpha(x, w.height - 1), 0) << "ink cut off at column " << x;
    }
}

TEST(ImagesTest, GeneratorRemakesTheCommittedImagesByteForByte)
{
    const TempDir dir;
    const std::string command = std::string(BV_BINARY_DIR "/BrickVoyagerImageGen ") + dir.path() + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const Entry& e : allImages) {
        SCOPED_TRACE(e.name);
        const std::string made = readFile(dir.path() + "/" + e.name);
        EXPECT_EQ(made, std::string(reinterpret_cast<const char*>(e.data), e.size))
            << "run build/BrickVoyagerImageGen src/images and commit the result";
    }
}
