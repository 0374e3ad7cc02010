#include "PngWriter.h"
#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A PNG of 8-bit samples: colour type 2 (RGB, 3 bytes a pixel) or 3 (palette
// indices, 1 byte a pixel, with the given palette).
std::string encodePng(int width, int height, int colourType, const std::vector<unsigned char>& samples,
                      const std::string& palette = std::string())
{
    return encodePngSamples(width, height, 8, colourType, std::string(samples.begin(), samples.end()),
                            palette);
}

// 5 x 3 RGB: a row is 15 bytes, which a decoder pads to a pitch of 16.
std::vector<unsigned char> oddRgbSamples()
{
    std::vector<unsigned char> samples;
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            samples.insert(samples.end(), {static_cast<unsigned char>(x * 40 + 1),
                                           static_cast<unsigned char>(y * 60 + 2),
                                           static_cast<unsigned char>(x + y * 5)});
    return samples;
}

void expectRgbWithOpaqueAlpha(const ImageData& image, const std::vector<unsigned char>& rgb)
{
    ASSERT_NE(image.pixels, nullptr);
    ASSERT_EQ(image.width, 5);
    ASSERT_EQ(image.height, 3);
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(image.pixels[i * 4], rgb[i * 3]) << "pixel " << i;
        EXPECT_EQ(image.pixels[i * 4 + 1], rgb[i * 3 + 1]) << "pixel " << i;
        EXPECT_EQ(image.pixels[i * 4 + 2], rgb[i * 3 + 2]) << "pixel " << i;
        EXPECT_EQ(image.pixels[i * 4 + 3], 255) << "pixel " << i;
    }
}

} // namespace

TEST(ImageLoaderTest, ThirtyTwoBitPngKeepsItsBytesFromFileAndMemory)
{
    const TempDir dir;
    std::vector<unsigned char> rgba;
    for (int i = 0; i < 7 * 4; ++i)
        rgba.insert(rgba.end(), {static_cast<unsigned char>(i), static_cast<unsigned char>(i * 3),
                                 static_cast<unsigned char>(255 - i),
                                 static_cast<unsigned char>(i * 9)});
    const std::string path = dir.path() + "/rgba.png";
    ASSERT_TRUE(writePng(path, 7, 4, rgba));
    const std::string bytes = readFile(path);

    const ImageLoader loader;
    ImageData images[] = {loader.loadImage(path), loader.loadImage(bytes.data(), bytes.size())};
    for (const ImageData& image : images) {
        ASSERT_NE(image.pixels, nullptr);
        EXPECT_EQ(image.width, 7);
        EXPECT_EQ(image.height, 4);
        EXPECT_EQ(std::vector<unsigned char>(image.pixels.get(), image.pixels.get() + rgba.size()),
                  rgba);
    }
}

TEST(ImageLoaderTest, TwentyFourBitPngOfOddWidthKeepsPixelsInPlaceAndGetsOpaqueAlpha)
{
    const TempDir dir;
    const std::vector<unsigned char> rgb = oddRgbSamples();
    const std::string png = encodePng(5, 3, 2, rgb);
    const std::string path = dir.write("rgb.png", png);
    const ImageLoader loader;

    testing::internal::CaptureStdout();
    const ImageData fromMemory = loader.loadImage(png.data(), png.size());
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ImageLoader: Image 24bit.  Assuming 24bit RGB format.\n");
    expectRgbWithOpaqueAlpha(fromMemory, rgb);

    testing::internal::CaptureStdout();
    const ImageData fromFile = loader.loadImage(path);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    expectRgbWithOpaqueAlpha(fromFile, rgb);
}

TEST(ImageLoaderTest, PalettedPngIsRefused)
{
    const std::string palette = {'\xff', 0, 0, 0, '\xff', 0};
    const std::string png = encodePng(4, 2, 3, {0, 1, 1, 0, 1, 0, 0, 1}, palette);
    testing::internal::CaptureStdout();
    const ImageData image = ImageLoader().loadImage(png.data(), png.size());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "ImageLoader: Image not 32bits.\n");
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
}

TEST(ImageLoaderTest, UndecodableDataAndMissingFilesGiveNothingSilently)
{
    const TempDir dir;
    const std::string garbage = "not a picture at all";
    testing::internal::CaptureStdout();
    const ImageLoader loader;
    const ImageData images[] = {loader.loadImage(garbage.data(), garbage.size()),
                                loader.loadImage(dir.path() + "/missing.png"),
                                loader.loadImage(dir.write("empty.png", ""))};
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    for (const ImageData& image : images) {
        EXPECT_EQ(image.pixels, nullptr);
        EXPECT_EQ(image.width, 0);
        EXPECT_EQ(image.height, 0);
    }
}
