#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

// The full-screen switch sets a new video mode on the same drawer, back and
// forth; the picture must fill the fitted area of each size, with black bars
// only where that size has them.
TEST(OpenGLDrawerSizeChangeTest, PictureFollowsTheWindowSizeBackAndForth)
{
    struct Size {
        unsigned short width;
        unsigned short height;
        int barWidth;
    };
    std::unique_ptr<OpenGLDrawer> drawer = openDrawerWindow(1920, 1080);
    ASSERT_NE(drawer, nullptr) << "no window on the virtual display";
    bool first = true;
    for (const Size& size : {Size{1920, 1080, 240}, Size{1024, 768, 0}, Size{1920, 1080, 240}}) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        if (!first) {
            ASSERT_TRUE(drawer->initialise(size.width, size.height, false, 0));
        }
        first = false;
        drawer->beginDrawing();
        drawer->fillRect(0, 0, 1024, 768, 0, 255, 0, 255);
        drawer->fillRect(0, 0, 1024, 768, 255, 0, 0, 128);
        drawer->fillRect(1000, 740, 24, 28, 0, 0, 255, 255);
        const Screen screen(*drawer, size.width, size.height);
        const int right = size.width - size.barWidth;
        expectPixels(screen, {{size.barWidth + 2, 2, 128, 127, 0},
                              {size.width / 2, size.height / 2, 128, 127, 0},
                              {right - 3, size.height - 3, 0, 0, 255}});
        if (size.barWidth > 0)
            expectPixels(screen, {{size.barWidth - 3, size.height / 2, 0, 0, 0},
                                  {right + 2, size.height / 2, 0, 0, 0}});
    }
    drawer.reset();
    SDL_Quit();
}
