#include "DrawingTestSupport.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct FitCase {
    unsigned short width;
    unsigned short height;
    short actualWidth;
    short actualHeight;
    float viewportX;
    float viewportY;
};

// The fitted area's edges in window pixels counted from the top-left.
struct Edges {
    int left;
    int top;
    int right;
    int bottom;
};

Edges edgesOf(const FitCase& c)
{
    const int left = static_cast<int>(c.viewportX);
    const int bottom = c.height - static_cast<int>(c.viewportY);
    return {left, bottom - c.actualHeight, left + c.actualWidth, bottom};
}

} // namespace

// One window for the program, resized by each case.
TEST(OpenGLDrawerFitTest, LogicalAreaKeepsItsProportionsInEveryWindow)
{
    const FitCase cases[] = {
        {1024, 768, 1024, 768, 0.0f, 0.0f},
        {1280, 800, 1066, 800, 106.6667f, 0.0f},
        {1024, 1024, 1024, 768, 0.0f, 128.0f},
    };
    bool first = true;
    for (const FitCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height);
        std::unique_ptr<OpenGLDrawer> drawer;
        if (first) {
            drawer = openDrawerWindow(c.width, c.height);
            ASSERT_NE(drawer, nullptr) << "no window on the virtual display";
            first = false;
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
        const Screen screen(*drawer, c.width, c.height);
        const Edges e = edgesOf(c);
        EXPECT_TRUE(near(screen.at(e.left + 1, e.top + 1), 0, 255, 0));
        EXPECT_TRUE(near(screen.at(e.right - 2, e.bottom - 2), 0, 255, 0));
        if (e.left > 0) {
            EXPECT_TRUE(near(screen.at(e.left - 2, c.height / 2), 0, 0, 0));
            EXPECT_TRUE(near(screen.at(e.right + 1, c.height / 2), 0, 0, 0));
        }
        if (e.top > 0) {
            EXPECT_TRUE(near(screen.at(c.width / 2, e.top - 2), 0, 0, 0));
            EXPECT_TRUE(near(screen.at(c.width / 2, e.bottom + 1), 0, 0, 0));
        }
    }
    SDL_Quit();
}

TEST(OpenGLDrawerFitTest, SetupReportsTheDisplayAndCentresAWindow)
{
    const ScopedEnv noCentring = ScopedEnv::unset("SDL_VIDEO_CENTERED");
    testing::internal::CaptureStdout();
    std::unique_ptr<OpenGLDrawer> drawer = openDrawerWindow(640, 480);
    const std::string output = testing::internal::GetCapturedStdout();
    ASSERT_NE(drawer, nullptr) << output;
    EXPECT_NE(output.find("OpenGLDrawer: Display is 32bit.\n"), std::string::npos) << output;
    EXPECT_NE(output.find("Using GLEW version: "), std::string::npos) << output;
    ASSERT_NE(std::getenv("SDL_VIDEO_CENTERED"), nullptr);
    EXPECT_STREQ(std::getenv("SDL_VIDEO_CENTERED"), "1");
    drawer.reset();
    SDL_Quit();
}
