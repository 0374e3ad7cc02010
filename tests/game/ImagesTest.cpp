#include "TestPlatform.h"
#include "TestSupport.h"

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
    if (TestPlatform::isWindows())
        GTEST_SKIP() << "a tool of the Linux build, which makes the images for every system";
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
