#include "VirtualPad.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstring>

namespace {

// SDL 2.26's description of a virtual joystick (SDL_VirtualJoystickDesc,
// version 1): SDL 2's headers are not needed for the game, so not installed.
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

// SDL_INIT_JOYSTICK alone: a controller's events are the game's to ask for.
const Uint32 padSubsystems = 0x200;

} // namespace

struct VirtualPad::Sdl2 {
    void* library = nullptr;
    int (*initSubSystem)(Uint32) = nullptr;
    void (*quitSubSystem)(Uint32) = nullptr;
    int (*attach)(const Description*) = nullptr;
    int (*detach)(int) = nullptr;
    void* (*open)(int) = nullptr;
    void (*close)(void*) = nullptr;
    int (*setButton)(void*, int, Uint8) = nullptr;
    int (*setHat)(void*, int, Uint8) = nullptr;
    Guid (*deviceGuid)(int) = nullptr;
    void (*guidString)(Guid, char*, int) = nullptr;
    Guid (*guidFromString)(const char*) = nullptr;
    char* (*mappingForGuid)(Guid) = nullptr;
    void (*free)(void*) = nullptr;
    const char* (*error)() = nullptr;

    template <typename Function>
    void find(Function& function, const char* name)
    {
        function = reinterpret_cast<Function>(dlsym(library, name));
        EXPECT_NE(function, nullptr) << name << " is not in the SDL 2 that sdl12-compat loaded";
    }
};

const VirtualPad::Sdl2& VirtualPad::sdl2()
{
    // Only a library already loaded is taken: another copy would be a
    // different SDL 2 from the one the game reads.
    static const Sdl2 functions = [] {
        Sdl2 f;
        f.library = dlopen("libSDL2-2.0.so.0", RTLD_NOW | RTLD_NOLOAD);
        if (!f.library) {
            ADD_FAILURE() << "SDL 2 is not loaded: SDL 1.2 (sdl12-compat) must be started first";
            return f;
        }
        f.find(f.initSubSystem, "SDL_InitSubSystem");
        f.find(f.quitSubSystem, "SDL_QuitSubSystem");
        f.find(f.attach, "SDL_JoystickAttachVirtualEx");
        f.find(f.detach, "SDL_JoystickDetachVirtual");
        f.find(f.open, "SDL_JoystickOpen");
        f.find(f.close, "SDL_JoystickClose");
        f.find(f.setButton, "SDL_JoystickSetVirtualButton");
        f.find(f.setHat, "SDL_JoystickSetVirtualHat");
        f.find(f.deviceGuid, "SDL_JoystickGetDeviceGUID");
        f.find(f.guidString, "SDL_JoystickGetGUIDString");
        f.find(f.guidFromString, "SDL_JoystickGetGUIDFromString");
        f.find(f.mappingForGuid, "SDL_GameControllerMappingForGUID");
        f.find(f.free, "SDL_free");
        f.find(f.error, "SDL_GetError");
        return f;
    }();
    return functions;
}

VirtualPad::VirtualPad(const Shape& shape)
{
    const Sdl2& s = sdl2();
    if (!s.attach)
        return;
    EXPECT_EQ(s.initSubSystem(padSubsystems), 0) << s.error();
    Description description = {};
    description.version = 1;
    description.naxes = static_cast<Uint16>(shape.axes);
    description.nbuttons = static_cast<Uint16>(shape.buttons);
    description.nhats = static_cast<Uint16>(shape.hats);
    description.vendor_id = shape.vendor;
    description.product_id = shape.product;
    description.name = shape.name;
    index = s.attach(&description);
    EXPECT_GE(index, 0) << s.error();
    joystick = index >= 0 ? s.open(index) : nullptr;
    EXPECT_NE(joystick, nullptr) << s.error();
}

VirtualPad::~VirtualPad()
{
    const Sdl2& s = sdl2();
    if (!s.attach)
        return;
    if (joystick)
        s.close(joystick);
    if (index >= 0)
        s.detach(index);
    s.quitSubSystem(padSubsystems);
}

std::string VirtualPad::guid() const
{
    char text[33] = {};
    sdl2().guidString(sdl2().deviceGuid(index), text, sizeof text);
    std::string guid = text;
    if (guid.size() == 32)
        guid.replace(4, 4, "0000");
    return guid;
}

std::string VirtualPad::databaseLine(const std::string& guid)
{
    char* const line = sdl2().mappingForGuid(sdl2().guidFromString(guid.c_str()));
    const std::string text = line ? line : "";
    sdl2().free(line);
    return text;
}

void VirtualPad::button(int number, bool down)
{
    EXPECT_EQ(sdl2().setButton(joystick, number, down ? 1 : 0), 0) << sdl2().error();
}

void VirtualPad::hat(Uint8 position)
{
    EXPECT_EQ(sdl2().setHat(joystick, 0, position), 0) << sdl2().error();
}
