// An SDL 1.2 that describes no pad: every pad is raw, found again by
// starting the joystick subsystem anew, and no line of the player's file
// is for it.
#include "platform/PadSystem.h"

#include "platform/Gamepads.h"

const char* PadSystem::platform()
{
    return "";
}

void PadSystem::prepare(const std::vector<PadMappings::Entry>&) {}

void PadSystem::start() {}

void PadSystem::stop() {}

bool PadSystem::restartFindsPads()
{
    return true;
}

SDL_Joystick* PadSystem::openFirst(bool restart, std::string& name, PadLayout&)
{
    return Gamepads::openFirstPad(restart, name);
}
