#include "CoutCapture.h"
#include "PngWriter.h"
#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <gtest/gtest.h>

#include <string>

// Both from memory and from a file: 7 x 4 RGBA keeps its bytes; 5 x 3 RGB,
// whose 15-byte rows a decoder pads to a pitch of 16 (rows read without the
// pitch would slide), keeps its pixels in place and gets opaque alpha.
TEST(ImageLoaderTest, ThirtyTwoAndTwentyFourBitPngsOfOddWidthKeepTheirPixelsInPlace)
{
    std::string rgba, rgb, opaque;
    for (int i = 0; i < 7 * 4 * 4; ++i)
        rgba += char(i * 37);
    for (int i = 0; i < 15; ++i) {
        const std::string pixel = {char(i * 40 + 1), char(i * 7 + 2), char(i)};
        rgb += pixel;
        opaque += pixel + char(255);
    }
    const struct {
        std::string png, pixels;
    } cases[] = {{encodePngSamples(7, 4, 8, 6, rgba), rgba}, {encodePngSamples(5, 3, 8, 2, rgb), opaque}};
    const TempDir dir;
    const ImageLoader loader;
    const CoutCapture quiet;
    for (const auto& c : cases)
        for (const ImageData& image : {loader.loadImage(c.png.data(), c.png.size()), loader.loadImage(dir.write("image.png", c.png))})
            EXPECT_EQ(std::string(reinterpret_cast<const char*>(image.pixels.get()), image.width * image.height * 4), c.pixels);
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
