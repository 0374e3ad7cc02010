#pragma once

#include "input/HatDirections.h"
#include "platform/PadLayout.h"

#include <SDL.h>

#include <functional>
#include <utility>
#include <vector>

// Keyboard, stick, hat and buttons turned into the game's key presses, so
// that the shell routes events and never translates them. A key keeps its
// own record; the gamepad's presses get a made-up record with only the key
// set. On a pad with a known layout the bottom face button jumps (the up
// arrow) and a D-pad of four buttons holds the arrows as a hat does; its
// other buttons, and every button of a raw pad, are the keys Z, X and C.
// The stick, the hat and the D-pad share the arrows: one lets an arrow go
// only where no other holds it. Events that mean no key (mouse, other
// axes, window) make no press.
class GameControls {
public:
    // A key record and whether it went down (true) or up.
    using Press = std::function<void(const SDL_keysym& key, bool down)>;

    // Stick values within this distance of zero count as centred: a quarter
    // of the range, so that a worn stick resting off centre does not walk
    // the figure.
    static const Sint16 stickDeadZone = 8192;

    // Hands press every key press the event makes, in order.
    void translate(const SDL_Event& event, const Press& press);
    // Forgets which arrows the stick, the hat and the D-pad hold, and which
    // buttons are down, as after every arrow was released elsewhere.
    void forget();
    // Whether a control of the pad is held: the stick off centre, the hat
    // or the D-pad pressed, or any button down.
    bool padHolds() const;

    // A key record with only sym set.
    static SDL_keysym key(SDLKey sym);

    // Which arrows the stick is holding down in the game.
    bool stickUpHeld = false;
    bool stickDownHeld = false;
    bool stickLeftHeld = false;
    bool stickRightHeld = false;
    // Where the open pad's controls are; raw until a pad says otherwise.
    PadLayout layout;

private:
    using Presses = std::vector<std::pair<SDLKey, bool>>;

    void buttonMoved(Uint8 button, bool down, const Press& press);
    void stickMoved(Uint8 axis, Sint16 value, const Press& press);
    void stickAxisMoved(Sint16 value, SDLKey negativeKey, bool& negativeHeld, SDLKey positiveKey,
                        bool& positiveHeld, const Press& press);
    // The arrows the stick holds, as SDL_HAT_* bits.
    Uint8 stickHeld() const;
    // Hands on one control's presses, but not the release of an arrow
    // that one of the others (heldElsewhere, SDL_HAT_* bits) still holds.
    static void share(const Presses& presses, Uint8 heldElsewhere, const Press& press);

    HatDirections hat;
    HatDirections dpad;
    // The D-pad buttons held, as a hat's SDL_HAT_* bits.
    Uint8 dpadHeld = SDL_HAT_CENTERED;
    // Buttons 0 to 31 down, one bit each.
    Uint32 buttonsHeld = 0;
};
