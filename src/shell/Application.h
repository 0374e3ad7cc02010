#pragma once

#include "audio/BackgroundMusic.h"
#include "audio/Mixer.h"
#include "audio/MusicLevel.h"
#include "audio/PortAudioCallback.h"
#include "AudioDevice.h"
#include "editor/Editor.h"
#include "game/GamePlay.h"
#include "input/GameControls.h"
#include "platform/Gamepads.h"
#include "platform/SystemPointer.h"
#include "shell/FrameSchedule.h"
#include "shell/FullScreenSwitch.h"
#include "shell/Journey.h"
#include "shell/PauseControl.h"

#include <SDL.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class Drawer;
class VideoMode;

// The running game: builds the sound, the game, the music and the window from
// the command line (or the settings file), then routes events (as key presses
// from GameControls) to the shell's keys and the game and paces one frame per
// 30 ms until the player quits. Start-up failures (SDL, no window, levels
// file) throw FatalError; sound that cannot start is reported and the game
// runs silent.
class Application : public PortAudioCallback {
public:
    // Every frame starts at least this long after the previous one.
    static const Uint32 frameMilliseconds = 30;

    // The time source the pacing reads and waits on.
    struct Clock {
        std::function<Uint32()> ticks;         // units, wrapping at 2^32
        std::function<void(Uint32)> delay;     // waits at least this many units
        Uint32 unitsPerMillisecond = 1;
    };

    // args: the command-line words without the program name.
    explicit Application(const std::vector<std::string>& args);
    ~Application() override;
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Audio thread: the mixer's block, the music kept out while noMusic.
    // Takes no lock, allocates nothing and makes no system call.
    void getAudio(float* input, float* output, int frames) override;

    // Runs frames until quitRequested is found set after a drain of events.
    void eventLoop();
    // One pass of the loop: drains the events, then, unless quitting (false),
    // plays one frame, or while paused shows the kept picture if need be and
    // sleeps.
    bool runPass();
    // The same for a host that calls the loop at its own frames and may not
    // be held up (a browser): plays as many passes as hostSchedule says are
    // due (one for every frameMilliseconds, the first at once), and never
    // waits.
    bool runDuePass();
    void quit();
    // Escape asks to quit; E opens the editor; the music and journey keys
    // are the shell's; every other key goes to the game.
    void keyDown(const SDL_keysym& key);
    // Always goes to the game, Escape included.
    void keyUp(const SDL_keysym& key);
    // Mouse and joystick hooks the loop does not call: mouse input reaches
    // neither the shell nor the game.
    void mouseDown(int, int, int) {}
    void mouseUp(int, int, int) {}
    void mouseMove(int, int) {}
    void joyXMove(bool) {}
    void joyYMove(bool) {}
    void joyDown(int) {}
    void joyUp(int) {}

    // Hands the 42 embedded glyph images to the drawer.
    void loadGlyphs();
    // Takes every queued event and dispatches it.
    void drainEvents();
    // Routes one event: the full-screen switch (Alt+Enter, F11) and the
    // pause (P, Start, focus) see it first; what they pass on ends the loop
    // (SDL_QUIT), goes to the editor while it is open, or becomes key
    // presses through controls, each of which goes to keyDown or keyUp.
    void handleEvent(const SDL_Event& event);

    // Waits, if need be, until frameMilliseconds have passed since
    // lastFrameTicks and returns the tick count read after the wait, so that
    // frames are at least that far apart tick to tick; a frame that took
    // longer is not delayed at all.
    static Uint32 paceFrame(Uint32 lastFrameTicks, const Clock& clock);
    // Microseconds of a steady clock and a sleep as fine: whole milliseconds
    // would let two frames come up to a millisecond closer than the step.
    static Clock microsecondClock();

    // Sees every key record handed to the game, as it is handed (true: key
    // down). For tests and tools that watch the input; empty by default.
    std::function<void(const SDL_keysym&, bool)> keyWatcher;

    // The build's device (src/audio/<device>/AudioDevice.h).
    AudioDevice audioDevice;
    bool quitRequested = false;
    // When the last frame was presented, in the loop clock's units.
    Uint32 lastFrameTicks = 0;
    // How long the last swap took, on the pacing clock; 0 before the first.
    Uint32 lastSwapTicks = 0;
    // runDuePass's frames, in SteadyClock's microseconds.
    FrameSchedule hostSchedule{frameMilliseconds * 1000};
    bool noSound = false;
    // Read by the audio thread; written only before the device starts.
    bool noMusic = false;
    // The gamepad, read from before SDL starts (the player's own layouts).
    Gamepads pads{Gamepads::playerFile()};
    std::unique_ptr<Drawer> drawer;
    // The same object as drawer, for the video mode and the window's size;
    // not owned.
    VideoMode* videoMode = nullptr;
    GamePlay game;
    BackgroundMusic music;
    MusicLevel musicLevel;
    Mixer mixer{music, musicLevel};
    Journey journey{game, musicLevel};
    FullScreenSwitch fullScreen;
    // The keyboard and the gamepad as the game's keys; the stick's held
    // arrows (stickUpHeld, ...) are kept there.
    GameControls controls;
    PauseControl pause{[this] { releaseHeldKeys(); }, controls.layout};
    // While open, it takes the events and the frames; the game stands still.
    Editor editor{game};
    // Hidden in play; following the hand while the editor takes the mouse.
    // Made once the window is open, gone before SDL quits.
    std::unique_ptr<SystemPointer> systemPointer;

private:
    // runPass's work; waits: for the frame's step before presenting it.
    bool pass(bool waits);
    // Lets the gamepads look for a pad when one is due; a pad that came,
    // went or changed gives its layout to the controls, and what the old one
    // held is released.
    void lookForPad();
    // Undoes what start-up did to SDL and the window, in tear-down order.
    void closeVideo();
    // Key-ups for the arrows the game holds, and the gamepad forgets its own.
    void releaseHeldKeys();
    void toGameDown(const SDL_keysym& key);
    void toGameUp(const SDL_keysym& key);
};
