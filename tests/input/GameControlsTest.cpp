#include "input/GameControls.h"

#include <gtest/gtest.h>

#include <tuple>
#include <utility>
#include <vector>

namespace {

using KeyPress = std::pair<SDLKey, bool>;

SDL_Event button(Uint8 number, bool down)
{
    SDL_Event e = {};
    e.jbutton = {Uint8(down ? SDL_JOYBUTTONDOWN : SDL_JOYBUTTONUP), 0, number, Uint8(down)};
    return e;
}

SDL_Event axis(Uint8 number, Sint16 value)
{
    SDL_Event e = {};
    e.jaxis = {SDL_JOYAXISMOTION, 0, number, value};
    return e;
}

SDL_Event hat(Uint8 position)
{
    SDL_Event e = {};
    e.jhat = {SDL_JOYHATMOTION, 0, 0, position};
    return e;
}

std::vector<KeyPress> translated(GameControls& controls, const std::vector<SDL_Event>& events)
{
    std::vector<KeyPress> presses;
    for (const SDL_Event& e : events)
        controls.translate(e, [&](const SDL_keysym& key, bool down) { presses.push_back({key.sym, down}); });
    return presses;
}

TEST(GameControlsTest, KnownPadJumpsWithItsBottomButtonAndWalksWithItsDpadButtonsRawPadKeepsKeys)
{
    GameControls known;
    known.layout = PadLayout::described(1, 9, 12, 13, 14, 15);
    known.layout.stickX = 3;
    // Right, then up and right together, then both let go; the bottom
    // button jumps and the buttons the layout does not name stay Z, X, C;
    // the stick is where the layout says.
    EXPECT_EQ(translated(known, {button(15, true), button(12, true), button(15, false), button(12, false), button(1, true),
                                 button(0, true), axis(0, 30000), axis(3, -30000)}),
              (std::vector<KeyPress>{{SDLK_RIGHT, true}, {SDLK_UP, true}, {SDLK_RIGHT, false}, {SDLK_UP, false},
                                     {SDLK_UP, true}, {SDLK_z, true}, {SDLK_LEFT, true}}));
    GameControls raw;
    EXPECT_EQ(translated(raw, {button(0, true), button(1, true), button(12, true)}),
              (std::vector<KeyPress>{{SDLK_z, true}, {SDLK_x, true}, {SDLK_c, true}}));
}

// An arrow held by the stick, the hat or the D-pad stays held while another
// of them lets it go: a browser reports a stick's release (or its noise near
// the centre) while the D-pad is held.
TEST(GameControlsTest, StickHatAndDpadLetGoOnlyOfArrowsNoOtherHolds)
{
    const std::vector<std::tuple<const char*, std::vector<SDL_Event>, std::vector<KeyPress>>> cases = {
        {"stick centred as the D-pad is pressed, then the D-pad let go",
         {axis(0, 32767), button(15, true), axis(0, 0), button(15, false)},
         {{SDLK_RIGHT, true}, {SDLK_RIGHT, true}, {SDLK_LEFT, false}, {SDLK_RIGHT, false}}},
        {"stick noise while the hat holds right and up",
         {hat(SDL_HAT_RIGHTUP), axis(0, 300), axis(1, -300), hat(SDL_HAT_CENTERED)},
         {{SDLK_UP, true}, {SDLK_RIGHT, true}, {SDLK_LEFT, false}, {SDLK_DOWN, false}, {SDLK_UP, false},
          {SDLK_RIGHT, false}}},
        {"D-pad and hat let go while the stick holds left",
         {axis(0, -32768), button(14, true), hat(SDL_HAT_LEFT), button(14, false), hat(SDL_HAT_CENTERED), axis(0, 0)},
         {{SDLK_LEFT, true}, {SDLK_LEFT, true}, {SDLK_LEFT, true}, {SDLK_RIGHT, false}, {SDLK_LEFT, false}}},
        {"stick crossing to the right while the D-pad holds left",
         {button(14, true), axis(0, -32768), axis(0, 32767), button(14, false), axis(0, 0)},
         {{SDLK_LEFT, true}, {SDLK_LEFT, true}, {SDLK_RIGHT, true}, {SDLK_LEFT, false}, {SDLK_RIGHT, false},
          {SDLK_LEFT, false}}},
    };
    for (const auto& [name, events, expected] : cases) {
        SCOPED_TRACE(name);
        GameControls controls;
        controls.layout = PadLayout::described(0, 9, 12, 13, 14, 15);
        EXPECT_EQ(translated(controls, events), expected);
        EXPECT_FALSE(controls.padHolds());
    }
}

// The pad is not looked for again while it holds anything.
TEST(GameControlsTest, PadHoldsWhileAnyOfItsControlsIsHeld)
{
    for (const SDL_Event& held : {axis(1, 20000), hat(SDL_HAT_DOWN), button(13, true), button(5, true)}) {
        GameControls controls;
        controls.layout = PadLayout::described(0, 9, 12, 13, 14, 15);
        translated(controls, {held});
        EXPECT_TRUE(controls.padHolds()) << int(held.type);
        controls.forget();
        EXPECT_FALSE(controls.padHolds()) << int(held.type);
    }
}

} // namespace
