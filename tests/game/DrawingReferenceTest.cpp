#include "DrawingTestSupport.h"
#include "game/GamePlay.h"
#include "ShowScreen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

// The shipped screens, painted through the real drawer as the preview tool
// paints them, against references painted before the drawer had its cheaper
// paths (tests/data/reference, from the copy of the levels kept there). They
// are made again, for each size, with BV_PLAIN_DRAWING=1 by:
//   build/BrickVoyagerPreview --size WxH --out tests/data/reference/WxH
//     tests/data/reference/levels.xml
// (keeping only the planeP-screenS.png files).
TEST(DrawingReferenceTest, EveryShippedScreenLooksAsTheReferenceAtBothSizes)
{
    // Every value at most worst levels apart; the mean difference at most
    // mean and at least the share within softDifference levels, for the
    // edges that soften when the picture is scaled once onto the window.
    const struct {
        unsigned short width, height;
        int worst;
        double mean, shareWithinSoft;
        int softDifference;
    } cases[] = {{1024, 768, 3, 3.0, 1.0, 3}, {1920, 1080, 255, 0.5, 0.999, 32}};
    const std::string reference = BV_TEST_DATA_DIR "/reference";
    for (const auto& c : cases) {
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
                // The window's RGB rows run from the bottom, the reference's RGBA rows from the top.
                const std::unique_ptr<unsigned char[]> window(drawer->getScreenPixels());
                const ImageData expected = ImageLoader().loadImage(reference + "/" + size + "/" + name);
                ASSERT_TRUE(expected.width == c.width && expected.height == c.height);
                int worst = 0;
                double total = 0.0, within = 0.0;
                for (int y = 0; y < c.height; ++y)
                    for (int x = 0; x < c.width * 3; ++x) {
                        const int difference = std::abs(window[std::size_t(c.height - 1 - y) * c.width * 3 + x] -
                                                        expected.pixels[(std::size_t(y) * c.width + x / 3) * 4 + x % 3]);
                        worst = std::max(worst, difference);
                        total += difference;
                        within += difference <= c.softDifference;
                    }
                const double values = 3.0 * c.width * c.height;
                EXPECT_LE(worst, c.worst);
                EXPECT_LE(total / values, c.mean);
                EXPECT_GE(within / values, c.shareWithinSoft);
            }
        drawer.reset();
        SDL_Quit();
    }
}
