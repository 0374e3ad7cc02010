#include "DrawingTestSupport.h"

#include <gtest/gtest.h>

// One window for the program, resized by each case. The full-screen switch
// sets a new video mode on the same drawer, back and forth: a window of the
// logical proportions after a wider one has no bars, and a window wider than
// the logical area is drawn through the off-screen picture again after the
// switch. Then a new drawer in the same window each time: the shared line
// image must come back with each.
TEST(OpenGLDrawerFitTest, LogicalAreaKeepsItsProportionsInEveryWindow)
{
    const struct {
        unsigned short width, height;
        bool newDrawer;
        short actualWidth, actualHeight;
        float viewportX, viewportY;
    } cases[] = {
        {1920, 1080, true, 1440, 1080, 240.0f, 0.0f},   {1024, 768, false, 1024, 768, 0.0f, 0.0f},
        {1920, 1080, false, 1440, 1080, 240.0f, 0.0f},  {1280, 800, true, 1066, 800, 106.6667f, 0.0f},
        {1024, 1024, true, 1024, 768, 0.0f, 128.0f},
    };
    std::unique_ptr<OpenGLDrawer> drawer;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        if (!drawer) {
            drawer = openDrawerWindow(c.width, c.height);
            ASSERT_NE(drawer, nullptr) << "no window on the virtual display";
        } else {
            if (c.newDrawer)
                drawer = std::make_unique<OpenGLDrawer>(1024, 768);
            ASSERT_TRUE(drawer->initialise(c.width, c.height, false, 0));
        }
        EXPECT_EQ(drawer->getActualWidth(), c.actualWidth);
        EXPECT_EQ(drawer->getActualHeight(), c.actualHeight);
        EXPECT_NEAR(drawer->getViewportX(), c.viewportX, 0.01);
        EXPECT_NEAR(drawer->getViewportY(), c.viewportY, 0.01);

        drawer->beginDrawing();
        drawer->fillRect(0, 0, 1024, 768, 0, 255, 0, 255);
        drawer->fillRect(0, 0, 1024, 768, 255, 0, 0, 128);
        drawer->fillRect(1000, 740, 24, 28, 0, 0, 255, 255);
        drawer->drawLine(0, 384, 1024, 384, 1, 0, 0, 1);
        const Screen screen(*drawer, c.width, c.height);
        const int left = static_cast<int>(c.viewportX), right = left + c.actualWidth;
        const int bottom = c.height - static_cast<int>(c.viewportY), top = bottom - c.actualHeight;
        expectPixels(screen, {{left + 2, top + 2, 128, 127, 0}, {right - 3, bottom - 3, 0, 0, 255}});
        EXPECT_TRUE(near(screen.at(c.width / 2, (top + bottom) / 2), 255, 0, 0, 40)) << "no line";
        if (left > 0)
            expectPixels(screen, {{left - 3, c.height / 2, 0, 0, 0}, {right + 2, c.height / 2, 0, 0, 0}});
        if (top > 0)
            expectPixels(screen, {{c.width / 2, top - 3, 0, 0, 0}, {c.width / 2, bottom + 2, 0, 0, 0}});
    }
    drawer.reset();
    SDL_Quit();
}
