#include "CoutCapture.h"
#include "PngWriter.h"
#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<unsigned char> pixelsOf(const ImageData& image)
{
    return std::vector<unsigned char>(image.pixels.get(), image.pixels.get() + image.width * image.height * 4);
}

} // namespace

TEST(ImageLoaderTest, ThirtyTwoBitPngKeepsItsBytesFromFileAndMemory)
{
    const TempDir dir;
    std::vector<unsigned char> rgba;
    for (int i = 0; i < 7 * 4 * 4; ++i)
        rgba.push_back(static_cast<unsigned char>(i * 37));
    const std::string path = dir.path() + "/rgba.png";
    ASSERT_TRUE(writePng(path, 7, 4, rgba));
    const std::string bytes = readFile(path);
    const ImageLoader loader;
    for (const ImageData& image : {loader.loadImage(path), loader.loadImage(bytes.data(), bytes.size())}) {
        EXPECT_EQ(image.height, 4);
        EXPECT_EQ(pixelsOf(image), rgba);
    }
}

// 5 x 3 RGB: a row is 15 bytes, which a decoder pads to a pitch of 16, so
// rows read without the pitch would slide.
TEST(ImageLoaderTest, TwentyFourBitPngOfOddWidthKeepsPixelsInPlaceAndGetsOpaqueAlpha)
{
    std::string rgb, expected;
    for (int i = 0; i < 15; ++i) {
        const std::string pixel = {char(i * 40 + 1), char(i * 7 + 2), char(i)};
        rgb += pixel;
        expected += pixel + char(255);
    }
    const std::string png = encodePngSamples(5, 3, 8, 2, rgb, "");
    const CoutCapture quiet;
    const ImageData image = ImageLoader().loadImage(png.data(), png.size());
    EXPECT_EQ(image.width, 5);
    EXPECT_EQ(pixelsOf(image), std::vector<unsigned char>(expected.begin(), expected.end()));
}

TEST(ImageLoaderTest, PalettedUndecodableAndMissingImagesGiveNothing)
{
    const TempDir dir;
    const std::string garbage = "not a picture at all";
    const std::string paletted = encodePngSamples(4, 2, 8, 3, {0, 1, 1, 0, 1, 0, 0, 1}, {'\xff', 0, 0, 0, '\xff', 0});
    const ImageLoader loader;
    CoutCapture out;
    for (const ImageData& image : {loader.loadImage(paletted.data(), paletted.size()),
                                   loader.loadImage(garbage.data(), garbage.size()),
                                   loader.loadImage(dir.path() + "/missing.png"), loader.loadImage(dir.write("empty.png", ""))}) {
        EXPECT_EQ(image.pixels, nullptr);
        EXPECT_EQ(image.width + image.height, 0);
    }
    EXPECT_EQ(out.text(), "ImageLoader: Image not 32bits.\n") << "only the paletted image is worth a word";
}
