// Measures what a font file costs: the search of the font folders for a name
// that is there and for one that is not, the making of a font's atlas at
// three sizes, and the drawing of one line of 40 characters.
//   BrickVoyagerFontBench [font.ttf]   (default: DejaVuSans.ttf)
#include "VellumDrawingLib/OpenGLDrawer.h"
#include "VellumDrawingLib/OpenGLFont.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Median and worst of runs of the task, in milliseconds.
void measure(const std::string& what, int runs, const std::function<void()>& task)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const Clock::time_point start = Clock::now();
        task();
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    std::printf("FontBench: %-34s median %8.3f ms, worst %8.3f ms (%d runs)\n", what.c_str(),
                times[times.size() / 2], times.back(), runs);
}

} // namespace

int main(int argc, char** argv)
{
    const std::string name = argc > 1 ? argv[1] : "DejaVuSans.ttf";
    OpenGLDrawer::prepareVideo();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::cout << "FontBench: SDL_Init failed: " << SDL_GetError() << std::endl;
        return 1;
    }
    auto drawer = std::make_unique<OpenGLDrawer>(1024, 768);
    if (!drawer->initialise(1024, 768, false, 0)) {
        std::cout << "FontBench: no video mode: " << SDL_GetError() << std::endl;
        SDL_Quit();
        return 1;
    }
    std::cout << "FontBench: " << name << " is " << OpenGLFont::getFontPath(name).path
              << std::endl;

    measure("search, found", 20, [&] { OpenGLFont::getFontPath(name); });
    measure("search, not found", 20, [] { OpenGLFont::getFontPath("NoSuchFont.ttf"); });
    for (const float size : {12.0f, 32.0f, 90.0f}) {
        std::unique_ptr<OpenGLFont> font;
        measure("atlas at " + std::to_string(static_cast<int>(size)) + " pixels", 10, [&] {
            font = std::make_unique<OpenGLFont>(name, size);
            glFinish();
        });
        std::cout << "FontBench: atlas at " << size << " pixels is " << font->textureSize
                  << " x " << font->textureSize << std::endl;
        // The textures end with the GL context; the benchmark does not want ten of each.
        glDeleteTextures(1, &font->texture);
    }
    const unsigned int id = drawer->loadFont(name, 32);
    if (id == 0) {
        SDL_Quit();
        return 1;
    }
    measure("40 characters at 32 pixels", 200, [&] {
        drawer->drawText("The quick brown fox jumps over 12 dogs.!", id, 10, 100, 0, 1, 1, 1, 1,
                         1);
        glFinish();
    });
    drawer.reset();
    SDL_Quit();
    return 0;
}
