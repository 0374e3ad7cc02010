// The entry function: builds the Application from the command line, runs it
// until the player quits and reports a start-up failure. The exit status is
// the FatalError's: 1 when the game could not start, 0 for "--help".
#include "FatalError.h"
#include "shell/Application.h"

#include <memory>
#include <string>
#include <vector>

#if defined(__EMSCRIPTEN__) && !defined(BV_WEB_ASYNCIFY)
#include <emscripten.h>
#include <emscripten/html5.h>

namespace {

// Hiding the page's tab or leaving the page writes at once what waits to
// be written (the player's planes); the write hands it on to IndexedDB, as
// far as the browser lets a leaving page finish.
EM_BOOL flushWhenHidden(int, const EmscriptenVisibilityChangeEvent* event, void* data)
{
    if (event->hidden)
        static_cast<Application*>(data)->editor.flush();
    return EM_FALSE;
}

const char* flushWhenLeaving(int, const void*, void* data)
{
    static_cast<Application*>(data)->editor.flush();
    return nullptr;  // nothing to ask the player
}

void flushOnLeaving(Application* application)
{
    emscripten_set_visibilitychange_callback(application, EM_FALSE, application ? flushWhenHidden : nullptr);
    emscripten_set_beforeunload_callback(application, application ? flushWhenLeaving : nullptr);
}

// In a browser the page's one thread belongs to the browser: the game may
// not loop or wait on it. The browser calls a pass at every animation frame
// instead, and the shell plays a frame once its step has passed. The loop
// owns the application from then on and ends it when the player quits,
// keeping the journey first as the desktop's loop does; the page is told.
// (A build with BV_WEB_ASYNCIFY keeps the desktop's loop instead, for
// comparison: Asyncify suspends it in each sleep.)
void runInBrowser(std::unique_ptr<Application> application)
{
    application->loadGlyphs();
    flushOnLeaving(application.get());
    emscripten_set_main_loop_arg(
        [](void* data) {
            auto* running = static_cast<Application*>(data);
            if (running->runDuePass())
                return;
            emscripten_cancel_main_loop();
            running->journey.keep();
            running->editor.flush();
            flushOnLeaving(nullptr);
            delete running;
            EM_ASM({
                if (Module.bvEnded)
                    Module.bvEnded();
            });
        },
        application.release(), 0, 1);
}

} // namespace
#endif

extern "C" int SDL_main(int argc, char** argv)
{
    std::vector<std::string> words;
    for (int i = 1; i < argc; ++i)
        words.emplace_back(argv[i]);
    try {
        // On the heap: the music's buffers alone take a quarter of a megabyte.
        auto application = std::make_unique<Application>(words);
#if defined(__EMSCRIPTEN__) && !defined(BV_WEB_ASYNCIFY)
        runInBrowser(std::move(application));
#else
        application->eventLoop();
#endif
    } catch (const FatalError& error) {
        const FatalError copy(error);
        copy.display();
        return copy.exitStatus;
    }
    return 0;
}
