#pragma once

#include <SDL.h>

#include <string>

// A gamepad made in SDL 2 (a virtual joystick) in the very SDL 2 that
// sdl12-compat loaded, so that it reaches the game through sdl12-compat as
// a pad plugged in would: SDL 1.2 must be started first. Holds SDL 2's
// joystick subsystem while it lives, so that the game starting its own
// again does not take the pad away. A step SDL 2 refuses fails the test.
class VirtualPad {
public:
    struct Shape {
        const char* name;
        Uint16 vendor;
        Uint16 product;
        int buttons;
        int axes;
        int hats;
    };

    explicit VirtualPad(const Shape& shape);
    ~VirtualPad();
    VirtualPad(const VirtualPad&) = delete;
    VirtualPad& operator=(const VirtualPad&) = delete;

    // The pad's GUID as a mapping line writes it (the name's CRC, which SDL
    // leaves out when matching, as zeros: 4 hex digits after the bus's 4).
    std::string guid() const;
    // The line SDL 2's own database holds for a GUID, empty when none.
    static std::string databaseLine(const std::string& guid);

    void button(int number, bool down);
    void hat(Uint8 position);

private:
    int index = -1;
    void* joystick = nullptr;
};
