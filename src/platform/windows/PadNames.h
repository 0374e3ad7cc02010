#pragma once

#include "platform/PadLayout.h"

#include <string>

// The pads players hold most, known on Windows by a part of the name the
// multimedia joystick calls give them (which is all SDL 1.2 reads there).
// A name it does not know gives a raw layout.
class PadNames {
public:
    PadNames() = delete;

    static PadLayout layoutOf(const std::string& name);
};
