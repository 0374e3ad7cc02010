// Linux: SDL 1.2 is sdl12-compat over SDL 2, whose game-controller mode shows
// every pad SDL 2's database (with the player's lines added) describes in one
// layout, and hides the others; those are then looked at raw, the mode
// turned off for one start of the joystick subsystem. The mode is read at
// each start of the subsystem, so a player who turns it off
// (SDL12COMPAT_USE_GAME_CONTROLLERS=0) gets every pad raw.
#include "platform/PadSystem.h"

#include "platform/Environment.h"
#include "platform/Gamepads.h"

#include <dlfcn.h>

namespace {

const char* const controllerMode = "SDL12COMPAT_USE_GAME_CONTROLLERS";
const char* const extraLayouts = "SDL_GAMECONTROLLERCONFIG";
// SDL 2 puts a Nintendo pad's A where its label is (on the right); the
// game's jump is the bottom face button on every pad, so by place.
const char* const byLabel = "SDL_GAMECONTROLLER_USE_BUTTON_LABELS";

// SDL 1.2 itself reports 1.2.15 at most; sdl12-compat counts on from 50.
bool overSdl2()
{
    return SDL_Linked_Version()->patch >= 50;
}

// sdl12-compat numbers a controller's buttons and axes as SDL 2 names them:
// A 0, Start 6, the D-pad 11 (up) to 14 (right), the left stick on axes 0
// and 1.
PadLayout controllerLayout()
{
    return PadLayout::described(0, 6, 11, 12, 13, 14);
}

// SDL 2's SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER.
const Uint32 padParts = 0x200 | 0x2000;

// Starts (true) or stops SDL 2's joystick and controller parts once more in
// the SDL 2 that sdl12-compat loaded, if it did.
void holdSdl2Pads(bool hold)
{
    void* const library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    if (!library)
        return;
    if (hold) {
        using Init = int (*)(Uint32);
        if (const Init init = reinterpret_cast<Init>(dlsym(library, "SDL_InitSubSystem")))
            init(padParts);
    } else {
        using Quit = void (*)(Uint32);
        if (const Quit quit = reinterpret_cast<Quit>(dlsym(library, "SDL_QuitSubSystem")))
            quit(padParts);
    }
    dlclose(library);
}

} // namespace

const char* PadSystem::platform()
{
    return "Linux";
}

void PadSystem::prepare(const std::vector<PadMappings::Entry>& playerLines)
{
    Environment::setDefault(controllerMode, "1");
    Environment::setDefault(byLabel, "0");
    // Added to whatever is there already: Steam hands its own pads' layouts
    // to SDL the same way.
    std::string lines = Environment::get(extraLayouts);
    for (const PadMappings::Entry& entry : playerLines)
        lines += (lines.empty() ? "" : "\n") + entry.line;
    if (!lines.empty())
        Environment::set(extraLayouts, lines);
}

// sdl12-compat starts only SDL 2's joystick part, and SDL 2 turns a pad's
// events into a controller's only while its controller part runs: without
// it a described pad would be silent. Held from here to the end, the two
// parts also keep running while sdl12-compat starts its joystick subsystem
// again, which then only lists the pads SDL 2 follows all along (a few
// microseconds) instead of starting SDL 2's anew (udev, HIDAPI: about 5 ms,
// up to a frame's time on a busy machine).
void PadSystem::start()
{
    if (overSdl2())
        holdSdl2Pads(true);
}

void PadSystem::stop()
{
    if (overSdl2())
        holdSdl2Pads(false);
}

bool PadSystem::restartFindsPads()
{
    return true;
}

SDL_Joystick* PadSystem::openFirst(bool restart, std::string& name, PadLayout& layout)
{
    if (!overSdl2() || !Environment::isOn(controllerMode))
        return Gamepads::openFirstPad(restart, name);
    if (SDL_Joystick* const described = Gamepads::openFirstPad(restart, name)) {
        layout = controllerLayout();
        return described;
    }
    Environment::set(controllerMode, "0");
    SDL_Joystick* const raw = Gamepads::openFirstPad(true, name);
    Environment::set(controllerMode, "1");
    return raw;
}
