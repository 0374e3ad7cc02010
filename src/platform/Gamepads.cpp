#include "platform/Gamepads.h"

#include "platform/KnownFolders.h"
#include "platform/PadSystem.h"

#include <iostream>

Gamepads::Gamepads(const FilePath& playerFile) : playerLines(PadMappings::read(playerFile, PadSystem::platform()))
{
    PadSystem::prepare(playerLines);
}

Gamepads::~Gamepads()
{
    close();
}

FilePath Gamepads::playerFile()
{
    const FilePath settings = KnownFolders::user(KnownFolders::Kind::Settings);
    return settings.path.empty() ? FilePath()
                                 : settings.getChild("PlayScaffold").getChild("gamecontrollerdb.txt");
}

SDL_Joystick* Gamepads::openFirstPad(bool restart, std::string& name)
{
    if (restart) {
        SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
        SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    }
    if (SDL_NumJoysticks() <= 0)
        return nullptr;
    SDL_Joystick* const opened = SDL_JoystickOpen(0);
    const char* const named = SDL_JoystickName(0);
    name = named ? named : "";
    return opened;
}

bool Gamepads::frame()
{
    const bool restarts = PadSystem::restartFindsPads();
    if (!started) {
        started = true;
        PadSystem::start();
        return open(false);
    }
    if (!pad) {
        if (restarts && ++sinceSearch < searchFrames)
            return false;
        sinceSearch = 0;
        return open(restarts);
    }
    if (!restarts || ++quiet < quietFrames)
        return false;
    quiet = 0;
    return open(true);
}

void Gamepads::close()
{
    closePad();
    if (started)
        PadSystem::stop();
    started = false;
}

void Gamepads::closePad()
{
    if (pad)
        SDL_JoystickClose(pad);
    pad = nullptr;
}

bool Gamepads::open(bool restart)
{
    const bool had = pad != nullptr;
    const std::string oldName = name;
    const PadLayout oldLayout = layout;
    closePad();
    layout = PadLayout();
    pad = PadSystem::openFirst(restart, name, layout);
    if (!pad) {
        name.clear();
        return had;
    }
    if (!layout.standard)
        if (const PadMappings::Entry* own = PadMappings::named(playerLines, name))
            layout = own->layout;
    SDL_JoystickEventState(SDL_ENABLE);
    if (had && name == oldName && layout == oldLayout)
        return false;
    std::cout << "Gamepad: " << name << (layout.standard ? " (standard layout)" : " (raw)") << std::endl;
    return true;
}
