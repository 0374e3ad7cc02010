// Measures what one frame of the game costs on a real OpenGL window, in CPU
// time of the whole process (Mesa's rendering threads included): the game's
// update alone (the same game driven in step with a drawer that draws
// nothing), the whole frame (beginDrawing, GamePlay::draw, endDrawing) and a
// bare frame (beginDrawing, endDrawing: clear and swap) on the same window,
// and the editor's frame (its picture of the screen the game started on,
// breathing, with its marks, status line and pointer) beside the game's.
// Each frame is finished (glFinish) before its clock stops. The input is a
// walkthrough script, so the figure really crosses screens and planes; without
// one the figure walks right and jumps. Prints one line per figure, each the
// median over the frames; exits 1 when the window cannot be opened.
//   BrickVoyagerFrameBench [--size WxH] [--fullscreen] [walkthrough.txt]
// The window is 1024 x 768 unless --size says otherwise; the picture is the
// game's logical 1024 x 768, fitted into it as the game fits it.
#include "editor/Editor.h"
#include "game/GamePlay.h"
#include "game/LogicalScreen.h"
#include "VellumDrawingLib/NullDrawer.h"
#include "VellumDrawingLib/OpenGLDrawer.h"
#include "Walkthrough.h"

#include <GL/gl.h>
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

double cpuMs()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Right held throughout, up pressed every 40 frames: the figure walks and
// jumps across the screens of the first plane.
Walkthrough::Script walkRight(int frames)
{
    Walkthrough::Script script;
    script.events.push_back({0, true, SDLK_RIGHT});
    for (int frame = 20; frame < frames; frame += 40) {
        script.events.push_back({frame, true, SDLK_UP});
        script.events.push_back({frame + 5, false, SDLK_UP});
    }
    script.lastFrame = frames - 1;
    return script;
}

} // namespace

int main(int argc, char** argv)
{
    Walkthrough::Script script = walkRight(1200);
    int width = 1024;
    int height = 768;
    bool fullScreen = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--fullscreen") {
            fullScreen = true;
        } else if (arg == "--size" && i + 1 < argc) {
            if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width <= 0 ||
                height <= 0) {
                std::printf("FrameBench: cannot use the size %s\n", argv[i]);
                return 1;
            }
        } else {
            std::ifstream in(arg);
            std::string error;
            if (!in || !Walkthrough::parseScript(in, script, error)) {
                std::printf("FrameBench: cannot use %s: %s\n", arg.c_str(), error.c_str());
                return 1;
            }
        }
    }
    OpenGLDrawer::prepareVideo();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::printf("FrameBench: SDL: %s\n", SDL_GetError());
        return 1;
    }
    int status = 0;
    {
        OpenGLDrawer drawer(1024, 768);
        if (!drawer.initialise(width, height, fullScreen, 0)) {
            std::printf("FrameBench: no OpenGL window\n");
            SDL_Quit();
            return 1;
        }
        GamePlay onScreen;
        GamePlay rulesOnly;
        NullDrawer nothing(LogicalScreen::width, LogicalScreen::height);
        // The editor on a game of its own that stands still, as while it is
        // open; its planes are kept nowhere.
        GamePlay standing;
        Editor editor(standing, PlanesFile(""));
        editor.open();
        editor.model->selectNext(1);
        // The first frame loads the images; it is not counted.
        const int warmUp = 30;
        std::vector<double> update, frame, bare, edit;
        std::size_t next = 0;
        for (int f = 0; f <= script.lastFrame; ++f) {
            for (; next < script.events.size() && script.events[next].frame == f; ++next) {
                Walkthrough::sendKey(onScreen, script.events[next].key, script.events[next].down);
                Walkthrough::sendKey(rulesOnly, script.events[next].key, script.events[next].down);
            }
            double start = cpuMs();
            rulesOnly.draw(&nothing);
            const double updateMs = cpuMs() - start;

            start = cpuMs();
            drawer.beginDrawing();
            onScreen.draw(&drawer);
            drawer.endDrawing();
            glFinish();
            const double frameMs = cpuMs() - start;

            start = cpuMs();
            drawer.beginDrawing();
            drawer.endDrawing();
            glFinish();
            const double bareMs = cpuMs() - start;

            start = cpuMs();
            drawer.beginDrawing();
            editor.frame(drawer);
            drawer.endDrawing();
            glFinish();
            const double editMs = cpuMs() - start;

            SDL_Event event;
            while (SDL_PollEvent(&event)) {
            }
            if (f >= warmUp) {
                update.push_back(updateMs);
                frame.push_back(frameMs);
                bare.push_back(bareMs);
                edit.push_back(editMs);
            }
        }
        if (frame.empty()) {
            std::printf("FrameBench: the script is shorter than the %d frames of warm-up\n", warmUp);
            status = 1;
        } else {
            std::printf("FrameBench: frames %zu\n", frame.size());
            std::printf("FrameBench: update_ms %.4f\n", median(update));
            std::printf("FrameBench: frame_ms %.4f\n", median(frame));
            std::printf("FrameBench: bare_ms %.4f\n", median(bare));
            std::printf("FrameBench: editor_ms %.4f\n", median(edit));
            std::printf("FrameBench: editor_to_game %.3f\n", median(edit) / median(frame));
        }
    }
    SDL_Quit();
    return status;
}
