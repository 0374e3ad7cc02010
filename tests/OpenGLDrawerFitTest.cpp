#include "DrawingTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

// One window for the program, resized by each case and drawn into by a new
// drawer each time: the shared line image must come back with each.
TEST(OpenGLDrawerFitTest, LogicalAreaKeepsItsProportionsInEveryWindow)
{
    const ScopedEnv noCentring = ScopedEnv::unset("SDL_VIDEO_CENTERED");
    const struct {
        unsigned short width, height;
        short actualWidth, actualHeight;
        float viewportX, viewportY;
    } cases[] = {
        {1024, 768, 1024, 768, 0.0f, 0.0f},
        {1280, 800, 1066, 800, 106.6667f, 0.0f},
        {1024, 1024, 1024, 768, 0.0f, 128.0f},
    };
    std::unique_ptr<OpenGLDrawer> drawer;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        if (!drawer) {
            testing::internal::CaptureStdout();
            drawer = openDrawerWindow(c.width, c.height);
            const std::string output = testing::internal::GetCapturedStdout();
            ASSERT_NE(drawer, nullptr) << "no window on the virtual display";
            EXPECT_NE(output.find("OpenGLDrawer: Display is 32bit.\n"), std::string::npos) << output;
            EXPECT_NE(output.find("Using GLEW version: "), std::string::npos) << output;
            EXPECT_STREQ(std::getenv("SDL_VIDEO_CENTERED"), "1");
        } else {
            drawer = std::make_unique<OpenGLDrawer>(1024, 768);
            ASSERT_TRUE(drawer->initialise(c.width, c.height, false, 0));
        }
        EXPECT_EQ(drawer->getActualWidth(), c.actualWidth);
        EXPECT_EQ(drawer->getActualHeight(), c.actualHeight);
        EXPECT_NEAR(drawer->getViewportX(), c.viewportX, 0.01);
        EXPECT_NEAR(drawer->getViewportY(), c.viewportY, 0.01);

        drawer->beginDrawing();
        drawer->fillRect(0, 0, 1024, 768, 0, 255, 0, 255);
        drawer->drawLine(0, 384, 1024, 384, 1, 0, 0, 1);
        const Screen screen(*drawer, c.width, c.height);
        const int left = static_cast<int>(c.viewportX);
        const int bottom = c.height - static_cast<int>(c.viewportY);
        const int top = bottom - c.actualHeight, right = left + c.actualWidth;
        EXPECT_TRUE(near(screen.at(left + 1, top + 1), 0, 255, 0));
        EXPECT_TRUE(near(screen.at(right - 2, bottom - 2), 0, 255, 0));
        EXPECT_TRUE(near(screen.at(c.width / 2, (top + bottom) / 2), 255, 0, 0, 40)) << "no line";
        if (left > 0) {
            EXPECT_TRUE(near(screen.at(left - 2, c.height / 4), 0, 0, 0));
            EXPECT_TRUE(near(screen.at(right + 1, c.height / 4), 0, 0, 0));
        }
        if (top > 0) {
            EXPECT_TRUE(near(screen.at(c.width / 2, top - 2), 0, 0, 0));
            EXPECT_TRUE(near(screen.at(c.width / 2, bottom + 1), 0, 0, 0));
        }
    }
    drawer.reset();
    SDL_Quit();
}
