#include "VirtualPad.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

// SDL 2.26's SDL_VirtualJoystickDesc, version 1 (SDL 2's headers are no
// part of the game's build).
struct Description {
    Uint16 version, type, naxes, nbuttons, nhats, vendor_id, product_id, padding;
    Uint32 button_mask, axis_mask;
    const char* name;
    void* userdata;
    void* callbacks[6];
};

struct Guid {
    Uint8 data[16];
};

// SDL 2's SDL_INIT_JOYSTICK alone: a controller's events are the game's to ask for.
const Uint32 joystickPart = 0x200;

// A function of the SDL 2 already loaded (another copy would not be the
// one the game reads); null, and the test failed, when there is none.
template <typename Function>
Function sdl2(const char* name)
{
    void* const library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
    void* const found = library ? dlsym(library, name) : nullptr;
    if (library)
        dlclose(library);
    EXPECT_NE(found, nullptr) << name << ": no SDL 2 loaded by sdl12-compat (start SDL 1.2 first)";
    return reinterpret_cast<Function>(found);
}

const char* error()
{
    return sdl2<const char* (*)()>("SDL_GetError")();
}

} // namespace

VirtualPad::VirtualPad(const Shape& shape)
{
    EXPECT_EQ(sdl2<int (*)(Uint32)>("SDL_InitSubSystem")(joystickPart), 0) << error();
    Description description = {};
    description.version = 1;
    description.naxes = static_cast<Uint16>(shape.axes);
    description.nbuttons = static_cast<Uint16>(shape.buttons);
    description.nhats = static_cast<Uint16>(shape.hats);
    description.vendor_id = shape.vendor;
    description.product_id = shape.product;
    description.name = shape.name;
    index = sdl2<int (*)(const Description*)>("SDL_JoystickAttachVirtualEx")(&description);
    joystick = index >= 0 ? sdl2<void* (*)(int)>("SDL_JoystickOpen")(index) : nullptr;
    EXPECT_NE(joystick, nullptr) << error();
}

VirtualPad::~VirtualPad()
{
    if (joystick)
        sdl2<void (*)(void*)>("SDL_JoystickClose")(joystick);
    if (index >= 0)
        sdl2<int (*)(int)>("SDL_JoystickDetachVirtual")(index);
    sdl2<void (*)(Uint32)>("SDL_QuitSubSystem")(joystickPart);
}

std::string VirtualPad::guid() const
{
    char text[33] = {};
    sdl2<void (*)(Guid, char*, int)>("SDL_JoystickGetGUIDString")(
        sdl2<Guid (*)(int)>("SDL_JoystickGetDeviceGUID")(index), text, sizeof text);
    return std::string(text).replace(4, 4, "0000");
}

std::string VirtualPad::databaseLine(const std::string& guid)
{
    char* const line = sdl2<char* (*)(Guid)>("SDL_GameControllerMappingForGUID")(
        sdl2<Guid (*)(const char*)>("SDL_JoystickGetGUIDFromString")(guid.c_str()));
    const std::string text = line ? line : "";
    sdl2<void (*)(void*)>("SDL_free")(line);
    return text;
}

void VirtualPad::button(int number, bool down)
{
    EXPECT_EQ(sdl2<int (*)(void*, int, Uint8)>("SDL_JoystickSetVirtualButton")(joystick, number, down), 0) << error();
}

void VirtualPad::hat(Uint8 position)
{
    EXPECT_EQ(sdl2<int (*)(void*, int, Uint8)>("SDL_JoystickSetVirtualHat")(joystick, 0, position), 0) << error();
}
