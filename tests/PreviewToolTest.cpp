#include "TestSupport.h"
#include "VellumDrawingLib/ImageLoader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// What the tool adds to the painting the reference test checks: the files,
// the contact sheet and the refusal. A refused window (exit status 3) is
// tried once more, as the virtual display now and then refuses one.
TEST(PreviewToolTest, EveryScreenAndTheSheetAreWrittenAndABadLevelsFileWritesNothing)
{
#ifdef BV_SANITIZED_BUILD
    GTEST_SKIP() << "a tool, checked by the plain build's run";
#endif
    const auto preview = [](const std::string& arguments) {
        CommandResult result;
        for (int attempt = 0; attempt < 2 && (attempt == 0 || result.status == 3); ++attempt)
            result = runCommand("'" BV_BINARY_DIR "/BrickVoyagerPreview' " + arguments + " 2>&1");
        return result;
    };
    TempDir dir;
    const std::string levels = dir.write(
        "levels.xml", "<BrickVoyager><Plane><Screen><Block x=\"-100\" y=\"500\" type=\"2\" s0=\"1\"/>"
                      "<Player x=\"100\" y=\"452\"/></Screen><Screen/><Screen/>"
                      "<Screen><Door x=\"500\" y=\"300\"/></Screen></Plane></BrickVoyager>");
    const std::string out = dir.path() + "/a/b";
    const CommandResult run = preview("--out '" + out + "' '" + levels + "'");
    ASSERT_EQ(run.status, 0) << run.output;
    for (int screen = 0; screen < 4; ++screen)
        EXPECT_TRUE(std::filesystem::is_regular_file(out + "/plane0-screen" + std::to_string(screen) + ".png")) << screen;
    // One plane: its four screens at a quarter size in a 2 x 2 square.
    const ImageData sheet = ImageLoader().loadImage(out + "/sheet.png");
    ASSERT_EQ(std::make_pair(sheet.width, sheet.height), std::make_pair(24 + 2 * 256 + 4 + 24, 24 + 2 * 192 + 4 + 24));
    const auto green = [&](int x, int y) { return sheet.pixels[(y * sheet.width + x) * 4 + 1]; };
    EXPECT_EQ(green(24 + 256 + 2, 100), 48) << "the seam between screens";
    EXPECT_GT(green(24 + 256 + 4 + 128, 24 + 192 + 4 + 60), 250) << "the middle of screen 3";
    EXPECT_LT(green(24 + 256 + 4 + 130, 24 + 192 + 4 + 80), 120) << "screen 3's door";

    const std::string bad = dir.write("bad.xml", "<BrickVoyager><Plane>");
    const CommandResult refused = preview("--out '" + dir.path() + "/never' '" + bad + "'");
    EXPECT_EQ(refused.status, 1) << refused.output;
    EXPECT_FALSE(std::filesystem::exists(dir.path() + "/never"));
}
