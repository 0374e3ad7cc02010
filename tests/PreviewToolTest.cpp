#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

namespace {

// Runs the built preview tool with the given arguments; its output lands in
// the folder's "output.txt". Returns the exit status. A refused window (3)
// is tried once more, as the virtual display now and then refuses one.
int preview(const TempDir& dir, const std::string& arguments)
{
    int status = -1;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string command = "'" BV_BINARY_DIR "/BrickVoyagerPreview' " + arguments +
                                    " > '" + dir.path() + "/output.txt' 2>&1";
        const int result = std::system(command.c_str());
        status = WIFEXITED(result) ? WEXITSTATUS(result) : -1;
        if (status != 3)
            break;
    }
    return status;
}

bool exists(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}

}  // namespace

TEST(PreviewToolTest, BadLevelsFileIsReportedWithTheLoadersMessagesAndWritesNothing)
{
    TempDir dir;
    const std::string levels = dir.write("levels.xml", "<BrickVoyager><Plane>");
    const std::string out = dir.path() + "/out";
    EXPECT_EQ(preview(dir, "--out '" + out + "' '" + levels + "'"), 1);
    const std::string output = readFile(dir.path() + "/output.txt");
    EXPECT_NE(output.find("LevelLoader: Could not load " + levels), std::string::npos) << output;
    EXPECT_FALSE(exists(out));
}

TEST(PreviewToolTest, EveryScreenAndTheSheetAreWrittenAsTheGamePaintsThem)
{
    TempDir dir;
    const std::string levels = dir.write(
        "levels.xml", "<BrickVoyager><Plane><Screen><Block x=\"-100\" y=\"500\" type=\"2\" s0=\"1\"/>"
                      "<Player x=\"100\" y=\"452\"/></Screen><Screen/><Screen/>"
                      "<Screen><Door x=\"500\" y=\"300\"/></Screen></Plane></BrickVoyager>");
    const std::string out = dir.path() + "/a/b";
    ASSERT_EQ(preview(dir, "--out '" + out + "' '" + levels + "'"), 0)
        << readFile(dir.path() + "/output.txt");

    const ImageLoader loader;
    for (int screen = 0; screen < 4; ++screen) {
        const ImageData picture =
            loader.loadImage(out + "/plane0-screen" + std::to_string(screen) + ".png");
        ASSERT_NE(picture.pixels, nullptr) << screen;
        EXPECT_EQ(picture.width, 1024);
        EXPECT_EQ(picture.height, 768);
        // The middle of every screen is open ground, clear of the fade-in.
        const unsigned char* middle = &picture.pixels[(384 * 1024 + 512) * 4];
        EXPECT_EQ(middle[0], 192) << screen;
        EXPECT_EQ(middle[1], 255) << screen;
        // The door of the fourth screen, dark.
        if (screen == 3) {
            EXPECT_LT(picture.pixels[(330 * 1024 + 530) * 4 + 1], 100);
        }
    }

    // One plane: its four screens at a quarter size in a 2 x 2 square.
    const ImageData sheet = loader.loadImage(out + "/sheet.png");
    ASSERT_NE(sheet.pixels, nullptr);
    EXPECT_EQ(sheet.width, 24 + 2 * 256 + 4 + 24);
    EXPECT_EQ(sheet.height, 24 + 2 * 192 + 4 + 24);
    const auto green = [&](int x, int y) { return sheet.pixels[(y * sheet.width + x) * 4 + 1]; };
    EXPECT_EQ(green(10, 10), 48) << "the background";
    EXPECT_EQ(green(24 + 256 + 2, 100), 48) << "the seam between screens";
    EXPECT_GT(green(24 + 128, 24 + 96), 250) << "the middle of screen 0";
    EXPECT_GT(green(24 + 256 + 4 + 128, 24 + 192 + 4 + 60), 250) << "the middle of screen 3";
    EXPECT_LT(green(24 + 256 + 4 + 130, 24 + 192 + 4 + 80), 120) << "screen 3's door";
}
