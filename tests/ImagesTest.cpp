#include "Images.h"
#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

// The images are made by a program; what the game embeds must be what that
// program makes today, so that a change to either shows. (Their sizes, which
// the drawing depends on, are checked where the game loads them.)
TEST(ImagesTest, GeneratorRemakesTheCommittedImagesByteForByte)
{
    const struct {
        const char* name;
        const unsigned char* data;
        unsigned int size;
    } images[] = {
#define BV_IMAGE(name) {#name ".png", Images::name##_png, Images::name##_png_size}
        BV_IMAGE(focalfade1), BV_IMAGE(focalfade3), BV_IMAGE(rect1a), BV_IMAGE(rect1b),
        BV_IMAGE(rect2a),     BV_IMAGE(rect2b),     BV_IMAGE(rect3a), BV_IMAGE(rect3b),
        BV_IMAGE(rect4a),     BV_IMAGE(rect4b),     BV_IMAGE(door),   BV_IMAGE(brickvoyager),
        BV_IMAGE(stepinside), BV_IMAGE(guystand1),  BV_IMAGE(guystand2), BV_IMAGE(guywalk1),
        BV_IMAGE(guywalk2),   BV_IMAGE(guywalk3),
#undef BV_IMAGE
    };
#ifdef BV_SANITIZED_BUILD
    GTEST_SKIP() << "a tool, checked by the plain build's run";
#endif
    const TempDir dir;
    const std::string command = std::string(BV_BINARY_DIR "/BrickVoyagerImageGen ") + dir.path() + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const auto& image : images)
        EXPECT_EQ(readFile(dir.path() + "/" + image.name), std::string(reinterpret_cast<const char*>(image.data), image.size))
            << image.name << ": run build/BrickVoyagerImageGen src/images and commit the result";
}

// Blocks once nearly vanished under the last plane's grey veil: their white
// wash must stay dense inside, yet never wholly opaque.
TEST(ImagesTest, BlocksAreADenseWhiteWashThatShowsUnderTheGreyestVeil)
{
    const std::pair<const unsigned char*, unsigned int> blocks[] = {
        {Images::rect1a_png, Images::rect1a_png_size}, {Images::rect2b_png, Images::rect2b_png_size},
        {Images::rect3a_png, Images::rect3a_png_size}, {Images::rect4b_png, Images::rect4b_png_size}};
    for (const auto& [png, size] : blocks) {
        const ImageData block = ImageLoader().loadImage(reinterpret_cast<const char*>(png), size);
        ASSERT_GT(block.width, 100);
        long sum = 0, count = 0;
        for (int y = 30; y < block.height - 30; ++y)
            for (int x = 30; x < block.width - 30; ++x, ++count) {
                const unsigned char* p = &block.pixels[(y * block.width + x) * 4];
                ASSERT_EQ(p[0] & p[1] & p[2], 255) << "the wash is white at " << x << ", " << y;
                ASSERT_GT(p[3], 160) << "too thin at " << x << ", " << y;
                ASSERT_LT(p[3], 250) << "a block stays partly transparent";
                sum += p[3];
            }
        EXPECT_GT(double(sum) / count, 195.0);
    }
}
