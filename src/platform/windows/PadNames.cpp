// Which button is the bottom face one (A, Cross; by place, not by label) and
// which is Start come from SDL 2's database of pad layouts
// (src/joystick/SDL_gamecontrollerdb.h in Debian's libsdl2 2.26.5+dfsg-1,
// pinned in scripts/third-party/sources.txt; tools/pad-table.sh prints them
// again): its "xinput" line for every pad in XInput's joystick view, its
// Windows lines for the others (the line by place where it keeps one by
// label too). These pads give their D-pad as a hat (a few small 8BitDo pads
// on axes 0 and 1, where it walks as a stick does) and their left stick on
// axes 0 and 1. The few facts are kept here rather than read from
// the source at build time, so that a build needs no more than it did.
#include "platform/windows/PadNames.h"

#include <algorithm>
#include <cctype>

namespace {

struct KnownPad {
    // A part of the name Windows gives the pad, in small letters.
    const char* namePart;
    int a;
    int start;
};

// The first whose part the name holds: Xbox pads first, since some of
// theirs say "Wireless Controller" too.
const KnownPad knownPads[] = {
    // Xbox 360, Xbox One and Series pads, and others in their mode (8BitDo's
    // X mode): "Controller (XBOX 360 For Windows)", "Controller (Xbox One
    // For Windows)", "Xbox Wireless Controller".
    {"xbox", 0, 7},
    // DualShock 4 and DualSense ("Wireless Controller", "DualSense Wireless
    // Controller"): the PS4 and PS5 Controller lines.
    {"wireless controller", 1, 9},
    // Switch Pro ("Pro Controller"): the Nintendo Switch Pro Controller line.
    {"pro controller", 0, 9},
    // 8BitDo pads in their D mode ("8BitDo Pro 2", "8BitDo SN30 Pro", ...).
    {"8bitdo", 1, 11},
};

} // namespace

PadLayout PadNames::layoutOf(const std::string& name)
{
    std::string seen = name;
    std::transform(seen.begin(), seen.end(), seen.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const KnownPad& known : knownPads)
        if (seen.find(known.namePart) != std::string::npos)
            return PadLayout::described(known.a, known.start);
    return PadLayout();
}
