// Windows: SDL 1.2 reads pads through the multimedia joystick calls, which
// give a pad's name and no more; the pads players hold most are known by
// it (PadNames), and a pad plugged in later is found by starting the
// joystick subsystem again.
#include "platform/PadSystem.h"

#include "platform/Gamepads.h"
#include "platform/windows/PadNames.h"

const char* PadSystem::platform()
{
    return "Windows";
}

void PadSystem::prepare(const std::vector<PadMappings::Entry>&) {}

void PadSystem::start() {}

void PadSystem::stop() {}

bool PadSystem::restartFindsPads()
{
    return true;
}

SDL_Joystick* PadSystem::openFirst(bool restart, std::string& name, PadLayout& layout)
{
    SDL_Joystick* const pad = Gamepads::openFirstPad(restart, name);
    if (pad)
        layout = PadNames::layoutOf(name);
    return pad;
}
