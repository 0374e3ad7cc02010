// Windows: SDL 1.2 reads pads through the multimedia joystick calls, which
// give a pad's name and no more, so the pads players hold most are known by
// a part of their name. Which button is the bottom face one (A, Cross; by
// place, not by label) and which is Start come from SDL 2's database of pad
// layouts (src/joystick/SDL_gamecontrollerdb.h in Debian's libsdl2
// 2.26.5+dfsg-1, pinned in scripts/third-party/sources.txt; tools/pad-table.sh
// prints them again): its "xinput" line for every pad in XInput's joystick
// view, its Windows lines for the others (the position line where the
// database keeps one by label and one by place). Every one of these pads
// gives its D-pad as a hat and its left stick on axes 0 and 1.
#include "platform/PadSystem.h"

#include "platform/Gamepads.h"

#include <algorithm>
#include <cctype>

namespace {

struct KnownPad {
    // A part of the name Windows gives the pad, in any letter case.
    const char* namePart;
    int a;
    int start;
};

// The first whose part the name holds; Xbox pads first, as theirs say
// "Wireless Controller" too.
const KnownPad knownPads[] = {
    // Xbox 360, Xbox One and Series pads, and pads in their mode (8BitDo's
    // X mode): "Controller (XBOX 360 For Windows)", "Controller (Xbox One
    // For Windows)", "Xbox Wireless Controller".
    {"xbox", 0, 7},
    // DualShock 4 and DualSense ("Wireless Controller", "DualSense Wireless
    // Controller"): the PS4 and PS5 lines.
    {"wireless controller", 1, 9},
    // Switch Pro ("Pro Controller"): the Nintendo Switch Pro line.
    {"pro controller", 0, 9},
    // 8BitDo pads in their D mode ("8BitDo Pro 2", "8BitDo SN30 Pro", ...).
    {"8bitdo", 1, 11},
};

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

const char* PadSystem::platform()
{
    return "Windows";
}

void PadSystem::prepare(const std::vector<PadMappings::Entry>&) {}

bool PadSystem::restartFindsPads()
{
    return true;
}

SDL_Joystick* PadSystem::openFirst(bool restart, std::string& name, PadLayout& layout)
{
    SDL_Joystick* const pad = Gamepads::openFirstPad(restart, name);
    const std::string seen = lowered(name);
    for (const KnownPad& known : knownPads)
        if (pad && seen.find(known.namePart) != std::string::npos) {
            layout = PadLayout::described(known.a, known.start);
            break;
        }
    return pad;
}
