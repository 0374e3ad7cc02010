#include "input/GameControls.h"

#include <gtest/gtest.h>

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

} // namespace
