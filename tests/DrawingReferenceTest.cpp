#include "DrawingTestSupport.h"
#include "GamePlay.h"
#include "ShowScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

// The shipped screens, painted through the real drawer as the preview tool
// paints them, against references painted before the drawer had its cheaper
// paths (tests/data/reference, from the copy of the levels kept there). They
// are made again, for each size, with BV_PLAIN_DRAWING=1 by:
//   build/BrickVoyagerPreview --size WxH --out tests/data/reference/WxH
//     tests/data/reference/levels.xml
// (keeping only the planeP-screenS.png files).

namespace {

struct SizeCase {
    unsigned short width, height;
    // Every value at most worst levels apart; the mean difference at most
    // mean and at least the share within softDifference levels, for the
    // edges that soften when the picture is scaled once onto the window.
    int worst;
    double mean, shareWithinSoft;
    int softDifference;
};

struct Comparison {
    int worst = 0;
    double mean = 0.0, shareWithinSoft = 0.0;
};

// window: RGB rows from the bottom; reference: RGBA rows from the top.
Comparison compare(const unsigned char* window, const ImageData& reference, int softDifference)
{
    Comparison result;
    const int width = reference.width, height = reference.height;
    std::size_t within = 0;
    double total = 0.0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            for (int channel = 0; channel < 3; ++channel) {
                const int made = window[(std::size_t(height - 1 - y) * width + x) * 3 + channel];
                const int expected = reference.pixels[(std::size_t(y) * width + x) * 4 + channel];
                const int difference = std::abs(made - expected);
                result.worst = std::max(result.worst, difference);
                total += difference;
                within += difference <= softDifference ? 1 : 0;
            }
    const double values = 3.0 * width * height;
    result.mean = total / values;
    result.shareWithinSoft = within / values;
    return result;
}

} // namespace

TEST(DrawingReferenceTest, EveryShippedScreenLooksAsTheReferenceAtBothSizes)
{
    const SizeCase cases[] = {{1024, 768, 3, 3.0, 1.0, 3}, {1920, 1080, 255, 0.5, 0.999, 32}};
    const std::string reference = BV_TEST_DATA_DIR "/reference";
    const ImageLoader loader;
    for (const SizeCase& c : cases) {
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        SCOPED_TRACE(size);
        std::unique_ptr<OpenGLDrawer> drawer = openDrawerWindow(c.width, c.height);
        ASSERT_NE(drawer, nullptr) << "no window on the virtual display";
        GamePlay game(reference + "/levels.xml");
        ASSERT_EQ(game.planes.size(), 5u);
        for (int plane = 0; plane < 5; ++plane)
            for (int screen = 0; screen < 4; ++screen) {
                const std::string name = "plane" + std::to_string(plane) + "-screen" + std::to_string(screen) + ".png";
                SCOPED_TRACE(name);
                showScreen(game, plane, screen);
                drawer->beginDrawing();
                game.draw(drawer.get());
                const std::unique_ptr<unsigned char[]> window(drawer->getScreenPixels());
                const ImageData expected = loader.loadImage(reference + "/" + size + "/" + name);
                ASSERT_TRUE(expected.width == c.width && expected.height == c.height);
                const Comparison found = compare(window.get(), expected, c.softDifference);
                EXPECT_LE(found.worst, c.worst);
                EXPECT_LE(found.mean, c.mean);
                EXPECT_GE(found.shareWithinSoft, c.shareWithinSoft);
            }
        drawer.reset();
        SDL_Quit();
    }
}
