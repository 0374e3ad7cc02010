#pragma once

// Helpers for the tests that open a real OpenGL window on the virtual X
// display and read the picture back.

#include "TestPlatform.h"
#include "VellumDrawingLib/ImageLoader.h"
#include "VellumDrawingLib/OpenGLDrawer.h"

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <tuple>
#include <vector>

struct Rgb {
    int r, g, b;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << ", " << c.g << ", " << c.b << ")";
}

// The window's pixels as getScreenPixels delivers them (RGB, bottom row
// first), read with y counted from the top as the drawing coordinates are.
class Screen {
public:
    Screen(OpenGLDrawer& drawer, int width, int height)
        : pixels(drawer.getScreenPixels()), width(width), height(height)
    {
    }

    Rgb at(int x, int y) const
    {
        const unsigned char* p = pixels.get() + ((height - 1 - y) * width + x) * 3;
        return {p[0], p[1], p[2]};
    }

    // Any pixel of the rectangle brighter than the threshold in any channel.
    bool anyLit(int x0, int y0, int x1, int y1, int threshold = 40) const
    {
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const Rgb c = at(x, y);
                if (c.r > threshold || c.g > threshold || c.b > threshold)
                    return true;
            }
        return false;
    }

private:
    std::unique_ptr<unsigned char[]> pixels;
    int width, height;
};

// Starts SDL's video and opens a window with a 1024 x 768 drawer in it. The
// virtual display now and then refuses a connection made right after another,
// so a failed start is tried once more, a moment later. Null when both fail.
inline std::unique_ptr<OpenGLDrawer> openDrawerWindow(unsigned short width, unsigned short height)
{
    OpenGLDrawer::prepareVideo();
    for (int attempt = 0; attempt < 2; ++attempt) {
        SDL_Delay(attempt * 300);
        auto drawer = std::make_unique<OpenGLDrawer>(1024, 768);
        if (SDL_Init(SDL_INIT_VIDEO) == 0 && drawer->initialise(width, height, false, 0)) {
            TestPlatform::keepGlDriverLoaded();
            return drawer;
        }
        std::cout << "DrawingTestSupport: no window: " << SDL_GetError() << std::endl;
        drawer.reset();
        // By name: SDL_Quit leaves sdl12-compat counting a video part that
        // failed to start as running, and the next try would skip it.
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }
    return nullptr;
}

// A width x height RGBA array of one colour, as loadImage takes it over.
inline unsigned char* solidPixels(unsigned int width, unsigned int height, unsigned char r,
                                  unsigned char g, unsigned char b, unsigned char a)
{
    unsigned char* pixels = new unsigned char[width * height * 4];
    const unsigned char colour[] = {r, g, b, a};
    for (unsigned int i = 0; i < width * height * 4; ++i)
        pixels[i] = colour[i % 4];
    return pixels;
}

inline bool near(const Rgb& c, int r, int g, int b, int tolerance = 3)
{
    return std::abs(c.r - r) <= tolerance && std::abs(c.g - g) <= tolerance &&
           std::abs(c.b - b) <= tolerance;
}
inline bool near(const Rgb& a, const Rgb& b, int tolerance) { return near(a, b.r, b.g, b.b, tolerance); }

struct ExpectedPixel {
    int x, y, r, g, b;
};

inline void expectPixels(const Screen& screen, std::initializer_list<ExpectedPixel> expected,
                         int tolerance = 3)
{
    for (const ExpectedPixel& e : expected)
        EXPECT_TRUE(near(screen.at(e.x, e.y), e.r, e.g, e.b, tolerance))
            << "at " << e.x << ", " << e.y << ": " << screen.at(e.x, e.y);
}

// The strip of rows from yA equals the one from yB, pixel for pixel.
inline void expectSameStrips(const Screen& screen, int x0, int x1, int yA, int yB, int rows)
{
    for (int y = 0; y < rows; ++y)
        for (int x = x0; x < x1; ++x)
            ASSERT_TRUE(near(screen.at(x, yA + y), screen.at(x, yB + y), 0)) << x << ", " << y;
}

// A texture's width, height, filter, wrap and pixels.
using Texture = std::tuple<GLint, GLint, GLint, GLint, std::vector<unsigned char>>;

// What the current context holds under that name.
inline Texture readTexture(GLuint name)
{
    Texture t{};
    auto& [width, height, filter, wrap, pixels] = t;
    glBindTexture(GL_TEXTURE_2D, name);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    pixels.resize(static_cast<std::size_t>(width) * height * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return t;
}

// One window for a whole suite, a 1024 x 768 drawer in it; every test starts
// a fresh frame with the full-window viewport and no program in use.
class DrawerWindowTest : public testing::Test {
protected:
    static void SetUpTestSuite() { drawer = openDrawerWindow(1024, 768).release(); }

    static void TearDownTestSuite() { delete drawer; SDL_Quit(); }

    void SetUp() override
    {
        ASSERT_NE(drawer, nullptr) << "no window on the virtual display";
        drawer->useShader(0);
        drawer->setTexInterp(true);
        drawer->resetViewport();
        drawer->beginDrawing();
    }

    Screen screen() const { return Screen(*drawer, 1024, 768); }

    inline static OpenGLDrawer* drawer = nullptr;
};
