#include "shell/Application.h"

#include "FatalError.h"
#include "game/LogicalScreen.h"
#include "platform/SteadyClock.h"
#include "shell/ConfigLoader.h"
#include "shell/StartupSettings.h"
#include "VellumDrawingLib/EmbeddedImage.h"
#include "VellumDrawingLib/GlyphImages.h"
#include "VellumDrawingLib/OpenGLDrawer.h"

#include <iostream>

namespace {

const double sampleRate = 44100;

// The loop's clock, started by the first pass.
const Application::Clock& loopClock()
{
    static const Application::Clock clock = Application::microsecondClock();
    return clock;
}

} // namespace

Application::Application(const std::vector<std::string>& args)
{
    ConfigLoader config;

    OpenGLDrawer::prepareVideo();
    const Uint32 parts = SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK;
    if (SDL_Init(parts) != 0) {
        // sdl12-compat counts the parts of a failed start as started though
        // SDL 2 stopped them again, and a later start in this process would
        // then skip them (no timer, no events): they are stopped by name,
        // which SDL_Quit, asking SDL 2 what runs, would not do.
        const std::string why = SDL_GetError();
        SDL_QuitSubSystem(parts);
        // Without a display (over SSH, say) the help is still worth giving:
        // settling the words prints it and ends with status 0.
        if (StartupSettings::asksForHelp(args))
            StartupSettings::settle(args, config);
        throw FatalError("Could not initialise SDL: " + why);
    }
    try {
        SDL_WM_SetCaption("Brick Voyager", nullptr);
        const StartupSettings settings = StartupSettings::settle(args, config);
        noSound = settings.noSound;
        noMusic = settings.noMusic;
        for (int call = 0; call < settings.randomLevelsCalls; ++call)
            game.useRandomLevels();
        journey.resume();

        auto display = std::make_unique<OpenGLDrawer>(LogicalScreen::width, LogicalScreen::height);
        videoMode = display.get();
        drawer = std::move(display);
        if (!drawer->initialise(static_cast<unsigned short>(settings.width),
                                static_cast<unsigned short>(settings.height), settings.fullscreen,
                                settings.antialias))
            throw FatalError("Could not open a window of " + std::to_string(settings.width) +
                             " x " + std::to_string(settings.height) + ": " + SDL_GetError());

        lookForPad();

        audioDevice.setCallback(this);
        audioDevice.setNumChannels(0, 2);
        audioDevice.setSamplerate(sampleRate);
        audioDevice.setAPI(settings.audioApi);
        if (!noSound)
            audioDevice.start();

        systemPointer = std::make_unique<SystemPointer>();
    } catch (...) {
        // The destructor does not run for a half-built object.
        closeVideo();
        throw;
    }
}

Application::~Application()
{
    // The callback reads music, so the stream stops before music goes.
    if (!noSound)
        audioDevice.stop();
    closeVideo();
}

void Application::closeVideo()
{
    pads.close();
    systemPointer.reset();
    videoMode = nullptr;
    drawer.reset();
    SDL_Quit();
}

void Application::lookForPad()
{
    // A held control sends no events, yet the pad is plainly there; and a
    // pad opened anew while a control is held may never tell its release
    // (sdl12-compat's described pads do not), which would leave an arrow held.
    if (controls.padHolds())
        pads.heard();
    if (!pads.frame())
        return;
    controls.layout = pads.layout;
    releaseHeldKeys();
}

void Application::getAudio(float*, float* output, int frames)
{
    mixer.mix(output, frames, !noMusic);
}

void Application::loadGlyphs()
{
    for (const GlyphImage& image : glyphImages())
        EmbeddedImage::loadGlyph(*drawer, image.glyph, image.png, image.size);
}

void Application::eventLoop()
{
    loadGlyphs();
    while (runPass()) {
    }
    journey.keep();
    editor.flush();
}

bool Application::runPass()
{
    return pass(true);
}

bool Application::runDuePass()
{
    for (int due = hostSchedule.framesDue(SteadyClock::microseconds()); due > 0; --due)
        if (!pass(false))
            return false;
    return true;
}

bool Application::pass(bool waits)
{
    music.refillOnMainLoop();
    // A pad plugged in (or, in a browser, first pressed) after the start is
    // looked for again.
    lookForPad();
    drainEvents();
    editor.pass();
    systemPointer->followHand(editor.takesMouse());
    if (quitRequested)
        return false;
    if (pause.isPaused()) {
        pause.pausedPass(*drawer, *videoMode);
        return true;
    }
    const Clock& clock = loopClock();
    drawer->beginDrawing();
    if (editor.isOpen())
        editor.frame(*drawer);
    else
        game.draw(drawer.get());
    // The wait comes between the finished drawing and its presentation, so
    // that the drawing's own jitter does not show in the intervals.
    drawer->finishDrawing();
    lastFrameTicks = waits ? paceFrame(lastFrameTicks, clock) : clock.ticks();
    drawer->endDrawing();
    // A swap far slower than the one before (the first, which brings the
    // window up, or the first after a change of video mode) shows its frame
    // late, and the next would follow it too soon: that one counts from as
    // much later. Smaller jitter is left alone, or the mean would creep up.
    const Uint32 swap = clock.ticks() - lastFrameTicks;
    const Uint32 slack = clock.unitsPerMillisecond / 2;
    if (lastSwapTicks == 0 || swap > lastSwapTicks + slack)
        lastFrameTicks += lastSwapTicks == 0 ? swap : swap - lastSwapTicks;
    lastSwapTicks = swap > 0 ? swap : 1;
    journey.afterFrame();
    return true;
}

Uint32 Application::paceFrame(Uint32 lastFrameTicks, const Clock& clock)
{
    const Uint32 step = frameMilliseconds * clock.unitsPerMillisecond;
    Uint32 now = clock.ticks();
    // Unsigned arithmetic keeps the difference right across the wrap.
    for (Uint32 elapsed = now - lastFrameTicks; elapsed < step; elapsed = now - lastFrameTicks) {
        clock.delay(step - elapsed);
        now = clock.ticks();
    }
    return now;
}

Application::Clock Application::microsecondClock()
{
    const std::uint64_t start = SteadyClock::microseconds();
    return Clock{[start] { return static_cast<Uint32>(SteadyClock::microseconds() - start); },
                 &SteadyClock::sleepMicroseconds, 1000};
}

void Application::drainEvents()
{
    SDL_Event event;
    while (SDL_PollEvent(&event))
        handleEvent(event);
}

void Application::handleEvent(const SDL_Event& event)
{
    if (event.type >= SDL_JOYAXISMOTION && event.type <= SDL_JOYBUTTONUP)
        pads.heard();
    if (fullScreen.takes(event, *videoMode) || !pause.passes(event, *drawer))
        return;
    if (event.type == SDL_QUIT)
        quit();
    else if (editor.isOpen())
        editor.handleEvent(event, *videoMode, *drawer);
    else
        controls.translate(event, [this](const SDL_keysym& key, bool down) {
            down ? keyDown(key) : keyUp(key);
        });
}

void Application::quit()
{
    quitRequested = true;
}

void Application::keyDown(const SDL_keysym& key)
{
    if (key.sym == SDLK_ESCAPE) {
        quit();
    } else if (key.sym == SDLK_e) {
        releaseHeldKeys();
        editor.open();
    } else if (!musicLevel.keyDown(key.sym) && !journey.keyDown(key.sym))
        toGameDown(key);
}

void Application::keyUp(const SDL_keysym& key)
{
    toGameUp(key);
}

void Application::releaseHeldKeys()
{
    if (game.leftHeld)
        toGameUp(GameControls::key(SDLK_LEFT));
    if (game.rightHeld)
        toGameUp(GameControls::key(SDLK_RIGHT));
    if (game.downHeld)
        toGameUp(GameControls::key(SDLK_DOWN));
    controls.forget();
}

void Application::toGameDown(const SDL_keysym& key)
{
    if (pause.holdsBack(key.sym))
        return;
    if (keyWatcher)
        keyWatcher(key, true);
    game.keyDown(key);
}

void Application::toGameUp(const SDL_keysym& key)
{
    if (keyWatcher)
        keyWatcher(key, false);
    game.keyUp(key);
}
