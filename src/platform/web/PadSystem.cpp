// The page: the browser's SDL shows the gamepads the browser offers, and
// the browser says of each whether it follows the W3C's standard layout
// (buttons 0 A, 9 Start, 12 to 15 the D-pad; axes 0 and 1 the left stick).
// The list is the browser's own and always current, so nothing is started
// again; a pad shows only after its first button press.
#include "platform/PadSystem.h"

#include "platform/Gamepads.h"

#include <emscripten/html5.h>

#include <cstring>

const char* PadSystem::platform()
{
    return "Emscripten";
}

void PadSystem::prepare(const std::vector<PadMappings::Entry>&) {}

void PadSystem::start() {}

void PadSystem::stop() {}

bool PadSystem::restartFindsPads()
{
    return false;
}

SDL_Joystick* PadSystem::openFirst(bool, std::string& name, PadLayout& layout)
{
    SDL_Joystick* const pad = Gamepads::openFirstPad(false, name);
    EmscriptenGamepadEvent state;
    if (pad && emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS &&
        emscripten_get_gamepad_status(0, &state) == EMSCRIPTEN_RESULT_SUCCESS &&
        std::strcmp(state.mapping, "standard") == 0) {
        layout = PadLayout::described(0, 9, 12, 13, 14, 15);
    }
    return pad;
}
