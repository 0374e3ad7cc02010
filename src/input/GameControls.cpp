#include "input/GameControls.h"

namespace {

SDLKey buttonKey(Uint8 button)
{
    switch (button) {
    case 0:
        return SDLK_z;
    case 1:
        return SDLK_x;
    default:
        return SDLK_c;
    }
}

} // namespace

SDL_keysym GameControls::key(SDLKey sym)
{
    SDL_keysym record = {};
    record.sym = sym;
    return record;
}

void GameControls::translate(const SDL_Event& event, const Press& press)
{
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        press(event.key.keysym, event.type == SDL_KEYDOWN);
        break;
    case SDL_JOYAXISMOTION:
        stickMoved(event.jaxis.axis, event.jaxis.value, press);
        break;
    case SDL_JOYHATMOTION:
        share(hat.moved(event.jhat.value), stickHeld() | dpadHeld, press);
        break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
        buttonMoved(event.jbutton.button, event.type == SDL_JOYBUTTONDOWN, press);
        break;
    default:
        break;
    }
}

void GameControls::forget()
{
    stickUpHeld = stickDownHeld = stickLeftHeld = stickRightHeld = false;
    hat.reset();
    dpad.reset();
    dpadHeld = SDL_HAT_CENTERED;
    buttonsHeld = 0;
}

bool GameControls::padHolds() const
{
    return stickHeld() != SDL_HAT_CENTERED || hat.position() != SDL_HAT_CENTERED || dpadHeld != SDL_HAT_CENTERED ||
           buttonsHeld != 0;
}

Uint8 GameControls::stickHeld() const
{
    return (stickUpHeld ? SDL_HAT_UP : 0) | (stickRightHeld ? SDL_HAT_RIGHT : 0) | (stickDownHeld ? SDL_HAT_DOWN : 0) |
           (stickLeftHeld ? SDL_HAT_LEFT : 0);
}

void GameControls::share(const Presses& presses, Uint8 heldElsewhere, const Press& press)
{
    for (const auto& [sym, down] : presses)
        if (down || !(heldElsewhere & HatDirections::bit(sym)))
            press(key(sym), down);
}

void GameControls::buttonMoved(Uint8 button, bool down, const Press& press)
{
    if (button < 32)
        buttonsHeld = down ? (buttonsHeld | 1u << button) : (buttonsHeld & ~(1u << button));
    if (button == layout.a) {
        press(key(SDLK_UP), down);
        return;
    }
    const std::pair<int, Uint8> dpadButtons[] = {
        {layout.up, SDL_HAT_UP}, {layout.right, SDL_HAT_RIGHT}, {layout.down, SDL_HAT_DOWN}, {layout.left, SDL_HAT_LEFT}};
    for (const auto& [number, bit] : dpadButtons)
        if (button == number) {
            dpadHeld = down ? (dpadHeld | bit) : (dpadHeld & ~bit);
            share(dpad.moved(dpadHeld), stickHeld() | hat.position(), press);
            return;
        }
    press(key(buttonKey(button)), down);
}

void GameControls::stickMoved(Uint8 axis, Sint16 value, const Press& press)
{
    if (axis == layout.stickX)
        stickAxisMoved(value, SDLK_LEFT, stickLeftHeld, SDLK_RIGHT, stickRightHeld, press);
    else if (axis == layout.stickY)
        stickAxisMoved(value, SDLK_UP, stickUpHeld, SDLK_DOWN, stickDownHeld, press);
}

// A stick held to one side reports its arrow as held; crossing to the other
// side releases the first arrow before pressing the second, and the centre
// releases both (the positive side's first) whatever the stick held, so a
// stick resting a little off centre (noise within the dead zone) lets go of
// every arrow only the hat or the D-pad does not hold.
void GameControls::stickAxisMoved(Sint16 value, SDLKey negativeKey, bool& negativeHeld,
                                  SDLKey positiveKey, bool& positiveHeld, const Press& press)
{
    Presses presses;
    if (value >= -stickDeadZone && value <= stickDeadZone) {
        presses = {{positiveKey, false}, {negativeKey, false}};
        negativeHeld = positiveHeld = false;
    } else {
        const bool positive = value > 0;
        bool& otherHeld = positive ? negativeHeld : positiveHeld;
        if (otherHeld) {
            presses.emplace_back(positive ? negativeKey : positiveKey, false);
            otherHeld = false;
        }
        presses.emplace_back(positive ? positiveKey : negativeKey, true);
        (positive ? positiveHeld : negativeHeld) = true;
    }
    share(presses, hat.position() | dpadHeld, press);
}
