#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const std::string committed = BV_SOURCE_DIR "/src/images/";

} // namespace

// The images are made by a program; what the game embeds (the committed
// files, byte for byte, as the embedding's own test shows) must be what that
// program makes today, so that a change to either shows.
TEST(ImagesTest, GeneratorRemakesTheCommittedImagesByteForByte)
{
#ifdef BV_SANITIZED_BUILD
    GTEST_SKIP() << "a tool, checked by the plain build's run";
#endif
    const TempDir dir;
    const std::string command = std::string(BV_BINARY_DIR "/BrickVoyagerImageGen ") + dir.path() + " > /dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const auto& entry : std::filesystem::directory_iterator(committed))
        if (entry.path().extension() == ".png") {
            const std::string name = entry.path().filename().string();
            EXPECT_EQ(readFile(dir.path() + "/" + name), readFile(committed + name))
                << name << ": run build/BrickVoyagerImageGen src/images and commit the result";
        }
}

// Blocks once nearly vanished under the last plane's grey veil: their white
// wash must stay dense inside, yet never wholly opaque.
TEST(ImagesTest, BlocksAreADenseWhiteWashThatShowsUnderTheGreyestVeil)
{
    for (const char* name : {"rect1a.png", "rect2b.png", "rect3a.png", "rect4b.png"}) {
        const ImageData block = ImageLoader().loadImage(committed + name);
        ASSERT_GT(block.width, 100) << name;
        long sum = 0, count = 0;
        for (int y = 30; y < block.height - 30; ++y)
            for (int x = 30; x < block.width - 30; ++x, ++count) {
                const unsigned char* p = &block.pixels[(y * block.width + x) * 4];
                ASSERT_EQ(p[0] & p[1] & p[2], 255) << name << ": the wash is white at " << x << ", " << y;
                ASSERT_GT(p[3], 160) << name << ": too thin at " << x << ", " << y;
                ASSERT_LT(p[3], 250) << name << ": a block stays partly transparent";
                sum += p[3];
            }
        EXPECT_GT(double(sum) / count, 195.0) << name;
    }
}
